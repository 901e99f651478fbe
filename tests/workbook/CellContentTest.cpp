// Every form a stored cell takes, read and overwritten: the cell readers and writers dispatch on
// the cell's type and walk its attributes and children once, so each form is checked here, with
// and without a namespace prefix on the part's elements.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

using namespace workbook;

namespace {

const std::string kSharedStrings = R"(<sst xmlns=")" + wbtest::kMainNamespace +
                                   R"(" count="2" uniqueCount="2"><si><t>zero</t></si>)"
                                   R"(<si><t>one</t></si></sst>)";

// A worksheet part with the given cells in row 1, its elements with `prefix` ("" or "x:").
std::string sheetWithRow(const std::string& cells, const std::string& prefix) {
    const std::string declaration =
        prefix.empty() ? std::string("xmlns") : "xmlns:" + prefix.substr(0, prefix.size() - 1);
    return "<" + prefix + "worksheet " + declaration + R"(=")" + wbtest::kMainNamespace + R"(" )" +
           R"(xmlns:r=")" + wbtest::kRelationshipsNamespace + R"("><)" + prefix + "sheetData><" +
           prefix + R"(row r="1">)" + cells + "</" + prefix + "row></" + prefix + "sheetData></" +
           prefix + "worksheet>";
}

// The cell's XML with every element name given the prefix.
std::string prefixed(std::string xml, const std::string& prefix) {
    if (prefix.empty()) {
        return xml;
    }
    std::string out;
    for (size_t i = 0; i < xml.size(); ++i) {
        out += xml[i];
        if (xml[i] == '<') {
            if (i + 1 < xml.size() && xml[i + 1] == '/') {
                out += '/';
                ++i;
            }
            out += prefix;
        }
    }
    return out;
}

class CellContent : public ::testing::TestWithParam<const char*> {
protected:
    std::string prefix() const { return GetParam(); }
    // Opens a workbook whose row 1 holds the given cells.
    Worksheet open(const std::string& cells) {
        const QString path = dir.filePath(QStringLiteral("book%1.xlsx").arg(++count));
        wbtest::writeZip(path,
                         wbtest::workbookParts(sheetWithRow(prefixed(cells, prefix()), prefix()),
                                               kSharedStrings));
        return app.workbooks().open(path).worksheets().item(1);
    }
    // The worksheet part of the workbook saved now.
    std::string savedSheet() {
        const QString path = dir.filePath(QStringLiteral("saved%1.xlsx").arg(++count));
        app.activeWorkbook().saveAs(path);
        return wbtest::readParts(path).at("xl/worksheets/sheet1.xml");
    }
    QTemporaryDir dir;
    Application app;
    int count = 0;
};

TEST_P(CellContent, ReadsEveryFormOfStoredValue) {
    const struct {
        const char* cell; // the XML of cell A1
        CellValue value;
    } cases[] = {
        {R"(<c r="A1"><v>12.5</v></c>)", CellValue::number(12.5)},
        {R"(<c r="A1" t="n"><v> +3</v></c>)", CellValue::number(3)},
        {R"(<c r="A1" s="2"><v>-1e3</v></c>)", CellValue::number(-1000)},
        {R"(<c r="A1"><v>abc</v></c>)", CellValue::number(0)},
        {R"(<c r="A1"><v> </v></c>)", CellValue()},
        {R"(<c r="A1"><v/></c>)", CellValue()},
        {R"(<c r="A1" s="3"/>)", CellValue()},
        {R"(<c r="A1" t="n"/>)", CellValue()},
        {R"(<c r="A1" t="s"><v>1</v></c>)", CellValue::text(QStringLiteral("one"))},
        {R"(<c t="s" s="4" r="A1"><v>0</v></c>)", CellValue::text(QStringLiteral("zero"))},
        {R"(<c r="A1" t="s"><v> </v></c>)", CellValue()},
        {R"(<c r="A1" t="str"><f>B1</f><v>xy</v></c>)", CellValue::text(QStringLiteral("xy"))},
        {R"(<c r="A1" t="str"><v> </v></c>)", CellValue::text(QStringLiteral(" "))},
        {R"(<c r="A1" t="str"><f>B1</f></c>)", CellValue::text(QString())},
        {R"(<c r="A1" t="str"/>)", CellValue()},
        {R"(<c r="A1" t="inlineStr"><is><t>hi</t></is></c>)",
         CellValue::text(QStringLiteral("hi"))},
        {R"(<c r="A1" t="inlineStr"><v>vv</v><is><t>is</t></is></c>)",
         CellValue::text(QStringLiteral("is"))},
        {R"(<c r="A1" t="inlineStr"><v>vv</v></c>)", CellValue::text(QStringLiteral("vv"))},
        {R"(<c r="A1" t="inlineStr"/>)", CellValue()},
        {R"(<c r="A1" t="b"><v>1</v></c>)", CellValue::boolean(true)},
        {R"(<c r="A1" t="b"><v>0</v></c>)", CellValue::boolean(false)},
        {R"(<c r="A1" t="b"><v>true</v></c>)", CellValue::boolean(true)},
        {R"(<c r="A1" t="e"><f>1/0</f><v>#DIV/0!</v></c>)",
         CellValue::error(QStringLiteral("#DIV/0!"))},
        {R"(<c r="A1" t="d"><v>1900-03-01</v></c>)", CellValue::number(61)},
        {R"(<c r="A1" t="d"><v>12:00:00</v></c>)", CellValue::number(0.5)},
        {R"(<c r="A1" t="d"><v>not a date</v></c>)", CellValue::text(QStringLiteral("not a date"))},
        // Types that only begin like a known one are numbers, as any unknown type.
        {R"(<c r="A1" t="bx"><v>7</v></c>)", CellValue::number(7)},
        {R"(<c r="A1" t="sx"><v>1</v></c>)", CellValue::number(1)},
        {R"(<c r="A1" t="string"><v>2</v></c>)", CellValue::number(2)},
        {R"(<c r="A1" t="inlineStrx"><v>4</v></c>)", CellValue::number(4)},
        {R"(<c r="A1" t="ed"><v>5</v></c>)", CellValue::number(5)},
        {R"(<c r="A1" t=""><v>6</v></c>)", CellValue::number(6)},
        // The first value element counts; an inline string outside an inline cell is ignored.
        {R"(<c r="A1"><f>B1</f><v>8</v><v>9</v></c>)", CellValue::number(8)},
        {R"(<c r="A1"><is><t>x</t></is><v>10</v></c>)", CellValue::number(10)},
        {R"(<c r="A1"><is><t>x</t></is></c>)", CellValue()},
        {R"(<c r="A1" cm="1" t="b" vm="1"><v>1</v></c>)", CellValue::boolean(true)},
    };
    for (const auto& c : cases) {
        const Worksheet sheet = open(c.cell);
        EXPECT_EQ(sheet.range(QStringLiteral("A1")).value2(), c.value) << c.cell;
        app.activeWorkbook().close();
    }
}

