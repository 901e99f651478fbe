// Details of the windows seen only on a real screen: where a balloon comes up for a full edit box
// whose text the box has scrolled, and that it stays on the 1280 x 800 screen.
#include "DesktopSupport.h"

#include "forms/tabs/BalloonHint.h"
#include "forms/tabs/TabInputGuards.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

using namespace desktopsupport;

QWidget* shownBalloon() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("BH_Main") && top->isVisible()) {
            return top;
        }
    }
    return nullptr;
}

// A full box of 255 characters far wider than the box: the "maximum length" balloon comes up at
// the caret the box shows, on the screen, not where the caret would be without the scrolling.
TEST(DetailsOnScreen, FullBoxBalloonComesUpAtTheVisibleCaret) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    TBalloonHint balloon;
    TTabInputGuards guards(balloon, [](const QString&) { return 1048576; });
    QWidget page;
    page.resize(640, 120);
    auto* box = new QLineEdit(&page);
    box->setGeometry(20, 30, 400, 24);
    guards.Attach(box, 255);
    ASSERT_TRUE(showAndSettle(&page));
    box->setText(QString(255, QLatin1Char('W')));
    box->setFocus();
    for (const int caret : {255, 200, 1}) {
        box->setCursorPosition(caret);
        QTest::keyClick(box, 'x');
        settle(100);
        const QWidget* popup = shownBalloon();
        ASSERT_NE(popup, nullptr) << caret;
        const QRect onScreen(box->mapToGlobal(QPoint(0, 0)), box->size());
        EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(popup->frameGeometry()))
            << caret;
        EXPECT_GE(popup->x(), onScreen.left()) << caret;
        EXPECT_LE(popup->x(), onScreen.right()) << caret;
        saveScreenshot(&page, QStringLiteral("full_box_balloon_%1").arg(caret));
        balloon.Hide();
    }
}

} // namespace
