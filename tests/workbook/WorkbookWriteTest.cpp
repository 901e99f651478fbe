#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"
#include "workbook/detail/SharedFormula.h"

#include "support/LibreOffice.h"
#include <cmath>

#include <gtest/gtest.h>
#include <limits>

using namespace workbook;
using wbtest::fixture;

namespace {

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class WorkbookWrite : public ::testing::Test {
protected:
    QString saved(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
    Application app;
};

} // namespace

TEST_F(WorkbookWrite, ValuesRoundTripThroughSaveAs) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(1);
    sheet.range(QStringLiteral("A1")).setValue(CellValue::text(QStringLiteral("=SUM(A2:A3)")));
    sheet.range(QStringLiteral("A2")).setValue(CellValue::number(-0.1));
    sheet.range(QStringLiteral("F30"))
        .setValue(CellValue::text(QStringLiteral(" <b>&\"x\"_x0041_ ")));
    sheet.range(QStringLiteral("C2")).setValue(CellValue::number(1e300));
    sheet.range(QStringLiteral("B3")).setValue(CellValue::text(QString())); // keeps the style
    sheet.range(QStringLiteral("D2")).setValue(CellValue());
    sheet.range(QStringLiteral("A9"), QStringLiteral("A10")).setValue(CellValue::number(3));
    EXPECT_EQ(sheet.usedRange().address(), QStringLiteral("A1:F30"));
    book.saveAs(saved("out.xlsx"));
    EXPECT_EQ(book.fullName(), saved("out.xlsx"));
    book.close();

    const Worksheet again = app.workbooks().open(saved("out.xlsx")).worksheets().item(1);
    EXPECT_EQ(again.range(QStringLiteral("A1")).value2(),
              CellValue::text(QStringLiteral("=SUM(A2:A3)")));
    EXPECT_EQ(again.range(QStringLiteral("A2")).value2(), CellValue::number(-0.1));
    EXPECT_EQ(again.range(QStringLiteral("F30")).value2(),
              CellValue::text(QStringLiteral(" <b>&\"x\"_x0041_ ")));
    EXPECT_EQ(again.range(QStringLiteral("C2")).value2(), CellValue::number(1e300));
    EXPECT_TRUE(again.range(QStringLiteral("B3")).value2().isEmpty());
    EXPECT_TRUE(again.range(QStringLiteral("D2")).value2().isEmpty());
    EXPECT_EQ(again.range(QStringLiteral("A10")).value2(), CellValue::number(3));
    // B3 kept its number format: a number written there shows through it.
    again.range(QStringLiteral("B3")).setValue(CellValue::number(-2));
    EXPECT_EQ(again.range(QStringLiteral("B3")).text(), QStringLiteral("-2.00"));
    EXPECT_EQ(again.usedRange().address(), QStringLiteral("A1:F30"));
}

TEST_F(WorkbookWrite, RefusesNonFiniteNumbersAndMisfitArrays) {
    const Worksheet sheet = app.workbooks().open(fixture("template.xlsx")).worksheets().item(1);
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        try {
            sheet.range(QStringLiteral("A2")).setValue(CellValue::number(bad));
            ADD_FAILURE() << "accepted " << bad;
        } catch (const Error& error) {
            EXPECT_EQ(error.code(), kRejectedReference);
            EXPECT_FALSE(error.description().isEmpty());
        }
    }
    EXPECT_THROW(sheet.range(QStringLiteral("A1:A3")).setValues({CellValue::number(1)}), Error);
    EXPECT_THROW(sheet.range(QStringLiteral("A1:A2"))
                     .setValues({CellValue::number(1), CellValue::number(INFINITY)}),
                 Error);
    EXPECT_EQ(sheet.range(QStringLiteral("A2")).value2(), CellValue::number(12.5));
}

TEST_F(WorkbookWrite, ColumnOfDateTextsBecomesDateSerials) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(2);
    sheet.range(QStringLiteral("C8:C12"))
        .setValues({CellValue::text(QStringLiteral("09-Dec-2026")),
                    CellValue::text(QStringLiteral("01-Mar-1900")), CellValue::number(4.5),
                    CellValue::text(QStringLiteral("31-Feb-2026")), CellValue::text(QString())});
    EXPECT_EQ(sheet.range(QStringLiteral("C8")).value2(), CellValue::number(46365));
    EXPECT_EQ(sheet.range(QStringLiteral("C8")).text(), QStringLiteral("09-Dec-2026"));
    EXPECT_EQ(sheet.range(QStringLiteral("C9")).value2(), CellValue::number(61));
    EXPECT_EQ(sheet.range(QStringLiteral("C10")).value2(), CellValue::number(4.5));
    EXPECT_EQ(sheet.range(QStringLiteral("C11")).value2(),
              CellValue::text(QStringLiteral("31-Feb-2026")));
    // A cell that already has a date format keeps it.
    sheet.range(QStringLiteral("A8:A8"))
        .setValues({CellValue::text(QStringLiteral("10-Dec-2026"))});
    EXPECT_EQ(sheet.range(QStringLiteral("A8")).text(), QStringLiteral("10-Dec-2026"));
    // A single text is stored as given.
    sheet.range(QStringLiteral("D8")).setValue(CellValue::text(QStringLiteral("09-Dec-2026")));
    EXPECT_TRUE(sheet.range(QStringLiteral("D8")).value2().isText());

    const Workbook plain = app.workbooks().open(fixture("dates1904.xlsx"));
    plain.worksheets()
        .item(1)
        .range(QStringLiteral("C1:C1"))
        .setValues({CellValue::text(QStringLiteral("02-Jan-1904"))});
    EXPECT_EQ(plain.worksheets().item(1).range(QStringLiteral("C1")).value2(),
              CellValue::number(1));
}

