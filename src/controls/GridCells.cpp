#include "GridCells.h"

#include <algorithm>

namespace {

TGridCell cellFrom(const TGridCellAttr& attr) {
    TGridCell cell;
    static_cast<TGridCellAttr&>(cell) = attr;
    return cell;
}

} // namespace

TovGridCells::TovGridCells() {
    // The 2 x 2 grid of a new control, every table from index 0.
    Columns.assign(static_cast<size_t>(ColCount + 1), newColumn());
    Rows.assign(static_cast<size_t>(RowCount + 1), newRow());
    ColWidths.assign(static_cast<size_t>(ColCount + 1), Defaults.DefaultColWidth);
    ColMinWidths.assign(static_cast<size_t>(ColCount + 1), Defaults.GridColMinWidth);
    RowHeights.assign(static_cast<size_t>(RowCount + 1), Defaults.DefaultRowHeight);
    RowMinHeights.assign(static_cast<size_t>(RowCount + 1), Defaults.GridRowMinHeight);
    Cells.assign(static_cast<size_t>((ColCount + 1) * (RowCount + 1)), cellFrom(Defaults.Cell));
}

TGridColumn TovGridCells::newColumn() const {
    TGridColumn column;
    static_cast<TGridCellAttr&>(column) = Defaults.Cell;
    column.MaxLength = 0;
    column.Header = Defaults.Header;
    column.Header.Text.clear();
    return column;
}

TGridRow TovGridCells::newRow() const {
    TGridRow row;
    static_cast<TGridCellAttr&>(row) = Defaults.Cell;
    row.Gutter = Defaults.Gutter;
    row.Gutter.Text.clear();
    return row;
}

void TovGridCells::setColCount(int n) {
    n = std::max(n, 0);
    const int oldCount = ColCount;
    const size_t size = static_cast<size_t>(n + 1);
    Columns.resize(size, newColumn());
    ColWidths.resize(size, Defaults.DefaultColWidth);
    ColMinWidths.resize(size, Defaults.GridColMinWidth);
    // Column-major storage: columns are appended or cut at the end of the one table.
    Cells.resize(size * static_cast<size_t>(RowCount + 1), cellFrom(Defaults.Cell));
    ColCount = n;
    for (int c = oldCount + 1; c <= n; ++c) {
        for (int r = 0; r <= RowCount; ++r) {
            static_cast<TGridCellAttr&>(cell(c, r)) = row(r);
        }
    }
    ++SizeVersion;
    clipMerges();
}

void TovGridCells::setRowCount(int n) {
    n = std::max(n, 0);
    const int oldCount = RowCount;
    const size_t size = static_cast<size_t>(n + 1);
    Rows.resize(size, newRow());
    RowHeights.resize(size, Defaults.DefaultRowHeight);
    RowMinHeights.resize(size, Defaults.GridRowMinHeight);
    std::vector<TGridCell> cells(static_cast<size_t>(ColCount + 1) * size);
    const int kept = std::min(oldCount, n);
    for (int c = 0; c <= ColCount; ++c) {
        const size_t from = static_cast<size_t>(c) * static_cast<size_t>(oldCount + 1);
        const size_t to = static_cast<size_t>(c) * size;
        for (int r = 0; r <= kept; ++r) {
            cells[to + static_cast<size_t>(r)] = std::move(Cells[from + static_cast<size_t>(r)]);
        }
        for (int r = kept + 1; r <= n; ++r) {
            cells[to + static_cast<size_t>(r)] = cellFrom(column(c));
        }
    }
    Cells = std::move(cells);
    RowCount = n;
    ++SizeVersion;
    clipMerges();
}

void TovGridCells::setColWidth(int col, int width) {
    ColWidths[static_cast<size_t>(col)] = width;
    ++SizeVersion;
}

void TovGridCells::setRowHeight(int r, int height) {
    RowHeights[static_cast<size_t>(r)] = height;
    ++SizeVersion;
}

void TovGridCells::cutTexts(int col, int n) {
    if (n <= 0) {
        return;
    }
    const int first = col == 0 ? 1 : col;
    const int last = col == 0 ? ColCount : col;
    for (int c = first; c <= last; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            QString& text = cell(c, r).Text;
            if (text.size() > n) {
                text.truncate(n);
            }
        }
    }
}

bool TovGridCells::isEmpty() const {
    for (int c = 1; c <= ColCount; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            if (!cell(c, r).Text.trimmed().isEmpty()) {
                return false;
            }
        }
    }
    return true;
}

void TovGridCells::clearTexts(int r) {
    const int first = r == 0 ? 1 : r;
    const int last = r == 0 ? RowCount : r;
    for (int c = 1; c <= ColCount; ++c) {
        for (int row = first; row <= last; ++row) {
            TGridCell& target = cell(c, row);
            target.Text.clear();
            target.SBtnDown = false;
            target.DDLItemIndex = -1;
        }
    }
}

QRect TovGridCells::mergedArea(int col, int row) const {
    const TGridCell& c = cell(col, row);
    switch (c.MergeState) {
    case cmsTopLeft:
        return QRect(QPoint(col, row), QPoint(col + c.MergeColOffset, row + c.MergeRowOffset));
    case cmsMerged: {
        const int left = col + c.MergeColOffset;
        const int top = row + c.MergeRowOffset;
        if (left < 1 || top < 1 || left > ColCount || top > RowCount) {
            break;
        }
        const TGridCell& topLeft = cell(left, top);
        return QRect(QPoint(left, top),
                     QPoint(left + topLeft.MergeColOffset, top + topLeft.MergeRowOffset));
    }
    case cmsNone:
        break;
    }
    return QRect(QPoint(col, row), QPoint(col, row));
}

void TovGridCells::clipMerges() {
    if (!HasMerges) {
        return;
    }
    bool any = false;
    for (int c = 1; c <= ColCount; ++c) {
        for (int r = 1; r <= RowCount; ++r) {
            TGridCell& target = cell(c, r);
            if (target.MergeState != cmsTopLeft) {
                continue;
            }
            target.MergeColOffset = std::min(target.MergeColOffset, ColCount - c);
            target.MergeRowOffset = std::min(target.MergeRowOffset, RowCount - r);
            if (target.MergeColOffset == 0 && target.MergeRowOffset == 0) {
                target.MergeState = cmsNone;
            } else {
                any = true;
            }
        }
    }
    HasMerges = any;
}

void TovGridCells::mergeCells(int col1, int row1, int col2, int row2) {
    int left = col1, top = row1, right = col2, bottom = row2;
    for (int c = col1; c <= col2; ++c) {
        for (int r = row1; r <= row2; ++r) {
            const TGridCell& target = cell(c, r);
            if (target.MergeState == cmsNone) {
                continue;
            }
            const QRect area = mergedArea(c, r);
            if (target.MergeState == cmsMerged) {
                left = std::min(left, area.left());
                top = std::min(top, area.top());
            }
            right = std::max(right, area.right());
            bottom = std::max(bottom, area.bottom());
        }
    }
    for (int c = left; c <= right; ++c) {
        for (int r = top; r <= bottom; ++r) {
            TGridCell& target = cell(c, r);
            if (c == left && r == top) {
                target.MergeState = cmsTopLeft;
                target.MergeColOffset = right - left;
                target.MergeRowOffset = bottom - top;
            } else {
                target.MergeState = cmsMerged;
                target.MergeColOffset = left - c;
                target.MergeRowOffset = top - r;
                target.Text.clear();
            }
        }
    }
    HasMerges = true;
}
