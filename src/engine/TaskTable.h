#pragma once

#include <QString>

#include <vector>

namespace engine {

// One task row of the Task Worksheet as the extraction reads it: the texts of the four date
// columns, the lenient numbers of the quantity columns (percent complete as a fraction) and
// whether every required column of the row is empty.
struct TaskRow {
    QString BLStartText;
    QString BLFinishText;
    double BLManHours = 0.0;
    double BLCost = 0.0;
    QString StartText;
    QString FinishText;
    double ManHoursValue = 0.0;
    double CostValue = 0.0;
    double PctComplete = 0.0;
    bool Blank = false;
};

// The extracted tasks in worksheet order (task k is Rows[k - 1]) and, per filter row j, the
// text the worksheet displays in that row's column for every task (FilterValues[j][k - 1]).
struct TaskTable {
    std::vector<TaskRow> Rows;
    std::vector<std::vector<QString>> FilterValues;

    int taskCount() const { return static_cast<int>(Rows.size()); }
};

} // namespace engine
