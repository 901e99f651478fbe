#include "CalcFixtures.h"
#include "RecordingProgress.h"
#include "engine/DailySeries.h"
#include "engine/PercentCurves.h"
#include "engine/ProjectSpan.h"
#include "engine/TaskFilter.h"
#include "engine/TaskTotals.h"
#include "engine/TaskValidation.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace engine;
using namespace enginetest;

// The calculation stages of a run, in the pipeline's order.
void RunStages(const RunOptions& o, const TaskTable& table, RunResults& r, StageProgress& p) {
    FilterTasks(o, table, {}, r, p, true);
    for (DataSet set : kDataSets) {
        if (o.generates(set)) {
            ValidateTasks(set, o, table, r, p);
        }
    }
    CheckValidTasks(QStringLiteral("Tasks"), o, r, p);
    ValidateCutOffDate(o, r, p);
    CalcProjectSpan(o, r, p);
    for (DataSet set : kDataSets) {
        if (o.generates(set)) {
            CalcDailySeries(set, o, r, p);
        }
    }
    CalcPercentSCurves(o, r, p);
    CalcPercentHistograms(o, r, p);
    for (DataSet set : kDataSets) {
        if (o.generates(set)) {
            CalcTaskTotals(set, o, r, p);
        }
    }
    CalcGrowthSlippage(o, table, r, p);
}

std::vector<double> Row(const RunResults& r, int row) {
    std::vector<double> out;
    for (int i = 1; i <= r.ProjectDays; ++i) {
        out.push_back(r.Series.at(row, i));
    }
    return out;
}

// Three tasks in March 2021, Baseline and current plan, cut off on the 5th:
//   1: Baseline 1-4, 40 h, 400;  current 1-5, 50 h, 500, 100%
//   2: Baseline 3-3, 10 h, 100;  current 4-6, 30 h, 60, 50%
//   3: Baseline 5-6, 20 h, 40;   current 8-9, 20 h, 40, 0%
TaskTable SmallProject() {
    TaskTable table;
    table.Rows = {Task(1, 4, 40, 400, 1, 5, 50, 500, 1.0), Task(3, 3, 10, 100, 4, 6, 30, 60, 0.5),
                  Task(5, 6, 20, 40, 8, 9, 20, 40, 0.0)};
    return table;
}

