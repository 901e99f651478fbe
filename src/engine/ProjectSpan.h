#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"

#include <QString>

#include <functional>

namespace engine {

// Moves the cut off date into the dates the tasks cover (results.CutOffDate starts from the
// options' date), clips the Actual tasks at it and computes each data set's duration, elapsed and
// remaining days. When the date moves, `onMoved` runs with the move (the caller writes the date
// back into the definition and shows the dialogue) before the progress notes are added; the move
// is also left in results.CutOff.
void ValidateCutOffDate(const RunOptions& options, RunResults& results, StageProgress& progress,
                        const std::function<void(const CutOffMove&)>& onMoved = {});

// Settles the project span over the generated data sets with valid tasks, builds the day axis
// and sizes the series store with zeros. Raises when the span has more days than the Chart Data
// worksheet can hold in both the template's and the output's format.
void CalcProjectSpan(const RunOptions& options, RunResults& results, StageProgress& progress);

// The row limit of a workbook of the given path's format: 65536 for .xls, else 1048576.
int WorkbookRowLimit(const QString& path);

// The most project days the Chart Data block can hold in the output workbook.
int MaxProjectDays(const RunOptions& options);

} // namespace engine
