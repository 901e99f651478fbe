// Row insertion and deletion across a whole workbook package, opened and saved by the engine.
#include "workbook/Application.h"
#include "workbook/Error.h"
#include "workbook/detail/RowOps.h"
#include "workbook/detail/WorkbookModel.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <map>
#include <string>

using namespace workbook;
using detail::RowChange;

namespace {

const std::map<std::string, std::string> kParts = {
    {"[Content_Types].xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>
<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/drawings/drawing1.xml" ContentType="application/vnd.openxmlformats-officedocument.drawing+xml"/>
<Override PartName="/xl/charts/chart1.xml" ContentType="application/vnd.openxmlformats-officedocument.drawingml.chart+xml"/>
<Override PartName="/xl/tables/table1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.table+xml"/>
<Override PartName="/xl/comments1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml"/>
</Types>)"},
    {"_rels/.rels",
     R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
    {"xl/workbook.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<sheets><sheet name="Chart Data" sheetId="1" r:id="rId1"/><sheet name="Summary" sheetId="2" r:id="rId2"/></sheets>
<definedNames><definedName name="_xlnm.Print_Area" localSheetId="0">'Chart Data'!$A$1:$C$10</definedName></definedNames></workbook>)"},
    {"xl/_rels/workbook.xml.rels",
     R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/></Relationships>)"},
    {"xl/styles.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>
<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>
<borders count="1"><border/></borders><cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>
<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/><xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>
</styleSheet>)"},
    {"xl/worksheets/sheet1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<dimension ref="A7:B10"/><sheetData>
<row r="7"><c r="B7" t="inlineStr"><is><t>Baseline</t></is></c></row>
<row r="8"><c r="A8" s="1"><v>46000</v></c><c r="B8"><v>1</v></c></row>
<row r="9"><c r="A9" s="1"><v>46001</v></c><c r="B9"><v>2</v></c></row>
<row r="10"><c r="A10" s="1"><v>46002</v></c><c r="B10"><v>3</v></c></row>
</sheetData><drawing r:id="rId1"/><tableParts count="1"><tablePart r:id="rId2"/></tableParts></worksheet>)"},
    {"xl/worksheets/_rels/sheet1.xml.rels",
     R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing" Target="../drawings/drawing1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/table" Target="../tables/table1.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments" Target="../comments1.xml"/></Relationships>)"},
    {"xl/worksheets/sheet2.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<sheetData><row r="1"><c r="A1"><f>SUM('Chart Data'!B8:B10)</f><v>6</v></c></row></sheetData></worksheet>)"},
    {"xl/drawings/drawing1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><xdr:wsDr xmlns:xdr="http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main">
<xdr:twoCellAnchor><xdr:from><xdr:col>3</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>11</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from>
<xdr:to><xdr:col>9</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>25</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to><xdr:clientData/></xdr:twoCellAnchor></xdr:wsDr>)"},
    {"xl/charts/chart1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart"><c:chart><c:plotArea><c:lineChart><c:ser>
<c:cat><c:numRef><c:f>'Chart Data'!$A$8:$A$10</c:f><c:numCache><c:formatCode>m/d/yyyy</c:formatCode><c:ptCount val="3"/><c:pt idx="0"><c:v>46000</c:v></c:pt><c:pt idx="1"><c:v>46001</c:v></c:pt><c:pt idx="2"><c:v>46002</c:v></c:pt></c:numCache></c:numRef></c:cat>
<c:val><c:numRef><c:f>'Chart Data'!$B$8:$B$10</c:f><c:numCache><c:formatCode>General</c:formatCode><c:ptCount val="3"/><c:pt idx="0"><c:v>1</c:v></c:pt><c:pt idx="1"><c:v>2</c:v></c:pt><c:pt idx="2"><c:v>3</c:v></c:pt></c:numCache></c:numRef></c:val>
</c:ser></c:lineChart></c:plotArea></c:chart></c:chartSpace>)"},
    {"xl/tables/table1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><table xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" id="1" name="Days" displayName="Days" ref="A7:B10"><autoFilter ref="A7:B10"/>
<tableColumns count="2"><tableColumn id="1" name="Day"/><tableColumn id="2" name="Baseline"/></tableColumns></table>)"},
    {"xl/comments1.xml",
     R"(<?xml version="1.0" encoding="UTF-8"?><comments xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><authors><author>A</author></authors>
<commentList><comment ref="B9" authorId="0"><text><t>note</t></text></comment></commentList></comments>)"},
};

void writeZip(const QString& path, const std::map<std::string, std::string>& parts) {
    int error = 0;
    zip_t* z = zip_open(path.toLocal8Bit().constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, data] : parts) {
        zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
        ASSERT_GE(zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
}

std::map<std::string, std::string> readZip(const QString& path) {
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t* z = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!z)
        return parts;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        parts[st.name] = data;
    }
    zip_discard(z);
    return parts;
}

// The value an XPath query selects in a part (attribute value or element text).
std::string at(const std::string& xml, const char* xpath) {
    pugi::xml_document doc;
    doc.load_string(xml.c_str());
    const pugi::xpath_node n = doc.select_node(xpath);
    return n.attribute() ? n.attribute().value() : n.node() ? n.node().text().get() : "<none>";
}

class RowShiftWorkbookTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        writeZip(source(), kParts);
    }
    QString source() const { return dir.filePath(QStringLiteral("Template.xlsx")); }
    QString output() const { return dir.filePath(QStringLiteral("Output.xlsx")); }

    QTemporaryDir dir;
    Application app;
};

} // namespace

