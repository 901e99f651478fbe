#include "GridGeometry.h"

#include <algorithm>

void TovGridGeometry::refreshSums() const {
    if (SumsVersion == Cells.sizeVersion() &&
        ColLefts.size() == static_cast<size_t>(Cells.colCount() + 2) &&
        RowTops.size() == static_cast<size_t>(Cells.rowCount() + 2)) {
        return;
    }
    const int cols = Cells.colCount();
    const int rows = Cells.rowCount();
    ColLefts.assign(static_cast<size_t>(cols + 2), 0);
    for (int c = 2; c <= cols + 1; ++c) {
        ColLefts[static_cast<size_t>(c)] =
            ColLefts[static_cast<size_t>(c - 1)] + Cells.colWidth(c - 1);
    }
    RowTops.assign(static_cast<size_t>(rows + 2), 0);
    for (int r = 2; r <= rows + 1; ++r) {
        RowTops[static_cast<size_t>(r)] =
            RowTops[static_cast<size_t>(r - 1)] + Cells.rowHeight(r - 1);
    }
    SumsVersion = Cells.sizeVersion();
}

int TovGridGeometry::colLeft(int col) const {
    refreshSums();
    return ColLefts[static_cast<size_t>(std::clamp(col, 0, Cells.colCount() + 1))];
}

int TovGridGeometry::rowTop(int row) const {
    refreshSums();
    return RowTops[static_cast<size_t>(std::clamp(row, 0, Cells.rowCount() + 1))];
}

void TovGridGeometry::layout(int clientWidth, int clientHeight) {
    ClientWidth = clientWidth;
    ClientHeight = clientHeight;
    const int cols = Cells.colCount();
    if (cols == 0) {
        DataTop = 0;
        DataLeft = Settings.GutterKind != gkNone ? Settings.GutterWidth : 0;
        TotalWidth = TotalHeight = 0;
        HorBarVisible = VerBarVisible = false;
        HorPos = VerPos = HorMax = VerMax = 0;
        VisibleRight = VisibleBottom = PageWidth = PageHeight = 0;
        return;
    }
    DataLeft = Settings.GutterKind != gkNone ? Settings.GutterWidth : 0;
    DataTop = Settings.ShowHeader ? Settings.HeaderHeight : 0;
    if (Settings.Options.contains(goAutoSizeLastCol)) {
        const int others = colLeft(cols);
        const int width = clientWidth - DataLeft - others;
        if (Cells.colWidth(cols) != (width > 0 ? width : 1)) {
            Cells.setColWidth(cols, width > 0 ? width : 1);
        }
    }
    TotalWidth = colLeft(cols + 1);
    TotalHeight = rowTop(Cells.rowCount() + 1);
    if (TotalWidth < clientWidth - DataLeft) {
        HorPos = 0;
    }
    if (TotalHeight < clientHeight - DataTop) {
        VerPos = 0;
    }
    const bool horAllowed =
        Settings.ScrollBarKind == ssHorizontal || Settings.ScrollBarKind == ssBoth;
    const bool verAllowed =
        Settings.ScrollBarKind == ssVertical || Settings.ScrollBarKind == ssBoth;
    HorBarVisible = clientWidth - DataLeft < TotalWidth && horAllowed;
    VerBarVisible = clientHeight - DataTop < TotalHeight && verAllowed;
    HorMax = std::max(0, TotalWidth + DataLeft - clientWidth);
    HorPos = std::clamp(HorPos, 0, HorMax);
    VisibleRight = std::min(clientWidth, DataLeft + TotalWidth);
    PageWidth = VisibleRight - DataLeft;
    VerMax = std::max(0, TotalHeight + DataTop - clientHeight);
    VerPos = std::clamp(VerPos, 0, VerMax);
    VisibleBottom = std::min(clientHeight, DataTop + TotalHeight);
    PageHeight = VisibleBottom - DataTop;
}

TGridRect TovGridGeometry::cellRect(int col, int row) const {
    if (col < 0 || row < 0) {
        return {};
    }
    return areaRect(col, row, col, row);
}