TEST(Series, SmallProjectWithTaskTotalsDayByDayAndInTotals) {
    const RunOptions o = AllSetsOptions(5);
    RunResults r;
    RecordingProgress sink;
    StageProgress p(sink);
    RunStages(o, SmallProject(), r, p);

    ASSERT_EQ(r.ProjectDays, 9);
    EXPECT_EQ(r.CutOffDate, Mar(5));
    using V = std::vector<double>;
    EXPECT_EQ(Row(r, 11), (V{10, 10, 20, 10, 10, 10, 0, 0, 0}));
    EXPECT_EQ(Row(r, 2), (V{10, 20, 40, 50, 60, 70, 70, 70, 70}));
    EXPECT_EQ(Row(r, 29), (V{100, 100, 200, 100, 20, 20, 0, 0, 0}));
    EXPECT_EQ(Row(r, 20), (V{100, 200, 400, 500, 520, 540, 540, 540, 540}));
    EXPECT_EQ(Row(r, 12), (V{10, 10, 10, 17.5, 17.5, 0, 0, 0, 0}));
    EXPECT_EQ(Row(r, 3), (V{10, 20, 30, 47.5, 65, 65, 65, 65, 65}));
    EXPECT_EQ(Row(r, 30), (V{100, 100, 100, 115, 115, 0, 0, 0, 0}));
    EXPECT_EQ(Row(r, 21), (V{100, 200, 300, 415, 530, 530, 530, 530, 530}));
    EXPECT_EQ(Row(r, 13), (V{10, 10, 10, 20, 20, 10, 0, 10, 10}));
    EXPECT_EQ(Row(r, 4), (V{10, 20, 30, 50, 70, 80, 80, 90, 100}));
    EXPECT_EQ(Row(r, 31), (V{100, 100, 100, 120, 120, 20, 0, 20, 20}));
    EXPECT_EQ(Row(r, 22), (V{100, 200, 300, 420, 540, 560, 560, 580, 600}));

    // Percentages: Baseline = 100% divides by 70 h / 540, Target = 100% by 100 h / 600.
    EXPECT_DOUBLE_EQ(r.Series.at(5, 9), 1.0);
    EXPECT_DOUBLE_EQ(r.Series.at(5, 3), 40.0 / 70.0);
    EXPECT_DOUBLE_EQ(r.Series.at(7, 9), 100.0 / 70.0);
    EXPECT_DOUBLE_EQ(r.Series.at(9, 5), 0.65);
    EXPECT_DOUBLE_EQ(r.Series.at(10, 9), 1.0);
    EXPECT_DOUBLE_EQ(r.Series.at(14, 3), 20.0 / 70.0);
    EXPECT_DOUBLE_EQ(r.Series.at(26, 9), 0.9);
    EXPECT_DOUBLE_EQ(r.Series.at(36, 4), 115.0 / 600.0);
    double histogram = 0.0;
    for (double v : Row(r, 17)) {
        histogram += v;
    }
    EXPECT_NEAR(histogram, 0.7, 1e-12);

    const DataSetResult& bl = r.set(DataSet::Baseline);
    const DataSetResult& act = r.set(DataSet::Actual);
    const DataSetResult& tgt = r.set(DataSet::Target);
    EXPECT_EQ((std::array<int, 3>{bl.TasksNotStarted, bl.TasksInProgress, bl.TasksFinished}),
              (std::array<int, 3>{0, 1, 2}));
    EXPECT_EQ((std::array<int, 3>{act.TasksNotStarted, act.TasksInProgress, act.TasksFinished}),
              (std::array<int, 3>{1, 1, 1}));
    EXPECT_EQ((std::array<int, 3>{tgt.TasksNotStarted, tgt.TasksInProgress, tgt.TasksFinished}),
              (std::array<int, 3>{1, 2, 0}));

    EXPECT_EQ((std::array<double, 3>{bl.ManHoursTotal, bl.ManHoursToDate, bl.ManHoursToRun}),
              (std::array<double, 3>{70, 60, 10}));
    EXPECT_EQ((std::array<double, 3>{bl.CostTotal, bl.CostToDate, bl.CostToRun}),
              (std::array<double, 3>{540, 520, 20}));
    EXPECT_EQ((std::array<double, 3>{act.ManHoursTotal, act.ManHoursToDate, act.ManHoursToRun}),
              (std::array<double, 3>{100, 65, 35}));
    EXPECT_EQ((std::array<double, 3>{act.CostTotal, act.CostToDate, act.CostToRun}),
              (std::array<double, 3>{600, 530, 70}));
    EXPECT_EQ((std::array<double, 3>{tgt.ManHoursTotal, tgt.ManHoursToDate, tgt.ManHoursToRun}),
              (std::array<double, 3>{100, 70, 30}));
    EXPECT_EQ((std::array<double, 3>{tgt.CostTotal, tgt.CostToDate, tgt.CostToRun}),
              (std::array<double, 3>{600, 540, 60}));

    // Target compared with Baseline.
    const GrowthSlippage& g = r.Growth;
    EXPECT_EQ(g.SlippageStart, 0);
    EXPECT_EQ(g.SlippageFinish, 3);
    EXPECT_EQ(g.GrowthDuration, 3);
    EXPECT_DOUBLE_EQ(g.GrowthManHours, 30.0);
    EXPECT_DOUBLE_EQ(g.GrowthCost, 60.0);
    EXPECT_EQ(g.TasksStartingLate, 2);
    EXPECT_EQ(g.TasksFinishingLate, 3);
    EXPECT_EQ(g.TasksIncreasedDuration, 2);
    EXPECT_EQ(g.TasksIncreasedManHours, 2);
    EXPECT_EQ(g.TasksIncreasedCost, 1);

    EXPECT_TRUE(sink.lines.contains(
        QStringLiteral("Calculating Actual %% S Curve Cost (Target = 100%%) for Day: 9 of 9... "
                       "Complete.")
            .replace(QStringLiteral("%%"), QStringLiteral("%"))));
    EXPECT_TRUE(
        sink.lines.contains(QStringLiteral("Calculating Project Growth, Slippage... Complete.")));
    EXPECT_TRUE(sink.lines.contains(
        QStringLiteral("Calculating Target Cost for Task: 3 of 3... Complete.")));
}

