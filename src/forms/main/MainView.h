#pragma once

#include <QString>
#include <QStringList>

// Which of the definition list's six buttons are enabled.
struct TDefinitionButtons {
    bool Add = false;
    bool Rename = false;
    bool Copy = false;
    bool Delete = false;
    bool MoveUp = false;
    bool MoveDown = false;
    bool operator==(const TDefinitionButtons&) const = default;
};

// What the status bar and the file commands show of the data file.
struct TDataFileStatus {
    QString Text; // panel 2 and the bar's hint
    bool Modified = false;
    bool SaveEnabled = false;
    bool SaveAsEnabled = false;
    bool CloseEnabled = false;
    bool operator==(const TDataFileStatus&) const = default;
};

// The main window's controls as the controller drives them; the window implements it and tests
// record it.
class IMainView {
public:
    virtual ~IMainView() = default;
    // Refills the definition list with the items and selects row (0-based; -1 none).
    virtual void ShowDefinitions(const QStringList& items, int row) = 0;
    virtual void SetListEnabled(bool enabled) = 0;
    virtual void FocusList() = 0;
    virtual void SetDefinitionButtons(const TDefinitionButtons& buttons) = 0;
    virtual void SetProcessEnabled(bool enabled) = 0;
    virtual void SetDataFileStatus(const TDataFileStatus& status) = 0;
    // Shows a tab without running the page change handler.
    virtual void ShowPage(int index) = 0;
    // Gives the focus to the page control when it is enabled.
    virtual void FocusPages() = 0;
    virtual void HideBalloon() = 0;
    virtual void SetDragAccept(bool accept) = 0;
    virtual void SetWindowEnabled(bool enabled) = 0;
    virtual bool IsMaximised() const = 0;
    virtual void SetMaximised(bool maximised) = 0;
    // Applies the tool bar caption and hint preferences.
    virtual void ApplyPreferences() = 0;
    // Asks the window to close (through its close query).
    virtual void RequestClose() = 0;
};
