#pragma once

#include <QDate>
#include <QString>
#include <functional>

// Dates of the report tables: day serials (days since 30 December 1899, the time as the fraction),
// an injectable "today" and the date pattern rendering of the report fields.
namespace ReportDates {

// The serial of a day.
double ToSerial(const QDate& date);

// The day of a serial's date part; an invalid date for a serial outside the calendar.
QDate FromSerial(double serial);

// Today's date as a whole-day serial, from the installed clock (the system clock by default).
double Today();

// Replaces the clock; an empty function restores the system clock.
void SetClock(std::function<QDate()> clock);

// The date part of a serial rendered by a pattern such as "dd-MMM-yyyy" (English month names,
// whatever the machine's locale); empty for a serial outside the calendar.
QString FormatSerial(double serial, const QString& pattern);

} // namespace ReportDates
