#pragma once

#include <QString>

class ITabHost;
class TovSD;

// Where a definition's task fields come from: the task worksheet's header row of the data
// source workbook, with the captions the checks and the import name them by.
struct TTaskFieldSource {
    QString FileCaption;
    QString FilePath;
    QString OpenPassword;
    QString WorksheetCaption;
    QString WorksheetName;
    QString HeaderRowCaption;
    int HeaderRow = 1;

    // The data source settings the definition stores.
    static TTaskFieldSource Of(const TovSD& sd);
};

// Whether the workbook can be read at all, in the order the user is told: the spreadsheet
// program is installed, the path is valid and names an existing file, the worksheet name and the
// header row are valid, and (for an .xlsx file under an old version) the user does not cancel the
// compatibility pack warning. Each failure shows its own message; true when usable.
bool CheckTaskFieldSourceDlg(const TTaskFieldSource& source);

// Makes sure the definition's task field list is loaded: when it is not, imports it from the
// source while the host is busy (also when the import raises). True when the list is loaded;
// false when the import failed and showed why.
bool EnsureTaskFieldsLoaded(ITabHost& host, const TovSD& sd, const TTaskFieldSource& source);

// How a refresh of task field descriptions from the task field list went, field by field.
struct TDescriptionCounts {
    int Updated = 0;   // found in the list
    int NotFound = 0;  // valid letters the list does not hold
    int Invalid = 0;   // letters that name no column of the workbook
    int Undefined = 0; // no letters
};

// The description a refresh gives the field at `letters` (its header text with line feeds as
// blanks; empty when not found, invalid or undefined), counted in `counts`. columnValid: whether
// the letters name a column of the data source workbook.
QString RefreshedDescription(const TovSD& sd, const QString& letters, bool columnValid,
                             TDescriptionCounts& counts);

// The first field of the definition's task field list whose column letters are `letters`
// (compared upper-cased, a..z only); 0 when there is none.
int FindTaskField(const TovSD& sd, const QString& letters);

// The last column's letters of a workbook: "IV" where a worksheet has 256 columns, else "XFD".
QString LastColumnLetters(const QString& workbookPath);
// The column number of letters in a workbook of that path; 0 when they name no column of it.
int ColumnOfLetters(const QString& workbookPath, const QString& letters);
