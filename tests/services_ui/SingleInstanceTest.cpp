#include "services_ui/SingleInstance.h"
#include "support/Eventually.h"
#include "support/FakeMessageBox.h"
#include "support/TempRegistry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::messageBoxes;
using testsupport::ScopedEnv;

const QString kLockName =
    QStringLiteral("Ovik_KRV_Tessel_B7A2824E-0B35-4EF9-94C1-35798DA9C9BC.lock");
const QString kServerName = QStringLiteral("Ovik_KRV_Tessel_C3C02274-7389-49E4-B914-1B73E6F3E577");

TSingleInstance::TSettings settingsIn(const QTemporaryDir& dir, int patienceMs) {
    TSingleInstance::TSettings settings;
    settings.LockPath = dir.filePath(QStringLiteral("instance.lock"));
    settings.ServerPath = dir.filePath(QStringLiteral("instance.sock"));
    settings.PatienceMs = patienceMs;
    settings.RetryPauseMs = 20;
    return settings;
}

// Runs work on another thread (a later start blocks while it waits for the reply) and keeps this
// thread's event loop going so that the server can answer; bounded.
template <typename Work> void whileServing(Work work) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        work();
        done = true;
    });
    const QDeadlineTimer limit(20000);
    while (!done && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    thread.join();
}

// A first instance in the folder that accepts every request and counts those reaching its
// receiver; nullptr when it cannot listen.
std::unique_ptr<TSingleInstance> CountingFirstInstance(const QTemporaryDir& dir, int& calls) {
    auto first = std::make_unique<TSingleInstance>(settingsIn(dir, 2000));
    const bool listening =
        !first->Ensure({}) && first->StartServer([&calls](const TInstanceRequest&) {
            ++calls;
            return TInstanceAnswer{kInstanceReplyAccepted, {}, {}};
        });
    return listening ? std::move(first) : nullptr;
}

TEST(SingleInstance, FirstStartHoldsTheLockALaterOneWithoutAnswerTellsTheUser) {
    QTemporaryDir dir;
    TSingleInstance first(settingsIn(dir, 200));
    EXPECT_FALSE(first.Ensure({}));
    EXPECT_TRUE(first.OwnsLock());

    // The first instance is still starting up: nobody listens. The later start tries for its
    // patience, then tells the user instead of ending silently or starting a second instance.
    TSingleInstance second(settingsIn(dir, 200));
    EXPECT_TRUE(second.Ensure({QStringLiteral("/a.krvc")}));
    EXPECT_FALSE(second.OwnsLock());
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(messageBoxes().shown[0].kind, platform::MessageBoxKind::Error);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(
        QStringLiteral("Ovik KRV Tessel is already running, but does not answer.")));
}

// Without a usable runtime folder no lock can be made, so none can be held either: the start runs
// as the only instance instead of never starting.
TEST(SingleInstance, StartWithoutAPossibleLockRunsAsTheOnlyInstance) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TSingleInstance::TSettings settings = settingsIn(dir, 2000);
    settings.LockPath = dir.filePath(QStringLiteral("not-a-folder/instance.lock"));
    TSingleInstance only(settings);
    EXPECT_FALSE(only.Ensure({QStringLiteral("/a.krvc")}));
    EXPECT_FALSE(only.OwnsLock());
    EXPECT_TRUE(messageBoxes().shown.empty());
}

TEST(SingleInstance, LaterStartHandsItsPathsOverAndActsOnTheReply) {
    QTemporaryDir dir;
    TSingleInstance first(settingsIn(dir, 2000));
    ASSERT_FALSE(first.Ensure({}));
    QStringList received;
    qint32 nextReply = kInstanceReplyAccepted;
    ASSERT_TRUE(first.StartServer([&](const TInstanceRequest& request) {
        received = request.Paths;
        return TInstanceAnswer{nextReply, {}, {}};
    }));

    bool ended = false;
    whileServing([&] {
        TSingleInstance second(settingsIn(dir, 2000));
        ended = second.Ensure({QStringLiteral("/x/one.krvc"), QStringLiteral("/y/two.krvc")});
    });
    EXPECT_TRUE(ended);
    EXPECT_EQ(received,
              QStringList({QStringLiteral("/x/one.krvc"), QStringLiteral("/y/two.krvc")}));
    EXPECT_TRUE(messageBoxes().shown.empty());

    nextReply = kInstanceReplyBusy;
    whileServing([&] {
        TSingleInstance third(settingsIn(dir, 2000));
        ended = third.Ensure({});
    });
    EXPECT_TRUE(ended);
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_EQ(messageBoxes().shown[0].text,
              QStringLiteral(" Ovik KRV Tessel is already running, but is busy. \r\n\r\n"
                             " Please try again later. "));

    nextReply = 0; // a request nobody handled: no message
    whileServing([&] {
        TSingleInstance fourth(settingsIn(dir, 2000));
        ended = fourth.Ensure({});
    });
    EXPECT_TRUE(ended);
    EXPECT_EQ(messageBoxes().shown.size(), 1u);
}

