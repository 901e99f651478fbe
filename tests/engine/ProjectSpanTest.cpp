#include "engine/ProjectSpan.h"
#include "CalcFixtures.h"
#include "RecordingProgress.h"
#include "engine/TaskFilter.h"
#include "engine/TaskValidation.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using namespace enginetest;

struct SetSpan {
    int valid; // number of valid tasks
    int first; // March days
    int last;
};

void SetSpans(RunResults& results, const std::array<SetSpan, 3>& spans) {
    for (std::size_t s = 0; s < 3; ++s) {
        results.Sets[s].ValidTasks = spans[s].valid;
        results.Sets[s].FirstStart = Mar(spans[s].first);
        results.Sets[s].LastFinish = Mar(spans[s].last);
    }
}

TEST(CutOffDate, MovesIntoTheTaskDatesWithTheReason) {
    struct Case {
        const char* what;
        std::array<bool, 3> generate;
        std::array<SetSpan, 3> spans;
        int cutOff; // March day
        int expected;
        int reason;
        const char* key;
    };
    const Case cases[] = {
        {"inside", {true, true, true}, {{{1, 1, 6}, {1, 1, 9}, {1, 1, 9}}}, 5, 5, 0, ""},
        {"before baseline",
         {true, false, false},
         {{{1, 1, 6}, {0, 31, 31}, {0, 31, 31}}},
         -9,
         1,
         1,
         "UP008"},
        {"after baseline",
         {true, false, false},
         {{{1, 1, 6}, {0, 31, 31}, {0, 31, 31}}},
         10,
         6,
         3,
         "UP010"},
        {"after actual",
         {true, true, false},
         {{{1, 1, 6}, {1, 2, 9}, {0, 31, 31}}},
         20,
         9,
         4,
         "UP011"},
        {"before actual",
         {true, true, false},
         {{{1, 3, 6}, {1, 1, 9}, {0, 31, 31}}},
         -1,
         1,
         2,
         "UP009"},
        {"actual overrides baseline",
         {true, true, false},
         {{{1, 1, 6}, {1, 1, 9}, {0, 31, 31}}},
         -1,
         1,
         2,
         "UP009"},
        {"before target alone",
         {false, false, true},
         {{{0, 31, 31}, {0, 31, 31}, {1, 4, 8}}},
         1,
         4,
         2,
         "UP009"},
        {"target outside window with actual",
         {true, true, true},
         {{{1, 2, 4}, {1, 2, 5}, {1, 1, 9}}},
         20,
         5,
         4,
         "UP011"},
        // A generated data set without valid tasks used to leave the date outside the span.
        {"baseline empty, actual later",
         {true, true, false},
         {{{0, 31, 31}, {1, 10, 20}, {0, 31, 31}}},
         1,
         10,
         2,
         "UP009"},
        {"baseline empty, target earlier",
         {true, false, true},
         {{{0, 31, 31}, {0, 31, 31}, {1, 1, 9}}},
         25,
         9,
         4,
         "UP011"},
        {"actual empty, target earlier",
         {false, true, true},
         {{{0, 31, 31}, {0, 31, 31}, {1, 1, 9}}},
         20,
         9,
         4,
         "UP011"},
    };
    for (const Case& c : cases) {
        RunOptions options = AllSetsOptions(c.cutOff);
        options.Generate = c.generate;
        RunResults results;
        SetSpans(results, c.spans);
        RecordingProgress sink;
        StageProgress progress(sink);
        int hookCalls = 0;
        ValidateCutOffDate(options, results, progress, [&](const CutOffMove& move) {
            ++hookCalls;
            EXPECT_EQ(move.NewDate, Mar(c.expected)) << c.what;
            EXPECT_EQ(sink.lines.size(), 1) << c.what << ": notes after the dialogue";
        });
        EXPECT_EQ(results.CutOffDate, Mar(c.expected)) << c.what;
        EXPECT_EQ(results.CutOff.Moved, c.reason != 0) << c.what;
        EXPECT_EQ(hookCalls, c.reason != 0 ? 1 : 0) << c.what;
        EXPECT_EQ(results.CutOff.Reason, c.reason) << c.what;
        EXPECT_EQ(results.CutOff.Key, QString::fromLatin1(c.key)) << c.what;
        EXPECT_TRUE(sink.lines.first().endsWith(QStringLiteral("Complete."))) << c.what;
        EXPECT_EQ(sink.lines.size(), (c.reason != 0 ? 4 : 1) + (c.generate[1] ? 1 : 0)) << c.what;
    }
}

