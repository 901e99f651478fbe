// Spreadsheet engine benchmarks.
//   bench_workbook [rows]: opens the template workbook, fills a Chart Data block of 50,000 rows x
//     37 columns one column at a time after inserting 10,000 rows into its block, and saves it;
//     prints each stage's time and the peak memory.
//   bench_workbook write-sheet PATH ROWS COLUMNS: writes a workbook whose one sheet holds ROWS x
//     COLUMNS numbers, as the largest task lists are.
//   bench_workbook write-bomb PATH MEGABYTES [cells]: writes a workbook of a few megabytes whose
//     sheet inflates to MEGABYTES: mostly white space in one cell's text, or with `cells` mostly
//     empty cells, and random text enough to keep the inflation ratio under 450.
//   bench_workbook open PATH: opens the workbook and reads every sheet's values, as a run reads a
//     task list; prints the time and the peak memory, or the refusal.
//   bench_workbook formats PLACEHOLDERS [CELLS]: renders CELLS numbers (309 unless given) under
//     the code "0." followed by PLACEHOLDERS zeros, then with the renderer alone on the whole
//     code; prints the times.
// Write and open are separate runs so that /usr/bin/time -v measures the open alone.
#include "workbook/Application.h"
#include "workbook/CellRef.h"
#include "workbook/Error.h"
#include "workbook/NumberFormat.h"
#include "workbook/detail/FormatCode.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <zip.h>

namespace {

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int fillTemplate(int rows) {
    const int columns = 37;
    const int firstRow = 8;
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("bench_output.xlsx"));
    QElapsedTimer timer;
    timer.start();
    workbook::Application app;
    const workbook::Workbook book = app.workbooks().open(QStringLiteral(KRV_WORKBOOK_TEMPLATE));
    const workbook::Worksheet sheet = book.worksheets().item(QStringLiteral("Chart Data"));
    sheet.activate();
    const qint64 openMs = timer.restart();

    // Grow the two-row block as a run does: whole rows inserted inside it, in one call.
    const int insertedRows = 10000;
    sheet.insertRows(firstRow + 1, firstRow + insertedRows);
    const qint64 insertMs = timer.restart();

    const QDate start(2020, 1, 1);
    std::vector<workbook::CellValue> values(static_cast<size_t>(rows));
    for (int column = 1; column <= columns; ++column) {
        for (int i = 0; i < rows; ++i) {
            if (column == 1) {
                values[size_t(i)] = workbook::CellValue::text(
                    start.addDays(i).toString(QStringLiteral("dd-MMM-yyyy")));
            } else {
                const double v = (i % 17 == 0) ? 0 : i * 0.25 + column;
                values[size_t(i)] =
                    v == 0 ? workbook::CellValue::text(QString()) : workbook::CellValue::number(v);
            }
        }
        const QString letters = workbook::columnLetters(column);
        sheet
            .range(letters + QString::number(firstRow),
                   letters + QString::number(firstRow + rows - 1))
            .setValues(values);
    }
    const qint64 fillMs = timer.restart();

    book.saveAs(output);
    const qint64 saveMs = timer.restart();
    book.close();

    std::printf("rows %d, columns %d\n", rows, columns);
    std::printf("open  %8lld ms\n", static_cast<long long>(openMs));
    std::printf("insert %d rows %8lld ms\n", insertedRows, static_cast<long long>(insertMs));
    std::printf("fill  %8lld ms\n", static_cast<long long>(fillMs));
    std::printf("save  %8lld ms\n", static_cast<long long>(saveMs));
    std::printf("total %8lld ms\n", static_cast<long long>(openMs + insertMs + fillMs + saveMs));
    std::printf("output %lld bytes\n", static_cast<long long>(QFileInfo(output).size()));
    std::printf("peak memory %ld KiB\n", peakMemoryKiB());
    return 0;
}

