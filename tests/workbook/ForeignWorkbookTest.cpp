// Workbooks as other programs write them: prefixed namespaces, part names in another case, parts
// without a declaration, empty values, mixed rich text, ISO dates. Each opens with every value,
// and a save writes well-formed parts that open again.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"

#include "support/LibreOffice.h"

#include <QXmlStreamReader>
#include <functional>
#include <gtest/gtest.h>

using namespace workbook;
using Parts = std::map<std::string, std::string>;

namespace {

const std::string kMain = wbtest::kMainNamespace;
const std::string kRels = wbtest::kRelationshipsNamespace;

struct Expected {
    const char* cell;
    CellValue value;
    const char* text = nullptr; // the displayed text, when it matters
};

struct ForeignCase {
    const char* name;
    std::function<Parts()> parts;
    std::vector<Expected> cells;
    const char* writtenCell;            // how a cell the engine adds looks in the saved sheet
    const char* writtenStyle = nullptr; // and a style table it adds, where it adds one
};

// Every part under a prefix: the main namespace as "x:", relationships as "ns0:", content types
// as "ct:", the sheet's relationship attribute as "rel:".
Parts prefixedParts() {
    Parts parts = wbtest::workbookParts(
        "<x:worksheet xmlns:x=\"" + kMain +
            "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c>"
            "<x:c r=\"B1\"><x:v>2.5</x:v></x:c></x:row></x:sheetData></x:worksheet>",
        "<x:sst xmlns:x=\"" + kMain + "\"><x:si><x:t>Shared</x:t></x:si></x:sst>",
        "<x:styleSheet xmlns:x=\"" + kMain +
            R"("><x:fonts count="1"><x:font><x:sz val="11"/></x:font></x:fonts></x:styleSheet>)");
    parts["xl/workbook.xml"] = "<x:workbook xmlns:x=\"" + kMain + "\" xmlns:rel=\"" + kRels +
                               "\"><x:sheets><x:sheet name=\"Sheet1\" sheetId=\"1\" "
                               "rel:id=\"rId1\"/></x:sheets></x:workbook>";
    for (const char* rels : {"_rels/.rels", "xl/_rels/workbook.xml.rels"}) {
        std::string& text = parts[rels];
        text.replace(text.find("<Relationships xmlns="), 21, "<ns0:Relationships xmlns:ns0=");
        for (size_t at = text.find("<Relationship "); at != std::string::npos;
             at = text.find("<Relationship ", at)) {
            text.replace(at, 14, "<ns0:Relationship ");
        }
        text.replace(text.find("</Relationships>"), 16, "</ns0:Relationships>");
    }
    std::string& types = parts["[Content_Types].xml"];
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"<Types xmlns=", "<ct:Types xmlns:ct="},
                                                          {"<Default ", "<ct:Default "},
                                                          {"<Override ", "<ct:Override "},
                                                          {"</Types>", "</ct:Types>"}}) {
        for (size_t at = types.find(from); at != std::string::npos; at = types.find(from, at)) {
            types.replace(at, from.size(), to);
        }
    }
    return parts;
}

