#include "TaskFilter.h"

#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QStringList>

#include <algorithm>
#include <string_view>

namespace engine {

namespace {

constexpr std::size_t kMaxFilterRows = 5;

std::u16string UpperAToZ(const QString& text) {
    std::u16string out(reinterpret_cast<const char16_t*>(text.utf16()),
                       static_cast<std::size_t>(text.size()));
    for (char16_t& c : out) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - (u'a' - u'A'));
        }
    }
    return out;
}

bool StartsWith(std::u16string_view v, std::u16string_view f) {
    return v.substr(0, std::min(v.size(), f.size())) == f;
}

bool EndsWith(std::u16string_view v, std::u16string_view f) {
    const std::size_t n = std::min(v.size(), f.size());
    return v.substr(v.size() - n) == f;
}

} // namespace

bool FilterOperatorMatches(std::uint8_t op, const QString& cellText, const QString& value) {
    const std::u16string v = UpperAToZ(cellText);
    const std::u16string f = UpperAToZ(value);
    // std::u16string compares char16_t values: ordinal, code unit by code unit.
    switch (static_cast<FilterOperator>(op)) {
    case FilterOperator::Equals:
        return v == f;
    case FilterOperator::DoesNotEqual:
        return v != f;
    case FilterOperator::IsLessThan:
        return v < f;
    case FilterOperator::IsLessThanOrEqualTo:
        return v <= f;
    case FilterOperator::IsGreaterThan:
        return v > f;
    case FilterOperator::IsGreaterThanOrEqualTo:
        return v >= f;
    case FilterOperator::IsBlank:
        return v.empty();
    case FilterOperator::IsNotBlank:
        return !v.empty();
    case FilterOperator::StartsWith:
        return StartsWith(v, f);
    case FilterOperator::DoesNotStartWith:
        return !StartsWith(v, f);
    case FilterOperator::EndsWith:
        return EndsWith(v, f);
    case FilterOperator::DoesNotEndWith:
        return !EndsWith(v, f);
    case FilterOperator::Contains:
        return !f.empty() && v.find(f) != std::u16string::npos;
    case FilterOperator::DoesNotContain:
        return f.empty() || v.find(f) == std::u16string::npos;
    }
    return false;
}

bool FilterRowsMatch(const std::vector<FilterRow>& rows, const std::vector<bool>& results) {
    if (rows.empty() || rows.size() > kMaxFilterRows) {
        return true;
    }
    bool group = true;
    for (std::size_t j = 0; j < rows.size(); ++j) {
        if (j > 0 && !rows[j].AndJoin) {
            if (group) {
                return true;
            }
            group = true;
        }
        group = group && j < results.size() && results[j];
    }
    return group;
}

void FilterTasks(const RunOptions& options, const TaskTable& table,
                 const std::vector<FilterRow>& rows, RunResults& results, StageProgress& progress,
                 bool raiseWhenNoMatch) {
    progress.runStage([&] {
        const int taskCount = table.taskCount();
        results.TaskRowCount = taskCount;
        results.TaskCount = taskCount;
        results.BlankTasks = static_cast<int>(std::count_if(
            table.Rows.begin(), table.Rows.end(), [](const TaskRow& r) { return r.Blank; }));
        results.TasksFilteredOut = 0;
        results.Tasks.assign(static_cast<std::size_t>(taskCount), TaskState());
        if (!options.FilterEnabled) {
            return;
        }

        progress.beginCount(txt::FilteringTask, taskCount);
        const bool evaluate = !rows.empty() && rows.size() <= kMaxFilterRows;
        std::vector<bool> rowResults(rows.size());
        static const QString kNoText;
        for (int k = 1; k <= taskCount; ++k) {
            const std::size_t t = static_cast<std::size_t>(k - 1);
            if (evaluate && !table.Rows[t].Blank) {
                for (std::size_t j = 0; j < rows.size(); ++j) {
                    const FilterRow& row = rows[j];
                    const QString* cell = &kNoText;
                    if (row.Field >= 0 &&
                        static_cast<std::size_t>(row.Field) < table.FilterValues.size()) {
                        const auto& column =
                            table.FilterValues[static_cast<std::size_t>(row.Field)];
                        if (t < column.size()) {
                            cell = &column[t];
                        }
                    }
                    rowResults[j] = FilterOperatorMatches(row.Operator, *cell, row.Value);
                }
                results.Tasks[t].Match = FilterRowsMatch(rows, rowResults);
            }
            progress.countItem(k);
        }
        progress.endCount();

        int matching = 0;
        for (const TaskState& task : results.Tasks) {
            if (task.Match) {
                ++matching;
            } else {
                ++results.TasksFilteredOut;
            }
        }
        results.TasksAfterFilter = results.TaskRowCount - results.TasksFilteredOut;

        if (matching == 0 && raiseWhenNoMatch) {
            const QString pair = QStringLiteral("%s: %s");
            const QStringList lines = {
                platform::Format(UIT(txt::UnableToExtractAnyValidTasksFromThatMatch),
                                 {options.DSFDesc}),
                QString(),
                platform::Format(pair, {options.DSFDesc, options.DSFPath}),
                QString(),
                platform::Format(pair, {options.TaskWSDesc, options.TaskWSName}),
                QString(),
                platform::Format(UIT(txt::FilterDetails_1286), {options.FilterText}),
                QString(),
                platform::Format(UIT(txt::PleaseCheckAndorDataSourceFilter), {options.DSFDesc}),
            };
            throw platform::Exception(lines.join(QStringLiteral("\r\n")));
        }
    });
}

} // namespace engine
