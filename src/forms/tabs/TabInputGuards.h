#pragma once

#include "forms/tabs/TabHost.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>

class QLineEdit;
class TovGrid;

// The character sets the tabs' key filters test. Only codes below 256 can be members: a wider
// character is never in any set (so the row filter refuses it and the name filters let it pass).
namespace inputguards {
// Backspace, Tab, Enter and Escape: always let through by the length warning and the row filter.
bool IsControlKey(char16_t key);
// Refused in workbook paths: * ? " < > | ("/" separates folders and ":" and "\" are ordinary
// characters of a POSIX file name).
bool IsRefusedInPath(char16_t key);
// Refused in worksheet names: \ / : * ? [ ]
bool IsRefusedInWorksheetName(char16_t key);
// Allowed in the task header row: the control keys and the digits.
bool IsAllowedInRowNumber(char16_t key);

// The lists the balloons show after "The following characters cannot be used:".
QString RefusedInPathList();
QString RefusedInWorksheetNameList();

// The balloon's anchor in the coordinates of the box's parent: below the box's left edge, moved
// right to the caret when it is past the first character. caretX is the box-relative x of the
// caret as the box shows it, after the box has scrolled its text to keep the caret in view
// (negative when unknown); the anchor stays within the box's width.
QPoint CaretAnchor(const QRect& boxGeometry, int selectionStart, int caretX);
// The balloon rectangle: zero width, spanning the box's height up to the anchor, which is kept
// within the screen area.
QRect CaretBalloonRect(const QPoint& screenAnchor, int boxHeight, const QRect& screenArea);
} // namespace inputguards

// The guards the main window lends its tab pages for typing: the warning when an edit box or a
// grid cell is full, Ctrl+A in edit boxes and the three character filters. Every warning is shown
// in the window's one balloon; nothing is written to the definition here. A key set to 0 is
// swallowed by the caller.
class TTabInputGuards {
public:
    // maxRowsForPath: the spreadsheet's row count for a workbook path (the row filter's range).
    TTabInputGuards(IBalloonHint& balloon, std::function<int(const QString&)> maxRowsForPath);

    // key-press of an editable text box: refuses a character at the maximum length.
    void WarnMaxLengthTB(QObject* sender, QChar& key, int maxLength);
    // The character filter of a grid: refuses a character when the current cell is full;
    // cellRect is in the coordinates of the grid's viewport.
    void WarnMaxLengthSG(QObject* sender, QChar& key, int maxLength, const QRect& cellRect,
                         bool& allowed);
    // key-down of a text box (not Enter): hides the balloon; Ctrl+A selects all and swallows
    // the key.
    void KeyDownSelectAll(QObject* sender, int& key, Qt::KeyboardModifiers shift);
    void ValidatePathFileName(QObject* sender, QChar& key);
    void ValidateWS(QObject* sender, QChar& key);
    // dataSourcePath: the data source path as the S Curve Files tab shows it (its range).
    void ValidateTHR(QObject* sender, QChar& key, const QString& dataSourcePath);

    // What a text box guards against besides its length.
    enum class TFilter { None, PathFileName, WorksheetName, HeaderRow };
    // Installs the whole key sequence on a box: key-down (balloon hidden, Ctrl+A), then the
    // length warning, then the filter. For HeaderRow, dataSourcePath gives the path on screen.
    void Attach(QLineEdit* box, int maxLength, TFilter filter = TFilter::None,
                std::function<QString()> dataSourcePath = {});

    IBalloonHint& Balloon() { return BalloonHint; }

private:
    QLineEdit* EditableBox(QObject* sender) const;
    void ShowAtCaret(QLineEdit* box, const QString& text);
    // The name filters: a refused character is swallowed and the balloon lists the refused set.
    void RefuseCharacters(QObject* sender, QChar& key, bool (*refused)(char16_t),
                          const QString& refusedList);

    IBalloonHint& BalloonHint;
    std::function<int(const QString&)> MaxRowsForPath;
};
