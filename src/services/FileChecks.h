#pragma once

#include <QString>

// File and folder tests run before a file is read or written. The description is the UI text
// naming the kind of file or folder ("Data File"). The reporting family shows a failure in the
// standard dialogue (keys "U001", "U004", "U005", "U006") and returns false; the passing-on family
// adds the failure to the message log of AD and raises the error again for the caller's handler.

// The reporting family's standard dialogue: kind Warning, key, the first line (a UI text with the
// description in its %s), an empty line, the path, an empty line and, when there are any, the
// details ("Details: %s"); one Close button with the hint closeHintId.
void ReportFileFailure(const QString& key, int firstLineId, int closeHintId,
                       const QString& description, const QString& path, const QString& details);

// Reporting: false for a path of blanks; else whether the folder exists.
bool FolderExists(const QString& description, const QString& path);
// Passing on: true only when it created the folder and its missing parents: the path holds a
// folder part ("/") and does not exist yet. A folder that cannot be created raises.
bool CreateFolder(const QString& description, const QString& path);
// Reporting: whether the file exists (driveFlag does not change the result).
bool FileExistsChecked(const QString& description, const QString& path, bool driveFlag = true);
// Passing on: whether the file exists.
bool FileExistsOrRaise(const QString& description, const QString& path, bool driveFlag = true);
// Reporting: true when the file was deleted; a read-only or missing file is not deleted.
bool DeleteFileChecked(const QString& description, const QString& path);
// Passing on: true when another program holds the file open (a lock on it, or a spreadsheet
// program's lock file beside it); a missing file is not in use; a file that cannot be examined
// raises.
bool FileInUse(const QString& description, const QString& path);
// Reporting: true when the user may not write the file; callers test existence first.
bool FileIsReadOnly(const QString& description, const QString& path);
