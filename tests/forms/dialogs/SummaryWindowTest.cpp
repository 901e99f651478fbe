// The Summary window's plain parts: its size arithmetic, the tracker that tells the user's border
// drags from the program's resizing, and its two open commands.
#include "controls/ovGrid.h"
#include "engine/OutputFixtures.h"
#include "engine/RF_PS_Consts.h"
#include "engine/RunFixture.h"
#include "excel/ovOCP.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/dialogs/F_SummaryCommands.h"
#include "forms/dialogs/F_SummaryLayout.h"
#include "forms/dialogs/WindowResizeTracker.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ovWM.h"
#include "services_ui/WindowGeometry.h"
#include "support/FakeShell.h"
#include "support/FixedWorkArea.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kSampleDataFile = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.krvc");

TEST(WindowResizeTracker, OnlyResizesOfANormalVisibleWindowThatTheProgramDidNotAskForAreTheUsers) {
    TWindowResizeTracker tracker;
    const QSize asked(500, 300);
    EXPECT_FALSE(tracker.IsUserResize(QSize(400, 200), false, true)) << "hidden";
    EXPECT_FALSE(tracker.IsUserResize(QSize(400, 200), true, false)) << "maximised";
    {
        TProgramResize programResize(tracker, asked);
        EXPECT_FALSE(tracker.IsUserResize(QSize(510, 300), true, true)) << "during the resize";
    }
    // The window manager answers the program's request later with the size asked for.
    EXPECT_FALSE(tracker.IsUserResize(asked, true, true));
    EXPECT_TRUE(tracker.IsUserResize(asked, true, true)) << "the same size again is a drag";
    EXPECT_TRUE(tracker.IsUserResize(QSize(520, 310), true, true));
    tracker.StateChanged();
    EXPECT_FALSE(tracker.IsUserResize(QSize(800, 600), true, true)) << "after a restore";
    EXPECT_TRUE(tracker.IsUserResize(QSize(790, 600), true, true));
}

TSummarySizes Sizes() {
    TSummarySizes s;
    s.FrameWidth = 8;
    s.FrameHeight = 31;
    s.Bevel = 4;
    s.TabHeight = 21;
    s.RowHeight = 17;
    s.ButtonPanel = 36;
    s.ButtonsWidth = 570;
    return s;
}

TEST(SummaryLayout, MinimumAndFittedSizesAddUpTheWindowsParts) {
    const TSummarySizes s = Sizes();
    // frame 8 + caption 23 + bevel 4 + 2 + tab 21 + 4 + three rows 51 + 4 + panel 36
    EXPECT_EQ(SummaryMinHeight(s), 153);
    EXPECT_EQ(SummaryMinWidth(s), 8 + 570 + 48);
    EXPECT_EQ(SummaryFittedHeight(s, 700), 102 + 700);
    EXPECT_EQ(SummaryFittedWidth(s, 300, 800), 8 + 808); // the grid is widest
    EXPECT_EQ(SummaryFittedWidth(s, 900, 400), 8 + 900); // the caption is widest
    EXPECT_EQ(SummaryFittedWidth(s, -5, 100), 8 + 618);  // the buttons are widest
}

