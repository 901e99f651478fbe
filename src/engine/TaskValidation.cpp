#include "TaskValidation.h"

#include "engine/DateText.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QStringList>

#include <algorithm>

namespace engine {

namespace {

struct SetTexts {
    int validating;
    int dates;
};
constexpr SetTexts kSetTexts[3] = {{391, 394}, {392, 395}, {393, 396}};

struct NoValidTexts {
    int unable;
    int noTasks;
    const char* key;
};
constexpr NoValidTexts kNoValidTexts[3] = {
    {1448, 1449, "UP005"}, {1450, 1451, "UP006"}, {1452, 1453, "UP007"}};

bool ChecksPctComplete(DataSet set, const RunOptions& o) {
    switch (set) {
    case DataSet::Baseline:
        return false;
    case DataSet::Actual:
        return true;
    case DataSet::Target:
        return (o.GraphMH && o.MHExpendedToDate) || (o.GraphCost && o.CostExpendedToDate);
    }
    return false;
}

} // namespace

void ValidateTasks(DataSet set, const RunOptions& options, const TaskTable& table,
                   RunResults& results, StageProgress& progress, const DateTextTest& dateTest) {
    progress.runStage([&] {
        const int taskCount = table.taskCount();
        const int s = Index(set);
        const bool baseline = set == DataSet::Baseline;
        const bool checkPct = ChecksPctComplete(set, options);
        const bool convertToTotals = !baseline;
        DataSetResult& out = results.set(set);
        if (results.Tasks.size() != table.Rows.size()) {
            results.Tasks.resize(table.Rows.size());
        }

        progress.beginCount(kSetTexts[s].validating, taskCount);
        out.Tasks.clear();
        out.Tasks.reserve(static_cast<std::size_t>(taskCount));
        out.ValidTasks = 0;
        out.InvalidTasks = 0;

        for (int k = 1; k <= taskCount; ++k) {
            const std::size_t t = static_cast<std::size_t>(k - 1);
            const TaskRow& row = table.Rows[t];
            TaskState& state = results.Tasks[t];
            if (row.Blank) {
                // Blank rows are invalid for every generated data set.
                ++out.InvalidTasks;
                state.Valid[static_cast<std::size_t>(s)] = false;
            } else if (state.Match) {
                const QString& startText = baseline ? row.BLStartText : row.StartText;
                const QString& finishText = baseline ? row.BLFinishText : row.FinishText;
                std::optional<ValidTask> task;
                if (!startText.isEmpty() && !finishText.isEmpty()) {
                    const auto start = dateTest ? dateTest(startText) : DateOfText(startText);
                    const auto finish = dateTest ? dateTest(finishText) : DateOfText(finishText);
                    if (start && finish && WholeDay(*start) != 0 && WholeDay(*finish) != 0) {
                        ValidTask v;
                        v.Start = WholeDay(*start);
                        v.Finish = WholeDay(*finish);
                        v.Duration = v.Finish - v.Start + 1;
                        const double p = row.PctComplete;
                        if (v.Duration >= 1 && (!checkPct || (p >= 0.0 && p <= 1.0))) {
                            double m = options.GraphMH
                                           ? (baseline ? row.BLManHours : row.ManHoursValue)
                                           : 0.0;
                            double c =
                                options.GraphCost ? (baseline ? row.BLCost : row.CostValue) : 0.0;
                            if (convertToTotals && options.MHExpendedToDate) {
                                m = p != 0.0 ? m / p : 0.0;
                            }
                            if (convertToTotals && options.CostExpendedToDate) {
                                c = p != 0.0 ? c / p : 0.0;
                            }
                            v.ManHours = m;
                            v.Cost = c;
                            if (set == DataSet::Actual) {
                                v.PctComplete = p;
                            } else {
                                v.ManHoursRate = m / v.Duration;
                                v.CostRate = c / v.Duration;
                            }
                            task = v;
                        }
                    }
                }
                if (task) {
                    out.Tasks.push_back(*task);
                    ++out.ValidTasks;
                    state.Valid[static_cast<std::size_t>(s)] = true;
                    if (baseline) {
                        state.BLStart = task->Start;
                        state.BLFinish = task->Finish;
                    } else {
                        state.Start = task->Start;
                        state.Finish = task->Finish;
                        state.ManHours = task->ManHours;
                        state.Cost = task->Cost;
                    }
                } else {
                    ++out.InvalidTasks;
                    state.Valid[static_cast<std::size_t>(s)] = false;
                }
            }
            progress.countItem(k);
        }
        progress.endCount();

        progress.step(UIT(kSetTexts[s].dates));
        out.FirstStart = options.ReportDate;
        out.LastFinish = options.ReportDate;
        if (!out.Tasks.empty()) {
            out.FirstStart = out.Tasks.front().Start;
            out.LastFinish = out.Tasks.front().Finish;
            for (const ValidTask& v : out.Tasks) {
                out.FirstStart = std::min(out.FirstStart, v.Start);
                out.LastFinish = std::max(out.LastFinish, v.Finish);
            }
        }
        progress.complete();
    });
}

ValidTasksWarning CheckValidTasks(const QString& what, const RunOptions& options,
                                  const RunResults& results, StageProgress& progress) {
    ValidTasksWarning warning;
    progress.runStage([&] {
        int generated = 0;
        int without = 0;
        for (DataSet set : kDataSets) {
            if (!options.generates(set)) {
                continue;
            }
            ++generated;
            if (results.set(set).ValidTasks > 0) {
                continue;
            }
            ++without;
            const NoValidTexts& texts = kNoValidTexts[Index(set)];
            warning.Lines << UIT(texts.unable) << UIT(texts.noTasks) << QString();
            warning.Key = QString::fromLatin1(texts.key);
        }
        if (without == generated) {
            const QStringList lines = {
                platform::Format(UIT(txt::UnableToExtractAnyValid), {what, options.DSFDesc}),
                QString(),
                platform::Format(UIT(txt::PleaseCheckAndorDataSourceMap), {options.DSFDesc}),
                QString(),
                options.DSFPath,
            };
            throw platform::Exception(lines.join(QStringLiteral("\r\n")));
        }
        if (without > 0) {
            warning.Lines << UIT(txt::PleaseCheckDataSourceMap);
        } else {
            warning.Lines.clear();
        }
    });
    return warning;
}

} // namespace engine
