#pragma once

#include "workbook/detail/FormulaRefs.h"

#include <pugixml.hpp>

#include <string>

// Pieces shared by the row-shift units; not for use elsewhere.
namespace workbook::detail::rowshift {

// Writes out the shared formulas whose cells could read differently after the change: every
// group on the changed sheet, and groups elsewhere whose formula names the changed sheet.
bool expandSharedFormulas(pugi::xml_node sheetData, bool own, const std::string& changedSheet);

// Renumbers, removes and inserts the rows of sheetData, and adjusts every cell formula.
bool shiftSheetData(pugi::xml_node sheetData, bool own, const std::string& host,
                    const std::string& changed, const RowChange& ch);

// A list of ranges in an attribute; the element is removed when every range is deleted.
void shiftListAttr(pugi::xml_node node, const char* attr, const RowChange& ch, bool& modified);
// One reference in an attribute; the element is removed when it is deleted.
void shiftRefAttr(pugi::xml_node node, const char* attr, const RowChange& ch, bool& modified);
// Brings a list's count attribute up to the number of its items.
void updateCount(pugi::xml_node list, const char* item, bool& modified);

} // namespace workbook::detail::rowshift