TEST_F(RowShiftWorkbookTest, InsertAdjustsEveryPartAndChartCachesFollowTheCells) {
    Workbook wb = app.workbooks().open(source());
    detail::changeRows(*wb.model(), 0, RowChange::insert(9, 2));
    wb.model()->sheet(0).setValue(9, 2, CellValue::number(1.5));
    wb.model()->sheet(0).setValue(10, 2, CellValue::number(1.75));
    detail::refreshAllChartCaches(*wb.model());
    wb.saveAs(output());

    const auto parts = readZip(output());
    const std::string& sheet = parts.at("xl/worksheets/sheet1.xml");
    EXPECT_EQ(at(sheet, "//c[@r='B12']/v"), "3");
    EXPECT_EQ(at(sheet, "//c[@r='B9']/v"), "1.5");
    // The inserted rows take the date style of row 8.
    EXPECT_EQ(at(sheet, "//c[@r='A10']/@s"), "1");
    EXPECT_EQ(at(parts.at("xl/worksheets/sheet2.xml"), "//c[@r='A1']/f"),
              "SUM('Chart Data'!B8:B12)");
    EXPECT_EQ(at(parts.at("xl/workbook.xml"), "//definedName"), "'Chart Data'!$A$1:$C$12");
    const std::string& chart = parts.at("xl/charts/chart1.xml");
    EXPECT_EQ(at(chart, "//c:val//c:f"), "'Chart Data'!$B$8:$B$12");
    EXPECT_EQ(at(chart, "//c:val//c:ptCount/@val"), "5");
    EXPECT_EQ(at(chart, "//c:val//c:pt[@idx='1']/c:v"), "1.5");
    EXPECT_EQ(at(chart, "//c:val//c:pt[@idx='4']/c:v"), "3");
    EXPECT_EQ(at(chart, "//c:cat//c:ptCount/@val"), "5");
    EXPECT_EQ(at(parts.at("xl/drawings/drawing1.xml"), "//xdr:from/xdr:row"), "13");
    EXPECT_EQ(at(parts.at("xl/tables/table1.xml"), "/table/@ref"), "A7:B12");
    EXPECT_EQ(at(parts.at("xl/comments1.xml"), "//comment/@ref"), "B11");
    EXPECT_EQ(parts.at("xl/styles.xml"), kParts.at("xl/styles.xml"));
}

TEST_F(RowShiftWorkbookTest, DeleteMakesRefErrorsAndRemovesAWhollyDeletedTable) {
    Workbook wb = app.workbooks().open(source());
    detail::changeRows(*wb.model(), 0, RowChange::remove(7, 4));
    detail::refreshAllChartCaches(*wb.model());
    wb.saveAs(output());

    const auto parts = readZip(output());
    EXPECT_EQ(at(parts.at("xl/worksheets/sheet2.xml"), "//c[@r='A1']/f"),
              "SUM('Chart Data'!#REF!)");
    EXPECT_EQ(at(parts.at("xl/workbook.xml"), "//definedName"), "'Chart Data'!$A$1:$C$6");
    EXPECT_EQ(at(parts.at("xl/charts/chart1.xml"), "//c:val//c:f"), "'Chart Data'!#REF!");
    EXPECT_EQ(parts.count("xl/tables/table1.xml"), 0u);
    EXPECT_EQ(at(parts.at("xl/worksheets/sheet1.xml"), "//tablePart"), "<none>");
    EXPECT_EQ(at(parts.at("xl/comments1.xml"), "//comment"), "<none>");
    EXPECT_EQ(at(parts.at("xl/drawings/drawing1.xml"), "//xdr:from/xdr:row"), "7");
}

TEST_F(RowShiftWorkbookTest, RefusedInsertChangesNothing) {
    Workbook wb = app.workbooks().open(source());
    EXPECT_THROW(detail::changeRows(*wb.model(), 0, RowChange::insert(1, detail::kMaxRows - 5)),
                 Error);
    for (const RowChange& outside : {RowChange::insert(0, 1), RowChange::remove(5, 0),
                                     RowChange::remove(detail::kMaxRows, 2)}) {
        try {
            detail::changeRows(*wb.model(), 0, outside);
            ADD_FAILURE() << outside.at << "/" << outside.count;
        } catch (const Error& e) {
            EXPECT_EQ(e.code(), kRejectedReference);
        }
    }
    wb.saveAs(output());
    const auto parts = readZip(output());
    EXPECT_EQ(at(parts.at("xl/worksheets/sheet2.xml"), "//c[@r='A1']/f"),
              "SUM('Chart Data'!B8:B10)");
    EXPECT_EQ(parts.at("xl/charts/chart1.xml"), kParts.at("xl/charts/chart1.xml"));
}
