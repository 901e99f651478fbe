#include "platform/FileWrite.h"

#include <QDir>
#include <QFile>
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

// A device that takes a few bytes of the first write and refuses the next, as a disk that fills
// up during the write does.
class FillingDevice : public QIODevice {
public:
    QByteArray received;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!received.isEmpty()) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        received.append(data, std::min<qint64>(size, 3));
        return std::min<qint64>(size, 3);
    }
};

TEST(WriteAll, AShortWriteIsRetriedSoTheReasonIsKnown) {
    FillingDevice device;
    ASSERT_TRUE(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(platform::writeAll(device, QByteArray("twelve bytes")));
    EXPECT_EQ(device.received, QByteArray("twe"));
    EXPECT_EQ(device.errorString(), QStringLiteral("No space left on device"));

    QFile full(QStringLiteral("/dev/full"));
    if (full.open(QIODevice::WriteOnly)) {
        EXPECT_FALSE(platform::writeAll(full, QByteArray(1 << 20, 'x')));
        EXPECT_EQ(full.errorString(), QString::fromLocal8Bit(strerror(ENOSPC)));
    }
}

} // namespace
