#include "ProjectSpan.h"

#include "engine/DateText.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/SheetLimits.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QStringList>

#include <algorithm>

namespace engine {

namespace {

struct Reason {
    int text;
    const char* key;
};
// Reasons 1..4: before the Baseline start, before the start, after the Baseline finish, after
// the finish.
constexpr Reason kReasons[5] = {
    {0, ""}, {1381, "UP008"}, {1383, "UP009"}, {1382, "UP010"}, {1384, "UP011"}};

struct Span {
    bool valid = false;
    int start = 0;
    int finish = 0;
};

bool HasValid(const RunOptions& o, const RunResults& r, DataSet set) {
    return o.generates(set) && r.set(set).ValidTasks > 0;
}

// The span over the generated data sets that have valid tasks.
Span TaskSpan(const RunOptions& o, const RunResults& r) {
    Span span;
    for (DataSet set : kDataSets) {
        if (!HasValid(o, r, set)) {
            continue;
        }
        const DataSetResult& s = r.set(set);
        if (!span.valid) {
            span = {true, s.FirstStart, s.LastFinish};
        } else {
            span.start = std::min(span.start, s.FirstStart);
            span.finish = std::max(span.finish, s.LastFinish);
        }
    }
    return span;
}

// The reason for a move to `start` (before == true) or to `finish`: the last data set whose own
// date equals the new date decides.
int ReasonFor(const RunOptions& o, const RunResults& r, bool before, int date,
              bool targetOnlyWithoutActual) {
    int reason = 0;
    if (HasValid(o, r, DataSet::Baseline) &&
        (before ? r.set(DataSet::Baseline).FirstStart : r.set(DataSet::Baseline).LastFinish) ==
            date) {
        reason = before ? 1 : 3;
    }
    if (HasValid(o, r, DataSet::Actual) &&
        (before ? r.set(DataSet::Actual).FirstStart : r.set(DataSet::Actual).LastFinish) == date) {
        reason = before ? 2 : 4;
    }
    if (HasValid(o, r, DataSet::Target) &&
        (before || !targetOnlyWithoutActual || !o.generates(DataSet::Actual)) &&
        (before ? r.set(DataSet::Target).FirstStart : r.set(DataSet::Target).LastFinish) == date) {
        reason = before ? 2 : 4;
    }
    return reason;
}

} // namespace

void ValidateCutOffDate(const RunOptions& options, RunResults& results, StageProgress& progress,
                        const std::function<void(const CutOffMove&)>& onMoved) {
    progress.runStage([&] {
        const RunOptions& o = options;
        RunResults& r = results;
        r.CutOffDate = o.CutOffDate;
        r.CutOff = CutOffMove();
        const int oldDate = r.CutOffDate;

        int windowStart = r.CutOffDate;
        int windowEnd = r.CutOffDate;
        const int lineIndex = progress.stepReturnIndex(UIT(txt::ValidatingCutOffDate));

        const DataSetResult& bl = r.set(DataSet::Baseline);
        const DataSetResult& act = r.set(DataSet::Actual);
        const DataSetResult& tgt = r.set(DataSet::Target);
        if (HasValid(o, r, DataSet::Baseline)) {
            windowStart = bl.FirstStart;
            windowEnd = bl.LastFinish;
        }
        const auto widen = [&](const DataSetResult& s) {
            if (!o.generates(DataSet::Baseline) && s.ValidTasks > 0) {
                windowStart = s.FirstStart;
                windowEnd = s.LastFinish;
            }
            if (s.ValidTasks > 0) {
                windowStart = std::min(windowStart, s.FirstStart);
                windowEnd = std::max(windowEnd, s.LastFinish);
            }
        };
        if (o.generates(DataSet::Actual)) {
            widen(act);
        } else if (o.generates(DataSet::Target)) {
            widen(tgt);
        }

        int reason = 0;
        if (r.CutOffDate < windowStart) {
            reason = ReasonFor(o, r, true, windowStart, true);
            r.CutOffDate = windowStart;
        } else if (r.CutOffDate > windowEnd) {
            reason = ReasonFor(o, r, false, windowEnd, true);
            r.CutOffDate = windowEnd;
        }
        // A data set without valid tasks can leave the window apart from the project span; the
        // later stages read the series on the cut off day, so it is brought into the span too.
        const Span span = TaskSpan(o, r);
        if (span.valid && r.CutOffDate < span.start) {
            reason = ReasonFor(o, r, true, span.start, false);
            r.CutOffDate = span.start;
        } else if (span.valid && r.CutOffDate > span.finish) {
            reason = ReasonFor(o, r, false, span.finish, false);
            r.CutOffDate = span.finish;
        }

        if (r.CutOffDate != oldDate) {
            CutOffMove& move = r.CutOff;
            move.Moved = true;
            move.OldDate = oldDate;
            move.NewDate = r.CutOffDate;
            move.Reason = reason;
            const Reason& why = kReasons[std::clamp(reason, 0, 4)];
            move.Key = QString::fromLatin1(why.key);
            const QString oldText = DayText(oldDate);
            const QString newText = DayText(r.CutOffDate);
            const QString changed =
                platform::Format(UIT(txt::CutOffDateHasBeen), {oldText, newText});
            move.Lines = QStringList{why.text > 0 ? UIT(why.text) : QString(), QString(), changed};
            if (onMoved) {
                onMoved(move);
            }
            const QString rule(changed.size(), QLatin1Char('='));
            progress.note(rule);
            progress.note(platform::Format(UIT(txt::CutOffDateChanged), {oldText, newText}));
            progress.note(rule);
        }
        progress.completeLine(lineIndex);

        if (o.generates(DataSet::Actual)) {
            progress.step(UIT(txt::AdjustingTaskFinishDatesActual));
            for (ValidTask& v : r.set(DataSet::Actual).Tasks) {
                if (v.Finish > r.CutOffDate) {
                    v.Finish = r.CutOffDate;
                }
                if (v.Start > r.CutOffDate) {
                    v.Duration = 0;
                    v.ManHoursRate = 0.0;
                    v.CostRate = 0.0;
                    continue;
                }
                v.Duration = v.Finish - v.Start + 1;
                if (v.Duration < 1) {
                    v.Duration = 0;
                    v.ManHoursRate = 0.0;
                    v.CostRate = 0.0;
                } else {
                    v.ManHoursRate = v.ManHours * v.PctComplete / v.Duration;
                    v.CostRate = v.Cost * v.PctComplete / v.Duration;
                }
            }
            progress.complete();
        }

        for (DataSet set : kDataSets) {
            if (!o.generates(set)) {
                continue;
            }
            DataSetResult& s = r.set(set);
            s.Duration = s.LastFinish - s.FirstStart + 1;
            s.Elapsed = std::max(0, std::min(r.CutOffDate - s.FirstStart + 1, s.Duration));
            s.Remaining = s.Duration - s.Elapsed;
        }
    });
}

void CalcProjectSpan(const RunOptions& options, RunResults& results, StageProgress& progress) {
    progress.runStage([&] {
        progress.step(UIT(txt::ProcessingStartAndFinishDates));
        Span span = TaskSpan(options, results);
        if (!span.valid) {
            // Only reached without the valid task check: a one-day span on the cut off date.
            span = {true, results.CutOffDate, results.CutOffDate};
        }
        const qint64 days = static_cast<qint64>(span.finish) - span.start + 1;
        const int maxDays = MaxProjectDays(options);
        if (days > maxDays) {
            const QString pair = QStringLiteral("%s: %s");
            const QStringList lines = {
                platform::Format(UIT(txt::ProjectSpansDaysMore),
                                 {static_cast<long long>(days), options.CDWSDesc, maxDays}),
                QString(),
                platform::Format(pair, {UIT(txt::StartDate), DayText(span.start)}),
                platform::Format(pair, {UIT(txt::FinishDate), DayText(span.finish)}),
                QString(),
                platform::Format(UIT(txt::PleaseCheckTaskDates), {options.DSFDesc}),
            };
            throw platform::Exception(lines.join(QStringLiteral("\r\n")));
        }
        results.ProjectStart = span.start;
        results.ProjectFinish = span.finish;
        results.ProjectDays = static_cast<int>(days);
        results.Days.assign(static_cast<std::size_t>(days) + 1, 0);
        for (int i = 1; i <= results.ProjectDays; ++i) {
            results.Days[static_cast<std::size_t>(i)] = span.start + i - 1;
        }
        results.Series.reset(results.ProjectDays);
        progress.complete();
    });
}

int WorkbookRowLimit(const QString& path) {
    // The built-in spreadsheet engine is version 2013 (7).
    return SheetGrid(7, path).Rows;
}

int MaxProjectDays(const RunOptions& options) {
    return std::max(1, options.ChartDataMaxRows - options.ChartDataFirstRow + 1);
}

} // namespace engine
