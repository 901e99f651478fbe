#pragma once

#include <QRect>
#include <QSize>

// The sizes of the Summary window's parts that its minimum size and its auto size add up. All
// window sizes here are outer sizes: frame and caption included.
struct TSummarySizes {
    int FrameWidth = 0;   // the frame's left and right borders together
    int FrameHeight = 0;  // the caption and the frame's top and bottom borders together
    int Bevel = 4;        // the bevel above the page control
    int TabHeight = 0;    // the tab caption's text height + 8
    int RowHeight = 0;    // the grid's default row height
    int ButtonPanel = 0;  // the button panel's height
    int ButtonsWidth = 0; // the five buttons' widths together
};

// The smallest window that shows three grid rows and every button.
int SummaryMinHeight(const TSummarySizes& s);
int SummaryMinWidth(const TSummarySizes& s);
// The window that shows a grid of the given extent whole, and the caption and buttons.
int SummaryFittedHeight(const TSummarySizes& s, int gridHeight);
int SummaryFittedWidth(const TSummarySizes& s, int captionWidth, int gridWidth);

// Where Auto Size puts the window, the minimum size it leaves and the size it recorded.
struct TSummaryAutoSize {
    QRect Window;
    QSize Minimum;
    int AutoMinWidth = 0;
    int AutoMinHeight = 0;
};

// Fits the window to the fitted size within the work area: the size is cut to the work area
// (lowering the minimum when it falls below it), the window moved back inside the work area,
// and, when it still does not fit, given the work area's extent from its start.
TSummaryAutoSize PlanSummaryAutoSize(const QRect& window, const QSize& minimum, int fittedWidth,
                                     int fittedHeight, const QRect& workArea);
