#pragma once

#include "workbook/detail/FormulaRefs.h"

#include <pugixml.hpp>

#include <string>

namespace workbook::detail {

// Whole-row insertion and deletion applied to the XML of the parts of a workbook package, one
// part at a time. Each function makes one pass over its part for the whole block of rows and
// returns whether it changed the part. Only the part whose rows change is restructured; the
// other parts have their references to the changed sheet adjusted.

// Raises workbook::Error when inserting the rows would push cells that are not empty off the
// bottom of the sheet. Call it before changing any part.
void checkRowInsertion(const pugi::xml_document& worksheet, const RowChange& change);

// A worksheet part. When `hostSheet` is the changed sheet its rows move: row and cell numbers,
// inserted rows formatted like the row above, dimension, merged cells, conditional formats,
// data validations, hyperlinks, autoFilter, selection, page breaks, ignored errors and
// protected ranges. On every sheet the formulas (cells, conditional formats, validations,
// hyperlink locations, extension lists) are adjusted; shared formulas that could be affected are
// written out cell by cell first.
bool shiftWorksheet(pugi::xml_document& worksheet, const std::string& hostSheet,
                    const std::string& changedSheet, const RowChange& change);

// The defined names (print areas and titles included) of workbook.xml.
bool shiftDefinedNames(pugi::xml_document& workbookXml, const std::string& changedSheet,
                       const RowChange& change);

// A chart part: series values, categories, titles and every other formula of the chart.
bool shiftChartReferences(pugi::xml_document& chart, const std::string& changedSheet,
                          const RowChange& change);

// The drawing part of the changed sheet: two-cell anchors stretch (or move, or stay, as their
// editAs says), one-cell anchors move, absolute anchors stay.
bool shiftDrawingAnchors(pugi::xml_document& drawing, const RowChange& change);

// The comments part of the changed sheet; the comments of deleted rows are removed.
bool shiftComments(pugi::xml_document& comments, const RowChange& change);

// The legacy (VML) drawing of the changed sheet: comment boxes move with their cells; the boxes
// of deleted rows are removed.
bool shiftVmlAnchors(pugi::xml_document& vml, const RowChange& change);

// A table part on `hostSheet`. Its range moves only when its own sheet changes; its formulas are
// adjusted on every sheet.
enum class TableShift { Unchanged, Changed, Deleted };
TableShift shiftTable(pugi::xml_document& table, const std::string& hostSheet,
                      const std::string& changedSheet, const RowChange& change);

} // namespace workbook::detail