const ForeignCase kForeignCases[] = {
    {"parts_without_declaration",
     [] {
         return wbtest::workbookParts(wbtest::worksheetXml(
             R"(<row r="1"><c r="A1"><v>1.5</v></c><c r="B1" t="inlineStr"><is><t>x</t></is></c></row>)"));
     },
     {{"A1", CellValue::number(1.5)}, {"B1", CellValue::text(QStringLiteral("x"))}},
     R"(<c r="C5" t="inlineStr">)"},
    {"prefixed_namespaces",
     prefixedParts,
     {{"A1", CellValue::text(QStringLiteral("Shared"))}, {"B1", CellValue::number(2.5)}},
     R"(<x:c r="C5" t="inlineStr"><x:is><x:t>)",
     R"(<x:cellXfs count="2"><x:xf )"},
    {"namespace_bound_to_two_prefixes",
     [] {
         return wbtest::workbookParts(
             "<worksheet xmlns=\"" + kMain + "\"><sheetData xmlns:s=\"" + kMain +
             R"("><s:row r="1"><s:c r="A1"><s:v>5</s:v></s:c></s:row></sheetData></worksheet>)");
     },
     {{"A1", CellValue::number(5)}},
     R"(<c r="C5" t="inlineStr">)"},
    {"relationship_prefix_on_the_sheet_element",
     [] {
         Parts parts = wbtest::workbookParts(
             wbtest::worksheetXml(R"(<row r="1"><c r="A1"><v>7</v></c></row>)"));
         parts["xl/workbook.xml"] =
             "<workbook xmlns=\"" + kMain + "\"><sheets><sheet xmlns:relationships=\"" + kRels +
             "\" name=\"Sheet1\" sheetId=\"1\" relationships:id=\"rId1\"/></sheets></workbook>";
         return parts;
     },
     {{"A1", CellValue::number(7)}},
     R"(<c r="C5" t="inlineStr">)"},
    {"indented_parts", // whitespace between elements, as pretty-printing writers leave it
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml("\n  <row r=\"1\">\n    <c r=\"A1\" t=\"s\">\n      <v>0</v>\n"
                                  "    </c>\n    <c r=\"B1\">\n      <v>2.5</v>\n    </c>\n"
                                  "  </row>\n  <row r=\"7\">\n    <c r=\"E7\"><v>9</v></c>\n"
                                  "  </row>\n"),
             "<sst xmlns=\"" + kMain +
                 "\">\n  <si>\n    <t xml:space=\"preserve\"> Indented </t>\n  </si>\n</sst>");
     },
     {{"A1", CellValue::text(QStringLiteral(" Indented "))},
      {"B1", CellValue::number(2.5)},
      {"E7", CellValue::number(9)}},
     R"(<c r="C5" t="inlineStr">)"},
    {"part_name_in_another_case",
     [] {
         Parts parts = wbtest::workbookParts(
             wbtest::worksheetXml(R"(<row r="1"><c r="A1" t="s"><v>1</v></c></row>)"),
             "<sst xmlns=\"" + kMain + "\"><si><t>zero</t></si><si><t>one</t></si></sst>");
         parts["xl/SharedStrings.xml"] = parts.at("xl/sharedStrings.xml");
         parts.erase("xl/sharedStrings.xml");
         std::string& rels = parts["_rels/.rels"];
         rels.replace(rels.find("xl/workbook.xml"), 15, "XL/Workbook.xml");
         std::string& types = parts["[Content_Types].xml"];
         types.replace(types.find("/xl/workbook.xml"), 16, "/xl/WORKBOOK.xml");
         return parts;
     },
     {{"A1", CellValue::text(QStringLiteral("one"))}},
     R"(<c r="C5" t="inlineStr">)"},
    {"empty_value_elements",
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml(R"(<row r="1"><c r="A1" t="s"><v/></c><c r="B1"><v/></c>)"
                                  R"(<c r="C1" t="b"><v></v></c><c r="D1"><v>3</v></c></row>)"),
             "<sst xmlns=\"" + kMain + "\"><si><t>first</t></si></sst>");
     },
     {{"A1", CellValue()}, {"B1", CellValue()}, {"C1", CellValue()}, {"D1", CellValue::number(3)}},
     R"(<c r="C5" t="inlineStr">)"},
    {"plain_text_before_rich_runs",
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml(
                 R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is>)"
                 R"(<t>In</t><r><rPr><i/></rPr><t>line</t></r></is></c></row>)"),
             "<sst xmlns=\"" + kMain +
                 R"("><si><t>Before</t><r><rPr><b/></rPr><t xml:space="preserve"> bold</t></r>)"
                 R"(<r><t> after</t></r><rPh sb="0" eb="1"><t>phonetic</t></rPh></si></sst>)");
     },
     {{"A1", CellValue::text(QStringLiteral("Before bold after"))},
      {"B1", CellValue::text(QStringLiteral("Inline"))}},
     R"(<c r="C5" t="inlineStr">)"},
    {"prefixed_rich_runs_after_a_byte_order_mark",
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml(
                 R"(<row r="1"><c r="A1" t="s"><v>0</v></c>)"
                 R"(<c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>2</v></c></row>)"),
             "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<x:sst xmlns:x=\"" + kMain +
                 R"(" count="3" uniqueCount="3"><x:si><x:r><x:rPr><x:b/><x:sz val="11"/>)"
                 R"(</x:rPr><x:t>Site </x:t></x:r><x:r><x:rPr><x:i/></x:rPr><x:t> survey</x:t>)"
                 R"(</x:r></x:si><x:si><x:r><x:t> In progress </x:t></x:r></x:si>)"
                 R"(<x:si><x:t>Plain</x:t></x:si></x:sst>)");
     },
     {{"A1", CellValue::text(QStringLiteral("Site  survey"))},
      {"B1", CellValue::text(QStringLiteral(" In progress "))},
      {"C1", CellValue::text(QStringLiteral("Plain"))}},
     R"(<c r="C5" t="inlineStr">)"},
    {"escaped_underscores_and_characters_beyond_the_basic_plane",
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml(
                 R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="inlineStr"><is>)"
                 R"(<t>_x005F_x0041_ and _x005f_ _xD83D__xDE00_ _x00</t></is></c></row>)"),
             "<sst xmlns=\"" + kMain + R"("><si><t>WBS_x005F_x0031_</t></si></sst>)");
     },
     {{"A1", CellValue::text(QStringLiteral("WBS_x0031_"))},
      {"B1", CellValue::text(QStringLiteral("_x0041_ and _ \U0001F600 _x00"))}},
     R"(<c r="C5" t="inlineStr">)"},
    {"shared_strings_part_missing_and_unused",
     [] {
         Parts parts = wbtest::workbookParts(
             wbtest::worksheetXml(R"(<row r="1"><c r="A1"><v>4</v></c></row>)"),
             "<sst xmlns=\"" + kMain + "\"/>");
         parts.erase("xl/sharedStrings.xml");
         return parts;
     },
     {{"A1", CellValue::number(4)}},
     R"(<c r="C5" t="inlineStr">)"},
    {"iso_dates",
     [] {
         return wbtest::workbookParts(
             wbtest::worksheetXml(R"(<row r="1"><c r="A1" t="d" s="1"><v>2024-01-15</v></c>)"
                                  R"(<c r="B1" t="d"><v>2024-01-15T06:00:00</v></c>)"
                                  R"(<c r="C1" t="d" s="2"><v>10:10:10</v></c></row>)"),
             {},
             "<styleSheet xmlns=\"" + kMain +
                 R"("><cellXfs count="3"><xf numFmtId="0"/><xf numFmtId="14"/>)"
                 R"(<xf numFmtId="21"/></cellXfs></styleSheet>)");
     },
     {{"A1", CellValue::number(45306), "1/15/2024"},
      {"B1", CellValue::number(45306.25)},
      {"C1", CellValue::number(36610.0 / 86400.0), "10:10:10"}},
     R"(<c r="C5" t="inlineStr">)"},
};

