#pragma once

#include <QString>

// The list box of an error window as the validator fills it: one item per error, the item's
// text being the error's number. The windows implement it.
class IErrListBox {
public:
    virtual ~IErrListBox() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString& text) = 0;
    virtual void setItemIndex(int index) = 0;
};

// The Configuration Errors window's list and the Data File Validation Errors window's list;
// nullptr until the windows exist.
IErrListBox* LB_CfgErr();
void setLB_CfgErr(IErrListBox* list);
IErrListBox* LB_DFVErr();
void setLB_DFVErr(IErrListBox* list);

// Clears the list and adds "1".."count", selecting the first item when there is one.
void FillErrListBox(IErrListBox* list, int count);
