#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "excel/Automation.h"

#include <QString>

#include <array>

class TovRHs;
class TovRFs;

namespace engine {

class StageProgress;

// The number of columns of the Chart Data block: the dates (A) and the 36 series (B to AK).
inline constexpr int kChartDataColumns = 37;

// The twelve series rows of each data set (Baseline, Actual, Target): daily and S curve man
// hours, their percentages of the Baseline and of the Target totals, and the same for cost.
inline constexpr std::array<std::array<int, 12>, 3> kDataSetSeriesRows = {{
    {11, 2, 14, 5, 17, 8, 29, 20, 32, 23, 35, 26},
    {12, 3, 15, 6, 18, 9, 30, 21, 33, 24, 36, 27},
    {13, 4, 16, 7, 19, 10, 31, 22, 34, 25, 37, 28},
}};

// What the Chart Data head shows of the run's definition.
struct ChartDataTexts {
    QString ProjectTitle;
    QString ProjectNumber;
    QString ProjectClient;
};

// Fills the Chart Data title and its eight fields: report date, the cut off date twice beside
// the chart values 0 and 1, and the project texts.
void PopulateChartData(const RunOptions& options, const ChartDataTexts& texts,
                       const RunResults& results, TovRHs& headers, TovRFs& fields,
                       StageProgress& progress);

// Sets every generated data set's series to 0 (a blank cell) outside the set's own span: before
// the day preceding its start and after its end day (Actual: the cut off date); all days when the
// set has no valid task.
void DeleteTemporaryData(const RunOptions& options, RunResults& results, StageProgress& progress);

// The values of Chart Data column `column` (1..37) for days 1..N: the day's date as
// "dd-MMM-yyyy" text in column 1, series row `column` elsewhere with 0 as an empty text.
automation::Column ChartDataColumn(const RunResults& results, int column);
// The same values written into `values`, whose memory is reused from column to column.
void FillChartDataColumn(const RunResults& results, int column, automation::Column& values);

} // namespace engine
