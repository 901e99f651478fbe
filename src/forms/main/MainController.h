#pragma once

#include "forms/main/HandOverOpen.h"
#include "forms/main/MainDialogs.h"
#include "forms/main/MainView.h"
#include "forms/tabs/MainTab.h"

#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class TovDF;

// The main window's commands without its widgets: the tab protocol, the definition list, the
// data file status, the file, help and recent file commands and the Process command. It works on
// the global definitions (SDs) and data file (DF) and drives the window through IMainView, the
// tabs through IMainTab and the other windows through TMainDialogs.
class TMainController {
public:
    // How handed-over data file paths arrived.
    using TPathSource = THandOverSource;
    // The help documents.
    enum class THelpDocument { Tutorial, UserManual, WhitePaper };

    TMainController(IMainView& view, const TMainDialogs& dialogs);
    TMainController(const TMainController&) = delete;
    TMainController& operator=(const TMainController&) = delete;

    void setTabs(const std::array<IMainTab*, TabCount>& tabs) { Tabs = tabs; }
    void setDialogs(const TMainDialogs& dialogs) { Dialogs = dialogs; }
    void setCommandLine(const QStringList& paths) { CommandLine = paths; }

    int getCurrentPageIndex() const { return CurrentPageIndex; }
    // Busy while the window is created or activated, opens a file, shows About or processes.
    bool getBusy() const { return BusyCount > 0; }
    bool getListEnabled() const { return ListEnabled; }

    // Window lifetime.
    void Create();
    void Activate();
    // The close request of the window (File > Exit, close box, system menu): false keeps it open.
    bool CloseQuery();

    // Tab protocol.
    void ClearTabs();
    void EnableTabs(bool flag);
    void LoadTab(int index);
    void StoreTab(int index);
    void RefreshTab(int index);
    void ShowActiveDefinition();
    void EnableProcess(bool flag);
    void UpdateProcessButton();
    void PageChanged(int index);

    // Definition list.
    void FillDefinitionList();
    void UpdateDefinitionButtons();
    void UpdateDataFileStatus();
    void ListClicked(int row);
    void ListRenameKey();
    void Add();
    void Rename();
    void Copy();
    void Delete();
    void MoveUp();
    void MoveDown();

    // File, tools and help commands.
    void FileNew();
    void FileOpen();
    void FileOpenSample();
    void FileOpenMRU(int n);
    void FileSave();
    void FileSaveAs();
    void FileClose();
    void FileExit();
    void Options();
    void About();
    void ShowHelp(THelpDocument document);
    void PurgeMRU();
    void ResetMRU();
    void ShowHintsChanged(bool down);

    // Handed-over paths: the command line at the first activation, a second instance, a drop.
    void OpenCommandLineFiles();
    void OpenHandedOverPaths(const QStringList& paths, TPathSource source);
    // The steps of every hand-over's open (OpenHandedOverFiles): Busy raised and lowered around
    // the open, the tab on screen stored, and the window refreshed after a data file was opened.
    void setHandOverBusy(bool busy);
    void StoreCurrentTab() { StoreTab(CurrentPageIndex); }
    // Offers the data file's list of handed-over paths in the Browse File window; false on
    // Cancel or an empty choice, else the chosen path.
    bool ChooseHandedOverFile(QString& path);
    void AfterOpen();

    // Process command and the jump from a configuration error to its field.
    void XferData();
    void GoToCfgErr(int n);
    // Stores the tab on screen, shows, loads and refreshes the tab of index and lets it focus
    // the field (label text number) and grid row.
    void GoToTabField(int index, int fieldId, int rowId);

    // A moved cut off date was written into the active definition by a run.
    void CutOffDateMoved();

    // Raises Busy for its lifetime and switches drag-and-drop off; the last scope to end
    // switches acceptance back on unless it was created without (window creation).
    class TBusyScope {
    public:
        explicit TBusyScope(TMainController& owner, bool acceptDropsAfter = true);
        ~TBusyScope();
        TBusyScope(const TBusyScope&) = delete;
        TBusyScope& operator=(const TBusyScope&) = delete;

    private:
        TMainController& Owner;
        bool AcceptDropsAfter;
    };

private:
    void ShowList();
    // After a failed list change: the list is filled again from the definitions (the active one
    // kept where it still exists) and the tab reloaded, so that both agree again.
    void ResyncList();
    bool RunAddRenameCopy(int mode, const QString& description, QString& result);
    bool AskYesNo(const QString& key, const QStringList& lines, int yesHint, int noHint);
    template <typename Open> void OpenWith(Open&& open);
    // The message of a failed list change: its text, key and Close hint.
    struct TListFailure {
        int TextId;
        QString Key;
        int HintId;
    };
    // One change of the definition list (change also shows the list): on success the tab
    // (with reloadTab), the list buttons and the file status follow; a failure is reported and
    // the list resynchronised.
    void ChangeList(const TListFailure& failure, bool reloadTab,
                    const std::function<void()>& change);
    void MoveBy(int offset, const TListFailure& failure);
    // Appends a definition with the description, a copy of source's settings unless source is 0,
    // and makes it the active one.
    void AppendDefinition(const TListFailure& failure, const QString& description, int source);
    // The start of a command on the active definition: false (nothing done) while the list is
    // disabled or empty, else the list takes the focus.
    bool BeginActiveDefinitionCommand();
    // A file command of the data file, after the balloon is hidden and the tab on screen
    // stored. A command that replaces the list (New, Close) shows the new one when it was done;
    // the others show the file status however they end.
    void RunFileCommand(bool (TovDF::*command)(), bool replacesList);
    void ReportListFailure(const TListFailure& failure, const QString& details);

    IMainView& View;
    TMainDialogs Dialogs;
    std::array<IMainTab*, TabCount> Tabs{};
    QStringList CommandLine;
    std::unique_ptr<TBusyScope> HandOverBusy;
    int CurrentPageIndex = 0;
    int BusyCount = 0;
    bool ListEnabled = false;
    // The window has been activated once (the first activation gives the tabs the focus).
    bool Activated = false;
};
