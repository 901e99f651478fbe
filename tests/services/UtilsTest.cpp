#include "services/NumberUtils.h"
#include "services/PathUtils.h"
#include "services/ShellUtils.h"
#include "services/StrUtils.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

TEST(TextFunctions, CutAndFindByOneBasedPositions) {
    const QString six = QStringLiteral("abcdef");
    EXPECT_EQ(StrLeft(six, 2), QStringLiteral("ab"));
    EXPECT_EQ(StrLeft(six, 9), six);
    EXPECT_EQ(StrLeft(six, -1), QString());
    EXPECT_EQ(StrRight(six, 2), QStringLiteral("ef"));
    EXPECT_EQ(StrRight(six, 9), six);
    EXPECT_EQ(StrMid(six, 3, 0), QStringLiteral("cdef"));
    EXPECT_EQ(StrMid(six, 3, 2), QStringLiteral("cd"));
    EXPECT_EQ(StrMid(six, 3, 99), QStringLiteral("cdef"));
    EXPECT_EQ(StrMid(six, 7, 0), QString());
    EXPECT_EQ(PosFrom(1, QStringLiteral("a.b.c"), QStringLiteral(".")), 2);
    EXPECT_EQ(PosFrom(3, QStringLiteral("a.b.c"), QStringLiteral(".")), 2); // counted from p
    EXPECT_EQ(PosFrom(5, QStringLiteral("a.b.c"), QStringLiteral(".")), 0);
    EXPECT_EQ(PosFrom(1, QStringLiteral("abc"), QString()), 0);
    EXPECT_EQ(PosFrom(9, QStringLiteral("abc"), QStringLiteral("a")), 0);
    EXPECT_EQ(LineFeedsToSpaces(QStringLiteral("a\r\nb\nc")), QStringLiteral("a\r b c"));
    EXPECT_TRUE(IsOutOfRange(6, 0, 5));
    EXPECT_TRUE(IsOutOfRange(-1, 0, 5));
    EXPECT_FALSE(IsOutOfRange(5, 0, 5));
}

TEST(TextFunctions, StrToIntOrZeroReadsOnlyWholeDecimalIntegers) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{" 42 ", 42}, {"-7", -7},  {"   ", 0},         {"", 0},  {"12a", 0},
                 {"1.5", 0},   {"0x1F", 0}, {"99999999999", 0}, {"+3", 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(StrToIntOrZero(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(PathFunctions, SplitPosixPaths) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
        const char* extNoDot;
        const char* extDot;
    } cases[] = {
        {"/home/u/Plan.xlsx", "/home/u/", "Plan", "xlsx", ".xlsx"},
        {"/home/u/Plan", "/home/u/", "Plan", "", ""},
        {"/home/u.v/Plan", "/home/u.v/", "Plan", "", ""},
        {"/a/b.c/d.tar.krvc ", "/a/b.c/", "d.tar", "krvc", ".krvc"},
        {"/Plan.krvc", "/", "Plan", "krvc", ".krvc"},
        {"Plan.krvc", "", "Plan", "krvc", ".krvc"},
        {"C:\\Data\\Plan.krvc", "", "C:\\Data\\Plan", "krvc", ".krvc"},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(ExtractPathWithoutDrive(path), QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(ExtractFileNameWithoutExt(path), QString::fromUtf8(c.name)) << c.path;
        EXPECT_EQ(ExtractFileExtension(path, false), QString::fromUtf8(c.extNoDot)) << c.path;
        EXPECT_EQ(ExtractFileExtension(path, true), QString::fromUtf8(c.extDot)) << c.path;
    }
    EXPECT_EQ(
        ExtractFileExtension(QStringLiteral("a.") + QString(300, QLatin1Char('x')), false).size(),
        260);
}

TEST(NumberParser, ReadsAmountsAsUsersTypeThem) {
    const TNumberSeparators us{QStringLiteral(","), QStringLiteral("."), QStringLiteral("$")};
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"$ 1,234.50", 1234.5},
        {"(1,234)", -1234},
        {"1,234-", -1234},
        {"- 5", -5},
        {"1.2.3", 1.2},
        {".5", 0.5},
        {"abc", 0},
        {"Total: 17 h", 17},
        {"(5", 5},
        {"1.234,5", 1.234},
        {"", 0},
        {"   ", 0},
        {"12%", 12},
        {"+5", 5},
        {"5 +", 5},
        {"USD 1,000,000", 1000000},
        {"1,234.5 $", 1234.5},
        {"5.", 5},
        {"-", 0},
        {".", 0},
        {"-.25", -0.25},
        // Two numbers joined by a sign are not one number.
        {"1+2", 0},
        {"1 + 2", 0},
        {"10-20", 0},
        {"10 - 20", 0},
        {"2020-01-15", 0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseNumberLenient(QString::fromUtf8(c.text), us), c.value) << c.text;
    }
}

