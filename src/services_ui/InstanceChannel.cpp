#include "InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <exception>
#include <memory>

namespace {

const QString kLockName =
    QStringLiteral("Ovik_KRV_Tessel_B7A2824E-0B35-4EF9-94C1-35798DA9C9BC.lock");
const QString kServerName = QStringLiteral("Ovik_KRV_Tessel_C3C02274-7389-49E4-B914-1B73E6F3E577");

// A sender that connects and then stalls is dropped after this long.
constexpr int kRequestPatienceMs = 5000;
// How long a sender lets its confirmation take to leave.
constexpr int kAckWriteMs = 1000;

} // namespace

QString InstanceRuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return folder;
}

QString InstanceLockPath() {
    return QDir(InstanceRuntimeFolder()).filePath(kLockName);
}

QString InstanceServerPath() {
    return QDir(InstanceRuntimeFolder()).filePath(kServerName);
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
