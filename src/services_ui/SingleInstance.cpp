#include "SingleInstance.h"

#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "services_ui/Startup.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace {

const QString kTitle = QStringLiteral("Ovik KRV Tessel");

QString framed(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

void showError(const QString& first, const QString& second) {
    platform::messageBox().show(platform::MessageBoxKind::Error, kTitle,
                                framed(platform::Format(first, {kTitle})) +
                                    QStringLiteral("\r\n\r\n") + framed(second));
}

std::unique_ptr<TSingleInstance>& programInstance() {
    static std::unique_ptr<TSingleInstance> instance;
    return instance;
}

} // namespace

TSingleInstance::TSingleInstance(TSettings settings) : Settings(std::move(settings)) {}

TSingleInstance::~TSingleInstance() {
    StopServer();
}

bool TSingleInstance::Ensure(const QStringList& paths) {
    if (Settings.LockPath.isEmpty() || Settings.ServerPath.isEmpty()) {
        // No folder of the user's own for the channel: this start runs on its own, as a second
        // window would, rather than share the lock or the socket with anyone else.
        return false;
    }
    Lock = std::make_unique<QLockFile>(Settings.LockPath);
    // An instance may run for weeks: only a lock whose process is gone counts as stale.
    Lock->setStaleLockTime(0);
    const QByteArray request = EncodeInstanceRequest(paths);
    const QDeadlineTimer patience(Settings.PatienceMs);
    for (;;) {
        if (Lock->tryLock(0)) {
            return false;
        }
        const bool lockHeld = Lock->error() == QLockFile::LockFailedError;
        qint32 reply = 0;
        switch (SendInstanceRequest(Settings.ServerPath, request, reply, Settings.ConnectMs,
                                    Settings.ReplyMs)) {
        case TInstanceSend::Replied:
            ActOnReply(reply);
            return true;
        case TInstanceSend::NoReply:
            // The request may have arrived; sending it again could open the files twice.
            TellNotAnswering();
            return true;
        case TInstanceSend::ForeignServer:
            // Another account listens in the user's place: nothing is handed to it, and this
            // start runs on its own.
            Lock.reset();
            return false;
        case TInstanceSend::NoServer:
            break;
        }
        if (!lockHeld) {
            // The lock cannot be made at all (no runtime folder): nobody can hold it, and nobody
            // answered, so this start is the only instance, without a hand-over socket.
            Lock.reset();
            return false;
        }
        if (patience.hasExpired()) {
            TellNotAnswering();
            return true;
        }
        QThread::msleep(static_cast<unsigned long>(Settings.RetryPauseMs));
    }
}

void TSingleInstance::ActOnReply(qint32 reply) {
    // On acceptance the running window brings itself to the front.
    if (reply == kInstanceReplyBusy) {
        showError(QStringLiteral("%s is already running, but is busy."),
                  QStringLiteral("Please try again later."));
    }
}

void TSingleInstance::TellNotAnswering() {
    showError(QStringLiteral("%s is already running, but does not answer."),
              QStringLiteral("Please try again later."));
}

bool TSingleInstance::StartServer(TInstanceRequestHandler handler) {
    if (!OwnsLock()) {
        return false;
    }
    StopServer();
    Server = std::make_unique<TInstanceServer>(std::move(handler));
    if (!Server->Listen(Settings.ServerPath)) {
        Server.reset();
        return false;
    }
    return true;
}

void TSingleInstance::StopServer() {
    Server.reset();
}

bool EnsureSingleInstance() {
    TSingleInstance::TSettings settings;
    settings.LockPath = InstanceLockPath();
    settings.ServerPath = InstanceServerPath();
    programInstance() = std::make_unique<TSingleInstance>(settings);
    return programInstance()->Ensure(CommandLineDataFiles());
}

bool StartInstanceServer(TInstanceRequestHandler handler) {
    return programInstance() != nullptr && programInstance()->StartServer(std::move(handler));
}

void StopInstanceServer() {
    if (programInstance() != nullptr) {
        programInstance()->StopServer();
    }
}
