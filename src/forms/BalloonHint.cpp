#include "BalloonHint.h"

#include <QToolTip>

void TBalloonHint::Show(const QString& text, const QRect& screenRect) {
    QToolTip::showText(screenRect.bottomLeft(), text, nullptr, QRect(), HideTimeMs);
}

void TBalloonHint::Hide() {
    QToolTip::hideText();
}
