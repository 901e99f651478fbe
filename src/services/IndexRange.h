#pragma once

#include <QString>

// The range check every indexed accessor runs: false when Low <= Index <= High; otherwise shows
// the index error in the plain message box and returns true, and the caller returns its default.
bool CheckIndexRange(int Index, int Low, int High, const QString& Name);

// The three paragraphs of the index error message.
QString IndexRangeMessage(int Index, int Low, int High, const QString& Name);
