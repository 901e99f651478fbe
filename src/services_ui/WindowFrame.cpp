#include "WindowFrame.h"

#include "WorkArea.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

#ifdef KRV_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

// How long a window waits for the window manager (a busy desktop answers late): to frame it, to
// restore it, to tell the new state after a new geometry.
constexpr int kFramePatienceMs = 3000;
constexpr int kRestorePatienceMs = 10000;
constexpr int kStateSettleMs = 250;
constexpr int kPollMs = 10;
constexpr int kSteadyPolls = 8;

// The outer rectangle a window was given while hidden (with the frame known then).
const char* const kPlacedWhileHidden = "ovPlacedWhileHidden";

// The frames seen on framed windows in the normal state, by kind of border (fixed or not).
std::map<bool, QMargins>& learned() {
    static std::map<bool, QMargins> frames;
    return frames;
}

bool hasFixedBorder(const QWidget* window) {
    return window->minimumSize() == window->maximumSize();
}

// Platforms without a window manager never frame a window.
bool platformFramesWindows() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QMargins assumedFrame() {
    const FrameMetrics m = frameMetrics();
    return {m.dlgFrame, m.caption + m.dlgFrame, m.dlgFrame, m.dlgFrame};
}

#ifdef KRV_HAVE_XCB
// The frame the window manager states for the window at this moment (_NET_FRAME_EXTENTS). The
// toolkit reads it once after each configure of the window and keeps it; the window manager
// may change it only after that configure (a maximised window loses its borders, a restored one
// gets them back), and a window shown again would be placed with the frame of its last state.
std::optional<QMargins> statedFrame(const QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const WId id = window->internalWinId();
    if (x11 == nullptr || x11->connection() == nullptr || id == 0) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11->connection();
    static xcb_connection_t* atomConnection = nullptr;
    static xcb_atom_t atom = 0;
    if (atomConnection != connection) {
        static const char kName[] = "_NET_FRAME_EXTENTS";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
        atom = reply != nullptr ? reply->atom : xcb_atom_t{0};
        std::free(reply);
        atomConnection = connection;
    }
    if (atom == 0) {
        return std::nullopt;
    }
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(id), atom,
                                                XCB_ATOM_CARDINAL, 0, 4),
                               nullptr);
    QMargins frame; // none stated: not framed
    if (reply != nullptr && reply->type == XCB_ATOM_CARDINAL && reply->format == 32 &&
        xcb_get_property_value_length(reply) == 16) {
        const auto* extents = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        // left, right, top, bottom
        frame = QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]),
                         static_cast<int>(extents[1]), static_cast<int>(extents[3]));
    }
    std::free(reply);
    return frame;
}
#endif

// Asked of the window system each time: a widget's own frame geometry may hold the frame it saw
// before the window manager framed the window.
QMargins realFrame(const QWidget* window) {
#ifdef KRV_HAVE_XCB
    if (const std::optional<QMargins> stated = statedFrame(window)) {
        return *stated;
    }
#endif
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameMargins() : QMargins();
}

QSize extent(const QMargins& m) {
    return {m.left() + m.right(), m.top() + m.bottom()};
}

// Checks `ready` every few milliseconds until it holds or the patience runs out, then runs
// `then` (with the answer); the wait ends with the window.
void WaitFor(QWidget* window, int patienceMs, std::function<bool()> ready,
             std::function<void(bool)> then) {
    auto* timer = new QTimer(window);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(kPollMs);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        const bool done = ready();
        if (!done && !clock->hasExpired(patienceMs)) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        // The callers report their own failures (the windows guard their slots); nothing may
        // cross the event loop.
        try {
            then(done);
        } catch (...) {
        }
    });
    timer->start();
}

} // namespace

bool IsFramed(const QWidget* window) {
    // (A platform without a window manager may still report a frame of its own making.)
    return platformFramesWindows() && window != nullptr && window->isWindow() &&
           window->isVisible() && !realFrame(window).isNull();
}

