#pragma once

#include <QString>
#include <QStringList>

// The windows a run and an import share: the progress window around their steps and the
// standard dialogue that reports how they ended.
namespace engine {

// Resets the progress window for steps, captions it " <program>: <caption> " and shows it.
void ShowProcessProgress(const QString& caption, int steps);
// Clears Cancel and hides the progress window.
void HideProcessProgress();
// The lines that report a failure: the message log, the Excel layer's lines (Excel is quit
// first; a failing quit adds its own lines) and, when there are details, their lines headed
// "Details:".
QStringList FailureLines(const QString& details);
// The standard dialogue of kind with the lines and one Close button with the hint.
void ShowCloseMessage(int kind, const QString& key, const QStringList& lines, int hintId);

} // namespace engine
