// Large worksheets parsed while they are inflated: the tree is the one a parse of the whole text
// gives, node for node; what is not laid out as rows is left to the whole parse, which reports
// any fault as before.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"
#include "workbook/detail/Package.h"
#include "workbook/detail/PartReader.h"
#include "workbook/detail/PartText.h"
#include "workbook/detail/StreamedParse.h"
#include "workbook/detail/TreeMemory.h"
#include "workbook/detail/XmlEdit.h"

#include <gtest/gtest.h>

#include <QFile>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <zip.h>

using namespace workbook::detail;

namespace {

const std::string kMain = wbtest::kMainNamespace;
const std::string kRels = wbtest::kRelationshipsNamespace;

// Enough rows for many pieces of the inflated text.
constexpr int kRows = 30000;

// A worksheet of kRows rows written by `row`, between `start` (up to and with sheetData's start
// tag) and `end` (from sheetData's end tag on).
std::string sheet(const std::string& start, const std::function<std::string(int)>& row,
                  const std::string& end) {
    std::string text = start;
    for (int r = 1; r <= kRows; ++r) {
        text += row(r);
    }
    return text + end;
}

std::string plainRow(int r) {
    const std::string n = std::to_string(r);
    return "\n  <row r=\"" + n + "\" spans=\"1:3\"><c r=\"A" + n +
           "\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> Task &amp; " + n +
           " </t></is></c><c r=\"B" + n + "\" s=\"1\"><v>" + std::to_string(46000 + r) +
           "</v></c><c r=\"C" + n + "\"><f>B" + n + "*2</f><v>" + std::to_string(r * 2) +
           "</v></c></row>";
}

// Everything rows may hold: comments, CDATA, character references, CRLF line ends, quotes of
// both kinds, empty rows, white space inside tags.
std::string oddRow(int r) {
    const std::string n = std::to_string(r);
    switch (r % 5) {
    case 0:
        return "<row r='" + n + "' hidden=\"1\"/>\r\n";
    case 1:
        return "<row r=\"" + n + "\" ><!-- a note --><c r=\"A" + n +
               "\" t=\"inlineStr\"><is><t><![CDATA[<b> & <i>]]></t></is></c></row>\r\n";
    case 2:
        return "<row r=\"" + n + "\"><c r=\"A" + n +
               "\" t=\"str\"><f>\"a\"&amp;\"b\"</f><v>&#x41;&#66;\r\nc</v></c ></row>";
    case 3:
        return "<row\tr=\"" + n + "\"\n><c r=\"B" + n + "\"><v> 12.5 </v></c><?keep this?></row>";
    default:
        return "  <row r=\"" + n + "\"></row>  ";
    }
}

// Rows whose comments and character data hold what looks like a row's start or the rows' end.
std::string misleadingRow(int r) {
    const std::string n = std::to_string(r);
    return "<row r=\"" + n + "\"><!-- <row r=\"0\"> --><c r=\"A" + n +
           "\" t=\"inlineStr\"><is><t><![CDATA[<row> " + n + " </sheetData>]]></t></is></c></row>";
}

// A row of the part's prefix, a cell of another prefix bound to the same namespace.
std::string prefixedRow(int r) {
    const std::string n = std::to_string(r);
    return "<x:row r=\"" + n + "\"><x:c r=\"A" + n + "\"><x:v>" + n +
           "</x:v></x:c><s:c xmlns:s=\"" + kMain + "\" r=\"B" + n + "\"><s:v>1</s:v></s:c></x:row>";
}

std::string declaration() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
}

std::string worksheetStart(const std::string& between = {}) {
    return declaration() + "<worksheet xmlns=\"" + kMain + "\" xmlns:r=\"" + kRels +
           "\"><dimension ref=\"A1:C30000\"/>" + between + "<sheetData>";
}

