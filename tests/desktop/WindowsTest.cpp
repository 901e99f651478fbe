// Every window of the program on the real X server with its window manager, at 1280 x 800, as a
// user sees it: placed from its real frame (also on its first showing) inside the work area, its
// controls inside their parents and clear of each other, the Summary whole. A picture of each
// window is saved for review.
#include "DesktopSupport.h"

#include "controls/ovGrid.h"
#include "controls/ovVLabel.h"
#include "forms/MainBlock.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/browse/F_BrowseFld.h"
#include "forms/browse/F_BrowseVal.h"
#include "forms/browse/F_BrowseWS.h"
#include "forms/browse/F_CfgErr.h"
#include "forms/browse/F_DFVErr.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_AddRenameCopy.h"
#include "forms/dialogs/F_Options.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/main/F_Main.h"
#include "forms/main/MainController.h"
#include "forms/tabs/TabDSMModel.h"
#include "forms/tabs/Tab_DSF.h"
#include "forms/tabs/Tab_DSM.h"
#include "forms/tabs/Tab_SCF.h"
#include "model/ErrorLists.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/StdDlg.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "services_ui/F_StdDlg.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "services_ui/WindowGeometry.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace desktopsupport;

// ---- What every window is checked for ----

std::string Text(const QRect& r) {
    return QStringLiteral("(%1, %2) %3 x %4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

std::string Text(const QString& text) {
    return text.toStdString();
}

QString Describe(const QWidget* w) {
    const QString name = w->objectName().isEmpty() ? QString() : QLatin1Char(' ') + w->objectName();
    QString text;
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        text = button->text();
    } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
        text = label->text();
    }
    text = text.trimmed().left(30);
    return QStringLiteral("%1%2%3 at (%4, %5) %6 x %7")
        .arg(QString::fromLatin1(w->metaObject()->className()), name,
             text.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(text))
        .arg(w->x())
        .arg(w->y())
        .arg(w->width())
        .arg(w->height());
}

// The children a user sees: shown, of some size, not windows of their own.
QList<QWidget*> ShownChildren(const QWidget* parent) {
    QList<QWidget*> shown;
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child != nullptr && !child->isWindow() && child->isVisible() &&
            !child->geometry().isEmpty()) {
            shown << child;
        }
    }
    return shown;
}

// What a scroll area scrolls may lie outside its viewport.
bool ScrolledContent(const QWidget* parent) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
    return area != nullptr && area->viewport() == parent;
}

// Siblings that stand over each other by design: a grid's in-cell control (a browse button, a
// drop-down list) over the grid's cells, and a splitter's handle, whose grip reaches over its
// neighbours.
bool MeantToOverlap(const QWidget* a, const QWidget* b) {
    const auto inside = [](const QWidget* grid, const QWidget* control) {
        return qobject_cast<const TovGrid*>(grid) != nullptr &&
               grid->geometry().contains(control->geometry());
    };
    return inside(a, b) || inside(b, a) || qobject_cast<const QSplitterHandle*>(a) != nullptr ||
           qobject_cast<const QSplitterHandle*>(b) != nullptr;
}

// The width a control needs to show its caption whole: the text, and the picture and the check
// mark beside it.
int CaptionNeed(const QWidget* w, const QString& caption, const QIcon& icon) {
    QString text = caption;
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    int need = w->fontMetrics().horizontalAdvance(text.trimmed());
    const auto* tool = qobject_cast<const QToolButton*>(w);
    const bool iconBeside =
        tool == nullptr || tool->toolButtonStyle() == Qt::ToolButtonTextBesideIcon;
    if (!icon.isNull() && iconBeside) {
        need += 16 + 4;
    }
    if (qobject_cast<const QCheckBox*>(w) != nullptr) {
        need += w->style()->pixelMetric(QStyle::PM_IndicatorWidth) + 4;
    }
    return need;
}

// A caption cut by its control: a button's or a check box's text, a single-line label's text.
bool CutsCaption(const QWidget* w) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return !button->text().isEmpty() &&
               CaptionNeed(w, button->text(), button->icon()) > button->width();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return !label->wordWrap() && label->textFormat() != Qt::RichText &&
               label->pixmap().isNull() && !label->text().isEmpty() &&
               qobject_cast<const TovVLabel*>(w) == nullptr &&
               CaptionNeed(w, label->text(), QIcon()) > label->contentsRect().width();
    }
    return false;
}