TGridRect TovGridGeometry::areaRect(int col1, int row1, int col2, int row2) const {
    if (col1 < 0 || row1 < 0 || col2 < 0 || row2 < 0) {
        return {};
    }
    const int dx = DataLeft - HorPos;
    const int dy = DataTop - VerPos;
    return TGridRect{colLeft(col1) - 1, rowTop(row1) - 1, colLeft(col2) + Cells.colWidth(col2),
                     rowTop(row2) + Cells.rowHeight(row2)}
        .translated(dx, dy);
}

int TovGridGeometry::colAt(int x) const {
    if (x < DataLeft) {
        return 0;
    }
    refreshSums();
    const int target = x + HorPos - DataLeft;
    // The first c (0 .. ColCount) whose left is at or past the point; ColCount + 1 when none.
    const auto first = ColLefts.begin();
    const auto last = first + Cells.colCount() + 1;
    const int c = static_cast<int>(std::lower_bound(first, last, target) - first);
    return std::max(0, c - 1);
}

int TovGridGeometry::rowAt(int y) const {
    if (y < DataTop) {
        return 0;
    }
    refreshSums();
    const int target = y + VerPos - DataTop;
    const auto first = RowTops.begin();
    const auto last = first + Cells.rowCount() + 1;
    const int r = static_cast<int>(std::lower_bound(first, last, target) - first);
    return std::max(0, r - 1);
}

int TovGridGeometry::firstVisibleCol() const {
    return std::max(1, colAt(DataLeft + 1));
}

int TovGridGeometry::lastVisibleCol() const {
    return std::min(Cells.colCount(), colAt(std::max(DataLeft + 1, ClientWidth)));
}

int TovGridGeometry::firstVisibleDataRow() const {
    return std::max(1, rowAt(DataTop + 1));
}

int TovGridGeometry::lastVisibleDataRow() const {
    return std::min(Cells.rowCount(), rowAt(std::max(DataTop + 1, ClientHeight)));
}

int TovGridGeometry::sizeOf(bool horz, int index) const {
    return horz ? Cells.colWidth(index) : Cells.rowHeight(index);
}

int TovGridGeometry::firstEdgeAtOrAfter(bool horz, int position) const {
    refreshSums();
    const std::vector<int>& edges = horz ? ColLefts : RowTops;
    const int count = countOf(horz);
    const auto first = edges.begin() + 1;
    const auto last = edges.begin() + count + 1;
    return static_cast<int>(std::lower_bound(first, last, position) - edges.begin());
}

int TovGridGeometry::barThickness(bool horz) const {
    const bool otherShown = horz ? VerBarVisible : HorBarVisible;
    return otherShown ? Settings.ScrollBarExtent : 0;
}

int TovGridGeometry::scrollTarget(bool horz, TGridScrollRequest request) const {
    const int count = countOf(horz);
    const int position = horz ? HorPos : VerPos;
    const int page = horz ? PageWidth : PageHeight;
    const int bar = barThickness(horz);
    if (count == 0) {
        return 0;
    }
    // The size of the first column (row) whose leading edge is at or after p, else the last's.
    auto sizeAtOrAfter = [&](int p) {
        const int k = firstEdgeAtOrAfter(horz, p);
        return sizeOf(horz, k <= count ? k : count);
    };
    int target = position;
    switch (request) {
    case TGridScrollRequest::LineBack: {
        const int k = firstEdgeAtOrAfter(horz, position);
        const int s = k > count ? sizeOf(horz, count) : sizeOf(horz, k == 1 ? 1 : k - 1);
        target = position - s;
        break;
    }
    case TGridScrollRequest::LineForward:
        target = position + sizeAtOrAfter(position);
        break;
    case TGridScrollRequest::PageBack:
        target = position - std::max(0, page - sizeAtOrAfter(position) - bar);
        break;
    case TGridScrollRequest::PageForward:
        target = position + std::max(0, page - sizeAtOrAfter(position + page - bar) - bar);
        break;
    case TGridScrollRequest::ToStart:
        target = 0;
        break;
    case TGridScrollRequest::ToEnd:
        target = horz ? HorMax : VerMax;
        break;
    }
    return clampAndSnap(horz, target);
}

int TovGridGeometry::clampAndSnap(bool horz, int position) const {
    const int maximum = horz ? HorMax : VerMax;
    position = std::clamp(position, 0, maximum);
    const bool smooth = horz ? Settings.SmoothHorScroll : Settings.SmoothVerScroll;
    if (!smooth && position > 0) {
        const int k = firstEdgeAtOrAfter(horz, position);
        position = std::min(edgeOf(horz, k), maximum);
    }
    return position;
}

