#include "controls/ovGrid.h"
#include "controls/ovVLabel.h"
#include "support/FixedTextMeasurer.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;

QString chars(int n) {
    return QString(n, QLatin1Char('w'));
}

TEST(GridAutoSize, MergedCellWidensTheNarrowestColumnsPixelByPixel) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 2));
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(2);
    grid.setCells(1, 2, chars(11)); // 22 + 8 = 30
    grid.setCells(2, 2, chars(16)); // 32 + 8 = 40
    grid.setCells(1, 1, chars(46)); // 92 + 8 = 100 over columns 1 and 2
    grid.MergeCells(1, 1, 2, 1);
    grid.AutoSizeMergedCols(false);
    EXPECT_EQ(grid.getColWidths(1), 50);
    EXPECT_EQ(grid.getColWidths(2), 50);
    EXPECT_EQ(grid.getColWidths(3), 8);
    // Without the merged area's own width, AutoSizeCols counts the top-left cell fully.
    grid.AutoSizeCols(false);
    EXPECT_EQ(grid.getColWidths(1), 100);
}

TEST(GridAutoSize, ColumnsFitTheirWidestCellOrHeader) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.setCells(1, 3, chars(10));
    grid.setHeaderCellText(2, chars(4));
    grid.setOptions({goAutoSizeLastCol});
    grid.AutoSizeCols(true);
    EXPECT_EQ(grid.getColWidths(1), 68);
    EXPECT_EQ(grid.getColWidths(2), 32);
    grid.AutoSizeCols(false);
    EXPECT_EQ(grid.getColWidths(2), 8);
    grid.setColMinWidths(2, 20);
    grid.AutoSizeCols(false);
    EXPECT_EQ(grid.getColWidths(2), 20);
}

TEST(GridAutoSize, CellMinimumsByEditorKind) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 5));
    QWidget form;
    TovGrid grid(&form);
    grid.setColCount(4);
    grid.setRowCount(2);
    auto* button = new QPushButton(&form);
    button->resize(30, 20);
    auto* box = new QComboBox(&form);
    box->addItems({QStringLiteral("ab"), QStringLiteral("abcdef")});
    box->resize(60, 21);
    const int bar = grid.geometry().Settings.ScrollBarExtent;
    grid.setCells(1, 1, QStringLiteral("abcd"));
    grid.setCellEditor(2, 1, ceBtn);
    grid.setCellEditorControl(2, 1, button);
    grid.setCellEditor(3, 1, ceDDL);
    grid.setCellEditorControl(3, 1, box);
    grid.setCellEditor(4, 1, ceDD);
    grid.setCellEditorControl(4, 1, box);
    grid.setCellEditor(4, 2, ceSBtn); // no control: the grid minimum
    EXPECT_EQ(grid.CalcCellMinWidths(1, 1, true), 20 + 8);
    EXPECT_EQ(grid.CalcCellMinWidths(2, 1, true), 30 + 1);
    grid.setCells(2, 1, QStringLiteral("ab"));
    EXPECT_EQ(grid.CalcCellMinWidths(2, 1, true), 10 + 30 + 8);
    // At least the longest item with a scroll bar's width and 8 beside it; more where the
    // box's style needs more room for its frame and arrow.
    const int ddl = grid.CalcDDLMinWidth(3, 1);
    EXPECT_GE(ddl, 30 + bar + 8);
    EXPECT_EQ(grid.CalcCellMinWidths(3, 1, true), ddl + 5);
    EXPECT_EQ(grid.CalcCellMinWidths(4, 1, true), grid.CalcDDLMinWidth(4, 1) + 5);
    EXPECT_EQ(grid.CalcCellMinWidths(4, 2, true), 8);
    EXPECT_EQ(grid.CalcDDLMinWidth(1, 1), grid.getColWidths(1));
    EXPECT_EQ(grid.CalcCellMinHeights(1, 1, true), 13 + 4);
    EXPECT_EQ(grid.CalcCellMinHeights(3, 1, true), 21 + 3);
}

TEST(GridAutoSize, RowHeightFollowsWrappedLinesAndTheGutter) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    TovGrid grid;
    grid.setColCount(2);
    grid.setRowCount(2);
    grid.setCells(1, 1, QStringLiteral("a\r\nb"));
    grid.AdjustRowHeight(1, false);
    EXPECT_EQ(grid.getRowHeights(1), 17);
    grid.setRowWordWrap(1, true);
    grid.AdjustRowHeight(1, false);
    EXPECT_EQ(grid.getRowHeights(1), 30);
    grid.setGutterKind(gkPointer);
    grid.setCells(1, 2, QString());
    EXPECT_EQ(grid.CalcRowMinHeights(2, true, true), 13 + 4);
    EXPECT_EQ(grid.CalcRowMinHeights(2, false, true), 17);
}

