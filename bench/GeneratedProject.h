#pragma once

// A generated project's task list written as a data source workbook in the ways other programs
// write one, so that the run can be measured on each: the same tasks, cell for cell, in every
// flavour.
#include <QString>

#include <string>
#include <vector>

namespace bench {

// How a program writes the task sheet.
enum class Flavour {
    // The leading spreadsheet application: a shared-strings table, rows with their spans.
    SharedStrings,
    // LibreOffice: a shared-strings table, every row and cell with all its attributes written
    // out, a column element spanning the whole sheet.
    LibreOffice,
    // Python workbook libraries: inline strings (t="inlineStr", <is><t>..</t></is>), numbers
    // typed t="n", their own styles part.
    InlineStrings,
};

struct FlavourInfo {
    Flavour flavour;
    const char* key;   // on the command line ("shared", "libre", "inline")
    const char* label; // in the output
};
const std::vector<FlavourInfo>& flavours();

struct TaskRow {
    std::string name;
    int blStart = 0;
    int blFinish = 0;
    double blMH = 0;
    double blCost = 0;
    int start = 0;
    int finish = 0;
    double mh = 0;
    double cost = 0;
    double pct = 0;
    std::string wbs;
    std::string responsible;
};

// `tasks` tasks (a header row above them) whose dates cover exactly `days` days from the day
// serial `first`, percent complete as of `cutOff`; deterministic.
std::vector<TaskRow> MakeProject(int tasks, int days, int first, int cutOff);

// The task sheet's name and its columns: name, Baseline start, finish, man hours, cost, current
// start, finish, man hours, cost, percent complete, WBS, responsible (A to L).
inline constexpr const char* kTaskSheet = "Tasks";
inline constexpr const char* kTaskSheetPart = "xl/worksheets/sheet1.xml";

// Writes the workbook; false with `error` set on failure.
bool WriteProject(const QString& path, const std::vector<TaskRow>& rows, Flavour flavour,
                  QString& error);

} // namespace bench