TEST(Series, SmallProjectWithExpendedToDate) {
    RunOptions o = AllSetsOptions(5);
    o.MHExpendedToDate = true;
    o.CostExpendedToDate = true;
    RunResults r;
    RecordingProgress sink;
    StageProgress p(sink);
    RunStages(o, SmallProject(), r, p);

    using V = std::vector<double>;
    // Baseline is never converted.
    EXPECT_EQ(Row(r, 2), (V{10, 20, 40, 50, 60, 70, 70, 70, 70}));
    // Task totals 50, 60, 0 h and 500, 120, 0 from what was expended at 100%, 50%, 0%.
    EXPECT_EQ(Row(r, 13), (V{10, 10, 10, 30, 30, 20, 0, 0, 0}));
    EXPECT_EQ(Row(r, 22), (V{100, 200, 300, 440, 580, 620, 620, 620, 620}));
    // Actual earns the expended quantities up to the cut off date.
    EXPECT_EQ(Row(r, 12), (V{10, 10, 10, 25, 25, 0, 0, 0, 0}));
    EXPECT_EQ(Row(r, 21), (V{100, 200, 300, 430, 560, 560, 560, 560, 560}));

    EXPECT_DOUBLE_EQ(r.set(DataSet::Actual).ManHoursTotal, 110.0);
    EXPECT_DOUBLE_EQ(r.set(DataSet::Actual).ManHoursToDate, 80.0);
    EXPECT_DOUBLE_EQ(r.set(DataSet::Target).ManHoursToRun, 20.0);
    EXPECT_DOUBLE_EQ(r.set(DataSet::Target).CostTotal, 620.0);
    EXPECT_DOUBLE_EQ(r.Growth.GrowthManHours, 40.0);
    EXPECT_DOUBLE_EQ(r.Growth.GrowthCost, 80.0);
    EXPECT_EQ(r.Growth.TasksIncreasedCost, 2);
}

TEST(Series, OnlyTheEnabledSetsQuantitiesAndReferencesAreFilled) {
    RunOptions o = AllSetsOptions(5);
    o.Generate = {true, false, false};
    o.GraphCost = false;
    RunResults r;
    RecordingProgress sink;
    StageProgress p(sink);
    RunStages(o, SmallProject(), r, p);
    ASSERT_EQ(r.ProjectDays, 6);
    for (int row = 2; row <= 37; ++row) {
        const bool filled = row == 2 || row == 5 || row == 11 || row == 14;
        double sum = 0.0;
        for (double v : Row(r, row)) {
            sum += v;
        }
        EXPECT_EQ(sum != 0.0, filled) << "row " << row;
    }
    EXPECT_EQ(r.set(DataSet::Baseline).TasksFinished, 2); // counted whatever the quantities
    EXPECT_DOUBLE_EQ(r.set(DataSet::Baseline).CostTotal, 0.0);
    EXPECT_EQ(r.Growth.TasksFinishingLate, 0);
    EXPECT_FALSE(
        sink.lines.contains(QStringLiteral("Calculating Project Growth, Slippage... Complete.")));

    // A reference total of 0 leaves its percentage rows at 0.
    TaskTable zero = SmallProject();
    for (TaskRow& row : zero.Rows) {
        row.BLManHours = 0;
    }
    RunResults z;
    RunStages(o, zero, z, p);
    EXPECT_EQ(Row(z, 5), std::vector<double>(6, 0.0));
    EXPECT_EQ(Row(z, 14), std::vector<double>(6, 0.0));
}

TEST(Series, SpreadingAddsInTheOrderOfStartDaysThenTasks) {
    // The reference: on each project day every task starting that day adds its rate to its days.
    RunOptions o = AllSetsOptions(30);
    o.Generate = {true, false, false};
    TaskTable table;
    const double quantities[] = {1.0, 1e8, 0.1, 7.0, 1.0 / 3.0, 2e-9, 12345.678, 0.3};
    for (int k = 0; k < 64; ++k) {
        const int start = 1 + (k * 37) % 50;
        const int length = 1 + (k * 11) % 23;
        table.Rows.push_back(Task(start, start + length - 1, quantities[k % 8] * (k + 1),
                                  quantities[(k + 3) % 8], 0, 0, 0, 0, 0));
    }
    RunResults r;
    TNullProgress sink;
    StageProgress p(sink);
    RunStages(o, table, r, p);

    const DataSetResult& bl = r.set(DataSet::Baseline);
    std::vector<double> daily(static_cast<std::size_t>(r.ProjectDays) + 1, 0.0);
    for (int i = 1; i <= r.ProjectDays; ++i) {
        for (const ValidTask& t : bl.Tasks) {
            if (t.Start == r.Days[static_cast<std::size_t>(i)]) {
                for (int c = 0; c < t.Duration; ++c) {
                    daily[static_cast<std::size_t>(i + c)] += t.ManHoursRate;
                }
            }
        }
    }
    double s = 0.0;
    for (int i = 1; i <= r.ProjectDays; ++i) {
        s = i == 1 ? daily[1] : s + daily[static_cast<std::size_t>(i)];
        ASSERT_EQ(r.Series.at(11, i), daily[static_cast<std::size_t>(i)]) << "day " << i;
        ASSERT_EQ(r.Series.at(2, i), s) << "day " << i;
    }
}

