// Merged cells and the minimum-size arithmetic behind automatic column widths, row heights and
// gutter width. Texts are measured through the foundation's text measurer.
#include "ovGrid.h"

#include "GridPainter.h"
#include "services_ui/TextMetrics.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QToolButton>

namespace {

// The width a combo box takes beside its text: frame, margins and arrow, as its style draws them.
int comboBoxChrome(const QComboBox& box, bool editable) {
    QStyleOptionComboBox option;
    option.initFrom(&box);
    option.editable = editable;
    option.frame = box.hasFrame();
    const QSize text(0, box.fontMetrics().height());
    return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, &box).width();
}

} // namespace

int TovGrid::textWidth(const QFont& font, const QString& text, bool wordWrap) const {
    const TextMeasurer& m = textMeasurer();
    if (!wordWrap) {
        if (!text.contains(QLatin1Char('\r'))) {
            return m.textWidth(font, text);
        }
        QString single = text;
        single.remove(QLatin1String("\r\n"));
        return m.textWidth(font, single);
    }
    int widest = 0;
    for (const QString& line : splitTextLines(text)) {
        widest = std::max(widest, m.textWidth(font, line));
    }
    return widest;
}

int TovGrid::textHeight(const QFont& font, const QString& text, bool wordWrap) const {
    const TextMeasurer& m = textMeasurer();
    if (!wordWrap) {
        if (!text.contains(QLatin1Char('\r'))) {
            return m.textHeight(font, text);
        }
        QString single = text;
        single.remove(QLatin1String("\r\n"));
        return m.textHeight(font, single);
    }
    int height = 0;
    for (const QString& line : splitTextLines(text)) {
        height += m.textHeight(font, line);
    }
    return height;
}

void TovGrid::MergeCells(int col1, int row1, int col2, int row2) {
    const char* name = "ovGrid.MergeCells";
    if (badCol(col1, 1, name) || badCol(col2, 1, name) || badRow(row1, 1, name) ||
        badRow(row2, 1, name) || col2 < col1 || row2 < row1) {
        return;
    }
    Cells.mergeCells(col1, row1, col2, row2);
    setSelection(cellOrArea(CurrentCol, CurrentRow), false);
    repaintData();
}

int TovGrid::CalcCellMinWidths(int col, int row, bool withMerged) const {
    const int minimum = Cells.defaults().GridColMinWidth;
    if (badCell(col, row, 0, "TovGrid.CalcCellMinWidths")) {
        return minimum;
    }
    const TGridCell& cell = Cells.cell(col, row);
    if (cell.MergeState == cmsTopLeft && !withMerged) {
        return minimum;
    }
    const int w = textWidth(measuringFont(cell.Font), cell.Text, cell.WordWrap);
    const bool empty = cell.Text.isEmpty();
    QWidget* control = editorControl(col, row);
    const int scrollBar = Geometry.Settings.ScrollBarExtent;
    switch (cell.Editor) {
    case ceNormal:
        return w + 8;
    case ceBtn:
    case ceBBtn:
        if (qobject_cast<QPushButton*>(control) == nullptr) {
            return minimum;
        }
        return empty ? control->width() + 1 : w + control->width() + 8;
    case ceDD:
        if (qobject_cast<QComboBox*>(control) == nullptr) {
            return minimum;
        }
        return empty ? CalcDDLMinWidth(col, row) + 5
                     : std::max(CalcDDLMinWidth(col, row), w + scrollBar + 12);
    case ceDDL:
        if (qobject_cast<QComboBox*>(control) == nullptr) {
            return minimum;
        }
        return CalcDDLMinWidth(col, row) + 5;
    case ceSBtn:
        if (qobject_cast<QToolButton*>(control) == nullptr) {
            return minimum;
        }
        return empty ? control->width() + 6 : w + control->width() + 12;
    }
    return minimum;
}

