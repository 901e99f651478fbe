#include "controls/GridGeometry.h"

#include <gtest/gtest.h>

namespace {

// A grid of equal columns and rows laid out in a client area, without a window.
struct GeometryFixture {
    GeometryFixture(int cols, int rows, int colWidth, int rowHeight, int clientWidth,
                    int clientHeight, TGridLayoutSettings settings = {}) {
        cells.setColCount(cols);
        cells.setRowCount(rows);
        for (int c = 1; c <= cols; ++c) {
            cells.setColWidth(c, colWidth);
        }
        for (int r = 1; r <= rows; ++r) {
            cells.setRowHeight(r, rowHeight);
        }
        geometry.Settings = settings;
        geometry.layout(clientWidth, clientHeight);
    }
    TovGridCells cells;
    TovGridGeometry geometry{cells};
};

TGridLayoutSettings plain() {
    TGridLayoutSettings s;
    s.GutterKind = gkNone;
    s.ShowHeader = false;
    return s;
}

TEST(GridGeometry, GridSizeCountsGutterHeaderAndCells) {
    GeometryFixture f(7, 3, 110, 17, 300, 200, plain());
    EXPECT_EQ(f.geometry.CalcGridWidth(), 774);
    EXPECT_EQ(f.geometry.CalcGridHeight(), 3 * 17 + 4);
    GeometryFixture g(2, 2, 64, 18, 300, 200);
    EXPECT_EQ(g.geometry.CalcGridWidth(), 20 + 128 + 4);
    EXPECT_EQ(g.geometry.CalcGridHeight(), 18 + 36 + 4);
}

TEST(GridGeometry, CellRectanglesShareTheirBorderLine) {
    GeometryFixture f(3, 3, 50, 20, 300, 200);
    EXPECT_EQ(f.geometry.cellRect(1, 1), (TGridRect{19, 17, 70, 38}));
    EXPECT_EQ(f.geometry.cellRect(2, 1), (TGridRect{69, 17, 120, 38}));
    EXPECT_EQ(f.geometry.areaRect(1, 1, 2, 2), (TGridRect{19, 17, 120, 58}));
    EXPECT_TRUE(f.geometry.cellRect(-1, 1).isEmpty());
}

TEST(GridGeometry, HitTestFindsTheCellUnderThePoint) {
    GeometryFixture f(3, 4, 50, 20, 300, 200);
    struct Case {
        int x, y, col, row;
    };
    const Case cases[] = {
        {5, 5, 0, 0},    // home cell
        {10, 30, 0, 1},  // gutter
        {30, 5, 1, 0},   // header
        {21, 19, 1, 1},  // first pixel inside the first cell
        {70, 38, 1, 1},  // last pixel of the first cell
        {71, 39, 2, 2},  // next cell
        {175, 30, 3, 1}, // 5 pixels right of the last column
        {30, 190, 1, 4}, // below the last row
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f.geometry.colAt(c.x), c.col) << c.x << "," << c.y;
        EXPECT_EQ(f.geometry.rowAt(c.y), c.row) << c.x << "," << c.y;
    }
}

TEST(GridGeometry, LayoutShowsBarsOnlyWhenNeededAndAllowed) {
    GeometryFixture f(3, 20, 50, 24, 300, 200);
    EXPECT_FALSE(f.geometry.HorBarVisible);
    EXPECT_TRUE(f.geometry.VerBarVisible);
    EXPECT_EQ(f.geometry.VerMax, 20 * 24 + 18 - 200);
    EXPECT_EQ(f.geometry.PageHeight, 182);
    TGridLayoutSettings horizontalOnly;
    horizontalOnly.ScrollBarKind = ssHorizontal;
    GeometryFixture g(3, 20, 50, 24, 300, 200, horizontalOnly);
    EXPECT_FALSE(g.geometry.VerBarVisible);
    EXPECT_EQ(g.geometry.VerMax, 298); // still scrolls by keyboard
}

TEST(GridGeometry, AutoSizedLastColumnFillsTheRestOrShrinksToOnePixel) {
    TGridLayoutSettings s = plain();
    s.Options = {goAutoSizeLastCol};
    GeometryFixture f(3, 2, 50, 18, 300, 200, s);
    EXPECT_EQ(f.cells.colWidth(3), 200);
    GeometryFixture g(3, 2, 200, 18, 300, 200, s);
    EXPECT_EQ(g.cells.colWidth(3), 1);
}

TEST(GridGeometry, ScrollStepsFollowRowsAndSnapWithoutSmoothScrolling) {
    // 20 rows of 24 pixels under a header of 18 in a client 200 high: page 182, maximum 298.
    struct Case {
        int from;
        TGridScrollRequest request;
        int expected;
    };
    const Case cases[] = {
        {0, TGridScrollRequest::LineForward, 24}, {48, TGridScrollRequest::LineBack, 24},
        {24, TGridScrollRequest::LineBack, 0},    {0, TGridScrollRequest::PageForward, 168},
        {168, TGridScrollRequest::PageBack, 24},  {100, TGridScrollRequest::ToStart, 0},
        {0, TGridScrollRequest::ToEnd, 298},      {288, TGridScrollRequest::LineForward, 298},
    };
    for (const Case& c : cases) {
        GeometryFixture f(3, 20, 50, 24, 300, 200);
        f.geometry.VerPos = c.from;
        EXPECT_EQ(f.geometry.scrollTarget(false, c.request), c.expected)
            << "from " << c.from << " request " << static_cast<int>(c.request);
    }
    GeometryFixture f(3, 20, 50, 24, 300, 200);
    EXPECT_EQ(f.geometry.clampAndSnap(false, 30), 48);
    EXPECT_EQ(f.geometry.clampAndSnap(false, -5), 0);
    EXPECT_EQ(f.geometry.wheelTarget(-120), 120);
    f.geometry.VerPos = 24;
    EXPECT_EQ(f.geometry.wheelTarget(-100), 144); // 124 snaps to the next row edge
    TGridLayoutSettings smooth;
    smooth.SmoothVerScroll = true;
    GeometryFixture s(3, 20, 50, 24, 300, 200, smooth);
    EXPECT_EQ(s.geometry.clampAndSnap(false, 30), 30);
}

TEST(GridGeometry, VisibleRowsAndScrollingACellIntoView) {
    GeometryFixture f(3, 20, 50, 24, 300, 200);
    EXPECT_EQ(f.geometry.firstVisibleRow(), 1);
    EXPECT_EQ(f.geometry.lastVisibleRow(), 8);
    f.geometry.VerPos = 30;
    EXPECT_EQ(f.geometry.firstVisibleRow(), 2);
    f.geometry.VerPos = 48;
    EXPECT_EQ(f.geometry.firstVisibleRow(), 3);
    int h = 0, v = 0;
    EXPECT_TRUE(f.geometry.scrollIntoView(1, 1, h, v));
    EXPECT_EQ(v, 0);
    EXPECT_FALSE(f.geometry.scrollIntoView(1, 5, h, v));
    EXPECT_TRUE(f.geometry.scrollIntoView(1, 12, h, v));
    EXPECT_EQ(v, 48 + (18 + 12 * 24 - 48) - 200);
    // Nothing scrolls when everything fits.
    GeometryFixture small(2, 2, 50, 20, 300, 200);
    EXPECT_FALSE(small.geometry.scrollIntoView(2, 2, h, v));
}

} // namespace
