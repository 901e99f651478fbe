#pragma once

#include "forms/tabs/TaskFieldSource.h"

#include <QString>
#include <array>
#include <cstdint>

class TovDSF;
class TovDV;
class TovSD;
class IXLLimits;

// The columns of a filter row as the filter grid shows them (grid column numbers).
enum TFilterColumn : int {
    fcAndOr = 1,
    fcTaskFld = 2,
    fcTaskFldDesc = 3,
    fcOperator = 4,
    fcValue = 5
};

// One cell of the filter grid: its text and, for the two list columns, the item index of the
// cell's drop-down list (-1 when no choice was made, 0 for "Please Select...").
struct TFilterCell {
    QString Text;
    int ItemIndex = -1;
    friend bool operator==(const TFilterCell&, const TFilterCell&) = default;
};

// What the filter's validation shows: the tab's title picture and each row's gutter picture.
struct TFilterValidation {
    bool TitleError = false;
    QString TitleHint;
    // Row r (1..5) at index r - 1: marked when a check failed, with that check's hint.
    std::array<bool, 5> Marked{};
    std::array<QString, 5> RowHints;
    bool RowMarked(int row) const { return Marked[static_cast<size_t>(row - 1)]; }
};

// The result of updating the task field descriptions from the task field list.
using TDescriptionUpdate = TDescriptionCounts;

// The data source filter while the filter tab edits it: five rows of And/Or, Task Field, Task
// Field Description, Filter Operator and Task Field Value, with the row commands, loading from
// and storing into the definition's filter, and the row checks. What a row means is always read
// from the cells' texts (what the user sees and the checks judge), never from a list's index.
class TFilterGridModel {
public:
    static constexpr int RowCount = 5;
    static constexpr int ColCount = 5;

    const TFilterCell& cell(int col, int row) const;
    TFilterCell& cell(int col, int row);
    QString text(int col, int row) const { return cell(col, row).Text; }
    void setCell(int col, int row, const QString& text, int itemIndex = -1);

    friend bool operator==(const TFilterGridModel&, const TFilterGridModel&) = default;
    // The same texts in every cell (the lists' indexes aside).
    bool SameTexts(const TFilterGridModel& other) const;

    bool IsEmpty() const;
    // Task Field and Filter Operator, and for rows 2 to 5 the And/Or, are filled.
    bool IsRowComplete(int row) const;

    void Clear();
    void ClearRow(int row);
    // A row with a Task Field gets "And" for an empty And/Or (not on row 1) and "Equals" for an
    // empty operator.
    void FillDefaults(int row);
    // Empties every list cell that still shows "Please Select..." (no choice).
    void ClearNoChoice();

    // Row commands: r is the row the command acts on (1..5).
    void Insert(int row); // the last row is lost
    void Delete(int row);
    void MoveUp(int row);   // from row 2
    void MoveDown(int row); // up to row 4
    // Only the complete rows stay, in order, closing the gaps; row 1 loses its And/Or.
    void Compact();

    void Load(const TovDSF& dsf);
    // Writes the complete rows and the enabled flag into the filter (incomplete rows are kept
    // here and left out there). True when the filter changed.
    bool Store(TovDSF& dsf, bool enabled) const;

    // The checks of the tab: the whole filter, then each row, then the pairs of rows.
    TFilterValidation Validate(TovDV& dv, const QString& dataSourcePath, bool enabled) const;

    // Sets each row's description from the task field list (empty for a field not found, an
    // invalid or a blank one).
    TDescriptionUpdate UpdateDescriptions(const TovSD& sd, IXLLimits& limits,
                                          const QString& dataSourcePath);
    bool HasTaskFields() const;

    // Texts and indexes of the two lists.
    static QString NoChoiceText();
    static QString AndText();
    static QString OrText();
    static QString OperatorText(uint8_t op);
    // The And/Or list's item of a text: 1 And, 2 Or, 0 otherwise.
    static int AndOrItemOf(const QString& text);
    // The operator list's item of a text: operator + 1, 0 for an unknown text.
    static int OperatorItemOf(const QString& text);

private:
    // The cell's text as a choice: trimmed, empty when it shows "Please Select...".
    QString choice(int col, int row) const;
    // An empty And/Or of a row with a task field becomes "And".
    void joinWithAnd(int row);
    // After rows 1 and 2 changed places: row 1 without And/Or, row 2 joined with And.
    void leaveFirstRow();
    void copyRow(int to, int from, bool withAndOr);
    void swapRows(int a, int b, bool withAndOr);

    std::array<std::array<TFilterCell, ColCount>, RowCount> Cells{};
};
