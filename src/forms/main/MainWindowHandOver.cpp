#include "forms/main/MainWindowHandOver.h"

#include "forms/main/InstanceReceiver.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "services_ui/SingleInstance.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {

// How long RestoreWindowFromMinimised waits for the window manager's first report of the
// restore before it returns.
constexpr int kRestorePatienceMs = 2000;
// How long a window manager that never reports the restore is waited for: the watch then ends, so
// that a report long after (the user's own un-maximising) is never taken for the restore.
constexpr int kRestoreWatchMs = 10000;

// Asks a window that is to come back maximised to maximise once more when the window manager
// settles its restore on the normal state: it hears of the restore and of the state in turn, and
// a slow one may report the normal state well after the restore was asked for. Reads the window
// manager's own reports of the state (the widget's state already says what was asked for), and
// goes with the first one that is no longer minimised.
class TMaximiseOnRestore : public QObject {
public:
    TMaximiseOnRestore(QWidget* widget, QWindow* window) : QObject(window), Widget(widget) {
        window->installEventFilter(this);
        QTimer::singleShot(kRestoreWatchMs, this, &QObject::deleteLater);
    }

    bool Reported = false; // the window manager has reported the restore

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && event->spontaneous()) {
            const Qt::WindowStates reported = static_cast<QWindow*>(watched)->windowStates();
            if (!reported.testFlag(Qt::WindowMinimized)) {
                Reported = true;
                watched->removeEventFilter(this);
                if (!reported.testFlag(Qt::WindowMaximized) && Widget != nullptr) {
                    // Asked once the widget has taken the reported state: asked from here, before
                    // the report reaches it, the widget still holds the maximised state it was
                    // asked for and takes the request for no change.
                    QMetaObject::invokeMethod(
                        Widget,
                        [widget = Widget] {
                            if (widget != nullptr && !widget->isMinimized() &&
                                !widget->isMaximized()) {
                                widget->showMaximized();
                            }
                        },
                        Qt::QueuedConnection);
                }
                deleteLater();
            }
        }
        return false;
    }

private:
    QPointer<QWidget> Widget;
};

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
    QWindow* handle = window->windowHandle();
    if (!maximised || handle == nullptr) {
        return;
    }
    // Callers show a window over the restored one next: they wait a while for the report.
    const QPointer<TMaximiseOnRestore> watch = new TMaximiseOnRestore(window, handle);
    const QDeadlineTimer patience(kRestorePatienceMs);
    while (watch != nullptr && !watch->Reported && !patience.hasExpired()) {
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
