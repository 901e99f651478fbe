#include "platform/FileAccess.h"
#include "platform/Exception.h"
#include "support/SpecialFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::fileAccess;

QString makeFile(const QTemporaryDir& dir, const QString& name) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    return path;
}

TEST(FileAccess, TellsFilesFromFoldersAndMissingPaths) {
    QTemporaryDir dir;
    const QString file = makeFile(dir, QStringLiteral("a.krvc"));
    EXPECT_TRUE(fileAccess().fileExists(file).value);
    EXPECT_FALSE(fileAccess().fileExists(dir.path()).value);
    EXPECT_TRUE(fileAccess().folderExists(dir.path()).value);
    EXPECT_FALSE(fileAccess().folderExists(file).value);
    for (const QString& missing :
         {dir.filePath(QStringLiteral("none")), file + QStringLiteral("/x"),
          QStringLiteral("a\u0000b"), QString()}) {
        const auto answer = fileAccess().fileExists(missing);
        EXPECT_FALSE(answer.value) << missing.toStdString();
        EXPECT_FALSE(answer.failed()) << missing.toStdString();
    }
}

TEST(FileAccess, AFileWithoutWritePermissionIsReadOnlyAndIsNotDeleted) {
    QTemporaryDir dir;
    const QString file = makeFile(dir, QStringLiteral("r.krvc"));
    EXPECT_FALSE(fileAccess().isReadOnly(file).value);
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    EXPECT_TRUE(fileAccess().isReadOnly(file).value);
    const auto removed = fileAccess().removeFile(file);
    EXPECT_TRUE(removed.failed());
    EXPECT_FALSE(removed.errorText.isEmpty());
    EXPECT_TRUE(QFile::exists(file));
    ::chmod(QFile::encodeName(file).constData(), 0644);
    EXPECT_TRUE(fileAccess().removeFile(file).value);
    EXPECT_FALSE(QFile::exists(file));
    // Missing: neither read-only nor a failure.
    EXPECT_FALSE(fileAccess().isReadOnly(file).value);
    EXPECT_FALSE(fileAccess().isReadOnly(file).failed());
}

TEST(FileAccess, AFileIsInUseWhileLockedOrWhileASpreadsheetLockFileStandsBesideIt) {
    QTemporaryDir dir;
    const QString file = makeFile(dir, QStringLiteral("Plan 1.xlsx"));
    EXPECT_FALSE(fileAccess().isInUse(file).value);

    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_TRUE(fileAccess().isInUse(file).value);
    ::close(fd);
    EXPECT_FALSE(fileAccess().isInUse(file).value);

    for (const QString& lock : {platform::officeLockFile(file), platform::excelOwnerFile(file)}) {
        QFile marker(lock);
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.close();
        EXPECT_TRUE(fileAccess().isInUse(file).value) << lock.toStdString();
        QFile::remove(lock);
    }
    EXPECT_EQ(platform::officeLockFile(file), dir.filePath(QStringLiteral(".~lock.Plan 1.xlsx#")));
    EXPECT_EQ(platform::excelOwnerFile(file), dir.filePath(QStringLiteral("~$Plan 1.xlsx")));
}

TEST(FileAccess, AMissingFileIsNotInUse) {
    QTemporaryDir dir;
    const auto answer = fileAccess().isInUse(dir.filePath(QStringLiteral("gone.xlsx")));
    EXPECT_FALSE(answer.value);
    EXPECT_FALSE(answer.failed());
}

TEST(FileAccess, AFileThatCannotBeOpenedIsAFailureNotInUse) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may open every file";
    }
    QTemporaryDir dir;
    const QString file = makeFile(dir, QStringLiteral("secret.xlsx"));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0), 0);
    const auto answer = fileAccess().isInUse(file);
    EXPECT_TRUE(answer.failed());
    EXPECT_FALSE(answer.value);
    ::chmod(QFile::encodeName(file).constData(), 0644);
}