TEST(CutOffDate, ReportsTheMoveInTheDialogueAndTheProgressNotes) {
    RunOptions options = AllSetsOptions(-9); // 19 Feb 2021
    options.Generate = {true, false, false};
    RunResults results;
    SetSpans(results, {{{1, 1, 6}, {0, 31, 31}, {0, 31, 31}}});
    RecordingProgress sink;
    StageProgress progress(sink);
    ValidateCutOffDate(options, results, progress);
    const QString changed =
        QStringLiteral("The Cut Off Date has been changed from: [19-Feb-2021] to: [01-Mar-2021].");
    EXPECT_EQ(results.CutOff.Lines,
              (QStringList{QStringLiteral(
                               "The Cut Off Date is before the earliest Task Baseline Start Date."),
                           QString(), changed}));
    const QString rule = QStringLiteral("-- ") + QString(changed.size(), QLatin1Char('='));
    EXPECT_EQ(sink.lines,
              (QStringList{QStringLiteral("Validating Cut Off Date... Complete."), rule,
                           QStringLiteral("-- Cut Off Date changed from: [19-Feb-2021] to "
                                          "[01-Mar-2021]"),
                           rule}));
}

TEST(CutOffDate, ClipsActualTasksAndComputesDurationStatistics) {
    TaskTable table;
    table.Rows = {Task(1, 4, 40, 400, 1, 5, 50, 500, 1.0), Task(3, 3, 10, 100, 4, 6, 30, 60, 0.5),
                  Task(5, 6, 20, 40, 8, 9, 20, 40, 0.0)};
    RunOptions options = AllSetsOptions(5);
    options.Generate = {true, true, false};
    RunResults results;
    RecordingProgress sink;
    StageProgress progress(sink);
    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    ValidateTasks(DataSet::Actual, options, table, results, progress);
    ValidateCutOffDate(options, results, progress);

    const DataSetResult& act = results.set(DataSet::Actual);
    EXPECT_EQ(act.Tasks[0].Duration, 5);
    EXPECT_DOUBLE_EQ(act.Tasks[0].ManHoursRate, 10.0);
    EXPECT_EQ(act.Tasks[1].Finish, Mar(5));
    EXPECT_EQ(act.Tasks[1].Duration, 2);
    EXPECT_DOUBLE_EQ(act.Tasks[1].ManHoursRate, 7.5);
    EXPECT_DOUBLE_EQ(act.Tasks[1].CostRate, 15.0);
    EXPECT_EQ(act.Tasks[2].Duration, 0);
    EXPECT_DOUBLE_EQ(act.Tasks[2].ManHoursRate, 0.0);
    EXPECT_EQ(act.LastFinish, Mar(9)); // the set's own dates keep their values
    EXPECT_EQ(results.Tasks[1].Finish, Mar(6));
    EXPECT_EQ(sink.lines.last(),
              QStringLiteral("Adjusting Task Finish Dates (Actual Data)... Complete."));

    const DataSetResult& bl = results.set(DataSet::Baseline);
    EXPECT_EQ(bl.Duration, 6);
    EXPECT_EQ(bl.Elapsed, 5);
    EXPECT_EQ(bl.Remaining, 1);
    EXPECT_EQ(act.Duration, 9);
    EXPECT_EQ(act.Elapsed, 5);
    EXPECT_EQ(act.Remaining, 4);

    // Elapsed stays within 0..duration.
    options.Generate = {true, false, true};
    options.CutOffDate = Mar(2);
    SetSpans(results, {{{1, 1, 6}, {0, 31, 31}, {1, 3, 9}}});
    ValidateCutOffDate(options, results, progress);
    EXPECT_EQ(results.set(DataSet::Target).Elapsed, 0);
    EXPECT_EQ(results.set(DataSet::Target).Remaining, 7);
    options.CutOffDate = Mar(6);
    ValidateCutOffDate(options, results, progress);
    EXPECT_EQ(results.set(DataSet::Target).Elapsed, 4);
    EXPECT_EQ(results.set(DataSet::Baseline).Elapsed, 6);
    EXPECT_EQ(results.set(DataSet::Baseline).Remaining, 0);
}

