// The indexed accessors of the grid widget: cells, columns, rows, gutter and header cells, and
// the geometry queries. Each checks its indexes through the index-range reporter first.
#include "ovGrid.h"

#include <algorithm>

// ---- Cells ----

QString TovGrid::getCells(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCells")) {
        return QString();
    }
    return Cells.cell(col, row).Text;
}

void TovGrid::setCells(int col, int row, const QString& text) {
    if (badCell(col, row, 1, "ovGrid.setCells")) {
        return;
    }
    Cells.cell(col, row).Text = text;
    repaintData();
}

void TovGrid::InternalSetCell(int col, int row, const QString& text, bool fireEvent) {
    if (badCell(col, row, 1, "ovGrid.InternalSetCell")) {
        return;
    }
    QString& stored = Cells.cell(col, row).Text;
    if (stored == text) {
        return;
    }
    stored = text;
    if (fireEvent) {
        Q_EMIT OnCellChange(col, row, text);
    }
    if (!Typing && !F2Open && !BulkChange) {
        repaintCell(col, row);
    }
}

TColor TovGrid::getCellColor(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellColor")) {
        return clWindow;
    }
    return Cells.cell(col, row).Color;
}
void TovGrid::setCellColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellColor")) {
        return;
    }
    Cells.cell(col, row).Color = value;
    repaintData();
}
bool TovGrid::getCellCanSelect(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellCanSelect")) {
        return false;
    }
    return Cells.cell(col, row).CanSelect;
}
void TovGrid::setCellCanSelect(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellCanSelect")) {
        return;
    }
    Cells.cell(col, row).CanSelect = value;
    repaintData();
}
bool TovGrid::getCellFontBold(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontBold")) {
        return false;
    }
    return Cells.cell(col, row).Font.Bold;
}
void TovGrid::setCellFontBold(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontBold")) {
        return;
    }
    Cells.cell(col, row).Font.Bold = value;
    repaintData();
}
bool TovGrid::getCellFontItalic(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontItalic")) {
        return false;
    }
    return Cells.cell(col, row).Font.Italic;
}
bool TovGrid::getCellFontStrikeOut(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontStrikeOut")) {
        return false;
    }
    return Cells.cell(col, row).Font.StrikeOut;
}
bool TovGrid::getCellFontUnderline(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontUnderline")) {
        return false;
    }
    return Cells.cell(col, row).Font.Underline;
}
void TovGrid::setCellFontUnderline(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontUnderline")) {
        return;
    }
    Cells.cell(col, row).Font.Underline = value;
    repaintData();
}
TColor TovGrid::getCellFontColor(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellFontColor")) {
        return clBtnText;
    }
    return Cells.cell(col, row).Font.Color;
}
void TovGrid::setCellFontColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellFontColor")) {
        return;
    }
    Cells.cell(col, row).Font.Color = value;
    repaintData();
}
void TovGrid::setCellURL(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellURL")) {
        return;
    }
    Cells.cell(col, row).URL = value;
    repaintData();
}
bool TovGrid::getCellReadOnly(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellReadOnly")) {
        return false;
    }
    return Cells.cell(col, row).ReadOnly;
}
void TovGrid::setCellReadOnly(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellReadOnly")) {
        return;
    }
    Cells.cell(col, row).ReadOnly = value;
}
TVerAlign TovGrid::getCellVerAlign(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellVerAlign")) {
        return vaCenter;
    }
    return Cells.cell(col, row).VerAlign;
}
THorAlign TovGrid::getCellHorAlign(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellHorAlign")) {
        return haLeft;
    }
    return Cells.cell(col, row).HorAlign;
}
void TovGrid::setCellHorAlign(int col, int row, THorAlign value) {
    if (badCell(col, row, 1, "ovGrid.setCellHorAlign")) {
        return;
    }
    Cells.cell(col, row).HorAlign = value;
    hideEditors(true);
    repaintData();
    placeCurrentEditor();
}
int TovGrid::getCellDDLItemIndex(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellDDLItemIndex")) {
        return -1;
    }
    return Cells.cell(col, row).DDLItemIndex;
}
void TovGrid::setCellDDLItemIndex(int col, int row, int value) {
    if (badCell(col, row, 1, "ovGrid.setCellDDLItemIndex")) {
        return;
    }
    Cells.cell(col, row).DDLItemIndex = value;
}
bool TovGrid::getCellEditorVisible(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellEditorVisible")) {
        return false;
    }
    return Cells.cell(col, row).EditorVisible;
}
void TovGrid::setCellEditorVisible(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEditorVisible")) {
        return;
    }
    Cells.cell(col, row).EditorVisible = value;
}
TCellEditor TovGrid::getCellEditor(int col, int row) const {
    if (badCell(col, row, 0, "ovGrid.getCellEditor")) {
        return ceNormal;
    }
    return Cells.cell(col, row).Editor;
}
void TovGrid::setCellEllipsifyText(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEllipsifyText")) {
        return;
    }
    TGridCell& c = Cells.cell(col, row);
    c.EllipsifyText = value;
    if (value) {
        c.EllipsifyPath = false;
    }
    repaintData();
}
void TovGrid::setCellEllipsifyPath(int col, int row, bool value) {
    if (badCell(col, row, 1, "ovGrid.setCellEllipsifyPath")) {
        return;
    }
    TGridCell& c = Cells.cell(col, row);
    c.EllipsifyPath = value;
    if (value) {
        c.EllipsifyText = false;
    }
    repaintData();
}
void TovGrid::setCellGridLineLeftColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineLeftColor")) {
        return;
    }
    Cells.cell(col, row).LineLeftColor = value;
    if (col > 1) {
        Cells.cell(col - 1, row).LineRightColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineTopColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineTopColor")) {
        return;
    }
    Cells.cell(col, row).LineTopColor = value;
    if (row > 1) {
        Cells.cell(col, row - 1).LineBottomColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineRightColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineRightColor")) {
        return;
    }
    Cells.cell(col, row).LineRightColor = value;
    if (col < Cells.colCount()) {
        Cells.cell(col + 1, row).LineLeftColor = value;
    }
    repaintData();
}
void TovGrid::setCellGridLineBottomColor(int col, int row, TColor value) {
    if (badCell(col, row, 1, "ovGrid.setCellGridLineBottomColor")) {
        return;
    }
    Cells.cell(col, row).LineBottomColor = value;
    if (row < Cells.rowCount()) {
        Cells.cell(col, row + 1).LineTopColor = value;
    }
    repaintData();
}
TCellMergedState TovGrid::getCellMergedState(int col, int row) const {
    if (badCell(col, row, 1, "ovGrid.getCellMergedState")) {
        return cmsNone;
    }
    return Cells.cell(col, row).MergeState;
}