TEST_F(WorkbookWrite, ColoursCloneStylesOnceEach) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(1);
    for (int row = 20; row < 2020; ++row) {
        const Range cell = sheet.cells(row, 1);
        cell.setValue(CellValue::number(row));
        cell.font().setColor(255);
        cell.interior().setColor(12632256);
        cell.font().setColor(int32_t(0xFF000008u)); // window text: automatic
        cell.interior().setColor(16777215);
    }
    sheet.range(QStringLiteral("B2")).font().setColor(0x00FF8040);
    try {
        sheet.range(QStringLiteral("A1")).font().setColor(0x12345678);
        ADD_FAILURE() << "accepted a colour outside the colour values";
    } catch (const Error& error) {
        EXPECT_EQ(error.code(), kRejectedReference);
    }
    book.saveAs(saved("colours.xlsx"));
    const auto parts = wbtest::readParts(saved("colours.xlsx"));
    const std::string& styles = parts.at("xl/styles.xml");
    // 5 template styles + (red font, silver fill, automatic font, white fill) + one for B2.
    EXPECT_TRUE(contains(styles, R"(<cellXfs count="10">)")) << styles;
    EXPECT_TRUE(contains(styles, R"(<color rgb="FFFF0000"/>)"));
    EXPECT_TRUE(contains(styles, R"(<fgColor rgb="FFC0C0C0"/>)"));
    EXPECT_TRUE(contains(styles, R"(<fgColor rgb="FFFFFFFF"/>)"));
    EXPECT_TRUE(contains(styles, R"(<color auto="1"/>)"));
    EXPECT_TRUE(contains(styles, R"(<color rgb="FF4080FF"/>)"));
    // B2 keeps its date format under the new font.
    const Worksheet again = app.workbooks().open(saved("colours.xlsx")).worksheets().item(1);
    EXPECT_EQ(again.range(QStringLiteral("B2")).text(), QStringLiteral("09-Dec-2026"));
}

TEST_F(WorkbookWrite, UntouchedPartsAreCopiedByteForByte) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(QStringLiteral("Chart Data"));
    sheet.range(QStringLiteral("D8")).setValue(CellValue::number(1)); // not a chart cell
    book.saveAs(saved("copy.xlsx"));
    const auto before = wbtest::readParts(fixture("template.xlsx"));
    const auto after = wbtest::readParts(saved("copy.xlsx"));
    for (const char* part :
         {"xl/drawings/drawing1.xml", "xl/media/image1.png", "xl/theme/theme1.xml",
          "xl/charts/chart1.xml", "customXml/item1.xml", "xl/printerSettings/printerSettings1.bin",
          "xl/worksheets/sheet1.xml", "xl/worksheets/sheet3.xml", "xl/chartsheets/sheet1.xml",
          "xl/sharedStrings.xml", "xl/styles.xml"}) {
        ASSERT_EQ(after.count(part), 1u) << part;
        EXPECT_EQ(after.at(part), before.at(part)) << part;
    }
    EXPECT_NE(after.at("xl/worksheets/sheet2.xml"), before.at("xl/worksheets/sheet2.xml"));
    // Changed parts are deflated; untouched ones keep their method.
    const auto methods = wbtest::compressionMethods(saved("copy.xlsx"));
    EXPECT_EQ(methods.at("xl/worksheets/sheet2.xml"), ZIP_CM_DEFLATE);
    // calcChain is dropped and the formulas are recalculated on load.
    EXPECT_EQ(after.count("xl/calcChain.xml"), 0u);
    EXPECT_FALSE(contains(after.at("[Content_Types].xml"), "calcChain"));
    EXPECT_FALSE(contains(after.at("xl/_rels/workbook.xml.rels"), "calcChain"));
    EXPECT_TRUE(
        contains(after.at("xl/workbook.xml"), R"(<calcPr calcId="145621" fullCalcOnLoad="1"/>)"));
}

