#include "DailySeries.h"

#include <algorithm>
#include <vector>

namespace engine {

namespace {

struct SetTexts {
    int dailyMH;
    int sCurveMH;
    int dailyCost;
    int sCurveCost;
    int firstShownMH;
    int firstShownCost;
};
constexpr SetTexts kSetTexts[3] = {
    {415, 416, 421, 422, 1, 1}, {427, 428, 433, 434, 1, 0}, {439, 440, 445, 446, 1, 0}};

// The tasks of a data set grouped by their start day (1..N), each group in worksheet order; a
// task that starts outside the span belongs to no day.
struct StartBuckets {
    std::vector<int> first; // day i's tasks are order[first[i]] .. order[first[i + 1] - 1]
    std::vector<int> order;
};

StartBuckets BucketByStart(const std::vector<ValidTask>& tasks, int projectStart, int days) {
    StartBuckets b;
    b.first.assign(static_cast<std::size_t>(days) + 2, 0);
    const auto dayOf = [&](const ValidTask& t) {
        const long long day = static_cast<long long>(t.Start) - projectStart + 1;
        return day >= 1 && day <= days ? static_cast<int>(day) : 0;
    };
    for (const ValidTask& t : tasks) {
        if (const int d = dayOf(t)) {
            ++b.first[static_cast<std::size_t>(d) + 1];
        }
    }
    for (int i = 1; i <= days + 1; ++i) {
        b.first[static_cast<std::size_t>(i)] += b.first[static_cast<std::size_t>(i) - 1];
    }
    b.order.resize(static_cast<std::size_t>(b.first[static_cast<std::size_t>(days) + 1]));
    std::vector<int> next(b.first.begin(), b.first.end() - 1);
    for (std::size_t k = 0; k < tasks.size(); ++k) {
        if (const int d = dayOf(tasks[k])) {
            b.order[static_cast<std::size_t>(next[static_cast<std::size_t>(d)]++)] =
                static_cast<int>(k);
        }
    }
    return b;
}

// The daily row: on day i each task starting that day adds its rate to its days, which gives
// every day its additions in the order of the tasks' start days and then worksheet order.
void SpreadDaily(const std::vector<ValidTask>& tasks, const StartBuckets& buckets, bool cost,
                 int row, int textId, RunResults& results, StageProgress& progress) {
    const int n = results.ProjectDays;
    SeriesStore& series = results.Series;
    progress.beginCount(textId, n);
    for (int i = 1; i <= n; ++i) {
        const int from = buckets.first[static_cast<std::size_t>(i)];
        const int to = buckets.first[static_cast<std::size_t>(i) + 1];
        for (int b = from; b < to; ++b) {
            const ValidTask& t =
                tasks[static_cast<std::size_t>(buckets.order[static_cast<std::size_t>(b)])];
            const double rate = cost ? t.CostRate : t.ManHoursRate;
            const int last = std::min(n, i + t.Duration - 1);
            for (int d = i; d <= last; ++d) {
                series.at(row, d) += rate;
            }
        }
        progress.countItem(i);
    }
    progress.endCount();
}

void Accumulate(int dailyRow, int sRow, int textId, int firstShown, RunResults& results,
                StageProgress& progress) {
    const int n = results.ProjectDays;
    SeriesStore& series = results.Series;
    progress.beginCount(textId, n, firstShown);
    series.at(sRow, 1) = series.at(dailyRow, 1);
    for (int i = 2; i <= n; ++i) {
        series.at(sRow, i) = series.at(sRow, i - 1) + series.at(dailyRow, i);
        progress.countItem(i);
    }
    progress.endCount();
}

} // namespace

void CalcDailySeries(DataSet set, const RunOptions& options, RunResults& results,
                     StageProgress& progress) {
    progress.runStage([&] {
        const int s = Index(set);
        const SetTexts& texts = kSetTexts[s];
        DataSetResult& data = results.set(set);
        const std::vector<ValidTask>& tasks = data.Tasks;
        const std::size_t si = static_cast<std::size_t>(s);

        if (results.ProjectDays >= 1 && (options.GraphMH || options.GraphCost)) {
            // Buckets hold indexes only, so the second quantity reuses them.
            const StartBuckets buckets =
                BucketByStart(tasks, results.ProjectStart, results.ProjectDays);
            if (options.GraphMH) {
                SpreadDaily(tasks, buckets, false, rows::MHDaily[si], texts.dailyMH, results,
                            progress);
                Accumulate(rows::MHDaily[si], rows::MHSCurve[si], texts.sCurveMH,
                           texts.firstShownMH, results, progress);
            }
            if (options.GraphCost) {
                SpreadDaily(tasks, buckets, true, rows::CostDaily[si], texts.dailyCost, results,
                            progress);
                Accumulate(rows::CostDaily[si], rows::CostSCurve[si], texts.sCurveCost,
                           texts.firstShownCost, results, progress);
            }
        }

        data.TasksNotStarted = 0;
        data.TasksInProgress = 0;
        data.TasksFinished = 0;
        for (const ValidTask& t : tasks) {
            if (set == DataSet::Actual) {
                if (t.PctComplete == 0.0) {
                    ++data.TasksNotStarted;
                } else if (t.PctComplete >= 1.0) {
                    ++data.TasksFinished;
                } else {
                    ++data.TasksInProgress;
                }
            } else if (t.Start > results.CutOffDate) {
                ++data.TasksNotStarted;
            } else if (t.Finish < results.CutOffDate) {
                ++data.TasksFinished;
            } else {
                ++data.TasksInProgress;
            }
        }
    });
}

} // namespace engine
