#include "GridPainter.h"

#include "ovGrid.h"
#include "services_ui/TextMetrics.h"

#include <QBitmap>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <unordered_set>

QColor gridColor(TColor value) {
    return QColor::fromRgba(platform::colorToArgb(value));
}

QStringList splitTextLines(const QString& text) {
    QString joined = text;
    joined.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    joined.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return joined.split(QLatin1Char('\r'));
}

namespace {

QString withoutLineBreaks(const QString& text) {
    QString single = text;
    single.remove(QLatin1String("\r\n"));
    return single;
}

int verticalStart(const TGridRect& r, TVerAlign align, int h) {
    switch (align) {
    case vaTop:
        return r.Top;
    case vaCenter:
        return r.Top + (r.height() - h) / 2;
    case vaBottom:
        return r.Bottom - h - 1;
    }
    return r.Top;
}

int horizontalStart(const TGridRect& r, THorAlign align, int w) {
    switch (align) {
    case haLeft:
        return r.Left;
    case haCenter:
        return r.Left + (r.width() - w) / 2;
    case haRight:
        return r.Right - w;
    }
    return r.Left;
}

Qt::Alignment qtAlignment(THorAlign hor, TVerAlign ver) {
    Qt::Alignment flags = hor == haLeft     ? Qt::AlignLeft
                          : hor == haCenter ? Qt::AlignHCenter
                                            : Qt::AlignRight;
    flags |= ver == vaTop ? Qt::AlignTop : ver == vaCenter ? Qt::AlignVCenter : Qt::AlignBottom;
    return flags;
}

} // namespace

TGridTextLayout layoutCellText(const QString& text, const QFont& font, const TGridRect& rect,
                               THorAlign horAlign, TVerAlign verAlign, bool wordWrap, bool typing) {
    const TextMeasurer& m = textMeasurer();
    TGridTextLayout layout;
    const QStringList lines =
        wordWrap ? splitTextLines(text) : QStringList{withoutLineBreaks(text)};
    int blockHeight = 0;
    for (const QString& line : lines) {
        TGridTextLayout::Line l;
        l.Text = line;
        l.Width = m.textWidth(font, line);
        l.Height = m.textHeight(font, line);
        if (l.Height == 0) {
            l.Height = QFontMetrics(font).height();
        }
        blockHeight += l.Height;
        layout.Lines.push_back(l);
    }
    int y = verticalStart(rect, verAlign, blockHeight);
    for (TGridTextLayout::Line& l : layout.Lines) {
        l.X = horizontalStart(rect, horAlign, l.Width);
        if (typing && horAlign == haLeft && l.Width > rect.width()) {
            l.X = rect.Left + rect.width() - l.Width; // keep the end of the text in view
        }
        l.Y = y;
        y += l.Height;
    }
    const TGridTextLayout::Line& last = layout.Lines.back();
    layout.Caret = QPoint(std::min(last.X + last.Width + 1, rect.Right), last.Y);
    return layout;
}

// ---- The widget's paint entry ----

void TovGrid::paintEvent(QPaintEvent*) {
    DataRepaintPending = false;
    QPainter painter(viewport());
    TovGridPainter(*this, painter).paint();
}

// ---- Painter ----

void TovGridPainter::paint() {
    const TovGridGeometry& g = Grid.Geometry;
    const QRect client(0, 0, g.ClientWidth, g.ClientHeight);
    if (Grid.BulkChange) {
        return;
    }
    if (Grid.Cells.colCount() == 0) {
        P.fillRect(Grid.viewport()->rect(), gridColor(Grid.UnUsedColor));
        return;
    }
    if (Grid.Cells.rowCount() > 0) {
        paintCells();
    }
    paintUnused();
    if (Grid.Cells.rowCount() > 0) {
        paintSelectionFrame();
    }
    P.setClipping(false);
    paintGutter();
    paintHeader();
    (void)client;
}

TGridRect TovGridPainter::selectionFrameRect() const {
    const QRect& s = Grid.Selection;
    if (s.left() < 1 || s.top() < 1) {
        return {};
    }
    const TGridRect first = Grid.Geometry.cellRect(s.left(), s.top());
    const TGridRect last = Grid.Geometry.cellRect(s.right(), s.bottom());
    return TGridRect{first.Left + 1, first.Top + 1, last.Right - 1, last.Bottom - 1};
}