// Every child that leaves its parent or lies under a sibling, and every rotated caption longer
// than its label; with the window's own name first.
void CollectLayoutFaults(const QWidget* parent, QStringList& faults) {
    const QList<QWidget*> children = ShownChildren(parent);
    for (int i = 0; i < children.size(); ++i) {
        const QWidget* child = children[i];
        if (!ScrolledContent(parent) && !parent->rect().contains(child->geometry())) {
            faults
                << QStringLiteral("%1 leaves its parent %2").arg(Describe(child), Describe(parent));
        }
        for (int j = i + 1; j < children.size(); ++j) {
            const QWidget* other = children[j];
            if (child->geometry().intersects(other->geometry()) && !MeantToOverlap(child, other)) {
                faults << QStringLiteral("%1 overlaps %2").arg(Describe(child), Describe(other));
            }
        }
        if (CutsCaption(child)) {
            faults << QStringLiteral("%1 cuts its caption").arg(Describe(child));
        }
        if (const auto* tabs = qobject_cast<const QTabBar*>(child)) {
            // Scroll buttons: some tabs are out of sight.
            for (const QToolButton* scroll : tabs->findChildren<QToolButton*>()) {
                if (scroll->isVisible()) {
                    faults << QStringLiteral("%1 hides some of its tabs").arg(Describe(child));
                    break;
                }
            }
        }
        if (const auto* label = qobject_cast<const TovVLabel*>(child)) {
            if (label->getTextWidth() > label->height()) {
                faults << QStringLiteral("%1 cuts its rotated caption (%2 pixels long)")
                              .arg(Describe(child))
                              .arg(label->getTextWidth());
            }
        }
        if (qobject_cast<const QTabBar*>(child) == nullptr) {
            CollectLayoutFaults(child, faults);
        }
    }
}

// The window's frame once the window manager and the program have stopped moving it.
QRect StableFrame(const QWidget* window) {
    (void)waitUntilFramed(window);
    QRect last = frameOf(window);
    for (int unchanged = 0, i = 0; unchanged < 3 && i < 40; ++i) {
        settle(50);
        const QRect now = frameOf(window);
        unchanged = now == last ? unchanged + 1 : 0;
        last = now;
    }
    return last;
}

// The window is framed, inside the work area, and every control is readable; a picture of it is
// saved under the name.
void ExpectPlacedAndReadable(QWidget* window, const QString& name) {
    SCOPED_TRACE(name.toStdString());
    const QRect frame = StableFrame(window);
    EXPECT_NE(frame, window->geometry()) << "not framed by the window manager";
    EXPECT_TRUE(workArea().contains(frame))
        << "frame " << Text(frame) << " work area " << Text(workArea());
    QStringList faults;
    CollectLayoutFaults(window, faults);
    for (const QString& fault : faults) {
        ADD_FAILURE() << fault.toStdString();
    }
    saveScreenshot(window, name);
}

// The frame's centre lies at the work area's centre (a window centred on the screen), once the
// window manager has placed the frame (in its own time).
void ExpectCentred(const QWidget* window) {
    const auto offsetNow = [window] { return frameOf(window).center() - workArea().center(); };
    (void)QTest::qWaitFor(
        [&] { return std::abs(offsetNow().x()) <= 1 && std::abs(offsetNow().y()) <= 1; }, 10000);
    const QPoint offset = offsetNow();
    EXPECT_LE(std::abs(offset.x()), 1) << Text(frameOf(window)) << " in " << Text(workArea());
    EXPECT_LE(std::abs(offset.y()), 1) << Text(frameOf(window)) << " in " << Text(workArea());
}

// What the window manager lets the user do with the window (its allowed actions).
QStringList AllowedActions(const QWidget* window) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_NET_WM_ALLOWED_ACTIONS")});
    if (!xprop.waitForFinished(5000)) {
        return {};
    }
    const QString answer = QString::fromLocal8Bit(xprop.readAllStandardOutput());
    QStringList actions;
    for (const QString& part : answer.section(QLatin1Char('='), 1).split(QLatin1Char(','))) {
        actions << part.trimmed();
    }
    return actions;
}

// ---- Running the program's commands ----

// The user maximises the window and restores it again; the window settles.
void MaximiseAndRestore(QWidget* window) {
    window->showMaximized();
    (void)QTest::qWaitFor([window] { return window->isMaximized(); }, 10000);
    settle(300);
    window->showNormal();
    (void)QTest::qWaitFor([window] { return window->windowState() == Qt::WindowNoState; }, 10000);
    StableFrame(window);
}

