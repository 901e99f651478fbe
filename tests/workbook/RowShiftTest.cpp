#include "workbook/detail/RowShift.h"

#include "workbook/Error.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace workbook::detail;

namespace {

std::unique_ptr<pugi::xml_document> load(const char* xml) {
    auto doc = std::make_unique<pugi::xml_document>();
    const auto result = doc->load_string(xml, pugi::parse_default | pugi::parse_ws_pcdata);
    EXPECT_TRUE(result) << result.description();
    return doc;
}

// The value an XPath query selects (attribute value or element text); "<none>" when nothing.
std::string at(const pugi::xml_document& doc, const char* xpath) {
    const pugi::xpath_node n = doc.select_node(xpath);
    if (n.attribute())
        return n.attribute().value();
    if (n.node())
        return n.node().text().get();
    return "<none>";
}

// The rows of sheetData as "number:cell refs" lines.
std::string rows(const pugi::xml_document& doc) {
    std::string out;
    for (pugi::xml_node row : doc.select_node("//sheetData").node().children("row")) {
        out += row.attribute("r").value();
        out += ':';
        for (pugi::xml_node c : row.children("c")) {
            out += c.attribute("r").value();
            if (c.attribute("s"))
                out += std::string("/s") + c.attribute("s").value();
            out += ' ';
        }
        out += '|';
    }
    return out;
}

const char* const kDataSheet =
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
  xmlns:x14="http://schemas.microsoft.com/office/spreadsheetml/2009/9/main"
  xmlns:xm="http://schemas.microsoft.com/office/excel/2006/main">
<dimension ref="A1:C10"/>
<sheetViews><sheetView workbookViewId="0"><selection activeCell="B9" sqref="B9"/></sheetView></sheetViews>
<sheetData>
<row r="1"><c r="A1" t="s"><v>0</v></c></row>
<row r="8" ht="20" customHeight="1"><c r="A8" s="3"><v>1</v></c><c r="B8"><f>SUM(B1:B7)</f><v>5</v></c></row>
<row r="9"><c r="A9" s="3"><v>2</v></c><c r="C9"><f>A8+A9+Other!A9</f></c></row>
<row r="10"><c r="A10"><f>SUM(A8:A9)</f></c><c r="B10"><f t="shared" ref="B10:B11" si="0">A10*2</f></c></row>
<row r="11"><c r="B11"><f t="shared" si="0"/></c></row>
</sheetData>
<autoFilter ref="A8:C11"/>
<mergeCells count="2"><mergeCell ref="A1:C1"/><mergeCell ref="A9:B9"/></mergeCells>
<conditionalFormatting sqref="A8:A10"><cfRule type="expression" priority="1"><formula>A7&lt;A8</formula></cfRule></conditionalFormatting>
<dataValidations count="1"><dataValidation type="list" sqref="B9:B10"><formula1>$A$8:$A$10</formula1></dataValidation></dataValidations>
<hyperlinks><hyperlink ref="A10" location="'Data'!A9"/></hyperlinks>
<rowBreaks count="1" manualBreakCount="1"><brk id="9" max="16383" man="1"/></rowBreaks>
<extLst><ext uri="{78C0D931-6437-407d-A8EE-F0AAD7539E65}"><x14:conditionalFormattings>
<x14:conditionalFormatting><x14:cfRule type="expression" priority="2"><xm:f>$A$9&gt;A9</xm:f></x14:cfRule><xm:sqref>C9:C10</xm:sqref></x14:conditionalFormatting>
</x14:conditionalFormattings></ext><ext uri="{05C60535-1F16-4fd2-B633-F4F36F0B64E0}"><x14:sparklineGroups><x14:sparklineGroup><x14:sparklines>
<x14:sparkline><xm:f>Data!A10:C10</xm:f><xm:sqref>D1</xm:sqref></x14:sparkline>
<x14:sparkline><xm:f>Data!A1:C1</xm:f><xm:sqref>D9</xm:sqref></x14:sparkline>
</x14:sparklines></x14:sparklineGroup></x14:sparklineGroups></ext></extLst>
</worksheet>)";

} // namespace

