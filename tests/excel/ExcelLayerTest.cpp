#include "ExcelTestFixture.h"
#include "platform/Format.h"
#include "services/TextIds.h"

#include <cmath>
#include <vector>

namespace {

TEST_F(ExcelTest, DetectsTheVersionAndItsLimits) {
    struct Case {
        const char* curVer;
        const char* path;
        uint8_t version;
        const char* text;
        const char* extension;
        int maxColumns;
        int maxRows;
    };
    const Case cases[] = {
        {"", "", evNotInstalled, "Not Installed", "xls", 16384, 1048576},
        {"Excel.Application.8", "", ev97, "97", "xls", 256, 65536},
        {"Excel.Application.9", "a.xlsx", ev2000, "2000", "xls", 256, 65536},
        {"Excel.Application.10", "", ev2002, "2002 (XP)", "xls", 256, 65536},
        {"Excel.Application.11", "", ev2003, "2003", "xls", 256, 65536},
        {"excel.application.12", "/d/a.xlsx", ev2007, "2007", "xlsx", 16384, 1048576},
        {"Excel.Application.14", "/d/a.XLS", ev2010, "2010 (64 Bit)", "xlsx", 256, 65536},
        {"Excel.Application.15", "", ev2013, "2013 (64 Bit)", "xlsx", 16384, 1048576},
        {"Excel.Application.13", "", evNotInstalled, "Not Installed", "xls", 16384, 1048576},
        {"Excel.Application.16", "", evNotInstalled, "Not Installed", "xls", 16384, 1048576},
    };
    for (const Case& c : cases) {
        env->curVer = QString::fromUtf8(c.curVer);
        TovXL layer;
        layer.setFilePath(QString::fromUtf8(c.path));
        EXPECT_EQ(layer.getVersion(), c.version) << c.curVer;
        EXPECT_EQ(layer.ExcelVersionText(), QString::fromUtf8(c.text)) << c.curVer;
        EXPECT_EQ(layer.DefaultExtension(), QString::fromUtf8(c.extension)) << c.curVer;
        EXPECT_EQ(layer.MaxColumns(), c.maxColumns) << c.curVer;
        EXPECT_EQ(layer.MaxRows(), c.maxRows) << c.curVer;
        EXPECT_EQ(layer.IsOldExcel(), c.version >= ev97 && c.version <= ev2003) << c.curVer;
    }
    EXPECT_TRUE(dialogue.shown.empty());
}

TEST_F(ExcelTest, RegistryFailureShowsOneWarningAndCountsAsNotInstalled) {
    env->registryFails = true;
    TovXL layer;
    EXPECT_EQ(layer.getType(), evNotInstalled);
    ASSERT_EQ(dialogue.keys(), QStringList{QStringLiteral("XL002")});
    EXPECT_EQ(dialogue.shown[0].lines, (QStringList{UIT(txt::UnableToVerifyIfMS), QString(),
                                                    QStringLiteral("Details: hive unreadable")}));
    // No version: operations do nothing and WorksheetExists answers false.
    layer.StartExcel(false);
    EXPECT_FALSE(layer.WorksheetExists(QStringLiteral("Tasks")));
    EXPECT_TRUE(fake::program().calls.isEmpty());
    EXPECT_TRUE(layer.WarnExcelMissing());
    EXPECT_EQ(dialogue.keys().last(), QStringLiteral("XL001"));
}

TEST_F(ExcelTest, ConvertsColumnNumbersAndLetters) {
    TovXL layer;
    const std::pair<int, const char*> columns[] = {{0, ""},        {1, "A"},    {26, "Z"},
                                                   {27, "AA"},     {702, "ZZ"}, {703, "AAA"},
                                                   {16384, "XFD"}, {16385, ""}, {-3, ""}};
    for (const auto& [column, letters] : columns) {
        EXPECT_EQ(layer.ColumnToLetters(column), QString::fromUtf8(letters)) << column;
    }
    const std::tuple<const char*, int, int> letters[] = {
        {"a", 16384, 1}, {"xfd", 16384, 16384}, {"XFE", 16384, 0}, {"A1", 16384, 0},
        {"", 16384, 0},  {"ABCD", 16384, 0},    {"IV", 256, 256},  {"IW", 256, 0},
    };
    for (const auto& [text, limit, column] : letters) {
        EXPECT_EQ(TovXL::LettersToColumn(QString::fromUtf8(text), limit), column) << text;
    }
    env->curVer = QStringLiteral("Excel.Application.11");
    EXPECT_EQ(layer.ColumnToLetters(257), QString());
    env->curVer = QStringLiteral("Excel.Application.12");
    EXPECT_EQ(layer.ColumnToLetters(257), QStringLiteral("IW"));
}

TEST_F(ExcelTest, RowChecksRaiseBeforeAnyCall) {
    TovXL& layer = openLayer({taskSheet()});
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { layer.DeleteRows(5, 4); },
         "TovXL.DeleteRows: intLastRow Index is invalid.\r\nValid Range: 5 to 1048576.\r\n"
         "Index Value: 4."},
        {[&] { layer.DeleteRows(0, 4); },
         "TovXL.DeleteRows: intFirstRow Index is invalid.\r\nValid Range: 1 to 1048576.\r\n"
         "Index Value: 0."},
        {[&] { layer.InsertValues(QStringLiteral("A"), 1, 1048577); },
         "TovXL.InsertValues: intLastRow Index is invalid.\r\nValid Range: 1 to 1048576.\r\n"
         "Index Value: 1048577."},
        {[&] { layer.ExtractFldList(1048576); },
         "TovXL.ExtractFldList: intHeaderRow Index is invalid.\r\nValid Range: 1 to 1048575.\r\n"
         "Index Value: 1048576."},
    };
    layer.Errors = QStringList{QStringLiteral("kept")};
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const platform::Exception& e) {
            EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    EXPECT_TRUE(fake::program().calls.isEmpty());
    EXPECT_EQ(layer.Errors, QStringList{QStringLiteral("kept")});
    env->curVer = QStringLiteral("Excel.Application.11");
    EXPECT_THROW(layer.ExtractFldList(65536), platform::Exception);
}