QMargins FrameMarginsOf(const QWidget* window) {
    if (window == nullptr) {
        return assumedFrame();
    }
    if (IsFramed(window)) {
        return realFrame(window);
    }
    const bool fixed = hasFixedBorder(window);
    const auto& frames = learned();
    if (const auto same = frames.find(fixed); same != frames.end()) {
        return same->second;
    }
    if (!frames.empty()) {
        return frames.begin()->second;
    }
    return assumedFrame();
}

QRect OuterRectOf(const QWidget* window) {
    return window->geometry().marginsAdded(FrameMarginsOf(window));
}

QRect ClientRectOf(const QWidget* window, const QRect& outer) {
    const QMargins frame = FrameMarginsOf(window);
    return {outer.topLeft() + QPoint(frame.left(), frame.top()),
            ClientSizeOf(window, outer.size())};
}

QSize OuterSizeOf(const QWidget* window, const QSize& client) {
    return client + extent(FrameMarginsOf(window));
}

QSize ClientSizeOf(const QWidget* window, const QSize& outer) {
    return (outer - extent(FrameMarginsOf(window))).expandedTo(QSize(1, 1));
}

void PlaceOuter(QWidget* window, const QRect& outer) {
    // The client rectangle is set, never the frame position: the toolkit reads a position as the
    // frame's or the client's depending on whether the window exists natively and is framed yet,
    // while a client rectangle is placed where it is asked to be in every case.
    const QRect client = ClientRectOf(window, outer);
    if (window->geometry() != client) {
        window->setGeometry(client);
    }
    if (!window->isVisible()) {
        window->setProperty(kPlacedWhileHidden, outer);
    }
}

QRect TakeIntendedOuterRect(QWidget* window) {
    const QRect intended = window->property(kPlacedWhileHidden).toRect();
    window->setProperty(kPlacedWhileHidden, QVariant());
    return intended.isValid() && OuterRectOf(window) != intended ? intended : QRect();
}

void SetOuterMinimumSize(QWidget* window, const QSize& outer) {
    const QSize client = (outer - extent(FrameMarginsOf(window))).expandedTo(QSize(0, 0));
    if (window->minimumSize() != client) {
        window->setMinimumSize(client);
    }
}

void WhenFramed(QWidget* window, std::function<void()> placeAgain) {
    if (window == nullptr || !platformFramesWindows()) {
        return;
    }
    const QMargins guessed = FrameMarginsOf(window);
    QPointer<QWidget> guard(window);
    // Just after framing, the toolkit may briefly report the client rectangle relative to the
    // frame: the frame counts as known once it and the client rectangle read the same a few
    // times in a row.
    auto last = std::make_shared<std::pair<QMargins, QRect>>();
    auto steady = std::make_shared<int>(0);
    WaitFor(
        window, kFramePatienceMs,
        [guard, last, steady] {
            if (guard.isNull()) {
                return true;
            }
            if (!IsFramed(guard)) {
                *steady = 0;
                return false;
            }
            const auto now = std::make_pair(realFrame(guard), guard->geometry());
            *steady = now == *last ? *steady + 1 : 0;
            *last = now;
            return *steady >= kSteadyPolls;
        },
        [guard, guessed, placeAgain = std::move(placeAgain)](bool framed) {
            if (guard.isNull() || !framed || guard->windowState() != Qt::WindowNoState) {
                return;
            }
            // A maximised window's frame lacks its borders: only normal ones teach the others.
            const QMargins real = realFrame(guard);
            learned()[hasFixedBorder(guard)] = real;
            if (real != guessed) {
                placeAgain();
            }
        });
}

void ForgetLearnedFrames() {
    learned().clear();
}

void TRestoreRefit::Track(const QWidget* window) {
    if (window->isMaximized()) {
        Maximised = window->geometry();
    }
}

