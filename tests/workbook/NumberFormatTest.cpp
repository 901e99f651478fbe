#include "workbook/NumberFormat.h"

#include <gtest/gtest.h>

using workbook::CellValue;
using workbook::formatCellText;

namespace {

struct Case {
    double value;
    const char* code;
    const char* expected;
};

// Texts the spreadsheet application shows (English (United States) settings).
const Case kNumberCases[] = {
    // General: the 11-character rule.
    {0, "General", "0"},
    {12.5, "General", "12.5"},
    {-1234.567, "General", "-1234.567"},
    {1234567890.123, "General", "1234567890"},
    {12345678901.0, "General", "12345678901"},
    {123456789012.0, "General", "1.23457E+11"},
    {0.1 + 0.2, "General", "0.3"},
    {1.0 / 3.0, "General", "0.333333333"},
    {-1.0 / 3.0, "General", "-0.333333333"},
    {0.0001, "General", "0.0001"},
    {0.00001, "General", "1E-05"},
    {0.000012345678, "General", "1.23457E-05"},
    {1e100, "General", "1E+100"},
    {99999999999.5, "General", "1E+11"},
    // Digits, decimals, rounding on 15 significant digits, half away from zero.
    {1234.5, "0", "1235"},
    {2.675, "0.00", "2.68"},
    {-2.5, "0", "-3"},
    {0.5, "#", "1"},
    {0, "#", ""},
    {0, "0.00", "0.00"},
    {-0.001, "0.00", "-0.00"},
    {1.5, "0.0#", "1.5"},
    {1.555, "0.0#", "1.56"},
    {1, "0.##", "1."},
    {3.5, "??0.0?", "  3.5 "},
    {5551234, "000-0000", "555-1234"},
    {42, "00000", "00042"},
    // Thousands, scaling, percent.
    {1234567.891, "#,##0.00", "1,234,567.89"},
    {1234, "#,##0", "1,234"},
    {123, "#,##0", "123"},
    {0, "#,##0", "0"},
    {-1234567, "#,##0", "-1,234,567"},
    {1234567, "#,##0,", "1,235"},
    {1234567890, "0.0,,", "1234.6"},
    {0.125, "0%", "13%"},
    {0.125, "0.00%", "12.50%"},
    // Sections, literals, _ and *, colours, conditions, locale tags.
    {-1234.567, "#,##0.00;[Red]\\-#,##0.00", "-1,234.57"},
    {-5, "0;(0)", "(5)"},
    {0, "0;(0);\"zero\"", "zero"},
    {5, "0;(0);\"zero\"", "5"},
    {1234, "$#,##0_);($#,##0)", "$1,234 "},
    {-1234, "$#,##0_);($#,##0)", "($1,234)"},
    {-1234, "$#,##0.00_);[Red]($#,##0.00)", "($1,234.00)"},
    {1234.5, "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)", " 1,234.50 "},
    {0, "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)", " -   "},
    {1234.5, "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)", " $1,235 "},
    {150, "[>100]\"big\";[<0]\"neg\";\"small\"", "big"},
    {-3, "[>100]\"big\";[<0]\"neg\";\"small\"", "neg"},
    {50, "[>100]\"big\";[<0]\"neg\";\"small\"", "small"},
    {1500, "[<1000]0;0.0,\"k\"", "1.5k"},
    {12.5, "[$\xE2\x82\xAC-407]#,##0.00",
     "\xE2\x82\xAC"
     "12.50"},
    {12.5, "[Blue]0.0\" h\"", "12.5 h"},
    {7, "\"Total: \"General", "Total: 7"},
    {12.5, "0.0 \\k\\m", "12.5 km"},
    {5, "@", "5"},
    // Scientific.
    {12345, "0.00E+00", "1.23E+04"},
    {0.000123, "0.00E+00", "1.23E-04"},
    {12345, "##0.0E+0", "12.3E+3"},
    {0, "0.00E+00", "0.00E+00"},
    {12345, "0.0e-0", "1.2e4"},
    // Fractions.
    {1.25, "# ?/?", "1 1/4"},
    {0.5, "# ?/?", " 1/2"},
    {2, "# ?/?", "2    "},
    {3.14159, "# ?\?/?\?", "3 14/99"},
    {0.3125, "# ?/8", " 3/8"},
    {1.75, "?/?", "7/4"},
    {-1.25, "# ?/?", "-1 1/4"},
    {2.3, "# ?/20", "2 6/20"}, // a written denominator with a zero is one number
    {0.5, "# ?/10", " 5/10"},
    {1.37, "# ?\?/100", "1 37/100"},
    {0.25, "?/16 \"in\"", "4/16 in"},
    {0.6152, "??\?/??\?", "510/829"},
    // Without a whole-number part the numerator takes the whole value, however large.
    {2.25, "?/?", "9/4"},
    {12.345, "?/?", "37/3"},
    {100, "?/?", "100/1"},
    {3.14159265, "#/###", "355/113"},
    {-1234.5678, "#/###", "-145679/118"},
    {0, "?/?", "0/1"},
    {987654321987.654, "?/???????", "493827160993827/500    "},
    {1e12 + 0.3, "?/???????",
     "10000000000003/10     "},                // the decimal value, not its binary neighbour
    {1e15 + 0.5, "?/?", "1000000000000000/1"}, // the fraction lies beyond 15 digits
    {1e17, "?/100", "10000000000000000000/100"},
    {1e17, "# ?/100", "100000000000000000      "},
    {0.999, "# ?/10", "1     "},
    // Denominators of up to seven digits, the further placeholders only pad.
    {3.14159265358979, "# ?/??????????", "3 192583/1360120   "},
    {0.5, "0/????????????????????", "1/2                   "},
    // Dates and times (1900 system).
    {46365, "m/d/yyyy", "12/9/2026"},
    {46365, "dd-mmm-yyyy", "09-Dec-2026"},
    {46365, "d-mmm-yy", "9-Dec-26"},
    {46365, "d-mmm", "9-Dec"},
    {46365, "mmm-yy", "Dec-26"},
    {46365, "dddd, mmmm d, yyyy", "Wednesday, December 9, 2026"},
    {46365, "ddd mmmmm", "Wed D"},
    {46365, "[$-F800]dddd, mmmm dd, yyyy", "Wednesday, December 9, 2026"},
    {60, "yyyy-mm-dd", "1900-02-29"},
    {0, "m/d/yyyy", "1/0/1900"},
    {1, "dddd", "Sunday"},
    {61, "dddd d mmm yyyy", "Thursday 1 Mar 1900"},
    {46365.75, "h:mm AM/PM", "6:00 PM"},
    {46365.25, "h:mm:ss AM/PM", "6:00:00 AM"},
    {0.5, "h:mm am/pm", "12:00 pm"},
    {0, "h A/P", "12 A"},
    {0.75, "[$-F400]h:mm:ss AM/PM", "6:00:00 PM"},
    {46365.5208333333, "h:mm", "12:30"},
    {0.999999, "h:mm:ss", "0:00:00"},
    {0.5000001, "hh:mm:ss", "12:00:00"},
    {1.5, "[h]:mm:ss", "36:00:00"},
    {0.0625, "[mm]:ss", "90:00"},
    {0.00001157407, "mm:ss.0", "00:01.0"},
    {0.000011, "mm:ss.00", "00:00.95"},
    {46365.5208333333, "m/d/yyyy h:mm", "12/9/2026 12:30"},
    {46365, "yy", "26"},
    // One millisecond before midnight: a date alone is its own day; a time rounds, and its
    // date with it.
    {44927.999999, "m/d/yyyy", "1/1/2023"},
    {44927.999999, "ddd", "Sun"},
    {44927.999999, "mmm d", "Jan 1"},
    {44927.999999, "m/d/yyyy h:mm:ss", "1/2/2023 0:00:00"},
    {44927.999999, "d h", "2 0"},
    {-1, "m/d/yyyy", "########"},
};

} // namespace

