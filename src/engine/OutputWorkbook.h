#pragma once

#include "engine/RunResults.h"
#include "excel/Automation.h"

#include <vector>

class TovXL;
class TovRF;
class TovRHs;
class TovRFs;

// Writing the report tables and the chart data into the output worksheets through the Excel
// layer. Each routine works on the layer's current worksheet.
namespace engine {

// A field's value: "No Data" or "N/A" by its state, else its text, integer, number or date (as
// its serial number) by its type.
void WriteReportField(TovXL& xl, const TovRF& field);
// A field's colours by its state: "No Data" red on silver, "N/A" on silver, a value unchanged.
void ColourReportField(TovXL& xl, const TovRF& field);

// The Project Summary worksheet: the report title and every field's value, then the fields'
// state colours and the red values.
void InsertProjectSummaryData(TovXL& xl, const TovRHs& headers, const TovRFs& fields);
void FormatProjectSummaryWorksheet(TovXL& xl, const TovRFs& fields);

// The Chart Data block of a run: its first row, the number of project days and the run's report
// date (its month gives the placeholder dates of the cleared block).
struct ChartBlock {
    int FirstRow = 8;
    int Days = 0;
    int ReportDate = 0;
    int lastRow() const { return FirstRow + Days - 1; }
};

// Whether a template's block, from its first row to the last used row of the worksheet, can be
// resized to any number of days: it must hold at least two rows, so that rows inserted between
// them stretch every reference to the block.
bool ChartBlockResizable(int firstRow, int usedLastRow);

// The last row of a template's block: the worksheet's last used row, or, when the template's
// charts read a block that ends above it (something stands below the block), the row where the
// charts' block ends. The charts' ranges that span the block's first two rows end there or
// below; their last rows are kept and moved down by the rows inserted inside them, so every
// range stretches over every day written, and what stands below the block moves down with it.
int ChartBlockLastRow(int firstRow, int usedLastRow,
                      const std::vector<automation::RowSpan>& chartRows);

// Resets the Chart Data head, resizes the block to the run's days by deleting and inserting
// whole rows between its first and last rows, clears the block's cells and writes placeholder
// dates. blockLastRow is the template block's last row (ChartBlockLastRow).
void ClearChartData(TovXL& xl, const TovRHs& headers, const TovRFs& fields, const ChartBlock& block,
                    int blockLastRow);
// Writes the head's title and fields, then each of the block's 37 columns in one range write.
void InsertChartData(TovXL& xl, const TovRHs& headers, const TovRFs& fields,
                     const RunResults& results, const ChartBlock& block);
void FormatChartData(TovXL& xl, const TovRFs& fields);

} // namespace engine
