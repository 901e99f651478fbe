#pragma once

#include <string>

namespace workbook::detail {

// The formula of a shared-formula master as it reads in a cell dRow rows and dCol columns away:
// relative references move, absolute ones ($) stay, a reference pushed off the sheet becomes
// #REF!. Strings, quoted sheet names and bracketed parts are copied unchanged.
std::string shiftFormula(const std::string& formula, int dRow, int dCol);

} // namespace workbook::detail
