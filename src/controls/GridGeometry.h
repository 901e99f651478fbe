#pragma once

#include "GridCells.h"

#include <QRect>
#include <QSize>
#include <vector>

// A rectangle as the grid computes it: right and bottom are exclusive, so neighbouring cells
// share their one-pixel border line.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    bool isEmpty() const { return Right <= Left || Bottom <= Top; }
    bool intersects(const TGridRect& o) const {
        return Left < o.Right && o.Left < Right && Top < o.Bottom && o.Top < Bottom;
    }
    TGridRect translated(int dx, int dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }
    TGridRect adjusted(int dl, int dt, int dr, int db) const {
        return {Left + dl, Top + dt, Right + dr, Bottom + db};
    }
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// Where the control attached to a cell goes, in the cell's coordinates (the grid's client area),
// for a control of the given size: a button at the cell's right edge, as high as the cell less
// 4; a combo box inside the cell's grid lines, as wide as the space between them and at most as
// high, placed by the vertical alignment.
// Empty for ceNormal.
TGridRect editorPlacement(TCellEditor kind, const TGridRect& cell, QSize control,
                          TVerAlign verAlign);
// True when the part of a placed control over its cell lies in the data area, so that the
// control covers its own cell only: a control whose cell is scrolled away, under the header or
// the gutter, or past the client edge, is hidden.
bool editorFitsDataArea(const TGridRect& placement, const TGridRect& cell,
                        const TGridRect& dataArea);

// What the layout depends on besides the cell sizes.
struct TGridLayoutSettings {
    TGutterKind GutterKind = gkBlank;
    int GutterWidth = 20;
    bool ShowHeader = true;
    int HeaderHeight = 18;
    TGridOptions Options;
    TScrollStyle ScrollBarKind = ssBoth;
    bool SmoothHorScroll = true;
    bool SmoothVerScroll = false;
    // Width of a vertical scroll bar (height of a horizontal one) in the desktop's metrics.
    int ScrollBarExtent = 16;
};

// Scroll bar requests, the same for both directions.
enum class TGridScrollRequest { LineBack, LineForward, PageBack, PageForward, ToStart, ToEnd };

// Maps cells to pixels and back, scrolls and lays out, without a window: column lefts and row
// tops (cached sums rebuilt when a size changes), cell rectangles, the hit test, scroll steps
// with snapping, visible rows and scrolling a cell into view.
class TovGridGeometry {
public:
    explicit TovGridGeometry(TovGridCells& cells) : Cells(cells) {}

    TGridLayoutSettings Settings;

    // Runs the layout for a client area of the given size: data left and top, the last column's
    // width under goAutoSizeLastCol, totals, scroll bar visibility, maxima and clamped positions.
    void layout(int clientWidth, int clientHeight);

    int colLeft(int col) const;
    int rowTop(int row) const;
    // Client y of the row's top edge.
    int clientRowTop(int row) const { return rowTop(row) + DataTop - VerPos; }

    // Rectangles in client coordinates; empty for an index of -1.
    TGridRect cellRect(int col, int row) const;
    // The rectangle of the area (first column, first row) .. (last column, last row).
    TGridRect areaRect(int col1, int row1, int col2, int row2) const;
    TGridRect dataClipRect() const { return {DataLeft, DataTop, ClientWidth, ClientHeight}; }

    // The cell under a client point: 0 in the gutter or header, the last column or row beyond.
    int colAt(int x) const;
    int rowAt(int y) const;
    // Visible columns and rows of the data area: the first and last whose cells meet it.
    int firstVisibleCol() const;
    int lastVisibleCol() const;
    int firstVisibleDataRow() const;
    int lastVisibleDataRow() const;

    // The position a scroll bar request leads to, clamped and snapped; horizontal when horz.
    int scrollTarget(bool horz, TGridScrollRequest request) const;
    // The position thumb tracking or the wheel leads to: clamped and snapped.
    int clampAndSnap(bool horz, int position) const;
    int wheelTarget(int delta) const { return clampAndSnap(false, VerPos - delta); }
    // Stores a position clamped to 0..maximum; true when it changed.
    bool setPosition(bool horz, int position);

    int firstVisibleRow() const;
    int lastVisibleRow() const;
    // Width of the vertical bar (height of the horizontal one) when the other bar is shown.
    int barThickness(bool horz) const;

    // The positions that bring the cell into view; false when nothing needs to scroll.
    bool scrollIntoView(int col, int row, int& horPos, int& verPos) const;

    int CalcGridWidth() const;
    int CalcGridHeight() const;

    // Layout values, read by the rest of the grid.
    int DataLeft = 0;
    int DataTop = 0;
    int TotalWidth = 0;
    int TotalHeight = 0;
    int HorPos = 0;
    int HorMax = 0;
    int VerPos = 0;
    int VerMax = 0;
    int VisibleRight = 0;
    int VisibleBottom = 0;
    int PageWidth = 0;
    int PageHeight = 0;
    bool HorBarVisible = false;
    bool VerBarVisible = false;
    int ClientWidth = 0;
    int ClientHeight = 0;

private:
    void refreshSums() const;
    int sizeOf(bool horz, int index) const;
    int edgeOf(bool horz, int index) const { return horz ? colLeft(index) : rowTop(index); }
    int countOf(bool horz) const { return horz ? Cells.colCount() : Cells.rowCount(); }
    // First column (row) whose leading edge is at or after the position; count + 1 when none.
    int firstEdgeAtOrAfter(bool horz, int position) const;

    TovGridCells& Cells;
    // ColLefts[c] = left of column c (c = 0 .. ColCount + 1); RowTops likewise.
    mutable std::vector<int> ColLefts;
    mutable std::vector<int> RowTops;
    mutable quint64 SumsVersion = ~quint64(0);
};
