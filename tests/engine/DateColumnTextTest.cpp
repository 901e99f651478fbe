#include "RunFixture.h"

namespace enginetest {
namespace {

// The date columns keep the texts of their cells; the texts of numbers are made once and shared
// between the rows that hold the same number. Numbers that meet in one place of the shared
// texts (days 64 apart in a short table, 0 and -0, a day and its half) must each keep their own.
class DateColumnText : public RunFixture {};

TEST_F(DateColumnText, EveryCellKeepsTheTextOfItsOwnValue) {
    Configure(true, true, false, false, false); // both dates of Baseline and of the current data
    const std::vector<automation::Value> values = {
        46027.0,
        46027.0 + 64,
        46027.0 + 128,
        46027.0,
        46027.5,
        46027.25,
        0.0,
        -0.0,
        -5.0,
        -69.0,
        1e15,
        1e15 + 64,
        999999999999999.0,
        2.0 / 3.0,
        1e-300,
        QStringLiteral("01-Mar-2021"),
        QStringLiteral("  "),
        true,
        automation::CellError{QStringLiteral("#N/A")},
        automation::Value(),
    };
    fake::Sheet sheet(QStringLiteral("Tasks"));
    sheet.cells[{1, 1}] = QStringLiteral("Task");
    const int rows = 3 * static_cast<int>(values.size());
    for (int k = 0; k < rows; ++k) {
        // Each column walks the values at its own pace, so that every column meets the texts
        // the others left behind.
        for (int column = 2; column <= 7; ++column) {
            const std::size_t i = static_cast<std::size_t>(k * (column - 1)) % values.size();
            if (values[i].index() != 0) {
                sheet.cells[{k + 2, column}] = values[i];
            }
        }
    }
    sheet.lastColumn = 7;
    sheet.lastRow = rows + 1;
    fake::program().sheets = {sheet, fake::Sheet(QStringLiteral("Project Summary")),
                              fake::Sheet(QStringLiteral("Chart Data"))};
    process.LoadRunSettings(1);
    XL->StartExcel(false);
    process.ExtractTasks();

    const engine::TaskTable& table = process.getTasks();
    ASSERT_EQ(table.taskCount(), rows);
    const auto cell = [&](int k, int column) {
        const auto it = sheet.cells.find({k + 2, column});
        return automation::valueToText(it == sheet.cells.end() ? automation::Value() : it->second);
    };
    for (int k = 0; k < rows; ++k) {
        const engine::TaskRow& row = table.Rows[static_cast<std::size_t>(k)];
        EXPECT_EQ(row.BLStartText, cell(k, 2)) << k;
        EXPECT_EQ(row.BLFinishText, cell(k, 3)) << k;
        EXPECT_EQ(row.StartText, cell(k, 6)) << k;
        EXPECT_EQ(row.FinishText, cell(k, 7)) << k;
    }
}

} // namespace
} // namespace enginetest
