#include "platform/FileAccess.h"
#include "platform/Exception.h"
#include "support/NonRegularFiles.h"

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

// A lock file as LibreOffice writes it: profile user name (often empty), system user name,
// host, time and profile folder.
QByteArray officeLock(const char* user, const char* host) {
    return QByteArray(",") + user + ',' + host + ",11.12.2026 14:09,file:///home/ann/.config/lo;";
}

TEST(FileAccess, ReadsWhoHoldsALibreOfficeLockFile) {
    const struct {
        QByteArray content;
        bool parsed;
        const char* user;
        const char* host;
    } cases[] = {
        {",root,vm,11.12.2026 14:09,file:///tmp/res-lo/prof;", true, "root", "vm"},
        {"Ann B,ann,desk-7,01.02.2026 08:00,file:///home/ann/.config/libreoffice/4;\n", true, "ann",
         "desk-7"},
        {",Smith\\, J,host\\;1,t,u;", true, "Smith, J", "host;1"},
        {"", false, "", ""},
        {",ann,desk-7,01.02.2026 08:00,file:///x", false, "", ""},
        {",ann,desk-7;", false, "", ""},
        {"x", false, "", ""},
    };
    for (const auto& c : cases) {
        const auto owner = platform::parseOfficeLock(c.content);
        ASSERT_EQ(owner.has_value(), c.parsed) << c.content.constData();
        if (owner) {
            EXPECT_EQ(owner->userName, QString::fromUtf8(c.user)) << c.content.constData();
            EXPECT_EQ(owner->host, QString::fromUtf8(c.host)) << c.content.constData();
        }
    }
}

// A process table laid out as /proc: one folder per process with its status, comm and cmdline.
class ProcessTable {
public:
    void add(int pid, unsigned uid, const QByteArray& comm, const QByteArray& argv0) {
        const QString folder = dir.filePath(QString::number(pid));
        ASSERT_TRUE(QDir().mkpath(folder));
        write(folder + QStringLiteral("/status"), "Name:\t" + comm + "\nUid:\t" +
                                                      QByteArray::number(uid) + "\t" +
                                                      QByteArray::number(uid) + "\t0\t0\n");
        write(folder + QStringLiteral("/comm"), comm + "\n");
        write(folder + QStringLiteral("/cmdline"), argv0 + QByteArray("\0--headless\0", 12));
    }
    QString path() const { return dir.path(); }

private:
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir dir;
};

TEST(FileAccess, FindsTheLibreOfficeProgramsOfOneUserInAProcessTable) {
    ProcessTable table;
    table.add(1, 0, "systemd", "/sbin/init");
    table.add(40, 1000, "bash", "/bin/bash");
    table.add(41, 1001, "soffice.bin", "/usr/lib/libreoffice/program/soffice.bin");
    table.add(42, 1002, "oosplash", "/usr/lib/libreoffice/program/oosplash");
    // A command name cut short or changed: the program's path still tells it.
    table.add(43, 1003, "x", "/opt/libreoffice7.6/program/soffice.bin");
    QDir(table.path()).mkdir(QStringLiteral("self"));
    const struct {
        unsigned uid;
        bool running;
    } cases[] = {{0, false}, {1000, false}, {1001, true}, {1002, true}, {1003, true}, {7, false}};
    for (const auto& c : cases) {
        const auto answer = platform::officeProgramRunsIn(table.path(), c.uid);
        EXPECT_FALSE(answer.failed()) << c.uid;
        EXPECT_EQ(answer.value, c.running) << c.uid;
    }
    EXPECT_TRUE(platform::officeProgramRunsIn(table.path() + QStringLiteral("/none"), 0).failed());
}

// This machine as "desk-7" with the user "ann" (uid 1000), its processes from a process table.
class MachineFileAccess : public platform::FileAccess {
public:
    ProcessTable processes;

protected:
    QString hostName() override { return QStringLiteral("desk-7"); }
    QString userName() override { return QStringLiteral("ann"); }
    platform::FileAnswer officeProgramRunning() override {
        return platform::officeProgramRunsIn(processes.path(), 1000);
    }
};

TEST(FileAccess, ALibreOfficeLockLeftBehindOnThisMachineDoesNotMarkTheFileOpen) {
    QTemporaryDir dir;
    const QString file = makeFile(dir, QStringLiteral("Plan.xlsx"));
    const QString lock = platform::officeLockFile(file);
    MachineFileAccess access;
    access.processes.add(40, 1000, "bash", "/bin/bash");
    access.processes.add(41, 1001, "soffice.bin", "/usr/lib/libreoffice/program/soffice.bin");

    const struct {
        QByteArray content;
        bool open;
    } cases[] = {
        {officeLock("ann", "desk-7"), false}, // left behind: nobody here can be editing it
        {officeLock("ann", "DESK-7"), false},
        {officeLock("ann", "laptop"), true}, // another machine may be editing it
        {officeLock("bob", "desk-7"), true}, // another user
        {officeLock("", "desk-7"), true},
        {"garbage", true},
        {"", true},
    };
    for (const auto& c : cases) {
        QFile marker(lock);
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.write(c.content);
        marker.close();
        const platform::LockFileAnswer answer = access.markingLockFile(file);
        EXPECT_EQ(answer.answer.value, c.open) << c.content.constData();
        EXPECT_EQ(answer.lockFile, c.open ? lock : QString()) << c.content.constData();
        EXPECT_EQ(access.isInUse(file).value, c.open) << c.content.constData();
    }

    // The same lock while a LibreOffice program of this user runs: it may be editing the file.
    QFile marker(lock);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write(officeLock("ann", "desk-7"));
    marker.close();
    access.processes.add(77, 1000, "soffice.bin", "/usr/lib/libreoffice/program/soffice.bin");
    EXPECT_TRUE(access.isInUse(file).value);
    EXPECT_EQ(access.markingLockFile(file).lockFile, lock);
    EXPECT_TRUE(QFile::exists(lock)); // the lock file is never removed

    // The other spreadsheet program's owner file cannot be judged: it always marks the file.
    QFile::remove(lock);
    QFile owner(platform::excelOwnerFile(file));
    ASSERT_TRUE(owner.open(QIODevice::WriteOnly));
    owner.close();
    EXPECT_EQ(access.markingLockFile(file).lockFile, platform::excelOwnerFile(file));
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