void TRestoreRefit::Restored(QWidget* window, std::function<void()> refit) {
    const QRect maximised = Maximised;
    Maximised = QRect();
    QPointer<QWidget> guard(window);
    // Without a window manager the restored geometry is there at once.
    const int patience = platformFramesWindows() ? kRestorePatienceMs : 0;
    // The window manager may move the window and size it in two steps: the restored geometry
    // is there once the size is no longer the maximised one and the geometry holds still.
    auto last = std::make_shared<QRect>();
    auto steady = std::make_shared<int>(0);
    WaitFor(
        window, patience,
        [guard, maximised, last, steady, patience] {
            if (guard.isNull() || !maximised.isValid() || patience == 0) {
                return guard.isNull() || !maximised.isValid() || guard->geometry() != maximised;
            }
            const QRect now = guard->geometry();
            *steady = now == *last ? *steady + 1 : 0;
            *last = now;
            return now.size() != maximised.size() && *steady >= kSteadyPolls;
        },
        [guard, refit = std::move(refit)](bool restored) {
            // A re-fit from the maximised rectangle would make the window as large as the work
            // area: without the restored geometry the window stays as the window manager has it.
            if (!restored && platformFramesWindows()) {
                return;
            }
            if (!guard.isNull() && guard->isVisible() &&
                guard->windowState() == Qt::WindowNoState) {
                refit();
            }
        });
}

void TNormalStateCheck::Schedule(QWidget* window, std::function<void()> check) {
    Check = std::move(check);
    if (!platformFramesWindows()) {
        const auto run = std::move(Check);
        Check = nullptr;
        run();
        return;
    }
    if (Timer.isNull()) {
        Timer = new QTimer(window);
        Timer->setSingleShot(true);
        Timer->setInterval(kStateSettleMs);
        QPointer<QWidget> guard(window);
        QObject::connect(Timer, &QTimer::timeout, Timer, [this, guard] {
            if (guard.isNull() || guard->windowState() != Qt::WindowNoState || !Check) {
                return;
            }
            const auto run = std::move(Check);
            Check = nullptr;
            // The callers report their own failures; nothing may cross the event loop.
            try {
                run();
            } catch (...) {
            }
        });
    }
    Timer->start();
}

TNormalStateCheck::~TNormalStateCheck() {
    delete Timer.data();
}

void TNormalStateCheck::Cancel() {
    Check = nullptr;
    if (!Timer.isNull()) {
        Timer->stop();
    }
}

namespace {

// The rectangle moved inside the area as far as it fits; its top-left corner never leaves it.
QRect insideArea(QRect rect, const QRect& area) {
    rect.moveLeft(
        std::max(area.left(), std::min(rect.left(), area.x() + area.width() - rect.width())));
    rect.moveTop(
        std::max(area.top(), std::min(rect.top(), area.y() + area.height() - rect.height())));
    return rect;
}

} // namespace

void FitFixedWindowToWorkArea(QWidget* window, const QSize& client, bool centre) {
    const QRect area = workArea().rect();
    const QSize outer = OuterSizeOf(window, client).boundedTo(area.size());
    const QPoint middle = centre ? area.center() : OuterRectOf(window).center();
    window->setFixedSize(ClientSizeOf(window, outer));
    QRect rect(QPoint(0, 0), outer);
    rect.moveCenter(middle);
    PlaceOuter(window, insideArea(rect, area));
}

void CentreWindowOnWorkArea(QWidget* window) {
    const QRect area = workArea().rect();
    const QSize outer = OuterRectOf(window).size();
    PlaceOuter(window, QRect(QPoint(CentredStart(area.left(), area.width(), outer.width()),
                                    CentredStart(area.top(), area.height(), outer.height())),
                             outer));
}

namespace {

class TMinimiseGuard : public QObject {
public:
    explicit TMinimiseGuard(QWidget* window) : QObject(window), Window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == Window && event->type() == QEvent::WindowStateChange &&
            Window->isMinimized()) {
            QTimer::singleShot(0, this, [this] {
                if (Window->isMinimized()) {
                    Window->setWindowState(Window->windowState() & ~Qt::WindowMinimized);
                    Window->show();
                    Window->raise();
                    Window->activateWindow();
                }
            });
        }
        return false;
    }

private:
    QWidget* Window;
};

} // namespace

void KeepFromMinimising(QWidget* window) {
    window->installEventFilter(new TMinimiseGuard(window));
}