TEST(SingleInstance, WorkAfterTheReplyRunsOnlyOnceTheReplyIsSent) {
    QTemporaryDir dir;
    TSingleInstance first(settingsIn(dir, 2000));
    ASSERT_FALSE(first.Ensure({}));
    std::atomic<bool> replied{false};
    bool repliedBeforeWork = false;
    bool workRan = false;
    ASSERT_TRUE(first.StartServer([&](const TInstanceRequest&) {
        // The work stands for a modal dialogue: the sender must have its reply while it runs.
        return TInstanceAnswer{kInstanceReplyAccepted,
                               [&] {
                                   workRan = true;
                                   const QDeadlineTimer limit(5000);
                                   while (!replied && !limit.hasExpired()) {
                                       QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                                   }
                                   repliedBeforeWork = replied;
                               },
                               {}};
    }));
    whileServing([&] {
        qint32 reply = 0;
        SendInstanceRequest(dir.filePath(QStringLiteral("instance.sock")),
                            EncodeInstanceRequest({QStringLiteral("/p")}), reply, 1000, 5000);
        replied = reply == kInstanceReplyAccepted;
    });
    const QDeadlineTimer limit(5000);
    while (!workRan && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(workRan);
    EXPECT_TRUE(repliedBeforeWork);
}

// A running instance that does not answer in time (stopped, or too busy to read its socket): the
// later start tells its user and gives up. When the running instance gets to the request later,
// it must not carry it out, or a retry would open the file twice; the answer's preparations are
// undone instead, so that the retry is welcome.
TEST(SingleInstance, RequestWhoseSenderGaveUpIsNeverCarriedOut) {
    QTemporaryDir dir;
    TSingleInstance first(settingsIn(dir, 2000));
    ASSERT_FALSE(first.Ensure({}));
    QStringList answered;
    int opened = 0;
    int abandoned = 0;
    ASSERT_TRUE(first.StartServer([&](const TInstanceRequest& request) {
        answered << request.Paths;
        return TInstanceAnswer{kInstanceReplyAccepted, [&] { ++opened; }, [&] { ++abandoned; }};
    }));

    // The first instance's event loop does not run while the second waits: it is stopped.
    TSingleInstance::TSettings impatient = settingsIn(dir, 2000);
    impatient.ReplyMs = 300;
    bool ended = false;
    std::thread second(
        [&] { ended = TSingleInstance(impatient).Ensure({QStringLiteral("/a.krvc")}); });
    second.join();
    EXPECT_TRUE(ended);
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(QStringLiteral("does not answer")));

    // Resumed: it reads the stale request, but its sender is gone; an answer already prepared
    // is undone. The retry the user was advised to make comes after it and is carried out, once.
    // (Waiting for the retry, not for a time: the stale request is read before it.)
    whileServing(
        [&] { TSingleInstance(settingsIn(dir, 2000)).Ensure({QStringLiteral("/a.krvc")}); });
    const auto retryCarriedOutStaleUndone = [&] {
        return opened >= 1 && abandoned == answered.size() - 1;
    };
    EXPECT_TRUE(testsupport::Eventually(retryCarriedOutStaleUndone, 20000))
        << opened << " opened, " << abandoned << " undone of " << answered.size() << " answered";
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(messageBoxes().shown.size(), 1u);
}

// Hostile or broken senders never reach the receiver: too large an announcement is answered busy.
TEST(SingleInstance, OversizedRequestIsAnsweredBusyWithoutReachingTheReceiver) {
    QTemporaryDir dir;
    int calls = 0;
    const auto first = CountingFirstInstance(dir, calls);
    ASSERT_NE(first, nullptr);
    qint32 reply = 0;
    TInstanceSend outcome = TInstanceSend::NoServer;
    whileServing([&] {
        outcome = SendInstanceRequest(dir.filePath(QStringLiteral("instance.sock")),
                                      QByteArray("\x43\x56\x52\x4B\x00\x00\x00\x7F", 8), reply,
                                      1000, 5000);
    });
    EXPECT_EQ(outcome, TInstanceSend::Replied);
    EXPECT_EQ(reply, kInstanceReplyBusy);
    EXPECT_EQ(calls, 0);
}