const std::string kTail = "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/>"
                          "</mergeCells>\n<pageMargins left=\"0.7\" right=\"0.7\"/></worksheet>\n";

// The part inflated piece by piece out of a zip archive held in memory.
class ZippedPart {
public:
    explicit ZippedPart(const std::string& text) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("part.zip"));
        wbtest::writeZip(path,
                         std::vector<std::pair<std::string, std::string>>{{"part.xml", text}});
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        bytes_ = file.readAll().toStdString();
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        zip_error_fini(&error);
        EXPECT_NE(archive_, nullptr);
    }
    ~ZippedPart() { zip_discard(archive_); }
    ZippedPart(const ZippedPart&) = delete;
    ZippedPart& operator=(const ZippedPart&) = delete;

    PartReader reader() const {
        return PartReader(archive_, 0, bytes_.size(), 0, QStringLiteral("part.xml"),
                          QStringLiteral("part.zip"));
    }

private:
    std::string bytes_;
    zip_t* archive_ = nullptr;
};

// Parses the text as a zipped part while it is inflated; `inflated` takes what was inflated.
bool parsedStreamed(const std::string& text, pugi::xml_document& doc, StreamedText& streamed,
                    uint64_t* inflated = nullptr, size_t pieceSize = kStreamedPiece) {
    ZippedPart zipped(text);
    PartReader reader = zipped.reader();
    const bool parsed = parseStreamed(reader, kParseOptions, doc, streamed, pieceSize);
    if (inflated != nullptr) {
        *inflated = reader.total();
    }
    return parsed;
}

// The first difference of two trees in document order, "" when there is none.
std::string difference(const pugi::xml_node& a, const pugi::xml_node& b, const std::string& at) {
    if (a.type() != b.type() || std::string(a.name()) != b.name() ||
        std::string(a.value()) != b.value()) {
        return at + ": <" + a.name() + "> \"" + a.value() + "\" against <" + b.name() + "> \"" +
               b.value() + "\"";
    }
    pugi::xml_attribute x = a.first_attribute();
    pugi::xml_attribute y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
        if (std::string(x.name()) != y.name() || std::string(x.value()) != y.value()) {
            return at + "/@" + x.name() + " against @" + y.name();
        }
    }
    if (x || y) {
        return at + ": attributes differ in number";
    }
    pugi::xml_node p = a.first_child();
    pugi::xml_node q = b.first_child();
    for (int i = 0; p && q; p = p.next_sibling(), q = q.next_sibling(), ++i) {
        const std::string found =
            difference(p, q, at + "/" + p.name() + "[" + std::to_string(i) + "]");
        if (!found.empty()) {
            return found;
        }
    }
    return p || q ? at + ": children differ in number" : std::string();
}

} // namespace

TEST(StreamedParse, TheTreeIsTheOneOfTheWholeText) {
    useTreeMemory(); // the memory the rest of the rows take is faulted in ahead
    const struct {
        const char* name;
        std::string text;
        int namespaceMentions;
    } cases[] = {
        {"pretty_printed_rows", sheet(worksheetStart() + "\n", plainRow, "\n" + kTail), 1},
        {"rows_holding_everything_rows_may_hold",
         sheet(worksheetStart("<!-- before --><sheetViews><sheetView workbookViewId=\"0\"/>"
                              "</sheetViews>"),
               oddRow, "</sheetData   >\n<rowBreaks count=\"0\"/></worksheet>"),
         1},
        {"prefixed_with_the_namespace_bound_twice",
         sheet(declaration() + "<x:worksheet xmlns:x=\"" + kMain +
                   "\"><x:sheetData attr=\"a > b\">",
               prefixedRow, "</x:sheetData></x:worksheet>"),
         kRows + 1},
        {"byte_order_mark_and_nothing_after_the_rows",
         sheet("\xEF\xBB\xBF<worksheet xmlns=\"" + kMain + "\"><sheetData>", plainRow,
               "</sheetData></worksheet>"),
         1},
    };
    for (const auto& c : cases) {
        pugi::xml_document streamed;
        StreamedText text;
        uint64_t inflated = 0;
        ASSERT_TRUE(parsedStreamed(c.text, streamed, text, &inflated)) << c.name;
        EXPECT_EQ(inflated, c.text.size()) << c.name;
        EXPECT_LT(text.shell->size(), size_t(1000)) << c.name << ": the rows are not held twice";
        EXPECT_EQ(text.namespaceMentions, c.namespaceMentions) << c.name;

        std::string whole = c.text;
        pugi::xml_document parsed;
        ASSERT_TRUE(parsed.load_buffer_inplace(whole.data(), whole.size(), kParseOptions,
                                               pugi::encoding_utf8))
            << c.name;
        EXPECT_EQ(difference(streamed, parsed, ""), "") << c.name;
        EXPECT_EQ(serialise(streamed), serialise(parsed)) << c.name;
    }
}

