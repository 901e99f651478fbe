#include "controls/GridCells.h"
#include "controls/ovGrid.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

namespace {

using testsupport::messageBoxes;

TEST(GridCells, NewCellsStartFromTheDefaults) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(4);
    const TovGridCells& cells = grid.cells();
    const TGridCell& cell = cells.cell(3, 4);
    EXPECT_TRUE(cell.Text.isEmpty());
    EXPECT_TRUE(cell.CanSelect);
    EXPECT_EQ(cell.Color, clWindow);
    EXPECT_EQ(cell.DDLItemIndex, -1);
    EXPECT_EQ(cell.Editor, ceNormal);
    EXPECT_EQ(cell.Font.Color, clBtnText);
    EXPECT_EQ(cell.LineLeftColor, clSilver);
    EXPECT_EQ(cell.HorAlign, haLeft);
    EXPECT_EQ(cell.VerAlign, vaCenter);
    EXPECT_EQ(cell.MergeState, cmsNone);
    EXPECT_EQ(grid.getColWidths(3), 64);
    EXPECT_EQ(grid.getRowHeights(4), 18);
    EXPECT_EQ(cells.column(3).Header.HorAlign, haCenter);
    EXPECT_EQ(cells.row(4).Gutter.HorAlign, haLeft);
    EXPECT_EQ(grid.getCurrentCol(), 1);
    EXPECT_EQ(grid.getCurrentRow(), 1);
}

TEST(GridCells, GridDefaultsOverwriteValuesSetOneByOne) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setCellFontBold(2, 2, false);
    grid.setGridFontBold(true);
    EXPECT_TRUE(grid.getCellFontBold(2, 2));
    grid.setCellColor(1, 1, clRed);
    grid.setColor(clYellow);
    EXPECT_EQ(grid.getCellColor(1, 1), clYellow);
    grid.setCellEllipsifyPath(2, 1, true);
    grid.setGridEllipsifyText(true);
    EXPECT_TRUE(grid.cells().cell(2, 1).EllipsifyText);
    EXPECT_FALSE(grid.cells().cell(2, 1).EllipsifyPath);
    grid.setGridColMinWidth(3);
    EXPECT_EQ(grid.getGridColMinWidth(), 8);
    grid.setGridRowMinHeight(-5);
    EXPECT_EQ(grid.getGridRowMinHeight(), 4);
}

TEST(GridCells, ReDimensioningKeepsWhatFitsAndCopiesRowAndColumnAttributes) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setCells(2, 2, QStringLiteral("kept"));
    grid.setCells(3, 3, QStringLiteral("cut"));
    // Row attributes go to the cells of a new column, column attributes to those of a new row.
    TovGridCells& cells = const_cast<TovGridCells&>(grid.cells());
    cells.row(2).Color = clAqua;
    cells.row(2).ReadOnly = true;
    cells.column(2).Color = clLime;
    cells.column(2).MaxLength = 7;
    grid.setColCount(4);
    EXPECT_EQ(grid.getCellColor(4, 2), clAqua);
    EXPECT_TRUE(grid.getCellReadOnly(4, 2));
    EXPECT_EQ(grid.getCellColor(4, 1), clWindow);
    grid.setRowCount(5);
    EXPECT_EQ(grid.getCellColor(2, 5), clLime);
    EXPECT_EQ(grid.cells().cell(2, 5).MaxLength, 7);
    EXPECT_EQ(grid.getCells(2, 2), QStringLiteral("kept"));
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setColCount(3);
    grid.setRowCount(3);
    EXPECT_EQ(grid.getCells(2, 2), QStringLiteral("kept"));
    EXPECT_TRUE(grid.getCells(3, 3).isEmpty());
}

TEST(GridCells, CountOfZeroLeavesNoCurrentCell) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    std::vector<std::pair<int, int>> changes;
    QObject::connect(&grid, &TovGrid::OnColRowChanged,
                     [&](int col, int row) { changes.emplace_back(col, row); });
    grid.setRowCount(0);
    EXPECT_EQ(grid.getCurrentCol(), -1);
    EXPECT_EQ(grid.getCurrentRow(), -1);
    grid.setRowCount(2);
    EXPECT_EQ(grid.getCurrentCol(), 1);
    EXPECT_EQ(grid.getCurrentRow(), 1);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0], std::make_pair(-1, -1));
    EXPECT_EQ(changes[1], std::make_pair(1, 1));
}

TEST(GridCells, BadIndexIsReportedColumnFirstAndChangesNothing) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(2);
    messageBoxes().shown.clear();
    grid.setCells(0, 1, QStringLiteral("x"));
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    // Three framed lines, one line break apart.
    EXPECT_EQ(messageBoxes().shown[0].text,
              QStringLiteral(" ovGrid.setCells Index is invalid. \r\n Valid Range: 1 to 3. \r\n"
                             " Index Value: 0. "));
    EXPECT_EQ(messageBoxes().shown[0].kind, platform::MessageBoxKind::Error);
    messageBoxes().shown.clear();
    EXPECT_TRUE(grid.getCells(9, 9).isEmpty());
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(QStringLiteral("1 to 3")));
    // Defaults returned on a bad index.
    messageBoxes().shown.clear();
    EXPECT_EQ(grid.getCellColor(1, 5), clWindow);
    EXPECT_EQ(grid.getCellDDLItemIndex(0, 1), -1);
    EXPECT_EQ(grid.getColWidths(4), 64);
    EXPECT_EQ(grid.getRowHeights(0), 18);
    EXPECT_EQ(grid.getCellEditor(0, 0), ceNormal);
    EXPECT_EQ(messageBoxes().shown.size(), 4u); // getCellEditor takes index 0
    EXPECT_EQ(grid.CalcColLeft(0), 0);
    EXPECT_EQ(messageBoxes().shown.size(), 4u);
}