// The parts of a workbook of one sheet around the sheet's text, which is taken from a file (it
// may be larger than memory should hold).
bool writeWorkbook(const char* path, const QString& sheetFile) {
    static const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    static const std::string rel =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    static const std::string package =
        "http://schemas.openxmlformats.org/package/2006/relationships";
    static const std::string ct = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    static const std::vector<std::pair<std::string, std::string>> parts = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
         "<Default Extension=\"rels\" ContentType=\"application/"
         "vnd.openxmlformats-package.relationships+xml\"/>"
         "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
         "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
             ct + "sheet.main+xml\"/><Override PartName=\"/xl/worksheets/sheet1.xml\" " +
             "ContentType=\"" + ct + "worksheet+xml\"/></Types>"},
        {"_rels/.rels", "<Relationships xmlns=\"" + package +
                            "\"><Relationship Id=\"rId1\" Type=\"" + rel +
                            "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {"xl/workbook.xml", "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel +
                                "\"><sheets><sheet name=\"Tasks\" sheetId=\"1\" r:id=\"rId1\"/>"
                                "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"" + package + "\"><Relationship Id=\"rId1\" Type=\"" + rel +
             "/worksheet\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
    };
    int code = 0;
    zip_t* archive = zip_open(path, ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        return false;
    }
    bool ok = true;
    for (const auto& [name, text] : parts) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        ok = ok && source != nullptr && zip_file_add(archive, name.c_str(), source, 0) >= 0;
    }
    zip_source_t* sheet = zip_source_file(archive, QFile::encodeName(sheetFile).constData(), 0, -1);
    ok = ok && sheet != nullptr && zip_file_add(archive, "xl/worksheets/sheet1.xml", sheet, 0) >= 0;
    if (!ok || zip_close(archive) != 0) {
        zip_discard(archive);
        return false;
    }
    return true;
}

constexpr const char* kSheetStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
constexpr const char* kSheetEnd = "</sheetData></worksheet>";

// Writes a workbook at path whose one sheet holds what writeRows puts between the sheet's start
// and end, and prints the sizes of the sheet and the file and the ratio between them.
int writeWorkbookOfSheet(const char* path, const std::function<void(std::FILE*)>& writeRows) {
    QTemporaryDir folder;
    const QString sheetFile = folder.filePath(QStringLiteral("sheet.xml"));
    std::FILE* out = std::fopen(QFile::encodeName(sheetFile).constData(), "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fputs(kSheetStart, out);
    writeRows(out);
    std::fputs(kSheetEnd, out);
    std::fclose(out);
    const bool ok = writeWorkbook(path, sheetFile);
    const double sheetSize = double(QFileInfo(sheetFile).size());
    const double fileSize = double(QFileInfo(QString::fromLocal8Bit(path)).size());
    std::printf("%s: sheet %.0f bytes, file %.0f bytes, ratio %.0f\n", ok ? "written" : "failed",
                sheetSize, fileSize, sheetSize / fileSize);
    return ok ? 0 : 1;
}

// Numbers as a cost controller's sheet holds them: amounts with two decimals, a few with more.
int writeSheet(const char* path, int rows, int columns) {
    return writeWorkbookOfSheet(path, [rows, columns](std::FILE* out) {
        std::vector<std::string> letters;
        for (int c = 1; c <= columns; ++c) {
            letters.push_back(workbook::columnLetters(c).toStdString());
        }
        unsigned long long state = 12345;
        char number[64];
        for (int r = 1; r <= rows; ++r) {
            std::fprintf(out, "<row r=\"%d\" spans=\"1:%d\">", r, columns);
            for (int c = 0; c < columns; ++c) {
                state = state * 6364136223846793005ULL + 1442695040888963407ULL;
                const unsigned long long draw = state >> 33;
                if (c % 5 == 4) {
                    std::snprintf(number, sizeof number, "%.15g", double(draw % 100000) / 7.0);
                } else {
                    std::snprintf(number, sizeof number, "%.2f", double(draw % 10000000) / 100.0);
                }
                std::fprintf(out, "<c r=\"%s%d\"><v>%s</v></c>", letters[size_t(c)].c_str(), r,
                             number);
            }
            std::fputs("</row>", out);
        }
    });
}

int writeBomb(const char* path, long long megabytes, bool cells) {
    const long long total = megabytes << 20;
    // Deflate shrinks white space or empty cells about 1,000 times and random hexadecimal
    // digits to about three fifths.
    const long long compressed = total / 450 - total / 1030;
    const long long randomText = compressed * 5 / 3;
    return writeWorkbookOfSheet(path, [total, randomText, cells](std::FILE* out) {
        std::fputs("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>", out);
        unsigned long long state = 12345;
        for (long long i = 0; i < randomText; ++i) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            std::fputc("0123456789abcdef"[(state >> 40) & 15], out);
        }
        if (cells) {
            std::fputs("</t></is></c>", out);
        }
        // Whole elements only, so that the sheet stays well-formed whatever the size asked for.
        const std::string unit = cells ? "<c/>" : " ";
        std::string filler;
        while (filler.size() < (size_t(1) << 20)) {
            filler += unit;
        }
        const long long unitSize = static_cast<long long>(unit.size());
        const long long fill = (total - randomText) / unitSize * unitSize;
        for (long long left = fill; left > 0; left -= (1 << 20)) {
            std::fwrite(filler.data(), 1, size_t(std::min<long long>(left, 1 << 20)), out);
        }
        std::fputs(cells ? "</row>" : "</t></is></c></row>", out);
    });
}

