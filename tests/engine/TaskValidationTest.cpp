#include "engine/TaskValidation.h"
#include "CalcFixtures.h"
#include "RecordingProgress.h"
#include "engine/DateText.h"
#include "engine/TaskFilter.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace engine;
using namespace enginetest;

TEST(DateText, ConvertsTheTextsOfDateCells) {
    struct Case {
        const char* text;
        double value; // NAN: no date
    };
    const Case cases[] = {
        {"44256", 44256.0},
        {"44256.75", 44256.75},
        {"01-Mar-2021", 44256.0},
        {"1-mar-2021", 44256.0},
        {"  01-Mar-2021  ", 44256.0},
        {"2021-03-01", 44256.0},
        {"2021-03-01 18:00", 44256.75},
        {"01-Mar-2021 06:00:00", 44256.25},
        {"31-Feb-2021", NAN},
        {"Mar 2021 soon", NAN},
        {"", NAN},
        {"TBA", NAN},
        {"1e300", NAN},
    };
    for (const Case& c : cases) {
        const std::optional<double> value = ParseDateText(QString::fromUtf8(c.text));
        if (std::isnan(c.value)) {
            EXPECT_FALSE(value.has_value()) << c.text;
        } else {
            ASSERT_TRUE(value.has_value()) << c.text;
            EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
        }
    }
    // The validation's test also wants three characters after trimming.
    EXPECT_FALSE(DateOfText(QStringLiteral(" 12 ")).has_value());
    EXPECT_TRUE(DateOfText(QStringLiteral("123")).has_value());
    EXPECT_EQ(WholeDay(-1.5), -1);
    EXPECT_EQ(DayText(Day(2026, 12, 9)), QStringLiteral("09-Dec-2026"));
}

struct ValidationCase {
    const char* what;
    QString start;
    QString finish;
    double pct;
    bool valid;
    int duration;
};

TEST(TaskValidation, DecidesWhichTasksAreValid) {
    const ValidationCase cases[] = {
        {"one day", MarText(3), MarText(3), 0.5, true, 1},
        {"four days", MarText(3), MarText(6), 0.5, true, 4},
        {"time of day dropped", QStringLiteral("44258.9"), QStringLiteral("44259.1"), 0.5, true, 2},
        {"finish before start", MarText(4), MarText(3), 0.5, false, 0},
        {"empty start", QString(), MarText(3), 0.5, false, 0},
        {"blank start", QStringLiteral("   "), MarText(3), 0.5, false, 0},
        {"start no date", QStringLiteral("next week"), MarText(3), 0.5, false, 0},
        {"day zero", QStringLiteral("0.25"), MarText(3), 0.5, false, 0},
        {"short text", QStringLiteral("5"), MarText(3), 0.5, false, 0},
        {"pct above 1", MarText(3), MarText(3), 1.5, false, 0},
        {"pct below 0", MarText(3), MarText(3), -0.1, false, 0},
        {"pct 0 and 1", MarText(3), MarText(4), 1.0, true, 2},
    };
    for (const ValidationCase& c : cases) {
        TaskTable table;
        TaskRow row = Task(0, 0, 0, 0, 0, 0, 40, 80, c.pct);
        row.StartText = c.start;
        row.FinishText = c.finish;
        row.BLStartText = c.start;
        row.BLFinishText = c.finish;
        row.BLManHours = 40;
        table.Rows = {row};
        RunOptions options = AllSetsOptions(5);
        RunResults results;
        RecordingProgress sink;
        StageProgress progress(sink);
        ValidateTasks(DataSet::Actual, options, table, results, progress);
        EXPECT_EQ(results.set(DataSet::Actual).ValidTasks, c.valid ? 1 : 0) << c.what;
        EXPECT_EQ(results.set(DataSet::Actual).InvalidTasks, c.valid ? 0 : 1) << c.what;
        EXPECT_EQ(results.Tasks[0].Valid[1], c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(results.set(DataSet::Actual).Tasks[0].Duration, c.duration) << c.what;
        }
        // Baseline never checks the percent complete; Target only for Expended To Date.
        const bool datesValid =
            c.valid || QString::fromUtf8(c.what).startsWith(QStringLiteral("pct"));
        ValidateTasks(DataSet::Baseline, options, table, results, progress);
        EXPECT_EQ(results.set(DataSet::Baseline).ValidTasks, datesValid ? 1 : 0) << c.what;
        ValidateTasks(DataSet::Target, options, table, results, progress);
        EXPECT_EQ(results.set(DataSet::Target).ValidTasks, datesValid ? 1 : 0) << c.what;
        options.CostExpendedToDate = true;
        ValidateTasks(DataSet::Target, options, table, results, progress);
        EXPECT_EQ(results.set(DataSet::Target).ValidTasks, c.valid ? 1 : 0) << c.what;
    }
}

