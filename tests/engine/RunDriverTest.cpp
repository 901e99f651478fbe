#include "RunFixture.h"

#include "platform/Format.h"
#include "services/TextIds.h"

namespace enginetest {
namespace {

using engine::DataSet;
using platform::Format;

// Three tasks over March 2021 (Baseline and current dates, man hours, cost, percent complete),
// a row with only its name, and a formatted empty row below the tasks.
const std::vector<SheetTask> kTasks = {
    {"Design", 1, 5, 50, 500, 2, 6, 60, 600, 1},
    {"Build", 6, 15, 100, 1000, 7, 18, 120, 1200, 0.5},
    {"Notes", 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"Test", 16, 20, 20, 200, 19, 22, 30, 300, 0},
};

class RunDriver : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        fake::program().sheets = Workbook(kTasks, 1);
    }
    const engine::RunResults& results() { return process.getResults(); }
    const testsupport::StdDlgShown& last() { return dialogue.shown.back(); }
};

TEST_F(RunDriver, AWholeRunComputesTheResultsAndLeavesNothingRunning) {
    bool refreshed = false;
    process.setOnCutOffDateMoved([&] { refreshed = true; });
    ASSERT_TRUE(process.Run(1)) << dialogue.keys().join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(dialogue.shown.empty());
    EXPECT_FALSE(refreshed);
    EXPECT_FALSE(DF->getModified());

    EXPECT_EQ(process.getReportDate(), Mar(31));
    EXPECT_EQ(results().TaskCount, 5);
    const auto& bl = results().set(DataSet::Baseline);
    const auto& act = results().set(DataSet::Actual);
    const auto& tgt = results().set(DataSet::Target);
    EXPECT_EQ(bl.ValidTasks, 3);
    // The name-only row and the empty row are blank, counted once for each data set.
    EXPECT_EQ(bl.InvalidTasks, 2);
    EXPECT_EQ(act.InvalidTasks, 2);
    EXPECT_EQ(tgt.ValidTasks, 3);
    EXPECT_EQ(results().ProjectStart, Mar(1));
    EXPECT_EQ(results().ProjectFinish, Mar(22));
    EXPECT_EQ(results().ProjectDays, 22);
    EXPECT_DOUBLE_EQ(bl.ManHoursTotal, 170.0);
    EXPECT_DOUBLE_EQ(tgt.CostTotal, 2100.0);
    EXPECT_EQ(tgt.TasksFinished, 1);
    EXPECT_EQ(results().Growth.SlippageFinish, 2);
    // The arrays are freed; counts and statistics stay.
    EXPECT_TRUE(results().Days.empty());
    EXPECT_TRUE(process.getTasks().Rows.empty());

    EXPECT_EQ(progress.caption, QStringLiteral(" Ovik KRV Tessel: Processing KRV Definition "));
    EXPECT_EQ(progress.totalSteps, 85 - 2);
    EXPECT_EQ(progress.shows, 1);
    EXPECT_FALSE(progress.visible);
    EXPECT_FALSE(progress.cancelled);
    EXPECT_EQ(progress.lines.value(0),
              QStringLiteral(" [1] %1 %2 ").arg(UIT(txt::OpeningMSExcel), UIT(txt::Complete)));
    EXPECT_TRUE(fake::program().quitCalled);
    // The checks open both workbooks, the extraction the data source, the output the template.
    EXPECT_EQ(fake::program().calls.count(QStringLiteral("Workbooks.Open")), 4);
    EXPECT_EQ(process.getStepLineFormat(), QStringLiteral(" [%.2d] %s "));
}

TEST_F(RunDriver, AMovedCutOffDateIsWrittenBackAndReported) {
    sd().SCO->setCutOffDate(Mar(28) + 0.75);
    bool refreshed = false;
    process.setOnCutOffDateMoved([&] { refreshed = true; });
    ASSERT_TRUE(process.Run(1));
    EXPECT_EQ(sd().SCO->getCutOffDate(), static_cast<double>(Mar(22)));
    EXPECT_EQ(process.getCutOffDate(), Mar(22));
    EXPECT_TRUE(DF->getModified());
    EXPECT_TRUE(refreshed);
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP011")});
    EXPECT_EQ(dialogue.shown.front().kind, sdkInformation);
    EXPECT_EQ(
        dialogue.shown.front().lines.value(2),
        Format(UIT(txt::CutOffDateHasBeen), {engine::DayText(Mar(28)), engine::DayText(Mar(22))}));
}

TEST_F(RunDriver, ADataSetWithoutValidTasksIsWarnedAboutAndTheRunGoesOn) {
    Configure(true, true, false, true, false);
    fake::program().sheets = Workbook(
        {{"Design", 0, 0, 50, 0, 2, 6, 60, 0, 1}, {"Build", 0, 0, 100, 0, 7, 18, 120, 0, 0.5}});
    ASSERT_TRUE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP005")});
    EXPECT_EQ(last().kind, sdkWarning);
    EXPECT_EQ(last().lines, (QStringList{UIT(txt::UnableToGenerateBaselineData),
                                         UIT(txt::NoTasksContainingValidBaseline), QString(),
                                         UIT(txt::PleaseCheckDataSourceMap)}));
    EXPECT_EQ(results().ProjectStart, Mar(2));
    EXPECT_EQ(results().ProjectFinish, Mar(18));
}

