#pragma once

#include "forms/tabs/TabHost.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QLabel;
class QTimer;

// Where a balloon of the given size goes for a rectangle on the screen: below it, at its left
// edge, moved left to stay within the screen area and above the rectangle when there is no room
// below; never left of or above the area.
QPoint BalloonPosition(const QRect& screenRect, const QSize& balloon, const QRect& area);

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
