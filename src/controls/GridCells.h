#pragma once

#include "GridTypes.h"

#include <QRect>
#include <vector>

// The defaults that new columns, rows and cells start from; the grid-wide properties store here.
struct TGridDefaults {
    TGridDefaults() {
        Header.Font.Color = clWindowText;
        Gutter.Font.Color = clWindowText;
        Gutter.HorAlign = haLeft;
    }
    TGridCellAttr Cell;
    qint32 DefaultColWidth = 64;
    qint32 DefaultRowHeight = 18;
    qint32 GridColMinWidth = 8;
    qint32 GridRowMinHeight = 4;
    TGridTitle Header;
    TGridTitle Gutter;
};

// What a grid stores: ColCount x RowCount data cells indexed (column, row) from 1, with the
// gutter column 0 and header row 0; per-cell, per-column and per-row attributes with their
// defaults; column widths and row heights. Every table is allocated once per re-dimensioning.
// Accessors take indexes unchecked; the grid checks them with the reporter first.
class TovGridCells {
public:
    TovGridCells();

    int colCount() const { return ColCount; }
    int rowCount() const { return RowCount; }
    // Re-dimensioning: cells, columns and rows that fit keep their texts and attributes; new
    // columns start from the defaults and their cells copy each row's attributes (new rows copy
    // each column's). A negative count counts as 0.
    void setColCount(int n);
    void setRowCount(int n);

    TGridDefaults& defaults() { return Defaults; }
    const TGridDefaults& defaults() const { return Defaults; }

    TGridCell& cell(int col, int row) { return Cells[index(col, row)]; }
    const TGridCell& cell(int col, int row) const { return Cells[index(col, row)]; }
    TGridColumn& column(int col) { return Columns[static_cast<size_t>(col)]; }
    const TGridColumn& column(int col) const { return Columns[static_cast<size_t>(col)]; }
    TGridRow& row(int r) { return Rows[static_cast<size_t>(r)]; }
    const TGridRow& row(int r) const { return Rows[static_cast<size_t>(r)]; }

    // Sizes in pixels; every change bumps sizeVersion() so that the geometry rebuilds its sums.
    int colWidth(int col) const { return ColWidths[static_cast<size_t>(col)]; }
    int rowHeight(int r) const { return RowHeights[static_cast<size_t>(r)]; }
    int colMinWidth(int col) const { return ColMinWidths[static_cast<size_t>(col)]; }
    int rowMinHeight(int r) const { return RowMinHeights[static_cast<size_t>(r)]; }
    void setColWidth(int col, int width);
    void setRowHeight(int r, int height);
    void setColMinWidth(int col, int width) { ColMinWidths[static_cast<size_t>(col)] = width; }
    void setRowMinHeight(int r, int height) { RowMinHeights[static_cast<size_t>(r)] = height; }
    quint64 sizeVersion() const { return SizeVersion; }

    // Calls f with the attribute block of every column, every row and every data cell.
    template <typename F> void forEachAttr(F&& f) {
        for (int c = 1; c <= ColCount; ++c) {
            f(static_cast<TGridCellAttr&>(column(c)));
        }
        for (int r = 1; r <= RowCount; ++r) {
            f(static_cast<TGridCellAttr&>(row(r)));
        }
        forEachCell([&](TGridCell& c) { f(static_cast<TGridCellAttr&>(c)); });
    }
    template <typename F> void forEachCell(F&& f) {
        for (int c = 1; c <= ColCount; ++c) {
            for (int r = 1; r <= RowCount; ++r) {
                f(cell(c, r));
            }
        }
    }

    // Cuts every text longer than n characters in column col (0 = every column); n = 0 cuts
    // nothing.
    void cutTexts(int col, int n);
    // True when every data cell's text is empty after trimming blanks.
    bool isEmpty() const;
    // Empty text, speed-button up, no drop-down item for every data cell of the row (0 = all).
    void clearTexts(int row);

    // The rectangle (left = first column, top = first row, right = last column, bottom = last
    // row) of the merged area the cell belongs to; the cell itself when it is not merged.
    QRect mergedArea(int col, int row) const;
    // Cuts merged areas back to the grid and turns top-left cells without extent into plain
    // cells.
    void clipMerges();
    // Merges the rectangle, grown by the areas it touches, into one area; the top-left cell keeps
    // its text, the others lose theirs. Indexes are not checked here.
    void mergeCells(int col1, int row1, int col2, int row2);

private:
    size_t index(int col, int row) const {
        return static_cast<size_t>(col) * static_cast<size_t>(RowCount + 1) +
               static_cast<size_t>(row);
    }
    TGridColumn newColumn() const;
    TGridRow newRow() const;

    int ColCount = 2;
    int RowCount = 2;
    TGridDefaults Defaults;
    std::vector<TGridCell> Cells;
    std::vector<TGridColumn> Columns;
    std::vector<TGridRow> Rows;
    std::vector<int> ColWidths;
    std::vector<int> ColMinWidths;
    std::vector<int> RowHeights;
    std::vector<int> RowMinHeights;
    quint64 SizeVersion = 0;
    bool HasMerges = false;
};