TEST_F(RunDriver, CancelAtAnyMessagePumpEndsTheRunWithTheCancelDialogue) {
    // Count the polls of a whole run first.
    ASSERT_TRUE(process.Run(1));
    const int polls = progress.polls;
    ASSERT_GT(polls, 20);
    for (int k = 1; k <= polls; ++k) {
        fake::program().sheets = Workbook(kTasks, 1);
        fake::program().quitCalled = false;
        fake::program().calls.clear();
        dialogue.shown.clear();
        progress.polls = 0;
        progress.cancelAfterPolls = k;
        EXPECT_FALSE(process.Run(1)) << k;
        ASSERT_EQ(keys(), QStringList{QStringLiteral("UP001")}) << k;
        EXPECT_EQ(last().kind, sdkWarning);
        EXPECT_EQ(last().buttons.front().ModalResult, mrClose);
        EXPECT_EQ(last().lines,
                  (Heading() + QStringList{UIT(txt::CurrentOperationHasBeenCancelled), QString()}))
            << k;
        EXPECT_FALSE(progress.cancelled) << k;
        EXPECT_FALSE(progress.visible) << k;
        const bool started = fake::program().calls.contains(QStringLiteral("CreateApplication"));
        EXPECT_TRUE(!started || fake::program().quitCalled) << k;
        EXPECT_TRUE(process.getTasks().Rows.empty()) << k;
    }
}

// The Chart Data rows are written into the template's workbook and saved in the output's format:
// the smaller of the two row limits bounds the project span, so an .xls template fails at the
// span check, naming the days, even when the output is an .xlsx workbook.
TEST_F(RunDriver, TheSmallerWorkbookRowLimitBoundsTheProjectSpan) {
    const int finish = 65600; // 65,600 days from 1 March 2021; an .xls sheet holds 65,529
    fake::program().sheets = Workbook({{"Long", 1, finish, 10, 100, 1, finish, 10, 100, 0}});
    Configure(true, false, false, true, true);
    struct Case {
        const char* templateName;
        const char* outputName;
        bool fits;
    } cases[] = {{"template.xlsx", "result.xlsx", true},
                 {"template.xls", "result.xlsx", false},
                 {"template.xlsx", "result.xls", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.templateName);
        dialogue.shown.clear();
        sd().SCF->setTF_DrivePathFilenameExtnXL(path(QString::fromLatin1(c.templateName)));
        sd().SCF->setOF_DrivePathFilenameExtnXL(path(QString::fromLatin1(c.outputName)));
        process.Run(1);
        const bool spanRefused =
            !dialogue.shown.empty() &&
            dialogue.shown.back()
                .lines.join(QLatin1Char('\n'))
                .contains(Format(UIT(txt::ProjectSpansDaysMore),
                                 {finish, UIT(txt::ChartDataWorksheet_756), 65529}));
        EXPECT_EQ(spanRefused, !c.fits)
            << c.outputName << " " << dialogue.keys().join(QLatin1Char(',')).toStdString();
    }
}

TEST_F(RunDriver, AStageErrorEndsTheRunWithItsDetails) {
    // Without blank rows, which always pass the filter, no task matches.
    fake::program().sheets = Workbook({kTasks[0], kTasks[1], kTasks[3]});
    AddFilterRow(QStringLiteral("A"), 0, QStringLiteral("Commissioning"));
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")});
    const QStringList& lines = last().lines;
    ASSERT_GT(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, 4), Heading());
    EXPECT_EQ(lines.at(4), Format(UIT(txt::Details_1423),
                                  {Format(UIT(txt::UnableToExtractAnyValidTasksFromThatMatch),
                                          {UIT(txt::DataSourceFile_747)})}));
    EXPECT_EQ(lines.at(5), QString());
    EXPECT_EQ(lines.last(),
              Format(UIT(txt::PleaseCheckAndorDataSourceFilter), {UIT(txt::DataSourceFile_747)}));
    EXPECT_TRUE(fake::program().quitCalled);
    EXPECT_FALSE(progress.visible);
}

TEST_F(RunDriver, ExcelErrorLinesComeBeforeTheDetailsAndSurviveAFailingQuit) {
    fake::program().failures[QStringLiteral("Range.Value2")] = QStringLiteral("Disk removed");
    fake::program().failures[QStringLiteral("Application.Quit")] = QStringLiteral("Server busy");
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")});
    const QStringList& lines = last().lines;
    // The extraction's own lines (the layer took the error's message into them, so no Details
    // line follows), then the failed quit's.
    const QStringList expected =
        Heading() +
        QStringList{Format(UIT(txt::UnableToExtractTaskFieldValues),
                           {UIT(txt::TaskWorksheet_750), UIT(txt::DataSourceFile_747)}),
                    QString(),
                    Format(UIT(txt::Details_1609), {QStringLiteral("Disk removed")}),
                    QString(),
                    Format(UIT(txt::UnableToCloseMSExcel_1608), {XL->ExcelVersionText()}),
                    QString()};
    EXPECT_EQ(lines, expected) << lines.join(QLatin1Char('|')).toStdString();
}

TEST_F(RunDriver, AMissingTemplateWorksheetIsReportedWithTheTemplateFile) {
    sd().SCF->setTF_ChartDataWS(QStringLiteral("Graphs"));
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")});
    EXPECT_EQ(last().lines.value(4),
              Format(UIT(txt::Details_1423),
                     {Format(UIT(txt::WasNotFound_1579),
                             {UIT(txt::ChartDataWorksheet_756), UIT(txt::TemplateFile_752)})}));
    EXPECT_TRUE(last().lines.contains(
        Format(QStringLiteral("%s: %s"), {UIT(txt::ChartDataWorksheet_756), "Graphs"})));
    EXPECT_TRUE(fake::program().quitCalled);
    // The data source was checked, the template opened once; no task was read.
    EXPECT_EQ(fake::program().calls.count(QStringLiteral("Workbooks.Open")), 2);
    EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("Range.Value2")));
}

} // namespace
} // namespace enginetest
