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

// The folder of the instance lock and the hand-over socket, one that only the user can reach:
// the user's runtime folder (XDG_RUNTIME_DIR, so that each isolated test run has its own
// instance) when it is a folder of the user's with mode 0700, else a folder of the user's under
// the temporary folder, made with mode 0700. A folder that fails the check (another account made
// it first, a link, open to others) is never used: the result is then empty, and the program runs
// without a hand-over channel.
QString InstanceRuntimeFolder();
// The lock and the socket in that folder; empty without one.
QString InstanceLockPath();
QString InstanceServerPath();
// Whether the process at the other end of a connected local socket runs as this user.
bool PeerIsThisUser(qintptr socketDescriptor);

// Listens on the hand-over socket of the running instance and answers each request through the
// handler; a connection from another user is dropped unread, a request that is malformed, too
// large or not complete in time is answered busy (or dropped) without reaching the handler, and
// one whose sender is gone before it is answered is dropped. The work of an answer runs once its
// sender confirms the reply.
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
    NoServer,      // nobody listens (yet)
    ForeignServer, // another user listens there: nothing was sent
    NoReply,       // connected, but no reply arrived in time
    Replied
};

// Sends one request, to a server of this user only, and waits, bounded, for the reply; a reply
// received in time is confirmed before the connection closes. Without a reply in time the
// connection is closed unconfirmed, so the running instance carries out nothing of the request.
TInstanceSend SendInstanceRequest(const QString& serverPath, const QByteArray& request,
                                  qint32& reply, int connectMs, int replyMs);