TEST(TaskValidation, QuantitiesRatesAndExpendedToDate) {
    TaskTable table;
    table.Rows = {Task(1, 4, 40, 400, 1, 5, 50, 500, 1.0), Task(3, 3, 10, 100, 4, 6, 30, 60, 0.5),
                  Task(5, 6, 20, 40, 8, 9, 20, 40, 0.0)};
    RunOptions options = AllSetsOptions(5);
    RunResults results;
    RecordingProgress sink;
    StageProgress progress(sink);

    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    const DataSetResult& bl = results.set(DataSet::Baseline);
    ASSERT_EQ(bl.ValidTasks, 3);
    EXPECT_EQ(bl.Tasks[0].Duration, 4);
    EXPECT_DOUBLE_EQ(bl.Tasks[0].ManHoursRate, 10.0);
    EXPECT_DOUBLE_EQ(bl.Tasks[2].CostRate, 20.0);
    EXPECT_EQ(bl.FirstStart, Mar(1));
    EXPECT_EQ(bl.LastFinish, Mar(6));
    EXPECT_EQ(results.Tasks[1].BLStart, Mar(3));

    // Expended To Date man hours: the column holds what was spent; the task total is derived.
    options.MHExpendedToDate = true;
    ValidateTasks(DataSet::Target, options, table, results, progress);
    const DataSetResult& tgt = results.set(DataSet::Target);
    ASSERT_EQ(tgt.ValidTasks, 3);
    EXPECT_DOUBLE_EQ(tgt.Tasks[1].ManHours, 60.0);
    EXPECT_DOUBLE_EQ(tgt.Tasks[1].ManHoursRate, 20.0);
    EXPECT_DOUBLE_EQ(tgt.Tasks[2].ManHours, 0.0); // 0% complete
    EXPECT_DOUBLE_EQ(tgt.Tasks[1].Cost, 60.0);    // cost stays a task total
    EXPECT_DOUBLE_EQ(results.Tasks[1].ManHours, 60.0);

    ValidateTasks(DataSet::Actual, options, table, results, progress);
    const DataSetResult& act = results.set(DataSet::Actual);
    EXPECT_DOUBLE_EQ(act.Tasks[1].PctComplete, 0.5);
    EXPECT_DOUBLE_EQ(act.Tasks[1].ManHoursRate, 0.0); // set by the cut off stage

    // Quantities not graphed are 0.
    options.GraphCost = false;
    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    EXPECT_DOUBLE_EQ(results.set(DataSet::Baseline).Tasks[0].Cost, 0.0);

    EXPECT_EQ(sink.lines.first(),
              QStringLiteral("Validating Task (Baseline S Curve): 3 of 3... Complete."));
    EXPECT_EQ(sink.lines.at(1),
              QStringLiteral("Processing Start and Finish Dates (Baseline S Curve)... Complete."));
}