TEST(NumberParser, FollowsTheLocalesSeparators) {
    const TNumberSeparators de{QStringLiteral("."), QStringLiteral(","), QStringLiteral("\u20ac")};
    EXPECT_DOUBLE_EQ(ParseNumberLenient(QStringLiteral("1.234,56 \u20ac"), de), 1234.56);
    EXPECT_DOUBLE_EQ(ParseNumberLenient(QStringLiteral("-1.000"), de), -1000);
    EXPECT_DOUBLE_EQ(ParseNumberLenient(QStringLiteral("(0,5)"), de), -0.5);
    const TNumberSeparators none{QString(), QStringLiteral("."), QString()};
    EXPECT_DOUBLE_EQ(ParseNumberLenient(QStringLiteral("3.5"), none), 3.5);
}

TEST(DateText, ReadsDatesAndTimesInTheLocalesOrder) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale uk(QLocale::English, QLocale::UnitedKingdom);
    const struct {
        const char* text;
        const QLocale* locale;
        bool isDate;
        QDate date;
    } cases[] = {
        {"15-Jan-2020", &us, true, QDate(2020, 1, 15)},
        {"1/2/2020", &us, true, QDate(2020, 1, 2)},
        {"1/2/2020", &uk, true, QDate(2020, 2, 1)},
        {"2020-03-04", &uk, true, QDate(2020, 3, 4)},
        {"March 5, 2021", &us, true, QDate(2021, 3, 5)},
        {"Monday, 5 January 2015", &uk, true, QDate(2015, 1, 5)},
        {"31/12/99", &uk, true, QDate(1999, 12, 31)},
        {"1/2/20 10:30 PM", &us, true, QDate(2020, 1, 2)},
        {"10:30", &us, true, QDate(1899, 12, 30)},
        {"31/2/2020", &uk, false, {}},
        {"25:00", &us, false, {}},
        {"12345", &us, false, {}},
        {"1.5", &us, false, {}},
        {"abc", &us, false, {}},
        {"Task 12", &us, false, {}},
    };
    for (const auto& c : cases) {
        const auto value = TextToDateTime(QString::fromUtf8(c.text), *c.locale);
        EXPECT_EQ(value.has_value(), c.isDate) << c.text;
        if (value && c.isDate) {
            EXPECT_EQ(value->date(), c.date) << c.text;
        }
    }
    EXPECT_FALSE(IsDate(QStringLiteral(" 1 ")));
    EXPECT_TRUE(IsDate(QStringLiteral("15-Jan-2020")));
}

TEST(ShellFolders, ProgramFilesVariantsSwapTheX86Ending) {
    EXPECT_EQ(NativeProgramFilesOf(QStringLiteral("/pf (X86)/")), QStringLiteral("/pf/"));
    EXPECT_EQ(NativeProgramFilesOf(QStringLiteral("/pf/")), QStringLiteral("/pf/"));
    EXPECT_EQ(X86ProgramFilesOf(QStringLiteral("/pf/")), QStringLiteral("/pf (x86)/"));
    EXPECT_EQ(X86ProgramFilesOf(QStringLiteral("/pf (x86)/")), QStringLiteral("/pf (x86)/"));
    EXPECT_EQ(ProgramFilesFolder(), QString());
    EXPECT_EQ(ProgramFilesFolderNative(), QString());
    EXPECT_EQ(ProgramFilesFolderX86(), QString());
    const QString desktop = DesktopFolder();
    EXPECT_TRUE(desktop.isEmpty() || desktop.endsWith(QLatin1Char('/')));
}

} // namespace