TEST(FileAccess, EveryKindIsToldAndOnlyARegularFileOrNothingPasses) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.krvc"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");
    const QString socket = dir.filePath(QStringLiteral("sock.xlsx"));
    ASSERT_EQ(testsupport::makeSocket(socket), "");
    const QString toNull = dir.filePath(QStringLiteral("null.xlsx"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), toNull));
    const QString toFifo = dir.filePath(QStringLiteral("link.krvc"));
    ASSERT_TRUE(QFile::link(QStringLiteral("pipe.krvc"), toFifo));
    const struct {
        QString path;
        platform::FileKind kind;
        const char* reason; // empty: the path passes
    } cases[] = {
        {makeFile(dir, QStringLiteral("a.xlsx")), platform::FileKind::Regular, ""},
        {dir.filePath(QStringLiteral("new.xlsx")), platform::FileKind::Missing, ""},
        {dir.path(), platform::FileKind::Folder, "It is a folder, not a regular file."},
        {QStringLiteral("/dev/null"), platform::FileKind::CharacterDevice,
         "It is a character device, not a regular file."},
        {fifo, platform::FileKind::Fifo, "It is a FIFO (named pipe), not a regular file."},
        {socket, platform::FileKind::Socket, "It is a socket, not a regular file."},
        {toNull, platform::FileKind::CharacterDevice,
         "It leads to /dev/null, which is a character device, not a regular file."},
        {toFifo, platform::FileKind::Fifo,
         "It leads to FIFO, which is a FIFO (named pipe), not a regular file."},
    };
    for (const auto& c : cases) {
        const platform::KindAnswer answer = fileAccess().fileKind(c.path);
        EXPECT_FALSE(answer.failed()) << c.path.toStdString();
        EXPECT_EQ(answer.kind, c.kind) << c.path.toStdString();
        EXPECT_EQ(platform::notRegularFileReason(c.path),
                  QString::fromUtf8(c.reason).replace(QStringLiteral("to FIFO"),
                                                      QStringLiteral("to ") +
                                                          QFileInfo(fifo).canonicalFilePath()))
            << c.path.toStdString();
    }
}

TEST(FileAccess, APathThatCannotBeExaminedIsAFailureLeftToTheOtherChecks) {
    QTemporaryDir dir;
    const QString tooLong = dir.filePath(QString(300, QLatin1Char('a')));
    const platform::KindAnswer answer = fileAccess().fileKind(tooLong);
    EXPECT_TRUE(answer.failed());
    EXPECT_FALSE(answer.errorText.isEmpty());
    EXPECT_TRUE(platform::notRegularFileReason(tooLong).isEmpty());
}

TEST(FileAccess, ReadingRefusesWhatIsNoRegularFileWithoutWaitingAndWhatIsTooLong) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.krvc"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");
    const QString sparse = dir.filePath(QStringLiteral("sparse.krvc"));
    {
        QFile file(sparse);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(1) << 30)); // 1 GB that takes no disk
    }
    const struct {
        QString path;
        const char* reason;
    } refused[] = {
        {fifo, "It is a FIFO (named pipe), not a regular file."}, // no writer: would never end
        {QStringLiteral("/dev/zero"), "It is a character device, not a regular file."},
        {dir.path(), "It is a folder, not a regular file."},
        {sparse, "The file is 1,073,741,824 bytes long; at most 1,000 bytes are read."},
        {dir.filePath(QStringLiteral("none")), nullptr},
    };
    for (const auto& c : refused) {
        try {
            platform::readRegularFile(c.path, 1000);
            ADD_FAILURE() << "read " << c.path.toStdString();
        } catch (const platform::Exception& e) {
            if (c.reason != nullptr) {
                EXPECT_EQ(e.message(), QString::fromUtf8(c.reason)) << c.path.toStdString();
            } else {
                EXPECT_FALSE(e.message().isEmpty());
            }
        }
    }
    const QString file = makeFile(dir, QStringLiteral("a.krvc"));
    EXPECT_EQ(platform::readRegularFile(file, 1), QByteArray("x")); // the limit itself is allowed
}

} // namespace