TEST(SummaryLayout, AutoSizeKeepsTheWindowInsideTheWorkArea) {
    const QRect area(0, 0, 1280, 1000);
    const struct {
        const char* name;
        QRect window;
        QSize minimum;
        int fittedWidth, fittedHeight;
        QRect expected;
        QSize expectedMinimum;
    } cases[] = {
        {"fits where it is",
         {100, 50, 700, 500},
         {626, 153},
         900,
         800,
         {100, 50, 900, 800},
         {626, 153}},
        {"moved up to end at the bottom",
         {100, 400, 700, 500},
         {626, 153},
         900,
         800,
         {100, 200, 900, 800},
         {626, 153}},
        {"taller than the work area: its height, at its top",
         {100, 300, 700, 500},
         {626, 153},
         900,
         1400,
         {100, 0, 900, 1000},
         {626, 153}},
        {"moved left to end at the right",
         {600, 50, 700, 500},
         {626, 153},
         900,
         800,
         {380, 50, 900, 800},
         {626, 153}},
        {"left of the work area: moved right",
         {-50, 50, 700, 500},
         {626, 153},
         900,
         800,
         {0, 50, 900, 800},
         {626, 153}},
        {"wider than the work area: its width, at its left",
         {600, 50, 700, 500},
         {626, 153},
         2000,
         800,
         {0, 50, 1280, 800},
         {626, 153}},
        {"below the minimum: the minimum comes down",
         {100, 50, 700, 500},
         {626, 900},
         900,
         700,
         {100, 50, 900, 700},
         {626, 700}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TSummaryAutoSize plan =
            PlanSummaryAutoSize(c.window, c.minimum, c.fittedWidth, c.fittedHeight, area);
        EXPECT_EQ(plan.Window, c.expected);
        EXPECT_EQ(plan.Minimum, c.expectedMinimum);
        EXPECT_EQ(plan.AutoMinWidth, std::min(c.fittedWidth, area.width()));
        EXPECT_EQ(plan.AutoMinHeight, std::min(c.fittedHeight, area.height()));
    }
}

class SummaryCommands : public enginetest::RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        SDs->setActiveSD(1);
        DV = new TovDV();
        OCP = new TovOCP();
        platform::setShell(std::make_unique<testsupport::FakeShell>(&opened));
        for (const char* name : {"plan.xlsx", "result.xlsx"}) {
            QFile file(path(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        // Imported lists of the Data Source File.
        sd().setWSL_Count(1, 1);
        sd().setWSL_Loaded(1, true);
        sd().setFL_Count(2);
        sd().setFL_Loaded(true);
        sd().setVL_Count(1);
        sd().setVL_TaskCount(4);
    }
    void TearDown() override {
        platform::setShell(nullptr);
        delete OCP;
        OCP = nullptr;
        delete DV;
        DV = nullptr;
        RunFixture::TearDown();
    }
    bool listsKept() {
        return sd().getWSL_Loaded(1) && sd().getFL_Loaded() && sd().getVL_Count() == 1;
    }

    QStringList opened;
};

TEST_F(SummaryCommands, OpenDataSourceFileDropsItsImportedListsAndOpensIt) {
    EXPECT_TRUE(OpenSummaryFile(TSummaryFile::DataSource));
    EXPECT_EQ(opened, QStringList{path(QStringLiteral("plan.xlsx"))});
    EXPECT_TRUE(dialogue.shown.empty());
    EXPECT_EQ(sd().getWSL_Count(1), 0);
    EXPECT_FALSE(sd().getWSL_Loaded(1));
    EXPECT_FALSE(sd().getFL_Loaded());
    EXPECT_EQ(sd().getVL_Count(), 0);
    EXPECT_EQ(sd().getVL_TaskCount(), 0);
}

TEST_F(SummaryCommands, OpenOutputFileKeepsTheImportedLists) {
    sd().SCF->setOF_DrivePathFilenameExtnXL(QStringLiteral(" ") +
                                            path(QStringLiteral("result.xlsx")));
    EXPECT_TRUE(OpenSummaryFile(TSummaryFile::Output));
    EXPECT_EQ(opened, QStringList{path(QStringLiteral("result.xlsx"))});
    EXPECT_TRUE(listsKept());
}

TEST_F(SummaryCommands, AFailedCheckOrACancelledPackWarningOpensNothing) {
    const struct {
        const char* name;
        TSummaryFile file;
        std::function<void(enginetest::RunFixture&)> script;
        const char* key;
    } cases[] = {
        {"Output File missing", TSummaryFile::Output,
         [](enginetest::RunFixture&) {
             SDs->getItems(1)->SCF->setOF_DrivePathFilenameExtnXL(
                 QStringLiteral("/nowhere/result.xlsx"));
         },
         "UDV004"},
        {"Data Source File undefined", TSummaryFile::DataSource,
         [](enginetest::RunFixture&) {
             SDs->getItems(1)->SCF->setDSF_DrivePathFilenameExtnXL(QString());
         },
         "UDV005"},
        {"pack missing and the user cancels", TSummaryFile::DataSource,
         [this](enginetest::RunFixture&) {
             env->curVer = QStringLiteral("Excel.Application.11");
             dialogue.answers = {mrCancel};
         },
         "UOCP002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sd().SCF->setDSF_DrivePathFilenameExtnXL(path(QStringLiteral("plan.xlsx")));
        sd().SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("result.xlsx")));
        c.script(*this);
        dialogue.shown.clear();
        EXPECT_FALSE(OpenSummaryFile(c.file));
        EXPECT_EQ(keys(), QStringList{QString::fromLatin1(c.key)});
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_TRUE(listsKept());
    }
    ASSERT_FALSE(dialogue.shown.empty());
    EXPECT_TRUE(dialogue.shown.back()
                    .lines.join(QLatin1Char(' '))
                    .contains(path(QStringLiteral("plan.xlsx"))));
}

// The window itself over the sample project's computed summary.

class ScreenAreasOf : public IScreenAreas {
public:
    explicit ScreenAreasOf(QRect area) : area_(area) {}
    std::vector<QRect> areas() const override { return {area_}; }

private:
    QRect area_;
};

class SummaryWindowTest : public enginetest::RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        // Window tests before these may have freed every global object, the tables included.
        reportTables.SetUp();
        automation::setApplicationFactory(nullptr); // the built-in engine
        if (!QFile::exists(kSampleDataFile)) {
            GTEST_SKIP() << "the generated sample project is missing";
        }
        process.setClock([] { return QDate(2026, 12, 10); });
        ASSERT_TRUE(DF->OpenDataFile(kSampleDataFile, false));
        SDs->setActiveSD(1);
        SDs->getItems(1)->SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("out.xlsx")));
        ASSERT_TRUE(process.Run(1)) << keys().join(QLatin1Char(',')).toStdString();
        WMs = new TovWMs();
        for (int slot = 1; slot <= 8; ++slot) {
            WMs->Add();
        }
        UseWorkArea(QRect(0, 0, 1600, 1200));
    }
    void TearDown() override {
        reportTables.TearDown();
        delete WMs;
        WMs = nullptr;
        if (previousAreas) {
            setScreenAreas(std::move(previousAreas));
        }
        setWorkArea(std::move(previousWorkArea));
        RunFixture::TearDown();
    }
    void UseWorkArea(QRect area) {
        auto screens = setScreenAreas(std::make_unique<ScreenAreasOf>(area));
        auto work = setWorkArea(std::make_unique<testsupport::FixedWorkArea>(area));
        if (!previousAreas) {
            previousAreas = std::move(screens);
            previousWorkArea = std::move(work);
        }
    }
    const TovSummaryGrid& summary() const { return process.getSummaryGrid(); }

    std::unique_ptr<IScreenAreas> previousAreas;
    enginetest::ReportTablesEnvironment reportTables;
    std::unique_ptr<WorkArea> previousWorkArea;
};

