#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace workbook::detail {

// Serial day number of a date (1900 system with its 29 February 1900, or 1904 system).
double dateToSerial(const QDate& date, bool date1904);

// Reads a text of the program's own date pattern "dd-MMM-yyyy" (09-Dec-2026; the month
// abbreviation in English or in the user's locale). nullopt for any other text.
std::optional<QDate> parseDayMonthYear(const QString& text);

} // namespace workbook::detail
