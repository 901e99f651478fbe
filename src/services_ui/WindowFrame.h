#pragma once

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>

class QWidget;

// The frame the window manager draws around a top-level window (its caption and borders), and
// placing windows by their outer rectangle, frame included, as the layouts compute them.
//
// A window manager frames a window only after it is shown, so a window's first placement cannot
// read its own frame. Until then the frame is taken to be the one last seen on a window with the
// same kind of border (fixed or sizable; the main window is framed before any other), else the
// assumed frame of the dialogue metrics. Windows placed while their frame was a guess are placed
// again once it is known (WhenFramed).

// The frame parts around the client area: the real ones once the window is framed.
QMargins FrameMarginsOf(const QWidget* window);
// Whether the window manager has framed the window.
bool IsFramed(const QWidget* window);
// The window's outer rectangle in screen pixels.
QRect OuterRectOf(const QWidget* window);
QSize OuterSizeOf(const QWidget* window, const QSize& client);
// The client rectangle of an outer rectangle.
QRect ClientRectOf(const QWidget* window, const QRect& outer);
QSize ClientSizeOf(const QWidget* window, const QSize& outer);
// Moves and sizes the window so that its outer rectangle becomes `outer` (only what changed).
void PlaceOuter(QWidget* window, const QRect& outer);
// The outer rectangle a window was placed at while hidden (at start-up, before any window was
// framed), when the frame known now would put it elsewhere; an invalid rectangle otherwise. Read
// once, when the window is shown, to place it again where it was meant to be.
QRect TakeIntendedOuterRect(QWidget* window);
// The smallest client size whose outer size is `outer`.
void SetOuterMinimumSize(QWidget* window, const QSize& outer);

// Once the window manager has framed the window, learns its frame and runs `placeAgain` when the
// frame differs from the one the window was placed with and the window is in the normal state;
// nothing on a platform that frames no window. Call it when the program shows the window.
void WhenFramed(QWidget* window, std::function<void()> placeAgain);
// Forgets the frames learned so far: the next window is placed as at start-up, before any window
// was framed (checks of a first showing).
void ForgetLearnedFrames();

// A window restored from maximised gets its restored geometry from the window manager before or
// after it learns of the new state: a re-fit waits for that geometry (a busy desktop may take
// seconds) so that it starts from the restored rectangle and not from the maximised one; should
// none come, there is no re-fit.
class TRestoreRefit {
public:
    // From the window's resize and move events: remembers the maximised rectangle.
    void Track(const QWidget* window);
    // From the window's change to the normal state after maximised.
    void Restored(QWidget* window, std::function<void()> refit);

private:
    QRect Maximised;
};

// The window manager sets a window's new geometry and its new state (maximised, restored) in
// turn, and the geometry may reach the program first: a size or place seen in the normal state is
// the normal state's only once the state has stayed normal a moment after it. Without a window
// manager the check runs at once.
class TNormalStateCheck {
public:
    TNormalStateCheck() = default;
    ~TNormalStateCheck();
    TNormalStateCheck(const TNormalStateCheck&) = delete;
    TNormalStateCheck& operator=(const TNormalStateCheck&) = delete;

    // From the window's resize or move event in the normal state: runs `check` once the window
    // has stayed in the normal state a moment; replaces a check still waiting.
    void Schedule(QWidget* window, std::function<void()> check);
    // From the window's change of state: the check waiting is dropped.
    void Cancel();

private:
    QPointer<QTimer> Timer;
    std::function<void()> Check;
};

// A fixed-size window (a dialogue with a single border) given the client size it needs, cut to
// the work area, and placed inside the work area: centred on it, or keeping its centre.
void FitFixedWindowToWorkArea(QWidget* window, const QSize& client, bool centre);
// The window centred on the work area (never above or left of it).
void CentreWindowOnWorkArea(QWidget* window);

// Keeps a dialogue without a minimise button from staying minimised: some window managers offer
// minimising on every window, and a minimised modal dialogue would leave the program waiting on a
// window the user cannot see. The dialogue comes straight back.
void KeepFromMinimising(QWidget* window);