TEST_F(SummaryWindowTest, ShowsTheRunsSummaryAndCopiesItAsTabSeparatedLines) {
    TUF_Summary window;
    window.Fill(summary());
    const TovGrid& g = window.grid();
    ASSERT_EQ(g.getColCount(), 7);
    ASSERT_EQ(g.getRowCount(), 38);
    QString expected;
    int framedValues = 0;
    for (int r = 1; r <= 38; ++r) {
        QStringList line;
        for (int c = 1; c <= 7; ++c) {
            const TovSummaryCell& cell = summary().cell(c, r);
            SCOPED_TRACE(QStringLiteral("(%1, %2)").arg(c).arg(r).toStdString());
            EXPECT_EQ(g.getCells(c, r), cell.Text);
            EXPECT_EQ(g.getCellFontColor(c, r), cell.Style.FontColor);
            EXPECT_EQ(g.getCellColor(c, r), cell.Style.Color);
            EXPECT_EQ(g.getCellFontBold(c, r), cell.Style.FontBold);
            const QString text = g.getCells(c, r);
            line << (text.contains(QStringLiteral("\r\n"))
                         ? QLatin1Char('"') + text + QLatin1Char('"')
                         : text);
            if (text.startsWith(QLatin1Char(' ')) && text.endsWith(QLatin1Char(' '))) {
                ++framedValues;
            }
        }
        expected += line.join(QLatin1Char('\t')) + QStringLiteral("\r\n");
    }
    EXPECT_GT(framedValues, 50);
    EXPECT_EQ(g.getCells(1, 1), QStringLiteral(" ") + ReportTitle() + QStringLiteral(" "));
    // Columns B to G share the width of the widest of them.
    for (int c = 3; c <= 7; ++c) {
        EXPECT_EQ(g.getColWidths(c), g.getColWidths(2)) << c;
    }
    EXPECT_GT(g.getRowHeights(summary().twoLineRow()), g.getRowHeights(1));

    QGuiApplication::clipboard()->clear();
    window.BBtn_CopyClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
}

