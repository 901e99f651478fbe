#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace workbook::detail {

// One element of a number format section.
struct FormatToken {
    enum Kind { Literal, Digit, Point, Comma, Percent, Exponent, Slash, Text, General, Date };
    Kind kind = Literal;
    QString text; // Literal: the text; Digit: '0', '#' or '?'; Exponent: "E+"/"E-"; Date: code
};

// One section of a number format code.
struct FormatSection {
    std::vector<FormatToken> tokens;
    bool hasCondition = false;
    QString conditionOp; // "<", "<=", ">", ">=", "=", "<>"
    double conditionValue = 0;
    bool isDate = false;
    bool isText = false;    // holds '@'
    bool isGeneral = false; // holds General
    bool hasAmPm = false;
    bool hasExponent = false;
    bool hasFraction = false;

    bool matches(double v) const;
};

// A parsed number format code: its sections in order.
struct FormatCode {
    std::vector<FormatSection> sections;
};

// The longest format code the spreadsheet application stores; it keeps no longer one, so a
// longer code in a file cannot be one a user chose, and the cell shows as General would.
inline constexpr qsizetype kMaxFormatCodeLength = 255;

// Parses a format code; parsed codes are kept, so a code is parsed once. A code longer than
// kMaxFormatCodeLength parses as General.
const FormatCode& parseFormatCode(const QString& code);

// The digits of |v| rounded half away from zero to `decimals` places, after reducing v to the
// 15 significant digits the spreadsheet keeps. intDigits has no leading zeros ("" for 0).
struct FixedDigits {
    std::string intDigits;
    std::string fracDigits;
};
FixedDigits toFixedDigits(double absValue, int decimals);

QString renderNumberSection(const FormatSection& section, double value, bool showSign);
QString renderDateSection(const FormatSection& section, double serial, bool date1904);

} // namespace workbook::detail
