#include "SummaryData.h"

#include "engine/RF_PS_Consts.h"
#include "engine/StageProgress.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace engine {
namespace {

// The column pair of a data set in the Task Details, Project Details and Progress blocks.
constexpr std::array<int, 3> kColumnOffset = {0, 2, 4};

double PercentOf(double value, double base) {
    return value / base * 100.0;
}

class Fields {
public:
    explicit Fields(TovRFs& list) : list_(list) {}
    TovRF& operator[](int item) { return *list_.getItems(item); }
    void date(int item, int day) { (*this)[item].setDateValue(static_cast<double>(day)); }
    void integer(int item, int value) { (*this)[item].setIntegerValue(value); }
    void number(int item, double value) { (*this)[item].setFloatValue(value); }
    void text(int item, const QString& value) { (*this)[item].setTextValue(value); }
    void state(int item, quint8 value) { (*this)[item].setValueState(value); }

private:
    TovRFs& list_;
};

// The word of a comparison below, equal or above: three consecutive texts from `first`.
int WordOfSign(int first, double difference) {
    return first + (difference < 0 ? 0 : difference == 0 ? 1 : 2);
}

bool ComparesSets(const RunOptions& o) {
    return o.generates(DataSet::Baseline) &&
           (o.generates(DataSet::Actual) || o.generates(DataSet::Target));
}

void PopulateDataSet(Fields& f, const DataSetResult& s, int c) {
    const int counts[5] = {s.ValidTasks, s.InvalidTasks, s.TasksNotStarted, s.TasksInProgress,
                           s.TasksFinished};
    const int validated = s.ValidTasks + s.InvalidTasks;
    for (int k = 0; k < 5; ++k) {
        const int item = 16 + c + 6 * k;
        f.integer(item, counts[k]);
        if (validated != 0) {
            f.number(item + 1, PercentOf(counts[k], validated));
        }
    }
    f.date(46 + c, s.FirstStart);
    f.date(52 + c, s.LastFinish);

    f.integer(58 + c, s.Duration);
    f.integer(64 + c, s.Elapsed);
    f.integer(70 + c, s.Remaining);
    f.number(59 + c, 100.0);
    f.number(65 + c, 0.0);
    f.number(71 + c, 0.0);
    if (s.Duration != 0) {
        f.number(65 + c, PercentOf(s.Elapsed, s.Duration));
        f.number(71 + c, PercentOf(s.Remaining, s.Duration));
    }

    const auto quantity = [&](int first, double total, double toDate, double toRun) {
        f.number(first, total);
        f.number(first + 6, toDate);
        f.number(first + 12, toRun);
        f.number(first + 1, 100.0);
        f.number(first + 7, 0.0);
        f.number(first + 13, 0.0);
        if (total != 0.0) {
            f.number(first + 7, PercentOf(toDate, total));
            f.number(first + 13, PercentOf(toRun, total));
        }
    };
    quantity(76 + c, s.ManHoursTotal, s.ManHoursToDate, s.ManHoursToRun);
    quantity(94 + c, s.CostTotal, s.CostToDate, s.CostToRun);
}

void PopulateProgress(Fields& f, const RunResults& r) {
    for (int item = 112; item <= 123; ++item) {
        f.number(item, 0.0);
    }
    const auto& bl = r.set(DataSet::Baseline);
    const auto& tgt = r.set(DataSet::Target);
    // Items 112..117 (man hours) and 118..123 (cost): Baseline, Actual and Target to date, each
    // by the Baseline total (first of a pair) and by the Target total (second).
    const auto fill = [&](int first, double blTotal, double tgtTotal, auto toDate) {
        for (DataSet set : kDataSets) {
            const double value = toDate(r.set(set));
            const int item = first + 2 * Index(set);
            if (blTotal != 0.0) {
                f.number(item, PercentOf(value, blTotal));
            }
            if (tgtTotal != 0.0) {
                f.number(item + 1, PercentOf(value, tgtTotal));
            }
        }
    };
    fill(112, bl.ManHoursTotal, tgt.ManHoursTotal,
         [](const DataSetResult& s) { return s.ManHoursToDate; });
    fill(118, bl.CostTotal, tgt.CostTotal, [](const DataSetResult& s) { return s.CostToDate; });
}

void PopulateStatusValues(Fields& f, const RunOptions& o, const RunResults& r) {
    for (int item : {125, 128, 131, 134, 137, 140, 142, 144, 146, 148}) {
        f.number(item, 0.0);
    }
    if (!ComparesSets(o)) {
        return;
    }
    const GrowthSlippage& g = r.Growth;
    const DataSetResult& bl = r.set(DataSet::Baseline);
    f.integer(124, g.SlippageStart);
    f.integer(127, g.SlippageFinish);
    f.integer(130, g.GrowthDuration);
    if (bl.Duration != 0) {
        f.number(125, PercentOf(g.SlippageStart, bl.Duration));
        f.number(128, PercentOf(g.SlippageFinish, bl.Duration));
        f.number(131, PercentOf(g.GrowthDuration, bl.Duration));
    }
    f.number(133, g.GrowthManHours);
    if (bl.ManHoursTotal != 0.0) {
        f.number(134, PercentOf(g.GrowthManHours, bl.ManHoursTotal));
    }
    f.number(136, g.GrowthCost);
    if (bl.CostTotal != 0.0) {
        f.number(137, PercentOf(g.GrowthCost, bl.CostTotal));
    }
    const int counts[5] = {g.TasksStartingLate, g.TasksFinishingLate, g.TasksIncreasedDuration,
                           g.TasksIncreasedManHours, g.TasksIncreasedCost};
    const int n = std::max(r.set(DataSet::Actual).ValidTasks, r.set(DataSet::Target).ValidTasks);
    for (int k = 0; k < 5; ++k) {
        f.integer(139 + 2 * k, counts[k]);
        if (n > 0) {
            f.number(140 + 2 * k, PercentOf(counts[k], n));
        }
    }
}

void MarkItems(Fields& f, std::initializer_list<std::pair<int, int>> ranges, quint8 state) {
    for (const auto& [first, last] : ranges) {
        for (int item = first; item <= last; ++item) {
            f.state(item, state);
        }
    }
}

void MarkList(Fields& f, const std::vector<int>& items, quint8 state,
              std::initializer_list<int> except = {}) {
    for (int item : items) {
        if (std::find(except.begin(), except.end(), item) == except.end()) {
            f.state(item, state);
        }
    }
}

// The items of one data set's column pair that the set alone fills.
std::vector<int> SetItems(DataSet set) {
    const int c = kColumnOffset[static_cast<std::size_t>(Index(set))];
    std::vector<int> items;
    for (int first : {16, 22, 28, 34, 40}) {
        items.push_back(first + c);
        items.push_back(first + c + 1);
    }
    items.push_back(46 + c);
    items.push_back(52 + c);
    for (int first = 58; first <= 106; first += 6) {
        items.push_back(first + c);
        items.push_back(first + c + 1);
    }
    // The progress items that divide by this set's total or whose value is this set's.
    switch (set) {
    case DataSet::Baseline:
        for (int item : {112, 113, 114, 116, 118, 119, 120, 122}) {
            items.push_back(item);
        }
        break;
    case DataSet::Actual:
        for (int item : {114, 115, 120, 121}) {
            items.push_back(item);
        }
        break;
    case DataSet::Target:
        for (int item : {113, 115, 116, 117, 119, 121, 122, 123}) {
            items.push_back(item);
        }
        break;
    }
    return items;
}

} // namespace

