#pragma once

#include <QString>

// The grid's own report of a bad index: three lines, " %s Index is invalid. ", " Valid Range: %d
// to %d. " and " Index Value: %d. ", each framed by one blank on either side and joined by one
// line break (the lists of the data file separate the same texts by empty lines instead).
QString GridIndexMessage(int index, int low, int high, const QString& name);

// False when low <= index <= high; otherwise shows the report in the plain message box (error,
// one OK button) and returns true, and the caller does nothing or returns its default.
bool CheckGridIndex(int index, int low, int high, const char* name);
