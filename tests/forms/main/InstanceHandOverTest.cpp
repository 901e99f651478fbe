// The single-instance hand-over between two real processes of the program, headless: each test
// has its own registry folder and runtime folder, so its instances meet only each other.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QString kServerName = QStringLiteral("Ovik_KRV_Tessel_C3C02274-7389-49E4-B914-1B73E6F3E577");
const QString kLockName =
    QStringLiteral("Ovik_KRV_Tessel_B7A2824E-0B35-4EF9-94C1-35798DA9C9BC.lock");

class InstanceHandOver : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(registry.isValid());
        ASSERT_TRUE(runtime.isValid());
    }

    QProcessEnvironment environment(int autoCloseMs) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("OVIK_KRV_TESSEL_REGISTRY"), registry.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("OVIK_KRV_TESSEL_AUTOCLOSE_MS"), QString::number(autoCloseMs));
        return env;
    }

    void start(QProcess& program, const QStringList& arguments, int autoCloseMs) const {
        program.setProcessEnvironment(environment(autoCloseMs));
        program.start(QStringLiteral(KRV_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForStarted(10000));
    }

    // A copy of the test data file in the folder, the user's to write.
    static QString dataFileIn(const QTemporaryDir& folder, const char* name) {
        const QString path = folder.filePath(QString::fromLatin1(name));
        if (QFile::copy(QStringLiteral(KRV_FORMS_TEST_DATA "/handed_over.krvc"), path)) {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        }
        return path;
    }

    QByteArray userHive() const {
        QFile file(QDir(registry.path()).filePath(QStringLiteral("user.reg")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Bounded wait for a condition the first instance makes true.
    template <typename Condition> static bool eventually(Condition condition) {
        const QDeadlineTimer limit(30000);
        while (!condition()) {
            if (limit.hasExpired()) {
                return false;
            }
            QThread::msleep(50);
        }
        return true;
    }

    static void end(QProcess& program) {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(10000);
        }
    }

    QTemporaryDir registry;
    QTemporaryDir runtime;
};

// The second start comes while the first is still starting up: it keeps trying until the first
// listens, hands its file over and ends; the first opens the file (it enters the recent files).
TEST_F(InstanceHandOver, SecondStartsFileOpensInTheFirstAndTheSecondEnds) {
    QTemporaryDir work;
    const QString dataFile = work.filePath(QStringLiteral("handed over.krvc"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KRV_FORMS_TEST_DATA "/handed_over.krvc"), dataFile));

    QProcess first;
    start(first, {}, 60000);
    // The lock is the first thing an instance makes; once it exists the first start is the
    // running instance, though it does not listen before its start-up has finished.
    const QDir folder(runtime.path());
    ASSERT_TRUE(eventually([&] { return folder.exists(kLockName); }));
    QProcess second;
    start(second, {dataFile}, 100);
    ASSERT_TRUE(second.waitForFinished(30000)) << "the second start did not end";
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    EXPECT_TRUE(eventually([&] { return userHive().contains(dataFile.toUtf8()); }))
        << "the first instance did not open the handed-over file\n"
        << userHive().toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);
    end(first);
}

// A first start names its data file after an empty argument, relative to the folder it starts in:
// the file opens (the empty argument names nothing) and is remembered by its absolute path.
TEST_F(InstanceHandOver, FirstStartLeavesOutEmptyArgumentsAndStoresAbsolutePaths) {
    QTemporaryDir work;
    const QString dataFile = dataFileIn(work, "plan.krvc");
    ASSERT_TRUE(QFile::exists(dataFile));

    QProcess program;
    program.setWorkingDirectory(work.path());
    start(program, {QString(), QStringLiteral("plan.krvc")}, 60000);
    const QByteArray remembered = QByteArray("=\"") + dataFile.toUtf8() + "\"";
    EXPECT_TRUE(eventually([&] { return userHive().contains(remembered); }))
        << "the file did not open, or not by its absolute path\n"
        << userHive().toStdString();
    end(program);
}

