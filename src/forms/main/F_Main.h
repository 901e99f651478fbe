#pragma once

#include "forms/browse/F_BrowseWindows.h"
#include "forms/main/HandOverOpen.h"
#include "forms/main/MainController.h"
#include "forms/main/MainView.h"
#include "forms/main/MainWindowKeys.h"
#include "forms/tabs/TabHost.h"
#include "model/DataFileHost.h"
#include "services/MainWindow.h"
#include "services/ovMRU.h"
#include "services_ui/WindowFrame.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QHeaderView;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStandardItemModel;
class QTabWidget;
class QWindowStateChangeEvent;
class QToolBar;
class QToolButton;
class TDroppedFiles;
class TMainStatusBar;
class TMainTabPage;

// The main window: the list of KRV Definitions on the left, the five tabs with the Process
// button on the right, menus and tool bar on top and the status bar below. Its commands live in
// TMainController; the window builds the controls, forwards their events and shows what the
// controller tells it. It also serves the data file layer (progress bar, list repaint), the
// recent files menus and the standard dialogue's glyph list.
class TUF_Main : public QMainWindow,
                 public IMainWindow,
                 public IDataFileView,
                 public IMainView,
                 public IMRUMenu,
                 public ICfgErrTarget,
                 public IHandOverWindow,
                 public ITabHost {
public:
    explicit TUF_Main(QWidget* parent = nullptr);
    ~TUF_Main() override;

    TMainController& controller() { return *Controller; }
    // The windows the commands open; the program sets the real ones, tests their fakes.
    void setDialogs(const TMainDialogs& dialogs);
    // Called by the Configuration Errors window's double-click.
    void GoToCfgErr(int n) override;

    // IMainWindow, IHandOverWindow
    void RestoreFromMinimised() override;

    // IHandOverWindow: a second start's data files open through the window's commands.
    bool IsBusy() const override;
    void SetBusy(bool busy) override;
    bool IsOtherFormActive() override;
    void BringToFront() override;
    bool ChooseHandedOverFile(QString& path) override;
    void StoreCurrentTab() override;
    void ShowOpenedDataFile() override;

    // IDataFileView
    void ProgressStart(int maximum) override;
    void ProgressStep() override;
    void ProgressEnd() override;
    void RepaintSDs() override;

    // IMainView
    void ShowDefinitions(const QStringList& items, int row) override;
    void SetListEnabled(bool enabled) override;
    void FocusList() override;
    void SetDefinitionButtons(const TDefinitionButtons& buttons) override;
    void SetProcessEnabled(bool enabled) override;
    void SetDataFileStatus(const TDataFileStatus& status) override;
    void ShowPage(int index) override;
    void FocusPages() override;
    void HideBalloon() override;
    void SetDragAccept(bool accept) override;
    void SetWindowEnabled(bool enabled) override;
    bool IsMaximised() const override;
    void SetMaximised(bool maximised) override;
    void ApplyPreferences() override;
    void RequestClose() override;

    // ITabHost
    IBalloonHint& Balloon() override;
    TTabInputGuards& InputGuards() override;
    void DataFileChanged() override;
    void GoToField(int pageIndex, int fieldId) override;
    void BeginImport() override;
    void EndImport() override;

    // IMRUMenu
    void setItemCaption(TMRUMenu menu, int n, const QString& caption) override;
    void setItemVisible(TMRUMenu menu, int n, bool visible) override;
    void setFileSeparatorVisible(bool visible) override;
    void setPurgeEnabled(bool enabled) override;
    void setResetEnabled(bool enabled) override;

    // The 16x16 glyphs of menus, tool bar, tabs and the standard dialogue's buttons.
    QList<QIcon> IL_Main_16;
    // The status bar's progress bar (the data file layer steps it).
    QProgressBar* PB_Main = nullptr;

    // Narrow access for tests.
    QListWidget* definitionList() const { return LB_SDs; }
    QPushButton* processButton() const { return BBtn_Process; }
    QPushButton* listButton(int i) const { return ListButtons[static_cast<size_t>(i)]; }
    QTabWidget* pages() const { return PC_Main; }
    QAction* action(const QString& name) const;
    TMainStatusBar* statusPanels() const { return SB_Main; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keeps HeldMaximised, and records it when the window is minimised.
    void TrackMaximised(const QWindowStateChangeEvent* change);
    // Drag and drop of files on the window or any of its controls: true when handled.
    bool FileDragEvent(QObject* watched, QEvent* event);
    // Construction (F_Main.cpp).
    void ApplyGeometrySlot();
    // Sets the minimum size from the content and the slot's default size; returns the default.
    QSize FitMinimumSize();
    void BuildPages();
    void BuildCentre();
    // Menus and tool bar (F_Main_Menus.cpp).
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    QAction* NewAction(const QString& name, int textId, int imageIndex, int hintId,
                       int shortcutHintId);
    // The edit commands act on the focused control of this window; they are enabled while it
    // can take them (kept in step as the focus, the clipboard and the control change).
    void RunEditAction(TEditCommand command);
    void UpdateEditActions();
    QWidget* EditFocus() const;
    // Definition list panel (F_Main_SDs.cpp).
    QWidget* BuildDefinitionPanel();
    void ArrangeListButtons();
    int ListPanelMinimumWidth() const;

    std::unique_ptr<TMainController> Controller;
    std::unique_ptr<TDroppedFiles> Drops;
    TMainDialogs Dialogs;

    QToolBar* TBar_Main = nullptr;
    QMenu* PM_MRU = nullptr;
    QAction* MI_File_MRU_Separator = nullptr;
    std::array<QAction*, 10> MI_File_MRU{};
    std::array<QAction*, 10> MI_MRU{};
    QSplitter* Spl_Main = nullptr;
    QWidget* Pnl_SDs = nullptr;
    QHeaderView* HC_SDs = nullptr;
    QStandardItemModel* HC_Model = nullptr;
    QListWidget* LB_SDs = nullptr;
    QWidget* Pnl_SD_Btns = nullptr;
    std::array<QPushButton*, 6> ListButtons{};
    QTabWidget* PC_Main = nullptr;
    std::array<TMainTabPage*, TabCount> Pages{};
    QPushButton* BBtn_Process = nullptr;
    TMainStatusBar* SB_Main = nullptr;
    std::unique_ptr<IBalloonHint> BH_Main;
    std::unique_ptr<TTabInputGuards> InputGuardsOfTabs;
    std::vector<std::unique_ptr<TMainController::TBusyScope>> ImportScopes;
    bool ShowingPage = false;
    bool HintsShown = true;
    bool ClipboardHasText = false;
    // Whether the window was maximised in its last state that held, which minimising records: a
    // window manager may report the normal state for a moment as it minimises a maximised window.
    bool HeldMaximised = false;
    TNormalStateCheck NormalStateHeld;
};

extern TUF_Main* UF_Main;

// Indexes of the definition list's buttons.
enum TListButton : int { lbAdd, lbRename, lbCopy, lbDelete, lbMoveUp, lbMoveDown };
