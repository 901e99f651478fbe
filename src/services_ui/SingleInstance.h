#pragma once

#include "InstanceChannel.h"

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

// Keeps the program to one instance per user: the first start holds the instance lock for its
// whole life and, once its main window can answer, listens for hand-overs; a later start sends
// its command-line paths to it and ends. A lock left by an instance that died is taken over.
class TSingleInstance {
public:
    struct TSettings {
        QString LockPath;
        QString ServerPath;
        // How long a later start keeps trying to reach an instance that holds the lock but does
        // not listen yet (it is still starting up).
        int PatienceMs = 10000;
        int RetryPauseMs = 100;
        int ConnectMs = 200;
        int ReplyMs = 5000;
    };

    explicit TSingleInstance(TSettings settings);
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    // True when another instance runs and this one must end (the paths were handed over, or the
    // user was told why not); false when this is the only instance.
    bool Ensure(const QStringList& paths);
    bool OwnsLock() const { return Lock != nullptr && Lock->isLocked(); }

    // Answers hand-overs through the handler from now on; false when the socket cannot be made.
    bool StartServer(TInstanceRequestHandler handler);
    void StopServer();

private:
    // What a later start does with the running instance's reply; always ends this instance.
    static void ActOnReply(qint32 reply);
    static void TellNotAnswering();

    TSettings Settings;
    std::unique_ptr<QLockFile> Lock;
    std::unique_ptr<TInstanceServer> Server;
};

// The program's single-instance check with the paths of its command line: true when another
// instance runs (this one must end at once, without creating anything).
bool EnsureSingleInstance();
// Starts answering hand-overs of later starts through the handler (the main window's receiver).
bool StartInstanceServer(TInstanceRequestHandler handler);
void StopInstanceServer();