// The user minimises the window and brings it back as a task bar does: through the window manager,
// which learns of the request from the window's activation message.
void MinimiseAndRestoreAsTheUserDoes(QWidget* window) {
    window->showMinimized();
    (void)QTest::qWaitFor([window] { return window->isMinimized(); }, 10000);
    settle(300);
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowactivate"), QString::number(window->winId())});
    (void)QTest::qWaitFor([window] { return !window->isMinimized() && window->isVisible(); },
                          10000);
    StableFrame(window);
}

std::string Text(const TovWM& slot) {
    return Text(QRect(slot.getLeft(), slot.getTop(), slot.getWidth(), slot.getHeight()));
}

// Waits until the window is shown and framed (the command that shows it is still running its
// modal loop), lets `inspect` look at it, then ends it with `result`. Armed before the command.
void WhenShown(QDialog* window, std::function<void()> inspect, int result) {
    auto* poll = new QTimer(window);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, window, [=] {
        if (!window->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        (void)waitUntilFramed(window);
        settle(300);
        inspect();
        window->done(result);
    });
    poll->start();
}

// The program as start-up makes it: the global objects and every window, the main window shown
// with the sample data file open. Shared by the tests of this suite: the windows are created
// once, as in the program.
class ProgramWindows : public testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!onRealDisplay()) {
            return;
        }
        Globals = new testsupport::ProgramGlobals();
        // Questions before processing and writing the output file are not the subject here.
        UP->setPromptOnProcess(false);
        UP->setPromptOnCreateOFFolder(false);
        UP->setPromptOnOverwriteOF(false);
        Forms = new TApplicationForms({});
        Forms->CreateForms(FormCreations());
        ASSERT_TRUE(showAndSettle(UF_Main));
        UF_Main->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
        settle(300);
    }
    static void TearDownTestSuite() {
        if (DF != nullptr) {
            DF->setModified(false);
        }
        delete Forms;
        Forms = nullptr;
        delete Globals;
        Globals = nullptr;
    }
    void SetUp() override {
        if (!onRealDisplay()) {
            GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
        }
        ASSERT_NE(SDs, nullptr);
        ASSERT_GT(SDs->getCount(), 0) << "the sample data file did not open";
    }

    static TUF_Main& Main() { return *UF_Main; }
    template <class Page> static Page* PageAt(int index) {
        return dynamic_cast<Page*>(Main().pages()->widget(index));
    }
    static void SelectDefinition(int row) {
        Main().definitionList()->setCurrentRow(row);
        settle(100);
    }

    static testsupport::ProgramGlobals* Globals;
    static TApplicationForms* Forms;
};

testsupport::ProgramGlobals* ProgramWindows::Globals = nullptr;
TApplicationForms* ProgramWindows::Forms = nullptr;

constexpr int kPageCount = 5;
const char* const kPageNames[kPageCount] = {"home", "s_curve_files", "s_curve_options",
                                            "data_source_map", "data_source_filter"};

// ---- The main window ----

TEST_F(ProgramWindows, MainWindowShowsEveryTabWholeAtItsMinimumAndDefaultSize) {
    TUF_Main& main = Main();
    main.showNormal();
    ASSERT_NE(WMs, nullptr);
    ResetWindowGeometry(WMs->getItems(1), &main, true);
    settle(300);
    ExpectCentred(&main);
    // At the default size the list may still be widened.
    auto* splitter = main.findChild<QSplitter*>();
    ASSERT_NE(splitter, nullptr);
    const int listWidth = splitter->sizes().at(0);
    splitter->setSizes({listWidth + 200, splitter->width()});
    settle(100);
    EXPECT_GT(splitter->sizes().at(0), listWidth) << "the list cannot be widened";
    splitter->setSizes({listWidth, splitter->width()});

    const struct {
        const char* name;
        QSize size;
    } sizes[] = {{"default", main.size()}, {"minimum", main.minimumSize()}};
    for (const auto& size : sizes) {
        main.resize(size.size);
        settle(300);
        for (int page = 0; page < kPageCount; ++page) {
            main.pages()->setCurrentIndex(page);
            // The filter page shows the sample's definition that has a filter.
            SelectDefinition(page == 4 ? 1 : 0);
            ExpectPlacedAndReadable(
                &main, QStringLiteral("main_%1_%2")
                           .arg(QLatin1String(size.name), QLatin1String(kPageNames[page])));
        }
    }
    main.pages()->setCurrentIndex(0);
    SelectDefinition(0);
}