TEST_P(CellContent, OverwritingReplacesTheContentAndKeepsTheRest) {
    const struct {
        const char* cell; // the XML of cell A1 before
        CellValue value;
        const char* after; // its XML after the write
    } cases[] = {
        {R"(<c r="A1"/>)", CellValue::number(2.5), R"(<c r="A1"><v>2.5</v></c>)"},
        {R"(<c r="A1" s="3"/>)", CellValue::number(1), R"(<c r="A1" s="3"><v>1</v></c>)"},
        {R"(<c r="A1" s="3"><v>4</v></c>)", CellValue(), R"(<c r="A1" s="3"/>)"},
        {R"(<c r="A1" s="3"><v>4</v></c>)", CellValue::text(QString()), R"(<c r="A1" s="3"/>)"},
        {R"(<c r="A1" s="3" t="s"><v>1</v></c>)", CellValue::number(5),
         R"(<c r="A1" s="3"><v>5</v></c>)"},
        {R"(<c r="A1" t="str" s="2"><f>B1</f><v>x</v></c>)", CellValue::boolean(true),
         R"(<c r="A1" s="2" t="b"><v>1</v></c>)"},
        {R"(<c r="A1" cm="1" vm="2" t="e"><f>1/0</f><v>#N/A</v></c>)",
         CellValue::text(QStringLiteral("a b")),
         R"(<c r="A1" t="inlineStr"><is><t>a b</t></is></c>)"},
        {R"(<c r="A1" t="inlineStr"><is><t>old</t></is></c>)",
         CellValue::text(QStringLiteral(" p")),
         R"(<c r="A1" t="inlineStr"><is><t xml:space="preserve"> p</t></is></c>)"},
        {R"(<c r="A1" t="inlineStr"><is><t>old</t></is></c>)", CellValue(), R"(<c r="A1"/>)"},
        {R"(<c r="A1"><v>1</v><extLst><ext uri="u"/></extLst></c>)",
         CellValue::error(QStringLiteral("#REF!")),
         R"(<c r="A1" t="e"><v>#REF!</v><extLst><ext uri="u"/></extLst></c>)"},
        {R"(<c r="A1"><f>B1</f><v>1</v><f>C1</f><v>2</v><is/></c>)", CellValue::number(3),
         R"(<c r="A1"><v>3</v></c>)"},
        {R"(<c r="A1" t="b" t2="x"><v>1</v></c>)", CellValue::number(0),
         R"(<c r="A1" t2="x"><v>0</v></c>)"},
    };
    for (const auto& c : cases) {
        const Worksheet sheet = open(c.cell);
        sheet.range(QStringLiteral("A1")).setValue(c.value);
        const std::string expected = prefixed(c.after, prefix());
        const std::string xml = savedSheet();
        EXPECT_NE(xml.find(expected), std::string::npos) << c.cell << "\n" << xml;
        app.activeWorkbook().close();
    }
}