TEST(StreamedParse, WhatIsNotLaidOutAsRowsIsLeftToTheWholeParse) {
    const std::string longText(5u << 20, 'x');
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"no_sheet_data", sheet("<chartSpace><plotArea>", plainRow, "</plotArea></chartSpace>")},
        {"sheet_data_without_rows",
         sheet("<worksheet><sheetData/><other>", plainRow, "</other></worksheet>")},
        {"comment_before_the_root", sheet("<!-- c --><worksheet><sheetData>", plainRow, kTail)},
        {"sheet_data_in_another_element",
         sheet("<worksheet><wrap><sheetData>", plainRow, "</sheetData></wrap></worksheet>")},
        {"sheet_data_only_in_a_comment",
         sheet("<worksheet><!-- <sheetData> --><other>", plainRow, "</other></worksheet>")},
        {"more_after_the_root", sheet(worksheetStart(), plainRow, kTail + "<!-- after -->")},
        {"a_row_longer_than_a_row_may_be", worksheetStart() +
                                               "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" +
                                               longText + "</t></is></c></row>" + kTail},
        {"a_damaged_row",
         sheet(
             worksheetStart(),
             [](int r) { return r == kRows / 2 ? "<row><c></row>" : plainRow(r); }, kTail)},
        {"rows_not_closed", sheet(worksheetStart(), plainRow, "</worksheet>")},
        {"the_rows_end_written_in_character_data", sheet(worksheetStart(), misleadingRow, kTail)},
    };
    for (const auto& c : cases) {
        pugi::xml_document doc;
        StreamedText text;
        EXPECT_FALSE(parsedStreamed(c.text, doc, text)) << c.name;
        EXPECT_FALSE(doc.first_child()) << c.name;
    }
}

TEST(StreamedParse, APackageParsesLargeSheetsAsAWholeParseDoes) {
    const std::string texts[] = {
        sheet(worksheetStart(), plainRow, kTail),
        sheet(worksheetStart(), misleadingRow, kTail),
        sheet(declaration() + "<x:worksheet xmlns:x=\"" + kMain + "\"><x:sheetData>", prefixedRow,
              "</x:sheetData></x:worksheet>"),
    };
    for (const std::string& text : texts) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheet.xlsx"));
        wbtest::writeZip(path, std::vector<std::pair<std::string, std::string>>{
                                   {"xl/worksheets/sheet1.xml", text}});
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Package package(file.readAll().toStdString(), QStringLiteral("sheet.xlsx"));
        const pugi::xml_document& doc = package.xml("xl/worksheets/sheet1.xml");

        std::string whole = text;
        pugi::xml_document parsed;
        ASSERT_TRUE(parsed.load_buffer_inplace(whole.data(), whole.size(), kParseOptions,
                                               pugi::encoding_utf8));
        unifyPrefixes(parsed);
        EXPECT_EQ(difference(doc, parsed, ""), "") << text.substr(0, 300);
    }
}

