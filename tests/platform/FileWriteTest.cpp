#include "platform/FileWrite.h"
#include "platform/Exception.h"
#include "support/FileSizeLimit.h"
#include "support/NonRegularFiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

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

class SaveTemps : public SaveTargets {
protected:
    void write(const QString& file, const QByteArray& bytes) const {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray read(const QString& file) const {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    // The name a save of out.xlsx by process pid gives its temporary file.
    QString leftover(int pid, const char* random, const char* suffix = "") const {
        return path(QStringLiteral(".out.xlsx.krvsave-%1-%2%3")
                        .arg(pid)
                        .arg(QString::fromLatin1(random), QString::fromLatin1(suffix)));
    }
};

TEST_F(SaveTemps, AReplacedFileKeepsItsModeABackupTakesItsSourcesAndANewFileTheUmasks) {
    const QString target = path(QStringLiteral("out.xlsx"));
    write(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0600), 0);
    {
        platform::SaveTemp temp(target);
        EXPECT_EQ(testsupport::permissionsOf(temp.path()), 0600u); // private while written
        write(temp.path(), "new");
        temp.commit(temp.path());
    }
    EXPECT_EQ(read(target), QByteArray("new"));
    EXPECT_EQ(testsupport::permissionsOf(target), 0600u);

    const QString backup = path(QStringLiteral("out.~xlsx"));
    write(backup, "older");
    ASSERT_EQ(::chmod(QFile::encodeName(backup).constData(), 0644), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    {
        platform::SaveTemp temp(backup);
        write(temp.path(), "new");
        temp.commit(temp.path(), target);
    }
    EXPECT_EQ(testsupport::permissionsOf(backup), 0640u);

    const mode_t mask = ::umask(027);
    {
        platform::SaveTemp temp(path(QStringLiteral("fresh.xlsx")));
        temp.commit(temp.path());
    }
    ::umask(mask);
    EXPECT_EQ(testsupport::permissionsOf(path(QStringLiteral("fresh.xlsx"))), 0640u);
    EXPECT_EQ(entries(), QStringList({QStringLiteral("fresh.xlsx"), QStringLiteral("out.xlsx"),
                                      QStringLiteral("out.~xlsx")}));
}

TEST_F(SaveTemps, AnUncommittedFileGoesWithItsCompanionsAndACommittedCompanionStays) {
    const QString target = path(QStringLiteral("out.xlsx"));
    {
        platform::SaveTemp temp(target);
        EXPECT_TRUE(
            QFileInfo(temp.path())
                .fileName()
                .startsWith(QStringLiteral(".out.xlsx.krvsave-") + QString::number(::getpid())));
        write(temp.companion(QStringLiteral(".zip")), "unfinished");
    }
    EXPECT_TRUE(entries().isEmpty()) << entries().join(QLatin1Char(' ')).toStdString();
    {
        platform::SaveTemp temp(target);
        const QString archive = temp.companion(QStringLiteral(".zip"));
        write(archive, "workbook");
        temp.commit(archive);
    }
    EXPECT_EQ(entries(), QStringList({QStringLiteral("out.xlsx")}));
    EXPECT_EQ(read(target), QByteArray("workbook"));
}

TEST_F(SaveTemps, LeftoversOfKilledSavesGoAndTheFilesOfARunningSaveStay) {
    const QString target = path(QStringLiteral("out.xlsx"));
    // A save killed midway: its locked file and the archive a library wrote beside it, and a
    // companion whose locked file is gone already.
    write(leftover(4242, "0badc0de"), "");
    write(leftover(4242, "0badc0de", ".zip.Ab12Cd"), "part of a workbook");
    write(leftover(4343, "feedf00d", ".zip"), "part of a workbook");
    // A running save: the lock held here.
    const QString running = leftover(4444, "c0ffee00");
    write(running, "");
    write(leftover(4444, "c0ffee00", ".zip"), "being written");
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Names of the user's that only look alike.
    write(path(QStringLiteral(".out.xlsx.krvsave-notes")), "mine");
    write(path(QStringLiteral("out.xlsx.krvsave-1-0badc0de")), "mine");

    EXPECT_EQ(platform::removeStaleSaveTemps(target), 3);
    EXPECT_EQ(entries(), QStringList({QStringLiteral(".out.xlsx.krvsave-4444-c0ffee00"),
                                      QStringLiteral(".out.xlsx.krvsave-4444-c0ffee00.zip"),
                                      QStringLiteral(".out.xlsx.krvsave-notes"),
                                      QStringLiteral("out.xlsx.krvsave-1-0badc0de")}));
    ::close(held);
    { platform::SaveTemp next(target); } // a save removes them before it writes
    EXPECT_EQ(entries(), QStringList({QStringLiteral(".out.xlsx.krvsave-notes"),
                                      QStringLiteral("out.xlsx.krvsave-1-0badc0de")}));
}

TEST_F(SaveTemps, ASaveKilledWithSigkillLeavesFilesTheNextSaveRemoves) {
    const QString target = path(QStringLiteral("out.xlsx"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The writer: its temporary file and a companion, then it waits to be killed.
        platform::SaveTemp temp(target);
        QFile companion(temp.companion(QStringLiteral(".zip")));
        const bool made = companion.open(QIODevice::WriteOnly) && companion.write("part") == 4;
        companion.close();
        const char state = made ? '1' : '0';
        (void)!::write(ready[1], &state, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(state, '1');
    // While the writer runs, another save leaves its files alone.
    EXPECT_EQ(platform::removeStaleSaveTemps(target), 0);
    EXPECT_EQ(entries().size(), 2);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(entries().size(), 2); // nothing removed them
    { platform::SaveTemp next(target); }
    EXPECT_TRUE(entries().isEmpty()) << entries().join(QLatin1Char(' ')).toStdString();
}

} // namespace