// The window states the window manager reports for a window, the last one kept.
class StateReports : public QObject {
public:
    explicit StateReports(QWindow* window) { window->installEventFilter(this); }
    Qt::WindowStates last;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous()) {
            last = static_cast<QWindow*>(watched)->windowStates();
        }
        return false;
    }
};

TEST_F(ProgramWindows, AMaximisedMainWindowMinimisedAndRestoredComesBackMaximised) {
    TUF_Main& main = Main();
    // Maximised as the window manager reports it (the widget's state says what was asked at
    // once): a window minimised before the window manager has maximised it was never maximised.
    const StateReports reports(main.windowHandle());
    main.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.last.testFlag(Qt::WindowMaximized); }, 10000))
        << "reported " << reports.last.toInt();
    settle(200);
    main.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.isMinimized(); }, 10000));
    settle(200);
    // A dialogue shown meanwhile restores the main window, as a second start does.
    main.RestoreFromMinimised();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.isMinimized() && main.isMaximized(); }, 10000))
        << "state " << main.windowState().toInt();
    TovWM& slot = WMs->getItems(1);
    main.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.isMinimized(); }, 10000));
    CaptureWindowGeometry(slot, &main, true);
    EXPECT_EQ(slot.getWindowSize(), 1) << "a window minimised from maximised is saved maximised";
    main.RestoreFromMinimised();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.isMinimized() && main.isMaximized(); }, 10000));
    main.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.windowState() == Qt::WindowNoState; }, 10000));
    settle(300);
}

// ---- Dialogues ----

TEST_F(ProgramWindows, OptionsAboutAndAddRenameCopyOpenCentredAtTheirSize) {
    const struct {
        QDialog* window;
        const char* name;
        bool fixedBorder; // a single fixed border with only the system menu
    } dialogs[] = {{UF_Options, "options", true},
                   {UF_About, "about", false},
                   {UF_AddRenameCopy, "add_rename_copy", true}};
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog.name);
        ASSERT_NE(dialog.window, nullptr);
        if (dialog.window == UF_AddRenameCopy) {
            TAddRenameCopySetup setup;
            setup.Caption = QStringLiteral(" Ovik KRV Tessel: Rename KRV Definition ");
            setup.Description = SDs->getItems(1)->getDescription();
            setup.ActionCaption = QStringLiteral(" &Rename ");
            UF_AddRenameCopy->Setup(setup);
        }
        ASSERT_TRUE(showAndSettle(dialog.window));
        settle(300);
        // Each showing starts where a first showing does: centred on the work area.
        ExpectCentred(dialog.window);
        ExpectPlacedAndReadable(dialog.window, QString::fromLatin1(dialog.name));
        if (dialog.fixedBorder) {
            // No resizing, no maximising; minimised by the window manager (which offers it on
            // every window), the dialogue comes straight back.
            const QStringList actions = AllowedActions(dialog.window);
            for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                        "_NET_WM_ACTION_MAXIMIZE_VERT"}) {
                EXPECT_FALSE(actions.contains(QLatin1String(refused)))
                    << refused << " in " << actions.join(QLatin1Char(' ')).toStdString();
            }
            dialog.window->showMinimized();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return dialog.window->isVisible() && !dialog.window->isMinimized(); },
                10000));
        }
        dialog.window->reject();
        settle(100);
    }
}

TEST_F(ProgramWindows, TheStandardDialogueIsAsWideAsItsLongestTitle) {
    auto* dialogue = dynamic_cast<TUF_StdDlg*>(StdDlg());
    ASSERT_NE(dialogue, nullptr);
    dialogue->MsgLines = {QStringLiteral("The longest caption of the four kinds.")};
    dialogue->SetupStdDlgButtons1(sdkInformation, QStringLiteral("T001"),
                                  {12, mrClose, UIT(357), UIT(1200)});
    ASSERT_TRUE(showAndSettle(dialogue));
    settle(200);
    // The window manager draws the caption in its own (bold) font, with at least the window's
    // icon and a close button beside it, each about as wide as the caption bar is high.
    QFont bold = textMeasurer().captionFont();
    bold.setBold(true);
    const int captionBar = dialogue->geometry().top() - frameOf(dialogue).top();
    const int needed =
        QFontMetrics(bold).horizontalAdvance(dialogue->windowTitle().trimmed()) + 2 * captionBar;
    EXPECT_GE(frameOf(dialogue).width(), needed) << Text(dialogue->windowTitle());
    ExpectPlacedAndReadable(dialogue, QStringLiteral("standard_dialogue"));
    dialogue->done(mrClose);
    settle(100);
}