TEST_F(WorkbookWrite, OverwritingASharedFormulaCellExpandsTheGroup) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(1);
    sheet.range(QStringLiteral("B4")).setValue(CellValue::number(0)); // the master
    book.saveAs(saved("shared.xlsx"));
    const std::string xml = wbtest::readParts(saved("shared.xlsx")).at("xl/worksheets/sheet1.xml");
    EXPECT_FALSE(contains(xml, R"(t="shared")"));
    EXPECT_TRUE(contains(xml, R"(<c r="B5"><f>A5*10+$A$2</f><v>32.5</v></c>)")) << xml;
    EXPECT_TRUE(contains(xml, R"(<c r="B7"><f>A7*10+$A$2</f><v>52.5</v></c>)"));
    EXPECT_TRUE(contains(xml, R"(<c r="B4"><v>0</v></c>)"));
    // The untouched extLst survives.
    EXPECT_TRUE(contains(xml, "<x14:conditionalFormattings/>"));
}

TEST(SharedFormula, ShiftsRelativeReferences) {
    const struct {
        const char* formula;
        int dRow, dCol;
        const char* expected;
    } cases[] = {
        {"A1*10+$A$2", 3, 0, "A4*10+$A$2"},
        {"SUM(A1:B2)", 1, 1, "SUM(B2:C3)"},
        {"$A1+A$1", 2, 2, "$A3+C$1"},
        {"'Chart Data'!B8+Sheet2!C3", 1, 0, "'Chart Data'!B9+Sheet2!C4"},
        {"\"A1\"&A1", 1, 0, "\"A1\"&A2"},
        {"SUM(A:A)+SUM(1:1)", 1, 1, "SUM(B:B)+SUM(2:2)"},
        {"LOG10(A1)+1.5E+10", 1, 0, "LOG10(A2)+1.5E+10"},
        {"Table1[Col1]+A1", 1, 0, "Table1[Col1]+A2"},
        {"A1", -1, 0, "#REF!"},
        {"TRUE+ABC12", 0, 1, "TRUE+ABD12"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(workbook::detail::shiftFormula(c.formula, c.dRow, c.dCol), c.expected)
            << c.formula;
    }
}

TEST_F(WorkbookWrite, ActivateSelectAutoFilterUnhideAndPanes) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet summary = book.worksheets().item(1);
    const Worksheet chartData = book.worksheets().item(2);

    EXPECT_TRUE(summary.autoFilterMode());
    summary.setAutoFilterMode(false);
    EXPECT_FALSE(summary.autoFilterMode());

    summary.activate();
    EXPECT_FALSE(app.activeWindow().freezePanes());
    EXPECT_TRUE(app.activeWindow().split());
    app.activeWindow().setSplit(false);
    EXPECT_FALSE(app.activeWindow().split());

    summary.range(QStringLiteral("A1"), QStringLiteral("XFD1")).entireColumn().setHidden(false);
    summary.range(QStringLiteral("A1"), QStringLiteral("A1048576")).entireRow().setHidden(false);

    chartData.activate();
    EXPECT_TRUE(app.activeWindow().freezePanes());
    EXPECT_THROW(book.worksheets().item(3).activate(), Error); // hidden
    app.range(QStringLiteral("B8")).select();
    book.saveAs(saved("views.xlsx"));

    const auto parts = wbtest::readParts(saved("views.xlsx"));
    const std::string& sheet1 = parts.at("xl/worksheets/sheet1.xml");
    const std::string& sheet2 = parts.at("xl/worksheets/sheet2.xml");
    EXPECT_FALSE(contains(sheet1, "<autoFilter"));
    EXPECT_FALSE(contains(sheet1, "hidden="));
    EXPECT_FALSE(contains(sheet1, "<pane"));
    EXPECT_FALSE(contains(sheet1, "tabSelected"));
    EXPECT_TRUE(contains(sheet1, R"(<selection activeCell="C4" sqref="C4"/>)")) << sheet1;
    EXPECT_TRUE(contains(sheet2, R"(<sheetView tabSelected="1" workbookViewId="0">)")) << sheet2;
    EXPECT_TRUE(contains(sheet2, R"(state="frozen")"));
    EXPECT_TRUE(contains(sheet2, R"(<selection pane="bottomLeft" activeCell="B8" sqref="B8"/>)"));
    EXPECT_TRUE(contains(parts.at("xl/workbook.xml"), R"(activeTab="1")"));
    // The chart sheet had no selection: its part is not touched.
    EXPECT_EQ(parts.at("xl/chartsheets/sheet1.xml"),
              wbtest::readParts(fixture("template.xlsx")).at("xl/chartsheets/sheet1.xml"));

    const Workbook again = app.workbooks().open(saved("views.xlsx"));
    EXPECT_EQ(again.activeSheet().name(), QStringLiteral("Chart Data"));
}

