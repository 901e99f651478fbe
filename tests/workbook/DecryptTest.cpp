#include "workbook/detail/Decrypt.h"

#include "workbook/Error.h"
#include "workbook/detail/CompoundFile.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace workbook::detail;

namespace {

// Fixtures made by data/encrypted/make_plain.py and make_encrypted.js.
const QString kPassword = QStringLiteral("Tessel-pw");
const char* const kEncrypted[] = {"standard.xlsx", "agile.xlsx"};

QByteArray readFixture(const char* name) {
    QFile f(QStringLiteral(KRV_TEST_DATA_DIR "/encrypted/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

QString errorOf(const QByteArray& bytes, const QString& password) {
    try {
        decryptPackage(bytes, password);
    } catch (const workbook::Error& e) {
        EXPECT_EQ(e.code(), workbook::kRejectedReference);
        return e.description();
    }
    return QStringLiteral("no error");
}

} // namespace

TEST(DecryptTest, DecryptsStandardAndAgileToThePlainPackage) {
    const QByteArray plain = readFixture("plain.xlsx");
    EXPECT_FALSE(isEncryptedPackage(plain));
    for (const char* name : kEncrypted) {
        const QByteArray bytes = readFixture(name);
        EXPECT_TRUE(isEncryptedPackage(bytes)) << name;
        EXPECT_EQ(decryptPackage(bytes, kPassword), plain) << name;
    }
}

TEST(DecryptTest, WrongOrMissingPasswordIsDescribed) {
    for (const char* name : kEncrypted) {
        const QByteArray bytes = readFixture(name);
        EXPECT_THROW(decryptPackage(bytes, QStringLiteral("x")), WrongPasswordError) << name;
        EXPECT_EQ(errorOf(bytes, QStringLiteral("tessel-pw")),
                  QStringLiteral("The password is incorrect."))
            << name;
        EXPECT_EQ(errorOf(bytes, QString()),
                  QStringLiteral("The file is encrypted and no password was given."))
            << name;
    }
}

TEST(DecryptTest, DamagedFilesFailWithoutCrashing) {
    const QByteArray agile = readFixture("agile.xlsx");
    // A changed byte in the encrypted data fails the agile integrity check.
    QByteArray tampered = agile;
    const QByteArray package = CompoundFile(agile).stream(QStringLiteral("EncryptedPackage"));
    const qsizetype at = tampered.indexOf(package.mid(5000, 64));
    ASSERT_GT(at, 0);
    tampered[at] = char(tampered[at] ^ 0x5A);
    const QString tamperedError = errorOf(tampered, kPassword);
    EXPECT_TRUE(tamperedError.contains(QStringLiteral("integrity"))) << tamperedError.toStdString();
    for (const char* name : kEncrypted) {
        const QByteArray bytes = readFixture(name);
        for (const qsizetype size : {qsizetype(0), qsizetype(600), bytes.size() / 2}) {
            const QString error = errorOf(bytes.left(size), kPassword);
            EXPECT_TRUE(error.contains(QStringLiteral("damaged"))) << name << " " << size;
        }
    }
    EXPECT_TRUE(errorOf(readFixture("plain.xlsx"), kPassword).contains(QStringLiteral("damaged")));
}

// A spin count above what the spreadsheet application writes is refused before any hashing.
TEST(DecryptTest, ExcessiveSpinCountIsRefused) {
    QByteArray agile = readFixture("agile.xlsx");
    const qsizetype at = agile.indexOf("spinCount=\"100000\"");
    ASSERT_GT(at, 0);
    agile.replace(at, 18, "spinCount=\"999999\"");
    const QString error = errorOf(agile, kPassword);
    EXPECT_TRUE(error.contains(QStringLiteral("spin count of 999999"))) << error.toStdString();
}
