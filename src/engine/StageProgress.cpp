#include "StageProgress.h"

#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace engine {

namespace {}

void StageProgress::cancelCheck() {
    sink_.processMessages();
    if (sink_.cancelled()) {
        // The line shows the item the user stopped at.
        showCount();
        sink_.setCancelled(false);
        throw platform::EAbort();
    }
}

void StageProgress::complete() {
    showCount();
    sink_.appendToLastLine(UIT(txt::Complete));
}

void StageProgress::completeLine(int index) {
    showCount();
    sink_.appendToLine(UIT(txt::Complete), index);
}

void StageProgress::beginCount(int textId, int count, int first) {
    showCount();
    countFormat_ = UIT(textId);
    count_ = count;
    unshown_ = 0;
    sink_.startStepProgress(count);
    sink_.addStep(platform::Format(countFormat_, {first, count}));
}

void StageProgress::countItem(int i) {
    lastItem_ = i;
    ++unshown_;
    if (sink_.updateDue()) {
        showCount();
    }
    if (i % CancelCheckInterval == 0) {
        cancelCheck();
    }
}

void StageProgress::showCount() {
    if (unshown_ > 0) {
        const int items = unshown_;
        unshown_ = 0;
        sink_.updateSteps(platform::Format(countFormat_, {lastItem_, count_}), items);
    }
}

void StageProgress::endCount() {
    complete();
    sink_.showStepProgress(false);
}

} // namespace engine