bool TovGridGeometry::setPosition(bool horz, int position) {
    int& stored = horz ? HorPos : VerPos;
    position = std::clamp(position, 0, horz ? HorMax : VerMax);
    if (stored == position) {
        return false;
    }
    stored = position;
    return true;
}

int TovGridGeometry::firstVisibleRow() const {
    const int count = Cells.rowCount();
    const int k = firstEdgeAtOrAfter(false, VerPos);
    if (k > count) {
        return std::max(0, count);
    }
    if (rowTop(k) == VerPos) {
        return k;
    }
    return std::max(1, k - 1);
}

int TovGridGeometry::lastVisibleRow() const {
    const int count = Cells.rowCount();
    const int limit = VerPos + PageHeight - barThickness(false);
    // Row bottoms are the next row's top; the first bottom reaching the limit.
    refreshSums();
    const auto first = RowTops.begin() + 2;
    const auto last = RowTops.begin() + count + 2;
    const int k = static_cast<int>(std::lower_bound(first, last, limit) - RowTops.begin()) - 1;
    return std::min(k, count);
}

bool TovGridGeometry::scrollIntoView(int col, int row, int& horPos, int& verPos) const {
    horPos = HorPos;
    verPos = VerPos;
    if (col < 0 || row < 0 || (HorMax == 0 && VerMax == 0)) {
        return false;
    }
    const int x1 = DataLeft + colLeft(col) - HorPos;
    const int x2 = x1 + (col > 0 ? Cells.colWidth(col) : 0);
    if (x1 < DataLeft) {
        horPos = colLeft(col);
    } else if (x2 > ClientWidth) {
        horPos = std::min(HorMax, HorPos + x2 - ClientWidth);
    }
    const int y1 = DataTop + rowTop(row) - VerPos;
    const int y2 = y1 + (row > 0 ? Cells.rowHeight(row) : 0);
    if (y1 < DataTop) {
        verPos = rowTop(row);
    } else if (y2 > ClientHeight) {
        verPos = std::min(VerMax, VerPos + y2 - ClientHeight);
    }
    return horPos != HorPos || verPos != VerPos;
}

int TovGridGeometry::CalcGridWidth() const {
    const int left = Settings.GutterKind != gkNone ? Settings.GutterWidth : 0;
    return left + colLeft(Cells.colCount() + 1) + 4;
}

int TovGridGeometry::CalcGridHeight() const {
    const int top = Settings.ShowHeader ? Settings.HeaderHeight : 0;
    return top + rowTop(Cells.rowCount() + 1) + 4;
}

TGridRect editorPlacement(TCellEditor kind, const TGridRect& cell, QSize control,
                          TVerAlign verAlign) {
    const int w = control.width();
    const int h = control.height();
    switch (kind) {
    case ceBtn:
        return {cell.Right - w - 1, cell.Top + 4, cell.Right - 1, cell.Bottom};
    case ceBBtn:
        return {cell.Right - w, cell.Top + 4, cell.Right, cell.Bottom};
    case ceSBtn:
        return {cell.Right - w - 2, cell.Top + 2, cell.Right - 2, cell.Bottom - 2};
    case ceDD:
    case ceDDL: {
        // Inside the cell's grid lines, as wide as the cell and at most as high: the box covers
        // neither the lines nor a neighbouring row, and its text has the cell's whole width.
        const TGridRect inside = cell.adjusted(1, 1, -1, -1);
        const int height = std::min(h, inside.height());
        int top = inside.Top;
        if (verAlign == vaCenter) {
            top = inside.Top + (inside.height() - height) / 2;
        } else if (verAlign == vaBottom) {
            top = inside.Bottom - height;
        }
        return {inside.Left, top, inside.Right, top + height};
    }
    case ceNormal:
        break;
    }
    return {};
}

bool editorFitsDataArea(const TGridRect& placement, const TGridRect& cell,
                        const TGridRect& dataArea) {
    const QRect over = placement.toQRect().intersected(cell.toQRect());
    return !over.isEmpty() && dataArea.toQRect().contains(over);
}