// The channel's folder: the runtime folder when it is the user's own and private, else the
// user's own folder under the temporary folder, which stands in a folder every account can write.
class InstanceFolder : public testing::Test {
protected:
    QString fallback() const {
        return temp.filePath(QStringLiteral("ovik-krv-tessel-%1").arg(geteuid()));
    }
    static mode_t modeOf(const QString& path) {
        struct stat info {};
        return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    static uid_t ownerOf(const QString& path) {
        struct stat info {};
        return lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_uid : 0;
    }

    QTemporaryDir temp;
    ScopedEnv tmpdir{"TMPDIR", temp.path()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", QString()};
};

TEST_F(InstanceFolder, ThePrivateRuntimeFolderOrAFolderMadePrivateHoldsTheChannel) {
    QTemporaryDir own;
    ASSERT_EQ(modeOf(own.path()), 0700u);
    {
        ScopedEnv set("XDG_RUNTIME_DIR", own.path());
        EXPECT_EQ(InstanceRuntimeFolder(), own.path());
        EXPECT_EQ(InstanceServerPath(), QDir(own.path()).filePath(kServerName));
        EXPECT_EQ(InstanceLockPath(), QDir(own.path()).filePath(kLockName));
        EXPECT_FALSE(QFileInfo::exists(fallback()));
    }
    // A runtime folder open to others is passed over, as is none at all.
    QTemporaryDir open;
    ASSERT_EQ(chmod(QFile::encodeName(open.path()).constData(), 0755), 0);
    for (const QString& candidate : {open.path(), QString()}) {
        ScopedEnv set("XDG_RUNTIME_DIR", candidate);
        EXPECT_EQ(InstanceRuntimeFolder(), fallback()) << candidate.toStdString();
        EXPECT_EQ(modeOf(fallback()), 0700u);
        EXPECT_EQ(ownerOf(fallback()), geteuid());
        EXPECT_EQ(InstanceServerPath(), QDir(fallback()).filePath(kServerName));
    }
}

// Another local account made the user's folder first, with a lock and a listening socket of the
// program's names, to be handed the user's data file paths. Such a folder is never used: the
// start runs on its own, quietly, and nothing reaches the squatter.
void ExpectSquatIgnored(const QString& squat, const QString& socketFolder) {
    QLocalServer squatter;
    squatter.setSocketOptions(QLocalServer::WorldAccessOption);
    ASSERT_TRUE(squatter.listen(QDir(socketFolder).filePath(kServerName)));
    QLockFile lock(QDir(socketFolder).filePath(kLockName));
    ASSERT_TRUE(lock.tryLock(0));

    EXPECT_EQ(InstanceRuntimeFolder(), QString());
    EXPECT_EQ(InstanceLockPath(), QString());
    EXPECT_EQ(InstanceServerPath(), QString());
    EXPECT_FALSE(EnsureSingleInstance()) << "the start did not run on its own";
    EXPECT_FALSE(squatter.waitForNewConnection(0)) << "the start connected to the squatter";
    EXPECT_TRUE(messageBoxes().shown.empty());
    EXPECT_FALSE(StartInstanceServer([](const TInstanceRequest&) { return TInstanceAnswer{}; }));
    StopInstanceServer();
    EXPECT_TRUE(QFileInfo::exists(squat));
}

TEST_F(InstanceFolder, AFolderOpenToOthersOrALinkIsNeverUsed) {
    QTemporaryDir elsewhere; // the user's own private folder, linked to
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
    } squats[] = {
        {"open to all",
         [](const QString& path) {
             ASSERT_TRUE(QDir().mkdir(path));
             ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0777), 0);
         }},
        {"readable by all",
         [](const QString& path) {
             ASSERT_TRUE(QDir().mkdir(path));
             ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0755), 0);
         }},
        {"a link", [&](const QString& path) { ASSERT_TRUE(QFile::link(elsewhere.path(), path)); }},
    };
    for (const auto& squat : squats) {
        SCOPED_TRACE(squat.name);
        squat.make(fallback());
        ExpectSquatIgnored(fallback(), fallback());
        QFileInfo(fallback()).isSymLink() ? QFile::remove(fallback())
                                          : QDir(fallback()).removeRecursively();
    }
}

// The uid and gid of the account "nobody", which the tests below act as.
const passwd* Nobody() {
    return getpwnam("nobody");
}

