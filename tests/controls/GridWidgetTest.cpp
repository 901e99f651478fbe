#include "GridTestSupport.h"

#include "controls/GridPainter.h"

#include <gtest/gtest.h>

namespace {

using gridtest::ShownGrid;
using Events = std::vector<std::string>;

TEST(GridWidget, KeyMovesFireColRowChangedBeforeSelectCell) {
    ShownGrid g(4, 3);
    g.grid.setFocus();
    g.key(Qt::Key_Right);
    g.key(Qt::Key_Down);
    EXPECT_EQ(g.events, (Events{"ColRow 2,1", "Select 2,1", "ColRow 2,2", "Select 2,2"}));
    g.events.clear();
    g.key(Qt::Key_End, Qt::ControlModifier);
    g.key(Qt::Key_Right); // the last column under mwNone: no move, the cell is selected again
    EXPECT_EQ(g.events, (Events{"ColRow 4,3", "Select 4,3", "Select 4,3"}));
    g.events.clear();
    g.key(Qt::Key_Home);
    g.key(Qt::Key_Return); // moves down
    g.key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(g.events,
              (Events{"ColRow 1,3", "Select 1,3", "Select 1,3", "ColRow 1,2", "Select 1,2"}));
    g.grid.setMoveWrap(mwGrid);
    g.grid.MoveToCell(4, 3);
    g.key(Qt::Key_Right);
    EXPECT_EQ(g.grid.getCurrentCol(), 1);
    EXPECT_EQ(g.grid.getCurrentRow(), 1);
}

TEST(GridWidget, ShiftArrowsExtendTheSelectionWithoutMovingTheCurrentCell) {
    ShownGrid g(4, 3);
    g.grid.setAllowSelectCells(true);
    g.grid.MoveToCell(3, 2);
    g.key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(g.grid.getSelection(), QRect(QPoint(2, 2), QPoint(3, 2)));
    EXPECT_EQ(g.grid.getCurrentCol(), 3);
    g.events.clear();
    g.key(Qt::Key_Left); // a range is selected: the plain key only ends the extension
    EXPECT_TRUE(g.events.empty());
    EXPECT_EQ(g.grid.getCurrentCol(), 3);
    g.key(Qt::Key_Left, Qt::ShiftModifier); // starts anew from the current cell
    EXPECT_EQ(g.grid.getSelection(), QRect(QPoint(2, 2), QPoint(3, 2)));
    // Without the option Shift+Left extends nothing.
    ShownGrid h(4, 3);
    h.grid.MoveToCell(3, 2);
    h.key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(h.grid.getSelection(), QRect(QPoint(3, 2), QPoint(3, 2)));
}

TEST(GridWidget, ClicksSelectFocusAndReportTheCell) {
    ShownGrid g(4, 3);
    g.grid.setCellCanSelect(2, 2, false);
    g.grid.activateWindow();
    (void)QTest::qWaitForWindowActive(&g.grid);
    g.grid.clearFocus();
    g.click(g.centre(2, 2)); // cannot be selected: no move, no focus
    EXPECT_FALSE(g.grid.hasFocus());
    EXPECT_EQ(g.grid.getCurrentCol(), 1);
    g.click(QPoint(5, g.centre(1, 3).y())); // gutter: focus without a move
    EXPECT_TRUE(g.grid.hasFocus());
    EXPECT_EQ(g.grid.getCurrentRow(), 1);
    g.events.clear();
    const QPoint beyond(g.grid.geometry().cellRect(4, 3).Right + 5, g.centre(4, 3).y());
    g.click(beyond);
    EXPECT_EQ(g.events, (Events{"ColRow 4,3", "Select 4,3", "Click 4,3"}));
}

TEST(GridWidget, DraggingAColumnBorderResizesTheColumnToItsLeft) {
    ShownGrid g(4, 3);
    g.grid.setOptions({goResizeCol, goAutoSizeCol});
    const TovGridGeometry& geo = g.grid.geometry();
    const int edge = geo.DataLeft + geo.colLeft(3) - geo.HorPos;
    const QPoint grab(edge - 1, 5);
    g.mouse(QEvent::MouseMove, grab, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(g.viewport()->cursor().shape(), Qt::SplitHCursor);
    g.mouse(QEvent::MouseButtonPress, grab);
    g.mouse(QEvent::MouseMove, QPoint(edge + 30, 5), Qt::NoButton, Qt::LeftButton);
    g.mouse(QEvent::MouseButtonRelease, QPoint(edge + 30, 5), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(g.grid.getColWidths(2), 64 + 30);
    EXPECT_EQ(g.grid.getColWidths(3), 64);
    EXPECT_EQ(g.events.back(), "ColWidth 2");
    // The last column's right edge cannot be grabbed.
    const int last = geo.DataLeft + geo.colLeft(5) - geo.HorPos;
    g.mouse(QEvent::MouseMove, QPoint(last, 5), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(g.viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST(GridWidget, PixelsShowSelectionDisabledColourUnusedAreaAndGutterPointer) {
    ShownGrid g(3, 2, 400, 200);
    g.grid.setAllowSelectCells(true);
    g.grid.setUnUsedColor(clAqua);
    g.grid.setGutterKind(gkPointer);
    g.grid.setFocus();
    g.grid.MoveToCell(2, 1);
    g.key(Qt::Key_Right, Qt::ShiftModifier);
    QImage image = g.image();
    // The extended cell takes the selection colour, the current cell keeps its own.
    EXPECT_EQ(image.pixelColor(g.centre(3, 1)), gridColor(clHighlight));
    EXPECT_EQ(image.pixelColor(g.centre(2, 1)), gridColor(clWindow));
    EXPECT_EQ(image.pixelColor(g.centre(1, 2)), gridColor(clWindow));
    // Right of and below the cells.
    EXPECT_EQ(image.pixelColor(QPoint(390, 100)), gridColor(clAqua));
    EXPECT_EQ(image.pixelColor(QPoint(100, 150)), gridColor(clAqua));
    // The pointer's left side in the current row of the gutter.
    const int top = g.grid.geometry().clientRowTop(1);
    const int x = (g.grid.getGutterWidth() - 8) / 2;
    EXPECT_EQ(image.pixelColor(QPoint(x, top + 9)), gridColor(clBtnShadow));
    EXPECT_EQ(image.pixelColor(QPoint(x, g.grid.geometry().clientRowTop(2) + 9)),
              gridColor(clBtnFace));
    g.grid.setEnabled(false);
    image = g.image();
    EXPECT_EQ(image.pixelColor(g.centre(3, 1)), gridColor(clBtnFace));
    EXPECT_EQ(image.pixelColor(g.centre(1, 2)), gridColor(clBtnFace));
    EXPECT_EQ(image.pixelColor(g.centre(2, 1)), gridColor(clBtnFace));
}

TEST(GridWidget, NoColumnsPaintsOnlyTheUnusedColour) {
    ShownGrid g(0, 3);
    g.grid.setUnUsedColor(clYellow);
    const QImage image = g.image();
    EXPECT_EQ(image.pixelColor(QPoint(5, 5)), gridColor(clYellow));
    EXPECT_EQ(image.pixelColor(QPoint(200, 100)), gridColor(clYellow));
    g.key(Qt::Key_Right);
    EXPECT_EQ(g.grid.getCurrentCol(), -1);
}

} // namespace
