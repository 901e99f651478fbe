#pragma once

#include "forms/tabs/TaskFieldSource.h"

#include <QString>
#include <QStringList>
#include <array>

class TovSD;

// What the Data Source Map tab shows: one row per entry of the definition's data source map
// (rows 1..9 at indexes 0..8), each with its task field's name, the column letters and the
// column's header text as the grid holds them, and whether the curve options require it.
struct TDSMRow {
    QString Name;
    QString TaskFld;
    QString TaskFldDesc;
    bool Required = false;
};

struct TDSMRows {
    static constexpr int Count = 9;
    std::array<TDSMRow, Count> Rows;

    // Row n, 1..Count.
    TDSMRow& row(int n) { return Rows.at(static_cast<size_t>(n - 1)); }
    const TDSMRow& row(int n) const { return Rows.at(static_cast<size_t>(n - 1)); }
};

// The outcome of a row's checks: whether its gutter picture shows, and the failing check's hint.
struct TDSMRowMark {
    bool Marked = false;
    QString Hint;
};
using TDSMMarks = std::array<TDSMRowMark, TDSMRows::Count>;

// Counts of an update of the task field descriptions.
struct TDSMDescUpdate : TDescriptionCounts {
    // Whether a description changed.
    bool Changed = false;
};

namespace dsm {

// Sets the required flags of the definition's map from its curve options and reads the rows.
TDSMRows Load(TovSD& sd);
// Writes the rows into the definition's map (letters and descriptions trimmed, letters
// upper-cased) and sets the required flags again. True when a stored value changed.
bool Store(TovSD& sd, const TDSMRows& rows);

// The caption of a row's task field ("Start Date Task Field").
QString FieldCaption(const TDSMRow& row);

// The checks of the rows against the workbook of dataSourcePath: a required row must name a
// column of that workbook's format; a valid row that another later row repeats marks the first
// later one; an optional row that is not blank must be valid. A row keeps the hint of its last
// failing check.
TDSMMarks Validate(const TDSMRows& rows, const QString& dataSourcePath);

// Whether every row's letters are blank.
bool AllBlank(const TDSMRows& rows);

// Replaces each row's description by the header text of its column in the definition's task
// field list (line breaks turned into blanks); a row whose letters name no listed column, no
// valid column or nothing gets an empty description.
TDSMDescUpdate UpdateDescriptions(TDSMRows& rows, const TovSD& sd, const QString& dataSourcePath);
// The lines of the message that reports an update.
QStringList DescUpdateReport(const TDSMDescUpdate& counts);

// The balloon text for a character that is no column letter.
QString InvalidLetterText(const QString& dataSourcePath);
// A typed character as column 1 takes it: a..z upper-cased; 0 when it is refused (anything but
// A..Z, Backspace, Enter and Escape).
QChar FilterLetter(QChar key);

} // namespace dsm