TEST(RowShiftTest, InsertMovesRowsStretchesRangesAndCopiesTheFormatAbove) {
    auto doc = load(kDataSheet);
    ASSERT_TRUE(shiftWorksheet(*doc, "Data", "Data", RowChange::insert(9, 3)));
    EXPECT_EQ(rows(*doc), "1:A1 |8:A8/s3 B8 |9:A9/s3 |10:A10/s3 |11:A11/s3 |12:A12/s3 C12 |"
                          "13:A13 B13 |14:B14 |");
    EXPECT_EQ(at(*doc, "//row[@r='10']/@ht"), "20");
    EXPECT_EQ(at(*doc, "//c[@r='B8']/f"), "SUM(B1:B7)");
    EXPECT_EQ(at(*doc, "//c[@r='C12']/f"), "A8+A12+Other!A9");
    EXPECT_EQ(at(*doc, "//c[@r='A13']/f"), "SUM(A8:A12)");
    // The shared formula is written out cell by cell.
    EXPECT_EQ(at(*doc, "//c[@r='B13']/f"), "A13*2");
    EXPECT_EQ(at(*doc, "//c[@r='B14']/f"), "A14*2");
    EXPECT_EQ(at(*doc, "//c[@r='B14']/f/@t"), "<none>");
    EXPECT_EQ(at(*doc, "//dimension/@ref"), "A1:C13");
    EXPECT_EQ(at(*doc, "//selection/@activeCell"), "B12");
    EXPECT_EQ(at(*doc, "//autoFilter/@ref"), "A8:C14");
    EXPECT_EQ(at(*doc, "//mergeCell[1]/@ref"), "A1:C1");
    EXPECT_EQ(at(*doc, "//mergeCell[2]/@ref"), "A12:B12");
    EXPECT_EQ(at(*doc, "//conditionalFormatting/@sqref"), "A8:A13");
    EXPECT_EQ(at(*doc, "//conditionalFormatting/cfRule/formula"), "A7<A8");
    EXPECT_EQ(at(*doc, "//dataValidation/@sqref"), "B12:B13");
    EXPECT_EQ(at(*doc, "//dataValidation/formula1"), "$A$8:$A$13");
    EXPECT_EQ(at(*doc, "//hyperlink/@ref"), "A13");
    EXPECT_EQ(at(*doc, "//hyperlink/@location"), "'Data'!A12");
    EXPECT_EQ(at(*doc, "//brk/@id"), "12");
    EXPECT_EQ(at(*doc, "//xm:sqref"), "C12:C13");
    EXPECT_EQ(at(*doc, "//xm:f"), "$A$12>A12");
    // Sparkline data follows the rows as any reference does; its location moves with its cell.
    EXPECT_EQ(at(*doc, "//x14:sparkline[1]/xm:f"), "Data!A13:C13");
    EXPECT_EQ(at(*doc, "//x14:sparkline[1]/xm:sqref"), "D1");
    EXPECT_EQ(at(*doc, "//x14:sparkline[2]/xm:sqref"), "D12");
}

TEST(RowShiftTest, DeleteRemovesRowsAndWhollyDeletedReferences) {
    auto doc = load(kDataSheet);
    ASSERT_TRUE(shiftWorksheet(*doc, "Data", "Data", RowChange::remove(8, 2)));
    EXPECT_EQ(rows(*doc), "1:A1 |8:A8 B8 |9:B9 |");
    EXPECT_EQ(at(*doc, "//c[@r='A8']/f"), "SUM(#REF!)");
    EXPECT_EQ(at(*doc, "//c[@r='B8']/f"), "A8*2");
    EXPECT_EQ(at(*doc, "//dimension/@ref"), "A1:C8");
    EXPECT_EQ(at(*doc, "//selection/@activeCell"), "A8");
    EXPECT_EQ(at(*doc, "//selection/@sqref"), "A8");
    EXPECT_EQ(at(*doc, "//mergeCells/@count"), "1");
    EXPECT_EQ(at(*doc, "//mergeCell[2]/@ref"), "<none>");
    // The rule keeps its range's remaining cell; its formula reads from its new first cell.
    EXPECT_EQ(at(*doc, "//conditionalFormatting/@sqref"), "A8:A8");
    EXPECT_EQ(at(*doc, "//conditionalFormatting/cfRule/formula"), "A7<A8");
    EXPECT_EQ(at(*doc, "//dataValidation/@sqref"), "B8:B8");
    EXPECT_EQ(at(*doc, "//dataValidation/formula1"), "$A$8:$A$8");
    EXPECT_EQ(at(*doc, "//hyperlink/@ref"), "A8");
    EXPECT_EQ(at(*doc, "//hyperlink/@location"), "'Data'!#REF!");
    EXPECT_EQ(at(*doc, "//brk"), "<none>");
    EXPECT_EQ(at(*doc, "//rowBreaks/@count"), "0");
    EXPECT_EQ(at(*doc, "//xm:sqref"), "C8:C8");
    EXPECT_EQ(at(*doc, "//xm:f"), "#REF!>A8");
    EXPECT_EQ(at(*doc, "//x14:sparkline[1]/xm:f"), "Data!A8:C8");
    EXPECT_EQ(doc->select_nodes("//x14:sparkline").size(), 1u);
}

