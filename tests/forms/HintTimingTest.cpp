// The hint delays of the preferences as the application applies them to every control's hint.
#include "forms/HintStyle.h"
#include "support/Eventually.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

// Puts Qt's own timing back after each test.
class HintTiming : public testing::Test {
protected:
    void TearDown() override {
        ApplyHintTiming(500, 2500);
        QToolTip::hideText();
    }
};

TEST_F(HintTiming, StyleAnswersTheDelaysAndKeepsAnsweringLaterChanges) {
    ApplyHintTiming(2000, 1000);
    QStyle* style = QApplication::style();
    EXPECT_EQ(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 2000);
    EXPECT_EQ(style->styleHint(QStyle::SH_ToolTip_FallAsleepDelay), 1000);
    ApplyHintTiming(0, 5000);
    EXPECT_EQ(QApplication::style(), style) << "the style is installed once";
    EXPECT_EQ(style->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 0);
    EXPECT_EQ(style->styleHint(QStyle::SH_ToolTip_FallAsleepDelay), 5000);
}

// The pointer resting on a control: its hint waits for the show delay, then stays for the hide
// delay (Qt alone would show it after 0.7 s and keep it for ten seconds). Only lower bounds are
// timed, so that a loaded machine does not fail it.
TEST_F(HintTiming, HintShowsAfterTheShowDelayAndHidesAfterTheHideDelay) {
    ApplyHintTiming(1500, 1000);
    QPushButton button(QStringLiteral("Process"));
    button.setToolTip(QStringLiteral("Process the selected KRV Definition."));
    button.resize(200, 40);
    button.show();
    button.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&button));

    QElapsedTimer resting;
    resting.start();
    QTest::mouseMove(&button, QPoint(20, 20));
    ASSERT_TRUE(testsupport::Eventually([] { return QToolTip::isVisible(); }, 30000));
    // A timer is never early but for Qt's coarse timers, by 5% at most, and the clock counts
    // whole milliseconds: a bound of 90% leaves that margin, and a slow machine only makes the
    // wait longer.
    EXPECT_GE(resting.elapsed(), 1500 * 9 / 10) << "shown before the show delay";
    EXPECT_EQ(QToolTip::text(), button.toolTip());
    EXPECT_TRUE(testsupport::Eventually([] { return !QToolTip::isVisible(); }, 8000))
        << "still shown after eight seconds";
}

} // namespace
