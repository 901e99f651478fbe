#pragma once

#include "GridGeometry.h"
#include "GridTypes.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class TovGrid;

// Converts a colour value to the colour the grid paints with.
QColor gridColor(TColor value);

// Places a cell's text in its text rectangle: the lines, their positions and the caret point.
// Measures through the foundation's text measurer, so tests with fixed metrics get fixed
// positions.
struct TGridTextLayout {
    struct Line {
        QString Text;
        int X = 0;
        int Y = 0;
        int Width = 0;
        int Height = 0;
    };
    std::vector<Line> Lines;
    QPoint Caret;
};
TGridTextLayout layoutCellText(const QString& text, const QFont& font, const TGridRect& rect,
                               THorAlign horAlign, TVerAlign verAlign, bool wordWrap, bool typing);
// The text's lines at its line breaks (CR LF counts once).
QStringList splitTextLines(const QString& text);

// Where a row's gutter picture goes. Box is the picture's place in the row's gutter cell: placed
// by the picture's alignments at the picture's size and cut to the cell. Target is where the
// picture is drawn, clipped to Box: scaled to Box when stretched, centred on Box when centred,
// else from Box's top-left corner (so a cut picture shows its top-left part).
struct TGutterImagePlace {
    QRect Box;
    QRect Target;
};
TGutterImagePlace gutterImagePlace(const QRect& cell, const QSize& picture, THorAlign horAlign,
                                   TVerAlign verAlign, bool center, bool stretch);

// Paints one grid onto a painter: cells and merged areas (visible ones only), the empty area, the
// selection frame, the gutter, the header row and the home cell, in that order.
class TovGridPainter {
public:
    TovGridPainter(const TovGrid& grid, QPainter& painter) : Grid(grid), P(painter) {}

    void paint();

private:
    void paintCells();
    void paintCell(int col, int row);
    void paintArea(int col, int row);
    void paintCellBox(const TGridRect& rect, const TGridCell& cell, TColor brush,
                      const QString& text, bool typing, QPoint* caret);
    void paintFrameSides(const TGridRect& rect, const TGridCellAttr& cell);
    void paintText(const QString& text, const QFont& font, const TGridRect& rect,
                   const TGridCellAttr& attr, bool typing, QPoint* caret);
    void paintUnused();
    void paintSelectionFrame();
    void paintGutter();
    void paintHeader();
    void paintFrameCell(const TGridRect& rect, TColor color, const QFont& font, TColor fontColor,
                        const QString& text, THorAlign horAlign, TVerAlign verAlign, bool wordWrap);
    void paintPointer(const TGridRect& strip, int rowHeight);
    void paintGutterImage(const QRect& cell);
    TGridRect selectionFrameRect() const;

    const TovGrid& Grid;
    QPainter& P;
    // The data cell font last set on the painter.
    bool HasFont = false;
    TGridFontStyle FontStyle;
    QFont CurrentFont;
};
