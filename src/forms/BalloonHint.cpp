#include "BalloonHint.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

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
    QPoint at(screenRect.left(), screenRect.bottom() + 2);
    if (const QScreen* screen = QGuiApplication::screenAt(screenRect.center())) {
        const QRect area = screen->availableGeometry();
        if (at.x() + Popup->width() > area.right()) {
            at.setX(std::max(area.left(), area.right() - Popup->width()));
        }
        if (at.y() + Popup->height() > area.bottom()) {
            at.setY(screenRect.top() - Popup->height() - 2); // above the box when below is full
        }
    }
    Popup->move(at);
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
