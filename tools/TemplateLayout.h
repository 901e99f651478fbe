#pragma once

// The default template's content: the two output worksheets laid out from the report tables,
// the chart data block and the charts.
#include <QString>
#include <xlsxwriter.h>

class TovRHs;
class TovRFs;

namespace tools {

// First and last row (1-based) of the chart data block in the template.
inline constexpr int kChartDataFirstRow = 8;
inline constexpr int kChartDataLastRow = 9;
// Row of the chart data column headings and the number of block columns (A to AK).
inline constexpr int kChartDataHeadingRow = 7;
inline constexpr int kChartDataColumns = 37;

// The heading of chart data column k (1 = the dates, 2 to 37 the series).
QString ChartDataHeading(int column);

// Whether chart data column k holds a fraction shown as a percentage.
bool IsPercentColumn(int column);

// Writes the captions and field cells of a report sheet with their styles and merges.
void WriteReportCells(lxw_workbook* workbook, lxw_worksheet* sheet, const TovRHs& headers,
                      const TovRFs& fields);

// Writes the Chart Data block: column headings and the two formatted rows.
void WriteChartDataBlock(lxw_workbook* workbook, lxw_worksheet* sheet);

// Adds the S curve and histogram charts of the chart data to a sheet, anchored from a column.
// Each chart is 576 x 320 pixels: 9 columns of 64 pixels, 16 rows of 20 pixels; the charts stand
// in bands of two, one band below the other from row 1.
inline constexpr int kChartColumns = 9;
inline constexpr int kChartRows = 16;
int ChartBandCount();

void AddCharts(lxw_workbook* workbook, lxw_worksheet* sheet, const QString& dataSheetName,
               int anchorColumn);

} // namespace tools
