#pragma once

// Whole processes of the benchmark, timed from start to exit, with what they printed.
#include <QString>
#include <QStringList>

#include <vector>

namespace bench {

struct ProcessRun {
    bool ok = false; // started and exited with 0
    double seconds = 0;
    long faults = 0;
    QString output;
};

// Runs the program and waits for it; it learns when it was spawned (SecondsSinceSpawn).
ProcessRun RunProcess(const QString& program, const QStringList& arguments);

// In a process RunProcess spawned: the seconds since the spawn; 0 otherwise.
double SecondsSinceSpawn();

// A stage line of a run as the benchmark prints it.
struct StageTime {
    QString text;
    double seconds = 0;
    long faults = 0;
};
std::vector<StageTime> StagesOf(const QString& output);
// The time of the run itself ("whole run: ..."), 0 when not printed.
double RunSecondsOf(const QString& output);
// When a run's process reached its objects, its run and the run's end ("process: ...").
struct ProcessPhases {
    double objects = 0;
    double runStart = 0;
    double runEnd = 0;
};
bool PhasesOf(const QString& output, ProcessPhases& phases);
// The process's own peak memory ("peak memory X MiB"), 0 when not printed.
double PeakOf(const QString& output);
// The bare program's inflate and parse ("inflate X s, parse Y s"); false when not printed.
bool BareTimesOf(const QString& output, double& inflate, double& parse);

} // namespace bench