int TovGrid::CalcDDLMinWidth(int col, int row) const {
    if (badCell(col, row, 0, "TovGrid.CalcDDLMinWidth")) {
        return col >= 0 && col <= Cells.colCount() ? Cells.colWidth(col)
                                                   : Cells.defaults().DefaultColWidth;
    }
    const TGridCell& cell = Cells.cell(col, row);
    auto* box = qobject_cast<QComboBox*>(editorControl(col, row));
    if ((cell.Editor != ceDD && cell.Editor != ceDDL) || box == nullptr) {
        return Cells.colWidth(col);
    }
    const QFont font = measuringFont(cell.Font);
    const int scrollBar = Geometry.Settings.ScrollBarExtent;
    const int chrome = comboBoxChrome(*box, cell.Editor == ceDD);
    const TextMeasurer& measurer = textMeasurer();
    int widest = Cells.defaults().GridColMinWidth;
    for (int i = 0; i < box->count(); ++i) {
        const QString text = box->itemText(i);
        // The box shows its item in its own font, inside the frame and beside the arrow its
        // style draws: a style that needs more than a scroll bar's width keeps the text whole.
        widest = std::max({widest, measurer.textWidth(font, text) + scrollBar + 8,
                           measurer.textWidth(box->font(), text) + chrome});
    }
    return widest;
}

int TovGrid::CalcCellMinHeights(int col, int row, bool withMerged) const {
    const int minimum = Cells.defaults().GridRowMinHeight;
    if (badCell(col, row, 0, "TovGrid.CalcCellMinHeights")) {
        return minimum;
    }
    const TGridCell& cell = Cells.cell(col, row);
    if (cell.MergeState == cmsTopLeft && !withMerged) {
        return minimum;
    }
    const int h = textHeight(measuringFont(cell.Font), cell.Text, cell.WordWrap);
    QWidget* control = editorControl(col, row);
    switch (cell.Editor) {
    case ceNormal:
        return h + 4;
    case ceBtn:
    case ceBBtn:
    case ceSBtn: {
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (button == nullptr) {
            return minimum;
        }
        return std::max(h + 4, textMeasurer().textHeight(button->font(), button->text()) + 4);
    }
    case ceDD:
    case ceDDL:
        if (qobject_cast<QComboBox*>(control) == nullptr) {
            return minimum;
        }
        return control->height() + 3;
    }
    return minimum;
}

int TovGrid::CalcColMinWidths(int col, bool withHeader, bool withMerged) const {
    if (badCol(col, 1, "TovGrid.CalcColMinWidths")) {
        return col >= 0 && col <= Cells.colCount() ? Cells.colWidth(col)
                                                   : Cells.defaults().DefaultColWidth;
    }
    int widest = Cells.defaults().GridColMinWidth;
    if (withHeader) {
        const TGridTitle& header = Cells.column(col).Header;
        widest = std::max(
            widest,
            textWidth(styledFont(HeaderFont, header.Font), header.Text, header.WordWrap) + 8);
    }
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        widest = std::max(widest, CalcCellMinWidths(col, r, withMerged));
    }
    return widest;
}

int TovGrid::CalcRowMinHeights(int row, bool withGutter, bool withMerged) const {
    if (badRow(row, 1, "TovGrid.CalcRowMinHeights")) {
        return row >= 0 && row <= Cells.rowCount() ? Cells.rowHeight(row)
                                                   : Cells.defaults().DefaultRowHeight;
    }
    int tallest = Cells.defaults().GridRowMinHeight;
    if (withGutter) {
        const TGutterKind kind = Geometry.Settings.GutterKind;
        const TGridTitle& gutter = Cells.row(row).Gutter;
        const QFont font = styledFont(GutterFont, gutter.Font);
        int value = 0;
        if (kind == gkPointer) {
            value = 12;
        } else if (kind == gkNumber || kind == gkString) {
            const QString text = kind == gkNumber ? QString::number(row) : gutter.Text;
            value = textHeight(font, text, gutter.WordWrap) + 4;
            if (!GutterImagePicture.isNull()) {
                value = std::max(value, GutterImagePicture.height() + 4);
            }
        }
        tallest = std::max(tallest, value);
    }
    for (int c = 1; c <= Cells.colCount(); ++c) {
        tallest = std::max(tallest, CalcCellMinHeights(c, row, withMerged));
    }
    return tallest;
}

