#include "forms/dialogs/F_SummaryLayout.h"

#include <algorithm>

namespace {

// The window's frame, caption, bevel and tab above the grid, and the button panel below it.
int ChromeHeight(const TSummarySizes& s) {
    return s.FrameHeight + s.Bevel + 2 + s.TabHeight + 4 + 4 + s.ButtonPanel;
}

// One axis of the placement: the extent cut to the work area (lowering the minimum), then the
// start moved so that the window ends inside the work area.
struct Axis {
    int start;
    int extent;
    int minimum;
    int recorded;
};

Axis PlaceAxis(int start, int wanted, int minimum, int areaStart, int areaExtent,
               bool keepAfterAreaStart) {
    const int areaEnd = areaStart + areaExtent;
    int extent = std::min(wanted, areaExtent);
    if (extent < minimum) {
        minimum = extent;
    }
    const int recorded = extent;
    if (keepAfterAreaStart) {
        start = std::max(start, areaStart);
    }
    if (start + extent > areaEnd) {
        start = std::max(areaEnd - extent, areaStart);
        if (start + extent > areaEnd) {
            extent = std::max(areaEnd - areaStart, minimum);
            start = areaStart;
        }
    }
    return {start, extent, minimum, recorded};
}

} // namespace

int SummaryMinHeight(const TSummarySizes& s) {
    return ChromeHeight(s) + 3 * s.RowHeight;
}

int SummaryMinWidth(const TSummarySizes& s) {
    return s.FrameWidth + s.ButtonsWidth + 48;
}

int SummaryFittedHeight(const TSummarySizes& s, int gridHeight) {
    return ChromeHeight(s) + gridHeight;
}

int SummaryFittedWidth(const TSummarySizes& s, int captionWidth, int gridWidth) {
    return s.FrameWidth + std::max({std::max(captionWidth, 0), gridWidth + 8, s.ButtonsWidth + 48});
}

TSummaryAutoSize PlanSummaryAutoSize(const QRect& window, const QSize& minimum, int fittedWidth,
                                     int fittedHeight, const QRect& workArea) {
    // The top is kept as it is unless the window would end below the work area; the left is
    // also kept right of the work area's left.
    const Axis v = PlaceAxis(window.top(), fittedHeight, minimum.height(), workArea.top(),
                             workArea.height(), false);
    const Axis h = PlaceAxis(window.left(), fittedWidth, minimum.width(), workArea.left(),
                             workArea.width(), true);
    TSummaryAutoSize plan;
    plan.Window = QRect(h.start, v.start, h.extent, v.extent);
    plan.Minimum = QSize(h.minimum, v.minimum);
    plan.AutoMinWidth = h.recorded;
    plan.AutoMinHeight = v.recorded;
    return plan;
}
