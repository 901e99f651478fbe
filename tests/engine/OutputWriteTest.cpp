#include "OutputFixtures.h"
#include "RecordingAutomation.h"
#include "RunFixture.h"

#include "engine/OutputWorkbook.h"
#include "platform/Format.h"
#include "services/TextIds.h"

#include <QFile>
#include <QRegularExpression>

#include <variant>

namespace enginetest {
namespace {

using platform::Format;

const std::vector<SheetTask> kTasks = {
    {"Design", 1, 5, 50, 500, 2, 6, 60, 600, 1},
    {"Build", 6, 15, 100, 1000, 7, 18, 120, 1200, 0.5},
    {"Notes", 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"Test", 16, 20, 20, 200, 19, 22, 30, 300, 0},
};

constexpr int kChartData = 2;
constexpr int kProjectSummary = 1;

// A run against the scripted spreadsheet program whose template's Chart Data block spans rows 8
// and 9, with the row operations and range writes recorded.
class OutputWrite : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        automation::setApplicationFactory(&recording::createApplication);
        recording::log().clear();
        fake::program().sheets = Sheets(9);
    }

    static std::vector<fake::Sheet> Sheets(int chartDataLastRow) {
        std::vector<fake::Sheet> sheets = Workbook(kTasks, 1);
        sheets[kChartData].lastRow = chartDataLastRow;
        sheets[kChartData].lastColumn = 37;
        sheets[kProjectSummary].lastRow = 38;
        sheets[kProjectSummary].lastColumn = 7;
        return sheets;
    }

    static fake::Sheet& sheet(int index) {
        return fake::program().sheets[static_cast<std::size_t>(index)];
    }
    static automation::Value cell(int index, const char* ref) {
        const auto it = sheet(index).cells.find(fake::parseCell(QString::fromLatin1(ref)));
        return it == sheet(index).cells.end() ? automation::Value() : it->second;
    }
    static QStringList entries(const QString& prefix) {
        return recording::log().filter(QRegularExpression(QStringLiteral("^") + prefix));
    }

    // Opens the template and makes its Chart Data worksheet current, as the output stage does.
    void OpenChartData() {
        XL->StartExcel(false);
        XL->setFileDesc(UIT(txt::TemplateFile_752));
        XL->OpenWorkbook(path(QStringLiteral("template.xlsx")), QString(), QString(), true);
        XL->setWorksheetDesc(UIT(txt::ChartDataWorksheet_756));
        XL->setWorksheetName(QStringLiteral("Chart Data"));
        XL->InitWorksheet();
        fake::program().calls.clear();
    }
};

