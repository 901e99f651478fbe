#pragma once

#include "workbook/CellValue.h"

#include <QString>

namespace workbook {

// The code of a built-in number format (ids 0-49, as the spreadsheet application shows them in
// the English (United States) locale); "General" for an id without a code of its own.
QString builtInFormatCode(int id);

// True when the format's first section shows a date or a time.
bool isDateFormat(const QString& code);

// The text a cell shows for `value` under the number format `code`: sections with conditions,
// colours (not shown), locale tags, literals, `_` (a space) and `*` (no fill), digits,
// thousands, scaling, percent, scientific, fractions, dates and times, text `@`, and General's
// 11-character rule. Serial dates count from 1900 or, with `date1904`, from 1904. A code longer
// than the spreadsheet application stores (255 characters) shows the value as General does.
QString formatCellText(const CellValue& value, const QString& code, bool date1904 = false);

// General's rendering of a number (at most 11 characters, minus sign not counted).
QString formatGeneral(double value);

} // namespace workbook
