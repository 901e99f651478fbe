#pragma once

#include "engine/RunOptions.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cassert>
#include <vector>

namespace engine {

// The per-day series of a run: rows 0..37 by days 0..N. Rows 2..37 are the 36 series (the row
// number is the Chart Data column that receives it); day 0 and rows 0 and 1 are never written.
// An element of 0 means no value.
class SeriesStore {
public:
    static constexpr int RowCount = 38;

    // Sizes the store for N days with every element 0.
    void reset(int days);
    void clear();
    int days() const { return days_; }

    double& at(int row, int day) {
        assert(row >= 0 && row < RowCount && day >= 0 && day <= days_);
        return values_[static_cast<std::size_t>(row) * stride() + static_cast<std::size_t>(day)];
    }
    double at(int row, int day) const {
        assert(row >= 0 && row < RowCount && day >= 0 && day <= days_);
        return values_[static_cast<std::size_t>(row) * stride() + static_cast<std::size_t>(day)];
    }

private:
    std::size_t stride() const { return static_cast<std::size_t>(days_) + 1; }

    int days_ = 0;
    std::vector<double> values_;
};

// Series rows by quantity and data set (Baseline, Actual, Target).
namespace rows {
inline constexpr std::array<int, 3> MHSCurve = {2, 3, 4};
inline constexpr std::array<int, 3> MHDaily = {11, 12, 13};
inline constexpr std::array<int, 3> CostSCurve = {20, 21, 22};
inline constexpr std::array<int, 3> CostDaily = {29, 30, 31};
} // namespace rows

// One valid task of a data set. Dates are whole day numbers; the duration counts both ends.
struct ValidTask {
    int Start = 0;
    int Finish = 0;
    int Duration = 0;
    double ManHours = 0.0;
    double Cost = 0.0;
    double ManHoursRate = 0.0;
    double CostRate = 0.0;
    double PctComplete = 0.0; // Actual only
};

// Everything a run computes for one data set.
struct DataSetResult {
    std::vector<ValidTask> Tasks; // the valid tasks, in worksheet order
    int ValidTasks = 0;
    int InvalidTasks = 0; // blank rows included
    int FirstStart = 0;
    int LastFinish = 0;
    int Duration = 0;
    int Elapsed = 0;
    int Remaining = 0;
    int TasksNotStarted = 0;
    int TasksInProgress = 0;
    int TasksFinished = 0;
    double ManHoursTotal = 0.0;
    double ManHoursToDate = 0.0;
    double ManHoursToRun = 0.0;
    double CostTotal = 0.0;
    double CostToDate = 0.0;
    double CostToRun = 0.0;
};

// What the validation leaves for one task row, read by the growth and slippage comparison.
struct TaskState {
    bool Match = true;
    std::array<bool, 3> Valid = {false, false, false}; // by DataSet
    int BLStart = 0;
    int BLFinish = 0;
    int Start = 0; // current plan (Actual and Target write the same values)
    int Finish = 0;
    double ManHours = 0.0;
    double Cost = 0.0;
};

// A move of the cut off date into the dates the tasks cover, with the dialogue that reports it.
struct CutOffMove {
    bool Moved = false;
    int OldDate = 0;
    int NewDate = 0;
    int Reason = 0;    // 1..4
    QString Key;       // "UP008".."UP011"
    QStringList Lines; // the Information dialogue's lines
};

// The warning of data sets without valid tasks while others have some.
struct ValidTasksWarning {
    QStringList Lines; // empty: no warning
    QString Key;
};

// Project growth and slippage of the current plan against the Baseline.
struct GrowthSlippage {
    int SlippageStart = 0;
    int SlippageFinish = 0;
    int GrowthDuration = 0;
    double GrowthManHours = 0.0;
    double GrowthCost = 0.0;
    int TasksStartingLate = 0;
    int TasksFinishingLate = 0;
    int TasksIncreasedDuration = 0;
    int TasksIncreasedManHours = 0;
    int TasksIncreasedCost = 0;
};

// The results of the computation of one run, as the project summary, the Summary window and the
// Chart Data output read them.
struct RunResults {
    // Task counts.
    int TaskRowCount = 0;
    int TaskCount = 0;
    int BlankTasks = 0;
    int TasksFilteredOut = 0;
    int TasksAfterFilter = 0; // set only when the filter is enabled

    std::vector<TaskState> Tasks; // task k is Tasks[k - 1]
    std::array<DataSetResult, 3> Sets;

    int CutOffDate = 0; // after any move
    CutOffMove CutOff;

    int ProjectStart = 0;
    int ProjectFinish = 0;
    int ProjectDays = 0;
    std::vector<int> Days; // Days[i] is project day i (1..N); Days[0] unused
    SeriesStore Series;

    GrowthSlippage Growth;

    DataSetResult& set(DataSet s) { return Sets[static_cast<std::size_t>(Index(s))]; }
    const DataSetResult& set(DataSet s) const { return Sets[static_cast<std::size_t>(Index(s))]; }

    // Empties the per-task and per-day arrays; the counts and statistics stay.
    void freeArrays();
};

} // namespace engine
