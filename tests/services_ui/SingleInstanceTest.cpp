#include "services_ui/SingleInstance.h"
#include "support/Eventually.h"
#include "support/FakeMessageBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using testsupport::messageBoxes;

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
    TSingleInstance first(settingsIn(dir, 2000));
    ASSERT_FALSE(first.Ensure({}));
    int calls = 0;
    ASSERT_TRUE(first.StartServer([&](const TInstanceRequest&) {
        ++calls;
        return TInstanceAnswer{kInstanceReplyAccepted, {}, {}};
    }));
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

} // namespace
