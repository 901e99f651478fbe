#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"

#include <QString>

#include <array>

class TovRHs;
class TovRFs;
class TovRF;

namespace engine {

class StageProgress;

// What the Project Summary shows of the run's definition and data file, besides the results.
struct SummaryTexts {
    QString DataFilePath;
    QString Description;
    QString DSFPath;
    QString DataOptions;
    QString QuantityOptions;
    QString FilterDetails;
    QString ProjectTitle;
    QString ProjectNumber;
    QString ProjectClient;
};

// The task counts of the summary's Task Counts block: every task row of the worksheet; the blank
// rows, which hold nothing to process; the non-blank rows the filter excluded; the non-blank rows
// it kept, which were processed. The last three add up to the first.
struct TaskCounts {
    int Total = 0;
    int Ignored = 0;
    int NotMatchingFilter = 0;
    int Processed = 0;
};
TaskCounts CountTasks(const RunResults& results);

// The Project Summary fields shown in red when their value is above zero, in the order they are
// coloured; the flag tells whether the integer (true) or the floating value is tested.
struct RedValueItem {
    int Item;
    bool Integer;
};
inline constexpr std::array<RedValueItem, 14> kRedValueItems = {{{13, true},
                                                                 {22, true},
                                                                 {24, true},
                                                                 {26, true},
                                                                 {126, true},
                                                                 {129, true},
                                                                 {132, true},
                                                                 {135, false},
                                                                 {138, false},
                                                                 {130, true},
                                                                 {133, false},
                                                                 {136, false},
                                                                 {124, true},
                                                                 {127, true}}};

// Whether a field of the list above shows its value in red: it holds a value above zero.
bool IsRedValue(const TovRF& field, bool integer);

// The two Project Summary stages: the values of every field the run's options allow (ending with
// the five status words), then the "N/A" and "No Data" states.
void PopulateProjectSummary(const RunOptions& options, const SummaryTexts& texts,
                            const RunResults& results, TovRHs& headers, TovRFs& fields,
                            StageProgress& progress);
void FormatProjectSummary(const RunOptions& options, const RunResults& results, TovRFs& fields,
                          StageProgress& progress);

// The five status words and the numbers the red-value rule reads on them.
void PopulateProjectStatus(const RunOptions& options, const RunResults& results, TovRFs& fields,
                           StageProgress& progress);

} // namespace engine