TEST(GridAutoSize, GutterFitsTheWidestRowNumber) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 7));
    TovGrid grid;
    grid.setColCount(1);
    grid.setRowCount(12);
    grid.setGutterKind(gkNumber);
    grid.AutoSizeGutter(false);
    EXPECT_EQ(grid.getGutterWidth(), 2 * 7 + 8);
    grid.setHomeText(chars(5));
    grid.AutoSizeGutter(true);
    EXPECT_EQ(grid.getGutterWidth(), 5 * 7 + 8);
    grid.setGutterKind(gkPointer);
    grid.setHomeText(QString());
    grid.AutoSizeGutter(true);
    EXPECT_EQ(grid.getGutterWidth(), 16);
}

// A gutter picture at either side adds its width and a margin to the widest text; a centred one
// shares the text's room, so the rows ask for nothing and only the home text counts.
TEST(GridAutoSize, GutterMakesRoomForAPictureBesideTheText) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 7));
    const struct {
        THorAlign align;
        bool homeText;
        int width;
    } cases[] = {
        {haLeft, false, 10 * 7 + 16 + 12},
        {haRight, true, 10 * 7 + 16 + 12},
        {haCenter, true, 3 * 7 + 8},
        {haCenter, false, 77}, // nothing asked: the width stays
    };
    for (const auto& c : cases) {
        TovGrid grid;
        grid.setColCount(1);
        grid.setRowCount(2);
        grid.setGutterKind(gkString);
        grid.setGutterWidth(77);
        grid.setGutterCellText(1, chars(10));
        grid.setGutterCellText(2, chars(4));
        grid.setHomeText(chars(3));
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        grid.setGutterImagePicture(picture);
        grid.setGutterImageHorAlign(c.align);
        grid.AutoSizeGutter(c.homeText);
        EXPECT_EQ(grid.getGutterWidth(), c.width) << c.align << " " << c.homeText;
    }
}

TEST(GridAutoSize, MergeOfABadOrReversedRectangleChangesNothing) {
    TovGrid grid;
    grid.setColCount(3);
    grid.setRowCount(3);
    grid.MergeCells(3, 1, 2, 1);
    grid.MergeCells(1, 1, 4, 1);
    for (int c = 1; c <= 3; ++c) {
        EXPECT_EQ(grid.getCellMergedState(c, 1), cmsNone);
    }
    // A single cell merge is undone by the next selection change.
    grid.MergeCells(2, 2, 2, 2);
    EXPECT_EQ(grid.getCellMergedState(2, 2), cmsNone);
}

TEST(RotatedLabel, AutoSizeTakesTheRotatedCaptionsSize) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(14, 7));
    TovVLabel label;
    label.setCaption(QStringLiteral(" Quantity "));
    EXPECT_EQ(label.getTextWidth(), 70);
    EXPECT_EQ(label.getTextHeight(), 14);
    EXPECT_EQ(label.size(), QSize(14, 70));
    label.setAutoSize(false);
    label.resize(30, 100);
    label.setCaption(QStringLiteral("ab"));
    EXPECT_EQ(label.size(), QSize(30, 100));
}

TEST(RotatedLabel, CaptionReadsUpwardFromTheBottomWhenLeftJustified) {
    TovVLabel label;
    label.setAutoSize(false);
    label.setColor(clWhite);
    label.setFontColor(clBlack);
    QFont font = label.font();
    font.setPixelSize(14);
    label.setFont(font);
    label.setCaption(QStringLiteral("MMMM"));
    label.resize(30, 200);
    auto inked = [&label](int top, int bottom) {
        const QImage image = label.grab().toImage();
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(Qt::white)) {
                    return true;
                }
            }
        }
        return false;
    };
    label.setAlignment(Qt::AlignLeft);
    EXPECT_TRUE(inked(150, 200));
    EXPECT_FALSE(inked(0, 100));
    label.setAlignment(Qt::AlignRight);
    EXPECT_TRUE(inked(0, 50));
    EXPECT_FALSE(inked(100, 200));
}

TEST(RotatedLabel, TransparentLabelLeavesItsBackgroundUnpainted) {
    QWidget parent;
    parent.resize(60, 120);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::red);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto* label = new TovVLabel(&parent);
    label->setColor(clWhite);
    label->setCaption(QStringLiteral("x"));
    label->setAutoSize(false);
    label->setGeometry(0, 0, 40, 100);
    EXPECT_EQ(parent.grab().toImage().pixelColor(35, 5), QColor(Qt::white));
    label->setTransparent(true);
    EXPECT_EQ(parent.grab().toImage().pixelColor(35, 5), QColor(Qt::red));
}

} // namespace
