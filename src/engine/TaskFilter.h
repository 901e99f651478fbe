#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"
#include "engine/TaskTable.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace engine {

// The comparison of a filter row, numbered as the definition stores it.
enum class FilterOperator : std::uint8_t {
    Equals = 0,
    DoesNotEqual = 1,
    IsLessThan = 2,
    IsLessThanOrEqualTo = 3,
    IsGreaterThan = 4,
    IsGreaterThanOrEqualTo = 5,
    IsBlank = 6,
    IsNotBlank = 7,
    StartsWith = 8,
    DoesNotStartWith = 9,
    EndsWith = 10,
    DoesNotEndWith = 11,
    Contains = 12,
    DoesNotContain = 13,
};

// One row of the Data Source Filter as the engine reads it. Field is the index of the row's
// column in TaskTable::FilterValues; AndJoin tells how the row joins the row before it (ignored
// on the first row).
struct FilterRow {
    int Field = 0;
    std::uint8_t Operator = 0;
    QString Value;
    bool AndJoin = true;
};

// Whether the displayed text `cellText` satisfies `op` with `value`. Both are compared in upper
// case of a..z only, ordinally, code unit by code unit; an unknown operator never matches.
bool FilterOperatorMatches(std::uint8_t op, const QString& cellText, const QString& value);

// Combines row results: groups of consecutive rows joined by And, any group wholly true.
// `results[j]` and `rows[j]` belong together; no rows or more than five match everything.
bool FilterRowsMatch(const std::vector<FilterRow>& rows, const std::vector<bool>& results);

// Evaluates the filter on every non-blank task: fills TaskMatch (results.Tasks[].Match), the
// filtered-out count and, when the filter is enabled, the count after the filter. Raises when no
// task matches and raiseWhenNoMatch is set.
void FilterTasks(const RunOptions& options, const TaskTable& table,
                 const std::vector<FilterRow>& rows, RunResults& results, StageProgress& progress,
                 bool raiseWhenNoMatch);

} // namespace engine
