#pragma once

#include <QString>
#include <cstdint>

// The size of a worksheet as the spreadsheet program of a version sees a workbook: versions 1
// (97) to 4 (2003), and an .xls workbook under 5 (2007) to 7 (2013), have 65,536 rows and 256
// columns (IV); every other case 1,048,576 rows and 16,384 columns (XFD). The one rule the
// Excel layer, the field checks and the run share.
struct TSheetGrid {
    int Rows;
    int Columns;
};
TSheetGrid SheetGrid(uint8_t version, const QString& workbookPath);

// The column number of 1 to 3 letters A..Z (any case), 0 when invalid or above the limit.
int LettersToColumn(const QString& letters, int limit);
// The letters of a column number, empty when it is not in 1..maxColumns.
QString ColumnToLetters(int column, int maxColumns);
