#include "forms/browse/ErrListBase.h"

#include "model/ovDV.h"
#include "services/ovUP.h"

#include <QListWidget>

TListWindowKind TUF_ErrListBase::ErrorWindowKind(int initTextId, int slot,
                                                 bool (TovUP::*getAutoSize)() const,
                                                 void (TovUP::*setAutoSize)(bool)) {
    TListWindowKind k;
    k.InitTextId = initTextId;
    k.Slot = slot;
    k.DefaultWidth = 400;
    k.DefaultHeight = 360;
    k.CreationMinimum = QSize(200, 168);
    k.GetAutoSize = getAutoSize;
    k.SetAutoSize = setAutoSize;
    k.ErrorWindow = true;
    return k;
}

TUF_ErrListBase::TUF_ErrListBase(const TListWindowKind& kind, std::vector<TErrorColumn> columns,
                                 QWidget* parent)
    : TUF_BrowseBase(kind, parent), ListControl(errorList()), Columns(std::move(columns)) {}

QListWidget* TUF_ErrListBase::errorList() const {
    return qobject_cast<QListWidget*>(list());
}

int TUF_ErrListBase::Execute() {
    RefreshList();
    return exec();
}

QString TUF_ErrListBase::cellText(int row, int column) const {
    const int n = row + 1;
    if (column == 0) {
        return QString::number(n);
    }
    if (DV == nullptr || column < 1 || column > static_cast<int>(Columns.size())) {
        return {};
    }
    return (DV->*Columns[static_cast<size_t>(column - 1)])(n);
}