TEST(RowShiftTest, OtherSheetsAdjustOnlyTheirReferences) {
    const char* xml = R"(<worksheet><dimension ref="A1:B12"/><sheetData>
<row r="12"><c r="A12"><f>Data!A12+A12</f></c><c r="B12"><f t="shared" ref="B12:B13" si="4">Data!B12</f></c></row>
<row r="13"><c r="B13"><f t="shared" si="4"/></c></row>
<row r="14"><c r="B14"><f t="shared" ref="B14:B15" si="5">A14</f></c></row>
<row r="15"><c r="B15"><f t="shared" si="5"/></c></row>
</sheetData><mergeCells count="1"><mergeCell ref="A12:B12"/></mergeCells>
<dataValidations count="1"><dataValidation sqref="A12"><formula1>Data!$A$1:$A$20</formula1></dataValidation></dataValidations>
</worksheet>)";
    auto doc = load(xml);
    ASSERT_TRUE(shiftWorksheet(*doc, "Summary", "Data", RowChange::insert(13, 2)));
    EXPECT_EQ(rows(*doc), "12:A12 B12 |13:B13 |14:B14 |15:B15 |");
    EXPECT_EQ(at(*doc, "//c[@r='A12']/f"), "Data!A12+A12");
    EXPECT_EQ(at(*doc, "//c[@r='B12']/f"), "Data!B12");
    EXPECT_EQ(at(*doc, "//c[@r='B13']/f"), "Data!B15");
    // A group that does not name the changed sheet stays shared.
    EXPECT_EQ(at(*doc, "//c[@r='B15']/f/@si"), "5");
    EXPECT_EQ(at(*doc, "//mergeCell/@ref"), "A12:B12");
    EXPECT_EQ(at(*doc, "//dimension/@ref"), "A1:B12");
    EXPECT_EQ(at(*doc, "//dataValidation/formula1"), "Data!$A$1:$A$22");
    auto untouched = load(xml);
    EXPECT_FALSE(shiftWorksheet(*untouched, "Summary", "Elsewhere", RowChange::insert(1, 5)));
}

TEST(RowShiftTest, InsertThatPushesCellsOffTheSheetIsRefusedUnchanged) {
    auto doc = load(R"(<worksheet><sheetData><row r="3"><c r="A3"><v>1</v></c></row>
<row r="1048570" s="2"><c r="A1048570" s="2"/></row>
<row r="1048575"><c r="A1048575"><v>1</v></c></row></sheetData></worksheet>)");
    const std::string before = rows(*doc);
    try {
        shiftWorksheet(*doc, "Data", "Data", RowChange::insert(2, 2));
        FAIL() << "no error";
    } catch (const workbook::Error& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("shifted off the worksheet")));
    }
    EXPECT_EQ(rows(*doc), before);
    // One row fits: the content reaches the last row, the formatted row stays on the sheet.
    ASSERT_TRUE(shiftWorksheet(*doc, "Data", "Data", RowChange::insert(2, 1)));
    EXPECT_EQ(rows(*doc), "4:A4 |1048571:A1048571/s2 |1048576:A1048576 |");
    // Rows may fill the sheet up to its last row, not one more.
    auto small = load(R"(<worksheet><sheetData><row r="3"><c r="A3"><v>1</v></c></row>
</sheetData></worksheet>)");
    EXPECT_NO_THROW(checkRowInsertion(*small, RowChange::insert(3, kMaxRows - 3)));
    EXPECT_THROW(checkRowInsertion(*small, RowChange::insert(3, kMaxRows - 2)), workbook::Error);
    EXPECT_NO_THROW(checkRowInsertion(*small, RowChange::insert(4, kMaxRows)));
}

