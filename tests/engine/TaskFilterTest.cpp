#include "engine/TaskFilter.h"
#include "RecordingProgress.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

using namespace engine;
using enginetest::RecordingProgress;

TEST(TaskFilter, OperatorsCompareDisplayedTextsOrdinallyIgnoringCaseOfAToZ) {
    struct Case {
        int op;
        const char* cell;
        const char* value;
        bool matches;
    };
    const Case cases[] = {
        {0, "abc", "ABC", true},
        {0, "\u00e9", "\u00c9", false},
        {0, "", "", true},
        {0, "x", "", false},
        {0, "abc ", "abc", false},
        {1, "abc", "ABD", true},
        {1, "abc", "ABC", false},
        {2, "10", "9", true},
        {2, "1,000", "900", true},
        {2, "b", "B", false},
        {2, "a", "b", true},
        {3, "b", "B", true},
        {3, "c", "b", false},
        {4, "9", "10", true},
        {4, "b", "b", false},
        {5, "b", "B", true},
        {5, "a", "b", false},
        {2, "Z", "a", false},
        {6, "", "ignored", true},
        {6, " ", "", false},
        {7, "x", "", true},
        {7, "", "x", false},
        {8, "Design", "DES", true},
        {8, "De", "Des", false},
        {8, "anything", "", true},
        {8, "", "", true},
        {9, "Design", "des", false},
        {9, "Build", "des", true},
        {10, "Phase 2", "E 2", true},
        {10, "2", "e 2", false},
        {10, "anything", "", true},
        {11, "Phase 2", "2", false},
        {11, "Phase 3", "2", true},
        {12, "Main Works", "N W", true},
        {12, "Main", "", false},
        {12, "", "", false},
        {12, "Main", "mains", false},
        {13, "Main", "", true},
        {13, "Main", "AI", false},
        {13, "Main", "x", true},
        {14, "abc", "abc", false},
        {255, "", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilterOperatorMatches(static_cast<std::uint8_t>(c.op), QString::fromUtf8(c.cell),
                                        QString::fromUtf8(c.value)),
                  c.matches)
            << "operator " << c.op << " cell '" << c.cell << "' value '" << c.value << "'";
    }
}

TEST(TaskFilter, AndBindsTighterThanOr) {
    struct Case {
        std::vector<bool> andJoins; // join of each row to the one before (first ignored)
        std::vector<bool> results;
        bool matches;
    };
    const Case cases[] = {
        {{true}, {true}, true},
        {{false}, {false}, false},
        {{true, false, true}, {true, false, false}, true}, // r1 or (r2 and r3)
        {{true, false, true}, {false, true, false}, false},
        {{true, false, true, false}, {false, true, false, true}, true},
        {{true, true, false, false, true}, {true, false, true, false, false}, true},
        {{true, true, false, false, true}, {true, false, false, true, false}, false},
        {{true, true, false, false, true}, {false, true, false, true, true}, true},
        {{true, true, true}, {true, true, false}, false},
        {{false, false, false}, {false, false, true}, true},
        {{}, {}, true},                                                            // no rows
        {{true, true, true, true, true, true}, std::vector<bool>(6, false), true}, // over five
    };
    for (const Case& c : cases) {
        std::vector<FilterRow> rows;
        for (bool andJoin : c.andJoins) {
            rows.push_back(FilterRow{0, 0, QString(), andJoin});
        }
        EXPECT_EQ(FilterRowsMatch(rows, c.results), c.matches) << "rows " << rows.size();
    }
}

TaskTable FilterTable() {
    TaskTable table;
    table.Rows.resize(5);
    table.Rows[2].Blank = true;
    // Column 0: discipline; column 1: area.
    table.FilterValues = {
        TextVector({"Civil", "civil", "", "Mechanical", "Electrical"}),
        TextVector({"North", "South", "", "North", "north"}),
    };
    return table;
}

RunOptions FilterOptions() {
    RunOptions options;
    options.FilterEnabled = true;
    options.DSFDesc = QStringLiteral("Data Source File");
    options.DSFPath = QStringLiteral("/data/project.xlsx");
    options.TaskWSDesc = QStringLiteral("Task Worksheet");
    options.TaskWSName = QStringLiteral("Tasks");
    options.FilterText = QStringLiteral("Enabled: Discipline Equals Piping");
    return options;
}

std::vector<bool> Matches(const RunResults& results) {
    std::vector<bool> out;
    for (const TaskState& t : results.Tasks) {
        out.push_back(t.Match);
    }
    return out;
}

TEST(TaskFilter, FiltersNonBlankTasksAndCountsThem) {
    const TaskTable table = FilterTable();
    RecordingProgress sink;
    StageProgress progress(sink);
    RunResults results;
    // (Discipline = CIVIL and Area = north) or Discipline starts with "Elec"
    const std::vector<FilterRow> rows = {{0, 0, QStringLiteral("CIVIL"), true},
                                         {1, 0, QStringLiteral("north"), true},
                                         {0, 8, QStringLiteral("Elec"), false}};
    FilterTasks(FilterOptions(), table, rows, results, progress, true);
    EXPECT_EQ(Matches(results), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(results.TasksFilteredOut, 2);
    EXPECT_EQ(results.TasksAfterFilter, 3);
    EXPECT_EQ(results.BlankTasks, 1);
    EXPECT_EQ(sink.lines, QStringList{QStringLiteral("Filtering Task: 5 of 5... Complete.")});
}

TEST(TaskFilter, DisabledFilterMatchesEverythingWithoutAProgressLine) {
    RunOptions options = FilterOptions();
    options.FilterEnabled = false;
    RecordingProgress sink;
    StageProgress progress(sink);
    RunResults results;
    FilterTasks(options, FilterTable(), {{0, 0, QStringLiteral("nothing"), true}}, results,
                progress, true);
    EXPECT_EQ(Matches(results), std::vector<bool>(5, true));
    EXPECT_EQ(results.TasksFilteredOut, 0);
    EXPECT_EQ(results.TasksAfterFilter, 0);
    EXPECT_TRUE(sink.lines.isEmpty());
    EXPECT_EQ(sink.pumps, 1);
}

TEST(TaskFilter, NoMatchingTaskRaisesWithTheFilterDetails) {
    TaskTable table = FilterTable();
    table.Rows[2].Blank = false; // a blank row would keep its match and prevent the error
    RecordingProgress sink;
    StageProgress progress(sink);
    RunResults results;
    const std::vector<FilterRow> rows = {{0, 0, QStringLiteral("Piping"), true}};
    try {
        FilterTasks(FilterOptions(), table, rows, results, progress, true);
        FAIL() << "no error";
    } catch (const platform::EAbort&) {
        FAIL() << "abort";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Unable to extract any valid Tasks from the Data Source File that "
                                 "match the Filter Criteria.\r\n\r\n"
                                 "Data Source File: /data/project.xlsx\r\n\r\n"
                                 "Task Worksheet: Tasks\r\n\r\n"
                                 "Filter Details: Enabled: Discipline Equals Piping\r\n\r\n"
                                 "Please check the Data Source File, and/or Data Source Filter."));
    }
    EXPECT_EQ(results.TasksFilteredOut, 5);

    // Not asked to raise, or a blank row present: no error.
    EXPECT_NO_THROW(FilterTasks(FilterOptions(), table, rows, results, progress, false));
    EXPECT_NO_THROW(FilterTasks(FilterOptions(), FilterTable(), rows, results, progress, true));
    EXPECT_EQ(Matches(results), (std::vector<bool>{false, false, true, false, false}));
}

} // namespace
