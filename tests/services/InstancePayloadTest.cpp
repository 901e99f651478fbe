#include "services/InstancePayload.h"

#include <gtest/gtest.h>

namespace {

QByteArray utf16le(const char16_t* text) {
    QByteArray bytes;
    for (const char16_t* p = text; *p != 0; ++p) {
        bytes.append(static_cast<char>(*p & 0xFF));
        bytes.append(static_cast<char>(*p >> 8));
    }
    return bytes;
}

const QByteArray kNul(2, '\0');

TEST(InstancePayload, TwoPathsAreEachFollowedByNulThenOneMoreNul) {
    const QString first = QStringLiteral("/home/a/plan.krvc");
    const QString second = QString::fromUtf16(u"/tmp/Ünï €.krvc");
    const QByteArray payload = EncodeInstancePayload({first, second});
    EXPECT_EQ(payload,
              utf16le(u"/home/a/plan.krvc") + kNul + utf16le(u"/tmp/Ünï €.krvc") + kNul + kNul);
    EXPECT_EQ(payload.size(), 2 * (first.size() + 1 + second.size() + 1 + 1));
    EXPECT_EQ(DecodeInstancePayload(payload), QStringList({first, second}));
}

TEST(InstancePayload, NoPathsIsOneNulAndEmptyPathsAreLeftOut) {
    EXPECT_EQ(EncodeInstancePayload({}), kNul);
    EXPECT_TRUE(DecodeInstancePayload(kNul).isEmpty());
    EXPECT_EQ(EncodeInstancePayload({QString(), QStringLiteral("a")}), utf16le(u"a") + kNul + kNul);
}

// Whatever arrives is read only as far as its bytes go.
TEST(InstancePayload, DecodingIsBoundedByTheBytesReceived) {
    const struct {
        const char* name;
        QByteArray payload;
        QStringList paths;
    } cases[] = {
        {"empty", QByteArray(), {}},
        {"no terminator", utf16le(u"/a/b.krvc"), {QStringLiteral("/a/b.krvc")}},
        {"entry without the final empty one", utf16le(u"x") + kNul, {QStringLiteral("x")}},
        {"odd last byte ignored", utf16le(u"ab") + QByteArray(1, 'c'), {QStringLiteral("ab")}},
        {"single byte", QByteArray(1, 'a'), {}},
        {"stops at the first empty entry",
         utf16le(u"a") + kNul + kNul + utf16le(u"b") + kNul,
         {QStringLiteral("a")}},
        {"leading empty entry ends the list", kNul + utf16le(u"a") + kNul, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DecodeInstancePayload(c.payload), c.paths) << c.name;
    }
}

TEST(InstancePayload, RequestCarriesTagAndByteCountLittleEndian) {
    const QByteArray request = EncodeInstanceRequest({QStringLiteral("p")});
    ASSERT_EQ(request.size(), 8 + 6);
    EXPECT_EQ(request.left(4), QByteArray("\x43\x56\x52\x4B", 4));
    EXPECT_EQ(request.mid(4, 4), QByteArray("\x06\x00\x00\x00", 4));

    TInstanceRequest decoded;
    int consumed = -1;
    ASSERT_EQ(DecodeInstanceRequest(request + QByteArray("junk"), decoded, consumed),
              TInstanceFrame::Complete);
    EXPECT_EQ(decoded.Tag, kInstanceRequestTag);
    EXPECT_EQ(decoded.Paths, QStringList({QStringLiteral("p")}));
    EXPECT_EQ(consumed, request.size());
}

TEST(InstancePayload, WrongTagIsDecodedAsSentForTheReceiverToRefuse) {
    TInstanceRequest decoded;
    int consumed = 0;
    const QByteArray request = EncodeInstanceRequest({QStringLiteral("p")}, 0x4B525650u);
    ASSERT_EQ(DecodeInstanceRequest(request, decoded, consumed), TInstanceFrame::Complete);
    EXPECT_NE(decoded.Tag, kInstanceRequestTag);
}

TEST(InstancePayload, PartialAndOversizedRequests) {
    const QByteArray request = EncodeInstanceRequest({QStringLiteral("/a"), QStringLiteral("/b")});
    TInstanceRequest decoded;
    int consumed = 0;
    for (int size = 0; size < request.size(); ++size) {
        EXPECT_EQ(DecodeInstanceRequest(request.left(size), decoded, consumed),
                  TInstanceFrame::Incomplete)
            << size;
    }
    // An announced payload above the limit is refused before any of it is awaited or read.
    QByteArray huge("\x43\x56\x52\x4B\xFF\xFF\xFF\xFF", 8);
    EXPECT_EQ(DecodeInstanceRequest(huge, decoded, consumed), TInstanceFrame::Invalid);
    QByteArray atLimit("\x43\x56\x52\x4B", 4);
    atLimit.append(QByteArray("\x00\x00\x10\x00", 4)); // exactly the limit: waits for it
    EXPECT_EQ(DecodeInstanceRequest(atLimit, decoded, consumed), TInstanceFrame::Incomplete);
}

TEST(InstancePayload, RepliesAreFourBytesLittleEndian) {
    EXPECT_EQ(EncodeInstanceReply(kInstanceReplyAccepted), QByteArray("\x01\xDA\x01\x00", 4));
    EXPECT_EQ(EncodeInstanceReply(kInstanceReplyBusy), QByteArray("\xD4\x00\x00\x00", 4));
    qint32 reply = 0;
    EXPECT_FALSE(DecodeInstanceReply(QByteArray("\xD4\x00\x00", 3), reply));
    ASSERT_TRUE(DecodeInstanceReply(EncodeInstanceReply(kInstanceReplyBusy), reply));
    EXPECT_EQ(reply, kInstanceReplyBusy);
}

} // namespace