TEST(RowShiftTest, DefinedNamesAndChartFormulas) {
    auto wb =
        load(R"(<workbook><sheets><sheet name="Chart Data" sheetId="1"/></sheets><definedNames>
<definedName name="_xlnm.Print_Area" localSheetId="0">'Chart Data'!$A$1:$AK$60</definedName>
<definedName name="Days">'Chart Data'!$A$8:$A$9</definedName>
<definedName name="Other">Summary!$A$8</definedName></definedNames></workbook>)");
    ASSERT_TRUE(shiftDefinedNames(*wb, "Chart Data", RowChange::insert(9, 100)));
    EXPECT_EQ(at(*wb, "//definedName[1]"), "'Chart Data'!$A$1:$AK$160");
    EXPECT_EQ(at(*wb, "//definedName[2]"), "'Chart Data'!$A$8:$A$109");
    EXPECT_EQ(at(*wb, "//definedName[3]"), "Summary!$A$8");

    auto chart = load(R"(<c:chartSpace xmlns:c="c"><c:chart><c:plotArea><c:lineChart><c:ser>
<c:tx><c:strRef><c:f>'Chart Data'!$B$7</c:f></c:strRef></c:tx>
<c:cat><c:numRef><c:f>'Chart Data'!$A$8:$A$9</c:f></c:numRef></c:cat>
<c:val><c:numRef><c:f>'Chart Data'!$B$8:$B$9</c:f></c:numRef></c:val>
</c:ser></c:lineChart></c:plotArea></c:chart></c:chartSpace>)");
    ASSERT_TRUE(shiftChartReferences(*chart, "chart data", RowChange::insert(9, 100)));
    EXPECT_EQ(at(*chart, "//c:tx//c:f"), "'Chart Data'!$B$7");
    EXPECT_EQ(at(*chart, "//c:cat//c:f"), "'Chart Data'!$A$8:$A$109");
    EXPECT_EQ(at(*chart, "//c:val//c:f"), "'Chart Data'!$B$8:$B$109");
    ASSERT_TRUE(shiftChartReferences(*chart, "Chart Data", RowChange::remove(8, 102)));
    EXPECT_EQ(at(*chart, "//c:val//c:f"), "'Chart Data'!#REF!");
}

TEST(RowShiftTest, DrawingAnchorsStretchOrMove) {
    auto drawing = load(R"(<xdr:wsDr xmlns:xdr="x">
<xdr:twoCellAnchor><xdr:from><xdr:col>1</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>4</xdr:row><xdr:rowOff>10</xdr:rowOff></xdr:from>
<xdr:to><xdr:col>5</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>19</xdr:row><xdr:rowOff>20</xdr:rowOff></xdr:to></xdr:twoCellAnchor>
<xdr:oneCellAnchor><xdr:from><xdr:col>1</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>9</xdr:row><xdr:rowOff>30</xdr:rowOff></xdr:from></xdr:oneCellAnchor>
<xdr:twoCellAnchor editAs="oneCell"><xdr:from><xdr:col>1</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>7</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from>
<xdr:to><xdr:col>2</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>30</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to></xdr:twoCellAnchor>
<xdr:twoCellAnchor editAs="absolute"><xdr:from><xdr:row>40</xdr:row></xdr:from><xdr:to><xdr:row>41</xdr:row></xdr:to></xdr:twoCellAnchor>
</xdr:wsDr>)");
    // Rows 8..10 (1-based) inserted: 3 rows at row 8.
    ASSERT_TRUE(shiftDrawingAnchors(*drawing, RowChange::insert(8, 3)));
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:from/xdr:row"), "4");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:to/xdr:row"), "22");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:oneCellAnchor/xdr:from/xdr:row"), "12");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[2]/xdr:from/xdr:row"), "10");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[2]/xdr:to/xdr:row"), "33");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[3]/xdr:from/xdr:row"), "40");
    // Rows 3..6 (1-based) deleted: the first anchor's top row goes, it starts at row 3.
    ASSERT_TRUE(shiftDrawingAnchors(*drawing, RowChange::remove(3, 4)));
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:from/xdr:row"), "2");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:from/xdr:rowOff"), "0");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:to/xdr:row"), "18");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:twoCellAnchor[1]/xdr:to/xdr:rowOff"), "20");
    EXPECT_EQ(at(*drawing, "/xdr:wsDr/xdr:oneCellAnchor/xdr:from/xdr:row"), "8");
}