TEST(Series, CancelWhileSpreadingIsNoticedOnTheNext150thDay) {
    RunOptions o = AllSetsOptions(1);
    o.Generate = {true, false, false};
    RunResults r;
    r.set(DataSet::Baseline).Tasks = {ValidTask{Mar(1), Mar(400), 400, 400, 0, 1, 0, 0}};
    r.set(DataSet::Baseline).ValidTasks = 1;
    r.ProjectStart = Mar(1);
    r.ProjectDays = 400;
    r.Series.reset(400);
    RecordingProgress sink;
    sink.cancelAtPump = 3; // pressed while days 151..299 are spread
    StageProgress p(sink);
    EXPECT_THROW(CalcDailySeries(DataSet::Baseline, o, r, p), platform::EAbort);
    EXPECT_FALSE(sink.flag);
    EXPECT_EQ(sink.lines.last(),
              QStringLiteral("Calculating Baseline Man Hours for Day: 300 of 400..."));
}

TEST(TaskTotals, CutOffOnTheFirstAndLastProjectDay) {
    struct Case {
        int cutOff;
        double toDate;
    };
    const Case cases[] = {{1, 10.0}, {6, 70.0}, {-5, 10.0}, {40, 70.0}};
    for (const Case& c : cases) {
        RunOptions o = AllSetsOptions(c.cutOff);
        o.Generate = {true, false, false};
        RunResults r;
        TNullProgress sink;
        StageProgress p(sink);
        RunStages(o, SmallProject(), r, p);
        EXPECT_DOUBLE_EQ(r.set(DataSet::Baseline).ManHoursToDate, c.toDate) << c.cutOff;
        EXPECT_DOUBLE_EQ(r.set(DataSet::Baseline).ManHoursToRun, 70.0 - c.toDate) << c.cutOff;
    }
}

TEST(TaskTotals, GrowthComparesActualWithoutTargetAndOnlyTasksValidInBoth) {
    TaskTable table;
    table.Rows = {
        // Starts two days early, finishes one day late: finishing late and longer only.
        Task(10, 12, 30, 30, 8, 13, 30, 20, 0.5),
        // Valid for Baseline only (no current dates): not compared.
        Task(1, 2, 5, 5, 0, 0, 100, 100, 0.5),
        // Valid for the current plan only: not compared.
        Task(0, 0, 0, 0, 3, 4, 100, 100, 0.5),
    };
    RunOptions o = AllSetsOptions(10);
    o.Generate = {true, true, false};
    RunResults r;
    TNullProgress sink;
    StageProgress p(sink);
    RunStages(o, table, r, p);
    const GrowthSlippage& g = r.Growth;
    EXPECT_EQ(g.TasksStartingLate, 0);
    EXPECT_EQ(g.TasksFinishingLate, 1);
    EXPECT_EQ(g.TasksIncreasedDuration, 1);
    EXPECT_EQ(g.TasksIncreasedManHours, 0);
    EXPECT_EQ(g.TasksIncreasedCost, 0);
    EXPECT_DOUBLE_EQ(g.GrowthCost, -10.0);
    // Actual's project: 3..13 against the Baseline's 1..12.
    EXPECT_EQ(g.SlippageStart, 2);
    EXPECT_EQ(g.SlippageFinish, 1);
    EXPECT_EQ(g.GrowthDuration, -1);
}

TEST(TaskTotals, CutOffLeftOutsideTheSpanIsBroughtIntoIt) {
    // Baseline is generated but has no valid task: the cut off date used to stay before the
    // Actual span, and the totals read the series outside it.
    TaskTable table;
    table.Rows = {Task(0, 0, 0, 0, 10, 12, 30, 30, 0.5)};
    RunOptions o = AllSetsOptions(1);
    o.Generate = {true, true, false};
    RunResults r;
    TNullProgress sink;
    StageProgress p(sink);
    RunStages(o, table, r, p);
    EXPECT_EQ(r.CutOffDate, Mar(10));
    EXPECT_EQ(r.CutOff.Key, QStringLiteral("UP009"));
    EXPECT_EQ(r.ProjectStart, Mar(10));
    EXPECT_DOUBLE_EQ(r.set(DataSet::Actual).ManHoursToDate, 15.0);
    EXPECT_DOUBLE_EQ(r.set(DataSet::Actual).ManHoursToRun, 15.0);
}

} // namespace
