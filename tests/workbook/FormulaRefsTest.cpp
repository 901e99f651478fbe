#include "workbook/detail/FormulaRefs.h"

#include <gtest/gtest.h>

using namespace workbook::detail;

namespace {

struct ShiftCase {
    const char* formula;
    const char* host; // sheet the formula lives on
    const char* expected;
};

void runShiftCases(const std::vector<ShiftCase>& cases, const RowChange& change,
                   const char* changedSheet = "Data") {
    for (const auto& c : cases) {
        EXPECT_EQ(shiftFormula(c.formula, c.host, changedSheet, change), c.expected)
            << "formula " << c.formula << " on sheet '" << c.host << "'";
    }
}

} // namespace

TEST(FormulaRefsTest, InsertShiftsStretchesOrLeavesReferences) {
    // Three rows inserted at row 5 of sheet Data.
    const std::vector<ShiftCase> cases = {
        {"A1", "Data", "A1"},
        {"A4", "Data", "A4"},
        {"A5", "Data", "A8"},
        {"$A$5", "Data", "$A$8"},
        {"A$5+$A5", "Data", "A$8+$A8"},
        {"A4:B6", "Data", "A4:B9"},
        {"A5:B6", "Data", "A8:B9"},
        {"A1:B4", "Data", "A1:B4"},
        {"SUM(A1:A10)", "Data", "SUM(A1:A13)"},
        {"5:5", "Data", "8:8"},
        {"$4:$6", "Data", "$4:$9"},
        {"SUM(1:4)", "Data", "SUM(1:4)"},
        {"A:C", "Data", "A:C"},
        {"SUM($B:$B)+B5", "Data", "SUM($B:$B)+B8"},
        {"\"A5\"&A5", "Data", "\"A5\"&A8"},
        {"\"say \"\"A5\"\"\"&A5", "Data", "\"say \"\"A5\"\"\"&A8"},
        {"Other!A5", "Data", "Other!A5"},
        {"'Data'!A5", "Other", "'Data'!A8"},
        {"data!A5:A6", "Other", "data!A8:A9"},
        {"DATA!$1:$5", "Other", "DATA!$1:$8"},
        {"A5", "Other", "A5"},
        {"A5", "", "A5"},
        {"Data!A5", "", "Data!A8"},
        {"LOG10(A5)+ATAN2(B5,C5)", "Data", "LOG10(A8)+ATAN2(B8,C8)"},
        {"Table1[Col5]+A5", "Data", "Table1[Col5]+A8"},
        {"Table1[[#This Row],[A5]]", "Data", "Table1[[#This Row],[A5]]"},
        {"[1]Data!A5", "Data", "[1]Data!A5"},
        {"'[1]Data'!A5", "Data", "'[1]Data'!A5"},
        {"Jan:Data!A5", "Data", "Jan:Data!A5"},
        {"'Jan:Data'!A5", "Data", "'Jan:Data'!A5"},
        {"#REF!A5+A5", "Data", "#REF!A5+A8"},
        {"IF(ISERROR(A5),#N/A,A6)", "Data", "IF(ISERROR(A8),#N/A,A9)"},
        {"A5:A5 B5", "Data", "A8:A8 B8"},
        {"(A1,A5,C9)", "Data", "(A1,A8,C12)"},
        {"1.5E+5+A5*2", "Data", "1.5E+5+A8*2"},
        {"MyName5+Rate", "Data", "MyName5+Rate"},
        {"XFE5+XFD5", "Data", "XFE5+XFD8"},
        {"R1C1", "Data", "R1C1"},
        {"_xlfn.XLOOKUP(A5,B:B,C1:C9)", "Data", "_xlfn.XLOOKUP(A8,B:B,C1:C12)"},
        {"{1,2;3,4}", "Data", "{1,2;3,4}"},
        {"TRUE", "Data", "TRUE"},
        {"a5+b$6", "Data", "A8+B$9"},
        {"A1048576", "Data", "#REF!"},
        {"A1:A1048576", "Data", "A1:A1048576"},
        {"A2:A1048576", "Data", "A2:A1048576"},
        {"Data!A1048575:A1048576", "Data", "Data!#REF!"},
        {"'Data'!$B$5:$B$40", "", "'Data'!$B$8:$B$43"},
    };
    runShiftCases(cases, RowChange::insert(5, 3));
}

