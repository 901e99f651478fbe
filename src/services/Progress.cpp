#include "Progress.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {
IProgress* currentProgress = nullptr;
}

IProgress* Progress() {
    return currentProgress;
}

void setProgress(IProgress* progress) {
    currentProgress = progress;
}

void IProgress::ProcessMessages() {
    PumpMessages();
}

void PumpMessages() {
    // A run asks after every spreadsheet call and every few hundred items; with a window shown a
    // pass through the event loop costs tens of microseconds, so passes come at most once per
    // interval (the Cancel button is still seen within it).
    constexpr qint64 kIntervalMs = 10;
    static QElapsedTimer lastPass;
    if (lastPass.isValid() && !lastPass.hasExpired(kIntervalMs)) {
        return;
    }
    QCoreApplication::processEvents();
    lastPass.start();
}
