#pragma once

#include "forms/main/HandOverOpen.h"
#include "services_ui/InstanceChannel.h"

class TovDF;
class TovDV;

// The running main window's side of the single-instance hand-over: decides the reply to a later
// start's request at once and leaves the opening of its paths to run after the reply has gone.
// Owned by the main window, which supplies itself as the window.
class TInstanceReceiver {
public:
    TInstanceReceiver(IHandOverWindow& window, TovDF& df, TovDV* dv);

    // Busy (212) while another of the program's windows is active (that window comes to the
    // front), while the main window is busy, while an earlier hand-over is still pending, and for
    // a request not tagged "KRVC": each of these does nothing. Otherwise the main window comes
    // to the front and the reply is accepted (121345); the paths, when there are any, are opened
    // once the sender has confirmed the reply, and not at all when it gave up waiting.
    TInstanceAnswer Answer(const TInstanceRequest& request);

private:
    IHandOverWindow& Window;
    TovDF& Df;
    TovDV* Dv;
};
