#pragma once

#include "services/ovUP.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <utility>

class IFileDialogs;
class TovDV;

// What the Options window's controls hold: the chosen item of each list, the ticks and the two
// path texts.
struct TOptionsControls {
    bool ShowToolBarCaptions = true;
    bool PromptOnProcess = true;
    bool PurgeMRU = false;
    bool BackupDF = true;
    bool IncBackup = false;
    bool PromptOnCreateOFFolder = true;
    bool PromptOnOverwriteOF = true;
    int HintPauseItem = 5;
    int HintHidePauseItem = 6;
    int XLExtnItem = 0;
    int ImportCountItem = 3;
    int TFItem = 1;
    QString TFText;
    int OFFolderItem = 2;
    QString OFFolderText;
};

// What the controls' states follow from (UpdateControls and ValidateControls).
struct TOptionsStates {
    bool IncBackupEnabled = true;
    bool TFWritable = false;
    bool TFBrowseEnabled = false;
    bool TFOpenEnabled = false;
    bool OFFolderWritable = false;
    bool OFFolderBrowseEnabled = false;
    bool TFError = false;
    QString TFHint;
    bool OFFolderError = false;
    QString OFFolderHint;
};

// The windows the Options window's "Reset Form Sizes And Positions" command acts on.
class IOptionsWindows {
public:
    virtual ~IOptionsWindows() = default;
    // The main window's list panel to its default width, then every window's geometry slot to its
    // defaults (the main window placed at once, the others when next shown).
    virtual void ResetWindowGeometries() = 0;
    // The fixed-size windows centred on the work area, the Options window last and in front.
    virtual void CentreFixedWindows() = 0;
};

// The Options window's state and commands over the user preferences: one load of the controls
// per showing, validation of the two "Other..." paths, Close (store and save), Cancel (the
// preferences exactly as they were when the window was shown) and the immediate commands.
class TOptionsModel {
public:
    static constexpr int kTFMaxLength = 260;
    static constexpr int kOFFolderMaxLength = 248;
    static constexpr int kTFOther = 4;
    static constexpr int kOFFolderOther = 3;

    // The lists' items in their order.
    static QStringList HintPauseItems();
    static QStringList HintHidePauseItems();
    static QStringList XLExtnItems();
    static QStringList ImportCountItems();
    static QStringList TFItems();
    static QStringList OFFolderItems();

    struct TCollaborators {
        TovUP* Preferences = nullptr;
        TovDV* Validator = nullptr;
        IFileDialogs* FileDialogs = nullptr;
        IOptionsWindows* Windows = nullptr;
        // The application's hint delays (show, hide) while the window is open.
        std::function<void(int, int)> ApplyHintTiming;
        // Shows the controls as they now stand: a command that changes them calls it before
        // its message, so that the message speaks of what the window shows.
        std::function<void()> ShowControls;
    };
    explicit TOptionsModel(TCollaborators collaborators);
    void setFileDialogs(IFileDialogs* dialogs) { With.FileDialogs = dialogs; }
    void setWindows(IOptionsWindows* windows) { With.Windows = windows; }
    void setShowControls(std::function<void()> show) { With.ShowControls = std::move(show); }

    // Copies the preferences as they are before the window is shown; the next activation loads
    // the controls from them once.
    void SnapshotPreferences();
    bool hasSnapshot() const { return Snapshot.has_value(); }
    // An activation of the window: loads the controls only at the first one of a showing, so
    // that edits survive the window's own messages.
    void Activate();

    void LoadControls();
    void UpdateControls();
    void ValidateControls();
    const TOptionsControls& controls() const { return Controls; }
    const TOptionsStates& states() const { return States; }
    bool isLoading() const { return Loading; }

    // User edits of the controls.
    void setCheck(bool TOptionsControls::*box, bool value);
    void setHintPauseItem(int item);
    void setHintHidePauseItem(int item);
    void setXLExtnItem(int item);
    void setImportCountItem(int item);
    void setTFItem(int item);
    void setTFText(const QString& text);
    void setOFFolderItem(int item);
    void setOFFolderText(const QString& text);

    // Key filters of the two path edits: the balloon text when the key is refused, else none.
    std::optional<QString> RefusePathKey(QChar key, int textLength, int maxLength,
                                         bool writable) const;

    // Close: false (with the OF008/OF009/OF010 warning) while an "Other..." path is invalid;
    // else the controls are stored and the preferences saved.
    bool Close();
    // Cancel: the preferences and the application's hint delays as they were when shown.
    void Cancel();
    void Reset();
    void ResetSizePosition();
    void ReAssociate();
    void BrowseTemplate();
    void OpenTemplate();
    void BrowseOutputFolder();

private:
    QString TemplateOfItem(int item) const;
    QString FolderOfItem(int item) const;
    void StoreControls();
    void EndShowing();
    // The program's folder and file name, as the association messages show them.
    std::pair<QString, QString> ProgramPathAndName() const;

    TCollaborators With;
    TOptionsControls Controls;
    TOptionsStates States;
    std::optional<TovUP> Snapshot;
    bool LoadPending = false;
    bool Loading = false;
};