TEST(StreamedParse, ADamagedSheetIsRefusedWithTheMessageOfTheWholeParse) {
    using namespace std::string_literals;
    // pugixml ends a piece's text at a NUL byte: the rows before it parse, what follows is
    // never seen.
    const struct {
        const char* name;
        std::string damage; // written in place of a row
    } cases[] = {
        {"a_row_not_closed", "<row><c></row>"},
        {"a_nul_byte_between_rows", "<row r=\"7\"/>\0<row r=\"8\"/>"s},
        {"a_nul_byte_then_a_broken_tag", "<row r=\"7\"/>\0</c <x:c r=<row"s},
        {"text_and_a_nul_byte_before_the_rows_end", "\xFF\xFFks\0\0 ow r=\"3\">"s},
    };
    for (const auto& c : cases) {
        // Small: read in pieces of a few bytes, every cut is tried somewhere.
        const std::string small = worksheetStart() + plainRow(1) + c.damage + kTail;
        for (const size_t pieceSize : {size_t(1), size_t(2), size_t(5), size_t(64)}) {
            pugi::xml_document doc;
            StreamedText text;
            EXPECT_FALSE(parsedStreamed(small, doc, text, nullptr, pieceSize))
                << c.name << " in pieces of " << pieceSize;
        }

        // Large: opened in a workbook, the part is streamed; the message is the whole parse's.
        const std::string damaged = sheet(
            worksheetStart(), [&](int r) { return r == kRows - 10 ? c.damage : plainRow(r); },
            kTail);
        std::string copy = damaged;
        pugi::xml_document doc;
        const pugi::xml_parse_result whole =
            doc.load_buffer_inplace(copy.data(), copy.size(), kParseOptions, pugi::encoding_utf8);
        ASSERT_FALSE(whole) << c.name;

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("damaged.xlsx"));
        wbtest::writeZip(path, wbtest::workbookParts(damaged));
        try {
            workbook::Application app;
            app.workbooks().open(path).worksheets().item(1).usedRange();
            ADD_FAILURE() << c.name << ": opened";
        } catch (const workbook::Error& error) {
            EXPECT_EQ(error.description(),
                      QStringLiteral("The part xl/worksheets/sheet1.xml of damaged.xlsx is not "
                                     "well-formed XML: %1 at offset %2.")
                          .arg(QString::fromUtf8(whole.description()))
                          .arg(whole.offset))
                << c.name;
        }
    }
}

TEST(StreamedParse, NestingIsKeptUpToTheLimitAndRefusedBeyondItWhateverTheSize) {
    // A cell's inline string nested so that the deepest element is at `levels` levels.
    const auto nested = [](int levels, bool large) {
        std::string open, close;
        for (int i = 4; i < levels; ++i) { // worksheet, sheetData, row and c are four
            open += "<r>";
            close += "</r>";
        }
        const std::string deep = "<row r=\"1\"><c r=\"A1\">" + open + close + "</c></row>";
        return large ? sheet(
                           worksheetStart(), [&](int r) { return r == 1 ? deep : plainRow(r); },
                           kTail)
                     : worksheetStart() + deep + kTail;
    };
    for (const bool large : {false, true}) {
        for (const int levels : {kMaxXmlDepth, kMaxXmlDepth + 1}) {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("nested.zip"));
            wbtest::writeZip(path, std::vector<std::pair<std::string, std::string>>{
                                       {"xl/worksheets/sheet1.xml", nested(levels, large)}});
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            Package package(file.readAll().toStdString(), QStringLiteral("nested.zip"));
            if (levels <= kMaxXmlDepth) {
                EXPECT_NO_THROW(package.xml("xl/worksheets/sheet1.xml")) << levels << large;
            } else {
                EXPECT_THROW(package.xml("xl/worksheets/sheet1.xml"), workbook::Error)
                    << levels << large;
            }
        }
    }
}
