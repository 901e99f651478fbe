#pragma once

// The path functions of the general utilities serve the model too.
#include "services/PathUtils.h"

#include <QString>
#include <functional>

// Text, path and date helpers of the definition model. Paths are POSIX paths: "/" separates, a
// full path is absolute; names compare case-sensitively, extensions ignoring the case of a..z.
namespace modelutil {

// Upper-cases the letters a..z only.
QString UpperAZ(const QString& text);

// The text with each run of line breaks (CR, LF) replaced by one blank: a stored value is one
// line of the data file, so a cell text of several lines is joined.
QString JoinLines(const QString& text);
// The form of a stored text: lines joined, then trimmed.
QString StoredText(const QString& text);
// Equal after upper-casing the letters a..z only.
bool SameTextAZ(const QString& a, const QString& b);
// The first n characters; a surrogate pair is never split (the cut is one shorter instead).
QString StrLeft(const QString& text, int n);

// The path with its extension replaced by ext (which carries its dot), or ext appended.
QString ChangeFileExt(const QString& path, const QString& ext);
// The path made absolute and clean ("." and ".." resolved, doubled "/" removed).
QString CleanAbsolutePath(const QString& path);

// Whether a file (not a folder) exists at the path.
bool FileExistsChecked(const QString& path);
// Whether the user may not write the existing file.
bool FileIsReadOnly(const QString& path);
// The Desktop and Documents folders with a trailing "/", empty when unknown.
QString DesktopFolder();
QString DocumentsFolder();
// The two Program Files folders: empty on this platform.
QString ProgramFilesFolderNative();
QString ProgramFilesFolderX86();

// Today as a whole day number (days since 1899-12-30); tests install a fixed day.
double ModelToday();
void setModelToday(std::function<double()> today);
// A day number as "dd-MMM-yyyy" (English month names).
QString FormatDayNumber(double day);

} // namespace modelutil
