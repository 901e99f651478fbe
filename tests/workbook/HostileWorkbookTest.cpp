// Workbooks that cannot be read whole are refused with a message naming the part and the fault,
// never opened as empty or half read; damaged or hostile input does not crash, hang or exhaust
// memory.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

using namespace workbook;
using Parts = std::map<std::string, std::string>;

namespace {

const std::string kMain = wbtest::kMainNamespace;

Parts oneSheet(const std::string& sheetData, const std::string& sharedStrings = {}) {
    return wbtest::workbookParts(wbtest::worksheetXml(sheetData), sharedStrings);
}

Parts withSharedString() {
    return oneSheet(R"(<row r="1"><c r="A1" t="s"><v>0</v></c></row>)",
                    "<sst xmlns=\"" + kMain + "\"><si><t>text</t></si></sst>");
}

uint32_t readLittleEndian32(const QByteArray& bytes, qsizetype at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

void writeLittleEndian32(QByteArray& bytes, qsizetype at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// Writes the parts, then makes the zip headers of `part` declare another inflated size.
void writeDeclaringSize(const QString& path, const Parts& parts, const std::string& part,
                        uint32_t declared) {
    wbtest::writeZip(path, parts);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const QByteArray name = QByteArray::fromStdString(part);
    int patched = 0;
    // Local headers hold the size at 22, the name's length at 26 and the name at 30; central
    // headers at 24, 28 and 46.
    for (const auto& [signature, sizeAt, lengthAt, nameAt] :
         {std::tuple{QByteArray("PK\x03\x04", 4), 22, 26, 30},
          std::tuple{QByteArray("PK\x01\x02", 4), 24, 28, 46}}) {
        for (qsizetype at = bytes.indexOf(signature); at >= 0;
             at = bytes.indexOf(signature, at + 4)) {
            const int nameLength = static_cast<unsigned char>(bytes[at + lengthAt]) |
                                   (static_cast<unsigned char>(bytes[at + lengthAt + 1]) << 8);
            if (bytes.mid(at + nameAt, nameLength) == name) {
                ASSERT_GT(readLittleEndian32(bytes, at + sizeAt), 0u);
                writeLittleEndian32(bytes, at + sizeAt, declared);
                ++patched;
            }
        }
    }
    ASSERT_EQ(patched, 2);
    file.seek(0);
    file.write(bytes);
}

struct RefusedCase {
    const char* name;
    std::function<void(const QString&)> write;
    std::vector<const char*> described; // what the message names
};

std::function<void(const QString&)> writing(std::function<Parts()> parts) {
    return [parts](const QString& path) { wbtest::writeZip(path, parts()); };
}

// A sheet of `size` bytes of whitespace: deflate shrinks it about a thousand times.
std::string inflatingSheet(size_t size) {
    return wbtest::worksheetXml(std::string(size, ' '));
}

const RefusedCase kRefusedCases[] = {
    {"missing_worksheet",
     writing([] {
         Parts parts = oneSheet({});
         parts.erase("xl/worksheets/sheet1.xml");
         return parts;
     }),
     {"xl/worksheets/sheet1.xml", "missing"}},
    {"missing_shared_strings",
     writing([] {
         Parts parts = withSharedString();
         parts.erase("xl/sharedStrings.xml");
         return parts;
     }),
     {"xl/sharedStrings.xml", "missing"}},
    {"sheet_without_relationship",
     writing([] {
         Parts parts = oneSheet({});
         std::string& workbook = parts["xl/workbook.xml"];
         workbook.replace(workbook.find("rId1"), 4, "rId9");
         return parts;
     }),
     {"xl/workbook.xml", "Sheet1"}},
    {"no_sheets",
     writing([] {
         Parts parts = oneSheet({});
         parts["xl/workbook.xml"] = "<workbook xmlns=\"" + kMain + "\"><sheets/></workbook>";
         return parts;
     }),
     {"xl/workbook.xml", "no sheets"}},
    {"worksheet_part_holds_something_else",
     writing([] {
         Parts parts = oneSheet({});
         parts["xl/worksheets/sheet1.xml"] = "<chartsheet xmlns=\"" + kMain + "\"/>";
         return parts;
     }),
     {"xl/worksheets/sheet1.xml", "worksheet"}},
    {"shared_strings_part_holds_something_else",
     writing([] {
         Parts parts = withSharedString();
         parts["xl/sharedStrings.xml"] = "<table/>";
         return parts;
     }),
     {"xl/sharedStrings.xml", "shared strings"}},
    {"column_letters_beyond_the_sheet",
     writing([] { return oneSheet(R"(<row r="1"><c r="MWLQKWX1"><v>1</v></c></row>)"); }),
     {"xl/worksheets/sheet1.xml", "MWLQKWX1"}},
    {"row_digits_beyond_the_sheet",
     writing([] { return oneSheet(R"(<row r="1"><c r="A99999999999"><v>1</v></c></row>)"); }),
     {"xl/worksheets/sheet1.xml", "A99999999999"}},
    {"row_number_beyond_the_sheet",
     writing([] { return oneSheet(R"(<row r="1048577"><c><v>1</v></c></row>)"); }),
     {"xl/worksheets/sheet1.xml", "1048577"}},
    {"text_nested_a_million_deep",
     writing([] {
         std::string text;
         text.reserve(8'000'000);
         for (int i = 0; i < 1'000'000; ++i) {
             text += "<r>";
         }
         for (int i = 0; i < 1'000'000; ++i) {
             text += "</r>";
         }
         return oneSheet(R"(<row r="1"><c r="A1" t="inlineStr"><is>)" + text + "</is></c></row>");
     }),
     {"xl/worksheets/sheet1.xml", "256"}},
    {"directory_declares_four_gigabytes",
     [](const QString& path) {
         writeDeclaringSize(path, oneSheet(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"),
                            "xl/worksheets/sheet1.xml", 0xFFFFFFF0u);
     },
     {"xl/worksheets/sheet1.xml", "inflates"}},
    {"part_inflating_a_thousand_times",
     writing([] { return wbtest::workbookParts(inflatingSheet(20u << 20)); }),
     {"xl/worksheets/sheet1.xml", "inflates"}},
    {"part_inflating_beyond_its_declared_size",
     [](const QString& path) {
         writeDeclaringSize(path, wbtest::workbookParts(inflatingSheet(20u << 20)),
                            "xl/worksheets/sheet1.xml", 1u << 20);
     },
     {"xl/worksheets/sheet1.xml"}},
};

// The description of the failure of opening the workbook and reading every cell.
QString failureOf(const QString& path) {
    try {
        Application app;
        const Workbook book = app.workbooks().open(path);
        for (int i = 1; i <= book.worksheets().count(); ++i) {
            const Worksheet sheet = book.worksheets().item(i);
            sheet.usedRange().value2Array();
            sheet.range(QStringLiteral("A1")).text();
        }
    } catch (const Error& error) {
        EXPECT_EQ(error.code(), kRejectedReference);
        return error.description();
    }
    return {};
}

} // namespace

TEST(HostileWorkbook, RefusedWithTheFaultyPartNamed) {
    QTemporaryDir dir;
    for (const RefusedCase& c : kRefusedCases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".xlsx"));
        c.write(path);
        const QString failure = failureOf(path);
        ASSERT_FALSE(failure.isEmpty()) << c.name << " opened";
        for (const char* named : c.described) {
            EXPECT_TRUE(failure.contains(QString::fromLatin1(named)))
                << c.name << ": " << failure.toStdString();
        }
    }
}

// Style tables a styles part leaves out are added with their defaults when a cell style changes.
TEST(HostileWorkbook, StylesWithoutCellFormatsTakeNewStyles) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("bare-styles.xlsx"));
    const QString saved = dir.filePath(QStringLiteral("saved.xlsx"));
    wbtest::writeWorkbook(
        source, R"(<row r="1"><c r="A1"><v>1</v></c></row>)",
        "<styleSheet xmlns=\"" + kMain +
            R"("><fonts count="1"><font><sz val="11"/></font></fonts></styleSheet>)");
    Application app;
    {
        const Workbook book = app.workbooks().open(source);
        const Worksheet sheet = book.worksheets().item(1);
        sheet.range(QStringLiteral("A2"))
            .setValues({CellValue::text(QStringLiteral("09-Dec-2026"))});
        sheet.range(QStringLiteral("A1")).font().setColor(255);
        sheet.range(QStringLiteral("A3")).interior().setColor(0x00FF00);
        EXPECT_EQ(sheet.range(QStringLiteral("A2")).text(), QStringLiteral("09-Dec-2026"));
        book.saveAs(saved);
        book.close();
    }
    const std::string styles = wbtest::readParts(saved).at("xl/styles.xml");
    for (const char* table : {"<fills count=\"3\">", "<borders count=\"1\">",
                              "<cellStyleXfs count=\"1\">", "<cellXfs count=\"4\">"}) {
        EXPECT_NE(styles.find(table), std::string::npos) << table << "\n" << styles;
    }
    const Worksheet again = app.workbooks().open(saved).worksheets().item(1);
    EXPECT_EQ(again.range(QStringLiteral("A2")).text(), QStringLiteral("09-Dec-2026"));
    EXPECT_EQ(again.range(QStringLiteral("A1")).value2(), CellValue::number(1));
}
