#include "services_ui/WindowFrame.h"
#include "services_ui/WorkArea.h"
#include "support/FixedWorkArea.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Without a window manager (the offscreen platform) a window's frame is the assumed one.
QMargins Frame() {
    const FrameMetrics m = frameMetrics();
    return {m.dlgFrame, m.caption + m.dlgFrame, m.dlgFrame, m.dlgFrame};
}

TEST(WindowFrame, AWindowIsPlacedByItsOuterRectangle) {
    QWidget window;
    const QRect outer(100, 50, 400, 300);
    PlaceOuter(&window, outer);
    EXPECT_EQ(OuterRectOf(&window), outer);
    EXPECT_EQ(window.geometry(), outer.marginsRemoved(Frame()));
    SetOuterMinimumSize(&window, QSize(200, 150));
    EXPECT_EQ(window.minimumSize(), QSize(200, 150).shrunkBy(Frame()));
}

TEST(WindowFrame, AFixedWindowTakesItsSizeInsideTheWorkArea) {
    const QRect area(0, 0, 1280, 800);
    const QSize frame(Frame().left() + Frame().right(), Frame().top() + Frame().bottom());
    testsupport::ScopedWorkArea scoped(area);
    const auto fitted = [](const QRect& before, const QSize& content, bool centre) {
        QWidget window;
        PlaceOuter(&window, before);
        FitFixedWindowToWorkArea(&window, content, centre);
        EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "a fixed size";
        return OuterRectOf(&window);
    };
    const auto near = [](const QPoint& a, const QPoint& b) {
        return (a - b).manhattanLength() <= 2;
    };

    const QRect centred = fitted(QRect(0, 0, 10, 10), QSize(600, 400), true);
    EXPECT_EQ(centred.size(), QSize(600, 400) + frame);
    EXPECT_TRUE(near(centred.center(), area.center()));

    const QRect before(100, 100, 200, 100);
    const QRect kept = fitted(before, QSize(100, 50), false);
    EXPECT_EQ(kept.size(), QSize(100, 50) + frame);
    EXPECT_TRUE(near(kept.center(), before.center()));

    const QRect inside = fitted(QRect(1200, 760, 100, 50), QSize(300, 200), false);
    EXPECT_EQ(inside.right(), area.right());
    EXPECT_EQ(inside.bottom(), area.bottom());

    EXPECT_EQ(fitted(QRect(0, 0, 10, 10), QSize(2000, 900), true), area) << "cut to the work area";
}

} // namespace