void TovGrid::AdjustRowHeight(int row, bool withGutter) {
    if (badRow(row, 1, "TovGrid.AdjustRowHeight")) {
        return;
    }
    int h = CalcRowMinHeights(row, withGutter, true);
    h = std::max({h, Cells.defaults().GridRowMinHeight, Cells.rowMinHeight(row)});
    if (h > 0) {
        Cells.setRowHeight(row, h);
    }
    applySizeChange();
}

void TovGrid::AutoSizeCols(bool withHeader) {
    const int last = Geometry.Settings.Options.contains(goAutoSizeLastCol) ? Cells.colCount() - 1
                                                                           : Cells.colCount();
    if (last < 1) {
        return;
    }
    for (int c = 1; c <= last; ++c) {
        const int w = std::max({CalcColMinWidths(c, withHeader, true),
                                Cells.defaults().GridColMinWidth, Cells.colMinWidth(c)});
        if (w > 0) {
            Cells.setColWidth(c, w);
        }
    }
    applySizeChange();
}

void TovGrid::AutoSizeMergedCols(bool withHeader) {
    const int cols = Cells.colCount();
    if (cols < 1) {
        return;
    }
    std::vector<int> width(static_cast<size_t>(cols + 1), 0);
    for (int c = 1; c <= cols; ++c) {
        width[static_cast<size_t>(c)] = CalcColMinWidths(c, withHeader, false);
    }
    for (int c = cols; c >= 1; --c) {
        for (int r = Cells.rowCount(); r >= 1; --r) {
            const TGridCell& cell = Cells.cell(c, r);
            if (cell.MergeState != cmsTopLeft || cell.MergeColOffset <= 0) {
                continue;
            }
            const int need = CalcCellMinWidths(c, r, true);
            const int last = std::min(cols, c + cell.MergeColOffset);
            auto sum = [&] {
                int total = 0;
                for (int k = c; k <= last; ++k) {
                    total += width[static_cast<size_t>(k)];
                }
                return total;
            };
            for (int total = sum(); total < need; ++total) {
                int narrowest = c;
                for (int k = c + 1; k <= last; ++k) {
                    if (width[static_cast<size_t>(k)] < width[static_cast<size_t>(narrowest)]) {
                        narrowest = k;
                    }
                }
                ++width[static_cast<size_t>(narrowest)];
            }
        }
    }
    for (int c = 1; c <= cols; ++c) {
        const int w = std::max({width[static_cast<size_t>(c)], Cells.defaults().GridColMinWidth,
                                Cells.colMinWidth(c)});
        if (w > 0) {
            Cells.setColWidth(c, w);
        }
    }
    applySizeChange();
}

void TovGrid::AutoSizeGutter(bool withHomeText) {
    int w = withHomeText ? textWidth(styledFont(HomeFont, Home.Font), Home.Text, false) + 8 : 0;
    switch (Geometry.Settings.GutterKind) {
    case gkNone:
        Geometry.Settings.GutterWidth = 0;
        w = 0;
        break;
    case gkBlank:
        w = std::max(w, 8);
        break;
    case gkPointer:
        w = std::max(w, 16);
        break;
    case gkNumber:
    case gkString: {
        const bool numbers = Geometry.Settings.GutterKind == gkNumber;
        // Every row's image holds the gutter picture when there is one. A centred picture shares
        // the width with the text, so such a row asks for nothing; a picture at either side
        // adds its width.
        const bool picture = !GutterImagePicture.isNull();
        if (picture && GutterImageHorAlign == haCenter) {
            break;
        }
        for (int r = 1; r <= Cells.rowCount(); ++r) {
            const TGridTitle& gutter = Cells.row(r).Gutter;
            const int text = textWidth(styledFont(GutterFont, gutter.Font),
                                       numbers ? QString::number(r) : gutter.Text, gutter.WordWrap);
            w = std::max(w, picture ? text + GutterImagePicture.width() + 12 : text + 8);
        }
        break;
    }
    }
    if (w > 0) {
        Geometry.Settings.GutterWidth = w;
    }
    applySizeChange();
}