void TovGridPainter::paintCells() {
    const TovGridGeometry& g = Grid.Geometry;
    QRegion clip(g.dataClipRect().toQRect());
    if (Grid.GridEnabled && Grid.ShowSelection) {
        const TGridRect frame = selectionFrameRect();
        if (!frame.isEmpty()) {
            const QRegion ring = QRegion(frame.adjusted(-1, -1, 1, 1).toQRect()) -
                                 QRegion(frame.adjusted(1, 1, -1, -1).toQRect());
            clip -= ring;
        }
    }
    P.setClipRegion(clip);
    const int firstCol = g.firstVisibleCol(), lastCol = g.lastVisibleCol();
    const int firstRow = g.firstVisibleDataRow(), lastRow = g.lastVisibleDataRow();
    // A merged area whose top-left cell is scrolled out of view is painted once from any of its
    // visible cells.
    std::unordered_set<qint64> outsideAreas;
    for (int c = firstCol; c <= lastCol; ++c) {
        for (int r = firstRow; r <= lastRow; ++r) {
            const TGridCell& cell = Grid.Cells.cell(c, r);
            switch (cell.MergeState) {
            case cmsNone:
                paintCell(c, r);
                break;
            case cmsTopLeft:
                paintArea(c, r);
                break;
            case cmsMerged: {
                const int left = c + cell.MergeColOffset, top = r + cell.MergeRowOffset;
                if ((left < firstCol || top < firstRow) &&
                    outsideAreas.insert((qint64(left) << 32) | quint32(top)).second) {
                    paintArea(left, top);
                }
                break;
            }
            }
        }
    }
}

TColor TovGrid::paintedCellColor(int col, int row) const {
    if (!GridEnabled) {
        return DisabledColor;
    }
    const TGridCell& cell = Cells.cell(col, row);
    TColor color = cell.Color;
    if (ColorAlternateCol && col % 2 == 0) {
        color = AlternateColColor;
    }
    if (ColorAlternateRow && row % 2 == 0) {
        color = AlternateRowColor;
    }
    const bool inside = Selection.left() >= 1 && Selection.contains(col, row);
    if (inside && (col != CurrentCol || row != CurrentRow)) {
        const bool oneArea = Selection.width() == 1 && Selection.height() == 1
                                 ? true
                                 : Cells.mergedArea(Selection.left(), Selection.top()) == Selection;
        if (!(cell.MergeState == cmsTopLeft && oneArea)) {
            color = SelectionColor;
        }
    }
    return color;
}

void TovGridPainter::paintCell(int col, int row) {
    const TGridRect rect = Grid.Geometry.cellRect(col, row);
    if (!rect.intersects(Grid.Geometry.dataClipRect())) {
        return;
    }
    const TGridCell& cell = Grid.Cells.cell(col, row);
    const TColor brush = cell.EditorVisible ? clBtnFace : Grid.paintedCellColor(col, row);
    QString text = cell.EditorVisible ? QString() : cell.Text;
    if (cell.Font.Underline) {
        text = text.trimmed();
    }
    const bool typing = Grid.Typing && col == Grid.CurrentCol && row == Grid.CurrentRow;
    QPoint caret;
    paintCellBox(rect, cell, brush, text, typing, &caret);
}

void TovGridPainter::paintArea(int col, int row) {
    const TGridCell& cell = Grid.Cells.cell(col, row);
    const TGridRect rect =
        Grid.Geometry.areaRect(col, row, col + cell.MergeColOffset, row + cell.MergeRowOffset);
    if (!rect.intersects(Grid.Geometry.dataClipRect())) {
        return;
    }
    const bool typing = Grid.Typing && col == Grid.CurrentCol && row == Grid.CurrentRow;
    QPoint caret;
    paintCellBox(rect, cell, Grid.paintedCellColor(col, row), cell.Text, typing, &caret);
}

