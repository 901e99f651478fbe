#pragma once

#include "engine/ReportCellStyle.h"

#include <QString>

#include <vector>

class TovRHs;
class TovRFs;

// One cell of the Summary window's grid: its text and how it is drawn (the style's merge fields
// are not used: the grid keeps its merges apart). Texts are left-aligned unless the report table
// says otherwise.
struct TovSummaryCell {
    QString Text;
    ReportCellStyle Style = {.HorAlign = haLeft};
    bool WordWrap = false;
    // A field merged across columns (a title, a path, the definition's description, ...): its
    // text of any length fits the area its columns give it, cut with an ellipsis, and never
    // widens those columns.
    bool FitsArea = false;
};

// A merged area of the grid, columns and rows 1-based and inclusive.
struct TovSummaryMerge {
    int Col1 = 0;
    int Row1 = 0;
    int Col2 = 0;
    int Row2 = 0;
};

// The Project Summary as the Summary window shows it: a 7 x 38 grid laid out from the Project
// Summary report tables, filled with the last run's values and coloured by their states. The
// window renders this model; the engine fills it during the run.
class TovSummaryGrid {
public:
    static constexpr int ColCount = 7;
    static constexpr int RowCount = 38;

    TovSummaryGrid();

    // Merges, styles and header captions from the tables (the captions of the two-line row as
    // they stand, every other one framed by one blank on each side). Clears the field texts.
    void Layout(const TovRHs& headers, const TovRFs& fields);
    // The report title and every field's value, "No Data" or "N/A", framed by blanks.
    void Populate(const TovRHs& headers, const TovRFs& fields);
    // The fields' colours by state, then the red values.
    void Format(const TovRFs& fields);

    bool isLaidOut() const { return LaidOut; }
    // The row whose captions take two lines (the row of the Progress To Date header).
    int twoLineRow() const { return TwoLineRow; }
    // The cell at (col, row), 1-based; a default cell outside the grid.
    const TovSummaryCell& cell(int col, int row) const;
    const std::vector<TovSummaryMerge>& merges() const { return Merges; }
    // A copy without the texts of the fields that fit their area: what the columns are fitted to.
    TovSummaryGrid WithoutAreaTexts() const;

private:
    TovSummaryCell* at(int col, int row);
    // Calls visit(field, cell) for every field of the table whose cell lies in the grid.
    template <typename Visit> void forEachFieldCell(const TovRFs& fields, Visit&& visit);
    void applyStyle(int col, int row, const ReportCellStyle& style, bool colours);
    void setLines(int col, int row, const ReportCellStyle& style);

    std::vector<TovSummaryCell> Cells;
    std::vector<TovSummaryMerge> Merges;
    int TwoLineRow = 0;
    bool LaidOut = false;
};
