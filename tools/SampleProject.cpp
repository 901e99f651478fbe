#include "SampleProject.h"

#include "XlsxSupport.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>

namespace tools {
namespace {

// A small deterministic generator, so that the sample is identical on every machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33);
    }
    int between(int low, int high) { return low + static_cast<int>(next() % (high - low + 1)); }
    double real(double low, double high) { return low + (high - low) * (next() / 2147483648.0); }

private:
    std::uint64_t state_;
};

struct Discipline {
    const char* name;
    const char* code;
    int startWeek;   // when its work begins in an area, from the area's start
    int tasks;       // tasks per area
    double hoursDay; // crew hours per day
    double rate;     // cost per man hour
    const char* work[4];
};

const Discipline kDisciplines[] = {
    {"Civil", "CIV", 0, 14, 32, 78, {"Excavation", "Formwork", "Concrete Pour", "Backfill"}},
    {"Piping",
     "PIP",
     6,
     12,
     40,
     92,
     {"Spool Fabrication", "Pipe Erection", "Pressure Test", "Supports"}},
    {"Mechanical",
     "MEC",
     8,
     10,
     36,
     96,
     {"Pump Installation", "Alignment", "Valve Fitting", "Crane Lift"}},
    {"Electrical",
     "ELE",
     12,
     10,
     28,
     88,
     {"Cable Tray", "Cable Pulling", "Terminations", "Motor Control Centre"}},
    {"Instrumentation",
     "INS",
     16,
     8,
     16,
     104,
     {"Transmitters", "Loop Checks", "Panel Wiring", "Calibration"}},
    {"Commissioning",
     "COM",
     24,
     6,
     24,
     120,
     {"Pre-Commissioning", "Flushing", "Function Test", "Performance Test"}},
};

const char* const kAreas[] = {"North", "South", "East", "West", "Central"};

// Progress at the cut off date of a task running from start to finish, in steps of 5%.
double progressOf(const QDate& start, const QDate& finish, const QDate& cutOff) {
    if (start > cutOff) {
        return 0.0;
    }
    if (finish <= cutOff) {
        return 1.0;
    }
    const double done = (start.daysTo(cutOff) + 1.0) / (start.daysTo(finish) + 1.0);
    return std::clamp(std::round(done * 20.0) / 20.0, 0.05, 0.95);
}

double rounded(double value, double step) {
    return std::round(value / step) * step;
}

} // namespace

QDate SampleCutOffDate() {
    return QDate(2026, 9, 30);
}

std::vector<QString> SampleColumnHeadings() {
    return {QStringLiteral("Task ID"),
            QStringLiteral("Task Description"),
            QStringLiteral("Area"),
            QStringLiteral("Discipline"),
            QStringLiteral("Baseline Start"),
            QStringLiteral("Baseline Finish"),
            QStringLiteral("Baseline Man Hours"),
            QStringLiteral("Baseline Cost"),
            QStringLiteral("Start"),
            QStringLiteral("Finish"),
            QStringLiteral("Man Hours"),
            QStringLiteral("Cost"),
            QStringLiteral("% Complete")};
}

std::vector<SampleTask> MakeSampleTasks() {
    Random random(20260202);
    const QDate projectStart(2026, 2, 2);
    const QDate cutOff = SampleCutOffDate();
    std::vector<SampleTask> tasks;
    int areaIndex = 0;
    for (const char* area : kAreas) {
        const QDate areaStart = projectStart.addDays(areaIndex * 21);
        // Later areas slip more: the current plan drifts as the project goes on.
        const int areaSlip = areaIndex * 3 - 2;
        for (const Discipline& d : kDisciplines) {
            QDate cursor = areaStart.addDays(d.startWeek * 7);
            for (int n = 1; n <= d.tasks; ++n) {
                SampleTask t;
                t.id = QStringLiteral("%1-%2-%3")
                           .arg(QString::fromLatin1(area).left(2).toUpper(),
                                QString::fromLatin1(d.code))
                           .arg(n * 10, 3, 10, QLatin1Char('0'));
                t.description =
                    QStringLiteral("%1 %2 %3")
                        .arg(QString::fromLatin1(area), QString::fromLatin1(d.work[(n - 1) % 4]))
                        .arg((n + 3) / 4);
                t.area = QString::fromLatin1(area);
                t.discipline = QString::fromLatin1(d.name);
                const int duration = random.between(4, 30);
                t.baselineStart = cursor.addDays(random.between(0, 6));
                t.baselineFinish = t.baselineStart.addDays(duration - 1);
                t.baselineManHours = rounded(duration * d.hoursDay * random.real(0.7, 1.3), 4);
                t.baselineCost = rounded(t.baselineManHours * d.rate * random.real(1.0, 1.6), 10);
                const int slip = areaSlip + random.between(-4, 12);
                const int newDuration =
                    std::max(1, static_cast<int>(duration * random.real(0.85, 1.35)));
                t.start = t.baselineStart.addDays(slip);
                t.finish = t.start.addDays(newDuration - 1);
                t.manHours = rounded(t.baselineManHours * random.real(0.9, 1.3), 4);
                t.cost = rounded(t.baselineCost * random.real(0.92, 1.3), 10);
                t.percentComplete = progressOf(t.start, t.finish, cutOff);
                tasks.push_back(t);
                cursor = cursor.addDays(random.between(3, 9));
            }
        }
        // A milestone without quantities closes each area.
        SampleTask milestone;
        milestone.id = QString::fromLatin1(area).left(2).toUpper() + QStringLiteral("-MS-999");
        milestone.description = QString::fromLatin1(area) + QStringLiteral(" Area Handover");
        milestone.area = QString::fromLatin1(area);
        milestone.discipline = QStringLiteral("Commissioning");
        milestone.baselineStart = milestone.baselineFinish = tasks.back().baselineFinish;
        milestone.start = milestone.finish = tasks.back().finish;
        milestone.percentComplete = progressOf(milestone.start, milestone.finish, cutOff);
        tasks.push_back(milestone);
        tasks.push_back(SampleTask()); // a blank row between areas
        ++areaIndex;
    }
    tasks.pop_back();

    // Rows with faulty data, for the validation to report.
    SampleTask& noFinish = tasks[17];
    noFinish.finishText = QStringLiteral(" ");
    SampleTask& notADate = tasks[64];
    notADate.baselineStartText = QStringLiteral("TBA");
    tasks[130].percentComplete = 1.25;
    return tasks;
}

