#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <optional>

// Text functions of the general utilities. Positions are 1-based; none of them raises.

// The first n characters; the whole text when it is not longer than n.
QString StrLeft(const QString& text, int n);
// n characters from position p; n = 0 or more than the text holds means up to the end; empty
// when p is beyond the text.
QString StrMid(const QString& text, int p, int n);
// The last n characters; the whole text when it is not longer than n.
QString StrRight(const QString& text, int n);
// The position of sub in the part of text that starts at p, counted within that part (1 = at p);
// 0 when absent or when sub is empty.
int PosFrom(int p, const QString& text, const QString& sub);
// The text with the letters a..z upper-cased and every other character unchanged: the program's
// case-insensitive comparisons of names and extensions.
QString UpperCaseAZ(const QString& text);
// Every line feed replaced by a blank; carriage returns stay.
QString LineFeedsToSpaces(const QString& text);
// The text with one blank on either side, as captions and list items show it.
QString Framed(const QString& text);
// The trimmed text as a decimal integer ("" counts as 0); 0 when it is not one.
int StrToIntOrZero(const QString& text);
// Whether value lies outside low..high.
bool IsOutOfRange(int value, int low, int high);

// Whether the trimmed text is longer than 2 characters and reads as a date, a time or both in the
// user's locale (numeric dates in the locale's order, month names in English or the locale's
// language, 24-hour or AM/PM times, ISO 8601).
bool IsDate(const QString& text);
// The date-time a text reads as (a time alone is on 30-12-1899, the day-number origin).
std::optional<QDateTime> TextToDateTime(const QString& text, const QLocale& locale);
