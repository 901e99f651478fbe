#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The standard dialogue's message text: each message line framed by one blank on each side and
// cut where it reaches the wrap width (mid-word, at the character that reaches it); then the
// whole text trimmed with one empty line above and below. textWidth measures a text in the
// dialogue's font.
QStringList WrapStdDlgLines(const QStringList& msgLines, int wrapWidth,
                            const std::function<int(const QString&)>& textWidth);

// The hint of a dialogue button: the caller's hint, a line break, and the shortcut line of the
// button's glyph index (the caller's hint alone for any other index).
QString StdDlgButtonHint(int imageIndex, const QString& hint);

// One of the dialogue's three buttons, as Esc and the close box see it.
struct StdDlgButtonState {
    bool visible = false;
    int modalResult = 0;
};

// The answer of Esc or the close box: the right-hand button's result; but Esc never answers Yes
// (nor Continue, which returns the same result), so then the nearest visible button to its left
// that does not answer Yes, else Cancel.
int StdDlgEscapeResult(const StdDlgButtonState& left, const StdDlgButtonState& middle,
                       const StdDlgButtonState& right);