TEST(NumberFormat, RendersNumbersAsTheSpreadsheetShowsThem) {
    for (const Case& c : kNumberCases) {
        EXPECT_EQ(formatCellText(CellValue::number(c.value), QString::fromUtf8(c.code)),
                  QString::fromUtf8(c.expected))
            << "value " << c.value << " format " << c.code;
    }
}

TEST(NumberFormat, TextsBooleansErrorsAndEmpty) {
    struct TextCase {
        CellValue value;
        const char* code;
        const char* expected;
    };
    const TextCase cases[] = {
        {CellValue::text(QStringLiteral("abc")), "0.00", "abc"},
        {CellValue::text(QStringLiteral("abc")), "@", "abc"},
        {CellValue::text(QStringLiteral("abc")), "0;-0;0;\"<\"@\">\"", "<abc>"},
        {CellValue::text(QStringLiteral("abc")), "0;\"Name: \"@", "Name: abc"},
        {CellValue::text(QStringLiteral("abc")), "_(@_)", " abc "},
        {CellValue::text(QStringLiteral("abc")), "0;0;0;", ""},
        {CellValue::boolean(true), "0.00", "TRUE"},
        {CellValue::boolean(false), "General", "FALSE"},
        {CellValue::error(QStringLiteral("#DIV/0!")), "0.00", "#DIV/0!"},
        {CellValue(), "0.00", ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(formatCellText(c.value, QString::fromUtf8(c.code)), QString::fromUtf8(c.expected))
            << "format " << c.code << " value " << c.value.toText().toStdString();
    }
}

TEST(NumberFormat, HugeValuesKeepEveryDigitOfTheirNumerator) {
    const QString text = formatCellText(CellValue::number(1e300), QStringLiteral("?/?"));
    EXPECT_EQ(text, QStringLiteral("1") + QString(300, u'0') + QStringLiteral("/1"));
    const QString hundredths = formatCellText(CellValue::number(-1e300), QStringLiteral("?/100"));
    EXPECT_EQ(hundredths, QStringLiteral("-1") + QString(302, u'0') + QStringLiteral("/100"));
}

// The spreadsheet application keeps codes of up to 255 characters; a longer one in a file is
// not one it shows, and the value shows as General does.
TEST(NumberFormat, CodesLongerThanTheApplicationKeepsShowAsGeneral) {
    struct LongCase {
        CellValue value;
        QString code;
        QString expected;
    };
    const auto zeros = [](int n) { return QString(n, u'0'); };
    const LongCase cases[] = {
        {CellValue::number(1.5), QStringLiteral("0.") + zeros(253),
         QStringLiteral("1.5") + zeros(252)},
        {CellValue::number(1.25), QStringLiteral("0.") + QString(253, u'#'),
         QStringLiteral("1.25")},
        {CellValue::number(1.25), QStringLiteral("0.") + QString(253, u'?'),
         QStringLiteral("1.25") + QString(251, u' ')},
        {CellValue::number(1234567), QStringLiteral("#,##0") + QString(250, u','),
         QStringLiteral("0")},
        {CellValue::number(1.5), QStringLiteral("0.") + zeros(254), QStringLiteral("1.5")},
        {CellValue::number(1.5), QStringLiteral("0.") + zeros(20000), QStringLiteral("1.5")},
        {CellValue::number(46365), QStringLiteral("yyyy") + QString(251, u' '),
         QStringLiteral("2026") + QString(251, u' ')},
        {CellValue::number(46365), QStringLiteral("yyyy") + QString(252, u' '),
         QStringLiteral("46365")},
        {CellValue::text(QStringLiteral("abc")), QStringLiteral("\"<\"@") + QString(253, u' '),
         QStringLiteral("abc")},
    };
    for (const LongCase& c : cases) {
        EXPECT_EQ(formatCellText(c.value, c.code), c.expected) << "code of " << c.code.size();
    }
    EXPECT_TRUE(workbook::isDateFormat(QStringLiteral("yyyy") + QString(251, u' ')));
    EXPECT_FALSE(workbook::isDateFormat(QStringLiteral("yyyy") + QString(252, u' ')));
}

TEST(NumberFormat, Date1904CountsFromNineteenOFour) {
    EXPECT_EQ(formatCellText(CellValue::number(0), QStringLiteral("yyyy-mm-dd"), true),
              QStringLiteral("1904-01-01"));
    EXPECT_EQ(formatCellText(CellValue::number(44927), QStringLiteral("dddd yyyy-mm-dd"), true),
              QStringLiteral("Saturday 2027-01-02"));
}

TEST(NumberFormat, BuiltInFormatsAndDateDetection) {
    const struct {
        int id;
        double value;
        const char* expected;
    } cases[] = {
        {0, 12.5, "12.5"},      {1, 12.5, "13"},          {2, 12.5, "12.50"},
        {3, 1234.5, "1,235"},   {4, 1234.5, "1,234.50"},  {9, 0.5, "50%"},
        {10, 0.5, "50.00%"},    {11, 1234.5, "1.23E+03"}, {12, 1.5, "1 1/2"},
        {13, 1.5, "1  1/2 "},   {14, 46365, "12/9/2026"}, {15, 46365, "9-Dec-26"},
        {18, 0.75, "6:00 PM"},  {20, 0.75, "18:00"},      {22, 46365.75, "12/9/2026 18:00"},
        {37, -1234, "(1,234)"}, {45, 0.0625, "30:00"},    {46, 1.25, "30:00:00"},
        {47, 0.0625, "3000.0"}, {48, 1234.5, "1.2E+3"},   {49, 12.5, "12.5"},
        {30, 12.5, "12.5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatCellText(CellValue::number(c.value), workbook::builtInFormatCode(c.id)),
                  QString::fromUtf8(c.expected))
            << "id " << c.id;
    }
    EXPECT_TRUE(workbook::isDateFormat(QStringLiteral("dd\\-mmm\\-yyyy")));
    EXPECT_TRUE(workbook::isDateFormat(QStringLiteral("[h]:mm")));
    EXPECT_FALSE(workbook::isDateFormat(QStringLiteral("#,##0.00;[Red]\\-#,##0.00")));
    EXPECT_FALSE(workbook::isDateFormat(QStringLiteral("\"day\" 0")));
    EXPECT_FALSE(workbook::isDateFormat(QStringLiteral("General")));
}
