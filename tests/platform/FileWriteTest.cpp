#include "platform/FileWrite.h"
#include "support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace {

using platform::resolveSaveTarget;

class SaveTargets : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void link(const QString& target, const QString& name) const {
        ASSERT_TRUE(QFile::link(target, path(name))) << name.toStdString();
    }
    QTemporaryDir dir;
};

TEST_F(SaveTargets, ALinkIsFollowedToTheFileAtTheEndOfItsChain) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("data")));
    QFile file(path(QStringLiteral("data/book.krvc")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    link(QStringLiteral("data/book.krvc"), QStringLiteral("relative"));
    link(path(QStringLiteral("relative")), QStringLiteral("chain"));
    link(QStringLiteral("data/new.krvc"), QStringLiteral("dangling"));

    const struct {
        const char* name;
        const char* target;
    } cases[] = {
        {"data/book.krvc", "data/book.krvc"}, // no link: the path itself
        {"missing.krvc", "missing.krvc"},     // a new file
        {"relative", "data/book.krvc"},       // read from the link's folder
        {"chain", "data/book.krvc"},
        {"dangling", "data/new.krvc"}, // the file the link names is created
    };
    for (const auto& c : cases) {
        const platform::SaveTarget target = resolveSaveTarget(path(QString::fromUtf8(c.name)));
        EXPECT_FALSE(target.failed()) << c.name;
        EXPECT_EQ(QDir::cleanPath(target.path), path(QString::fromUtf8(c.target))) << c.name;
    }
}

TEST_F(SaveTargets, ALoopOfLinksIsAFailureNamingTheReason) {
    link(path(QStringLiteral("b")), QStringLiteral("a"));
    link(path(QStringLiteral("a")), QStringLiteral("b"));
    const platform::SaveTarget target = resolveSaveTarget(path(QStringLiteral("a")));
    EXPECT_TRUE(target.failed());
    EXPECT_EQ(target.error, ELOOP);
    EXPECT_FALSE(target.errorText.isEmpty());
}

TEST(WriteAll, AWriteCutShortFailsWithTheReason) {
    QTemporaryDir dir;
    const QByteArray data(5000, 'x'); // fits the write buffer: the cut comes at the flush
    const QString reason = QString::fromLocal8Bit(strerror(EFBIG));
    {
        QFile file(dir.filePath(QStringLiteral("plain")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const testsupport::FileSizeLimit limit(1000);
        EXPECT_FALSE(platform::writeAll(file, data));
        EXPECT_EQ(file.errorString(), reason);
    }
    {
        QSaveFile file(dir.filePath(QStringLiteral("saved")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const testsupport::FileSizeLimit limit(1000);
        EXPECT_FALSE(platform::writeAll(file, data) && file.commit());
        EXPECT_EQ(file.errorString(), reason);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("saved"))));
}

} // namespace