// ---- Browse windows ----

// The browse window the button opens hangs below the field, its right edge 4 pixels right of the
// button's: on its first showing too.
void ExpectHangingBelow(const QWidget* window, const QWidget* field, const QWidget* button) {
    const QPoint buttonRight = button->mapToGlobal(QPoint(button->width(), 0));
    const int fieldBottom = field->mapToGlobal(QPoint(0, field->height())).y();
    const int right = std::min(buttonRight.x() + 4, workArea().right() + 1);
    // The window manager frames and places the window in its own time.
    (void)QTest::qWaitFor(
        [&] {
            const QRect now = frameOf(window);
            return now.top() == fieldBottom && now.left() + now.width() == right;
        },
        10000);
    const QRect frame = frameOf(window);
    EXPECT_EQ(frame.top(), fieldBottom) << "frame " << Text(frame);
    EXPECT_EQ(frame.left() + frame.width(), right) << "frame " << Text(frame);
}

TEST_F(ProgramWindows, BrowseWindowsHangBelowTheirFieldFromTheirFirstShowing) {
    TUF_Main& main = Main();
    SelectDefinition(0);
    // Aligned and sized by their toggles.
    UP->setAutoSizeBrowseWS(true);
    UP->setAutoAlignBrowseWS(true);
    UP->setAutoSizeBrowseFld(true);
    UP->setAutoAlignBrowseFld(true);
    UP->setAutoSizeBrowseVal(true);
    UP->setAutoAlignBrowseVal(true);

    main.pages()->setCurrentIndex(1);
    settle(100);
    auto* files = PageAt<TTab_SCF>(1);
    ASSERT_NE(files, nullptr);
    QPushButton* worksheetButton = files->worksheetBrowseButton(swsTask);
    WhenShown(
        UF_BrowseWS,
        [&] {
            ExpectHangingBelow(UF_BrowseWS, static_cast<QWidget*>(files->box(sbDSF_TaskWS)),
                               worksheetButton);
            ExpectPlacedAndReadable(UF_BrowseWS, QStringLiteral("browse_worksheet"));
        },
        mrCancel);
    worksheetButton->click();
    settle(200);

    // The browse buttons of grid cells: the map's Start Date row, the filter's first value.
    const auto browseCell = [](TovGrid* grid, int col, int row, QAbstractButton* button,
                               QDialog* window, const QString& name) {
        grid->MoveToCell(col, row);
        settle(100);
        WhenShown(
            window, [window, name] { ExpectPlacedAndReadable(window, name); }, mrCancel);
        button->click();
        settle(200);
    };
    main.pages()->setCurrentIndex(3);
    settle(100);
    auto* map = PageAt<TTab_DSM>(3);
    ASSERT_NE(map, nullptr);
    browseCell(map->grid(), 1, 5, map->browseButton(), UF_BrowseFld,
               QStringLiteral("browse_task_field"));

    main.pages()->setCurrentIndex(4);
    SelectDefinition(1);
    auto* filter = PageAt<TTab_DSF>(4);
    ASSERT_NE(filter, nullptr);
    browseCell(filter->grid(), 5, 1, filter->button(TTab_DSF::TButton::TaskFldValueBrowse),
               UF_BrowseVal, QStringLiteral("browse_task_field_value"));

    // Several data files dropped at once are offered in the Select Data File window (the one
    // that is no data file greyed); Cancel opens none.
    WhenShown(
        UF_BrowseFile,
        [] { ExpectPlacedAndReadable(UF_BrowseFile, QStringLiteral("browse_data_file")); },
        mrCancel);
    main.controller().OpenHandedOverPaths(
        {DF->getDPFE(), QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.xlsx")},
        TMainController::TPathSource::Dropped);
    settle(200);
    main.pages()->setCurrentIndex(0);
    SelectDefinition(0);
}

// ---- Error lists ----

TEST_F(ProgramWindows, ErrorListsStayPutWhenMaximisedAndRestoredOnTheirFirstShowing) {
    ASSERT_NE(DV, nullptr);
    SelectDefinition(0);
    // The first definition without its data source and output files: Process lists the faults.
    TovSD* sd = SDs->getItems(SDs->getActiveSD());
    const QString dataSource = sd->SCF->getDSF_DrivePathFilenameExtnXL();
    const QString output = sd->SCF->getOF_DrivePathFilenameExtnXL();
    sd->SCF->setDSF_DrivePathFilenameExtnXL(QStringLiteral("/nowhere/Missing.xlsx"));
    sd->SCF->setOF_DrivePathFilenameExtnXL(QString());
    Main().pages()->setCurrentIndex(0);
    settle(100);
    bool configurationErrorsSeen = false;
    WhenShown(
        UF_CfgErr,
        [&] {
            configurationErrorsSeen = true;
            const QRect before = frameOf(UF_CfgErr);
            ExpectPlacedAndReadable(UF_CfgErr, QStringLiteral("configuration_errors"));
            MaximiseAndRestore(UF_CfgErr);
            (void)QTest::qWaitFor([&] { return frameOf(UF_CfgErr).topLeft() == before.topLeft(); },
                                  10000);
            EXPECT_EQ(frameOf(UF_CfgErr).topLeft(), before.topLeft())
                << "after maximise and restore " << Text(frameOf(UF_CfgErr));
            EXPECT_TRUE(workArea().contains(frameOf(UF_CfgErr)));
        },
        mrClose);
    Main().processButton()->click();
    settle(200);
    EXPECT_TRUE(configurationErrorsSeen) << "the configuration errors were not shown";
    sd->SCF->setDSF_DrivePathFilenameExtnXL(dataSource);
    sd->SCF->setOF_DrivePathFilenameExtnXL(output);
    Main().pages()->setCurrentIndex(0);

    // The data file validation errors of a data file opened with faults.
    DV->ClearDFVErrs();
    for (int i = 1; i <= 12; ++i) {
        DV->AddDFVErr(1, QStringLiteral("Task Header Row"),
                      QStringLiteral("The Task Header Row is invalid."));
    }
    // Listed as opening a data file lists them (a window with an empty list closes itself).
    FillErrListBox(LB_DFVErr(), DV->getDFVErrCount());
    UF_DFVErr->RefreshList();
    ASSERT_EQ(UF_DFVErr->findChild<QListWidget*>()->count(), 12);
    UF_DFVErr->setModal(true);
    // Without Auto Size it opens at the size it was given at start-up, before any window was
    // framed: its default size, frame included.
    UP->setAutoSizeDFVErr(false);
    bool validationErrorsSeen = false;
    WhenShown(
        UF_DFVErr,
        [&] {
            validationErrorsSeen = true;
            EXPECT_EQ(StableFrame(UF_DFVErr).size(), QSize(400, 360));
            ExpectPlacedAndReadable(UF_DFVErr, QStringLiteral("data_file_validation_errors"));
        },
        mrClose);
    UF_DFVErr->exec();
    settle(100);
    EXPECT_TRUE(validationErrorsSeen) << "the data file validation errors were not shown";
}

// ---- The Summary ----

TEST_F(ProgramWindows, TheSummaryAfterARunShowsEveryRowAndColumnWithoutScrollBars) {
    ASSERT_NE(UF_Summary, nullptr);
    UP->setAutoSizeSummary(true);
    SelectDefinition(0);
    TovSD* sd = SDs->getItems(SDs->getActiveSD());
    const QString description = sd->getDescription();
    const auto expectWhole = [](const char* name) {
        SCOPED_TRACE(name);
        const TovGrid& grid = UF_Summary->grid();
        EXPECT_FALSE(grid.verticalScrollBar()->isVisible());
        EXPECT_FALSE(grid.horizontalScrollBar()->isVisible());
        // The grid's extent counts its border.
        EXPECT_LE(grid.CalcGridHeight(), grid.height());
        EXPECT_LE(grid.CalcGridWidth(), grid.width());
    };
    int figureColumn = 0;
    WhenShown(
        UF_Summary,
        [&] {
            expectWhole("after a run");
            ExpectPlacedAndReadable(UF_Summary, QStringLiteral("summary"));
            figureColumn = UF_Summary->grid().getColWidths(2);
            // Maximised and restored: back on the screen with its buttons in reach.
            MaximiseAndRestore(UF_Summary);
            expectWhole("after maximise and restore");
            ExpectPlacedAndReadable(UF_Summary, QStringLiteral("summary_restored"));
        },
        mrClose);
    Main().processButton()->click();
    settle(200);

    // A description of the longest length allowed is cut, not spread over the figures.
    sd->setDescription(QString(255, QLatin1Char('W')).replace(10, 1, QLatin1Char(' ')));
    WhenShown(
        UF_Summary,
        [&] {
            expectWhole("with a long description");
            EXPECT_EQ(UF_Summary->grid().getColWidths(2), figureColumn);
            ExpectPlacedAndReadable(UF_Summary, QStringLiteral("summary_long_description"));
        },
        mrClose);
    Main().processButton()->click();
    settle(200);
    sd->setDescription(description);
}

TEST_F(ProgramWindows, AMaximisedSummaryMinimisedAndRestoredComesBackMaximisedWithAutoSize) {
    ASSERT_NE(UF_Summary, nullptr);
    UP->setAutoSizeSummary(true);
    SelectDefinition(0);
    bool seen = false;
    WhenShown(
        UF_Summary,
        [&] {
            seen = true;
            UF_Summary->showMaximized();
            ASSERT_TRUE(QTest::qWaitFor([] { return UF_Summary->isMaximized(); }, 10000));
            StableFrame(UF_Summary);
            MinimiseAndRestoreAsTheUserDoes(UF_Summary);
            EXPECT_TRUE(UF_Summary->isMaximized()) << "state " << UF_Summary->windowState().toInt()
                                                   << ", frame " << Text(frameOf(UF_Summary));
            EXPECT_TRUE(UF_Summary->isAutoSizeDown()) << "minimising is no drag of the border";
            EXPECT_TRUE(UP->getAutoSizeSummary());
            saveScreenshot(UF_Summary, QStringLiteral("summary_restored_from_minimised"));
            // Restored from maximised, Auto Size fits the window to the grid again.
            UF_Summary->showNormal();
            ASSERT_TRUE(QTest::qWaitFor(
                [] { return UF_Summary->windowState() == Qt::WindowNoState; }, 10000));
            // The window manager restores the size in its own time.
            const QSize fitted(UF_Summary->getAutoMinWidth(), UF_Summary->getAutoMinHeight());
            (void)QTest::qWaitFor([&] { return frameOf(UF_Summary).size() == fitted; }, 10000);
            EXPECT_TRUE(UF_Summary->isAutoSizeDown());
            EXPECT_EQ(frameOf(UF_Summary).size(), fitted) << Text(frameOf(UF_Summary));
        },
        mrClose);
    Main().processButton()->click();
    settle(200);
    EXPECT_TRUE(seen) << "the Summary was not shown";
}

TEST_F(ProgramWindows, TheSummaryComesUpAtItsSavedSizeEveryTimeAfterAMaximise) {
    ASSERT_NE(UF_Summary, nullptr);
    TovWM& slot = WMs->getItems(8);
    SelectDefinition(0);
    // Fitted once and moved to the bottom of the work area; then Auto Size is released.
    UP->setAutoSizeSummary(true);
    WhenShown(
        UF_Summary,
        [] {
            const QRect fitted = StableFrame(UF_Summary);
            PlaceOuter(UF_Summary,
                       QRect(QPoint(fitted.x(), workArea().bottom() + 1 - fitted.height()),
                             fitted.size()));
            StableFrame(UF_Summary);
        },
        mrClose);
    Main().processButton()->click();
    settle(200);
    UP->setAutoSizeSummary(false);
    const QRect saved(slot.getLeft(), slot.getTop(), slot.getWidth(), slot.getHeight());
    ASSERT_EQ(saved.bottom(), workArea().bottom()) << Text(slot);

    // Each showing comes up at the saved rectangle with every row and column in sight, and a
    // maximise and restore brings it back there.
    for (int showing = 1; showing <= 6; ++showing) {
        SCOPED_TRACE(showing);
        bool seen = false;
        WhenShown(
            UF_Summary,
            [&] {
                seen = true;
                const auto expectSaved = [&](const char* when) {
                    SCOPED_TRACE(when);
                    const QRect frame = StableFrame(UF_Summary);
                    EXPECT_EQ(frame, saved) << Text(frame) << " saved " << Text(saved) << ", state "
                                            << UF_Summary->windowState().toInt() << ", client "
                                            << Text(UF_Summary->geometry());
                    EXPECT_FALSE(UF_Summary->grid().verticalScrollBar()->isVisible());
                    EXPECT_FALSE(UF_Summary->grid().horizontalScrollBar()->isVisible());
                };
                expectSaved("shown");
                MaximiseAndRestore(UF_Summary);
                expectSaved("maximised and restored");
                EXPECT_FALSE(UF_Summary->isAutoSizeDown());
            },
            mrClose);
        Main().processButton()->click();
        settle(200);
        ASSERT_TRUE(seen) << "the Summary was not shown";
        EXPECT_EQ(QRect(slot.getLeft(), slot.getTop(), slot.getWidth(), slot.getHeight()), saved);
    }
    UP->setAutoSizeSummary(true);
}

// ---- A browse window without room below its field ----

TEST_F(ProgramWindows, BrowseTaskFieldForTheLastMapRowOpensWholeAboveTheFieldNearTheBottomEdge) {
    TUF_Main& main = Main();
    main.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.windowState() == Qt::WindowNoState; }, 10000));
    SelectDefinition(0);
    UP->setAutoSizeBrowseFld(true);
    UP->setAutoAlignBrowseFld(true);
    // The main window at the bottom of the screen: the last map row lies near its bottom edge.
    const QRect area = workArea();
    const QRect before = StableFrame(&main);
    PlaceOuter(&main,
               QRect(QPoint(before.x(), area.bottom() + 1 - before.height()), before.size()));
    StableFrame(&main);
    main.pages()->setCurrentIndex(3);
    settle(100);
    auto* map = PageAt<TTab_DSM>(3);
    ASSERT_NE(map, nullptr);
    map->grid()->MoveToCell(1, TDSMRows::Count);
    settle(100);
    bool seen = false;
    WhenShown(
        UF_BrowseFld,
        [&] {
            seen = true;
            const QRect frame = StableFrame(UF_BrowseFld);
            const TAlignAnchor anchor = UF_BrowseFld->getAnchor();
            EXPECT_GT(anchor.AlignTop + UF_BrowseFld->getAutoHeight(), area.bottom() + 1)
                << "the window would fit below the field";
            EXPECT_EQ(frame.height(), UF_BrowseFld->getAutoHeight()) << Text(frame);
            EXPECT_EQ(frame.bottom() + 1, anchor.FieldTop) << "not just above the field";
            const auto* list = UF_BrowseFld->findChild<QListView*>();
            ASSERT_NE(list, nullptr);
            EXPECT_FALSE(list->verticalScrollBar()->isVisible()) << "rows out of sight";
            ExpectPlacedAndReadable(UF_BrowseFld, QStringLiteral("browse_task_field_last_map_row"));
        },
        mrCancel);
    map->browseButton()->click();
    settle(200);
    EXPECT_TRUE(seen) << "Browse Task Field was not shown";
    PlaceOuter(&main, before);
    StableFrame(&main);
    main.pages()->setCurrentIndex(0);
}