int openAndRead(const char* path) {
    QElapsedTimer timer;
    timer.start();
    try {
        workbook::Application app;
        const workbook::Workbook book = app.workbooks().open(QString::fromLocal8Bit(path));
        long long cells = 0;
        for (int i = 1; i <= book.worksheets().count(); ++i) {
            const workbook::Worksheet sheet = book.worksheets().item(i);
            // Every value handed over without collecting them, as a run reads a task list.
            sheet.usedRange().eachValue2([&cells](workbook::CellValue&& value) {
                cells += value.kind() == workbook::CellValue::Kind::Empty ? 0 : 1;
            });
        }
        std::printf("opened: %lld cells\n", cells);
    } catch (const workbook::Error& error) {
        std::printf("refused: %s\n", qPrintable(error.description()));
    }
    std::printf("time %lld ms\n", static_cast<long long>(timer.elapsed()));
    std::printf("peak memory %ld KiB\n", peakMemoryKiB());
    return 0;
}

int renderFormats(int placeholders, int cells) {
    const QString code = QStringLiteral("0.") + QString(placeholders, u'0');
    QElapsedTimer timer;
    timer.start();
    size_t length = 0;
    for (int i = 0; i < cells; ++i) {
        length += size_t(
            workbook::formatCellText(workbook::CellValue::number(i * 1.25 + 0.5), code).size());
    }
    std::printf("code of %lld characters, %d cells: %lld ms (%zu characters shown)\n",
                static_cast<long long>(code.size()), cells, static_cast<long long>(timer.elapsed()),
                length);
    // The renderer alone on the whole code, which the application would not keep: its time
    // grows with the code's length, not with its square.
    workbook::detail::FormatSection section;
    section.tokens.push_back({workbook::detail::FormatToken::Digit, QStringLiteral("0")});
    section.tokens.push_back({workbook::detail::FormatToken::Point, {}});
    for (int i = 0; i < placeholders; ++i) {
        section.tokens.push_back({workbook::detail::FormatToken::Digit, QStringLiteral("0")});
    }
    timer.restart();
    length = 0;
    for (int i = 0; i < cells; ++i) {
        length +=
            size_t(workbook::detail::renderNumberSection(section, i * 1.25 + 0.5, true).size());
    }
    std::printf("rendered whole: %lld ms (%zu characters shown)\n",
                static_cast<long long>(timer.elapsed()), length);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "write-sheet" && argc > 4) {
            return writeSheet(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
        }
        if (mode == "write-bomb" && argc > 3) {
            return writeBomb(argv[2], std::atoll(argv[3]),
                             argc > 4 && std::strcmp(argv[4], "cells") == 0);
        }
        if (mode == "open" && argc > 2) {
            return openAndRead(argv[2]);
        }
        if (mode == "formats" && argc > 2) {
            return renderFormats(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 309);
        }
        return fillTemplate(argc > 1 ? std::atoi(argv[1]) : 50000);
    } catch (const workbook::Error& error) {
        std::fprintf(stderr, "failed: %s\n", error.what());
        return 1;
    }
}
