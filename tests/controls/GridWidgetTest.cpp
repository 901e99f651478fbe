#include "GridTestSupport.h"

#include "controls/GridPainter.h"

#include <QScrollBar>
#include <QWheelEvent>
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
    // A double-click on the border sizes the column to its content.
    g.grid.setCells(2, 1, QStringLiteral("content"));
    const int moved = geo.DataLeft + geo.colLeft(3) - geo.HorPos;
    g.mouse(QEvent::MouseMove, QPoint(moved - 1, 5), Qt::NoButton, Qt::NoButton);
    g.mouse(QEvent::MouseButtonDblClick, QPoint(moved - 1, 5));
    EXPECT_EQ(g.grid.getColWidths(2), g.grid.CalcColMinWidths(2, true, true));
    EXPECT_LT(g.grid.getColWidths(2), 64 + 30);
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
    EXPECT_EQ(image.pixelColor(QPoint(5, 150)), gridColor(clAqua)); // below the gutter
    EXPECT_EQ(image.pixelColor(QPoint(390, 5)), gridColor(clAqua)); // right of the header
    // The pointer's left side in the current row of the gutter.
    const int top = g.grid.geometry().clientRowTop(1);
    const int x = (g.grid.getGutterWidth() - 8) / 2;
    EXPECT_EQ(image.pixelColor(QPoint(x, top + 9)), gridColor(clBtnShadow));
    EXPECT_EQ(image.pixelColor(QPoint(x, g.grid.geometry().clientRowTop(2) + 9)),
              gridColor(clBtnFace));
    // A side in its own colour, shared with the neighbour.
    g.grid.setCellGridLineRightColor(2, 2, clRed);
    image = g.image();
    const TGridRect cell = g.grid.geometry().cellRect(2, 2);
    EXPECT_EQ(image.pixelColor(QPoint(cell.Right - 1, cell.Top + 5)), gridColor(clRed));
    EXPECT_EQ(image.pixelColor(QPoint(cell.Left, cell.Top + 5)), gridColor(clSilver));
    g.grid.setEnabled(false);
    image = g.image();
    EXPECT_EQ(image.pixelColor(g.centre(3, 1)), gridColor(clBtnFace));
    EXPECT_EQ(image.pixelColor(g.centre(1, 2)), gridColor(clBtnFace));
    EXPECT_EQ(image.pixelColor(g.centre(2, 1)), gridColor(clBtnFace));
}

TEST(GridWidget, ScrollBarAndWheelSnapToRowEdges) {
    ShownGrid g(3, 40, 300, 200);
    g.grid.setDefaultRowHeight(24);
    QScrollBar* bar = g.grid.verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    bar->setValue(30); // the thumb dragged to 30
    EXPECT_EQ(g.grid.getVerPosition(), 48);
    EXPECT_EQ(bar->value(), 48);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g.grid.getVerPosition(), 72);
    const QPointF at(50, 50);
    QWheelEvent wheel(at, g.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(g.viewport(), &wheel);
    EXPECT_EQ(g.grid.getVerPosition(), 192);
    // A move scrolls the new current cell into view.
    g.grid.MoveToCell(1, 40);
    EXPECT_EQ(g.grid.getVerPosition(), g.grid.geometry().VerMax);
    g.events.clear();
    g.click(QPoint(5, 100)); // the gutter reports column 0
    EXPECT_EQ(g.events.back(), "Click 0," + std::to_string(g.grid.geometry().rowAt(100)));
}

