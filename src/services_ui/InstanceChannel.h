#pragma once

#include "services/InstancePayload.h"

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

// The running instance's answer to a hand-over: the reply sent at once, and the work (opening the
// handed-over files) that runs only after the sender has confirmed the reply, so that the second
// start never waits on the first one's dialogues and a sender that gave up waiting (and told its
// user that nothing happened) leaves nothing to be done. Abandoned runs in place of the work
// when the sender is gone without confirming: it undoes what the answer prepared.
struct TInstanceAnswer {
    qint32 Reply = kInstanceReplyBusy;
    std::function<void()> AfterReply;
    std::function<void()> Abandoned;
};

using TInstanceRequestHandler = std::function<TInstanceAnswer(const TInstanceRequest&)>;

// The folder of the instance lock and the hand-over socket: the user's runtime folder
// (XDG_RUNTIME_DIR), so that each user and each isolated test run has its own instance.
QString InstanceRuntimeFolder();
QString InstanceLockPath();
QString InstanceServerPath();

// Listens on the hand-over socket of the running instance and answers each request through the
// handler; a request that is malformed, too large or not complete in time is answered busy (or
// dropped) without reaching the handler, and one whose sender is gone before it is answered is
// dropped. The work of an answer runs once its sender confirms the reply.
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
    // Waits for the sender's confirmation of the reply, then runs the answer's work, or its
    // Abandoned step when the sender goes (or stalls) without confirming.
    void AwaitConfirmation(class QLocalSocket* socket, TInstanceAnswer answer);

    QLocalServer Server;
    TInstanceRequestHandler Handler;
};

enum class TInstanceSend {
    NoServer, // nobody listens (yet)
    NoReply,  // connected, but no reply arrived in time
    Replied
};

// Sends one request and waits, bounded, for the reply; a reply received in time is confirmed
// before the connection closes. Without a reply in time the connection is closed unconfirmed,
// so the running instance carries out nothing of the request.
TInstanceSend SendInstanceRequest(const QString& serverPath, const QByteArray& request,
                                  qint32& reply, int connectMs, int replyMs);
