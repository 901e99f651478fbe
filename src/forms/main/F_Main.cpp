// The main window's construction, lifetime and the view the controller drives.
#include "forms/main/F_Main.h"

#include "engine/ovProcess.h"
#include "excel/ovXL.h"
#include "forms/FormMetrics.h"
#include "forms/MainIcons.h"
#include "forms/SlotGuard.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/main/DroppedFiles.h"
#include "forms/main/F_Main_Status.h"
#include "forms/main/MainAdapters.h"
#include "forms/main/MainWindowHandOver.h"
#include "forms/main/MainWindowKeys.h"
#include "forms/tabs/BalloonHint.h"
#include "forms/tabs/TabInputGuards.h"
#include "forms/tabs/Tab_DSF.h"
#include "forms/tabs/Tab_DSM.h"
#include "forms/tabs/Tab_PD.h"
#include "forms/tabs/Tab_SCF.h"
#include "forms/tabs/Tab_SCO.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/SheetLimits.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "services_ui/Splash.h"
#include "services_ui/Startup.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WindowGeometry.h"
#include "services_ui/WorkArea.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

using platform::Format;

TUF_Main* UF_Main = nullptr;

namespace {

constexpr int kDefaultWidth = 811;
constexpr int kDefaultHeight = 627;
constexpr int kSplitterPreset = 180;

TProgramDialogs& ProgramDialogs() {
    static TProgramDialogs dialogs;
    return dialogs;
}

QString FramedText(int textId) {
    return Framed(UIT(textId));
}

} // namespace

TUF_Main::TUF_Main(QWidget* parent) : QMainWindow(parent) {
    SplashStatus(19);
    setWindowTitle(QStringLiteral("Ovik KRV Tessel"));
    IL_Main_16 = MainImageList();
    Dialogs = ProgramDialogs().dialogs();
    Controller = std::make_unique<TMainController>(*this, Dialogs);
    BH_Main = std::make_unique<TBalloonHint>();
    InputGuardsOfTabs = std::make_unique<TTabInputGuards>(*BH_Main, [](const QString& path) {
        return XL != nullptr ? SheetGrid(XL->getVersion(), path).Rows : 65536;
    });
    QFont font = this->font();
    ApplyIconTitleFont(font);
    setFont(font);

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildCentre();
    SB_Main = new TMainStatusBar(this);
    setStatusBar(SB_Main);
    PB_Main = SB_Main->progressBar();
    // The tool bar's captions count in the window's minimum height.
    ApplyPreferences();
    ApplyGeometrySlot();
    if (MRUs != nullptr) {
        MRUs->setMenu(this);
        MRUs->RefreshMenu();
    }
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this] { GuardSlot([this] { UpdateEditActions(); }); });
    auto clipboardChanged = [this] {
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        ClipboardHasText = mime != nullptr && mime->hasText();
        UpdateEditActions();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [clipboardChanged] { GuardSlot(clipboardChanged); });
    clipboardChanged();

    std::array<IMainTab*, TabCount> tabs{};
    for (int i = 0; i < TabCount; ++i) {
        tabs[static_cast<size_t>(i)] = Pages[static_cast<size_t>(i)];
    }
    Controller->setTabs(tabs);
    Controller->setCommandLine(CommandLineDataFiles());
    if (Process != nullptr) {
        Process->setOnCutOffDateMoved([this] { Controller->CutOffDateMoved(); });
    }
    setCfgErrTarget(this);
    if (DF != nullptr) {
        Drops = std::make_unique<TDroppedFiles>(*this, *DF, DV);
    }
    GuardSlot([this] { Controller->Create(); });
}

TUF_Main::~TUF_Main() {
    qApp->removeEventFilter(this);
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
    // The focus leaves the controls while the window is whole: their focus-out handlers call
    // back into it.
    hide();
    if (Process != nullptr) {
        Process->setOnCutOffDateMoved({});
    }
    if (MRUs != nullptr) {
        MRUs->setMenu(nullptr);
    }
    if (DF != nullptr) {
        DF->setView(nullptr);
    }
    if (MainWindow() == this) {
        setMainWindow(nullptr);
    }
    if (CfgErrTarget() == this) {
        setCfgErrTarget(nullptr);
    }
    if (UF_Main == this) {
        UF_Main = nullptr;
    }
}

bool TUF_Main::IsBusy() const {
    return Controller->getBusy();
}

void TUF_Main::SetBusy(bool busy) {
    Controller->setHandOverBusy(busy);
}

bool TUF_Main::IsOtherFormActive() {
    return OtherWindowActive(this, UF_BrowseFile);
}

void TUF_Main::BringToFront() {
    BringWindowToFront(this);
}