void TovGridPainter::paintCellBox(const TGridRect& rect, const TGridCell& cell, TColor brush,
                                  const QString& text, bool typing, QPoint* caret) {
    const QRect box = rect.toQRect();
    TColor fontColor = cell.Font.Color;
    if (Grid.GridEnabled) {
        P.fillRect(box, gridColor(brush));
        if (Grid.ShowGridLines) {
            const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
            if (cell.LineLeftColor == cell.LineTopColor &&
                cell.LineLeftColor == cell.LineRightColor &&
                cell.LineLeftColor == cell.LineBottomColor) {
                // The common case: one frame in one colour.
                P.setPen(gridColor(cell.LineLeftColor));
                P.setBrush(Qt::NoBrush);
                P.drawRect(QRect(l, t, r - l, b - t));
            } else {
                paintFrameSides(rect, cell);
            }
        }
    } else {
        fontColor = Grid.DisabledGridFontColor;
        P.fillRect(box, gridColor(brush));
        if (Grid.ShowGridLines) {
            P.setPen(gridColor(Grid.DisabledGridLineColor));
            P.setBrush(Qt::NoBrush);
            P.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }
    if (text.isEmpty() && !typing) {
        return;
    }
    // While typing the text shows in the grid's own font, without the cell's colour and styles.
    if (typing && Grid.GridEnabled) {
        fontColor = clWindowText;
    }
    P.setPen(gridColor(fontColor));
    TGridFontStyle style = typing ? TGridFontStyle() : cell.Font;
    style.Color = 0; // the colour goes to the pen
    if (!HasFont || !(style == FontStyle)) {
        // Fonts are set only when the style changes: most cells share one.
        CurrentFont = Grid.cellFont(style);
        FontStyle = style;
        HasFont = true;
        P.setFont(CurrentFont);
    }
    paintText(text, CurrentFont, rect.adjusted(4, 2, -4, -2), cell, typing, caret);
}

void TovGridPainter::paintFrameSides(const TGridRect& rect, const TGridCellAttr& cell) {
    // From the bottom-left corner up the left side, along the top, down the right side and back
    // along the bottom, each side in its own colour.
    const int l = rect.Left, t = rect.Top, r = rect.Right - 1, b = rect.Bottom - 1;
    P.setPen(gridColor(cell.LineLeftColor));
    P.drawLine(l, b, l, t);
    P.setPen(gridColor(cell.LineTopColor));
    P.drawLine(l, t, r, t);
    P.setPen(gridColor(cell.LineRightColor));
    P.drawLine(r, t, r, b);
    P.setPen(gridColor(cell.LineBottomColor));
    P.drawLine(r, b, l, b);
}

void TovGridPainter::paintText(const QString& text, const QFont& font, const TGridRect& rect,
                               const TGridCellAttr& attr, bool typing, QPoint* caret) {
    if (!typing && !attr.WordWrap) {
        QString shown = withoutLineBreaks(text);
        if (attr.EllipsifyPath) {
            shown = EllipsifyPath(shown, font, rect.width());
        } else if (attr.EllipsifyText) {
            shown = EllipsifyText(shown, font, rect.width());
        }
        P.drawText(rect.toQRect(), qtAlignment(attr.HorAlign, attr.VerAlign) | Qt::TextSingleLine,
                   shown);
        return;
    }
    const TGridTextLayout layout =
        layoutCellText(text, font, rect, attr.HorAlign, attr.VerAlign, attr.WordWrap, typing);
    P.save();
    P.setClipRect(rect.toQRect(), Qt::IntersectClip);
    for (const TGridTextLayout::Line& line : layout.Lines) {
        P.drawText(QRect(line.X, line.Y, std::max(line.Width, 1) + 2, line.Height),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, line.Text);
    }
    P.restore();
    if (caret != nullptr) {
        *caret = layout.Caret;
    }
    if (typing && Grid.CaretShown) {
        const int height = QFontMetrics(font).height() + 2;
        P.fillRect(QRect(layout.Caret.x(), layout.Caret.y(), 1, height), Qt::black);
    }
}

void TovGridPainter::paintUnused() {
    const TovGridGeometry& g = Grid.Geometry;
    QRegion clip(0, 0, g.ClientWidth, g.ClientHeight);
    if (Grid.GridEnabled && Grid.ShowSelection && Grid.Cells.rowCount() > 0) {
        const TGridRect frame = selectionFrameRect();
        if (!frame.isEmpty()) {
            clip -= QRegion(frame.adjusted(-1, -1, 1, 1).toQRect()) -
                    QRegion(frame.adjusted(1, 1, -1, -1).toQRect());
        }
    }
    P.setClipRegion(clip);
    const QColor unused = gridColor(Grid.UnUsedColor);
    const int cols = Grid.Cells.colCount(), rows = Grid.Cells.rowCount();
    const int lastRight = rows > 0 ? g.cellRect(cols, 1).Right : g.DataLeft;
    const int lastBottom = rows > 0 ? g.cellRect(1, rows).Bottom : g.DataTop;
    const int right = std::min(g.VisibleRight, lastRight);
    const int bottom = rows > 0 ? std::min(g.VisibleBottom, lastBottom) : g.DataTop;
    // Across the gutter and the header row too: nothing else paints there beyond the cells.
    P.fillRect(QRect(QPoint(right, 0), QPoint(g.ClientWidth, g.ClientHeight)), unused);
    P.fillRect(QRect(QPoint(0, bottom), QPoint(g.ClientWidth, g.ClientHeight)), unused);
}

void TovGridPainter::paintSelectionFrame() {
    if (!Grid.GridEnabled || !Grid.ShowSelection) {
        return;
    }
    const TGridRect frame = selectionFrameRect();
    if (frame.isEmpty()) {
        return;
    }
    P.setClipRect(Grid.Geometry.dataClipRect().toQRect());
    TColor color = Grid.getGridLineColor();
    if (Grid.hasFocus()) {
        color = Grid.SelectionRectColor;
    } else if (Grid.F2Open) {
        color = Grid.F2EditorRectColor;
    }
    const QRegion ring = QRegion(frame.adjusted(-1, -1, 1, 1).toQRect()) -
                         QRegion(frame.adjusted(1, 1, -1, -1).toQRect());
    for (const QRect& part : ring) {
        P.fillRect(part, gridColor(color));
    }
}

void TovGridPainter::paintFrameCell(const TGridRect& rect, TColor color, const QFont& font,
                                    TColor fontColor, const QString& text, THorAlign horAlign,
                                    TVerAlign verAlign, bool wordWrap) {
    const QRect box = rect.toQRect();
    P.fillRect(box, gridColor(color));
    P.setPen(Grid.Flat ? gridColor(clBtnShadow) : QColor(Qt::black));
    P.setBrush(Qt::NoBrush);
    P.drawRect(box.adjusted(0, 0, -1, -1));
    if (!text.isEmpty()) {
        HasFont = false;
        P.setFont(font);
        P.setPen(gridColor(Grid.GridEnabled ? fontColor : Grid.DisabledGridFontColor));
        const TGridRect inner = rect.adjusted(4, 2, -4, -2);
        if (!wordWrap) {
            P.drawText(inner.toQRect(), qtAlignment(horAlign, verAlign) | Qt::TextSingleLine,
                       withoutLineBreaks(text));
        } else {
            const TGridTextLayout layout =
                layoutCellText(text, font, inner, horAlign, verAlign, true, false);
            P.save();
            P.setClipRect(inner.toQRect(), Qt::IntersectClip);
            for (const TGridTextLayout::Line& line : layout.Lines) {
                P.drawText(QRect(line.X, line.Y, std::max(line.Width, 1) + 2, line.Height),
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                           line.Text);
            }
            P.restore();
        }
    }
    P.setPen(gridColor(clBtnHighlight));
    P.drawLine(rect.Left + 1, rect.Bottom - 2, rect.Left + 1, rect.Top + 1);
    P.drawLine(rect.Left + 1, rect.Top + 1, rect.Right - 2, rect.Top + 1);
    if (!Grid.Flat) {
        P.setPen(gridColor(clBtnShadow));
        P.drawLine(rect.Right - 2, rect.Top + 1, rect.Right - 2, rect.Bottom - 2);
        P.drawLine(rect.Right - 2, rect.Bottom - 2, rect.Left + 1, rect.Bottom - 2);
    }
}

void TovGridPainter::paintPointer(const TGridRect& strip, int rowHeight) {
    const int g = (rowHeight - 8) / 2;
    const int x = (Grid.getGutterWidth() - 8) / 2;
    const QPoint tip(x + 8, strip.Top + rowHeight / 2);
    P.setPen(gridColor(clBtnShadow));
    P.drawLine(x, strip.Bottom - g, x, strip.Top + g);
    P.drawLine(QPoint(x, strip.Top + g), tip);
    P.setPen(gridColor(clBtnHighlight));
    P.drawLine(tip, QPoint(x, strip.Bottom - g));
}

TGutterImagePlace gutterImagePlace(const QRect& cell, const QSize& picture, THorAlign horAlign,
                                   TVerAlign verAlign, bool center, bool stretch) {
    const int pw = picture.width();
    const int ph = picture.height();
    const int left = horAlign == haLeft     ? 4
                     : horAlign == haCenter ? (cell.width() - pw) / 2
                                            : cell.width() - pw - 4;
    const int top = verAlign == vaTop      ? 2
                    : verAlign == vaCenter ? (cell.height() - ph) / 2
                                           : cell.height() - ph - 2;
    TGutterImagePlace place;
    place.Box = QRect(cell.left() + left, cell.top() + top, pw, ph) & cell;
    if (stretch) {
        place.Target = place.Box;
    } else if (center) {
        place.Target = QRect(place.Box.left() + (place.Box.width() - pw) / 2,
                             place.Box.top() + (place.Box.height() - ph) / 2, pw, ph);
    } else {
        place.Target = QRect(place.Box.topLeft(), picture);
    }
    return place;
}

void TovGridPainter::paintGutterImage(const QRect& cell) {
    const QPixmap& picture = Grid.GutterImagePicture;
    const TGutterImagePlace place =
        gutterImagePlace(cell, picture.size(), Grid.GutterImageHorAlign, Grid.GutterImageVerAlign,
                         Grid.GutterImageCenter, Grid.GutterImageStretch);
    if (place.Box.isEmpty()) {
        return;
    }
    QPixmap shown = picture;
    if (Grid.GutterImageTransparent) {
        // A picture without its own transparency takes its bottom-left pixel's colour as the
        // background to leave out.
        if (!shown.hasAlphaChannel()) {
            const QImage image = shown.toImage();
            shown.setMask(QBitmap::fromImage(
                image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
        }
    } else {
        // Opaque: the picture on the window colour, whatever its own transparency.
        P.fillRect(place.Target & place.Box, gridColor(clWindow));
    }
    P.save();
    P.setClipRect(place.Box, Qt::IntersectClip);
    P.drawPixmap(place.Target, shown);
    P.restore();
}

void TovGridPainter::paintGutter() {
    const TovGridGeometry& g = Grid.Geometry;
    const TGutterKind kind = g.Settings.GutterKind;
    const int width = g.Settings.GutterWidth;
    if (kind == gkNone || width == 0 || Grid.Cells.rowCount() == 0) {
        return;
    }
    P.setClipRect(QRect(0, g.DataTop, width, std::max(0, g.ClientHeight - g.DataTop)));
    const QPixmap& picture = Grid.GutterImagePicture;
    for (int r = g.firstVisibleDataRow(); r <= g.lastVisibleDataRow(); ++r) {
        const TGridRow& row = Grid.Cells.row(r);
        const int top = g.clientRowTop(r);
        const int height = Grid.Cells.rowHeight(r);
        const TGridRect strip{-1, top - 1, width, top + height};
        const bool current = r == Grid.CurrentRow;
        const TColor color = current && Grid.GridEnabled && Grid.ShowRowIndicator
                                 ? Grid.RowIndicatorColor
                                 : Grid.GutterColor;
        QString text;
        if (kind == gkNumber) {
            text = QString::number(r);
        } else if (kind == gkString) {
            text = row.Gutter.Text;
        }
        paintFrameCell(strip, color, TovGrid::styledFont(Grid.GutterFont, row.Gutter.Font),
                       row.Gutter.Font.Color, text, row.Gutter.HorAlign, row.Gutter.VerAlign,
                       row.Gutter.WordWrap);
        if (kind == gkPointer && current) {
            paintPointer(strip, height);
        }
        if ((kind == gkNumber || kind == gkString) && Grid.GridEnabled && !picture.isNull() &&
            row.GutterImageVisible) {
            paintGutterImage(QRect(0, top, width, height));
        }
    }
}

void TovGridPainter::paintHeader() {
    const TovGridGeometry& g = Grid.Geometry;
    if (!g.Settings.ShowHeader) {
        return;
    }
    P.setClipRect(QRect(g.DataLeft, 0, std::max(0, g.ClientWidth - g.DataLeft), g.DataTop));
    for (int c = g.firstVisibleCol(); c <= g.lastVisibleCol(); ++c) {
        const TGridColumn& column = Grid.Cells.column(c);
        const int left = g.DataLeft + g.colLeft(c) - g.HorPos;
        const TGridRect strip{left - 1, -1, left + Grid.Cells.colWidth(c), g.Settings.HeaderHeight};
        const TColor color = c == Grid.CurrentCol && Grid.GridEnabled && Grid.ShowColIndicator
                                 ? Grid.ColIndicatorColor
                                 : Grid.HeaderColor;
        paintFrameCell(strip, color, TovGrid::styledFont(Grid.HeaderFont, column.Header.Font),
                       column.Header.Font.Color, column.Header.Text, column.Header.HorAlign,
                       column.Header.VerAlign, column.Header.WordWrap);
    }
    P.setClipping(false);
    if (g.DataLeft > 0 || g.DataTop > 0) {
        paintFrameCell(TGridRect{-1, -1, g.DataLeft, g.DataTop}, Grid.HomeColor,
                       TovGrid::styledFont(Grid.HomeFont, Grid.Home.Font), Grid.Home.Font.Color,
                       Grid.Home.Text, Grid.Home.HorAlign, Grid.Home.VerAlign, Grid.Home.WordWrap);
    }
}
