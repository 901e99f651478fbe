#include "WorkbookRun.h"

#include "FuzzSupport.h"
#include "workbook/Application.h"
#include "workbook/Error.h"

#include <algorithm>

namespace {

void readSheets(const workbook::Workbook& book) {
    const int sheets = std::min(book.worksheets().count(), 4);
    for (int s = 1; s <= sheets; ++s) {
        const workbook::Worksheet sheet = book.worksheets().item(s);
        const workbook::Range used = sheet.usedRange();
        used.address();
        const int lastRow = std::min(used.lastRow(), used.row() + 15);
        const int lastColumn = std::min(used.lastColumn(), used.column() + 7);
        for (int r = used.row(); r <= lastRow; ++r) {
            for (int c = used.column(); c <= lastColumn; ++c) {
                const workbook::Range cell = sheet.cells(r, c);
                cell.value();
                cell.text();
            }
        }
    }
}

} // namespace

void runWorkbook(const QByteArray& package) {
    fuzzsupport::startHeadless();
    const QString input = fuzzsupport::writeInput(package, QStringLiteral("input.xlsx"));
    const QString output = fuzzsupport::scratchPath(QStringLiteral("output.xlsx"));
    workbook::Application app;
    try {
        const workbook::Workbook book = app.workbooks().open(input);
        readSheets(book);
        const workbook::Worksheet first = book.worksheets().item(1);
        first.range(QStringLiteral("B2")).font().setColor(0x0000FF);
        first.insertRows(2, 3);
        first.deleteRows(1, 1);
        book.saveAs(output);
        book.close();
        readSheets(app.workbooks().open(output));
    } catch (const platform::Exception&) {
    }
    app.quit();
}