TEST(FormulaRefsTest, QuotedAndNonAsciiSheetNames) {
    const std::vector<ShiftCase> quoted = {
        {"'It''s'!A5", "", "'It''s'!A6"},
        {"'it''S'!A5:B9", "", "'it''S'!A6:B10"},
        {"'It''s 2'!A5", "", "'It''s 2'!A5"},
    };
    runShiftCases(quoted, RowChange::insert(1, 1), "It's");
    const std::vector<ShiftCase> accented = {
        {"Données!A5", "", "Données!A6"},
        {"'DONNÉES'!A5", "", "'DONNÉES'!A6"},
        {"Donnée!A5", "", "Donnée!A5"},
    };
    runShiftCases(accented, RowChange::insert(1, 1), "Données");
}

TEST(FormulaRefsTest, DeleteShrinksOrMakesRefError) {
    // Rows 5, 6 and 7 of sheet Data deleted.
    const std::vector<ShiftCase> cases = {
        {"A4", "Data", "A4"},
        {"A5", "Data", "#REF!"},
        {"A7", "Data", "#REF!"},
        {"A8", "Data", "A5"},
        {"$C$10", "Data", "$C$7"},
        {"A5:A7", "Data", "#REF!"},
        {"A4:A8", "Data", "A4:A5"},
        {"A6:A9", "Data", "A5:A6"},
        {"A3:A6", "Data", "A3:A4"},
        {"A1:A4", "Data", "A1:A4"},
        {"SUM(Data!A5:A7)", "Other", "SUM(Data!#REF!)"},
        {"SUM('Data'!A5:A7)+1", "Other", "SUM('Data'!#REF!)+1"},
        {"5:7", "Data", "#REF!"},
        {"$8:$9", "Data", "$5:$6"},
        {"A:A", "Data", "A:A"},
        {"A5+Other!A5", "Data", "#REF!+Other!A5"},
        {"\"A8\"", "Data", "\"A8\""},
    };
    runShiftCases(cases, RowChange::remove(5, 3));
}

TEST(FormulaRefsTest, RowSpanRule) {
    struct Case {
        RowChange change;
        int first, last;
        bool kept;
        int newFirst, newLast;
    };
    const Case cases[] = {
        {RowChange::insert(3, 2), 3, 6, true, 5, 8},   // r <= a shifts
        {RowChange::insert(4, 2), 3, 6, true, 3, 8},   // a < r <= b stretches
        {RowChange::insert(6, 2), 3, 6, true, 3, 8},   // r = b stretches
        {RowChange::insert(7, 2), 3, 6, true, 3, 6},   // r > b leaves
        {RowChange::remove(3, 4), 3, 6, false, 3, 6},  // wholly deleted
        {RowChange::remove(1, 2), 3, 6, true, 1, 4},   // above
        {RowChange::remove(2, 2), 3, 6, true, 2, 4},   // top cut
        {RowChange::remove(5, 5), 3, 6, true, 3, 4},   // bottom cut
        {RowChange::remove(4, 1), 3, 6, true, 3, 5},   // inside
        {RowChange::remove(1, 10), 3, 6, false, 3, 6}, // covering
        {RowChange::insert(5, 0), 3, 6, true, 3, 6},   // nothing
    };
    for (const auto& c : cases) {
        int first = c.first;
        int last = c.last;
        const bool kept = shiftRows(first, last, c.change);
        EXPECT_EQ(kept, c.kept) << c.change.at << "/" << c.change.count;
        if (kept) {
            EXPECT_EQ(first, c.newFirst) << c.change.at << "/" << c.change.count;
            EXPECT_EQ(last, c.newLast) << c.change.at << "/" << c.change.count;
        }
    }
}