bool TUF_Main::ChooseHandedOverFile(QString& path) {
    return Controller->ChooseHandedOverFile(path);
}

void TUF_Main::StoreCurrentTab() {
    Controller->StoreCurrentTab();
}

void TUF_Main::ShowOpenedDataFile() {
    Controller->AfterOpen();
}

void TUF_Main::setDialogs(const TMainDialogs& dialogs) {
    Dialogs = dialogs;
    Controller->setDialogs(dialogs);
}

void TUF_Main::GoToCfgErr(int n) {
    GuardSlot([this, n] { Controller->GoToCfgErr(n); });
}

// The window's minimum holds the list panel and the tallest and widest tab (the filter tab's
// row of buttons with their gaps, every tab's caption in the strip) under the menu and the tool
// bar as the preferences show it; its default size also lets the list widen to its limit and
// shows the filter grid's columns whole. The slot's sizes are outer sizes, frame included.
QSize TUF_Main::FitMinimumSize() {
    // The controls take their style's sizes before they are measured.
    ensurePolished();
    const int listMinimum = ListPanelMinimumWidth();
    const int listMaximum = listMinimum * 3 / 2;
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int besideTabs = frame + listMinimum + Spl_Main->handleWidth();
    const int tabs =
        std::max(PC_Main->minimumSizeHint().width(), PC_Main->tabBar()->sizeHint().width());
    // A minimum larger than the work area is lowered to it.
    const QSize minimum = QSize(besideTabs + tabs, minimumSizeHint().height())
                              .boundedTo(ClientSizeOf(this, workArea().rect().size()));
    setMinimumSize(minimum);
    Pnl_SDs->setMinimumWidth(listMinimum);
    // The list panel may not be widened beyond one and a half times its minimum.
    Pnl_SDs->setMaximumWidth(listMaximum);

    const auto* filter = dynamic_cast<const TTab_DSF*>(Pages[4]);
    const int filterWidth = besideTabs + (filter != nullptr ? filter->WholeGridWidth() : 0);
    const QSize preferred(std::max(minimum.width() + listMaximum - listMinimum, filterWidth),
                          minimum.height());
    const QSize defaults = OuterSizeOf(this, preferred)
                               .expandedTo(QSize(kDefaultWidth, kDefaultHeight))
                               .boundedTo(workArea().rect().size());
    if (WMs != nullptr) {
        TovWM& slot = WMs->getItems(1);
        slot.setDefaultHeight(defaults.height());
        slot.setDefaultWidth(defaults.width());
        slot.setDefaultSplitterLeft(listMinimum);
    }
    return defaults;
}

void TUF_Main::ApplyGeometrySlot() {
    const QSize defaults = FitMinimumSize();
    const int listMinimum = ListPanelMinimumWidth();
    int splitterLeft = kSplitterPreset;
    if (WMs != nullptr) {
        TovWM& slot = WMs->getItems(1);
        ApplyWindowGeometry(slot, this, true);
        if (slot.getSplitterLeft() == -1) {
            slot.setSplitterLeft(kSplitterPreset);
        }
        WMs->Save(1);
        splitterLeft = slot.getSplitterLeft();
    } else {
        resize(ClientSizeOf(this, defaults));
    }
    splitterLeft = std::clamp(splitterLeft, listMinimum, listMinimum * 3 / 2);
    Spl_Main->setSizes({splitterLeft, std::max(1, width() - splitterLeft)});
    ArrangeListButtons();
}

void TUF_Main::BuildPages() {
    PC_Main = new QTabWidget(this);
    PC_Main->setDocumentMode(true);
    Pages = {new TTab_PD(*this, PC_Main), new TTab_SCF(*this, PC_Main),
             new TTab_SCO(*this, PC_Main), new TTab_DSM(*this, PC_Main),
             new TTab_DSF(*this, PC_Main)};
    static constexpr int kCaptions[TabCount] = {76, 94, 119, 159, 168};
    static constexpr int kImages[TabCount] = {imgTabPD, imgTabSCF, imgTabSCO, imgTabDSM, imgTabDSF};
    for (int i = 0; i < TabCount; ++i) {
        PC_Main->addTab(Pages[static_cast<size_t>(i)], IL_Main_16.value(kImages[i]),
                        FramedText(kCaptions[i]));
    }
    connect(PC_Main, &QTabWidget::currentChanged, this,
            [this](int index) { GuardSlot([this, index] { Controller->PageChanged(index); }); });
}

