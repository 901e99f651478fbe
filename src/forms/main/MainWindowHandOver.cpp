#include "forms/main/MainWindowHandOver.h"

#include "forms/main/InstanceReceiver.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "services_ui/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>

namespace {

// How long RestoreWindowFromMinimised lets the desktop take to restore a window.
constexpr int kRestorePatienceMs = 2000;
// How long a restored window may show the normal state before it is asked to maximise again.
constexpr int kSettleMs = 200;

// The receiver of the main window's hand-overs; the server stops before the receiver goes.
struct TListening {
    TInstanceReceiver Receiver;
    TListening(IHandOverWindow& main, TovDF& df, TovDV* dv) : Receiver(main, df, dv) {}
    ~TListening() { StopInstanceServer(); }
    TListening(const TListening&) = delete;
    TListening& operator=(const TListening&) = delete;
};

} // namespace

void RestoreWindowFromMinimised(QWidget* window, bool wasMaximised) {
    if (window == nullptr || !window->isMinimized()) {
        return;
    }
    // Back to the state it was minimised from: a maximised window comes back maximised.
    const bool maximised = wasMaximised || window->isMaximized();
    Qt::WindowStates state = window->windowState() & ~Qt::WindowMinimized;
    if (maximised) {
        state |= Qt::WindowMaximized;
    }
    window->setWindowState(state);
    window->show();
    window->raise();
    window->activateWindow();
    // The window manager may settle the restore on the normal state (it hears of the restore and
    // of the state in turn): a window meant to be maximised that stays normal for a moment is
    // asked to maximise once more.
    const QDeadlineTimer patience(kRestorePatienceMs);
    QDeadlineTimer normalFor(QDeadlineTimer::Forever);
    bool askedAgain = false;
    while (!patience.hasExpired()) {
        if (!window->isMinimized() && (!maximised || window->isMaximized())) {
            break;
        }
        if (!window->isMinimized() && !askedAgain) {
            if (normalFor.isForever()) {
                normalFor.setRemainingTime(kSettleMs);
            } else if (normalFor.hasExpired()) {
                window->showMaximized();
                askedAgain = true;
            }
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

void BringWindowToFront(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    if (window->isHidden()) {
        window->show();
    }
    window->raise();
    window->activateWindow();
}

QWidget* WindowBroughtForward(QWidget* main, const QWidget* browseFile, QWidget* active) {
    if (active == nullptr || active == main) {
        return nullptr;
    }
    return browseFile != nullptr && active == browseFile ? main : active;
}

bool OtherWindowActive(QWidget* main, const QWidget* browseFile) {
    QWidget* active = QApplication::activeModalWidget();
    if (active == nullptr) {
        active = QApplication::activeWindow();
    }
    QWidget* forward = WindowBroughtForward(main, browseFile, active);
    if (forward == nullptr) {
        return false;
    }
    RestoreWindowFromMinimised(main);
    BringWindowToFront(forward);
    return true;
}

std::shared_ptr<void> ListenForHandOvers(IHandOverWindow& mainWindow) {
    if (DF == nullptr) {
        return nullptr;
    }
    auto listening = std::make_shared<TListening>(mainWindow, *DF, DV);
    TInstanceReceiver* receiver = &listening->Receiver;
    StartInstanceServer(
        [receiver](const TInstanceRequest& request) { return receiver->Answer(request); });
    return listening;
}
