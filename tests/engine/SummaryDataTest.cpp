#include "OutputFixtures.h"

#include "engine/ChartData.h"
#include "engine/SummaryData.h"
#include "engine/SummaryGrid.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <variant>

namespace enginetest {
namespace {

using engine::DataSet;

// The program's report tables, for the run tests of this program that use the globals.
[[maybe_unused]] testing::Environment* const kReportTables =
    testing::AddGlobalTestEnvironment(new ReportTablesEnvironment);

engine::DataSetResult SetResult(int valid, int invalid, int notStarted, int inProgress,
                                int finished, int start, int finish, int elapsed, double mh,
                                double mhToDate, double cost, double costToDate) {
    engine::DataSetResult s;
    s.ValidTasks = valid;
    s.InvalidTasks = invalid;
    s.TasksNotStarted = notStarted;
    s.TasksInProgress = inProgress;
    s.TasksFinished = finished;
    s.FirstStart = Mar(start);
    s.LastFinish = Mar(finish);
    s.Duration = finish - start + 1;
    s.Elapsed = elapsed;
    s.Remaining = s.Duration - elapsed;
    s.ManHoursTotal = mh;
    s.ManHoursToDate = mhToDate;
    s.ManHoursToRun = mh - mhToDate;
    s.CostTotal = cost;
    s.CostToDate = costToDate;
    s.CostToRun = cost - costToDate;
    return s;
}

// Seven task rows, one blank and one filtered out; cut off on 10 March.
engine::RunResults SmallResults() {
    engine::RunResults r;
    r.TaskCount = 7;
    r.TaskRowCount = 7;
    r.BlankTasks = 1;
    r.TasksFilteredOut = 1;
    r.CutOffDate = Mar(10);
    r.Sets[0] = SetResult(4, 1, 1, 2, 1, 1, 20, 10, 200, 50, 1000, 400);
    r.Sets[1] = SetResult(3, 2, 0, 2, 1, 2, 22, 9, 240, 60, 1200, 300);
    r.Sets[2] = SetResult(5, 0, 2, 2, 1, 2, 24, 9, 250, 100, 1250, 500);
    r.Growth = {1, 4, 3, 50.0, -20.0, 2, 3, 1, 4, 0};
    return r;
}

engine::RunOptions Options(bool bl, bool act, bool tgt, bool mh = true, bool cost = true) {
    engine::RunOptions o = AllSetsOptions(10);
    o.Generate = {bl, act, tgt};
    o.GraphMH = mh;
    o.GraphCost = cost;
    return o;
}

void Populate(SummaryTables& t, const engine::RunOptions& o, const engine::RunResults& r) {
    engine::SummaryTexts texts;
    texts.ProjectTitle = QStringLiteral("Pump Station");
    texts.DataFilePath = QStringLiteral("/plans/pump.krvc");
    engine::PopulateProjectSummary(o, texts, r, t.psHeaders, t.psFields, t.progress);
    engine::FormatProjectSummary(o, r, t.psFields, t.progress);
}

TEST(ProjectSummaryData, FillsEveryBlockFromTheResults) {
    SummaryTables t;
    Populate(t, Options(true, true, true), SmallResults());

    EXPECT_EQ(t.psHeaders.getItems(1)->getCaption(), ReportTitle());
    EXPECT_EQ(t.ps(1).getDateValue(), Mar(31));
    EXPECT_EQ(t.ps(2).getDateValue(), Mar(10));
    EXPECT_EQ(t.ps(3).getTextValue(), QStringLiteral("Pump Station"));
    EXPECT_EQ(t.ps(6).getTextValue(), QStringLiteral("/plans/pump.krvc"));
    // Task counts: total, blank rows, filtered out, validated (the rows the filter kept).
    const struct {
        int item;
        int value;
    } integers[] = {{12, 7},  {13, 1},  {14, 1},  {15, 5},  {16, 4},  {22, 1},
                    {18, 3},  {24, 2},  {34, 2},  {58, 20}, {64, 10}, {70, 10},
                    {60, 21}, {124, 1}, {127, 4}, {130, 3}, {139, 2}, {147, 0}};
    for (const auto& c : integers) {
        EXPECT_EQ(t.ps(c.item).getIntegerValue(), c.value) << c.item;
    }
    const struct {
        int item;
        double value;
    } numbers[] = {
        {17, 80.0},  {23, 20.0},  {35, 40.0},   {19, 60.0},  {21, 100.0}, {59, 100.0},
        {65, 50.0},  {71, 50.0},  {76, 200.0},  {77, 100.0}, {83, 25.0},  {89, 75.0},
        {101, 40.0}, {112, 25.0}, {113, 20.0},  {114, 30.0}, {115, 24.0}, {116, 50.0},
        {117, 40.0}, {118, 40.0}, {121, 24.0},  {125, 5.0},  {128, 20.0}, {131, 15.0},
        {133, 50.0}, {134, 25.0}, {136, -20.0}, {137, -2.0}, {140, 40.0}, {142, 60.0},
    };
    for (const auto& c : numbers) {
        EXPECT_DOUBLE_EQ(t.ps(c.item).getFloatValue(), c.value) << c.item;
    }
    EXPECT_EQ(t.ps(46).getDateValue(), Mar(1));
    EXPECT_EQ(t.ps(54).getDateValue(), Mar(22));
    // The words use Actual's dates: started late (2 March after 1 March, on or before the cut
    // off date), will finish late (22 March after 20 March and after the cut off date).
    EXPECT_EQ(t.ps(126).getTextValue(), UIT(txt::StartedLate));
    EXPECT_EQ(t.ps(126).getIntegerValue(), 1);
    EXPECT_EQ(t.ps(129).getTextValue(), UIT(txt::WillFinishLate));
    EXPECT_EQ(t.ps(132).getTextValue(), UIT(txt::Increased));
    EXPECT_EQ(t.ps(135).getTextValue(), UIT(txt::OverBudget));
    EXPECT_DOUBLE_EQ(t.ps(135).getFloatValue(), 50.0);
    EXPECT_EQ(t.ps(138).getTextValue(), UIT(txt::UnderBudget));
    for (int i = 1; i <= t.psFields.getCount(); ++i) {
        EXPECT_EQ(t.ps(i).getValueState(), vsValue) << i;
    }
}

// Blank rows are ignored, never filtered: ignored, excluded and processed add up to the total,
// with or without a filter.
TEST(ProjectSummaryData, TaskCountsAddUpToTheTotal) {
    struct Case {
        int total, blank, filteredOut, processed;
    } cases[] = {{309, 4, 175, 130}, {10, 0, 0, 10}, {10, 3, 0, 7}, {5, 5, 0, 0}, {0, 0, 0, 0}};
    for (const Case& c : cases) {
        engine::RunResults results;
        results.TaskCount = c.total;
        results.BlankTasks = c.blank;
        results.TasksFilteredOut = c.filteredOut;
        const engine::TaskCounts counts = engine::CountTasks(results);
        EXPECT_EQ(counts.Processed, c.processed) << c.total << " " << c.blank;
        EXPECT_EQ(counts.Ignored + counts.NotMatchingFilter + counts.Processed, counts.Total)
            << c.total << " " << c.blank;
    }
}

TEST(ProjectSummaryData, TestsEveryDivisorBeforeDividing) {
    SummaryTables t;
    engine::RunResults r;
    r.CutOffDate = Mar(1);
    Populate(t, Options(true, true, true), r);
    for (int item : {17, 23, 65, 83, 101, 112, 113, 125, 134, 140}) {
        EXPECT_EQ(t.ps(item).getFloatValue(), 0.0) << item;
    }
    for (int item : {59, 77, 95}) {
        EXPECT_EQ(t.ps(item).getFloatValue(), 100.0) << item;
    }
}

TEST(ProjectSummaryData, StatusWordsCompareWithTheBaselineAndTheCutOffDate) {
    const struct {
        bool actual;
        int start;
        int cut;
        int word;
    } cases[] = {
        {true, 0, 0, 465},
        {true, 0, -1, 462},
        {true, 1, 1, 466},
        {true, 1, 0, 463},
        {true, 3, 3, 467},
        {true, 3, 2, 464},
        // Target alone: its dates.
        {false, 1, 0, 463},
        {false, 3, 5, 467},
    };
    for (const auto& c : cases) {
        SummaryTables t;
        engine::RunResults r = SmallResults();
        r.set(c.actual ? DataSet::Actual : DataSet::Target).FirstStart = Mar(c.start);
        r.set(c.actual ? DataSet::Target : DataSet::Actual).FirstStart = Mar(20);
        r.CutOffDate = Mar(c.cut);
        Populate(t, Options(true, c.actual, !c.actual), r);
        EXPECT_EQ(t.ps(126).getTextValue(), UIT(c.word))
            << "actual " << c.actual << " start " << c.start << " cut " << c.cut;
    }
}

TEST(ProjectSummaryData, MarksItemsThatDoNotApplyOrHaveNoData) {
    struct Case {
        const char* name;
        engine::RunOptions options;
        int noValidSet; // -1: every set has valid tasks
        std::vector<int> notApplicable;
        std::vector<int> noData;
        std::vector<int> value;
    };
    const std::vector<Case> cases = {
        {"Baseline alone",
         Options(true, false, false),
         -1,
         {124, 126, 140, 148, 18, 19, 113},
         {},
         {16, 112, 46}},
        {"Baseline and Target",
         Options(true, false, true),
         -1,
         {18, 19, 24, 25, 114, 115, 120, 121, 48},
         {},
         {113, 117, 124, 126}},
        {"no valid Baseline task",
         Options(true, true, false),
         0,
         {20},
         {28, 46, 112, 124, 148},
         {16, 17, 22, 23, 18, 19}},
        {"man hours without cost",
         Options(true, true, true, true, false),
         -1,
         {94, 111, 118, 123, 136, 137, 138},
         {},
         {76, 93, 133, 135}},
    };
    for (const Case& c : cases) {
        SummaryTables t;
        engine::RunResults r = SmallResults();
        if (c.noValidSet >= 0) {
            r.Sets[static_cast<std::size_t>(c.noValidSet)].ValidTasks = 0;
        }
        Populate(t, c.options, r);
        for (int item : c.notApplicable) {
            EXPECT_EQ(t.ps(item).getValueState(), vsNotApplicable) << c.name << " " << item;
        }
        for (int item : c.noData) {
            EXPECT_EQ(t.ps(item).getValueState(), vsNoData) << c.name << " " << item;
        }
        for (int item : c.value) {
            EXPECT_EQ(t.ps(item).getValueState(), vsValue) << c.name << " " << item;
        }
    }
    // Baseline alone: no status words.
    SummaryTables t;
    Populate(t, Options(true, false, false), SmallResults());
    EXPECT_TRUE(t.ps(126).getTextValue().isEmpty());
    EXPECT_TRUE(t.ps(132).getTextValue().isEmpty());
}

TEST(ProjectSummaryData, RedValuesAreTheListedItemsAboveZero) {
    for (int growth : {3, -2}) {
        SummaryTables t;
        engine::RunResults r = SmallResults();
        r.Growth.GrowthDuration = growth;
        Populate(t, Options(true, true, true), r);
        TovSummaryGrid grid;
        grid.Populate(t.psHeaders, t.psFields);
        grid.Format(t.psFields);
        const TColor expected = growth > 0 ? ReportColors::Red : t.ps(130).getFontColor();
        EXPECT_EQ(t.ps(130).getIntegerValue(), growth);
        EXPECT_EQ(t.ps(132).getTextValue(), UIT(growth > 0 ? 476 : 474));
        EXPECT_EQ(grid.cell(2, 36).Style.FontColor, expected) << growth;
        EXPECT_EQ(grid.cell(4, 36).Style.FontColor, expected) << growth;
        // Ignored tasks 1: red; negative cost growth: not red.
        EXPECT_EQ(grid.cell(7, 9).Style.FontColor, ReportColors::Red);
        EXPECT_EQ(grid.cell(2, 38).Style.FontColor, t.ps(136).getFontColor());
    }
}

TEST(SummaryGrid, LaysOutFillsAndColoursTheProjectSummary) {
    SummaryTables t;
    engine::RunResults r = SmallResults();
    r.Sets[1].ValidTasks = 0;
    Populate(t, Options(true, true, false, true, false), r);
    TovSummaryGrid grid;
    grid.Populate(t.psHeaders, t.psFields);
    grid.Format(t.psFields);

    EXPECT_EQ(grid.twoLineRow(), 30);
    EXPECT_EQ(grid.cell(1, 2).Text, QStringLiteral(" Project Summary "));
    EXPECT_EQ(grid.cell(1, 1).Text, QStringLiteral(" %1 ").arg(ReportTitle()));
    EXPECT_EQ(grid.cell(2, 30).Text, QStringLiteral("Baseline %\r\n(Baseline=100%)"));
    EXPECT_TRUE(grid.cell(2, 30).WordWrap);
    EXPECT_EQ(grid.cell(7, 8).Text, QStringLiteral(" 7 "));
    EXPECT_EQ(grid.cell(3, 13).Text, QStringLiteral(" 80.00 "));
    EXPECT_EQ(grid.cell(2, 19).Text, QStringLiteral(" 01-Mar-2021 "));
    // Actual without valid tasks: No Data in red on button face; cost: N/A in black.
    EXPECT_EQ(grid.cell(4, 15).Text, QStringLiteral(" No Data "));
    EXPECT_EQ(grid.cell(4, 15).Style.FontColor, ReportColors::Red);
    EXPECT_EQ(grid.cell(4, 15).Style.Color, ReportColors::clBtnFace);
    EXPECT_EQ(grid.cell(2, 27).Text, QStringLiteral(" N/A "));
    EXPECT_EQ(grid.cell(2, 27).Style.FontColor, ReportColors::Black);
    EXPECT_EQ(grid.cell(2, 27).Style.Color, ReportColors::clBtnFace);
    EXPECT_EQ(grid.cell(2, 13).Style.Color, ReportColors::PaleBlue);
    // The grey cells are never given a value.
    EXPECT_EQ(grid.cell(3, 19).Text, QStringLiteral("  "));

    int merged = 0;
    for (int i = 1; i <= t.psHeaders.getCount(); ++i) {
        merged += t.psHeaders.getItems(i)->getMerge() ? 1 : 0;
    }
    for (int i = 1; i <= t.psFields.getCount(); ++i) {
        merged += t.ps(i).getMerge() ? 1 : 0;
    }
    EXPECT_EQ(static_cast<int>(grid.merges().size()), merged);
    // A border line is shared with the neighbour: both sides always agree.
    for (int row = 1; row <= TovSummaryGrid::RowCount; ++row) {
        for (int col = 1; col <= TovSummaryGrid::ColCount; ++col) {
            if (row > 1) {
                EXPECT_EQ(grid.cell(col, row).Style.GridLineTopColor,
                          grid.cell(col, row - 1).Style.GridLineBottomColor);
            }
            if (col > 1) {
                EXPECT_EQ(grid.cell(col, row).Style.GridLineLeftColor,
                          grid.cell(col - 1, row).Style.GridLineRightColor);
            }
        }
    }
}

TEST(ChartData, FillsTheHeadFields) {
    SummaryTables t;
    engine::RunResults r = SmallResults();
    engine::PopulateChartData(Options(true, true, true),
                              {QStringLiteral("T"), QStringLiteral("N"), QStringLiteral("C")}, r,
                              t.cdHeaders, t.cdFields, t.progress);
    EXPECT_EQ(t.cdHeaders.getItems(1)->getCaption(), ReportTitle());
    EXPECT_EQ(t.cd(1).getDateValue(), Mar(31));
    EXPECT_EQ(t.cd(2).getDateValue(), Mar(10));
    EXPECT_EQ(t.cd(3).getDateValue(), Mar(10));
    EXPECT_EQ(t.cd(4).getIntegerValue(), 0);
    EXPECT_EQ(t.cd(5).getIntegerValue(), 1);
    EXPECT_EQ(t.cd(8).getTextValue(), QStringLiteral("C"));
}

TEST(ChartData, BlanksEachDataSetOutsideItsOwnSpan) {
    engine::RunResults r;
    r.ProjectDays = 10;
    r.Days = {0, Mar(1), Mar(2), Mar(3), Mar(4), Mar(5), Mar(6), Mar(7), Mar(8), Mar(9), Mar(10)};
    r.Series.reset(10);
    for (int row = 2; row < engine::SeriesStore::RowCount; ++row) {
        for (int day = 1; day <= 10; ++day) {
            r.Series.at(row, day) = 1.0;
        }
    }
    r.CutOffDate = Mar(6);
    r.Sets[0] = SetResult(1, 0, 0, 0, 0, 4, 8, 0, 0, 0, 0, 0);
    r.Sets[1] = SetResult(1, 0, 0, 0, 0, 1, 10, 0, 0, 0, 0, 0);
    engine::RunOptions o = Options(true, true, true);
    SummaryTables t;
    engine::DeleteTemporaryData(o, r, t.progress);

    const auto shown = [&](int row) {
        QString days;
        for (int day = 1; day <= 10; ++day) {
            days += r.Series.at(row, day) != 0.0 ? QLatin1Char('x') : QLatin1Char('.');
        }
        return days;
    };
    // Baseline 4..8 March: blank up to two days before its start and after its finish.
    for (int row : engine::kDataSetSeriesRows[0]) {
        EXPECT_EQ(shown(row), QStringLiteral("..xxxxxx..")) << row;
    }
    // Actual: blank after the cut off date.
    for (int row : engine::kDataSetSeriesRows[1]) {
        EXPECT_EQ(shown(row), QStringLiteral("xxxxxx....")) << row;
    }
    // Target without valid tasks: blank throughout.
    for (int row : engine::kDataSetSeriesRows[2]) {
        EXPECT_EQ(shown(row), QStringLiteral("..........")) << row;
    }
    // A set that is not generated is left alone.
    r.Series.at(13, 1) = 1.0;
    o.Generate[2] = false;
    engine::DeleteTemporaryData(o, r, t.progress);
    EXPECT_EQ(r.Series.at(13, 1), 1.0);
}

TEST(ChartData, ColumnsHoldDatesAndSeriesWithZeroAsEmptyText) {
    engine::RunResults r;
    r.ProjectDays = 2;
    r.Days = {0, Mar(1), Mar(2)};
    r.Series.reset(2);
    r.Series.at(2, 2) = 12.5;
    const automation::Column dates = engine::ChartDataColumn(r, 1);
    ASSERT_EQ(dates.size(), 2u);
    EXPECT_EQ(std::get<QString>(dates[1]), QStringLiteral("02-Mar-2021"));
    const automation::Column values = engine::ChartDataColumn(r, 2);
    EXPECT_EQ(std::get<QString>(values[0]), QString());
    EXPECT_EQ(std::get<double>(values[1]), 12.5);
}

} // namespace
} // namespace enginetest
