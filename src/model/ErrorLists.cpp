#include "model/ErrorLists.h"

namespace {
IErrListBox* cfgErrList = nullptr;
IErrListBox* dfvErrList = nullptr;
} // namespace

IErrListBox* LB_CfgErr() {
    return cfgErrList;
}

void setLB_CfgErr(IErrListBox* list) {
    cfgErrList = list;
}

IErrListBox* LB_DFVErr() {
    return dfvErrList;
}

void setLB_DFVErr(IErrListBox* list) {
    dfvErrList = list;
}

void FillErrListBox(IErrListBox* list, int count) {
    if (list == nullptr) {
        return;
    }
    list->Clear();
    for (int i = 1; i <= count; ++i) {
        list->AddItem(QString::number(i));
    }
    if (count > 0) {
        list->setItemIndex(0);
    }
}