TEST(TaskValidation, BlankAndFilteredOutRows) {
    TaskTable table;
    table.Rows = {Task(1, 2, 1, 1, 1, 2, 1, 1, 0), TaskRow(), Task(1, 2, 1, 1, 1, 2, 1, 1, 0),
                  Task(0, 2, 1, 1, 1, 2, 1, 1, 0)};
    table.Rows[1].Blank = true;
    table.FilterValues = {TextVector({"a", "", "b", "a"})};
    RunOptions options = AllSetsOptions(5);
    options.FilterEnabled = true;
    RunResults results;
    RecordingProgress sink;
    StageProgress progress(sink);
    FilterTasks(options, table, {{0, 0, QStringLiteral("a"), true}}, results, progress, true);
    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    // Task 3 does not match: neither valid nor invalid. The blank row and task 4 are invalid.
    EXPECT_EQ(results.set(DataSet::Baseline).ValidTasks, 1);
    EXPECT_EQ(results.set(DataSet::Baseline).InvalidTasks, 2);
    // A second validation does not count the blank row twice.
    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    EXPECT_EQ(results.set(DataSet::Baseline).InvalidTasks, 2);
}

TEST(TaskValidation, NoValidTaskLeavesTheReportDate) {
    TaskTable table;
    table.Rows = {Task(0, 0, 0, 0, 0, 0, 0, 0, 0)};
    RunOptions options = AllSetsOptions(5);
    RunResults results;
    RecordingProgress sink;
    StageProgress progress(sink);
    ValidateTasks(DataSet::Baseline, options, table, results, progress);
    EXPECT_EQ(results.set(DataSet::Baseline).FirstStart, options.ReportDate);
    EXPECT_EQ(results.set(DataSet::Baseline).LastFinish, options.ReportDate);
}

TEST(CheckValidTasks, WarnsForSomeAndRaisesForAll) {
    struct Case {
        std::array<bool, 3> generate;
        std::array<int, 3> valid;
        bool raises;
        const char* key;
        int lines;
    };
    const Case cases[] = {
        {{true, true, true}, {1, 1, 1}, false, "", 0},
        {{true, true, false}, {0, 2, 0}, false, "UP005", 4},
        {{true, true, true}, {0, 0, 3}, false, "UP006", 7},
        {{true, false, true}, {2, 0, 0}, false, "UP007", 4},
        {{true, true, true}, {0, 0, 0}, true, "", 0},
        {{false, true, false}, {5, 0, 5}, true, "", 0},
        {{false, false, false}, {1, 1, 1}, true, "", 0},
    };
    for (const Case& c : cases) {
        RunOptions options = AllSetsOptions(5);
        options.Generate = c.generate;
        RunResults results;
        for (int s = 0; s < 3; ++s) {
            results.Sets[static_cast<std::size_t>(s)].ValidTasks =
                c.valid[static_cast<std::size_t>(s)];
        }
        RecordingProgress sink;
        StageProgress progress(sink);
        if (c.raises) {
            try {
                CheckValidTasks(QStringLiteral("Tasks"), options, results, progress);
                ADD_FAILURE() << "no error";
            } catch (const platform::Exception& e) {
                EXPECT_EQ(e.message(),
                          QStringLiteral("Unable to extract any valid Tasks from the Data Source "
                                         "File.\r\n\r\nPlease check the Data Source File, and/or "
                                         "Data Source Map.\r\n\r\n/data/project.xlsx"));
            }
            continue;
        }
        const ValidTasksWarning w =
            CheckValidTasks(QStringLiteral("Tasks"), options, results, progress);
        EXPECT_EQ(w.Key, QString::fromLatin1(c.key));
        EXPECT_EQ(w.Lines.size(), c.lines);
        if (c.lines > 0) {
            EXPECT_EQ(w.Lines.last(),
                      QStringLiteral(
                          "Please check the Data Source Map and Data Source Filter are correct."));
        }
    }
}

} // namespace