TaskCounts CountTasks(const RunResults& results) {
    TaskCounts counts;
    counts.Total = results.TaskCount;
    counts.Ignored = results.BlankTasks;
    counts.NotMatchingFilter = results.TasksFilteredOut;
    // Blank rows are never filtered, so the filtered-out tasks are all non-blank: the four counts
    // add up.
    counts.Processed =
        std::max(0, results.TaskCount - results.BlankTasks - results.TasksFilteredOut);
    return counts;
}

bool IsRedValue(const TovRF& field, bool integer) {
    if (field.getValueState() != vsValue) {
        return false;
    }
    return integer ? field.getIntegerValue() > 0 : field.getFloatValue() > 0.0;
}

void PopulateProjectSummary(const RunOptions& options, const SummaryTexts& texts,
                            const RunResults& results, TovRHs& headers, TovRFs& fields,
                            StageProgress& progress) {
    progress.runStage([&] {
        progress.step(UIT(txt::PopulatingProjectSummaryData));
        Fields f(fields);
        fields.ClearValues();
        headers.getItems(1)->setCaption(ReportTitle());

        f.date(1, options.ReportDate);
        f.date(2, results.CutOffDate);
        f.text(3, texts.ProjectTitle);
        f.text(4, texts.ProjectNumber);
        f.text(5, texts.ProjectClient);
        f.text(6, texts.DataFilePath);
        f.text(7, texts.Description);
        f.text(8, texts.DSFPath);
        f.text(9, texts.DataOptions);
        f.text(10, texts.QuantityOptions);
        f.text(11, texts.FilterDetails);

        const TaskCounts counts = CountTasks(results);
        f.integer(12, counts.Total);
        f.integer(13, counts.Ignored);
        f.integer(14, counts.NotMatchingFilter);
        f.integer(15, counts.Processed);

        for (DataSet set : kDataSets) {
            if (options.generates(set)) {
                PopulateDataSet(f, results.set(set),
                                kColumnOffset[static_cast<std::size_t>(Index(set))]);
            }
        }
        PopulateProgress(f, results);
        PopulateStatusValues(f, options, results);
        PopulateProjectStatus(options, results, fields, progress);
        progress.complete();
    });
}

