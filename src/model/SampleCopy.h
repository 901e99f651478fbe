#pragma once

#include <QString>

class TovSDs;

// The user's own copy of the sample. The installed sample data file and its workbook are not the
// user's to change (opening them would ask the read-only question every time, and the sample's
// output workbooks would be written beside them), so the sample opens from a copy in the user's
// documents folder, made on first use: the copied data file names the copied workbook and writes
// its output workbooks into the same folder; the template stays the installed one.
QString UserSampleFolder();

// The copy of the installed sample data file, made when it does not exist yet. Returns the
// installed path itself when the installed file is missing or the copy cannot be made, so that
// the open reports the missing file or falls back to the read-only sample.
QString PrepareUserSample(const QString& installedDataFile);

// Points the Data Source File of every definition at the workbook of that name in the copy's
// folder. Opening a sample moves its paths to the installation; the copy's workbooks are the
// ones its user edits, and the run must read them.
void MoveSampleSourcesToCopy(TovSDs& list, const QString& copyFolder);

// True when the path names the installed sample data file (by its canonical path when both
// exist).
bool IsInstalledSample(const QString& path, const QString& installedDataFile);
