#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/ErrListBox.h"
#include "forms/browse/F_BrowseWindows.h"

class QListWidget;

// The Configuration Errors window: lists the configuration errors the validator found in the
// definition about to be processed; a double-click takes the main window to the field in error
// while the list stays open.
class TUF_CfgErr : public TUF_BrowseBase, public IErrListWindow {
public:
    explicit TUF_CfgErr(QWidget* parent = nullptr);
    ~TUF_CfgErr() override;

    // Refreshes the count and the column widths, then shows the window modally.
    int Execute() override;

    void ListDoubleClick() override;

    // The list the validator fills (the start-up tests read it).
    QListWidget* const LB_CfgErr;

protected:
    QString cellText(int row, int column) const override;
    void storeResult(int) override {}

private:
    TErrListWidget ListControl;
};

extern TUF_CfgErr* UF_CfgErr;
