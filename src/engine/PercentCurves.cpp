#include "PercentCurves.h"

namespace engine {

namespace {

// One combination of data set, quantity and reference: the target rows and progress texts of
// the percentage S curve and the percentage histogram.
struct Combination {
    DataSet set;
    bool cost;
    DataSet reference;
    int sCurveRow;
    int sCurveText;
    int histogramRow;
    int histogramText;
};

// In the order the stages compute them: data set, then quantity, then reference.
constexpr Combination kCombinations[12] = {
    {DataSet::Baseline, false, DataSet::Baseline, 5, 419, 14, 417},
    {DataSet::Baseline, false, DataSet::Target, 8, 420, 17, 418},
    {DataSet::Baseline, true, DataSet::Baseline, 23, 425, 32, 423},
    {DataSet::Baseline, true, DataSet::Target, 26, 426, 35, 424},
    {DataSet::Actual, false, DataSet::Baseline, 6, 431, 15, 429},
    {DataSet::Actual, false, DataSet::Target, 9, 432, 18, 430},
    {DataSet::Actual, true, DataSet::Baseline, 24, 437, 33, 435},
    {DataSet::Actual, true, DataSet::Target, 27, 438, 36, 436},
    {DataSet::Target, false, DataSet::Baseline, 7, 443, 16, 441},
    {DataSet::Target, false, DataSet::Target, 10, 444, 19, 442},
    {DataSet::Target, true, DataSet::Baseline, 25, 449, 34, 447},
    {DataSet::Target, true, DataSet::Target, 28, 450, 37, 448},
};

void CalcPercentRows(bool histograms, const RunOptions& options, RunResults& results,
                     StageProgress& progress) {
    progress.runStage([&] {
        const int n = results.ProjectDays;
        SeriesStore& series = results.Series;
        for (const Combination& c : kCombinations) {
            if (!options.generates(c.set) || !options.generates(c.reference) ||
                !(c.cost ? options.GraphCost : options.GraphMH)) {
                continue;
            }
            const std::size_t set = static_cast<std::size_t>(Index(c.set));
            const std::size_t ref = static_cast<std::size_t>(Index(c.reference));
            const int source = histograms ? (c.cost ? rows::CostDaily : rows::MHDaily)[set]
                                          : (c.cost ? rows::CostSCurve : rows::MHSCurve)[set];
            const int target = histograms ? c.histogramRow : c.sCurveRow;
            const int reference = (c.cost ? rows::CostSCurve : rows::MHSCurve)[ref];
            progress.beginCount(histograms ? c.histogramText : c.sCurveText, n);
            const double total = n >= 1 ? series.at(reference, n) : 0.0;
            for (int i = 1; i <= n; ++i) {
                series.at(target, i) = total != 0.0 ? series.at(source, i) / total : 0.0;
                progress.countItem(i);
            }
            progress.endCount();
        }
    });
}

} // namespace

void CalcPercentSCurves(const RunOptions& options, RunResults& results, StageProgress& progress) {
    CalcPercentRows(false, options, results, progress);
}

void CalcPercentHistograms(const RunOptions& options, RunResults& results,
                           StageProgress& progress) {
    CalcPercentRows(true, options, results, progress);
}

} // namespace engine
