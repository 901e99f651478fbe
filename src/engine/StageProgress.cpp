#include "StageProgress.h"

#include "platform/Format.h"
#include "services/ovUIL.h"

namespace engine {

namespace {
constexpr int kTextComplete = 461;
}

void StageProgress::cancelCheck() {
    sink_.processMessages();
    if (sink_.cancelled()) {
        sink_.setCancelled(false);
        throw platform::EAbort();
    }
}

void StageProgress::complete() {
    sink_.appendToLastLine(UIT(kTextComplete));
}

void StageProgress::completeLine(int index) {
    sink_.appendToLine(UIT(kTextComplete), index);
}

void StageProgress::beginCount(int textId, int count, int first) {
    countFormat_ = UIT(textId);
    count_ = count;
    sink_.startStepProgress(count);
    sink_.addStep(platform::Format(countFormat_, {first, count}));
}

void StageProgress::countItem(int i) {
    sink_.updateStep(platform::Format(countFormat_, {i, count_}));
    if (i % CancelCheckInterval == 0) {
        cancelCheck();
    }
}

void StageProgress::endCount() {
    complete();
    sink_.showStepProgress(false);
}

} // namespace engine