// ---- Columns and rows ----

void TovGrid::setColCanSelect(int col, bool value) {
    if (badCol(col, 1, "ovGrid.setColCanSelect")) {
        return;
    }
    Cells.column(col).CanSelect = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).CanSelect = value;
    }
    repaintData();
}
void TovGrid::setColColor(int col, TColor value) {
    if (badCol(col, 1, "ovGrid.setColColor")) {
        return;
    }
    Cells.column(col).Color = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).Color = value;
    }
    repaintData();
}
void TovGrid::setColReadOnly(int col, bool value) {
    if (badCol(col, 1, "ovGrid.setColReadOnly")) {
        return;
    }
    Cells.column(col).ReadOnly = value;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).ReadOnly = value;
    }
    repaintData();
}
void TovGrid::setColMaxLength(int col, int n) {
    if (badCol(col, 1, "ovGrid.setColMaxLength")) {
        return;
    }
    n = std::max(n, 0);
    Cells.column(col).MaxLength = n;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).MaxLength = n;
    }
    Cells.cutTexts(col, n);
    repaintData();
}
void TovGrid::setColMinWidths(int col, int width) {
    if (badCol(col, 1, "ovGrid.setColMinWidths")) {
        return;
    }
    const int minimum = std::max({width, 0, Cells.defaults().GridColMinWidth});
    Cells.setColMinWidth(col, minimum);
    if (Cells.colWidth(col) < minimum) {
        Cells.setColWidth(col, minimum);
        applySizeChange();
    }
}
THorAlign TovGrid::getColHorAlign(int col) const {
    if (badCol(col, 1, "ovGrid.getColHorAlign")) {
        return haLeft;
    }
    return Cells.column(col).HorAlign;
}
int TovGrid::getColWidths(int col) const {
    if (badCol(col, 1, "ovGrid.getColWidths")) {
        return 64;
    }
    return Cells.colWidth(col);
}
void TovGrid::setColWidths(int col, int width) {
    if (badCol(col, 1, "ovGrid.setColWidths")) {
        return;
    }
    int w = std::max({width, 0, Cells.defaults().GridColMinWidth, Cells.colMinWidth(col)});
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        if (Cells.cell(col, r).Editor != ceNormal) {
            w = std::max(w, CalcColMinWidths(col, true, true));
            break;
        }
    }
    Cells.setColWidth(col, w);
    applySizeChange();
}
int TovGrid::getRowHeights(int row) const {
    if (badRow(row, 1, "ovGrid.getRowHeights")) {
        return 18;
    }
    return Cells.rowHeight(row);
}
void TovGrid::setRowHeights(int row, int height) {
    if (badRow(row, 1, "ovGrid.setRowHeights")) {
        return;
    }
    int h = std::max({height, 0, Cells.defaults().GridRowMinHeight, Cells.rowMinHeight(row)});
    for (int c = 1; c <= Cells.colCount(); ++c) {
        if (Cells.cell(c, row).Editor != ceNormal) {
            h = std::max(h, CalcRowMinHeights(row, true, true));
            break;
        }
    }
    Cells.setRowHeight(row, h);
    applySizeChange();
}
void TovGrid::setRowWordWrap(int row, bool value) {
    if (badRow(row, 1, "ovGrid.setRowWordWrap")) {
        return;
    }
    Cells.row(row).WordWrap = value;
    for (int c = 1; c <= Cells.colCount(); ++c) {
        Cells.cell(c, row).WordWrap = value;
    }
    repaintData();
}

