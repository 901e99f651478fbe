// The formula-reference lexer and the row shifts of formulas and ranges: the input is three bytes
// choosing an insertion or a deletion, its first row and its count, then the formula.
#include "workbook/detail/FormulaRefs.h"
#include "FuzzSupport.h"

using namespace workbook::detail;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) {
        return 0;
    }
    const int at = 1 + data[1] * 4099 % kMaxRows;
    const int count = 1 + data[2] * 257;
    const RowChange change =
        (data[0] & 1) != 0 ? RowChange::insert(at, count) : RowChange::remove(at, count);
    const std::string formula(reinterpret_cast<const char*>(data + 3), size - 3);
    try {
        rewriteReferences(formula, [](const Reference& ref) -> std::optional<std::string> {
            return formatReference(ref);
        });
        parseReference(formula);
        shiftFormula(formula, "Sheet1", "Sheet1", change);
        shiftFormula(formula, "Other", "Sheet1", change);
        shiftAnchoredFormula(formula, "Sheet1", "Sheet1", change, data[1] - 128);
        shiftRange(formula, change);
        shiftRangeList(formula, change);
        translateFormula(formula, data[1] - 128, data[2] - 128);
    } catch (const platform::Exception&) {
    }
    return 0;
}