void TUF_Main::BuildCentre() {
    using namespace formmetrics;
    BuildPages();
    BBtn_Process = new QPushButton(FramedText(191), this);
    BBtn_Process->setIcon(IL_Main_16.value(imgProcess));
    BBtn_Process->setToolTip(UIT(txt::ProcessSelectedKRVDefinition) + QLatin1Char('\n') +
                             UIT(txt::ShortcutAltP));
    BBtn_Process->setFixedSize(ScaledWidth(80), BitButtonHeight());
    connect(BBtn_Process, &QPushButton::clicked, this,
            [this] { GuardSlot([this] { Controller->XferData(); }); });

    auto* processPanel = new QWidget(this);
    processPanel->setFixedHeight(BitButtonHeight() + 12);
    auto* bevel = new QFrame(processPanel);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    auto* processRow = new QHBoxLayout();
    processRow->setContentsMargins(0, 0, 8, 0);
    processRow->addStretch(1);
    processRow->addWidget(BBtn_Process);
    auto* processLayout = new QVBoxLayout(processPanel);
    processLayout->setContentsMargins(0, 0, 0, 0);
    processLayout->setSpacing(0);
    processLayout->addWidget(bevel);
    processLayout->addLayout(processRow, 1);

    auto* tabsPanel = new QWidget(this);
    auto* tabsLayout = new QVBoxLayout(tabsPanel);
    tabsLayout->setContentsMargins(0, 0, 0, 0);
    tabsLayout->setSpacing(0);
    tabsLayout->addWidget(PC_Main, 1);
    tabsLayout->addWidget(processPanel);

    Spl_Main = new QSplitter(Qt::Horizontal, this);
    Spl_Main->setHandleWidth(2);
    Spl_Main->setChildrenCollapsible(false);
    Spl_Main->addWidget(BuildDefinitionPanel());
    Spl_Main->addWidget(tabsPanel);
    Spl_Main->setStretchFactor(0, 0);
    Spl_Main->setStretchFactor(1, 1);
    connect(Spl_Main, &QSplitter::splitterMoved, this,
            [this] { GuardSlot([this] { ArrangeListButtons(); }); });

    auto* topBevel = new QFrame(this);
    topBevel->setFrameShape(QFrame::HLine);
    topBevel->setFrameShadow(QFrame::Sunken);
    auto* centre = new QWidget(this);
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(topBevel);
    layout->addWidget(Spl_Main, 1);
    setCentralWidget(centre);

    // Keyboard order: the list and its buttons, then the tabs and the Process button.
    QWidget* previous = LB_SDs;
    for (QPushButton* button : ListButtons) {
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, PC_Main);
    setTabOrder(PC_Main, BBtn_Process);
}

// ---- Lifetime events ----

bool TUF_Main::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        GuardSlot([this] {
            // An activation inside a command (its own dialogue closing) is not the user coming
            // back to the window: the command is still under way.
            if (!Controller->getBusy()) {
                Controller->Activate();
            }
        });
    }
    return QMainWindow::event(event);
}

void TUF_Main::closeEvent(QCloseEvent* event) {
    event->ignore();
    GuardSlot([this, event] {
        if (!Controller->CloseQuery()) {
            return;
        }
        if (WMs != nullptr) {
            TovWM& slot = WMs->getItems(1);
            CaptureWindowGeometry(slot, this, true);
            slot.setSplitterLeft(Pnl_SDs->width());
            WMs->Save(1);
        }
        event->accept();
        QCoreApplication::processEvents();
    });
}

void TUF_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    GuardSlot([this] {
        BH_Main->Hide();
        ArrangeListButtons();
    });
}

void TUF_Main::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    GuardSlot([this] { BH_Main->Hide(); });
}

void TUF_Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        GuardSlot([this] { BH_Main->Hide(); });
    } else if (event->type() == QEvent::WindowStateChange) {
        GuardSlot([this, event] { TrackMaximised(static_cast<QWindowStateChangeEvent*>(event)); });
    }
}

void TUF_Main::TrackMaximised(const QWindowStateChangeEvent* change) {
    if (isMinimized()) {
        NormalStateHeld.Cancel();
        // Minimising records whether the window was maximised: it is restored and saved so.
        if (!change->oldState().testFlag(Qt::WindowMinimized) && WMs != nullptr) {
            WMs->getItems(1).setWasMaximised(HeldMaximised || isMaximized() ||
                                             change->oldState().testFlag(Qt::WindowMaximized));
        }
    } else if (isMaximized() || !change->spontaneous()) {
        // Maximised, or un-maximised by the program or through its own windows: at once.
        NormalStateHeld.Cancel();
        HeldMaximised = isMaximized();
    } else {
        // Un-maximised as the window manager reports it: once the normal state holds.
        NormalStateHeld.Schedule(this, [this] { HeldMaximised = false; });
    }
}

