#include "forms/HintStyle.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolTip>
#include <algorithm>

namespace {

// The application's style with the hint delays of the preferences.
class THintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int ShowDelayMs = 500;
    int HideDelayMs = 2500;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay) {
            return ShowDelayMs;
        }
        if (hint == SH_ToolTip_FallAsleepDelay) {
            return HideDelayMs;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Hides each hint the hide delay after it was asked for: every hint, whoever shows it, starts
// with a tool-tip event, and the tool tip's own expiry (ten seconds and more) comes later.
class THintHider : public QObject {
public:
    explicit THintHider(QObject* parent) : QObject(parent) {
        Timer.setSingleShot(true);
        connect(&Timer, &QTimer::timeout, this, [] { QToolTip::hideText(); });
    }

    void setDelay(int ms) { Timer.setInterval(ms); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            Timer.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTimer Timer;
};

THintStyle* installedStyle() {
    if (auto* style = dynamic_cast<THintStyle*>(QApplication::style())) {
        return style;
    }
    // The same style the application had, answering the delays; the application owns it.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    auto* style = new THintStyle(base);
    QApplication::setStyle(style);
    return style;
}

THintHider* installedHider() {
    static QPointer<THintHider> hider;
    if (hider == nullptr) {
        hider = new THintHider(qApp);
        qApp->installEventFilter(hider);
    }
    return hider;
}

} // namespace

void ApplyHintTiming(int showDelayMs, int hideDelayMs) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    THintStyle* style = installedStyle();
    style->ShowDelayMs = std::max(0, showDelayMs);
    style->HideDelayMs = std::max(0, hideDelayMs);
    installedHider()->setDelay(style->HideDelayMs);
}
