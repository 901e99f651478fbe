#pragma once

#include "workbook/detail/FormulaRefs.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace workbook::detail {

class WorkbookModel;

// Inserts or deletes whole rows of one worksheet (0-based among the worksheets) and adjusts the
// whole workbook to it: every worksheet, the defined names, every chart, and the drawings,
// comments and tables of the sheet. One pass over each part for the whole block of rows. An
// insertion that would push cells that are not empty off the sheet raises workbook::Error before
// anything is changed; rows outside the sheet raise the bare rejected-reference error.
void changeRows(WorkbookModel& workbook, int worksheet, const RowChange& change);

// The rows (first, last) of every cell or block of one worksheet (0-based among the worksheets)
// that a chart of the workbook reads: its series' values, categories and titles.
std::vector<std::pair<int, int>> chartRowSpans(WorkbookModel& workbook, int worksheet);

// Refreshes the cached values of every chart of the workbook from the cells (before saving);
// `changed` is told of each chart part whose caches changed, as soon as they have.
void refreshAllChartCaches(WorkbookModel& workbook,
                           const std::function<void(const std::string&)>& changed = {});

} // namespace workbook::detail