TEST_P(CellContent, OverwritingASharedFormulaExpandsItsGroupOnce) {
    const Worksheet sheet =
        open(R"(<c r="A1"><f t="shared" ref="A1:C1" si="0">D1+1</f><v>1</v></c>)"
             R"(<c r="B1"><f t="shared" si="0"/><v>2</v></c>)"
             R"(<c r="C1"><f t="shared" si="0"/><v>3</v></c>)");
    sheet.range(QStringLiteral("A1"), QStringLiteral("B1")).setValue(CellValue::number(9));
    const std::string xml = savedSheet();
    EXPECT_NE(xml.find(prefixed(R"(<c r="A1"><v>9</v></c><c r="B1"><v>9</v></c>)"
                                R"(<c r="C1"><f>F1+1</f><v>3</v></c>)",
                                prefix())),
              std::string::npos)
        << xml;
}

TEST_P(CellContent, ABlockOfValuesMarksTheSheetChangedOnlyWhenItChangesIt) {
    const Worksheet sheet = open(R"(<c r="A1" s="1"><v>1</v></c>)");
    // Clearing cells that do not exist changes nothing: the part is copied untouched.
    sheet.range(QStringLiteral("C5"), QStringLiteral("C7")).setValues({{}, {}, CellValue()});
    const std::string untouched = savedSheet();
    EXPECT_EQ(untouched,
              sheetWithRow(prefixed(R"(<c r="A1" s="1"><v>1</v></c>)", prefix()), prefix()));
    sheet.range(QStringLiteral("A1"), QStringLiteral("A3"))
        .setValues({CellValue(), CellValue::number(2), CellValue::text(QStringLiteral("t"))});
    const std::string xml = savedSheet();
    EXPECT_NE(xml.find(prefixed(R"(<row r="1"><c r="A1" s="1"/></row><row r="2"><c r="A2"><v>2</v>)"
                                R"(</c></row><row r="3"><c r="A3" t="inlineStr"><is><t>t</t></is>)"
                                R"(</c></row>)",
                                prefix())),
              std::string::npos)
        << xml;
}

TEST_P(CellContent, TheUsedRangeBoundsEveryCellWithAValueOrAStyle) {
    // Cell forms and whether each one is used.
    const std::pair<const char*, bool> forms[] = {
        {R"(<c r="@"/>)", false},
        {R"(<c r="@" s="0"/>)", false},
        {R"(<c r="@" s="2"/>)", true},
        {R"(<c r="@"><v>1</v></c>)", true},
        {R"(<c r="@"><v> </v></c>)", false},
        {R"(<c r="@"><v/><v>2</v></c>)", false},
        {R"(<c r="@"><v/><f>A1</f></c>)", true},
        {R"(<c r="@" t="inlineStr"><is><t>x</t></is></c>)", true},
        {R"(<c r="@" t="str"><f>"a"</f></c>)", true},
    };
    uint64_t state = 99;
    const auto next = [&state](uint64_t n) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return (state >> 33) % n;
    };
    for (int sheetNumber = 0; sheetNumber < 40; ++sheetNumber) {
        std::string rows;
        int firstRow = 0, lastRow = 0, firstColumn = 0, lastColumn = 0;
        for (int r = 1; r <= 6; ++r) {
            if (next(4) == 0) {
                continue; // no row element
            }
            rows += "<row r=\"" + std::to_string(r) + "\">";
            for (int c = 1; c <= 8; ++c) {
                if (next(3) == 0) {
                    continue; // no cell element
                }
                const auto& [form, used] = forms[next(std::size(forms))];
                std::string cell = form;
                cell.replace(cell.find('@'), 1, char('A' + c - 1) + std::to_string(r));
                rows += cell;
                if (used) {
                    firstRow = firstRow == 0 ? r : firstRow;
                    lastRow = r;
                    firstColumn = firstColumn == 0 ? c : std::min(firstColumn, c);
                    lastColumn = std::max(lastColumn, c);
                }
            }
            rows += "</row>";
        }
        std::string sheetXml = sheetWithRow("", prefix());
        const std::string emptyRow = "<" + prefix() + R"(row r="1"></)" + prefix() + "row>";
        sheetXml.replace(sheetXml.find(emptyRow), emptyRow.size(), prefixed(rows, prefix()));
        const QString path = dir.filePath(QStringLiteral("used%1.xlsx").arg(sheetNumber));
        wbtest::writeZip(path, wbtest::workbookParts(sheetXml, kSharedStrings));
        const Worksheet sheet = app.workbooks().open(path).worksheets().item(1);
        const auto ref = [](int row, int column) {
            return QString(QChar(u'A' + column - 1)) + QString::number(row);
        };
        QString expected = QStringLiteral("A1");
        if (firstRow != 0) {
            expected = ref(firstRow, firstColumn);
            if (lastRow != firstRow || lastColumn != firstColumn) {
                expected += u':' + ref(lastRow, lastColumn);
            }
        }
        EXPECT_EQ(sheet.usedRange().address(), expected) << rows;
        app.activeWorkbook().close();
    }
}

INSTANTIATE_TEST_SUITE_P(Prefixes, CellContent, ::testing::Values("", "x:"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                             return *param.param == '\0' ? std::string("Plain")
                                                         : std::string("Prefixed");
                         });

} // namespace