TEST(GridWidget, GutterPictureIsPlacedCentredOrStretchedInItsCell) {
    const QRect cell(0, 10, 40, 24);
    const struct {
        QSize picture;
        THorAlign ha;
        TVerAlign va;
        bool center, stretch;
        QRect box, target;
    } cases[] = {
        // A picture that fits: every mode draws it at its place.
        {{16, 16}, haRight, vaCenter, false, false, {20, 14, 16, 16}, {20, 14, 16, 16}},
        {{16, 16}, haLeft, vaTop, true, false, {4, 12, 16, 16}, {4, 12, 16, 16}},
        {{16, 16}, haCenter, vaBottom, false, true, {12, 16, 16, 16}, {12, 16, 16, 16}},
        // Taller than the row: cut to the cell; its top part, its middle, or shrunk.
        {{16, 30}, haRight, vaCenter, false, false, {20, 10, 16, 24}, {20, 10, 16, 30}},
        {{16, 30}, haRight, vaCenter, true, false, {20, 10, 16, 24}, {20, 7, 16, 30}},
        {{16, 30}, haRight, vaCenter, false, true, {20, 10, 16, 24}, {20, 10, 16, 24}},
    };
    for (const auto& c : cases) {
        const TGutterImagePlace place =
            gutterImagePlace(cell, c.picture, c.ha, c.va, c.center, c.stretch);
        EXPECT_EQ(place.Box, c.box) << c.picture.height() << " " << c.center << c.stretch;
        EXPECT_EQ(place.Target, c.target) << c.picture.height() << " " << c.center << c.stretch;
    }
}

// A transparent gutter picture lets the gutter show through its background (its own alpha, or
// the colour of its bottom-left pixel when it has none); an opaque one shows on the window colour.
TEST(GridWidget, GutterPictureTransparencyFollowsTheProperty) {
    QImage keyed(12, 12, QImage::Format_RGB32);
    keyed.fill(QColor(Qt::magenta));
    QImage alpha(12, 12, QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    for (QImage* image : {&keyed, &alpha}) {
        for (int y = 4; y < 8; ++y) {
            for (int x = 4; x < 8; ++x) {
                image->setPixelColor(x, y, Qt::black);
            }
        }
    }
    const struct {
        const QImage* picture;
        bool transparent;
        QColor corner;
    } cases[] = {
        {&keyed, true, gridColor(clBtnFace)},
        {&keyed, false, QColor(Qt::magenta)},
        {&alpha, true, gridColor(clBtnFace)},
        {&alpha, false, gridColor(clWindow)},
    };
    for (const auto& c : cases) {
        ShownGrid g(2, 2);
        g.grid.setGutterKind(gkNumber);
        g.grid.setGutterWidth(40);
        g.grid.setDefaultRowHeight(24);
        g.grid.setGutterImagePicture(QPixmap::fromImage(*c.picture));
        g.grid.setGutterImageTransparent(c.transparent);
        g.grid.setGutterImageVisible(1, true);
        const QImage image = g.image();
        const int top = g.grid.geometry().clientRowTop(1) + (24 - 12) / 2;
        const int left = 40 - 12 - 4;
        EXPECT_EQ(image.pixelColor(left + 5, top + 5), QColor(Qt::black)) << c.transparent;
        EXPECT_EQ(image.pixelColor(left + 1, top + 1), c.corner)
            << c.picture->hasAlphaChannel() << " " << c.transparent;
    }
}

// A new control font reaches the linked gutter, header and home fonts with their styles, as
// setting each of them would; an unlinked one keeps its own.
TEST(GridWidget, ControlFontStylesReachTheLinkedGutterAndHeaderValues) {
    TovGrid grid;
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setLinkHeaderFont(false);
    QFont font = grid.font();
    font.setBold(true);
    font.setItalic(true);
    grid.setFont(font);
    EXPECT_TRUE(grid.getGutterCellFontBold(2));
    EXPECT_TRUE(grid.getGutterCellFontItalic(1));
    EXPECT_TRUE(grid.getGutterFont().bold());
    EXPECT_TRUE(grid.getHomeFont().italic());
    EXPECT_FALSE(grid.getHeaderCellFontBold(1)) << "the header font is not linked";
    grid.setLinkHeaderFont(true);
    EXPECT_TRUE(grid.getHeaderCellFontBold(1));
    EXPECT_TRUE(grid.getHeaderCellFontItalic(2));
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
