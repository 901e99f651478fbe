#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"

namespace engine {

// Fills the percentage S curve rows: each generated data set's S curve divided by the last-day
// value of the Baseline (Baseline = 100%) or Target (Target = 100%) S curve, as fractions.
void CalcPercentSCurves(const RunOptions& options, RunResults& results, StageProgress& progress);

// Fills the percentage histogram rows: each daily row divided by the same reference totals.
void CalcPercentHistograms(const RunOptions& options, RunResults& results, StageProgress& progress);

} // namespace engine