TEST(RowShiftTest, CommentsTablesAndVmlBoxes) {
    auto comments = load(R"(<comments><commentList><comment ref="B5"/><comment ref="B9"/>
<comment ref="C2"/></commentList></comments>)");
    ASSERT_TRUE(shiftComments(*comments, RowChange::remove(4, 3)));
    EXPECT_EQ(at(*comments, "//comment[1]/@ref"), "B6");
    EXPECT_EQ(at(*comments, "//comment[2]/@ref"), "C2");
    EXPECT_EQ(at(*comments, "//comment[3]/@ref"), "<none>");

    auto vml = load(R"(<xml xmlns:v="v" xmlns:x="x"><v:shape><x:ClientData ObjectType="Note">
<x:Anchor>2, 15, 3, 10, 4, 15, 7, 4</x:Anchor><x:Row>4</x:Row><x:Column>1</x:Column></x:ClientData></v:shape>
<v:shape><x:ClientData ObjectType="Note"><x:Anchor>2, 15, 7, 10, 4, 15, 11, 4</x:Anchor><x:Row>8</x:Row><x:Column>1</x:Column></x:ClientData></v:shape></xml>)");
    ASSERT_TRUE(shiftVmlAnchors(*vml, RowChange::remove(4, 3)));
    EXPECT_EQ(vml->select_nodes("//x:ClientData").size(), 1u);
    EXPECT_EQ(at(*vml, "//x:Row"), "5");
    EXPECT_EQ(at(*vml, "//x:Anchor"), "2, 15, 4, 10, 4, 15, 8, 4");

    auto table = load(R"(<table ref="A8:C20" totalsRowCount="1"><autoFilter ref="A8:C19"/>
<tableColumns count="1"><tableColumn id="1" name="T"><calculatedColumnFormula>Data!$Z$30*2</calculatedColumnFormula></tableColumn></tableColumns></table>)");
    EXPECT_EQ(shiftTable(*table, "Data", "Data", RowChange::insert(10, 5)), TableShift::Changed);
    EXPECT_EQ(at(*table, "/table/@ref"), "A8:C25");
    EXPECT_EQ(at(*table, "//autoFilter/@ref"), "A8:C24");
    EXPECT_EQ(at(*table, "//calculatedColumnFormula"), "Data!$Z$35*2");
    EXPECT_EQ(shiftTable(*table, "Data", "Data", RowChange::insert(30, 5)), TableShift::Changed);
    EXPECT_EQ(shiftTable(*table, "Data", "Data", RowChange::insert(50, 5)), TableShift::Unchanged);
    EXPECT_EQ(shiftTable(*table, "Data", "Data", RowChange::remove(1, 40)), TableShift::Deleted);
}

// A damaged part may number its rows anywhere an int reaches: shared formulas followed into such a
// row, page breaks, drawing anchors and comment boxes are moved from a row held at the sheet's
// edge, never by an offset that overflows.
TEST(RowShiftTest, RowNumbersFarOutsideTheSheetShiftWithoutOverflow) {
    for (const std::string number : {"-2147483648", "-1", "2147483647"}) {
        SCOPED_TRACE(number);
        for (const RowChange change : {RowChange::insert(1, 2), RowChange::remove(1, 1)}) {
            const std::string sheetXml = R"(<worksheet><sheetData>
<row r="2"><c r="B2"><f t="shared" ref="B2:B3" si="0">A2*2</f></c></row>
<row r=")" + number + R"("><c r="B3"><f t="shared" si="0"/></c></row>
</sheetData><rowBreaks count="1"><brk id=")" +
                                         number + R"(" max="16383"/></rowBreaks></worksheet>)";
            auto sheet = load(sheetXml.c_str());
            try {
                shiftWorksheet(*sheet, "Data", "Data", change);
                EXPECT_EQ(at(*sheet, "//row[1]/c/f/@t"), "<none>") << "the master is expanded";
            } catch (const workbook::Error&) {
                // refused as pushing cells off the sheet: a sound outcome too
            }

            const std::string drawingXml = R"(<xdr:wsDr xmlns:xdr="x"><xdr:twoCellAnchor>
<xdr:from><xdr:row>)" + number + R"(</xdr:row></xdr:from><xdr:to><xdr:row>)" +
                                           number +
                                           R"(</xdr:row></xdr:to></xdr:twoCellAnchor></xdr:wsDr>)";
            auto drawing = load(drawingXml.c_str());
            shiftDrawingAnchors(*drawing, change);
            for (const char* end : {"from", "to"}) {
                // Left as it was, or moved onto the sheet.
                const std::string row =
                    at(*drawing, (std::string("//xdr:") + end + "/xdr:row").c_str());
                EXPECT_TRUE(row == number || (std::stoi(row) >= 0 && std::stoi(row) <= kMaxRows))
                    << row;
            }

            const std::string vmlXml = R"(<xml xmlns:v="v" xmlns:x="x"><v:shape>
<x:ClientData ObjectType="Note"><x:Anchor>2, 15, 3, 10, 4, 15, 7, 4</x:Anchor><x:Row>)" +
                                       number + R"(</x:Row></x:ClientData></v:shape></xml>)";
            auto vml = load(vmlXml.c_str());
            shiftVmlAnchors(*vml, change);
        }
    }
}
