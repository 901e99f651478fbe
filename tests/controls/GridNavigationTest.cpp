#include "controls/GridNavigation.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using Cells = std::set<std::pair<int, int>>;

// A C x R grid where the listed cells cannot be selected.
TovGridNavigation grid(int cols, int rows, TMoveWrap wrap, Cells blocked = {}) {
    return TovGridNavigation(cols, rows, wrap, [blocked](int c, int r) {
        return c >= 1 && r >= 1 && !blocked.count({c, r});
    });
}

Cells column(int c, int rows) {
    Cells result;
    for (int r = 1; r <= rows; ++r) {
        result.insert({c, r});
    }
    return result;
}

TEST(GridNavigation, EveryMoveRuleOfEachWrapCase) {
    struct Case {
        TMoveWrap wrap;
        TGridMove move;
        QPoint from;
        QPoint expected;
        Cells blocked;
    };
    const Cells cols3to4 = [] {
        Cells c = column(3, 3);
        c.merge(column(4, 3));
        return c;
    }();
    const Case cases[] = {
        // mwNone: along the row or column, stopping at the edge.
        {mwNone, TGridMove::NextCol, {4, 3}, {4, 3}, {}},
        {mwNone, TGridMove::PrevCol, {1, 2}, {1, 2}, {}},
        {mwNone, TGridMove::NextCol, {2, 2}, {4, 2}, column(3, 3)},
        {mwNone, TGridMove::NextCol, {2, 2}, {2, 2}, cols3to4},
        {mwNone, TGridMove::NextRow, {2, 1}, {2, 2}, {}},
        {mwNone, TGridMove::PrevRow, {2, 1}, {2, 1}, {}},
        // mwSameColRow: wrap around within the row or column.
        {mwSameColRow, TGridMove::NextCol, {4, 3}, {1, 3}, {}},
        {mwSameColRow, TGridMove::PrevCol, {1, 2}, {4, 2}, {}},
        {mwSameColRow, TGridMove::NextRow, {2, 3}, {2, 1}, {}},
        {mwSameColRow, TGridMove::PrevRow, {2, 1}, {2, 2}, {{2, 3}}},
        // mwColsRows: reading order, stopping at the ends.
        {mwColsRows, TGridMove::NextCol, {4, 3}, {4, 3}, {}},
        {mwColsRows, TGridMove::NextCol, {4, 2}, {1, 3}, {}},
        {mwColsRows, TGridMove::PrevCol, {1, 3}, {4, 2}, {}},
        {mwColsRows, TGridMove::PrevCol, {1, 1}, {1, 1}, {}},
        {mwColsRows, TGridMove::NextRow, {2, 3}, {3, 1}, {}},
        {mwColsRows, TGridMove::NextRow, {4, 3}, {4, 3}, {}},
        {mwColsRows, TGridMove::PrevRow, {3, 1}, {2, 3}, {}},
        {mwColsRows, TGridMove::NextCol, {3, 3}, {3, 3}, {{4, 3}}},
        // mwGrid: reading order with wrap from the last cell to the first and back.
        {mwGrid, TGridMove::NextCol, {4, 3}, {1, 1}, {}},
        {mwGrid, TGridMove::PrevCol, {1, 1}, {4, 3}, {}},
        {mwGrid, TGridMove::NextRow, {2, 3}, {3, 1}, {}},
        {mwGrid, TGridMove::NextRow, {4, 3}, {1, 1}, {}},
        {mwGrid, TGridMove::PrevRow, {1, 1}, {4, 3}, {}},
        {mwGrid, TGridMove::NextCol, {4, 3}, {2, 1}, {{1, 1}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(grid(4, 3, c.wrap, c.blocked).moveTarget(c.move, c.from), c.expected)
            << "wrap " << static_cast<int>(c.wrap) << " move " << static_cast<int>(c.move)
            << " from " << c.from.x() << "," << c.from.y();
    }
}

TEST(GridNavigation, NoSelectableCellMeansNoMove) {
    Cells all;
    for (int c = 1; c <= 4; ++c) {
        all.merge(column(c, 3));
    }
    for (TMoveWrap wrap : {mwNone, mwSameColRow, mwColsRows, mwGrid}) {
        EXPECT_EQ(grid(4, 3, wrap, all).moveTarget(TGridMove::NextCol, {2, 2}), QPoint(2, 2));
    }
    EXPECT_FALSE(grid(4, 3, mwNone, all).homeTarget({3, 2}));
    EXPECT_FALSE(grid(4, 3, mwNone, all).ctrlEndTarget());
}

TEST(GridNavigation, HomeAndCtrlHomeAndCtrlEndSkipCellsThatCannotBeSelected) {
    EXPECT_EQ(*grid(4, 3, mwNone).homeTarget({3, 2}), QPoint(1, 2));
    EXPECT_EQ(*grid(4, 3, mwNone, {{1, 2}}).homeTarget({3, 2}), QPoint(2, 2));
    EXPECT_EQ(*grid(4, 3, mwNone, {{1, 1}, {2, 1}}).ctrlHomeTarget({3, 2}), QPoint(3, 1));
    EXPECT_EQ(*grid(4, 3, mwNone).ctrlEndTarget(), QPoint(4, 3));
    EXPECT_EQ(*grid(4, 3, mwNone, {{4, 3}, {3, 3}}).ctrlEndTarget(), QPoint(2, 3));
    EXPECT_EQ(*grid(4, 3, mwNone, column(4, 3)).ctrlEndTarget(), QPoint(3, 3));
}

TEST(GridNavigation, PageMovesKeepTheDistanceFromTheTopRow) {
    TovGridCells cells;
    cells.setColCount(2);
    cells.setRowCount(30);
    for (int r = 1; r <= 30; ++r) {
        cells.setRowHeight(r, 24);
    }
    TovGridGeometry geometry(cells);
    geometry.layout(300, 200);
    const TovGridNavigation nav = grid(2, 30, mwNone);
    EXPECT_EQ(nav.pageDownRow(geometry, 1, 3), 10);
    EXPECT_EQ(geometry.VerPos, 168);
    EXPECT_EQ(nav.pageUpRow(geometry, 1, 10), 3);
    EXPECT_EQ(geometry.VerPos, 24 - 24); // 168 - 182 clamps to 0
    // At the end Page Down goes to the last row.
    geometry.VerPos = 23 * 24 - 24; // row 23 at the top, row 30 the last visible row
    EXPECT_EQ(nav.pageDownRow(geometry, 1, 28), 30);
    // A row that cannot be selected is stepped over downwards.
    geometry.VerPos = 0;
    EXPECT_EQ(grid(2, 30, mwNone, {{1, 10}}).pageDownRow(geometry, 1, 3), 11);
}

} // namespace
