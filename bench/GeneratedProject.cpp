#include "GeneratedProject.h"

#include <QFile>

#include <zip.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <memory>

namespace bench {

namespace {

// A deterministic pseudo-random sequence.
class Sequence {
public:
    unsigned next(unsigned bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return bound == 0 ? 0 : static_cast<unsigned>((state_ >> 33) % bound);
    }

private:
    unsigned long long state_ = 42;
};

constexpr int kColumns = 12;
const char* const kHeadings[kColumns] = {"Task",    "BL Start",   "BL Finish", "BL MH",
                                         "BL Cost", "Start",      "Finish",    "MH",
                                         "Cost",    "% Complete", "WBS",       "Responsible"};

constexpr const char* kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

std::string columnLetter(int column) {
    return std::string(1, char('A' + column));
}

void appendNumber(std::string& out, double value) {
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void appendInt(std::string& out, long long value) {
    char buffer[24];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

// One cell of a row: a text, or a number with its style (0: none).
struct Cell {
    const std::string* text = nullptr;
    double number = 0;
    int style = 0;
};

std::vector<Cell> cellsOf(const TaskRow& row) {
    constexpr int kDate = 1;
    return {{&row.name, 0, 0},
            {nullptr, double(row.blStart), kDate},
            {nullptr, double(row.blFinish), kDate},
            {nullptr, row.blMH, 0},
            {nullptr, row.blCost, 0},
            {nullptr, double(row.start), kDate},
            {nullptr, double(row.finish), kDate},
            {nullptr, row.mh, 0},
            {nullptr, row.cost, 0},
            {nullptr, row.pct, 0},
            {&row.wbs, 0, 0},
            {&row.responsible, 0, 0}};
}

// The texts of a shared-strings table in order of first use, and each text's index.
class StringTable {
public:
    int add(const std::string& text) {
        ++count_;
        const auto [it, added] = index_.emplace(text, int(items_.size()));
        if (added) {
            items_.push_back(&it->first);
        }
        return it->second;
    }

    std::string part(bool preserveSpace) const {
        std::string out = kDeclaration;
        out += "<sst xmlns=\"";
        out += kMainNs;
        out += "\" count=\"" + std::to_string(count_) + "\" uniqueCount=\"" +
               std::to_string(items_.size()) + "\">";
        for (const std::string* text : items_) {
            out += preserveSpace ? "<si><t xml:space=\"preserve\">" : "<si><t>";
            out += *text;
            out += "</t></si>";
        }
        out += "</sst>";
        return out;
    }

private:
    std::map<std::string, int> index_;
    std::vector<const std::string*> items_;
    long long count_ = 0;
};

// What sets the flavours' worksheets apart.
struct SheetShape {
    std::string head;     // from the root's start tag to <sheetData>
    std::string tail;     // after </sheetData>
    std::string rowOpen;  // after <row r="N"
    bool numbersTyped;    // t="n" on numbers
    bool everyCellStyled; // s="0" written
};

SheetShape shapeOf(Flavour flavour, const std::string& dimension) {
    const std::string root =
        std::string("<worksheet xmlns=\"") + kMainNs + "\" xmlns:r=\"" + kRelNs + "\"";
    switch (flavour) {
    case Flavour::SharedStrings:
        return {root +
                    " xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\" "
                    "mc:Ignorable=\"x14ac xr xr2 xr3\" "
                    "xmlns:x14ac=\"http://schemas.microsoft.com/office/spreadsheetml/2009/9/ac\" "
                    "xmlns:xr=\"http://schemas.microsoft.com/office/spreadsheetml/2014/revision\" "
                    "xmlns:xr2=\"http://schemas.microsoft.com/office/spreadsheetml/2015/"
                    "revision2\" "
                    "xmlns:xr3=\"http://schemas.microsoft.com/office/spreadsheetml/2016/"
                    "revision3\" xr:uid=\"{3A6E2F52-6B1C-4D0E-9F1A-2B7C5D8E9F01}\">"
                    "<dimension ref=\"" +
                    dimension +
                    "\"/><sheetViews><sheetView tabSelected=\"1\" workbookViewId=\"0\">"
                    "<selection activeCell=\"A1\" sqref=\"A1\"/></sheetView></sheetViews>"
                    "<sheetFormatPr defaultRowHeight=\"15\" x14ac:dyDescent=\"0.25\"/>"
                    "<cols><col min=\"1\" max=\"1\" width=\"12.7109375\" customWidth=\"1\"/>"
                    "<col min=\"2\" max=\"12\" width=\"11.7109375\" customWidth=\"1\"/></cols>"
                    "<sheetData>",
                "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" "
                "bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/></worksheet>",
                " spans=\"1:12\" x14ac:dyDescent=\"0.25\"", false, false};
    case Flavour::LibreOffice:
        return {root +
                    "><sheetPr filterMode=\"false\"><pageSetUpPr fitToPage=\"false\"/>"
                    "</sheetPr><dimension ref=\"" +
                    dimension +
                    "\"/><sheetViews><sheetView showFormulas=\"false\" showGridLines=\"true\" "
                    "showRowColHeaders=\"true\" showZeros=\"true\" rightToLeft=\"false\" "
                    "tabSelected=\"true\" showOutlineSymbols=\"true\" "
                    "defaultGridColor=\"true\" view=\"normal\" topLeftCell=\"A1\" "
                    "colorId=\"64\" zoomScale=\"100\" zoomScaleNormal=\"100\" "
                    "zoomScalePageLayoutView=\"100\" workbookViewId=\"0\">"
                    "<selection pane=\"topLeft\" activeCell=\"A1\" activeCellId=\"0\" "
                    "sqref=\"A1\"/></sheetView></sheetViews>"
                    "<sheetFormatPr defaultColWidth=\"11.53515625\" defaultRowHeight=\"12.8\" "
                    "zeroHeight=\"false\" outlineLevelRow=\"0\" outlineLevelCol=\"0\"/>"
                    "<cols><col collapsed=\"false\" customWidth=\"false\" hidden=\"false\" "
                    "outlineLevel=\"0\" max=\"16384\" min=\"1\" style=\"0\" width=\"11.52\"/>"
                    "</cols><sheetData>",
                "</sheetData><printOptions headings=\"false\" gridLines=\"false\" "
                "gridLinesSet=\"true\" horizontalCentered=\"false\" verticalCentered=\"false\"/>"
                "<pageMargins left=\"0.7875\" right=\"0.7875\" top=\"1.05277777777778\" "
                "bottom=\"1.05277777777778\" header=\"0.7875\" footer=\"0.7875\"/>"
                "<pageSetup paperSize=\"9\" scale=\"100\" fitToWidth=\"1\" fitToHeight=\"1\" "
                "pageOrder=\"downThenOver\" orientation=\"portrait\" blackAndWhite=\"false\" "
                "draft=\"false\" cellComments=\"none\" horizontalDpi=\"300\" "
                "verticalDpi=\"300\" copies=\"1\"/><headerFooter differentFirst=\"false\" "
                "differentOddEven=\"false\"><oddHeader>&amp;C&amp;\"Times New "
                "Roman,Regular\"&amp;12&amp;A</oddHeader><oddFooter>&amp;C&amp;\"Times New "
                "Roman,Regular\"&amp;12Page &amp;P</oddFooter></headerFooter></worksheet>",
                " customFormat=\"false\" ht=\"12.8\" hidden=\"false\" customHeight=\"false\" "
                "outlineLevel=\"0\" collapsed=\"false\"",
                true, true};
    case Flavour::InlineStrings:
        break;
    }
    return {std::string("<worksheet xmlns=\"") + kMainNs +
                "\"><sheetPr><outlinePr summaryBelow=\"1\" summaryRight=\"1\"/><pageSetUpPr/>"
                "</sheetPr><dimension ref=\"" +
                dimension +
                "\"/><sheetViews><sheetView workbookViewId=\"0\"><selection activeCell=\"A1\" "
                "sqref=\"A1\"/></sheetView></sheetViews><sheetFormatPr baseColWidth=\"8\" "
                "defaultRowHeight=\"15\"/><sheetData>",
            "</sheetData><pageMargins left=\"0.75\" right=\"0.75\" top=\"1\" bottom=\"1\" "
            "header=\"0.5\" footer=\"0.5\"/></worksheet>",
            "", true, false};
}

std::string sheetPart(const std::vector<TaskRow>& rows, Flavour flavour, StringTable& strings) {
    const std::string dimension = "A1:L" + std::to_string(rows.size() + 1);
    const SheetShape shape = shapeOf(flavour, dimension);
    std::string out = kDeclaration + shape.head;
    out.reserve(rows.size() * 600);
    const bool inline_ = flavour == Flavour::InlineStrings;
    auto row = [&](int r, const std::vector<Cell>& cells) {
        out += "<row r=\"";
        appendInt(out, r);
        out += '"';
        out += shape.rowOpen;
        out += '>';
        for (int c = 0; c < kColumns; ++c) {
            const Cell& cell = cells[size_t(c)];
            out += "<c r=\"";
            out += columnLetter(c);
            appendInt(out, r);
            out += '"';
            if (cell.style != 0 || shape.everyCellStyled) {
                out += " s=\"";
                appendInt(out, cell.style);
                out += '"';
            }
            if (cell.text != nullptr && inline_) {
                out += " t=\"inlineStr\"><is><t>";
                out += *cell.text;
                out += "</t></is></c>";
                continue;
            }
            if (cell.text != nullptr) {
                out += " t=\"s\"><v>";
                appendInt(out, strings.add(*cell.text));
            } else {
                out += shape.numbersTyped ? " t=\"n\"><v>" : "><v>";
                appendNumber(out, cell.number);
            }
            out += "</v></c>";
        }
        out += "</row>";
    };
    std::vector<std::string> headings(kHeadings, kHeadings + kColumns);
    std::vector<Cell> header(kColumns);
    for (int c = 0; c < kColumns; ++c) {
        header[size_t(c)].text = &headings[size_t(c)];
    }
    row(1, header);
    for (size_t k = 0; k < rows.size(); ++k) {
        row(int(k) + 2, cellsOf(rows[k]));
    }
    out += shape.tail;
    return out;
}

std::string stylesPart(Flavour flavour) {
    const char* dateFormat = "<numFmts count=\"1\"><numFmt numFmtId=\"164\" "
                             "formatCode=\"dd-mmm-yyyy\"/></numFmts>";
    const std::string open = std::string(kDeclaration) + "<styleSheet xmlns=\"" + kMainNs + "\">";
    if (flavour == Flavour::InlineStrings) {
        return open + dateFormat +
               "<fonts count=\"1\"><font><name val=\"Calibri\"/><family val=\"2\"/>"
               "<color theme=\"1\"/><sz val=\"11\"/><scheme val=\"minor\"/></font></fonts>"
               "<fills count=\"2\"><fill><patternFill/></fill><fill><patternFill "
               "patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/>"
               "<right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs "
               "count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
               "</cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" "
               "fillId=\"0\" borderId=\"0\" pivotButton=\"0\" quotePrefix=\"0\" xfId=\"0\"/>"
               "<xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
               "applyNumberFormat=\"1\" pivotButton=\"0\" quotePrefix=\"0\" xfId=\"0\"/>"
               "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" "
               "builtinId=\"0\" hidden=\"0\"/></cellStyles><tableStyles count=\"0\" "
               "defaultTableStyle=\"TableStyleMedium9\" defaultPivotStyle=\"PivotStyleLight16\"/>"
               "</styleSheet>";
    }
    return open + dateFormat +
           "<fonts count=\"1\"><font><sz val=\"11\"/><color theme=\"1\"/><name "
           "val=\"Calibri\"/><family val=\"2\"/><scheme val=\"minor\"/></font></fonts>"
           "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill>"
           "<patternFill patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border>"
           "<left/><right/><top/><bottom/><diagonal/></border></borders><cellStyleXfs "
           "count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
           "</cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
           "borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"164\" fontId=\"0\" fillId=\"0\" "
           "borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs><cellStyles "
           "count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
           "<dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium2\" "
           "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>";
}

std::string workbookPart() {
    return std::string(kDeclaration) + "<workbook xmlns=\"" + kMainNs + "\" xmlns:r=\"" + kRelNs +
           "\"><workbookPr/><bookViews><workbookView xWindow=\"0\" yWindow=\"0\" "
           "windowWidth=\"28800\" windowHeight=\"12300\" activeTab=\"0\"/></bookViews><sheets>"
           "<sheet name=\"" +
           kTaskSheet +
           "\" sheetId=\"1\" r:id=\"rId1\"/></sheets><calcPr calcId=\"191029\"/>"
           "</workbook>";
}

std::string contentTypesPart(bool sharedStrings) {
    std::string out = std::string(kDeclaration) +
                      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                      "content-types\"><Default Extension=\"rels\" "
                      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                      "<Override PartName=\"/xl/workbook.xml\" "
                      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                      "sheet.main+xml\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" "
                      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                      "worksheet+xml\"/><Override PartName=\"/xl/styles.xml\" "
                      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
                      "styles+xml\"/>";
    if (sharedStrings) {
        out += "<Override PartName=\"/xl/sharedStrings.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml."
               "sharedStrings+xml\"/>";
    }
    out += "<Override PartName=\"/docProps/core.xml\" "
           "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
           "<Override PartName=\"/docProps/app.xml\" "
           "ContentType=\"application/vnd.openxmlformats-officedocument.extended-properties+"
           "xml\"/></Types>";
    return out;
}

std::string relationship(const char* id, const char* type, const char* target) {
    return std::string("<Relationship Id=\"") + id + "\" Type=\"" + type + "\" Target=\"" + target +
           "\"/>";
}

std::string relationshipsPart(const std::string& body) {
    return std::string(kDeclaration) +
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
           "relationships\">" +
           body + "</Relationships>";
}

std::string packageRels() {
    return relationshipsPart(
        relationship("rId1",
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                     "officeDocument",
                     "xl/workbook.xml") +
        relationship("rId2",
                     "http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
                     "core-properties",
                     "docProps/core.xml") +
        relationship("rId3",
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                     "extended-properties",
                     "docProps/app.xml"));
}

std::string workbookRels(bool sharedStrings) {
    std::string body =
        relationship("rId1",
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                     "worksheet",
                     "worksheets/sheet1.xml") +
        relationship("rId2",
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles",
                     "styles.xml");
    if (sharedStrings) {
        body += relationship("rId3",
                             "http://schemas.openxmlformats.org/officeDocument/2006/"
                             "relationships/sharedStrings",
                             "sharedStrings.xml");
    }
    return relationshipsPart(body);
}

std::string corePart() {
    return std::string(kDeclaration) +
           "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/"
           "metadata/core-properties\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>Planner"
           "</dc:creator><dcterms:created xsi:type=\"dcterms:W3CDTF\">2026-01-05T08:00:00Z"
           "</dcterms:created></cp:coreProperties>";
}

std::string appPart() {
    return std::string(kDeclaration) +
           "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/"
           "extended-properties\"><Application>Generator</Application></Properties>";
}

} // namespace

const std::vector<FlavourInfo>& flavours() {
    static const std::vector<FlavourInfo> all = {
        {Flavour::SharedStrings, "shared", "shared strings"},
        {Flavour::LibreOffice, "libre", "LibreOffice"},
        {Flavour::InlineStrings, "inline", "inline strings"},
    };
    return all;
}

std::vector<TaskRow> MakeProject(int tasks, int days, int first, int cutOff) {
    std::vector<TaskRow> rows;
    rows.reserve(size_t(tasks));
    Sequence random;
    for (int k = 1; k <= tasks; ++k) {
        int blStart = 0;
        int blLength = days;
        if (k > 1) {
            blStart = static_cast<int>(random.next(static_cast<unsigned>(days)));
            blLength = 1 + static_cast<int>(
                               random.next(static_cast<unsigned>(std::min(60, days - blStart))));
        }
        const int shift = static_cast<int>(random.next(8)) - 2;
        const int start = k == 1 ? 0 : std::clamp(blStart + shift, 0, days - 1);
        const int length =
            k == 1 ? days : std::min(days - start, blLength + static_cast<int>(random.next(4)));
        TaskRow row;
        row.name = "Task " + std::to_string(k);
        row.blStart = first + blStart;
        row.blFinish = first + blStart + blLength - 1;
        row.blMH = 8.0 * blLength * (1 + random.next(3));
        row.blCost = row.blMH * 55.0;
        row.mh = row.blMH * (0.9 + 0.05 * random.next(5));
        row.cost = row.mh * 55.0;
        row.start = first + start;
        row.finish = row.start + length - 1;
        row.pct = row.finish <= cutOff ? 1.0
                  : row.start > cutOff ? 0.0
                                       : double(cutOff - row.start + 1) / length;
        row.wbs = "1." + std::to_string(k / 100 + 1) + "." + std::to_string(k % 100 + 1);
        row.responsible = "Crew " + std::to_string(k % 37 + 1);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool WriteProject(const QString& path, const std::vector<TaskRow>& rows, Flavour flavour,
                  QString& error) {
    const bool shared = flavour != Flavour::InlineStrings;
    StringTable strings;
    std::vector<std::pair<const char*, std::string>> parts;
    parts.emplace_back("[Content_Types].xml", contentTypesPart(shared));
    parts.emplace_back("_rels/.rels", packageRels());
    parts.emplace_back("docProps/app.xml", appPart());
    parts.emplace_back("docProps/core.xml", corePart());
    parts.emplace_back("xl/workbook.xml", workbookPart());
    parts.emplace_back("xl/_rels/workbook.xml.rels", workbookRels(shared));
    parts.emplace_back("xl/styles.xml", stylesPart(flavour));
    parts.emplace_back(kTaskSheetPart, sheetPart(rows, flavour, strings));
    if (shared) {
        parts.emplace_back("xl/sharedStrings.xml", strings.part(flavour == Flavour::LibreOffice));
    }
    QFile::remove(path);
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        error = QStringLiteral("cannot create %1 (libzip error %2)").arg(path).arg(code);
        return false;
    }
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        const zip_int64_t index =
            source == nullptr ? -1 : zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            error = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            return false;
        }
        // As the writing programs do: zlib's default level.
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 6);
    }
    if (zip_close(archive) != 0) {
        error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace bench
