#pragma once

#include <QSize>

// Tells a user's drag of a window's border from the resizing the program does itself, so that a
// window can turn its Auto Size off only when the user takes over its size. The program marks its
// own resizes (TProgramResize); the window manager's resizes that follow a change of the window's
// state (maximise, restore) are not the user's either. A resize event whose size is the one the
// program asked for is taken as the program's even when the window manager answers later.
class TWindowResizeTracker {
public:
    // Whether a resize event to `size` was the user's drag of the border.
    bool IsUserResize(const QSize& size, bool visible, bool normalState);
    // The window's state changed: the resize that follows belongs to the window manager. When no
    // resize follows, the first event of the user's next drag is ignored; a drag sends many.
    void StateChanged() { StateChangePending = true; }

private:
    friend class TProgramResize;
    QSize Expected;
    int Depth = 0;
    bool StateChangePending = false;
};

// Marks the program's own resizing to `size` for as long as it lives.
class TProgramResize {
public:
    TProgramResize(TWindowResizeTracker& tracker, const QSize& size) : Tracker(tracker) {
        Tracker.Expected = size;
        ++Tracker.Depth;
    }
    ~TProgramResize() { --Tracker.Depth; }
    TProgramResize(const TProgramResize&) = delete;
    TProgramResize& operator=(const TProgramResize&) = delete;

private:
    TWindowResizeTracker& Tracker;
};
