#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/ErrListBox.h"
#include "forms/browse/F_BrowseWindows.h"

#include <vector>

class QListWidget;
class TovDV;
class TovUP;

// The error list windows' common part: a list the validator fills, whose rows are the numbered
// entries of one of the validator's error lists (one getter per column after the number), shown
// modally with its count and column widths refreshed. Nothing is chosen from it.
class TUF_ErrListBase : public TUF_BrowseBase, public IErrListWindow {
public:
    // Refreshes the count and the column widths, then shows the window modally.
    int Execute() override;

    // The size rules and Auto Size preference of an error window.
    static TListWindowKind ErrorWindowKind(int initTextId, int slot,
                                           bool (TovUP::*getAutoSize)() const,
                                           void (TovUP::*setAutoSize)(bool));

protected:
    // The validator's text of entry n (1-based) for one column.
    using TErrorColumn = QString (TovDV::*)(int n) const;

    TUF_ErrListBase(const TListWindowKind& kind, std::vector<TErrorColumn> columns,
                    QWidget* parent);

    QString cellText(int row, int column) const override;
    void storeResult(int) override {}

    QListWidget* errorList() const;
    // The list as the validator fills it; the window registers it with the validator.
    TErrListWidget ListControl;

private:
    std::vector<TErrorColumn> Columns;
};
