#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include <functional>
#include <vector>

class QHeaderView;

// How a list window finds the entry to preselect: paths compare trimmed and exactly (file
// names are case-sensitive here), worksheet names upper-cased (a..z) but not trimmed, task
// fields and their values trimmed and upper-cased.
enum class TPreselectCompare { Trimmed, UpperCase, TrimmedUpperCase };

// The index of the last key that matches the preselection, -1 when none does.
int FindPreselection(const QStringList& keys, const QString& preselection,
                     TPreselectCompare compare);

// The texts of a list window's rows, read by row (0-based) and column (0 is the row number).
using TCellText = std::function<QString(int row, int column)>;

// The text of a cell as it is painted: framed by one blank on each side.
QString FramedCell(const QString& text);

// How a row is coloured: the normal colours, or greyed for an entry that may not be chosen.
using TRowEnabled = std::function<bool(int row)>;

// Paints a list window's rows as cells under the header's sections: the first cell ends 4 pixels
// before the end of section 0, every further cell starts 4 pixels after the previous one and is
// its section's width less 4 wide; single-line, vertically centred, clipped.
class TListRowDelegate : public QStyledItemDelegate {
public:
    TListRowDelegate(QHeaderView* header, QObject* parent);

    void setCellText(TCellText cellText) { CellText = std::move(cellText); }
    void setRowEnabled(TRowEnabled rowEnabled) { RowEnabled = std::move(rowEnabled); }
    void setItemHeight(int height) { ItemHeight = height; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QHeaderView* Header;
    TCellText CellText;
    TRowEnabled RowEnabled;
    int ItemHeight = 16;
};

// The cell rectangles of a row: left and width of each cell from the section widths.
struct TCellSpan {
    int Left = 0;
    int Width = 0;
};
std::vector<TCellSpan> CellSpans(int rowLeft, const std::vector<int>& sectionWidths);

// Keeps every section of a list window's header at least as wide as its minimum (its header
// text + 12, from MeasureColumns): a border dragged further stops there, and a narrower section
// is widened at once. Sections without a minimum may take any width.
void KeepSectionMinimums(QHeaderView* header, const std::vector<int>& minimums);

// The colours of a row that may not be chosen (an invalid entry of the file window): the
// inactive caption's text colour, on the inactive caption's colour while selected in place of
// the selection highlight; readable in both states.
struct TRowColors {
    QColor Foreground;
    QColor Background;
};
TRowColors UnselectableRowColors(bool selected, const QColor& base);

// Auto Size of the columns: each column as wide as its header text + 12, or its widest painted
// cell text + 12 when that is wider (one pass over the rows). Returns the widths; minimums
// receives the header widths.
std::vector<int> MeasureColumns(const QStringList& headerTexts, const QFont& headerFont,
                                int rowCount, const TCellText& cellText, const QFont& listFont,
                                std::vector<int>& minimums);
