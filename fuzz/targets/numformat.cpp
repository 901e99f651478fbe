// The number-format renderer: the input is 8 bytes of a number, one byte choosing the value's
// kind and the date system, then the format code as UTF-8.
#include "FuzzSupport.h"
#include "workbook/NumberFormat.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 9) {
        return 0;
    }
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    const uint8_t choice = data[8];
    const QString code = QString::fromUtf8(reinterpret_cast<const char*>(data + 9),
                                           static_cast<qsizetype>(size - 9));
    workbook::CellValue value;
    switch (choice % 4) {
    case 0:
        value = workbook::CellValue::number(number);
        break;
    case 1:
        value = workbook::CellValue::text(code.left(8));
        break;
    case 2:
        value = workbook::CellValue::boolean((choice & 0x10) != 0);
        break;
    default:
        break;
    }
    try {
        workbook::isDateFormat(code);
        workbook::formatCellText(value, code, (choice & 0x80) != 0);
        workbook::formatGeneral(number);
        workbook::builtInFormatCode(choice);
    } catch (const platform::Exception&) {
    }
    return 0;
}
