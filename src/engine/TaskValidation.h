#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/StageProgress.h"
#include "engine/TaskTable.h"

#include <QString>

#include <functional>
#include <optional>

namespace engine {

// Converts a date text to a date-time value, or nothing when it is no date.
using DateTextTest = std::function<std::optional<double>(const QString&)>;

// Builds the valid task list of one data set from the non-blank tasks that match the filter:
// whole-day dates, duration, quantities (Expended To Date turned into task totals) and, for
// Baseline and Target, the daily rates. Invalid and blank rows are counted as invalid. Sets the
// data set's first start and last finish (the report date when it has no valid task).
// `dateTest` defaults to DateOfText.
void ValidateTasks(DataSet set, const RunOptions& options, const TaskTable& table,
                   RunResults& results, StageProgress& progress, const DateTextTest& dateTest = {});

// Lists the generated data sets without valid tasks. Raises when no generated data set has a
// valid task (also when none is generated); otherwise returns the warning to show, empty when
// every generated set has valid tasks. `what` names the items in the error ("Tasks").
ValidTasksWarning CheckValidTasks(const QString& what, const RunOptions& options,
                                  const RunResults& results, StageProgress& progress);

} // namespace engine
