#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace desktopsupport {

// True on the private X server of a desktop check; the tests skip elsewhere (run them with
// scripts/xvfb-session).
bool onRealDisplay();

// The screen's work area: the part of the screen a window may take.
QRect workArea();

// The window's outer rectangle as the window system knows it now (a widget's own frame geometry
// may still hold the frame it saw before the window manager framed it).
QRect frameOf(const QWidget* window);

// Waits until the window manager has framed the window; false when that did not happen in time.
bool waitUntilFramed(const QWidget* window);

// Shows the window and waits until the window manager has framed and placed it and it is exposed.
// False when that did not happen in time.
bool showAndSettle(QWidget* window);

// Lets the window manager and the program answer each other for a while.
void settle(int milliseconds = 200);

// Holds the session's window manager (stopped) while it lives, as a window manager too busy to
// answer: a window shown meanwhile is framed, mapped and exposed only once it is let go.
class HeldWindowManager {
public:
    HeldWindowManager();
    ~HeldWindowManager();
    HeldWindowManager(const HeldWindowManager&) = delete;
    HeldWindowManager& operator=(const HeldWindowManager&) = delete;

    bool held() const { return pid_ > 0; }
    void letGo();

private:
    long pid_ = 0;
};

// Saves a picture of the window with its frame into the build tree's desktop-screenshots folder,
// for review; returns the file's path.
QString saveScreenshot(QWidget* window, const QString& name);

} // namespace desktopsupport