TEST(ProjectSpan, CoversTheGeneratedSetsWithValidTasksAndSizesTheSeries) {
    RunOptions options = AllSetsOptions(5);
    RunResults results;
    SetSpans(results, {{{1, 2, 6}, {0, 31, 31}, {1, 1, 9}}});
    RecordingProgress sink;
    StageProgress progress(sink);
    CalcProjectSpan(options, results, progress);
    EXPECT_EQ(results.ProjectStart, Mar(1));
    EXPECT_EQ(results.ProjectFinish, Mar(9));
    EXPECT_EQ(results.ProjectDays, 9);
    ASSERT_EQ(results.Days.size(), 10u);
    EXPECT_EQ(results.Days[1], Mar(1));
    EXPECT_EQ(results.Days[9], Mar(9));
    EXPECT_EQ(results.Series.days(), 9);
    EXPECT_DOUBLE_EQ(results.Series.at(37, 9), 0.0);
    EXPECT_EQ(sink.lines,
              QStringList{QStringLiteral("Processing Start and Finish Dates... Complete.")});

    // A data set that is not generated does not count, whatever it holds.
    options.Generate = {true, false, false};
    CalcProjectSpan(options, results, progress);
    EXPECT_EQ(results.ProjectDays, 5);
}

TEST(ProjectSpan, MoreDaysThanTheOutputWorkbookHoldsFailsNamingTheDates) {
    struct Case {
        const char* path;
        int rows;
    };
    const Case limits[] = {{"/out/report.xls", 65536},
                           {"/out/report.XLS", 65536},
                           {"/out/report.xlsx", 1048576},
                           {"/out/report", 1048576}};
    for (const Case& c : limits) {
        EXPECT_EQ(WorkbookRowLimit(QString::fromLatin1(c.path)), c.rows) << c.path;
    }

    RunOptions options = AllSetsOptions(5);
    options.Generate = {true, false, false};
    options.ChartDataMaxRows = 65536;
    RunResults results;
    results.set(DataSet::Baseline).ValidTasks = 1;
    results.set(DataSet::Baseline).FirstStart = Day(2000, 1, 1);
    RecordingProgress sink;
    StageProgress progress(sink);
    EXPECT_EQ(MaxProjectDays(options), 65529);

    // 65,529 days fit exactly.
    results.set(DataSet::Baseline).LastFinish = Day(2000, 1, 1) + 65528;
    CalcProjectSpan(options, results, progress);
    EXPECT_EQ(results.ProjectDays, 65529);

    results = RunResults();
    results.set(DataSet::Baseline).ValidTasks = 1;
    results.set(DataSet::Baseline).FirstStart = Day(2000, 1, 1);
    results.set(DataSet::Baseline).LastFinish = Day(2000, 1, 1) + 65529;
    try {
        CalcProjectSpan(options, results, progress);
        FAIL() << "no error";
    } catch (const platform::EAbort&) {
        FAIL() << "abort";
    } catch (const platform::Exception& e) {
        const QStringList lines = e.message().split(QStringLiteral("\r\n"));
        ASSERT_EQ(lines.size(), 6);
        EXPECT_EQ(lines[2], QStringLiteral("Start Date: 01-Jan-2000"));
        EXPECT_EQ(lines[3], QStringLiteral("Finish Date: ") + DayText(Day(2000, 1, 1) + 65529));
    }
    EXPECT_EQ(results.ProjectDays, 0);
    EXPECT_EQ(results.Series.days(), 0);
}

} // namespace
