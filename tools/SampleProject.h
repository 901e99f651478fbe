#pragma once

// The sample project: a deterministic set of a few hundred tasks of a plant upgrade, with
// baseline and current dates, man hours, cost and percent complete, and its workbook.
#include <QDate>
#include <QString>
#include <vector>

namespace tools {

// One row of the task table. An empty id marks a blank row; the texts of the date fields are
// used instead of the dates when they are not empty (rows with faulty data).
struct SampleTask {
    QString id, description, area, discipline;
    QDate baselineStart, baselineFinish, start, finish;
    QString baselineStartText, finishText;
    double baselineManHours = 0, baselineCost = 0, manHours = 0, cost = 0;
    double percentComplete = 0;
};

// The date up to which the sample's progress is recorded.
QDate SampleCutOffDate();

// The sample's tasks; the same on every run.
std::vector<SampleTask> MakeSampleTasks();

// The names of the task table's columns, A first.
std::vector<QString> SampleColumnHeadings();

// Writes the tasks to the sample workbook, worksheet "Task_Table1", headings in row 1.
void WriteSampleWorkbook(const QString& path, const std::vector<SampleTask>& tasks);

} // namespace tools