// ---- Gutter and header cells ----

QString TovGrid::getGutterCellText(int row) const {
    if (badRow(row, 1, "ovGrid.getGutterCellText")) {
        return QString();
    }
    return Cells.row(row).Gutter.Text;
}
void TovGrid::setGutterCellText(int row, const QString& text) {
    if (badRow(row, 1, "ovGrid.setGutterCellText")) {
        return;
    }
    Cells.row(row).Gutter.Text = text;
    repaintGutter();
}
void TovGrid::setGutterCellFontColor(int row, TColor value) {
    if (badRow(row, 1, "ovGrid.setGutterCellFontColor")) {
        return;
    }
    Cells.row(row).Gutter.Font.Color = value;
    repaintGutter();
}
bool TovGrid::getGutterCellFontBold(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontBold") && Cells.row(row).Gutter.Font.Bold;
}
bool TovGrid::getGutterCellFontItalic(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontItalic") && Cells.row(row).Gutter.Font.Italic;
}
bool TovGrid::getGutterCellFontStrikeOut(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontStrikeOut") &&
           Cells.row(row).Gutter.Font.StrikeOut;
}
bool TovGrid::getGutterCellFontUnderline(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterCellFontUnderline") &&
           Cells.row(row).Gutter.Font.Underline;
}
QString TovGrid::getGutterImageHint(int row) const {
    if (badRow(row, 1, "ovGrid.getGutterImageHint")) {
        return QString();
    }
    return Cells.row(row).GutterImageHint;
}
void TovGrid::setGutterImageHint(int row, const QString& text) {
    if (badRow(row, 1, "ovGrid.setGutterImageHint")) {
        return;
    }
    Cells.row(row).GutterImageHint = text;
}
bool TovGrid::getGutterImageVisible(int row) const {
    return !badRow(row, 1, "ovGrid.getGutterImageVisible") && Cells.row(row).GutterImageVisible;
}
void TovGrid::setGutterImageVisible(int row, bool value) {
    if (badRow(row, 1, "ovGrid.setGutterImageVisible")) {
        return;
    }
    Cells.row(row).GutterImageVisible = value;
    repaintGutter();
}
QString TovGrid::getHeaderCellText(int col) const {
    if (badCol(col, 1, "ovGrid.getHeaderCellText")) {
        return QString();
    }
    return Cells.column(col).Header.Text;
}
void TovGrid::setHeaderCellText(int col, const QString& text) {
    if (badCol(col, 1, "ovGrid.setHeaderCellText")) {
        return;
    }
    Cells.column(col).Header.Text = text;
    repaintHeader();
}
void TovGrid::setHeaderCellFontColor(int col, TColor value) {
    if (badCol(col, 1, "ovGrid.setHeaderCellFontColor")) {
        return;
    }
    Cells.column(col).Header.Font.Color = value;
    repaintHeader();
}
bool TovGrid::getHeaderCellFontBold(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontBold") && Cells.column(col).Header.Font.Bold;
}
bool TovGrid::getHeaderCellFontItalic(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontItalic") &&
           Cells.column(col).Header.Font.Italic;
}
bool TovGrid::getHeaderCellFontStrikeOut(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontStrikeOut") &&
           Cells.column(col).Header.Font.StrikeOut;
}
bool TovGrid::getHeaderCellFontUnderline(int col) const {
    return !badCol(col, 1, "ovGrid.getHeaderCellFontUnderline") &&
           Cells.column(col).Header.Font.Underline;
}

// ---- Whole grid ----

bool TovGrid::IsEmpty() const {
    return Cells.isEmpty();
}

void TovGrid::ClearCells() {
    Cells.clearTexts(0);
    repaintData();
}

void TovGrid::ClearRow(int row) {
    if (row < 1 || row > Cells.rowCount()) {
        return;
    }
    Cells.clearTexts(row);
    repaintData();
}

int TovGrid::CalcColLeft(int col) const {
    if (badCol(col, 0, "ovGrid.CalcColLeft")) {
        return 0;
    }
    return Geometry.colLeft(col);
}

int TovGrid::CalcRowTop(int row) const {
    if (badRow(row, 0, "ovGrid.CalcRowTop")) {
        return 0;
    }
    return Geometry.rowTop(row);
}

int TovGrid::RowTop(int row) const {
    if (badRow(row, 0, "TovGrid.RowTop")) {
        return std::max(0, Cells.defaults().DefaultRowHeight * (Cells.rowCount() - 1));
    }
    return Geometry.clientRowTop(row);
}

QRect TovGrid::CellRect(int col, int row) const {
    return Geometry.cellRect(col, row).toQRect().translated(viewport()->pos());
}
