// Spreadsheet engine benchmark: opens the template workbook, fills a Chart Data block of
// 50,000 rows x 37 columns one column at a time after inserting 10,000 rows into its block, and
// saves it; prints each stage's time and the peak memory.
#include "workbook/Application.h"
#include "workbook/CellRef.h"
#include "workbook/Error.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int columns = 37;
    const int firstRow = 8;
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("bench_output.xlsx"));
    try {
        QElapsedTimer timer;
        timer.start();
        workbook::Application app;
        const workbook::Workbook book = app.workbooks().open(QStringLiteral(KRV_WORKBOOK_TEMPLATE));
        const workbook::Worksheet sheet = book.worksheets().item(QStringLiteral("Chart Data"));
        sheet.activate();
        const qint64 openMs = timer.restart();

        // Grow the two-row block as a run does: whole rows inserted inside it, in one call.
        const int insertedRows = 10000;
        sheet.insertRows(firstRow + 1, firstRow + insertedRows);
        const qint64 insertMs = timer.restart();

        const QDate start(2020, 1, 1);
        std::vector<workbook::CellValue> values(static_cast<size_t>(rows));
        for (int column = 1; column <= columns; ++column) {
            for (int i = 0; i < rows; ++i) {
                if (column == 1) {
                    values[size_t(i)] = workbook::CellValue::text(
                        start.addDays(i).toString(QStringLiteral("dd-MMM-yyyy")));
                } else {
                    const double v = (i % 17 == 0) ? 0 : i * 0.25 + column;
                    values[size_t(i)] = v == 0 ? workbook::CellValue::text(QString())
                                               : workbook::CellValue::number(v);
                }
            }
            const QString letters = workbook::columnLetters(column);
            sheet
                .range(letters + QString::number(firstRow),
                       letters + QString::number(firstRow + rows - 1))
                .setValues(values);
        }
        const qint64 fillMs = timer.restart();

        book.saveAs(output);
        const qint64 saveMs = timer.restart();
        book.close();

        std::printf("rows %d, columns %d\n", rows, columns);
        std::printf("open  %8lld ms\n", static_cast<long long>(openMs));
        std::printf("insert %d rows %8lld ms\n", insertedRows, static_cast<long long>(insertMs));
        std::printf("fill  %8lld ms\n", static_cast<long long>(fillMs));
        std::printf("save  %8lld ms\n", static_cast<long long>(saveMs));
        std::printf("total %8lld ms\n",
                    static_cast<long long>(openMs + insertMs + fillMs + saveMs));
        std::printf("output %lld bytes\n", static_cast<long long>(QFileInfo(output).size()));
        std::printf("peak memory %ld KiB\n", peakMemoryKiB());
    } catch (const workbook::Error& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
