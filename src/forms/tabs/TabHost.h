#pragma once

#include <QRect>
#include <QString>

class TTabInputGuards;

// The main window's one balloon hint: a short message at a screen rectangle (the caret of an
// edit box, the current cell of a grid). It hides itself after its hide time, and the tabs hide
// it on their next key, change, exit or click.
class IBalloonHint {
public:
    virtual ~IBalloonHint() = default;
    virtual void Show(const QString& text, const QRect& screenRect) = 0;
    virtual void Hide() = 0;
};

// What a tab page asks of the main window. The tabs are plain pages: they reach the window only
// through this interface, so that tests can host a tab in a recording fake.
class ITabHost {
public:
    virtual ~ITabHost() = default;

    virtual IBalloonHint& Balloon() = 0;
    // The key guards of the tabs' edit boxes and grids (length warning, Ctrl+A, character
    // filters), showing their warnings in Balloon().
    virtual TTabInputGuards& InputGuards() = 0;
    // The user changed a value of the active definition: the data file is marked modified and
    // the status bar and file commands show it.
    virtual void DataFileChanged() = 0;
    // Gives the focus to the page control when it is enabled (before a command opens a window).
    virtual void FocusPages() = 0;
    // Switches to the tab of pageIndex as the user's tab change does (the tab on screen is
    // stored, the new one loaded and refreshed) and focuses the control of the field whose label
    // has the text number fieldId (IMainTab::GoToField); fieldId 0 focuses the page control.
    virtual void GoToField(int pageIndex, int fieldId) = 0;
    // Raised around an import from a workbook: the window is busy, disabled and accepts no
    // dropped files until the matching EndImport.
    virtual void BeginImport() = 0;
    virtual void EndImport() = 0;

    // Keeps the host busy for a scope, also when the import fails by an exception.
    class TImportScope {
    public:
        explicit TImportScope(ITabHost& host) : Host(host) { Host.BeginImport(); }
        ~TImportScope() { Host.EndImport(); }
        TImportScope(const TImportScope&) = delete;
        TImportScope& operator=(const TImportScope&) = delete;

    private:
        ITabHost& Host;
    };
};
