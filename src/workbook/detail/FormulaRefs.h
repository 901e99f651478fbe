#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace workbook::detail {

inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;

// A change of whole rows on one sheet: `count` rows inserted at row `at` (the rows from `at` on
// move down), or the rows `at` .. `at` + `count` - 1 deleted (the rows below move up).
struct RowChange {
    enum class Kind { Insert, Delete };
    Kind kind = Kind::Insert;
    int at = 1;
    int count = 0;

    static RowChange insert(int at, int count) { return {Kind::Insert, at, count}; }
    static RowChange remove(int at, int count) { return {Kind::Delete, at, count}; }
    bool isInsert() const { return kind == Kind::Insert; }
};

// One reference of a formula: a cell, an area, whole rows or whole columns, with the sheet it
// names (unquoted; empty when the reference has no sheet). Rows and columns are 1-based; the
// column fields of whole rows and the row fields of whole columns are 0.
struct Reference {
    enum class Kind { Cell, Area, Rows, Columns };
    Kind kind = Kind::Cell;
    std::string sheet;
    bool qualified = false;
    // Another workbook, a span of sheets or a deleted sheet: nothing here can adjust it.
    bool foreign = false;
    int firstRow = 0;
    int lastRow = 0;
    int firstCol = 0;
    int lastCol = 0;
    bool firstRowAbs = false;
    bool lastRowAbs = false;
    bool firstColAbs = false;
    bool lastColAbs = false;
};

// Returns the text to put in a reference's place (its sheet prefix stays), or nothing to keep it.
using ReferenceRewriter = std::function<std::optional<std::string>(const Reference&)>;

// The formula-reference lexer: calls `rewrite` for every reference of a formula (A1 notation, as
// stored in a workbook package, without the leading "="), in order, and returns the formula with
// the replacements made. Strings, functions, names, structured references, error values and
// numbers are left alone.
std::string rewriteReferences(std::string_view formula, const ReferenceRewriter& rewrite);

// The reference text without its sheet: "$A$1", "B2:C9", "3:5", "A:C".
std::string formatReference(const Reference& ref);

// Parses a reference without a sheet ("A1", "$A$1:B3", "2:5", "A:C"); nothing when it is none.
std::optional<Reference> parseReference(std::string_view text);

// Applies the change to the rows first..last (first <= last). False when every row of the span is
// deleted or pushed off the sheet; an insertion inside the span stretches it.
bool shiftRows(int& first, int& last, const RowChange& change);

// The new number of one row, or nothing when the row is deleted or pushed off the sheet.
std::optional<int> shiftRow(int row, const RowChange& change);

// Sheet names compare ignoring case.
bool sameSheetName(std::string_view a, std::string_view b);

// Adjusts the references of a formula that lives on `hostSheet` (empty: references without a
// sheet name no sheet and stay) to a change of the rows of `changedSheet`. A reference whose
// rows are all deleted becomes #REF!.
std::string shiftFormula(std::string_view formula, std::string_view hostSheet,
                         std::string_view changedSheet, const RowChange& change);

// Adjusts a formula whose relative references are stored as seen from an anchor cell (the first
// cell of a conditional format's or a validation's range), on a sheet whose rows change: the
// relative row parts move with the anchor by `anchorDelta` rows, the absolute ones follow the
// change. On other sheets this is shiftFormula.
std::string shiftAnchoredFormula(std::string_view formula, std::string_view hostSheet,
                                 std::string_view changedSheet, const RowChange& change,
                                 int anchorDelta);

// Adjusts one reference without a sheet ("A1:C5"); nothing when it is wholly deleted. A text that
// is no reference comes back unchanged.
std::optional<std::string> shiftRange(std::string_view range, const RowChange& change);

// Adjusts a space-separated list of references (the sqref of merged cells, conditional formats
// and validations), dropping the deleted ones; empty when all are deleted.
std::string shiftRangeList(std::string_view list, const RowChange& change);

// Moves the relative parts of the references by the given offsets, as when a formula is copied
// from one cell to another (shared formulas); a reference moved off the sheet becomes #REF!.
std::string translateFormula(std::string_view formula, int rowOffset, int colOffset);

// Column letters of a 1-based column number ("A", "AK").
std::string columnLetters(int column);

} // namespace workbook::detail
