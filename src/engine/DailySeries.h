#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"

namespace engine {

// Spreads each valid task's daily man-hour and cost rates over its days into the data set's
// daily rows, accumulates them into its S curve rows, and counts the valid tasks by status
// against the cut off date (Actual by percent complete). Needs the project span.
void CalcDailySeries(DataSet set, const RunOptions& options, RunResults& results,
                     StageProgress& progress);

} // namespace engine
