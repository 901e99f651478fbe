#pragma once

#include "InstancePayload.h"

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

// The running instance's answer to a hand-over: the reply sent at once, and the work (opening the
// handed-over files) that runs only after the reply has gone out, so that the second start never
// waits on the first one's dialogues.
struct TInstanceAnswer {
    qint32 Reply = kInstanceReplyBusy;
    std::function<void()> AfterReply;
};

using TInstanceRequestHandler = std::function<TInstanceAnswer(const TInstanceRequest&)>;

// The folder of the instance lock and the hand-over socket: the user's runtime folder
// (XDG_RUNTIME_DIR), so that each user and each isolated test run has its own instance.
QString InstanceRuntimeFolder();
QString InstanceLockPath();
QString InstanceServerPath();

// Listens on the hand-over socket of the running instance and answers each request through the
// handler; a request that is malformed, too large or not complete in time is answered busy (or
// dropped) without reaching the handler.
class TInstanceServer : public QObject {
public:
    explicit TInstanceServer(TInstanceRequestHandler handler, QObject* parent = nullptr);
    ~TInstanceServer() override;

    // Removes a socket left by an instance that died (the caller holds the instance lock) and
    // listens; false when the socket cannot be made.
    bool Listen(const QString& path);
    QString errorString() const { return Server.errorString(); }

private:
    void AcceptConnections();
    void Answer(class QLocalSocket* socket, const TInstanceRequest& request);

    QLocalServer Server;
    TInstanceRequestHandler Handler;
};

enum class TInstanceSend {
    NoServer, // nobody listens (yet)
    NoReply,  // connected, but no reply arrived in time
    Replied
};

// Sends one request and waits, bounded, for the reply.
TInstanceSend SendInstanceRequest(const QString& serverPath, const QByteArray& request,
                                  qint32& reply, int connectMs, int replyMs);
