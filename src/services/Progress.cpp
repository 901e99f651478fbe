#include "Progress.h"

#include <QCoreApplication>

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
    QCoreApplication::processEvents();
}
