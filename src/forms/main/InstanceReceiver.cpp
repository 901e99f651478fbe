#include "forms/main/InstanceReceiver.h"

#include "forms/SlotGuard.h"
#include "model/ovDF.h"

TInstanceReceiver::TInstanceReceiver(IHandOverWindow& window, TovDF& df, TovDV* dv)
    : Window(window), Df(df), Dv(dv) {}

TInstanceAnswer TInstanceReceiver::Answer(const TInstanceRequest& request) {
    TInstanceAnswer answer;
    answer.Reply = kInstanceReplyBusy;
    if (Window.IsOtherFormActive() || Window.IsBusy()) {
        return answer;
    }
    if (request.Tag != kInstanceRequestTag || Df.getCopyDataPending()) {
        return answer;
    }
    Window.RestoreFromMinimised();
    Window.BringToFront();
    answer.Reply = kInstanceReplyAccepted;
    if (request.Paths.isEmpty()) {
        return answer;
    }
    // Pending from the reply on: a further request before the open runs is answered busy.
    Df.setCopyDataPending(true);
    answer.AfterReply = [this, paths = request.Paths] {
        GuardSlot([&] { OpenHandedOverFiles(Window, Df, Dv, paths, THandOverSource::CopyData); });
        Df.setCopyDataPending(false);
    };
    // The sender gave up before it confirmed the reply: it has told its user that nothing
    // happened, so nothing opens, and later hand-overs are welcome again.
    answer.Abandoned = [this] { Df.setCopyDataPending(false); };
    return answer;
}
