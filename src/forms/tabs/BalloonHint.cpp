#include "forms/tabs/BalloonHint.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <algorithm>

QPoint BalloonPosition(const QRect& screenRect, const QSize& balloon, const QRect& area) {
    QPoint at(screenRect.left(), screenRect.bottom() + 2);
    if (area.isEmpty()) {
        return at;
    }
    if (at.y() + balloon.height() > area.bottom()) {
        at.setY(screenRect.top() - balloon.height() - 2); // above the box when below is full
    }
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - balloon.width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - balloon.height())));
    return at;
}

TBalloonHint::TBalloonHint() {
    // A tool-tip window: no frame, no focus taken from the box being typed in.
    Popup = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    Popup->setObjectName(QStringLiteral("BH_Main"));
    Popup->setForegroundRole(QPalette::ToolTipText);
    Popup->setBackgroundRole(QPalette::ToolTipBase);
    Popup->setAutoFillBackground(true);
    Popup->setFrameStyle(QFrame::Box | QFrame::Plain);
    Popup->setMargin(6);
    Popup->setTextFormat(Qt::PlainText);
    HideTimer = new QTimer(Popup);
    HideTimer->setSingleShot(true);
    QObject::connect(HideTimer, &QTimer::timeout, Popup, &QWidget::hide);
}

TBalloonHint::~TBalloonHint() {
    delete Popup.data();
}

void TBalloonHint::Show(const QString& text, const QRect& screenRect) {
    if (Popup.isNull()) {
        return;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Popup->setText(shown);
    Popup->adjustSize();
    // The screen the rectangle is on; a rectangle off every screen keeps to the primary one.
    const QScreen* screen = QGuiApplication::screenAt(screenRect.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    Popup->move(BalloonPosition(screenRect, Popup->size(),
                                screen != nullptr ? screen->availableGeometry() : QRect()));
    Popup->show();
    Popup->raise();
    HideTimer->start(HideTimeMs);
}

void TBalloonHint::Hide() {
    if (Popup.isNull()) {
        return;
    }
    HideTimer->stop();
    Popup->hide();
}

bool TBalloonHint::isVisible() const {
    return !Popup.isNull() && Popup->isVisible();
}

QString TBalloonHint::text() const {
    return Popup.isNull() ? QString() : Popup->text();
}