TEST_F(OutputWrite, AWholeRunWritesBothWorksheetsAndSavesTheOutputFile) {
    Configure(true, true, false, true, false);
    ASSERT_TRUE(process.Run(1)) << keys().join(QLatin1Char(',')).toStdString();

    // Project Summary: the title, numbers and dates as numbers, texts, N/A on silver.
    EXPECT_EQ(cell(kProjectSummary, "A1"), automation::Value(ReportTitle()));
    EXPECT_EQ(cell(kProjectSummary, "G1"), automation::Value(double(Mar(31))));
    EXPECT_EQ(cell(kProjectSummary, "G8"), automation::Value(5.0));
    EXPECT_EQ(cell(kProjectSummary, "G9"), automation::Value(2.0));
    EXPECT_EQ(cell(kProjectSummary, "B13"), automation::Value(3.0));
    EXPECT_EQ(cell(kProjectSummary, "B7"), automation::Value(QStringLiteral("Plant Upgrade")));
    EXPECT_EQ(cell(kProjectSummary, "B27"), automation::Value(UIT(txt::NA)));
    EXPECT_EQ(sheet(kProjectSummary).fillColours.value({27, 2}), 0xC0C0C0);
    EXPECT_FALSE(sheet(kProjectSummary).fontColours.contains({27, 2}));
    EXPECT_EQ(cell(kProjectSummary, "F13"), automation::Value(UIT(txt::NA)));
    // Two blank rows are ignored tasks (red); the finish slipped by two days (red).
    EXPECT_EQ(sheet(kProjectSummary).fontColours.value({9, 7}), 0x0000FF);
    EXPECT_EQ(cell(kProjectSummary, "B35"), automation::Value(2.0));
    EXPECT_EQ(sheet(kProjectSummary).fontColours.value({35, 2}), 0x0000FF);

    // Chart Data: the head and a block of 22 days from row 8, each column written at once.
    EXPECT_EQ(cell(kChartData, "A1"), automation::Value(ReportTitle()));
    EXPECT_EQ(cell(kChartData, "J1"), automation::Value(double(Mar(31))));
    EXPECT_EQ(cell(kChartData, "I5"), automation::Value(double(Mar(10))));
    EXPECT_EQ(cell(kChartData, "J5"), automation::Value(1.0));
    EXPECT_EQ(entries(QStringLiteral("delete")), QStringList());
    EXPECT_EQ(entries(QStringLiteral("insert")), QStringList{QStringLiteral("insert A9:A28")});
    const QStringList writes = entries(QStringLiteral("values"));
    ASSERT_EQ(writes.size(), 37);
    EXPECT_EQ(writes.first(), QStringLiteral("values A8:A29 22"));
    EXPECT_EQ(writes.last(), QStringLiteral("values AK8:AK29 22"));
    EXPECT_EQ(cell(kChartData, "A8"), automation::Value(MarText(1)));
    EXPECT_EQ(cell(kChartData, "A29"), automation::Value(MarText(22)));
    // Baseline man hours S curve on 1 March: 50 / 5 days; the Actual S curve is blank after the
    // cut off date.
    EXPECT_EQ(cell(kChartData, "B8"), automation::Value(10.0));
    EXPECT_EQ(cell(kChartData, "C20"), automation::Value(QString()));
    EXPECT_EQ(sheet(kChartData).fillColours.value({8, 2}), 0xFFFFFF);
    EXPECT_EQ(sheet(kChartData).fontColours.value({8, 2}), 0);

    EXPECT_EQ(fake::program().lastSaveAs.fileName, path(QStringLiteral("result.xlsx")));
    EXPECT_EQ(fake::program().calls.count(QStringLiteral("Workbooks.Open")), 4);
    EXPECT_TRUE(fake::program().quitCalled);
    EXPECT_TRUE(XL->InsertData.empty());
    EXPECT_EQ(XL->getWorksheetName(), QStringLiteral("Project Summary"));
    EXPECT_EQ(XL->getFilePath(), path(QStringLiteral("result.xlsx")));
}

TEST_F(OutputWrite, TheBlockIsResizedBetweenItsFirstAndLastRows) {
    const struct {
        int usedLastRow;
        int days;
        QStringList rows;
    } cases[] = {
        {9, 1, {}},
        {9, 2, {}},
        {9, 30, {QStringLiteral("insert A9:A36")}},
        {20, 5, {QStringLiteral("delete A9:A19"), QStringLiteral("insert A9:A11")}},
        {20, 2, {QStringLiteral("delete A9:A19")}},
    };
    for (const auto& c : cases) {
        fake::program().sheets = Sheets(c.usedLastRow);
        OpenChartData();
        recording::log().clear();
        engine::ClearChartData(*XL, *CD_RHs, *CD_RFs, {8, c.days, Mar(31)}, c.usedLastRow);
        EXPECT_EQ(entries(QStringLiteral("delete|insert")), c.rows)
            << c.usedLastRow << " " << c.days;
        // Placeholder dates from the first of the report date's month; a one-day block leaves
        // the row after it blank.
        EXPECT_EQ(cell(kChartData, "A8"), automation::Value(double(Mar(1))));
        EXPECT_EQ(cell(kChartData, "A9"),
                  c.days == 1 ? automation::Value(QString()) : automation::Value(double(Mar(2))))
            << c.days;
        EXPECT_EQ(sheet(kChartData).fillColours.value({9, 37}), 0xFFFFFF);
        // Rows below the resized block are not touched.
        EXPECT_FALSE(sheet(kChartData).fillColours.contains({c.days + 9, 1})) << c.days;
        XL->QuitExcel();
    }
    // The head's fields take their own colours, system colours passed unchanged.
    EXPECT_EQ(sheet(kChartData).fontColours.value({1, 10}), static_cast<int>(0xFF000008));
    EXPECT_EQ(sheet(kChartData).fillColours.value({4, 9}), 0);
    EXPECT_EQ(sheet(kChartData).fontColours.value({4, 9}), 0xFFFFFF);
}

