#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"
#include "engine/TaskTable.h"

namespace engine {

// Totals one data set's man hours and cost over its valid tasks and splits each total at the cut
// off day into To Date (the S curve on that day) and To Run.
void CalcTaskTotals(DataSet set, const RunOptions& options, RunResults& results,
                    StageProgress& progress);

// Compares the current plan (Target, else Actual) with the Baseline: project slippage and
// duration growth, and over the tasks valid in both, man-hour and cost growth and the counts of
// tasks starting late, finishing late and growing. Does nothing unless Baseline and another data
// set are generated.
void CalcGrowthSlippage(const RunOptions& options, const TaskTable& table, RunResults& results,
                        StageProgress& progress);

} // namespace engine
