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

} // namespace
