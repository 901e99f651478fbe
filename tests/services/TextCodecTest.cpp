#include "services/TextCodec.h"

#include <gtest/gtest.h>

using namespace textcodec;

TEST(TextCodec, DecodesByMarkThenUtf8ThenCodePage1252) {
    struct Case {
        QByteArray bytes;
        QString text;
        TTextEncoding encoding;
    };
    const QString euroE = QString::fromUtf8("\xE2\x82\xAC\xC3\xA9");
    const Case cases[] = {
        {QByteArray("abc"), QStringLiteral("abc"), TTextEncoding::Cp1252},
        {QByteArray("\x80\xE9"), euroE, TTextEncoding::Cp1252},
        {QByteArray("\xE2\x82\xAC\xC3\xA9"), euroE, TTextEncoding::Utf8},
        {QByteArray("\xEF\xBB\xBF\xE2\x82\xAC\xC3\xA9"), euroE, TTextEncoding::Utf8Bom},
        {QByteArray("\xFF\xFE\xAC\x20\xE9\x00", 6), euroE, TTextEncoding::Utf16LE},
        {QByteArray("\xFE\xFF\x20\xAC\x00\xE9", 6), euroE, TTextEncoding::Utf16BE},
        // An overlong form is not UTF-8: the bytes read as code page 1252.
        {QByteArray("\xC0\xAF"), QString::fromUtf8("\xC3\x80\xC2\xAF"), TTextEncoding::Cp1252},
    };
    for (const Case& c : cases) {
        TTextEncoding found{};
        EXPECT_EQ(DecodeText(c.bytes, &found), c.text) << c.bytes.toHex().constData();
        EXPECT_EQ(found, c.encoding) << c.bytes.toHex().constData();
    }
}

TEST(TextCodec, EveryCodePageByteRoundTrips) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = FromCp1252(all);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(text.at(0x81), QChar(0x0081));
    bool ok = false;
    EXPECT_EQ(ToCp1252(text, &ok), all);
    EXPECT_TRUE(ok);
}

TEST(TextCodec, WritesCodePage1252OnlyWhenItReadsBackTheSame) {
    struct Case {
        QString text;
        TTextEncoding encoding;
    };
    const Case cases[] = {
        {QStringLiteral("plain"), TTextEncoding::Cp1252},
        {QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC 5"), TTextEncoding::Cp1252},
        // Greek and CJK do not fit the code page.
        {QString::fromUtf8("\xCE\xA9 \xE6\x97\xA5"), TTextEncoding::Utf8Bom},
        // These two characters' bytes C3 A9 would read back as UTF-8 "é".
        {QString::fromUtf8("\xC3\x83\xC2\xA9"), TTextEncoding::Utf8Bom},
        // Bytes FF FE would read back as a UTF-16 mark.
        {QString::fromUtf8("\xC3\xBF\xC3\xBE"), TTextEncoding::Utf8Bom},
        // A leading byte-order mark character survives.
        {QString(QChar(0xFEFF)) + QStringLiteral("x"), TTextEncoding::Utf8Bom},
    };
    for (const Case& c : cases) {
        TTextEncoding written{};
        const QByteArray bytes = EncodeText(c.text, &written);
        EXPECT_EQ(written, c.encoding) << c.text.toStdString();
        EXPECT_EQ(DecodeText(bytes), c.text) << c.text.toStdString();
        EXPECT_FALSE(bytes.contains('?')) << c.text.toStdString();
    }
}

TEST(TextCodec, LoneSurrogateIsWrittenAsReplacementCharacterNotQuestionMark) {
    const QString text = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b");
    const QByteArray bytes = EncodeText(text);
    EXPECT_FALSE(bytes.contains('?'));
    EXPECT_EQ(DecodeText(bytes), QStringLiteral("a") + QChar(0xFFFD) + QStringLiteral("b"));
}
