#include "platform/FileAccess.h"

#include <QDir>
#include <QFile>
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

} // namespace