void WriteSampleWorkbook(const QString& path, const std::vector<SampleTask>& tasks) {
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    lxw_workbook* workbook = workbook_new(Utf8(QDir::toNativeSeparators(partial)));
    if (workbook == nullptr) {
        throw Failure("cannot create " + partial.toStdString());
    }
    lxw_doc_properties properties = {};
    properties.title = const_cast<char*>("Ovik KRV Tessel Sample Project");
    properties.author = const_cast<char*>("Tarrow Studio");
    properties.created = static_cast<time_t>(1765238400);
    workbook_set_properties(workbook, &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Task_Table1");

    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    format_set_text_wrap(heading);
    format_set_bg_color(heading, 0xD9E1F2);
    format_set_pattern(heading, LXW_PATTERN_SOLID);
    format_set_border(heading, LXW_BORDER_THIN);
    lxw_format* date = workbook_add_format(workbook);
    format_set_num_format(date, "dd-mmm-yyyy");
    lxw_format* number = workbook_add_format(workbook);
    format_set_num_format(number, "#,##0.00");
    lxw_format* percent = workbook_add_format(workbook);
    format_set_num_format(percent, "0%");

    const std::vector<QString> headings = SampleColumnHeadings();
    for (size_t c = 0; c < headings.size(); ++c) {
        check(
            worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), Utf8(headings[c]), heading),
            "write heading");
    }
    const QDate epoch(1899, 12, 30);
    auto writeDate = [&](lxw_row_t r, lxw_col_t c, const QDate& d, const QString& text) {
        if (!text.isEmpty()) {
            check(worksheet_write_string(sheet, r, c, Utf8(text), nullptr), "write text");
        } else {
            check(worksheet_write_number(sheet, r, c, static_cast<double>(epoch.daysTo(d)), date),
                  "write date");
        }
    };
    lxw_row_t row = 1;
    for (const SampleTask& t : tasks) {
        if (!t.id.isEmpty()) {
            check(worksheet_write_string(sheet, row, 0, Utf8(t.id), nullptr), "write id");
            check(worksheet_write_string(sheet, row, 1, Utf8(t.description), nullptr), "write");
            check(worksheet_write_string(sheet, row, 2, Utf8(t.area), nullptr), "write area");
            check(worksheet_write_string(sheet, row, 3, Utf8(t.discipline), nullptr), "write");
            writeDate(row, 4, t.baselineStart, t.baselineStartText);
            writeDate(row, 5, t.baselineFinish, QString());
            check(worksheet_write_number(sheet, row, 6, t.baselineManHours, number), "write");
            check(worksheet_write_number(sheet, row, 7, t.baselineCost, number), "write");
            writeDate(row, 8, t.start, QString());
            writeDate(row, 9, t.finish, t.finishText);
            check(worksheet_write_number(sheet, row, 10, t.manHours, number), "write");
            check(worksheet_write_number(sheet, row, 11, t.cost, number), "write");
            check(worksheet_write_number(sheet, row, 12, t.percentComplete, percent), "write");
        }
        ++row;
    }
    worksheet_set_column(sheet, 0, 0, 12, nullptr);
    worksheet_set_column(sheet, 1, 1, 34, nullptr);
    worksheet_set_column(sheet, 2, 3, 15, nullptr);
    worksheet_set_column(sheet, 4, 12, 13, nullptr);
    worksheet_freeze_panes(sheet, 1, 2);
    worksheet_autofilter(sheet, 0, 0, row - 1, static_cast<lxw_col_t>(headings.size() - 1));

    check(workbook_close(workbook), "write the workbook");
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        throw Failure("cannot rename " + partial.toStdString());
    }
}

} // namespace tools
