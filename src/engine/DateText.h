#pragma once

#include <QString>

#include <optional>

namespace engine {

// The date-time value of a text (days since 30 Dec 1899, the time as the fraction), or nothing
// when the text is not a date. Accepted: a number (a date cell's serial value), "dd-MMM-yyyy",
// ISO "yyyy-MM-dd", and the user locale's date formats, each optionally followed by a time.
std::optional<double> ParseDateText(const QString& text);

// The date test of the task validation: the trimmed text has at least 3 characters and the
// text converts to a date-time.
std::optional<double> DateOfText(const QString& text);

// The whole day of a date-time value, truncated towards zero.
int WholeDay(double dateTime);

// A whole day as "dd-MMM-yyyy" (English month abbreviations), for example "09-Dec-2026".
QString DayText(int day);

} // namespace engine
