#pragma once

#include <QString>

// The single processing-run object: holds a run's options and results.
class TovProcess {
public:
    TovProcess() = default;
    TovProcess(const TovProcess&) = delete;
    TovProcess& operator=(const TovProcess&) = delete;

    // Chooses the progress line formats for an operation of the given number of steps: the step
    // number gets as many digits as the count needs (two for 1000 steps or more).
    void SetLineFormats(int stepCount);
    QString getStepLineFormat() const { return StepLineFormat; }
    QString getSubLineFormat() const { return SubLineFormat; }

private:
    QString StepLineFormat = QStringLiteral(" [%.2d] %s ");
    QString SubLineFormat = QStringLiteral(" [--] %s ");
};

extern TovProcess* Process;