TEST(FormulaRefsTest, RangeListsDropDeletedRanges) {
    EXPECT_EQ(shiftRangeList("A1:B2 A5:C9 D6", RowChange::remove(5, 5)), "A1:B2");
    EXPECT_EQ(shiftRangeList("A1:B2 A5:C9 D6", RowChange::insert(3, 2)), "A1:B2 A7:C11 D8");
    EXPECT_EQ(shiftRangeList("A5 A6", RowChange::remove(5, 2)), "");
    EXPECT_EQ(shiftRange("A5", RowChange::remove(5, 1)), std::nullopt);
    EXPECT_EQ(shiftRange("B2:D10", RowChange::remove(5, 1)), "B2:D9");
    EXPECT_EQ(shiftRange("not a ref", RowChange::remove(5, 1)), "not a ref");
}

TEST(FormulaRefsTest, TranslateMovesRelativeParts) {
    const struct {
        const char* formula;
        int rows, cols;
        const char* expected;
    } cases[] = {
        {"A1+$B$2+B$3+$C4", 2, 1, "B3+$B$2+C$3+$C6"},
        {"SUM(A1:A3)*Other!B2", 1, 0, "SUM(A2:A4)*Other!B3"},
        {"A1", -1, 0, "#REF!"},
        {"SUM(1:1)", 1, 0, "SUM(2:2)"},
        {"A:A", 0, 1, "B:B"},
        {"\"A1\"&[1]S!A1", 3, 3, "\"A1\"&[1]S!A1"},
        {"D4", 0, 2147483645, "#REF!"}, // an offset from a damaged reference: no overflow
        {"D4", -2147483645, 0, "#REF!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translateFormula(c.formula, c.rows, c.cols), c.expected) << c.formula;
}

TEST(FormulaRefsTest, LexerReportsEveryReference) {
    std::vector<std::string> seen;
    rewriteReferences("SUM('My Sheet'!$A$1:B2,3:4,C:D,E5,Name,F(1),\"G7\")",
                      [&](const Reference& r) -> std::optional<std::string> {
                          seen.push_back(r.sheet + "|" + formatReference(r));
                          return std::nullopt;
                      });
    const std::vector<std::string> expected = {"My Sheet|$A$1:B2", "|3:4", "|C:D", "|E5"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(columnLetters(37), "AK");
    EXPECT_EQ(columnLetters(16384), "XFD");
}

TEST(FormulaRefsTest, AnchoredFormulasMoveRelativeRowsWithTheirAnchor) {
    const struct {
        const char* formula;
        const char* host;
        RowChange change;
        int anchorDelta;
        const char* expected;
    } cases[] = {
        // Three rows inserted at row 8; the rule's first cell moved from row 8 to row 11.
        {"A7<A8", "Data", RowChange::insert(8, 3), 3, "A10<A11"},
        {"$A$1+$A$8+A$8", "Data", RowChange::insert(8, 3), 3, "$A$1+$A$11+A$11"},
        {"Other!A8>0", "Data", RowChange::insert(8, 3), 3, "Other!A11>0"},
        {"SUM($B$5:$B$9)", "Data", RowChange::insert(8, 3), 3, "SUM($B$5:$B$12)"},
        // Inserted inside the rule's range: its first cell stays.
        {"A7<A8", "Data", RowChange::insert(9, 3), 0, "A7<A8"},
        {"$A$10", "Data", RowChange::insert(9, 3), 0, "$A$13"},
        // Row 8 deleted; the rule's first cell moved from row 9 to row 8.
        {"A9>0", "Data", RowChange::remove(8, 1), -1, "A8>0"},
        {"$A$8", "Data", RowChange::remove(8, 1), -1, "#REF!"},
        {"A1>0", "Data", RowChange::remove(1, 1), -1, "#REF!>0"},
        // On another sheet the ordinary rule holds.
        {"Data!A8+A8", "Other", RowChange::insert(8, 3), 0, "Data!A11+A8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shiftAnchoredFormula(c.formula, c.host, "Data", c.change, c.anchorDelta),
                  c.expected)
            << c.formula;
}
