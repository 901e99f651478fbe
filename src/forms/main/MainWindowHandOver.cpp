#include "forms/main/MainWindowHandOver.h"

#include "forms/browse/F_BrowseFile.h"
#include "forms/main/InstanceReceiver.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "services_ui/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>

namespace {

IHandOverWindow& windowOf(QWidget* main, TMainWindowHandOver& standIn) {
    if (auto* window = dynamic_cast<IHandOverWindow*>(main)) {
        return *window;
    }
    return standIn;
}

// How long RestoreWindowFromMinimised lets the desktop take to restore a window.
constexpr int kRestorePatienceMs = 2000;
// How long a restored window may show the normal state before it is asked to maximise again.
constexpr int kSettleMs = 200;

// The receiver and the hand-over window it answers for, kept together; the server stops first.
// The main window answers for itself when it can; a plain window gets a stand-in.
struct TListening {
    TMainWindowHandOver StandIn;
    TInstanceReceiver Receiver;
    TListening(QWidget* main, TovDF& df, TovDV* dv)
        : StandIn(main), Receiver(windowOf(main, StandIn), df, dv) {}
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

TMainWindowHandOver::TMainWindowHandOver(QWidget* mainWindow) : Main(mainWindow) {}

void TMainWindowHandOver::SetBusy(bool busy) {
    Busy = busy;
    if (Main != nullptr) {
        Main->setAcceptDrops(!busy);
    }
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

bool TMainWindowHandOver::IsOtherFormActive() {
    return OtherWindowActive(Main, UF_BrowseFile);
}

void TMainWindowHandOver::RestoreFromMinimised() {
    RestoreWindowFromMinimised(Main);
}

void TMainWindowHandOver::BringToFront() {
    BringWindowToFront(Main);
}

bool TMainWindowHandOver::ChooseHandedOverFile(QString& path) {
    path.clear();
    return false;
}

std::shared_ptr<void> ListenForHandOvers(QWidget* mainWindow) {
    if (DF == nullptr) {
        return nullptr;
    }
    auto listening = std::make_shared<TListening>(mainWindow, *DF, DV);
    TInstanceReceiver* receiver = &listening->Receiver;
    StartInstanceServer(
        [receiver](const TInstanceRequest& request) { return receiver->Answer(request); });
    return listening;
}
