#include "RunFixture.h"

#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"

namespace enginetest {
namespace {

using platform::Format;

class TaskExtraction : public RunFixture {
protected:
    // Starts Excel and extracts the tasks of the scripted workbook; the message of a failure.
    QString Extract(std::vector<fake::Sheet> sheets) {
        fake::program().sheets = std::move(sheets);
        process.LoadRunSettings(1);
        try {
            XL->StartExcel(false);
            process.ExtractTasks();
        } catch (const platform::Exception& e) {
            return e.message();
        }
        return QString();
    }
    const engine::TaskRow& row(int k) { return process.getTasks().Rows.at(k - 1); }
};

TEST_F(TaskExtraction, ReadsOnlyTheRequiredColumnsAndMarksBlankRows) {
    Configure(true, false, false, true, false); // entries 1, 2 and 3
    const std::vector<SheetTask> tasks = {
        {"Design", 1, 5, 40, 400, 2, 6, 50, 500, 0.5},
        {"Notes only", 0, 0, 0, 0, 3, 4, 8, 80, 1}, // only columns that are not required
        {"Build", 0, 9, 0, 0, 0, 0, 0, 0, 0},       // one required cell filled
    };
    ASSERT_EQ(Extract(Workbook(tasks, 2)), QString());
    const engine::TaskTable& table = process.getTasks();
    ASSERT_EQ(table.taskCount(), 5); // two formatted empty rows below the last task
    EXPECT_EQ(process.getResults().TaskCount, 5);
    EXPECT_EQ(row(1).BLStartText, QString::number(Mar(1)));
    EXPECT_EQ(row(1).BLFinishText, QString::number(Mar(5)));
    EXPECT_EQ(row(1).BLManHours, 40.0);
    // Entries that are not required keep their initial values.
    EXPECT_EQ(row(1).BLCost, 0.0);
    EXPECT_TRUE(row(1).StartText.isEmpty());
    EXPECT_EQ(row(1).ManHoursValue, 0.0);
    EXPECT_EQ(row(1).PctComplete, 0.0);

    const bool blank[] = {false, true, false, true, true};
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(row(k).Blank, blank[k - 1]) << k;
    }
    EXPECT_TRUE(table.FilterValues.empty());
    // One range read per required column, then the workbook is closed and Excel quit.
    EXPECT_EQ(fake::program().calls.count(QStringLiteral("Range.Value2")), 3);
    EXPECT_TRUE(fake::program().calls.contains(QStringLiteral("Workbook.Close")));
    EXPECT_TRUE(fake::program().quitCalled);
    EXPECT_TRUE(fake::program().lastOpen.readOnly);
    EXPECT_EQ(fake::program().lastOpen.fileName, path(QStringLiteral("plan.xlsx")));
    EXPECT_TRUE(progress.lines.join(QLatin1Char('\n'))
                    .contains(Format(UIT(txt::ExtractingDataSourceMapTask), {3, 3}) +
                              QLatin1Char(' ') + UIT(txt::Complete)));
}

TEST_F(TaskExtraction, QuantitiesAreReadLeniently) {
    Configure(false, true, false, true, true); // entries 5 to 9
    auto sheets = Workbook({{"A", 0, 0, 0, 0, 1, 2, 0, 0, 0},
                            {"B", 0, 0, 0, 0, 1, 2, 0, 0, 0},
                            {"C", 0, 0, 0, 0, 1, 2, 0, 0, 0}});
    auto& cells = sheets.front().cells;
    cells[{2, 8}] = 12.5;
    cells[{2, 9}] = QStringLiteral("(120)");
    cells[{2, 10}] = QStringLiteral("50%");
    cells[{3, 8}] = QStringLiteral(" +75 ");
    cells[{3, 9}] = QStringLiteral("lots");
    cells[{3, 10}] = automation::CellError{QStringLiteral("#N/A")};
    cells[{4, 8}] = true;
    cells[{4, 10}] = 0.25;
    ASSERT_EQ(Extract(std::move(sheets)), QString());
    EXPECT_EQ(row(1).ManHoursValue, 12.5);
    EXPECT_EQ(row(1).CostValue, -120.0);
    EXPECT_EQ(row(1).PctComplete, 50.0);
    EXPECT_EQ(row(2).ManHoursValue, 75.0);
    EXPECT_EQ(row(2).CostValue, 0.0);
    EXPECT_EQ(row(2).PctComplete, 0.0);
    EXPECT_EQ(row(3).ManHoursValue, 0.0);
    EXPECT_EQ(row(3).PctComplete, 0.25);
    EXPECT_FALSE(row(3).Blank);
}

TEST_F(TaskExtraction, FilterColumnsAreReadAsDisplayedTexts) {
    Configure(true, false, false, true, false);
    AddFilterRow(QStringLiteral("A"), 0, QStringLiteral("Design"));
    AddFilterRow(QStringLiteral("D"), 7, QString(), false);
    ASSERT_EQ(Extract(Workbook(
                  {{"Design", 1, 5, 40, 0, 0, 0, 0, 0, 0}, {nullptr, 2, 6, 0, 0, 0, 0, 0, 0, 0}})),
              QString());
    const auto& values = process.getTasks().FilterValues;
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0], (std::vector<QString>{QStringLiteral("Design"), QString()}));
    EXPECT_EQ(values[1], (std::vector<QString>{QStringLiteral("40"), QString()}));
    EXPECT_TRUE(progress.lines.join(QLatin1Char('\n'))
                    .contains(Format(UIT(txt::ExtractingDataSourceFilterTask), {2, 2})));
}

