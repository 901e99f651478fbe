#include "platform/Exception.h"
#include "services/INI_Utils.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TIniDocument Parse(const char* text) {
    TIniDocument d;
    d.LoadFromBytes(QByteArray(text));
    return d;
}

} // namespace

TEST(IniDocument, ReadsNamesIgnoringCaseBlanksCommentsAndAnyLineEnd) {
    for (const char* eol : {"\r\n", "\n", "\r"}) {
        const QByteArray text = QByteArray("; comment") + eol + "  [Ovik KRV Tessel\\SD_1]  " +
                                eol + eol + "  Description  =  Demo  " + eol + ";Key=x" + eol +
                                "no equals sign" + eol + "Empty=" + eol;
        TIniDocument d;
        d.LoadFromBytes(text);
        EXPECT_TRUE(d.SectionExists(QStringLiteral("OVIK krv TESSEL\\sd_1")));
        EXPECT_EQ(d.ReadString(QStringLiteral("ovik krv tessel\\SD_1"),
                               QStringLiteral("DESCRIPTION"), QStringLiteral("x")),
                  QStringLiteral("Demo"));
        EXPECT_FALSE(d.ValueExists(QStringLiteral("Ovik KRV Tessel\\SD_1"), QStringLiteral("Key")));
        EXPECT_TRUE(
            d.ValueExists(QStringLiteral("Ovik KRV Tessel\\SD_1"), QStringLiteral("Empty")));
        EXPECT_EQ(d.SectionNames().size(), 1);
    }
}

TEST(IniDocument, FirstOfDuplicateSectionsAndKeysWins) {
    const TIniDocument d = Parse("[A]\nk=1\nk=2\n[B]\nx=1\n[a]\nk=3\nnew=4\n");
    EXPECT_EQ(d.ReadString(QStringLiteral("A"), QStringLiteral("k"), {}), QStringLiteral("1"));
    EXPECT_FALSE(d.ValueExists(QStringLiteral("A"), QStringLiteral("new")));
    EXPECT_EQ(d.SectionNames(), QStringList({QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(IniDocument, ReadsIntegersAndBooleansTheOldWay) {
    struct Case {
        const char* value;
        int integer;  // default 7
        bool boolean; // default true
    };
    const Case cases[] = {
        {"16", 16, true},
        {"0x10", 16, true},
        {"0X1f", 31, true},
        {"$10", 16, true},
        {"-5", -5, true},
        {"+5", 5, true},
        {"0", 0, false},
        {"2", 2, true},
        {"12abc", 7, true},
        {"abc", 7, true},
        {"", 7, true},
        {"0x", 7, true},
        {"2147483647", 2147483647, true},
        {"2147483648", 7, true},
        {"-2147483648", -2147483647 - 1, true},
        {"$FFFFFFFF", -1, true},
        {"1.5", 7, true},
    };
    for (const Case& c : cases) {
        TIniDocument d;
        d.WriteString(QStringLiteral("S"), QStringLiteral("K"), QString::fromLatin1(c.value));
        EXPECT_EQ(d.ReadInteger(QStringLiteral("S"), QStringLiteral("K"), 7), c.integer) << c.value;
        EXPECT_EQ(d.ReadBool(QStringLiteral("S"), QStringLiteral("K"), true), c.boolean) << c.value;
    }
    TIniDocument d;
    EXPECT_FALSE(d.ReadBool(QStringLiteral("S"), QStringLiteral("missing"), false));
    EXPECT_EQ(d.ReadInteger(QStringLiteral("S"), QStringLiteral("missing"), -3), -3);
}

TEST(IniDocument, WritesSectionsAndKeysInFirstWrittenOrderWithCrLf) {
    TIniDocument d;
    d.WriteString(QStringLiteral("B"), QStringLiteral("k1"), QStringLiteral("v"));
    d.WriteInteger(QStringLiteral("A"), QStringLiteral("n"), -12);
    d.WriteBool(QStringLiteral("b"), QStringLiteral("k2"), true);
    d.WriteString(QStringLiteral("B"), QStringLiteral("K1"), QStringLiteral("w"));
    EXPECT_EQ(d.ToBytes(), QByteArray("[B]\r\nk1=w\r\nk2=1\r\n\r\n[A]\r\nn=-12\r\n\r\n"));
}

TEST(IniDocument, ValueWithLineBreaksCannotInjectALine) {
    TIniDocument d;
    d.WriteString(QStringLiteral("S"), QStringLiteral("Value"),
                  QStringLiteral("first\r\n[Injected]\nEvil=1\r\rlast"));
    const QByteArray bytes = d.ToBytes();
    EXPECT_EQ(bytes, QByteArray("[S]\r\nValue=first [Injected] Evil=1 last\r\n\r\n"));
    TIniDocument back;
    back.LoadFromBytes(bytes);
    EXPECT_FALSE(back.SectionExists(QStringLiteral("Injected")));
}

TEST(IniDocumentFile, ReadingAndChangingWithoutUpdateLeaveTheFileUntouched) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.krvc"));
    const QByteArray original("[S]\nFlag=2\nText=x\nHex=0x10\n");
    WriteAll(path, original);
    TIniDocument d(path);
    EXPECT_TRUE(d.SectionExists(QStringLiteral("s")));
    EXPECT_TRUE(d.ValueExists(QStringLiteral("S"), QStringLiteral("text")));
    EXPECT_TRUE(d.ReadBool(QStringLiteral("S"), QStringLiteral("Flag"), false));
    EXPECT_EQ(d.ReadInteger(QStringLiteral("S"), QStringLiteral("Hex"), 0), 16);
    d.WriteString(QStringLiteral("S"), QStringLiteral("Text"), QStringLiteral("changed"));
    EXPECT_EQ(ReadAll(path), original);
}

TEST(IniDocumentFile, UpdateRewritesTheFileEvenUnchanged) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.krvc"));
    WriteAll(path, QByteArray("  [S]\n k = v \n"));
    TIniDocument(path).UpdateFile();
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\r\nk=v\r\n\r\n"));

    const QString fresh = dir.filePath(QStringLiteral("new.krvc"));
    TIniDocument d(fresh);
    EXPECT_FALSE(d.SectionExists(QStringLiteral("S")));
    d.WriteString(QStringLiteral("S"), QStringLiteral("k"), QString::fromUtf8("\xCE\xA9"));
    d.UpdateFile();
    EXPECT_EQ(ReadAll(fresh), QByteArray("\xEF\xBB\xBF[S]\r\nk=\xCE\xA9\r\n\r\n"));
}

TEST(IniDocumentFile, UnwritableOrUnreadablePathsRaise) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    WriteAll(blocker, "x");
    // The parent "folder" is a file: the document opens empty but cannot be written.
    TIniDocument d(blocker + QStringLiteral("/a.krvc"));
    d.WriteString(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v"));
    EXPECT_THROW(d.UpdateFile(), platform::Exception);
    // A folder cannot be read as a file.
    EXPECT_THROW(TIniDocument{dir.path()}, platform::Exception);
}
