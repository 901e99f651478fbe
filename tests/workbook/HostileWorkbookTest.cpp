// Workbooks that cannot be read whole are refused with a message naming the part and the fault,
// never opened as empty or half read; damaged or hostile input does not crash, hang or exhaust
// memory.
#include "WorkbookTestSupport.h"

#include "workbook/Application.h"
#include "workbook/Error.h"
#include "workbook/detail/PartReader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

using namespace workbook;
using testing::AllOf;
using testing::HasSubstr;
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

// Writes the parts, then makes the zip headers of each part in `declared` declare another
// inflated size.
void writeDeclaringSizes(const QString& path, const Parts& parts,
                         const std::map<std::string, uint32_t>& declared) {
    wbtest::writeZip(path, parts);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    for (const auto& [part, size] : declared) {
        const QByteArray name = QByteArray::fromStdString(part);
        int patched = 0;
        // Local headers hold the size at 22, the name's length at 26 and the name at 30;
        // central headers at 24, 28 and 46.
        for (const auto& [signature, sizeAt, lengthAt, nameAt] :
             {std::tuple{QByteArray("PK\x03\x04", 4), 22, 26, 30},
              std::tuple{QByteArray("PK\x01\x02", 4), 24, 28, 46}}) {
            for (qsizetype at = bytes.indexOf(signature); at >= 0;
                 at = bytes.indexOf(signature, at + 4)) {
                const int nameLength = static_cast<unsigned char>(bytes[at + lengthAt]) |
                                       (static_cast<unsigned char>(bytes[at + lengthAt + 1]) << 8);
                if (bytes.mid(at + nameAt, nameLength) == name) {
                    ASSERT_GT(readLittleEndian32(bytes, at + sizeAt), 0u);
                    writeLittleEndian32(bytes, at + sizeAt, size);
                    ++patched;
                }
            }
        }
        ASSERT_EQ(patched, 2) << part;
    }
    file.seek(0);
    file.write(bytes);
}

// A part of a start, a block of text repeated `count` times and an end, deflated without ever
// being inflated: the block is deflated once, flushed so that nothing after it refers back to
// it, and its deflated bytes repeated. The archive takes the deflated bytes as they are.
struct DeflatedRepeat {
    std::string start; // deflated, as `block` and `end` (which closes the stream)
    std::string block;
    uint64_t count = 0;
    std::string end;
    uint64_t size = 0; // inflated
    uLong crc = 0;
    uint64_t at = 0; // deflated bytes handed out
    zip_error_t error{};

    DeflatedRepeat(const std::string& head, const std::string& text, uint64_t repeats,
                   const std::string& tail)
        : count(repeats) {
        z_stream stream{};
        deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
        start = deflated(stream, head, Z_FULL_FLUSH);
        block = deflated(stream, text, Z_FULL_FLUSH);
        end = deflated(stream, tail, Z_FINISH);
        deflateEnd(&stream);
        size = head.size() + text.size() * count + tail.size();
        const auto crcOf = [](const std::string& bytes) {
            return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size()));
        };
        crc = crcOf(head);
        const uLong blockCrc = crcOf(text);
        for (uint64_t i = 0; i < count; ++i) {
            crc = crc32_combine(crc, blockCrc, z_off_t(text.size()));
        }
        crc = crc32_combine(crc, crcOf(tail), z_off_t(tail.size()));
        zip_error_init(&error);
    }
    ~DeflatedRepeat() { zip_error_fini(&error); }

    static std::string deflated(z_stream& stream, const std::string& text, int flush) {
        std::string out(text.size() + 1024, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
        stream.avail_in = uInt(text.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, flush);
        out.resize(out.size() - stream.avail_out);
        return out;
    }

    uint64_t deflatedSize() const { return start.size() + block.size() * count + end.size(); }

    size_t read(char* into, size_t length) {
        const uint64_t repeated = block.size() * count;
        size_t done = 0;
        while (done < length && at < deflatedSize()) {
            const std::string* from = &end;
            uint64_t offset = at - start.size() - repeated;
            if (at < start.size()) {
                from = &start;
                offset = at;
            } else if (at < start.size() + repeated) {
                from = &block;
                offset = (at - start.size()) % block.size();
            }
            const size_t n = std::min(length - done, size_t(from->size() - offset));
            std::memcpy(into + done, from->data() + offset, n);
            done += n;
            at += n;
        }
        return done;
    }
};

zip_int64_t deflatedRepeatSource(void* state, void* data, zip_uint64_t length,
                                 zip_source_cmd_t command) {
    auto* part = static_cast<DeflatedRepeat*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        part->at = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return zip_int64_t(part->read(static_cast<char*>(data), size_t(length)));
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->size = part->size;
        stat->comp_size = part->deflatedSize();
        stat->crc = uint32_t(part->crc);
        stat->comp_method = ZIP_CM_DEFLATE;
        stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&part->error, data, length);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        return -1;
    }
}