// The first instance does not answer (it is stopped): the second start tells its user so and
// ends. Once the first resumes it must not carry out that request, or the retry the user was
// advised to make would open the file a second time.
TEST_F(InstanceHandOver, RequestOfAStartThatGaveUpIsNotCarriedOutWhenTheFirstResumes) {
    QTemporaryDir work;
    const QString dataFile = dataFileIn(work, "retry.krvc");
    ASSERT_TRUE(QFile::exists(dataFile));

    QProcess first;
    start(first, {}, 120000);
    const QDir folder(runtime.path());
    ASSERT_TRUE(eventually([&] { return folder.exists(kServerName); }))
        << "the first instance never listened";
    QThread::msleep(500);
    ASSERT_EQ(::kill(pid_t(first.processId()), SIGSTOP), 0);

    QProcess second;
    start(second, {dataFile}, 100);
    // The second waits five seconds for a reply, then shows its notice (a message box nobody
    // closes here).
    EXPECT_FALSE(second.waitForFinished(8000)) << "the second start ended without its notice";
    end(second);

    ASSERT_EQ(::kill(pid_t(first.processId()), SIGCONT), 0);
    QThread::msleep(3000);
    EXPECT_FALSE(userHive().contains(dataFile.toUtf8()))
        << "the request of the start that gave up was carried out";

    // The user retries as advised. On a loaded machine the first may still be settling the
    // request it dropped and answer busy; the user closes that notice and tries once more.
    bool retried = false;
    for (int attempt = 0; attempt < 3 && !retried; ++attempt) {
        QProcess retry;
        start(retry, {dataFile}, 100);
        retried = retry.waitForFinished(20000);
        end(retry);
    }
    ASSERT_TRUE(retried) << "no retry ended";
    EXPECT_TRUE(eventually([&] { return userHive().contains(dataFile.toUtf8()); }))
        << "the retry did not open the file";
    EXPECT_EQ(first.state(), QProcess::Running);
    end(first);
}

// A first instance killed outright leaves its lock and socket behind; the next start takes over
// as the only instance and runs its whole start-up.
TEST_F(InstanceHandOver, StaleLockOfAKilledInstanceDoesNotStopTheNextStart) {
    QProcess first;
    start(first, {}, 60000);
    const QDir folder(runtime.path());
    ASSERT_TRUE(eventually([&] { return folder.exists(kServerName); }))
        << "the first instance never listened";
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(folder.exists(kLockName));
    QFile::remove(QDir(registry.path()).filePath(QStringLiteral("user.reg")));

    QProcess next;
    start(next, {}, 100);
    ASSERT_TRUE(next.waitForFinished(30000)) << "the next start did not end";
    EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
    EXPECT_FALSE(userHive().isEmpty()) << "the next start did not run its start-up";
    end(next);
}

// Without a runtime folder the channel lives in the user's folder under the shared temporary
// folder. Another local account made that folder first, open to all, with a lock and a listening
// socket of the program's names, and put the same in the temporary folder itself (and, when the
// test may, took the folder where the platform puts a runtime folder it makes up): the start hands
// nothing over to any of them and does not wait on them, but opens its file itself.
TEST_F(InstanceHandOver, ASquattedChannelFolderIsNotUsedAndTheStartOpensItsFileItself) {
    QTemporaryDir temp;
    QTemporaryDir work;
    const QString dataFile = dataFileIn(work, "own.krvc");
    ASSERT_TRUE(QFile::exists(dataFile));
    const QString squat = temp.filePath(QStringLiteral("ovik-krv-tessel-%1").arg(geteuid()));
    ASSERT_TRUE(QDir().mkdir(squat));
    ASSERT_EQ(chmod(QFile::encodeName(squat).constData(), 0777), 0);
    if (const passwd* user = getpwuid(geteuid()), *nobody = getpwnam("nobody");
        geteuid() == 0 && user != nullptr && nobody != nullptr) {
        const QString made =
            temp.filePath(QStringLiteral("runtime-%1").arg(QString::fromLocal8Bit(user->pw_name)));
        ASSERT_TRUE(QDir().mkdir(made));
        ASSERT_EQ(chown(QFile::encodeName(made).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    std::vector<std::unique_ptr<QLocalServer>> squatters;
    std::vector<std::unique_ptr<QLockFile>> locks;
    for (const QString& folder : {squat, temp.path()}) {
        squatters.push_back(std::make_unique<QLocalServer>());
        squatters.back()->setSocketOptions(QLocalServer::WorldAccessOption);
        ASSERT_TRUE(squatters.back()->listen(QDir(folder).filePath(kServerName)));
        locks.push_back(std::make_unique<QLockFile>(QDir(folder).filePath(kLockName)));
        ASSERT_TRUE(locks.back()->tryLock(0));
    }

    QProcess program;
    QProcessEnvironment env = environment(60000);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KRV_PROGRAM), {dataFile});
    ASSERT_TRUE(program.waitForStarted(10000));
    EXPECT_TRUE(eventually([&] { return userHive().contains(dataFile.toUtf8()); }))
        << "the start did not open its file itself\n"
        << userHive().toStdString();
    EXPECT_EQ(program.state(), QProcess::Running);
    for (const auto& squatter : squatters) {
        EXPECT_FALSE(squatter->waitForNewConnection(0))
            << "the start connected to " << squatter->fullServerName().toStdString();
    }
    end(program);
}

} // namespace