void TUF_Main::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Placed with a frame not yet its own (its first showing): its frame goes where the
    // placement meant it to be.
    // (A show event of the window system, as after a restore from minimised, places nothing.)
    if (!event->spontaneous()) {
        const QRect placed = OuterRectOf(this);
        WhenFramed(this, [this, placed] { GuardSlot([&] { PlaceOuter(this, placed); }); });
    }
}

bool TUF_Main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && !HintsShown) {
        return true;
    }
    // The edit commands follow what the user did to the focused control (a selection made,
    // text typed, another cell of a grid chosen).
    if ((event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
        GuardSlot([this] { UpdateEditActions(); });
    }
    if (StepPagesByKey(*PC_Main, watched, event)) {
        return true;
    }
    if (watched == LB_SDs && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
        GuardSlot([this] { Controller->ListRenameKey(); });
        return true;
    }
    if (FileDragEvent(watched, event)) {
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TUF_Main::FileDragEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    // Files dropped anywhere on the window open as data files: an edit box under the pointer
    // must not take them as text.
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* drag = static_cast<QDropEvent*>(event);
    if (widget == nullptr || widget->window() != this || Drops == nullptr ||
        LocalPathsOfUrls(drag->mimeData()->urls()).isEmpty()) {
        return false;
    }
    GuardSlot([&] {
        const bool taken =
            type == QEvent::Drop ? Drops->Drop(drag->mimeData()) : Drops->Accepts(drag->mimeData());
        if (taken) {
            drag->acceptProposedAction();
        } else {
            drag->ignore();
        }
    });
    return true;
}

// ---- Services of the window ----

void TUF_Main::RestoreFromMinimised() {
    RestoreWindowFromMinimised(this, WMs != nullptr && WMs->getItems(1).getWasMaximised());
}

void TUF_Main::ProgressStart(int maximum) {
    PB_Main->setRange(0, std::max(0, maximum));
    PB_Main->setValue(0);
    PB_Main->show();
}

void TUF_Main::ProgressStep() {
    PB_Main->setValue(std::min(PB_Main->maximum(), std::max(0, PB_Main->value()) + 1));
    PB_Main->repaint();
}

void TUF_Main::ProgressEnd() {
    PB_Main->hide();
    PB_Main->setValue(0);
}

void TUF_Main::SetProcessEnabled(bool enabled) {
    BBtn_Process->setEnabled(enabled);
}

void TUF_Main::SetDataFileStatus(const TDataFileStatus& status) {
    SB_Main->setDataFileText(status.Text);
    SB_Main->setModified(status.Modified);
    action(QStringLiteral("MI_File_Save"))->setEnabled(status.SaveEnabled);
    action(QStringLiteral("TBtn_File_Save"))->setEnabled(status.SaveEnabled);
    action(QStringLiteral("MI_File_SaveAs"))->setEnabled(status.SaveAsEnabled);
    action(QStringLiteral("MI_File_Close"))->setEnabled(status.CloseEnabled);
}

void TUF_Main::ShowPage(int index) {
    const QSignalBlocker blocker(PC_Main);
    PC_Main->setCurrentIndex(index);
}

void TUF_Main::FocusPages() {
    if (PC_Main->isEnabled() && PC_Main->isVisible()) {
        PC_Main->setFocus();
    }
}

void TUF_Main::HideBalloon() {
    BH_Main->Hide();
}

IBalloonHint& TUF_Main::Balloon() {
    return *BH_Main;
}

TTabInputGuards& TUF_Main::InputGuards() {
    return *InputGuardsOfTabs;
}

void TUF_Main::DataFileChanged() {
    if (DF != nullptr) {
        DF->setModified(true);
    }
    Controller->UpdateDataFileStatus();
}

void TUF_Main::GoToField(int pageIndex, int fieldId) {
    Controller->GoToTabField(pageIndex, fieldId, 0);
    if (fieldId == 0) {
        FocusPages();
    }
}

void TUF_Main::BeginImport() {
    ImportScopes.push_back(std::make_unique<TMainController::TBusyScope>(*Controller));
    SetWindowEnabled(false);
}

void TUF_Main::EndImport() {
    if (!ImportScopes.empty()) {
        ImportScopes.pop_back();
    }
    if (ImportScopes.empty()) {
        SetWindowEnabled(true);
    }
}

void TUF_Main::SetDragAccept(bool accept) {
    setAcceptDrops(accept);
}

void TUF_Main::SetWindowEnabled(bool enabled) {
    setEnabled(enabled);
}

bool TUF_Main::IsMaximised() const {
    return isMaximized();
}

void TUF_Main::SetMaximised(bool maximised) {
    if (maximised) {
        showMaximized();
    } else {
        showNormal();
    }
}

void TUF_Main::RequestClose() {
    close();
}
