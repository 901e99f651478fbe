#include "forms/dialogs/WindowResizeTracker.h"

bool TWindowResizeTracker::IsUserResize(const QSize& size, bool visible, bool normalState) {
    if (Depth > 0 || !visible || !normalState) {
        return false;
    }
    if (StateChangePending) {
        StateChangePending = false;
        return false;
    }
    if (Expected.isValid() && size == Expected) {
        Expected = QSize();
        return false;
    }
    return true;
}
