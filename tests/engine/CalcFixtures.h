#pragma once

#include "engine/DateText.h"
#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/TaskTable.h"

#include <QDate>
#include <QString>

namespace enginetest {

// The day number of a date (days since 30 Dec 1899).
inline int Day(int year, int month, int day) {
    return static_cast<int>(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

// The day number of a day of March 2021, the month of the small projects (0 and below count back
// into February).
inline int Mar(int day) {
    return Day(2021, 3, 1) + day - 1;
}

inline QString MarText(int day) {
    return engine::DayText(Mar(day));
}

// A task row with Baseline dates (March days, 0 for an empty cell) and quantities, and current
// dates, quantities and percent complete.
inline engine::TaskRow Task(int blStart, int blFinish, double blMH, double blCost, int start,
                            int finish, double mh, double cost, double pct) {
    engine::TaskRow row;
    row.BLStartText = blStart ? MarText(blStart) : QString();
    row.BLFinishText = blFinish ? MarText(blFinish) : QString();
    row.BLManHours = blMH;
    row.BLCost = blCost;
    row.StartText = start ? MarText(start) : QString();
    row.FinishText = finish ? MarText(finish) : QString();
    row.ManHoursValue = mh;
    row.CostValue = cost;
    row.PctComplete = pct;
    return row;
}

inline engine::RunOptions AllSetsOptions(int cutOffDay) {
    engine::RunOptions o;
    o.ReportDate = Mar(31);
    o.CutOffDate = Mar(cutOffDay);
    o.Generate = {true, true, true};
    o.GraphMH = true;
    o.GraphCost = true;
    o.DSFDesc = QStringLiteral("Data Source File");
    o.DSFPath = QStringLiteral("/data/project.xlsx");
    o.CDWSDesc = QStringLiteral("Chart Data Worksheet");
    return o;
}

} // namespace enginetest