TEST_F(InstanceFolder, AFolderOfAnotherAccountIsNeverUsed) {
    if (geteuid() != 0 || Nobody() == nullptr) {
        GTEST_SKIP() << "giving a folder to another account needs root and the account nobody";
    }
    ASSERT_TRUE(QDir().mkdir(fallback()));
    ASSERT_EQ(chmod(QFile::encodeName(fallback()).constData(), 0700), 0);
    ASSERT_EQ(chown(QFile::encodeName(fallback()).constData(), Nobody()->pw_uid, Nobody()->pw_gid),
              0);
    ExpectSquatIgnored(fallback(), fallback());
    EXPECT_EQ(ownerOf(fallback()), Nobody()->pw_uid);
}

// Starts work in a child process as the account nobody; the child makes only system calls.
pid_t StartAsNobody(const std::function<int()>& work) {
    const uid_t uid = Nobody()->pw_uid;
    const gid_t gid = Nobody()->pw_gid;
    const pid_t child = fork();
    if (child == 0) {
        _exit(setgid(gid) == 0 && setuid(uid) == 0 ? work() : 100);
    }
    return child;
}

// The child's exit code, or -1 when it did not end in time. The event loop runs meanwhile, so
// that a server of this process can answer.
int ExitCodeOf(pid_t child) {
    const QDeadlineTimer limit(20000);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (limit.hasExpired()) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

sockaddr_un AddressOf(const QByteArray& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    return address;
}

// A local socket whose reads and accepts give up after 20 seconds.
int PatientSocket() {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    timeval patience{20, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof(patience));
    return fd;
}

// A folder that every account can reach, for a socket shared with the account nobody.
class SharedFolder : public testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0 || Nobody() == nullptr) {
            GTEST_SKIP() << "acting as another account needs root and the account nobody";
        }
        ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    }
    QTemporaryDir dir;
};

// A connection from another account is dropped unread: its paths never reach the receiver.
TEST_F(SharedFolder, TheReceiverDropsAConnectionOfAnotherAccount) {
    int calls = 0;
    const auto first = CountingFirstInstance(dir, calls);
    ASSERT_NE(first, nullptr);
    const QByteArray socketPath = QFile::encodeName(dir.filePath(QStringLiteral("instance.sock")));
    ASSERT_EQ(chmod(socketPath.constData(), 0777), 0);
    const QByteArray request = EncodeInstanceRequest({QStringLiteral("/x/one.krvc")});
    const sockaddr_un address = AddressOf(socketPath);
    // Exit code: 0 when the connection ended without a reply, 1 with one, 2 not connected.
    const int outcome = ExitCodeOf(StartAsNobody([&] {
        const int fd = PatientSocket();
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
            return 2;
        }
        if (send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL) < 0) {
            return 0;
        }
        char reply[16];
        return read(fd, reply, sizeof(reply)) > 0 ? 1 : 0;
    }));
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(calls, 0);
}

// A server of another account where the user's first instance should listen hears nothing: the
// later start runs on its own instead of handing its paths over.
TEST_F(SharedFolder, TheSenderHandsNothingToAServerOfAnotherAccount) {
    const TSingleInstance::TSettings settings = settingsIn(dir, 2000);
    QLockFile held(settings.LockPath);
    ASSERT_TRUE(held.tryLock(0));
    const sockaddr_un address = AddressOf(QFile::encodeName(settings.ServerPath));
    const QByteArray accepted = EncodeInstanceReply(kInstanceReplyAccepted);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    // Exit code: 0 when the sender went without a byte, 1 when it sent something, 2 no server.
    const pid_t squatter = StartAsNobody([&] {
        const int fd = PatientSocket();
        if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(fd, 4) != 0) {
            return 2;
        }
        (void)!write(ready[1], "r", 1);
        const int peer = accept(fd, nullptr, nullptr);
        if (peer < 0) {
            return 2;
        }
        (void)!send(peer, accepted.constData(), static_cast<size_t>(accepted.size()), MSG_NOSIGNAL);
        char request[64];
        return read(peer, request, sizeof(request)) > 0 ? 1 : 0;
    });
    close(ready[1]);
    char byte = 0;
    const bool listening = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    const bool ended =
        listening && TSingleInstance(settings).Ensure({QStringLiteral("/x/one.krvc")});
    EXPECT_EQ(ExitCodeOf(squatter), 0);
    ASSERT_TRUE(listening);
    EXPECT_FALSE(ended) << "the start did not run on its own";
    EXPECT_TRUE(messageBoxes().shown.empty());
}

} // namespace
