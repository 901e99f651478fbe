#include "InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <exception>
#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kLockName =
    QStringLiteral("Ovik_KRV_Tessel_B7A2824E-0B35-4EF9-94C1-35798DA9C9BC.lock");
const QString kServerName = QStringLiteral("Ovik_KRV_Tessel_C3C02274-7389-49E4-B914-1B73E6F3E577");

// A sender that connects and then stalls is dropped after this long.
constexpr int kRequestPatienceMs = 5000;
// How long a sender lets its confirmation take to leave.
constexpr int kAckWriteMs = 1000;

// A folder itself (not a link), owned by this user and open to nobody else. Checked on the
// folder as it is now, after any creation: another account may have made it first.
bool IsPrivateFolder(const QString& path) {
    struct stat info {};
    return !path.isEmpty() && lstat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 0777) == 0700;
}

QString InRuntimeFolder(const QString& name) {
    const QString folder = InstanceRuntimeFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

} // namespace

QString InstanceRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (IsPrivateFolder(runtime)) {
        return runtime;
    }
    // The temporary folder is shared: the user's folder there may already exist, made by anyone.
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("ovik-krv-tessel-%1").arg(geteuid()));
    mkdir(QFile::encodeName(own).constData(), 0700);
    return IsPrivateFolder(own) ? own : QString();
}

QString InstanceLockPath() {
    return InRuntimeFolder(kLockName);
}

QString InstanceServerPath() {
    return InRuntimeFolder(kServerName);
}

bool PeerIsThisUser(qintptr socketDescriptor) {
    ucred peer{};
    socklen_t size = sizeof(peer);
    return socketDescriptor >= 0 &&
           getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) ==
               0 &&
           size == sizeof(peer) && peer.uid == geteuid();
}

TInstanceServer::TInstanceServer(TInstanceRequestHandler handler, QObject* parent)
    : QObject(parent), Handler(std::move(handler)) {
    Server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&Server, &QLocalServer::newConnection, this, &TInstanceServer::AcceptConnections);
}

TInstanceServer::~TInstanceServer() {
    Server.close();
}

bool TInstanceServer::Listen(const QString& path) {
    QLocalServer::removeServer(path);
    return Server.listen(path);
}

void TInstanceServer::AcceptConnections() {
    while (QLocalSocket* socket = Server.nextPendingConnection()) {
        socket->setParent(this);
        if (!PeerIsThisUser(socket->socketDescriptor())) {
            // Only the user's own later starts may hand files over.
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kRequestPatienceMs, socket, [socket] { socket->abort(); });
        auto read = [this, socket, received] {
            received->append(socket->readAll());
            TInstanceRequest request;
            int consumed = 0;
            switch (DecodeInstanceRequest(*received, request, consumed)) {
            case TInstanceFrame::Incomplete:
                return;
            case TInstanceFrame::Invalid:
                socket->write(EncodeInstanceReply(kInstanceReplyBusy));
                socket->disconnectFromServer();
                return;
            case TInstanceFrame::Complete:
                break;
            }
            disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
            Answer(socket, request);
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        if (socket->bytesAvailable() > 0) {
            read();
        }
    }
}

void TInstanceServer::Answer(QLocalSocket* socket, const TInstanceRequest& request) {
    if (socket->state() != QLocalSocket::ConnectedState) {
        // The sender gave up before this instance got to its request.
        return;
    }
    TInstanceAnswer answer;
    try {
        answer = Handler ? Handler(request) : TInstanceAnswer{};
    } catch (...) {
        // A failing receiver must not end the program from inside the event loop; the sender
        // hears busy and tells its user.
        answer = TInstanceAnswer{};
    }
    socket->write(EncodeInstanceReply(answer.Reply));
    socket->flush();
    if (!answer.AfterReply && !answer.Abandoned) {
        socket->disconnectFromServer();
        return;
    }
    AwaitConfirmation(socket, std::move(answer));
}

void TInstanceServer::AwaitConfirmation(QLocalSocket* socket, TInstanceAnswer answer) {
    struct TPending {
        TInstanceAnswer Answer;
        QByteArray Received;
        bool Settled = false;
    };
    auto pending = std::make_shared<TPending>();
    pending->Answer = std::move(answer);
    const auto settle = [this, socket, pending](bool confirmed) {
        if (pending->Settled) {
            return;
        }
        pending->Settled = true;
        disconnect(socket, nullptr, this, nullptr);
        std::function<void()> work = confirmed ? std::move(pending->Answer.AfterReply)
                                               : std::move(pending->Answer.Abandoned);
        if (socket->state() == QLocalSocket::ConnectedState) {
            socket->disconnectFromServer();
        }
        if (work) {
            QTimer::singleShot(0, this, [work = std::move(work)] {
                try {
                    work();
                } catch (...) {
                    // The work reports its own failures; nothing may cross the event loop.
                }
            });
        }
    };
    const auto readConfirmation = [socket, pending, settle] {
        pending->Received.append(socket->readAll());
        if (IsInstanceAck(pending->Received)) {
            settle(true);
        }
    };
    connect(socket, &QLocalSocket::readyRead, this, readConfirmation);
    // The bytes that came with the end of the connection still count.
    connect(socket, &QLocalSocket::disconnected, this, [readConfirmation, settle] {
        readConfirmation();
        settle(false);
    });
    // A sender that neither confirms nor goes away is given up after the request's patience.
    QTimer::singleShot(kRequestPatienceMs, this, [socket = QPointer<QLocalSocket>(socket), settle] {
        if (socket != nullptr) {
            settle(false);
            socket->abort();
        }
    });
    if (socket->bytesAvailable() > 0) {
        readConfirmation();
    } else if (socket->state() != QLocalSocket::ConnectedState) {
        settle(false);
    }
}

TInstanceSend SendInstanceRequest(const QString& serverPath, const QByteArray& request,
                                  qint32& reply, int connectMs, int replyMs) {
    QLocalSocket socket;
    socket.connectToServer(serverPath);
    if (!socket.waitForConnected(connectMs)) {
        return TInstanceSend::NoServer;
    }
    if (!PeerIsThisUser(socket.socketDescriptor())) {
        // The paths are the user's; another account's server hears nothing of them.
        socket.abort();
        return TInstanceSend::ForeignServer;
    }
    const QDeadlineTimer deadline(replyMs);
    socket.write(request);
    QByteArray received;
    const auto replied = [&] {
        while (!DecodeInstanceReply(received, reply)) {
            if (socket.bytesToWrite() > 0) {
                socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()));
            }
            if (socket.bytesAvailable() == 0 &&
                !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
                received.append(socket.readAll());
                return DecodeInstanceReply(received, reply);
            }
            received.append(socket.read(kInstanceReplySize - received.size()));
            if (deadline.hasExpired() && !DecodeInstanceReply(received, reply)) {
                return false;
            }
        }
        return true;
    };
    if (!replied()) {
        // Closed unconfirmed: the running instance carries out nothing of the request.
        socket.abort();
        return TInstanceSend::NoReply;
    }
    // Only a confirmed reply is carried out by the running instance.
    socket.write(EncodeInstanceAck());
    socket.waitForBytesWritten(kAckWriteMs);
    socket.disconnectFromServer();
    return TInstanceSend::Replied;
}
