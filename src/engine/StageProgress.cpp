#include "StageProgress.h"

#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace engine {

void StageProgress::cancelCheck() {
    progress_.ProcessMessages();
    if (progress_.getCancelled()) {
        // The line shows the item the user stopped at.
        showCount();
        progress_.setCancelled(false);
        throw platform::EAbort();
    }
}

void StageProgress::complete() {
    showCount();
    progress_.AppendToLastLine(UIT(txt::Complete));
}

void StageProgress::completeLine(int index) {
    showCount();
    progress_.AppendToLine(UIT(txt::Complete), index);
}

void StageProgress::beginCount(int textId, int count, int first) {
    showCount();
    countFormat_ = UIT(textId);
    count_ = count;
    unshown_ = 0;
    progress_.StartStepProgress(count);
    progress_.AddStep(platform::Format(countFormat_, {first, count}));
}

void StageProgress::countItem(int i) {
    lastItem_ = i;
    ++unshown_;
    if (progress_.UpdateDue()) {
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
        progress_.UpdateSteps(platform::Format(countFormat_, {lastItem_, count_}), items);
    }
}

void StageProgress::endCount() {
    complete();
    progress_.ShowStepProgress(false);
}

} // namespace engine
