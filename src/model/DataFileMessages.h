#pragma once

#include <QString>
#include <QStringList>

// The standard dialogues of the data file commands: Yes/No questions (Yes in the middle, No on
// the right), Yes/No/Cancel questions (left to right) and warnings with one Close button.
namespace datafile {

// Asks with Yes and No; returns the modal result.
int AskYesNo(const QString& key, const QStringList& lines, int yesHint, int noHint);
// Asks with Yes, No and Cancel; returns the modal result.
int AskYesNoCancel(const QString& key, const QStringList& lines, int yesHint, int noHint,
                   int cancelHint);
// Warns with one Close button.
void WarnClose(const QString& key, const QStringList& lines, int closeHint);
// The line "Details: %s" of a failure's message and an empty line; nothing when it has none.
QStringList DetailsLines(const QString& message);
// "UDF020": the data file could not be saved to path, with the details.
void WarnNotSaved(const QString& path, const QString& details);

} // namespace datafile