TEST(GridCells, InternalSetCellFiresOnlyOnAChange) {
    TovGrid grid;
    std::vector<QString> events;
    QObject::connect(&grid, &TovGrid::OnCellChange,
                     [&](int, int, const QString& text) { events.push_back(text); });
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setCells(1, 1, QStringLiteral("a"));
    grid.InternalSetCell(1, 1, QStringLiteral("a"), true);
    grid.InternalSetCell(1, 1, QStringLiteral("b"), true);
    grid.InternalSetCell(1, 1, QStringLiteral("c"), false);
    EXPECT_EQ(events, std::vector<QString>{QStringLiteral("b")});
    EXPECT_EQ(grid.getCells(1, 1), QStringLiteral("c"));
}

TEST(GridCells, GridLineSidesAreSharedWithTheNeighbour) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    const TovGridCells& cells = grid.cells();
    grid.setCellGridLineRightColor(3, 2, clRed);
    EXPECT_EQ(cells.cell(3, 2).LineRightColor, clRed);
    grid.setCellGridLineRightColor(2, 2, clBlue);
    EXPECT_EQ(cells.cell(3, 2).LineLeftColor, clBlue);
    grid.setCellGridLineLeftColor(2, 2, clLime);
    EXPECT_EQ(cells.cell(1, 2).LineRightColor, clLime);
    grid.setCellGridLineTopColor(2, 2, clNavy);
    EXPECT_EQ(cells.cell(2, 1).LineBottomColor, clNavy);
    grid.setCellGridLineBottomColor(2, 2, clTeal);
    EXPECT_EQ(cells.cell(2, 3).LineTopColor, clTeal);
    grid.setCellGridLineTopColor(2, 1, clMaroon);
    EXPECT_EQ(cells.cell(2, 1).LineTopColor, clMaroon);
}

TEST(GridCells, MaximumLengthCutsLongerTextsButSetCellsMayStoreMore) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(2);
    grid.setCells(2, 1, QStringLiteral("abcdefgh"));
    grid.setCells(3, 1, QStringLiteral("abcdefgh"));
    grid.setColMaxLength(2, 5);
    EXPECT_EQ(grid.getCells(2, 1), QStringLiteral("abcde"));
    EXPECT_EQ(grid.getCells(3, 1), QStringLiteral("abcdefgh"));
    grid.setCells(2, 1, QStringLiteral("abcdefgh"));
    EXPECT_EQ(grid.getCells(2, 1), QStringLiteral("abcdefgh"));
    grid.setColMaxLength(3, 0);
    EXPECT_EQ(grid.getCells(3, 1), QStringLiteral("abcdefgh"));
}

TEST(GridCells, ClearCellsKeepsAttributesAndResetsDropDownIndexes) {
    TovGrid grid;
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setCells(1, 1, QStringLiteral(" x "));
    grid.setCellColor(1, 1, clRed);
    grid.setCellDDLItemIndex(1, 1, 3);
    EXPECT_FALSE(grid.IsEmpty());
    grid.setCells(1, 1, QStringLiteral("  "));
    EXPECT_TRUE(grid.IsEmpty());
    grid.ClearCells();
    EXPECT_EQ(grid.getCellColor(1, 1), clRed);
    EXPECT_EQ(grid.getCellDDLItemIndex(1, 1), -1);
    EXPECT_TRUE(grid.getCells(1, 1).isEmpty());
}

TEST(GridCells, MergeGrowsOverTouchedAreasAndEmptiesTheCoveredCells) {
    TovGridCells cells;
    cells.setColCount(5);
    cells.setRowCount(4);
    for (int c = 1; c <= 5; ++c) {
        for (int r = 1; r <= 4; ++r) {
            cells.cell(c, r).Text = QStringLiteral("%1,%2").arg(c).arg(r);
        }
    }
    cells.mergeCells(3, 2, 4, 3);
    cells.mergeCells(2, 2, 3, 2);
    EXPECT_EQ(cells.cell(2, 2).MergeState, cmsTopLeft);
    EXPECT_EQ(cells.mergedArea(2, 2), QRect(QPoint(2, 2), QPoint(4, 3)));
    EXPECT_EQ(cells.mergedArea(4, 3), QRect(QPoint(2, 2), QPoint(4, 3)));
    EXPECT_EQ(cells.cell(4, 3).MergeColOffset, -2);
    EXPECT_EQ(cells.cell(4, 3).MergeRowOffset, -1);
    EXPECT_EQ(cells.cell(2, 2).Text, QStringLiteral("2,2"));
    EXPECT_TRUE(cells.cell(3, 3).Text.isEmpty());
    EXPECT_EQ(cells.cell(5, 3).Text, QStringLiteral("5,3"));
    // Shrinking the grid cuts the area back; a single cell left over is no merge at all.
    cells.setColCount(2);
    EXPECT_EQ(cells.mergedArea(2, 2), QRect(QPoint(2, 2), QPoint(2, 3)));
    cells.setRowCount(2);
    EXPECT_EQ(cells.cell(2, 2).MergeState, cmsNone);
}

} // namespace
