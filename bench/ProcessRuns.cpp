#include "ProcessRuns.h"

#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>

extern char** environ;

namespace bench {

namespace {

double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The monotonic clock at the spawn, handed to the spawned process.
constexpr const char* kSpawnedVariable = "KRV_BENCH_SPAWNED_AT";

} // namespace

ProcessRun RunProcess(const QString& program, const QStringList& arguments) {
    ProcessRun run;
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString& argument : arguments) {
        bytes.push_back(argument.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& b : bytes) {
        argv.push_back(b.data());
    }
    argv.push_back(nullptr);
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    pid_t pid = 0;
    const double start = Now();
    qputenv(kSpawnedVariable, QByteArray::number(start, 'f', 9));
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    qunsetenv(kSpawnedVariable);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got > 0) {
            output.append(buffer, size_t(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeFds[0]);
    if (spawned != 0) {
        return run;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.seconds = Now() - start;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.faults = usage.ru_minflt + usage.ru_majflt;
    run.output = QString::fromLocal8Bit(output.data(), qsizetype(output.size()));
    return run;
}

double SecondsSinceSpawn() {
    bool ok = false;
    const double spawned = qEnvironmentVariable(kSpawnedVariable).toDouble(&ok);
    return ok ? Now() - spawned : 0.0;
}

bool PhasesOf(const QString& output, ProcessPhases& phases) {
    static const QRegularExpression line(
        QStringLiteral(R"(process: ([0-9.]+) s to the program's objects, ([0-9.]+) s to the run, )"
                       R"(the run ended ([0-9.]+) s after the spawn)"));
    const QRegularExpressionMatch match = line.match(output);
    if (!match.hasMatch()) {
        return false;
    }
    phases = {match.captured(1).toDouble(), match.captured(2).toDouble(),
              match.captured(3).toDouble()};
    return true;
}

double PeakOf(const QString& output) {
    static const QRegularExpression line(QStringLiteral(R"(peak memory ([0-9.]+) MiB)"));
    const QRegularExpressionMatch match = line.match(output);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

std::vector<StageTime> StagesOf(const QString& output) {
    static const QRegularExpression line(
        QStringLiteral(R"(^\s+([0-9.]+) s\s+(-?[0-9]+) faults  (.*)$)"),
        QRegularExpression::MultilineOption);
    std::vector<StageTime> stages;
    for (auto it = line.globalMatch(output); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        stages.push_back(
            {match.captured(3), match.captured(1).toDouble(), match.captured(2).toLong()});
    }
    return stages;
}

double RunSecondsOf(const QString& output) {
    static const QRegularExpression line(QStringLiteral(R"(whole run: ([0-9.]+) s)"));
    const QRegularExpressionMatch match = line.match(output);
    return match.hasMatch() ? match.captured(1).toDouble() : 0.0;
}

bool BareTimesOf(const QString& output, double& inflate, double& parse) {
    static const QRegularExpression line(
        QStringLiteral(R"(inflate ([0-9.]+) s, parse ([0-9.]+) s)"));
    const QRegularExpressionMatch match = line.match(output);
    if (!match.hasMatch()) {
        return false;
    }
    inflate = match.captured(1).toDouble();
    parse = match.captured(2).toDouble();
    return true;
}

} // namespace bench