TEST_F(WorkbookWrite, MacroWorkbookSavedAsXlsxBecomesPlain) {
    const Workbook book = app.workbooks().open(fixture("macro.xlsm"));
    EXPECT_EQ(book.worksheets().item(1).range(QStringLiteral("A1")).value2(), CellValue::number(7));
    book.saveAs(saved("plain.xlsx"), FileFormat::Xlsx);
    const auto parts = wbtest::readParts(saved("plain.xlsx"));
    EXPECT_EQ(parts.count("xl/vbaProject.bin"), 0u);
    EXPECT_FALSE(contains(parts.at("[Content_Types].xml"), "macroEnabled"));
    EXPECT_FALSE(contains(parts.at("xl/_rels/workbook.xml.rels"), "vbaProject"));
    EXPECT_EQ(occurrences(parts.at("[Content_Types].xml"), "spreadsheetml.sheet.main+xml"), 1u);
    book.saveAs(saved("kept.xlsm"), FileFormat::Xlsm);
    EXPECT_EQ(app.workbooks().open(saved("kept.xlsm")).worksheets().count(), 1);
}

TEST_F(WorkbookWrite, SaveAsFailsWithADescriptionAndLeavesNoTemporaryFile) {
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const QString target = dir.filePath(QStringLiteral("missing-folder/out.xlsx"));
    try {
        book.saveAs(target);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const Error& error) {
        EXPECT_TRUE(error.description().contains(target)) << error.description().toStdString();
    }
    EXPECT_EQ(book.fullName(), fixture("template.xlsx"));
    book.saveAs(saved("ok.xlsx"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ok.xlsx")});
}

TEST_F(WorkbookWrite, WorkbookWithoutStylesGetsThemWhenColoured) {
    wbtest::writeWorkbook(saved("bare.xlsx"), R"(<row r="1"><c r="A1"><v>1</v></c></row>)");
    const Workbook book = app.workbooks().open(saved("bare.xlsx"));
    book.worksheets().item(1).range(QStringLiteral("A1")).interior().setColor(255);
    book.worksheets()
        .item(1)
        .range(QStringLiteral("A2:A2"))
        .setValues({CellValue::text(QStringLiteral("09-Dec-2026"))});
    book.saveAs(saved("styled.xlsx"));
    const Worksheet again = app.workbooks().open(saved("styled.xlsx")).worksheets().item(1);
    EXPECT_EQ(again.range(QStringLiteral("A2")).text(), QStringLiteral("09-Dec-2026"));
    const auto parts = wbtest::readParts(saved("styled.xlsx"));
    EXPECT_TRUE(contains(parts.at("xl/styles.xml"), R"(<fgColor rgb="FFFF0000"/>)"));
    EXPECT_TRUE(contains(parts.at("xl/_rels/workbook.xml.rels"), "styles.xml"));
}

// LibreOffice reads back what the engine wrote.
TEST_F(WorkbookWrite, LibreOfficeReadsTheSavedWorkbook) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    const Workbook book = app.workbooks().open(fixture("template.xlsx"));
    const Worksheet sheet = book.worksheets().item(1);
    sheet.range(QStringLiteral("A2")).setValue(CellValue::number(3.25));
    sheet.range(QStringLiteral("B2")).setValue(CellValue::number(46366));
    sheet.range(QStringLiteral("C2")).setValue(CellValue::text(QStringLiteral("written & read")));
    sheet.range(QStringLiteral("A9:A10"))
        .setValues({CellValue::text(QStringLiteral("09-Dec-2026")), CellValue::number(-7)});
    sheet.range(QStringLiteral("B4")).setValue(CellValue::number(99));
    sheet.cells(9, 2).font().setColor(255);
    sheet.activate();
    book.saveAs(saved("lo.xlsx"));

    const testsupport::OfficeConversion csvRun =
        testsupport::ConvertWithLibreOffice(saved("lo.xlsx"), QStringLiteral("csv"), dir.path());
    ASSERT_TRUE(csvRun.finished) << "LibreOffice timed out";
    QFile csv(csvRun.converted);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << csvRun.output.toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 10);
    EXPECT_EQ(lines[1], QStringLiteral("3.25,12/10/2026,written & read,TRUE,#N/A"));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("1,99,"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("2,32.5,"))) << lines[4].toStdString();
    // The date text became a date serial (the CSV export shows dates in its own pattern).
    EXPECT_TRUE(lines[8].startsWith(QStringLiteral("12/09/2026,"))) << lines[8].toStdString();
    EXPECT_TRUE(lines[9].startsWith(QStringLiteral("-7,"))) << lines[9].toStdString();
}
