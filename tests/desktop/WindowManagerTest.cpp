#include "DesktopSupport.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using namespace desktopsupport;

// The checks of this suite rest on these: a window manager frames a window, and the screen is the
// 1280 x 800 the windows are made to fit.
TEST(DesktopSession, AWindowManagerFramesAShownWindowOnA1280By800Screen) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 800));
    QWidget window;
    window.resize(300, 200);
    ASSERT_TRUE(showAndSettle(&window));
    EXPECT_GT(window.frameGeometry().height(), window.geometry().height());
    EXPECT_TRUE(workArea().contains(window.frameGeometry()));
}

} // namespace