TEST(ChartBlock, EndsWhereTheChartsBlockEndsWhenSomethingStandsBelowIt) {
    using Span = automation::RowSpan;
    const struct {
        int usedLastRow;
        std::vector<Span> charts;
        int last;
    } cases[] = {
        {9, {}, 9},                          // no chart the program can read: the used rows
        {9, {{8, 9}, {4, 5}, {7, 7}}, 9},    // the default template
        {12, {{8, 9}, {4, 5}, {7, 7}}, 9},   // a note in row 12
        {12, {{8, 9}, {8, 10}}, 9},          // the shortest range keeps its end
        {12, {{7, 9}}, 9},                   // a range from the headings
        {12, {{8, 8}, {9, 11}, {1, 5}}, 12}, // no range spans the block's first two rows
        {12, {{8, 20}}, 12},                 // ranges beyond the used rows change nothing
        {40, {{8, 40}}, 40},                 // a previous output as the template
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engine::ChartBlockLastRow(8, c.usedLastRow, c.charts), c.last)
            << c.usedLastRow << " " << c.charts.size();
    }
}

TEST_F(OutputWrite, EachColumnOfTheBlockIsOneRangeWrite) {
    OpenChartData();
    engine::RunResults results;
    results.ProjectDays = 30;
    results.Days.assign(31, 0);
    for (int i = 1; i <= 30; ++i) {
        results.Days[static_cast<std::size_t>(i)] = Mar(i);
    }
    results.Series.reset(30);
    results.Series.at(37, 30) = 0.5;
    engine::InsertChartData(*XL, *CD_RHs, *CD_RFs, results, {8, 30, Mar(31)});
    // The title, the eight fields and one write per column.
    EXPECT_EQ(fake::program().calls.count(QStringLiteral("Range.SetValue")), 1 + 8 + 37);
    const QStringList writes = entries(QStringLiteral("values"));
    ASSERT_EQ(writes.size(), 37);
    EXPECT_EQ(writes[1], QStringLiteral("values B8:B37 30"));
    EXPECT_EQ(cell(kChartData, "AK37"), automation::Value(0.5));
    EXPECT_EQ(cell(kChartData, "AK36"), automation::Value(QString()));
    EXPECT_TRUE(XL->InsertData.empty());
}

TEST_F(OutputWrite, ABlockThatCannotBeResizedStopsTheRunBeforeAnythingIsWritten) {
    fake::program().sheets = Sheets(8);
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")});
    const QStringList& lines = dialogue.shown.back().lines;
    EXPECT_TRUE(
        lines.contains(Format(UIT(txt::Details_1423),
                              {Format(UIT(txt::IsInvalid), {UIT(txt::ChartDataWorksheet_756)})})));
    EXPECT_TRUE(lines.contains(Format(QStringLiteral("%s: %s"), {UIT(txt::ChartDataWorksheet_756),
                                                                 QStringLiteral("Chart Data")})));
    // The block is one row (row 8) where two are needed: the message says so, not that rows
    // could not be inserted.
    EXPECT_EQ(lines.last(),
              Format(UIT(txt::ChartDataBlockInNeeds), {UIT(txt::ChartDataWorksheet_756), 8, 1}));
    EXPECT_TRUE(sheet(kProjectSummary).cells.empty());
    EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("Workbook.SaveAs")));
    EXPECT_TRUE(fake::program().quitCalled);
}

// Answers "read-only" for the Output File from the second test on.
class ReadOnlyLater : public platform::FileAccess {
public:
    platform::FileAnswer isReadOnly(const QString&) override {
        return ++calls >= 2 ? platform::FileAnswer::yes() : platform::FileAnswer::no();
    }
    platform::FileAnswer isInUse(const QString&) override { return platform::FileAnswer::no(); }
    int calls = 0;
};

TEST_F(OutputWrite, AnOutputFileMadeReadOnlyDuringTheRunStopsTheSave) {
    QFile existing(path(QStringLiteral("result.xlsx")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    platform::setFileAccess(std::make_unique<ReadOnlyLater>());
    dialogue.answers.push_back(mrYes); // overwrite the existing Output File
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), (QStringList{QStringLiteral("UP014"), QStringLiteral("UP002")}));
    const QStringList& lines = dialogue.shown.back().lines;
    EXPECT_TRUE(lines.contains(
        Format(UIT(txt::Details_1423),
               {Format(UIT(txt::FollowingExistsAndIsRead), {UIT(txt::OutputFile_757)})})));
    EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("Workbook.SaveAs")));
    EXPECT_TRUE(fake::program().quitCalled);
}

} // namespace
} // namespace enginetest