TEST_F(TaskExtraction, AWorksheetWithoutTaskRowsRaisesTheNoTasksError) {
    const QString message = Extract(Workbook({}));
    EXPECT_EQ(message,
              QStringList({Format(UIT(txt::DoesNotContainAnyTasks), {UIT(txt::TaskWorksheet_750)}),
                           QString(),
                           Format(QStringLiteral("%s: %s"), {UIT(txt::TaskWorksheet_750), "Tasks"}),
                           QString(),
                           Format(UIT(txt::PleaseSelectValid_1462), {UIT(txt::TaskWorksheet_750)})})
                  .join(QStringLiteral("\r\n")));
}

// A header row that leaves no task row within the sheet is refused before any row is counted or
// read, whatever loaded it: the extreme ones would overflow the row numbers or ask for billions
// of task rows.
TEST_F(TaskExtraction, AHeaderRowOutsideTheSheetIsRefusedBeforeAnyRowIsRead) {
    const QString caption = UIT(txt::TaskHeaderRow_751);
    const auto refusal = [&](int row) {
        return QStringList(
                   {Format(UIT(txt::IsInvalid), {caption}), QString(),
                    Format(UIT(txt::ValidRange), {1, 1048575}), QString(),
                    Format(QStringLiteral("%s: %s"), {caption, QString::number(row)}), QString(),
                    Format(QStringLiteral("%s: %s"),
                           {UIT(txt::DataSourceFile_747), path(QStringLiteral("plan.xlsx"))}),
                    QString(), Format(UIT(txt::PleaseEnterValid), {caption})})
            .join(QStringLiteral("\r\n"));
    };
    const QString noTasks = Format(UIT(txt::DoesNotContainAnyTasks), {UIT(txt::TaskWorksheet_750)});
    enum class Outcome { Refused, NoTasks, Extracted };
    const struct {
        int row;
        Outcome outcome;
    } cases[] = {
        {2147483647, Outcome::Refused}, {-2147483000, Outcome::Refused},
        {-1, Outcome::Refused},         {0, Outcome::Refused},
        {1048577, Outcome::Refused},    {1048576, Outcome::Refused}, // the sheet's last row
        {1048575, Outcome::NoTasks},    {1, Outcome::Extracted},
    };
    for (const auto& c : cases) {
        fake::program() = fake::Program{};
        sd().SCF->setDSF_THR(c.row);
        const QString message = Extract(Workbook({{"Design", 1, 5, 40, 0, 0, 0, 0, 0, 0}}));
        switch (c.outcome) {
        case Outcome::Refused:
            EXPECT_EQ(message, refusal(c.row)) << c.row;
            EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("Range.Value2"))) << c.row;
            EXPECT_TRUE(process.getTasks().Rows.empty()) << c.row;
            break;
        case Outcome::NoTasks:
            EXPECT_TRUE(message.startsWith(noTasks)) << c.row << message.toStdString();
            break;
        case Outcome::Extracted:
            EXPECT_EQ(message, QString()) << c.row;
            EXPECT_EQ(process.getTasks().taskCount(), 1) << c.row;
            break;
        }
    }
}

TEST_F(TaskExtraction, AMissingTaskWorksheetClosesTheWorkbookAndQuitsExcel) {
    sd().SCF->setDSF_TaskWS(QStringLiteral("Schedule"));
    const QString message = Extract(Workbook({{"Design", 1, 5, 40, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(
        message,
        QStringList({Format(UIT(txt::WasNotFound),
                            {UIT(txt::TaskWorksheet_750), UIT(txt::DataSourceFile_747)}),
                     QString(),
                     Format(QStringLiteral("%s: %s"), {UIT(txt::TaskWorksheet_750), "Schedule"}),
                     QString(),
                     Format(QStringLiteral("%s: %s"),
                            {UIT(txt::DataSourceFile_747), path(QStringLiteral("plan.xlsx"))})})
            .join(QStringLiteral("\r\n")));
    const QStringList& calls = fake::program().calls;
    EXPECT_TRUE(calls.contains(QStringLiteral("Workbook.Close")));
    EXPECT_TRUE(fake::program().quitCalled);
    EXPECT_FALSE(calls.contains(QStringLiteral("Range.Value2")));
}

} // namespace
} // namespace enginetest
