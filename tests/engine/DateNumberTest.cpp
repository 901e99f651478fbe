#include "engine/DateText.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>

namespace {

using namespace engine;

// Plain decimals are read without the locale's number parser; every number text, plain or not,
// must still give what the C locale reads (inside the spreadsheet's date range).
TEST(DateNumber, NumberTextsReadAsTheCLocaleReadsThem) {
    const char* texts[] = {
        "46027",
        "0",
        "-0",
        "007",
        "00.5",
        "46027.5",
        "46027.25",
        "-12",
        "-693593.75",
        "0.1",
        "2958465.999",
        "2958466",
        "-657434",
        "-657434.5",
        "1.0000000000000002",
        "46027.99999999999999",
        "123456789012345678901234567890",
        "0.000000000000000000000000001",
        "+46027",
        "46027.",
        ".5",
        "4.6027e4",
        "46,027",
        "-.5",
        "--5",
        "5-",
        "1.2.3",
        "46027 ",
        " 46027",
        "\xd9\xa1\xd9\xa2\xd9\xa3",
    };
    for (const char* text : texts) {
        const QString t = QString::fromUtf8(text);
        bool ok = false;
        const double number = QLocale::c().toDouble(t.trimmed(), &ok);
        const std::optional<double> value = ParseDateText(t);
        if (ok && number >= -657434.0 && number < 2958466.0) {
            ASSERT_TRUE(value.has_value()) << text;
            EXPECT_EQ(*value, number) << text;
            EXPECT_EQ(std::signbit(*value), std::signbit(number)) << text;
        } else if (ok) {
            EXPECT_FALSE(value.has_value()) << text;
        }
    }
    // Three characters at least, counted after trimming.
    EXPECT_FALSE(DateOfText(QStringLiteral("12")).has_value());
    EXPECT_FALSE(DateOfText(QStringLiteral("-5")).has_value());
    EXPECT_EQ(DateOfText(QStringLiteral("-50")), -50.0);
    EXPECT_EQ(DateOfText(QStringLiteral(" 46027 ")), 46027.0);
}

} // namespace
