#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/ErrListBox.h"
#include "forms/browse/F_BrowseWindows.h"

class QListWidget;

// The Data File Validation Errors window: lists the problems found and repaired while a data
// file was loaded.
class TUF_DFVErr : public TUF_BrowseBase, public IErrListWindow {
public:
    explicit TUF_DFVErr(QWidget* parent = nullptr);
    ~TUF_DFVErr() override;

    // Refreshes the count and the column widths, then shows the window modally.
    int Execute() override;

    void ListDoubleClick() override {}

    // The list the validator fills (the start-up tests read it).
    QListWidget* const LB_DFVErr;

protected:
    QString cellText(int row, int column) const override;
    void storeResult(int) override {}

private:
    TErrListWidget ListControl;
};

extern TUF_DFVErr* UF_DFVErr;