// A workbook of less than a megabyte whose sheet inflates to `count` repeats of `unit` in
// its one row.
void writeBomb(const QString& path, const std::string& unit, uint64_t count) {
    Parts parts = oneSheet({});
    parts.erase("xl/worksheets/sheet1.xml");
    const std::string sheet = wbtest::worksheetXml("<row r=\"1\">\x01</row>");
    const size_t cut = sheet.find('\x01');
    // The unit repeated into a block of about 64 KiB.
    const uint64_t perBlock = std::max<uint64_t>(1, (uint64_t(64) << 10) / unit.size());
    std::string block;
    for (uint64_t i = 0; i < perBlock; ++i) {
        block += unit;
    }
    DeflatedRepeat part(sheet.substr(0, cut), block, (count + perBlock - 1) / perBlock,
                        sheet.substr(cut + 1));
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    zip_source_t* source = zip_source_function(archive, deflatedRepeatSource, &part);
    ASSERT_GE(zip_file_add(archive, "xl/worksheets/sheet1.xml", source, 0), 0);
    ASSERT_EQ(zip_close(archive), 0);
    ASSERT_LT(QFileInfo(path).size(), 1 << 20);
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
         writeDeclaringSizes(path, oneSheet(R"(<row r="1"><c r="A1"><v>1</v></c></row>)"),
                             {{"xl/worksheets/sheet1.xml", 0xFFFFFFF0u}});
     },
     {"xl/worksheets/sheet1.xml", "inflates"}},
    {"parts_declaring_more_than_a_workbook_holds_together",
     [](const QString& path) {
         writeDeclaringSizes(
             path, withSharedString(),
             {{"xl/sharedStrings.xml", 0x7FFFFFF0u}, {"xl/worksheets/sheet1.xml", 0x7FFFFFF0u}});
     },
     {"xl/worksheets/sheet1.xml", "inflates", "parts before it"}},
    {"part_inflating_beyond_its_declared_size",
     [](const QString& path) {
         writeDeclaringSizes(path, wbtest::workbookParts(inflatingSheet(20u << 20)),
                             {{"xl/worksheets/sheet1.xml", 1u << 20}});
     },
     {"xl/worksheets/sheet1.xml", "damaged"}},
    // An inflation bomb: a well-formed sheet of less than a megabyte whose tree would take
    // gigabytes.
    {"sheet_of_more_cells_than_a_workbook_holds",
     [](const QString& path) { writeBomb(path, "<c/>", 151'000'000); },
     {"xl/worksheets/sheet1.xml", "elements"}},
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

// A part's tree nodes (elements, and texts between tags) and attributes are counted as it
// inflates, in whatever pieces it is read: the part is refused, named, as soon as one passes its
// limit.
TEST(HostileWorkbook, TreeNodesAndAttributesCountedAsThePartInflates) {
    const struct {
        const char* text;
        uint64_t nodes;
        uint64_t attributes;
    } cases[] = {
        {R"(<c r="A1"><v>1</v></c>)", 3, 1},
        {R"(<a><b x="1" y="2"/>text</a>)", 3, 2},
        {"<a>\n  <b/>\n</a>", 4, 0},
        {R"(<?xml version="1.0"?><a/>)", 2, 1},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("parts.zip"));
    std::map<std::string, std::string> parts;
    for (size_t i = 0; i < std::size(cases); ++i) {
        parts["part" + std::to_string(i) + ".xml"] = cases[i].text;
    }
    wbtest::writeZip(path, parts);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "part" + std::to_string(i) + ".xml";
        const zip_int64_t index = zip_name_locate(archive, name.c_str(), 0);
        // Read a byte at a time and whole: what one read ends with counts with the next.
        for (const size_t piece : {size_t(1), size_t(4096)}) {
            const auto readWithin = [&](uint64_t nodes, uint64_t attributes) -> QString {
                detail::PartReader reader(archive, index, 1 << 20, 0, QString::fromStdString(name),
                                          QStringLiteral("parts.zip"), {nodes, attributes});
                std::string into(piece, '\0');
                try {
                    while (reader.read(into.data(), piece) > 0) {
                    }
                } catch (const Error& e) {
                    return e.description();
                }
                return {};
            };
            const auto& c = cases[i];
            EXPECT_EQ(readWithin(c.nodes, c.attributes), QString()) << c.text;
            EXPECT_THAT(readWithin(c.nodes - 1, c.attributes).toStdString(),
                        AllOf(HasSubstr(name), HasSubstr("elements and texts")))
                << c.text;
            if (c.attributes > 0) {
                EXPECT_THAT(readWithin(c.nodes, c.attributes - 1).toStdString(),
                            AllOf(HasSubstr(name), HasSubstr("attributes")))
                    << c.text;
            }
        }
    }
    zip_discard(archive);
}

// The limits are on what a part takes in memory, not on how well it deflates: a sheet that
// inflates a thousand times and stays far below them opens.
TEST(HostileWorkbook, PartDeflatedAThousandTimesWithinTheLimitsOpens) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("white-space.xlsx"));
    wbtest::writeZip(
        path, wbtest::workbookParts(wbtest::worksheetXml(
                  std::string(20u << 20, ' ') + R"(<row r="1"><c r="A1"><v>7</v></c></row>)")));
    ASSERT_LT(QFileInfo(path).size(), 100 << 10);
    Application app;
    const Workbook book = app.workbooks().open(path);
    EXPECT_EQ(book.worksheets().item(1).range(QStringLiteral("A1")).value2(), CellValue::number(7));
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