// ---- The main window's normal rectangle ----

// The main window as the program starts it, maximised (its frame not yet known), closed
// maximised, over several starts: un-maximised it takes the rectangle the user last had in the
// normal state, or the default one, and closing stores that rectangle unchanged.
TEST(MainWindowOnTheDesktop, AMaximisedMainWindowKeepsItsNormalRectangleOverEveryCycle) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    testsupport::ProgramGlobals globals;
    testsupport::FakeStdDlg dlg;
    TovWM& slot = WMs->getItems(1);
    slot.setWindowSize(1);
    QRect stored;
    for (int cycle = 1; cycle <= 5; ++cycle) {
        SCOPED_TRACE(cycle);
        ForgetLearnedFrames();
        TUF_Main window;
        DF->setView(&window);
        window.show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }, 10000));
        ASSERT_TRUE(waitUntilFramed(&window));
        StableFrame(&window);
        if (cycle > 1) {
            window.showNormal();
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return window.windowState() == Qt::WindowNoState; }, 10000));
            // The window manager restores the rectangle in its own time.
            (void)QTest::qWaitFor([&] { return frameOf(&window) == stored; }, 10000);
            EXPECT_EQ(StableFrame(&window), stored) << "un-maximised";
            if (cycle == 5) {
                saveScreenshot(&window, QStringLiteral("main_after_maximised_cycles"));
            }
            window.showMaximized();
            ASSERT_TRUE(QTest::qWaitFor([&] { return frameOf(&window) == workArea(); }, 10000));
            StableFrame(&window);
        }
        window.close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
        DF->setView(nullptr);
        const QRect now(slot.getLeft(), slot.getTop(), slot.getWidth(), slot.getHeight());
        EXPECT_EQ(slot.getWindowSize(), 1);
        if (cycle == 1) {
            // Never un-maximised: the default size, centred on the work area.
            const QRect area = workArea();
            const QSize size(slot.getDefaultWidth(), slot.getDefaultHeight());
            EXPECT_EQ(now, QRect(QPoint(area.x() + (area.width() - size.width()) / 2,
                                        area.y() + (area.height() - size.height()) / 2),
                                 size))
                << Text(now);
            stored = now;
        } else {
            EXPECT_EQ(now, stored) << Text(now);
        }
    }
}

} // namespace
