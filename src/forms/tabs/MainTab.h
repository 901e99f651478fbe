#pragma once

#include "forms/tabs/TabHost.h"

#include <QWidget>

// The five tabs of the main window in page order.
enum TMainTabIndex : int {
    tabPD = 0,
    tabSCF = 1,
    tabSCO = 2,
    tabDSM = 3,
    tabDSF = 4,
    TabCount = 5
};

// What the main window asks of each tab. Only the tab on screen holds live values: it is filled
// from the active KRV Definition by Load and written back by Store before anything changes the
// active definition or the data file.
class IMainTab {
public:
    virtual ~IMainTab() = default;
    // Empties the tab's controls.
    virtual void Clear() = 0;
    // Enables or disables the tab's controls (a disabled tab shows ok status pictures).
    virtual void Enable(bool flag) = 0;
    // Fills the controls from the active definition.
    virtual void Load() = 0;
    // Validates what the tab shows and sets its status pictures.
    virtual void Refresh() = 0;
    // Writes the controls into the active definition.
    virtual void Store() = 0;
    // Gets the tab ready for a run before it is stored (the filter tab drops incomplete rows).
    virtual void PrepareProcess() = 0;
    // Takes the user to the control of a configuration error: the field's label text number and,
    // for a grid, the error's row. A field the tab does not know leaves the focus where it is.
    virtual void GoToField(int fieldId, int rowId) = 0;
};

// A tab page of the main window. Each tab is one file (Tab_*.h/.cpp): its values, loading,
// storing and validation live in plain classes the page calls, its controls are private, and
// every slot runs inside GuardSlot. A page without controls takes part as an empty page.
class TMainTabPage : public QWidget, public IMainTab {
public:
    TMainTabPage(ITabHost& host, QWidget* parent) : QWidget(parent), Host(host) {}

    void Clear() override {}
    void Enable(bool flag) override { setEnabled(flag); }
    void Load() override {}
    void Refresh() override {}
    void Store() override {}
    void PrepareProcess() override {}
    void GoToField(int, int) override {}

protected:
    ITabHost& Host;
};
