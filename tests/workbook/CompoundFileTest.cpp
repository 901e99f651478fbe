#include "workbook/detail/CompoundFile.h"

#include "CompoundFileTestWriter.h"
#include "workbook/Error.h"

#include <QFile>
#include <gtest/gtest.h>

using workbook::detail::CompoundFile;

namespace {

QByteArray readFixture(const QString& name) {
    QFile f(QStringLiteral(KRV_TEST_DATA_DIR "/encrypted/") + name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return f.readAll();
}

QByteArray pattern(int size, int seed) {
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 31 + seed) & 0xFF);
    return b;
}

} // namespace

TEST(CompoundFileTest, ReadsSmallAndLargeStreamsOfAnEncryptedPackage) {
    const CompoundFile cf(readFixture(QStringLiteral("agile.xlsx")));
    EXPECT_TRUE(cf.streamPaths().contains(QStringLiteral("EncryptionInfo")));
    // EncryptionInfo is below the small-stream cutoff, EncryptedPackage above it.
    const QByteArray info = cf.stream(QStringLiteral("EncryptionInfo"));
    ASSERT_GE(info.size(), 8);
    EXPECT_EQ(info.left(4), QByteArray("\x04\x00\x04\x00", 4));
    EXPECT_TRUE(info.contains("<keyData"));
    const QByteArray package = cf.stream(QStringLiteral("encryptedpackage"));
    const QByteArray plain = readFixture(QStringLiteral("plain.xlsx"));
    EXPECT_EQ(qFromLittleEndian<quint64>(package.constData()), quint64(plain.size()));
    EXPECT_GE(package.size(), plain.size() + 8);
}

TEST(CompoundFileTest, ReadsStreamsAcrossSectors) {
    const QByteArray a = pattern(5000, 1);
    const QByteArray b = pattern(4096 * 3 + 7, 2);
    const auto file = testsupport::writeTestCompoundFile(
        {{QStringLiteral("Alpha"), a}, {QStringLiteral("Beta"), b}});
    const CompoundFile cf(file.bytes);
    EXPECT_EQ(cf.streamPaths(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(cf.stream(QStringLiteral("Alpha")), a);
    EXPECT_EQ(cf.stream(QStringLiteral("Beta")), b);
    EXPECT_FALSE(cf.hasStream(QStringLiteral("Gamma")));
    EXPECT_THROW(cf.stream(QStringLiteral("Gamma")), workbook::Error);
}

TEST(CompoundFileTest, DamagedContainersFailWithADescription) {
    const auto good = testsupport::writeTestCompoundFile(
        {{QStringLiteral("Alpha"), pattern(5000, 1)}, {QStringLiteral("Beta"), pattern(6000, 2)}});
    const uint32_t alpha = good.firstSector[0];
    const struct {
        const char* what;
        std::function<void(QByteArray&)> damage;
        bool failsOnOpen;
    } cases[] = {
        {"not a compound file", [](QByteArray& b) { b[0] = 'P'; }, true},
        {"truncated", [](QByteArray& b) { b.truncate(1024); }, true},
        {"chain loop",
         [&](QByteArray& b) {
             qToLittleEndian<quint32>(alpha, b.data() + good.fatEntryOffset(alpha));
         },
         false},
        {"chain out of range",
         [&](QByteArray& b) {
             qToLittleEndian<quint32>(0x7FFFFFF0u, b.data() + good.fatEntryOffset(alpha));
         },
         false},
        {"free sector in chain",
         [&](QByteArray& b) {
             qToLittleEndian<quint32>(0xFFFFFFFFu, b.data() + good.fatEntryOffset(alpha));
         },
         false},
        {"bad sector size", [](QByteArray& b) { b[0x1E] = 20; }, true},
    };
    for (const auto& c : cases) {
        QByteArray bytes = good.bytes;
        c.damage(bytes);
        try {
            const CompoundFile cf(bytes);
            EXPECT_FALSE(c.failsOnOpen) << c.what;
            cf.stream(QStringLiteral("Alpha"));
            ADD_FAILURE() << c.what << ": no error";
        } catch (const workbook::Error& e) {
            EXPECT_TRUE(e.description().contains(QStringLiteral("damaged"))) << c.what;
            EXPECT_EQ(e.code(), workbook::kRejectedReference) << c.what;
        }
    }
}
