#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace platform {

// The clipboard's text form of a block of cells, shared by every copy and paste of the program:
// fields separated by TAB, rows ended by CR LF. A field that holds a line break or a TAB, or
// begins with a double quote, is enclosed in double quotes with its inner quotes doubled, so
// that it reads back as one cell.

// The field as it is written into the clipboard text.
QString clipboardField(const QString& text);
// One row of fields joined by TAB, each written by clipboardField, without the line end.
QString clipboardRow(const QStringList& fields);

struct ClipboardRows {
    std::vector<QStringList> Rows;
    // False when the text's last row has no line break after it.
    bool LastRowEnded = true;
};

// Splits clipboard text into rows of fields. Rows end at CR LF, LF or CR; a trailing line break
// adds no empty row. A field that begins with a double quote is read as a quoted field (doubled
// quotes become one) when its closing quote ends the field and the quoted text holds a line
// break, a TAB or a doubled quote; otherwise it is read as it stands.
ClipboardRows parseClipboardRows(const QString& text);

} // namespace platform
