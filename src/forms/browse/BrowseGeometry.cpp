#include "forms/browse/BrowseGeometry.h"

#include <algorithm>

namespace {

int bottomOf(const QRect& r) {
    return r.y() + r.height();
}

int rightOf(const QRect& r) {
    return r.x() + r.width();
}

} // namespace

TAlignAnchor CalcAlignAnchor(const QRect& field, const QRect& button) {
    return {field.y() + field.height(), button.x() + button.width() + 4, field.y()};
}

int AutoListHeight(int itemHeight, int itemCount) {
    return std::max(itemCount * itemHeight + 4, 3 * itemHeight + 4);
}

TAutoSizeResult AutoSizeBox(const TAutoSizeWish& wish, const TFormBox& box, const QRect& workArea,
                            bool keepInWorkArea) {
    TAutoSizeResult result;
    result.Box = box;
    QRect& window = result.Box.Window;
    QSize& minimum = result.Box.Minimum;
    const int areaBottom = bottomOf(workArea);
    const int areaRight = rightOf(workArea);

    int height = wish.FixedHeight + AutoListHeight(wish.ItemHeight, wish.ItemCount);
    height = std::min(height, workArea.height());
    minimum.setHeight(std::min(minimum.height(), height));
    result.AutoHeight = height;
    if (keepInWorkArea) {
        int top = window.y();
        if (top + height > areaBottom) {
            top = std::max(areaBottom - height, workArea.y());
        }
        if (top + height > areaBottom) {
            height = std::max(workArea.height(), minimum.height());
            top = workArea.y();
        }
        window.setRect(window.x(), top, window.width(), height);
    }

    int width = std::min(wish.ContentWidth + wish.FrameWidth, workArea.width());
    minimum.setWidth(std::min(minimum.width(), width));
    result.AutoWidth = width;
    if (keepInWorkArea) {
        int left = std::max(window.x(), workArea.x());
        if (left + width > areaRight) {
            left = std::max(areaRight - width, workArea.x());
        }
        if (left + width > areaRight) {
            width = std::max(workArea.width(), minimum.width());
            left = workArea.x();
        }
        window.setRect(left, window.y(), width, window.height());
    }
    return result;
}

QRect AutoAlignRect(const TAlignAnchor& anchor, const TFormBox& box, int autoWidth, int autoHeight,
                    bool autoSize, const QRect& workArea) {
    const int areaBottom = bottomOf(workArea);
    const int areaRight = rightOf(workArea);
    const QSize& minimum = box.Minimum;
    int left = 0;
    int width = box.Window.width();

    // A window cut to the room below its field would hide its last rows behind a scroll bar:
    // it keeps its height and goes where it fits whole.
    const int height = std::min(
        std::max(autoSize ? autoHeight : box.Window.height(), minimum.height()), workArea.height());
    // An anchor above the work area (main window partly off the screen) still leaves the caption
    // on the screen.
    const int alignTop = std::max(anchor.AlignTop, workArea.y());
    int top = alignTop;
    if (top + height > areaBottom) {
        top = anchor.FieldTop - height >= workArea.y()
                  ? anchor.FieldTop - height
                  : std::max(areaBottom - height, workArea.y());
    }

    if (autoSize) {
        left = std::max(anchor.AlignRight - autoWidth, workArea.x());
        if (left + minimum.width() > areaRight) {
            left = std::max(areaRight - minimum.width(), workArea.x());
            width = minimum.width();
        } else if (left + autoWidth > areaRight) {
            // The button lies at the right edge: the window keeps its auto width and moves left
            // into the work area instead of stretching over the whole screen.
            width = std::max(std::min(autoWidth, workArea.width()), minimum.width());
            left = std::max(areaRight - width, workArea.x());
        } else {
            width = autoWidth;
        }
    } else {
        left = std::max(std::min(areaRight, anchor.AlignRight) - width, workArea.x());
    }
    return {left, top, width, height};
}

QRect CentredRect(const QRect& window, const QRect& workArea) {
    return {workArea.x() + (workArea.width() - window.width()) / 2,
            workArea.y() + (workArea.height() - window.height()) / 2, window.width(),
            window.height()};
}

bool SmallerThanAutoSize(const QSize& size, int autoWidth, int autoHeight) {
    return size.width() < autoWidth || size.height() < autoHeight;
}
