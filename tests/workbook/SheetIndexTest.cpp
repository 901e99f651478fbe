// A large sheet's index, built on several threads, finds every cell as the index built row by
// row does; what that index reports (a reference outside the worksheet) is reported the same.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace workbook;

namespace {

constexpr int kRows = 20000;

// Row r's cells: A a number, B a text (every third row), C a style only; some rows and cells
// without a reference (the next after the one before), every seventh row missing.
std::string row(int r) {
    const std::string n = std::to_string(r);
    std::string text = r % 11 == 0 ? "<row>" : "<row r=\"" + n + "\">";
    text += r % 5 == 0 ? "<c><v>" : "<c r=\"A" + n + "\"><v>";
    text += std::to_string(r * 3) + "</v></c>";
    if (r % 3 == 0) {
        text += "<c r=\"B" + n + "\" t=\"inlineStr\"><is><t>row " + n + "</t></is></c>";
    }
    return text + "<c r=\"C" + n + "\" s=\"1\"/></row>";
}

bool present(int r) {
    return r % 7 != 0 || r % 11 == 0; // a row without a reference follows on from the one before
}

std::string rows(const std::function<std::string(int)>& write) {
    std::string text;
    for (int r = 1; r <= kRows; ++r) {
        if (present(r)) {
            text += write(r);
        }
    }
    return text;
}

// The numbers a row without a reference takes: the one before plus one.
int numberOf(int r) {
    if (r % 11 != 0) {
        return r;
    }
    int before = r - 1;
    while (!present(before)) {
        --before;
    }
    return numberOf(before) + 1;
}

} // namespace

TEST(SheetIndex, ALargeSheetFindsEveryCellAsRowByRow) {
    QTemporaryDir dir;
    // Numbered upwards (indexed on several threads), and with two rows swapped (row by row).
    const std::string inOrder = rows(row);
    std::string swapped = inOrder;
    const std::string first = row(1), second = row(2);
    swapped.replace(0, first.size() + second.size(), second + first);
    for (const std::string& data : {inOrder, swapped}) {
        const QString path = dir.filePath(QStringLiteral("large.xlsx"));
        wbtest::writeWorkbook(path, data);
        Application app;
        const Worksheet sheet = app.workbooks().open(path).worksheets().item(1);
        const Range used = sheet.usedRange();
        EXPECT_EQ(used.lastRow(), numberOf(kRows));
        EXPECT_EQ(used.lastColumn(), 3);
        for (int r = 1; r <= kRows; r += 97) {
            if (!present(r)) {
                continue;
            }
            const int number = numberOf(r);
            EXPECT_EQ(sheet.cells(number, 1).value2().toNumber(), r * 3) << r;
            EXPECT_EQ(sheet.cells(number, 2).value2().toText(),
                      r % 3 == 0 ? QStringLiteral("row %1").arg(r) : QString())
                << r;
            EXPECT_EQ(sheet.cells(number, 3).value2().kind(), CellValue::Kind::Empty) << r;
        }
    }
}

TEST(SheetIndex, AReferenceOutsideTheWorksheetIsNamedAsRowByRow) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faulty.xlsx"));
    wbtest::writeWorkbook(path, rows([](int r) {
                              return r == 15000
                                         ? std::string("<row r=\"15000\"><c r=\"A0\"/></row>")
                                     : r == 19000
                                         ? std::string("<row r=\"19000\"><c r=\"XFE1\"/></row>")
                                         : row(r);
                          }));
    try {
        Application app;
        app.workbooks().open(path).worksheets().item(1).usedRange();
        FAIL() << "opened";
    } catch (const Error& error) {
        EXPECT_TRUE(error.description().contains(QStringLiteral("cell reference A0,")))
            << error.description().toStdString();
    }
}

TEST(SheetIndex, AFormulaInTheLastRowsOfALargeSheetHasItRecalculatedWhenSaved) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formula.xlsx"));
    wbtest::writeWorkbook(path, rows([](int r) {
                              return r == kRows
                                         ? "<row r=\"" + std::to_string(r) + "\"><c r=\"A" +
                                               std::to_string(r) + "\"><f>1+1</f><v>2</v></c></row>"
                                         : row(r);
                          }));
    const QString saved = dir.filePath(QStringLiteral("saved.xlsx"));
    {
        Application app;
        Workbook book = app.workbooks().open(path);
        book.worksheets().item(1).cells(1, 5).setValue(CellValue::number(1));
        book.saveAs(saved);
    }
    EXPECT_NE(wbtest::readParts(saved)["xl/workbook.xml"].find("fullCalcOnLoad=\"1\""),
              std::string::npos);
}
