#include "WorkArea.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

namespace {

class ScreenWorkArea : public WorkArea {
public:
    QRect rect() const override {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                return screen->availableGeometry();
            }
        }
        return QRect(0, 0, 1024, 768);
    }
};

std::unique_ptr<WorkArea>& current() {
    static std::unique_ptr<WorkArea> area;
    return area;
}

} // namespace

const WorkArea& workArea() {
    auto& area = current();
    if (!area) {
        area = std::make_unique<ScreenWorkArea>();
    }
    return *area;
}

std::unique_ptr<WorkArea> setWorkArea(std::unique_ptr<WorkArea> area) {
    auto previous = std::move(current());
    current() = std::move(area);
    return previous;
}

int CentredStart(int areaStart, int areaLength, int length) {
    return std::max(areaStart, areaStart + areaLength / 2 - length / 2);
}

FrameMetrics frameMetrics() {
    FrameMetrics m{3, 23, 17, 13, 2};
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        const QStyle* style = QApplication::style();
        m.caption = std::max(m.caption, style->pixelMetric(QStyle::PM_TitleBarHeight));
        m.vScroll = style->pixelMetric(QStyle::PM_ScrollBarExtent);
        m.menuCheck = style->pixelMetric(QStyle::PM_IndicatorWidth);
        m.edge = std::max(1, style->pixelMetric(QStyle::PM_DefaultFrameWidth));
    }
    return m;
}
