#pragma once

#include "TabHost.h"

#include <QPointer>

class QLabel;
class QTimer;

// The balloon hint of a window: a small frameless pop-up holding a short message, placed below
// the given screen rectangle (kept on the screen), shown at once and hidden after HideTimeMs.
class TBalloonHint : public IBalloonHint {
public:
    static constexpr int HideTimeMs = 2500;

    TBalloonHint();
    ~TBalloonHint() override;
    TBalloonHint(const TBalloonHint&) = delete;
    TBalloonHint& operator=(const TBalloonHint&) = delete;

    void Show(const QString& text, const QRect& screenRect) override;
    void Hide() override;

    bool isVisible() const;
    QString text() const;

private:
    QPointer<QLabel> Popup;
    QTimer* HideTimer = nullptr;
};