void expectCells(const Worksheet& sheet, const ForeignCase& c) {
    for (const Expected& e : c.cells) {
        const Range cell = sheet.range(QString::fromLatin1(e.cell));
        const CellValue value = cell.value2();
        if (e.value.kind() == CellValue::Kind::Number) {
            ASSERT_EQ(value.kind(), CellValue::Kind::Number) << c.name << " " << e.cell;
            EXPECT_NEAR(value.toNumber(), e.value.toNumber(), 1e-9) << c.name << " " << e.cell;
        } else {
            EXPECT_EQ(value, e.value) << c.name << " " << e.cell;
        }
        if (e.text != nullptr) {
            EXPECT_EQ(cell.text(), QString::fromUtf8(e.text)) << c.name << " " << e.cell;
        }
    }
}

// The XML error of a part, or "" when it is well-formed with its namespaces declared.
QString xmlError(const std::string& text) {
    QXmlStreamReader reader(QByteArray::fromStdString(text));
    while (!reader.atEnd()) {
        reader.readNext();
    }
    return reader.hasError() ? reader.errorString() : QString();
}

int mainElementCount(const std::string& text, const char* local) {
    QXmlStreamReader reader(QByteArray::fromStdString(text));
    int count = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            reader.namespaceUri() == QString::fromStdString(kMain) &&
            reader.name() == QLatin1String(local)) {
            ++count;
        }
    }
    return count;
}

} // namespace

