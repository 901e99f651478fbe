#include "Progress.h"

namespace {
IProgress* currentProgress = nullptr;
}

IProgress* Progress() {
    return currentProgress;
}

void setProgress(IProgress* progress) {
    currentProgress = progress;
}