TEST_F(SummaryWindowTest, TextsOfMergedFieldsAreCutAndNeverWidenTheFigureColumns) {
    TUF_Summary window;
    window.Fill(summary());
    const std::vector<int> widths = [&] {
        std::vector<int> all;
        for (int c = 1; c <= 7; ++c) {
            all.push_back(window.grid().getColWidths(c));
        }
        return all;
    }();
    // A definition's description and a project title of the longest length allowed.
    TovSD& sd = *SDs->getItems(1);
    sd.setDescription(QString(255, QLatin1Char('W')));
    sd.PD->setProjectTitle(QStringLiteral("Title ").repeated(42));
    sd.SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("long.xlsx")));
    ASSERT_TRUE(process.Run(1)) << keys().join(QLatin1Char(',')).toStdString();
    window.Fill(summary());
    const TovGrid& g = window.grid();
    for (int c = 1; c <= 7; ++c) {
        EXPECT_EQ(g.getColWidths(c), widths[static_cast<size_t>(c - 1)]) << c;
    }
    EXPECT_LT(g.CalcGridWidth(), 1280);
    // The long texts are drawn cut with an ellipsis (the project title in row 3, the
    // description in row 7).
    for (const int row : {3, 7}) {
        const TovSummaryCell& cell = summary().cell(2, row);
        EXPECT_EQ(g.getCells(2, row), cell.Text) << row;
        EXPECT_TRUE(cell.FitsArea) << row;
        EXPECT_TRUE(cell.Style.EllipsifyText || cell.Style.EllipsifyPath) << row;
    }
    EXPECT_TRUE(summary().cell(2, 7).Text.contains(QStringLiteral("WWWW")));
    EXPECT_FALSE(summary().cell(2, 13).FitsArea) << "a figure";
}

TEST_F(SummaryWindowTest, AutoSizeFitsTheGridAndTheUsersBorderDragTurnsItOff) {
    UP->setAutoSizeSummary(true);
    TUF_Summary window;
    window.Fill(summary());
    window.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.isAutoSizeDown());
    const QRect fitted = window.outerRect();
    EXPECT_EQ(fitted.width(), window.getAutoMinWidth());
    EXPECT_EQ(fitted.height(), window.getAutoMinHeight());
    EXPECT_GE(window.grid().width(), window.grid().CalcGridWidth());
    EXPECT_GE(window.grid().height(), window.grid().CalcGridHeight());

    window.resize(window.width() - 40, window.height() - 30);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isAutoSizeDown());
    TovUP stored;
    stored.Load();
    EXPECT_FALSE(stored.getAutoSizeSummary()) << "stored at once";
    window.close();
}

TEST_F(SummaryWindowTest, MaximisingDisablesAutoSizeAndRestoringFitsTheWindowAgain) {
    UP->setAutoSizeSummary(true);
    TUF_Summary window;
    window.Fill(summary());
    window.show();
    QCoreApplication::processEvents();
    const QRect fitted = window.outerRect();
    window.showMaximized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isAutoSizeEnabled());
    EXPECT_TRUE(window.isAutoSizeDown()) << "maximising is no drag of the border";
    window.showNormal();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isAutoSizeEnabled());
    EXPECT_EQ(window.outerRect().size(), fitted.size());
    window.close();
}

TEST_F(SummaryWindowTest, AMaximisedWindowMinimisedAndRestoredStaysMaximisedWithAutoSize) {
    UP->setAutoSizeSummary(true);
    TUF_Summary window;
    window.Fill(summary());
    window.show();
    QCoreApplication::processEvents();
    window.showMaximized();
    QCoreApplication::processEvents();
    window.showMinimized();
    QCoreApplication::processEvents();
    // The user works in another window, then restores the Summary: the window system brings it
    // back in the state it had and activates it.
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window.isActiveWindow());
    EXPECT_TRUE(window.isMaximized()) << "state " << window.windowState().toInt();
    EXPECT_FALSE(window.isAutoSizeEnabled());
    EXPECT_TRUE(window.isAutoSizeDown());
    TovUP stored;
    stored.Load();
    EXPECT_TRUE(stored.getAutoSizeSummary());
    window.close();
}

TEST_F(SummaryWindowTest, AFittedHeightBeyondTheWorkAreaIsCutToItAndPlacedAtItsTop) {
    UseWorkArea(QRect(0, 0, 1600, 300));
    UP->setAutoSizeSummary(true);
    TUF_Summary window;
    window.Fill(summary());
    window.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.outerRect().top(), 0);
    EXPECT_EQ(window.outerRect().height(), 300);
    EXPECT_TRUE(window.isAutoSizeDown()) << "the program's own resizing is no user's drag";
    window.close();
}

TEST_F(SummaryWindowTest, ClosingByEscSavesTheGeometryAndTheAutoSizeChoice) {
    UP->setAutoSizeSummary(false);
    TUF_Summary window;
    window.show();
    window.move(40, 50);
    QCoreApplication::processEvents();
    // The slot keeps the outer rectangle, frame included.
    const QRect shown = window.outerRect();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_EQ(window.result(), mrClose);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(WMs->getItems(8).getLeft(), shown.left());
    EXPECT_EQ(WMs->getItems(8).getTop(), shown.top());
    EXPECT_EQ(WMs->getItems(8).getWidth(), shown.width());
    TovUP stored;
    stored.Load();
    EXPECT_FALSE(stored.getAutoSizeSummary());
}

} // namespace
