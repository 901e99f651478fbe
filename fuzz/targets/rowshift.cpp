// The row shifter on worksheet XML: the input is two bytes choosing the change, then a worksheet
// part; the rows are inserted or deleted on it as on the changed sheet and as on another sheet.
#include "workbook/detail/RowShift.h"
#include "FuzzSupport.h"
#include "workbook/detail/Package.h"

using namespace workbook::detail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const RowChange change = (data[0] & 1) != 0 ? RowChange::insert(1 + data[1], 1 + data[0] / 2)
                                                : RowChange::remove(1 + data[1], 1 + data[0] / 2);
    for (const char* host : {"Sheet1", "Other"}) {
        pugi::xml_document sheet;
        if (!sheet.load_buffer(data + 2, size - 2, kParseOptions)) {
            return 0;
        }
        try {
            if (change.isInsert()) {
                checkRowInsertion(sheet, change);
            }
            shiftWorksheet(sheet, host, "Sheet1", change);
            serialise(sheet);
        } catch (const platform::Exception&) {
        }
    }
    return 0;
}
