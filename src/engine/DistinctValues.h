#pragma once

#include <QString>

#include <vector>

namespace engine {

class StageProgress;

// One distinct value of a task field column: the text of its first occurrence and the number of
// task rows that carry it.
struct DistinctValue {
    QString Text;
    int TaskCount = 0;
};

// The distinct values of a column's raw values (one per task row), in order of first
// occurrence. Two values are the same when they are equal once the letters a..z are upper-cased
// (no trimming, no other case folding). One pass with a hash, so the cost stays linear however
// many values are distinct. Reports a counted step "Removing duplicate Task Field Values: %d of
// %d..." and honours Cancel every 150 values.
std::vector<DistinctValue> DistinctValues(const std::vector<QString>& raw, StageProgress& progress);

} // namespace engine
