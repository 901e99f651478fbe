#pragma once

#include "TabHost.h"

// The balloon hint of a window: shown at a screen rectangle, hidden after HideTimeMs.
class TBalloonHint : public IBalloonHint {
public:
    static constexpr int HideTimeMs = 2500;

    void Show(const QString& text, const QRect& screenRect) override;
    void Hide() override;
};