void PopulateProjectStatus(const RunOptions& options, const RunResults& results, TovRFs& fields,
                           StageProgress& progress) {
    progress.cancelCheck();
    Fields f(fields);
    QString startWord;
    QString finishWord;
    QString durationWord;
    QString manHoursWord;
    QString costWord;
    const GrowthSlippage& g = results.Growth;
    if (ComparesSets(options)) {
        const int cut = results.CutOffDate;
        const DataSetResult& bl = results.set(DataSet::Baseline);
        const bool targetDates =
            options.generates(DataSet::Target) && !options.generates(DataSet::Actual);
        const DataSetResult& current = results.set(targetDates ? DataSet::Target : DataSet::Actual);
        const int s = current.FirstStart;
        const int fin = current.LastFinish;
        startWord =
            UIT(WordOfSign(s > cut ? txt::WillStartEarly : txt::StartedEarly, s - bl.FirstStart));
        finishWord = UIT(
            WordOfSign(fin > cut ? txt::WillFinishEarly : txt::FinishedEarly, fin - bl.LastFinish));
        durationWord = UIT(WordOfSign(txt::Decreased, g.GrowthDuration));
        if (options.GraphMH) {
            manHoursWord = UIT(WordOfSign(txt::UnderBudget, g.GrowthManHours));
        }
        if (options.GraphCost) {
            costWord = UIT(WordOfSign(txt::UnderBudget, g.GrowthCost));
        }
    }
    // The word items carry the number the word was chosen by, for the red-value rule.
    f.text(126, startWord);
    f.text(129, finishWord);
    f.text(132, durationWord);
    f.text(135, manHoursWord);
    f.text(138, costWord);
    for (int item : {124, 126}) {
        f.integer(item, g.SlippageStart);
    }
    for (int item : {127, 129}) {
        f.integer(item, g.SlippageFinish);
    }
    for (int item : {130, 132}) {
        f.integer(item, g.GrowthDuration);
    }
    for (int item : {133, 135}) {
        f.number(item, g.GrowthManHours);
    }
    for (int item : {136, 138}) {
        f.number(item, g.GrowthCost);
    }
}

void FormatProjectSummary(const RunOptions& options, const RunResults& results, TovRFs& fields,
                          StageProgress& progress) {
    progress.runStage([&] {
        progress.step(UIT(txt::FormattingProjectSummaryData));
        Fields f(fields);
        const bool bl = options.generates(DataSet::Baseline);
        const bool act = options.generates(DataSet::Actual);
        const bool tgt = options.generates(DataSet::Target);
        const bool blValid = results.set(DataSet::Baseline).ValidTasks > 0;
        const bool actValid = results.set(DataSet::Actual).ValidTasks > 0;
        const bool tgtValid = results.set(DataSet::Target).ValidTasks > 0;

        if (!options.GraphMH) {
            MarkItems(f, {{76, 93}, {112, 117}, {133, 135}}, vsNotApplicable);
        }
        if (!options.GraphCost) {
            MarkItems(f, {{94, 111}, {118, 123}, {136, 138}}, vsNotApplicable);
        }
        if (!ComparesSets(options)) {
            MarkItems(f, {{124, 148}}, vsNotApplicable);
        }
        if (!bl) {
            MarkList(f, SetItems(DataSet::Baseline), vsNotApplicable);
        }
        if (!act) {
            MarkList(f, SetItems(DataSet::Actual), vsNotApplicable);
        }
        if (!tgt) {
            MarkList(f, SetItems(DataSet::Target), vsNotApplicable);
        }
        if (ComparesSets(options) &&
            (!blValid || (act && !tgt && !actValid) || (tgt && !act && !tgtValid) ||
             (act && tgt && !actValid && !tgtValid))) {
            MarkItems(f, {{124, 148}}, vsNoData);
        }
        if (bl && !blValid) {
            MarkList(f, SetItems(DataSet::Baseline), vsNoData, {16, 17, 22, 23});
        }
        if (act && !actValid) {
            MarkList(f, SetItems(DataSet::Actual), vsNoData, {18, 19, 24, 25});
        }
        if (tgt && !tgtValid) {
            MarkList(f, SetItems(DataSet::Target), vsNoData, {20, 21, 26, 27});
        }
        progress.complete();
    });
}

} // namespace engine
