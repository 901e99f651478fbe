#include "DesktopSupport.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <signal.h>

namespace desktopsupport {

bool onRealDisplay() {
    return QGuiApplication::platformName() == QLatin1String("xcb") &&
           qEnvironmentVariableIsSet("KRV_SESSION_DIR");
}

QRect workArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

void settle(int milliseconds) {
    QTest::qWait(milliseconds);
}

QRect frameOf(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle != nullptr ? handle->frameGeometry() : window->frameGeometry();
}

bool waitUntilFramed(const QWidget* window) {
    // The frame is known once the window manager has reparented the window: its frame then
    // differs from the client area.
    return QTest::qWaitFor([window] { return frameOf(window) != window->geometry(); }, 10000);
}

bool showAndSettle(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window, 10000)) {
        return false;
    }
    // Framed, then the geometry stops moving.
    const bool framed = waitUntilFramed(window);
    QRect last = frameOf(window);
    for (int i = 0; i < 20; ++i) {
        settle(50);
        const QRect now = frameOf(window);
        if (now == last) {
            break;
        }
        last = now;
    }
    return framed;
}

HeldWindowManager::HeldWindowManager() {
    // The session's window manager is the one started on this display.
    const QByteArray display = "DISPLAY=" + qgetenv("DISPLAY");
    QDirIterator proc(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (proc.hasNext()) {
        const QString folder = proc.next();
        QFile comm(folder + QStringLiteral("/comm"));
        QFile environ(folder + QStringLiteral("/environ"));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "openbox" ||
            !environ.open(QIODevice::ReadOnly) ||
            !environ.readAll().split('\0').contains(display)) {
            continue;
        }
        const long pid = proc.fileName().toLong();
        if (::kill(pid_t(pid), SIGSTOP) == 0) {
            pid_ = pid;
        }
        return;
    }
}

HeldWindowManager::~HeldWindowManager() {
    letGo();
}

void HeldWindowManager::letGo() {
    if (pid_ > 0) {
        ::kill(pid_t(pid_), SIGCONT);
        pid_ = 0;
    }
}

QString saveScreenshot(QWidget* window, const QString& name) {
    const QString folder = QStringLiteral(KRV_SCREENSHOTS_DIR);
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const QRect frame = frameOf(window);
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(path);
    return path;
}

} // namespace desktopsupport
