#pragma once

#include <QString>
#include <optional>

namespace workbook {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// A cell position, 1-based.
struct CellPos {
    int row = 1;
    int column = 1;
    bool operator==(const CellPos&) const = default;
};

// Column number to letters (1 -> "A", 28 -> "AB"); empty outside 1..16384.
QString columnLetters(int column);
// Letters to column number; 0 when they are not 1 to 3 letters within A..XFD.
int lettersToColumn(QStringView letters);
// Parses an A1 reference ("B3", "$B$3", lower-case letters allowed); nullopt when invalid.
std::optional<CellPos> parseCellRef(QStringView ref);
// "B3" for row 3, column 2.
QString cellRef(int row, int column);

} // namespace workbook
