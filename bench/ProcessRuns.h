#pragma once

// Whole processes of the benchmark, timed from start to exit, with what they printed.
#include <QString>
#include <QStringList>

#include <vector>

namespace bench {

struct ProcessRun {
    bool ok = false; // started and exited with 0
    double seconds = 0;
    double peakMiB = 0;
    long faults = 0;
    QString output;
};

ProcessRun RunProcess(const QString& program, const QStringList& arguments);

// A stage line of a run as the benchmark prints it.
struct StageTime {
    QString text;
    double seconds = 0;
    long faults = 0;
};
std::vector<StageTime> StagesOf(const QString& output);
// The time of the run itself ("whole run: ..."), 0 when not printed.
double RunSecondsOf(const QString& output);
// The bare program's inflate and parse ("inflate X s, parse Y s"); false when not printed.
bool BareTimesOf(const QString& output, double& inflate, double& parse);

} // namespace bench
