#pragma once

#include <QRect>
#include <QSize>

// The size and placement rules of the list windows (browse and error windows), on plain data:
// every rectangle is a window's outer rectangle (frame included) in screen pixels, and the work
// area's bottom and right edges are exclusive (y + height, x + width).

// Where a browse window hangs: the top just below the anchor field, the right edge just right of
// the anchor's browse button; FieldTop is where a window that has no room below may end above the
// field.
struct TAlignAnchor {
    int AlignTop = 0;
    int AlignRight = 0;
    int FieldTop = 0;
};

// The anchor of a field (its screen rectangle: an edit box or a grid row) and the browse button
// beside it (its screen rectangle).
TAlignAnchor CalcAlignAnchor(const QRect& field, const QRect& button);

// A window as the rules read and change it.
struct TFormBox {
    QRect Window;  // outer rectangle now
    QSize Minimum; // the outer size constraint
};

// The size Auto Size wants, before it is placed.
struct TAutoSizeWish {
    int FixedHeight = 0; // frame, caption and every part but the list
    int ItemHeight = 0;
    int ItemCount = 0;
    int ContentWidth = 0; // the widest of the width terms, frame excluded
    int FrameWidth = 0;   // both side frames
};

struct TAutoSizeResult {
    TFormBox Box;
    int AutoWidth = 0;
    int AutoHeight = 0;
};

// The list's height: one row per item, never fewer than three rows, plus its border.
int AutoListHeight(int itemHeight, int itemCount);

// Auto Size: the height for every item and the width of the widest term, each at most the work
// area (the minimum lowered when the size is smaller). With keepInWorkArea (Auto Align up) the
// window also takes the size, keeping its place but moved up or left into the work area and
// shrunk to it as a last resort; otherwise only AutoWidth and AutoHeight are new and the
// alignment places the window.
TAutoSizeResult AutoSizeBox(const TAutoSizeWish& wish, const TFormBox& box, const QRect& workArea,
                            bool keepInWorkArea);

// Auto Align: the window hangs below the anchor field with its right edge under the browse
// button's right edge, inside the work area. With autoSize the size is AutoWidth x AutoHeight
// (the width cut to the room there is, never below the minimum); without it the size stays. A
// window without room below the field keeps its height and ends just above the field, or, without
// room there either, is moved up until its bottom edge is the work area's.
QRect AutoAlignRect(const TAlignAnchor& anchor, const TFormBox& box, int autoWidth, int autoHeight,
                    bool autoSize, const QRect& workArea);

// The window centred on the work area (half the spare room, fraction dropped, on each axis).
QRect CentredRect(const QRect& window, const QRect& workArea);

// Whether a window moved by the user is now smaller than its auto size on either axis.
bool SmallerThanAutoSize(const QSize& size, int autoWidth, int autoHeight);
