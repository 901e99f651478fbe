#pragma once

#include "services/ovAD.h"
#include "services_ui/TextMetrics.h"

// The dialogue metrics the windows' layouts are computed from.
namespace formmetrics {

// number * numerator / denominator, rounded half away from zero.
inline int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const long long product = static_cast<long long>(number) * numerator;
    const long long half = (denominator > 0 ? denominator : -denominator) / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

// A base width scaled by the average character width of the dialogue font.
inline int ScaledWidth(int base) {
    return MulDiv(base, DlgAvgCharWidth, 6);
}

inline int BitButtonHeight() {
    return DlgTextHeight + DlgBBtnMargin;
}

inline int SpeedButtonHeight() {
    return DlgTextHeight + DlgSBtnMargin;
}

} // namespace formmetrics
