#include "TaskTotals.h"

#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace engine {

namespace {

struct SetTexts {
    int manHours;
    int cost;
};
constexpr SetTexts kSetTexts[3] = {{401, 402}, {403, 404}, {405, 406}};

// The S curve on the cut off day: nothing before the project, everything after it.
double ToDate(const RunResults& results, int row) {
    const long long c = static_cast<long long>(results.CutOffDate) - results.ProjectStart + 1;
    const int n = results.Series.days();
    if (c < 1 || n < 1) {
        return 0.0;
    }
    return results.Series.at(row, c > n ? n : static_cast<int>(c));
}

} // namespace

void CalcTaskTotals(DataSet set, const RunOptions& options, RunResults& results,
                    StageProgress& progress) {
    progress.runStage([&] {
        const std::size_t s = static_cast<std::size_t>(Index(set));
        DataSetResult& data = results.set(set);
        const int count = static_cast<int>(data.Tasks.size());
        const auto total = [&](bool cost, int textId, int row, double& sum, double& toDate,
                               double& toRun) {
            progress.beginCount(textId, count);
            for (int k = 1; k <= count; ++k) {
                const ValidTask& t = data.Tasks[static_cast<std::size_t>(k - 1)];
                sum += cost ? t.Cost : t.ManHours;
                progress.countItem(k);
            }
            toDate = ToDate(results, row);
            toRun = sum - toDate;
            progress.endCount();
        };
        if (options.GraphMH) {
            data.ManHoursTotal = 0.0;
            total(false, kSetTexts[s].manHours, rows::MHSCurve[s], data.ManHoursTotal,
                  data.ManHoursToDate, data.ManHoursToRun);
        }
        if (options.GraphCost) {
            data.CostTotal = 0.0;
            total(true, kSetTexts[s].cost, rows::CostSCurve[s], data.CostTotal, data.CostToDate,
                  data.CostToRun);
        }
    });
}

void CalcGrowthSlippage(const RunOptions& options, const TaskTable& table, RunResults& results,
                        StageProgress& progress) {
    progress.runStage([&] {
        if (!options.generates(DataSet::Baseline) ||
            !(options.generates(DataSet::Actual) || options.generates(DataSet::Target))) {
            return;
        }
        progress.step(UIT(txt::CalculatingProjectGrowthSlippage));
        GrowthSlippage& g = results.Growth;
        g = GrowthSlippage();

        const DataSetResult& bl = results.set(DataSet::Baseline);
        const DataSetResult& cmp =
            results.set(options.generates(DataSet::Target) ? DataSet::Target : DataSet::Actual);
        g.SlippageStart = cmp.FirstStart - bl.FirstStart;
        g.SlippageFinish = cmp.LastFinish - bl.LastFinish;
        g.GrowthDuration = (cmp.LastFinish - cmp.FirstStart) - (bl.LastFinish - bl.FirstStart);

        const std::size_t n = std::min(results.Tasks.size(), table.Rows.size());
        for (std::size_t i = 0; i < n; ++i) {
            const TaskState& t = results.Tasks[i];
            if (!t.Valid[Index(DataSet::Baseline)] ||
                !(t.Valid[Index(DataSet::Actual)] || t.Valid[Index(DataSet::Target)])) {
                continue;
            }
            const TaskRow& row = table.Rows[i];
            const double manHours = t.ManHours - row.BLManHours;
            const double cost = t.Cost - row.BLCost;
            g.GrowthManHours += manHours;
            g.GrowthCost += cost;
            const int startSlip = t.Start - t.BLStart;
            const int finishSlip = t.Finish - t.BLFinish;
            const int durationGrowth = (t.Finish - t.Start + 1) - (t.BLFinish - t.BLStart + 1);
            g.TasksStartingLate += startSlip > 0 ? 1 : 0;
            g.TasksFinishingLate += finishSlip > 0 ? 1 : 0;
            g.TasksIncreasedDuration += durationGrowth > 0 ? 1 : 0;
            g.TasksIncreasedManHours += manHours > 0.0 ? 1 : 0;
            g.TasksIncreasedCost += cost > 0.0 ? 1 : 0;
        }
        progress.complete();
    });
}

} // namespace engine
