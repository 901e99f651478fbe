#pragma once

#include "ovRF.h"
#include "ovRH.h"

#include <QString>
#include <span>

// The report tables' rows as written in the layout tables, and their conversion into items.
namespace ReportTableRows {

// One header row. text2 > 0 makes a two-line caption (text, CR LF, text2); text 0 takes the
// report title. align: "L", "C" or "R", "b" appended for bold. fontBack: "font/back" colour
// codes. lines: top, left, bottom, right colour codes. mergeTo: the last cell of a merged area,
// or empty.
struct HeaderRow {
    int text;
    int text2;
    const char* cell;
    const char* align;
    const char* fontBack;
    const char* lines;
    const char* mergeTo;
};

// One field row. type: "text", "int", "num" or "date"; ellipsis: "path", "text" or empty.
struct FieldRow {
    int text;
    const char* cell;
    const char* type;
    const char* align;
    const char* fontBack;
    const char* lines;
    const char* ellipsis;
    const char* mergeTo;
};

// The column (A = 1) and row of a cell in A1 notation; false when the text is not such a cell.
bool ParseCell(const QString& cell, int& column, int& row);

// The colour of a colour code (K, W, S, Y, LY, GR, BL, LI, RD, PB, PG, PO, GY, WT, BF).
TColor ColourOfCode(const QString& code);

// The format a field of a value type is printed with.
QString FormatOfType(quint8 valueType);

// Adds the rows to the lists in order; a malformed row raises platform::Exception.
void AddHeaders(TovRHs& list, std::span<const HeaderRow> rows, const QString& title);
void AddFields(TovRFs& list, std::span<const FieldRow> rows);

} // namespace ReportTableRows