TEST(ForeignWorkbook, OpensWithEveryValueAndSavesWellFormedParts) {
    QTemporaryDir dir;
    for (const ForeignCase& c : kForeignCases) {
        SCOPED_TRACE(c.name);
        const QString source = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".xlsx"));
        const QString saved =
            dir.filePath(QString::fromLatin1(c.name) + QStringLiteral("-out.xlsx"));
        wbtest::writeZip(source, c.parts());
        Application app;
        {
            const Workbook book = app.workbooks().open(source);
            ASSERT_EQ(book.worksheets().count(), 1);
            const Worksheet sheet = book.worksheets().item(1);
            expectCells(sheet, c);
            sheet.range(QStringLiteral("C5")).setValue(CellValue::text(QStringLiteral("added")));
            sheet.range(QStringLiteral("D6")).setValue(CellValue::number(46365));
            sheet.cells(6, 4).font().setColor(255);
            book.saveAs(saved);
            book.close();
        }
        const std::map<std::string, std::string> written = wbtest::readParts(saved);
        for (const auto& [name, text] : written) {
            EXPECT_EQ(xmlError(text), QString()) << name;
        }
        std::string sheetPart;
        for (const auto& [name, text] : written) {
            if (name.find("worksheets/") != std::string::npos) {
                sheetPart = text;
            }
        }
        EXPECT_EQ(mainElementCount(sheetPart, "sheetData"), 1);
        EXPECT_NE(sheetPart.find(c.writtenCell), std::string::npos) << sheetPart;
        if (c.writtenStyle != nullptr) {
            EXPECT_NE(written.at("xl/styles.xml").find(c.writtenStyle), std::string::npos)
                << written.at("xl/styles.xml");
        }

        const Worksheet again = app.workbooks().open(saved).worksheets().item(1);
        expectCells(again, c);
        EXPECT_EQ(again.range(QStringLiteral("C5")).value2(),
                  CellValue::text(QStringLiteral("added")));
        EXPECT_EQ(again.range(QStringLiteral("D6")).value2(), CellValue::number(46365));
    }
}

// LibreOffice reads what the engine wrote into a part under other prefixes.
TEST(ForeignWorkbook, LibreOfficeReadsASavedPrefixedWorkbook) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("prefixed.xlsx"));
    const QString saved = dir.filePath(QStringLiteral("written.xlsx"));
    wbtest::writeZip(source, prefixedParts());
    Application app;
    const Workbook book = app.workbooks().open(source);
    const Worksheet sheet = book.worksheets().item(1);
    sheet.range(QStringLiteral("B1")).setValue(CellValue::number(4.75));
    sheet.range(QStringLiteral("C2")).setValue(CellValue::text(QStringLiteral("added")));
    book.saveAs(saved);

    const testsupport::OfficeConversion run =
        testsupport::ConvertWithLibreOffice(saved, QStringLiteral("csv"), dir.path());
    ASSERT_TRUE(run.finished) << "LibreOffice timed out";
    QFile csv(run.converted);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << run.output.toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("Shared,4.75,"));
    EXPECT_EQ(lines[1], QStringLiteral(",,added"));
}
