#pragma once

#include "forms/browse/BrowseGeometry.h"

#include <QRect>
#include <QString>

class QWidget;
class TovDF;
class TovSD;

// How the main window reaches the browse and error list windows: each window is shown modally by
// one Execute call and answers with its modal result (1 chosen, 2 cancelled, 4 refresh asked: the
// window has cleared the cache's loaded flag, so the opener imports again and calls once more).
// The windows install themselves when they are created; tests install scripted fakes.

// The screen rectangles of the field a browse window belongs to (an edit box, or the current
// row of a grid) and of the browse button beside it.
struct TBrowseAnchor {
    QRect Field;
    QRect Button;
};
// The anchor of two widgets as they are on the screen now.
TBrowseAnchor BrowseAnchorOf(const QWidget* field, const QWidget* button);
// The same for a field that is part of a widget (a grid's current row: its rectangle in the
// grid's coordinates).
TBrowseAnchor BrowseAnchorOf(const QWidget* area, const QRect& field, const QWidget* button);

// One data file out of the data file's list of handed-over paths. dpfe: in, the last choice (it
// is preselected); out, the chosen path.
class IBrowseFile {
public:
    virtual ~IBrowseFile() = default;
    virtual int Execute(const TovDF& df, QString& dpfe) = 0;
};

// A worksheet of the definition's worksheet list wslIndex (0..2). ws: in, the preselection;
// out, the chosen worksheet.
class IBrowseWS {
public:
    virtual ~IBrowseWS() = default;
    virtual int Execute(TovSD& sd, const QString& fileDesc, const QString& worksheetDesc,
                        int wslIndex, const TBrowseAnchor& anchor, QString& ws) = 0;
};

// A task field of the definition's task field list, with its header text.
struct TBrowseFldResult {
    QString TaskFld; // in: the preselection
    QString TaskFldDesc;
    bool ImportTaskFldDesc = false;
};
class IBrowseFld {
public:
    virtual ~IBrowseFld() = default;
    virtual int Execute(TovSD& sd, const QString& caption, const QString& subject,
                        const TBrowseAnchor& anchor, TBrowseFldResult& result) = 0;
};

// A value of the definition's task field value list vlIndex (1..n). value: in, the
// preselection; out, the chosen value.
class IBrowseVal {
public:
    virtual ~IBrowseVal() = default;
    virtual int Execute(TovSD& sd, int vlIndex, const TBrowseAnchor& anchor, QString& value) = 0;
};

// An error list window: refreshes its counts and column widths and is shown modally; the
// openers show it only when the validator's list is not empty and ignore the result.
class IErrListWindow {
public:
    virtual ~IErrListWindow() = default;
    virtual int Execute() = 0;
};

// What the Configuration Errors window asks of the main window: go to the field of error n
// (1-based): switch to its tab and select and focus the field or grid cell.
class ICfgErrTarget {
public:
    virtual ~ICfgErrTarget() = default;
    virtual void GoToCfgErr(int n) = 0;
};

// The windows in use (the windows once start-up created them, or tests' fakes); nullptr before.
IBrowseFile* BrowseFile();
void setBrowseFile(IBrowseFile* window);
IBrowseWS* BrowseWS();
void setBrowseWS(IBrowseWS* window);
IBrowseFld* BrowseFld();
void setBrowseFld(IBrowseFld* window);
IBrowseVal* BrowseVal();
void setBrowseVal(IBrowseVal* window);
IErrListWindow* CfgErrWindow();
void setCfgErrWindow(IErrListWindow* window);
IErrListWindow* DFVErrWindow();
void setDFVErrWindow(IErrListWindow* window);
// The main window registers itself here; the Configuration Errors window calls it.
ICfgErrTarget* CfgErrTarget();
void setCfgErrTarget(ICfgErrTarget* target);