TEST_F(ExcelTest, ParsesClipboardBlocks) {
    TovXL layer;
    struct Case {
        const char* clipboard;
        int n;
        QStringList expected;
    };
    const Case cases[] = {
        {"a\r\n b \r\nc\r\n", 3, Texts({"a", "b", "c"})},
        {"a\r\nb\r\nc\r\nd\r\n", 3, Texts({"a", "b", "c"})},
        {"a\r\nb", 3, Texts({"a", "", ""})},
        {"\"x\ny\"\r\nnext\r\n", 2, Texts({"xy", "next"})},
        // A cell holding CR LF stays one value, so later rows keep their places.
        {"\"x\r\ny\"\r\nnext\r\n", 2, Texts({"xy", "next"})},
        {"\"say \"\"hi\"\"\nnow\"\r\nlast\r\n", 2, Texts({"say \"hi\"now", "last"})},
        {"\"quoted\"\r\nplain\r\n", 2, Texts({"\"quoted\"", "plain"})},
        {"", 2, Texts({"", ""})},
    };
    for (const Case& c : cases) {
        platform::PrivateClipboard::setText(QString::fromUtf8(c.clipboard));
        layer.ParseClipboardValues(QStringLiteral("A"), c.n);
        QStringList got;
        for (int i = 1; i <= layer.getValuesCount(); ++i) {
            got << automation::valueToText(layer.getValues(i));
        }
        EXPECT_EQ(got, c.expected) << c.clipboard;
        EXPECT_TRUE(platform::PrivateClipboard::text().isEmpty());
    }
}

TEST_F(ExcelTest, AVersionWithoutAdapterFailsClearly) {
    TovXL layer;
    env->curVer = QStringLiteral("Excel.Application.12");
    layer.getVersion();
    EXPECT_THROW(layer.StartExcel(false), platform::Exception);
    EXPECT_TRUE(fake::program().calls.isEmpty());
    // Reported through the Errors lines from the text table, as every other failure is.
    const QStringList lines = {
        platform::Format(UIT(txt::UnableToOpenMSExcel), {layer.ExcelVersionText()}), QString(),
        UIT(txt::SpreadsheetProgramChangedWhileOvik), QString()};
    EXPECT_EQ(layer.Errors, lines);
}

TEST_F(ExcelTest, AHeldVersionIsDetectedOnceAndKeptUntilReleased) {
    env->curVer = QStringLiteral("Excel.Application.11");
    TovXL layer;
    env->curVer = QStringLiteral("Excel.Application.12");
    {
        const TovXL::VersionHold hold(layer);
        EXPECT_EQ(layer.MaxRows(), 1048576); // detected on the first query under the hold
        env->curVer = QStringLiteral("Excel.Application.11");
        EXPECT_EQ(layer.getVersion(), ev2007);
        EXPECT_EQ(layer.ColumnToLetters(257), QStringLiteral("IW"));
        {
            const TovXL::VersionHold inner(layer);
            EXPECT_EQ(layer.MaxColumns(), 16384);
        }
        EXPECT_EQ(layer.MaxColumns(), 16384); // the inner hold leaves the outer one in force
    }
    EXPECT_EQ(layer.getVersion(), ev2003);
    EXPECT_EQ(layer.MaxRows(), 65536);
    {
        const TovXL::VersionHold hold(layer);
        env->curVer = QStringLiteral("Excel.Application.15");
        EXPECT_EQ(layer.getVersion(), ev2013); // a new hold detects again
    }
}

} // namespace

namespace {

// Numbers read from cells become the text of "%.15g", however they are written.
TEST(ValueText, NumbersAreWrittenWithFifteenSignificantDigits) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.0,
                                  0.1,
                                  1e-4,
                                  9.99e-5,
                                  1e-5,
                                  123456789012345.0,
                                  1e14,
                                  99999999999999.99,
                                  1e15,
                                  1e20,
                                  0.3,
                                  2.0 / 3.0,
                                  -1234.5678,
                                  46027.0,
                                  55.0 * 8.0 * 0.95,
                                  1e300,
                                  -1e-300};
    unsigned long long state = 7;
    for (int i = 0; i < 2000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
        values.push_back((unit - 0.5) * std::pow(10.0, static_cast<double>(i % 24) - 6));
        // Quarters and eighths of long whole numbers fall exactly between two 15-digit texts.
        values.push_back(static_cast<double>(state % 100000000000000ULL) / (i % 2 == 0 ? 4 : 8));
    }
    for (double v : values) {
        EXPECT_EQ(automation::valueToText(automation::Value(v)), QString::number(v, 'g', 15)) << v;
    }
}

} // namespace
