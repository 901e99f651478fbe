#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services_ui/F_Progress.h"
#include "support/FakeMainWindow.h"
#include "support/FakeProgress.h"
#include "support/FixedTextMeasurer.h"
#include "support/FixedWorkArea.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;
using testsupport::ScopedWorkArea;

// The application data with its message log, installed as AD for one test.
class ScopedApplicationData {
public:
    ScopedApplicationData() : previous_(AD), ad_(folder_.path()) { AD = &ad_; }
    ~ScopedApplicationData() { AD = previous_; }
    TovAD& ad() { return ad_; }

private:
    QTemporaryDir folder_;
    TovAD* previous_;
    TovAD ad_;
};

QStringList panels(const TUF_Progress& p) {
    return {p.getPanelText(0), p.getPanelText(1), p.getPanelText(2), p.getPanelText(3)};
}

TEST(ProgressWindow, StepsCountTowardsTheTotal) {
    TUF_Progress p;
    p.Reset();
    p.setTotalSteps(5);
    p.AddStep(QStringLiteral("Opening"));
    p.AddStep(QStringLiteral("Reading"));
    p.AddStep(QStringLiteral("Filtering"));
    EXPECT_EQ(panels(p), Texts({" Step ", " 3 ", " of ", " 5 "}));
    EXPECT_EQ(p.getTotalPosition(), 3);
    EXPECT_EQ(p.PB_Total->value(), 3);
    EXPECT_EQ(p.PB_Total->maximum(), 5);
    EXPECT_EQ(p.getLines(), Texts({" [01] Opening ", " [02] Reading ", " [03] Filtering "}));
}

TEST(ProgressWindow, LineOperations) {
    TUF_Progress p;
    p.setLineFormatSource([] { return QStringLiteral(" [%.1d] %s "); },
                          [] { return QStringLiteral(" [-] %s "); });
    p.Reset();
    p.setTotalSteps(3);
    p.UpdateStep(QStringLiteral("nothing yet")); // empty list: nothing happens
    EXPECT_TRUE(p.getLines().isEmpty());

    EXPECT_EQ(p.AddStepReturnIndex(QStringLiteral("Reading tasks")), 0);
    p.StartStepProgress(10);
    EXPECT_FALSE(p.PB_Step->isHidden());
    p.UpdateStep(QStringLiteral("Reading task 1 of 10"));
    p.UpdateStep(QStringLiteral("Reading task 2 of 10"));
    EXPECT_EQ(p.getStepPosition(), 2);
    p.AddNote(QStringLiteral("skipped 3 rows"));
    p.AppendToLine(QStringLiteral("ignored"), 2); // index = line count: nothing happens
    p.AppendToLine(QStringLiteral("(10 tasks)"), 0);
    p.AppendToLastLine(UIT(txt::Complete));
    EXPECT_EQ(p.getLines(),
              Texts({" [1] Reading task 2 of 10 (10 tasks) ", " [-] skipped 3 rows Complete. "}));
    p.ShowStepProgress(false);
    EXPECT_TRUE(p.PB_Step->isHidden() && p.Lbl_Step->isHidden());
}

TEST(ProgressWindow, ItemsCountedTogetherAdvanceTheStepBarByAllOfThem) {
    TUF_Progress p;
    p.Reset();
    p.AddStep(QStringLiteral("Reading task 0 of 10"));
    p.StartStepProgress(10);
    p.UpdateSteps(QStringLiteral("Reading task 4 of 10"), 4);
    EXPECT_EQ(p.getStepPosition(), 4);
    p.UpdateSteps(QStringLiteral("Reading task 12 of 10"), 8); // the bar stops at its maximum
    EXPECT_EQ(p.getStepPosition(), 10);
    EXPECT_TRUE(p.getLines().last().contains(QStringLiteral("Reading task 12 of 10")));
    EXPECT_GT(p.UpdateInterval(), 0) << "a counted loop does not repaint on every item";
}

TEST(ProgressWindow, TotalBarStopsAtItsMaximum) {
    TUF_Progress p;
    p.Reset();
    p.setTotalSteps(2);
    for (int i = 0; i < 4; ++i) {
        p.AddStep(QStringLiteral("step"));
    }
    EXPECT_EQ(p.getStepCount(), 4);
    EXPECT_EQ(p.PB_Total->value(), 2);
    EXPECT_EQ(p.getPanelText(1), QStringLiteral(" 2 "));
}

TEST(ProgressWindow, CancelSetsTheFlagAndLogsOncePerShowing) {
    ScopedApplicationData data;
    testsupport::FakeMainWindow main;
    TUF_Progress p;
    p.Reset();
    p.setTotalSteps(5);
    p.setCancelled(false);
    p.Show();
    EXPECT_EQ(main.restores, 1);
    p.AddStep(QStringLiteral("Opening"));
    p.AddStep(QStringLiteral("Reading"));

    p.BBtn_CancelClick();
    EXPECT_TRUE(p.getCancelled());
    // The list is emptied, and the total panel keeps reading the operation's total.
    EXPECT_TRUE(p.getLines().isEmpty());
    EXPECT_EQ(panels(p), Texts({" Step ", " 0 ", " of ", " 5 "}));
    p.reject(); // Esc is Cancel too
    EXPECT_EQ(data.ad().MessageLog,
              QStringList({QStringLiteral("The current operation has been cancelled by the user."),
                           QString()}));
    EXPECT_TRUE(p.isVisible()); // Cancel never closes the window

    // The operation clears the flag and closes the window; the next showing logs again.
    p.setCancelled(false);
    p.Hide();
    EXPECT_FALSE(p.isVisible());
    p.Show();
    p.BBtn_CancelClick();
    EXPECT_EQ(data.ad().MessageLog.size(), 4);
    p.Hide();
    EXPECT_FALSE(p.getCancelled()); // closing clears it
}

TEST(ProgressWindow, LongTextWidensUpToTheWorkAreaAndNeverNarrows) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    ScopedWorkArea area(QRect(200, 0, 1000, 800));
    TUF_Progress p;
    p.Reset();
    p.setTotalSteps(3);
    const int before = p.outerWidth();
    const int centreBefore = p.x() + before / 2;
    EXPECT_GE(p.x(), 200);

    p.AddStep(QString(120, QLatin1Char('a'))); // 122 x 6 + frame and scroll bar
    const FrameMetrics fm = frameMetrics();
    const int wanted = 122 * 6 + 2 * fm.dlgFrame + fm.vScroll + 4;
    EXPECT_EQ(p.outerWidth(), std::max(before, wanted));
    EXPECT_NEAR(p.x() + p.outerWidth() / 2, centreBefore, 1);

    p.AddStep(QString(400, QLatin1Char('b')));
    EXPECT_EQ(p.outerWidth(), 1000);
    EXPECT_EQ(p.x(), 200);

    p.AddStep(QStringLiteral("short"));
    EXPECT_EQ(p.outerWidth(), 1000);
}

TEST(ProgressWindow, FakeCancelsAfterTheScriptedPolls) {
    testsupport::FakeProgress fake;
    ASSERT_EQ(Progress(), &fake);
    fake.Reset();
    fake.setTotalSteps(3);
    fake.cancelAfterPolls = 2;
    fake.AddStep(QStringLiteral("one"));
    EXPECT_FALSE(Progress()->getCancelled());
    EXPECT_TRUE(Progress()->getCancelled());
    EXPECT_TRUE(fake.lines.isEmpty());
}

} // namespace

// The message pump passes through the event loop at most once per interval: a run asks after
// every spreadsheet call, and each pass costs tens of microseconds with a window shown.
TEST(ProgressWindow, MessagesArePumpedAtMostOncePerInterval) {
    int delivered = 0;
    QThread::msleep(20); // the interval has passed since any earlier pass
    QTimer::singleShot(0, [&] { ++delivered; });
    PumpMessages();
    EXPECT_EQ(delivered, 1);
    QElapsedTimer sincePass;
    sincePass.start();
    QTimer::singleShot(0, [&] { ++delivered; });
    PumpMessages();
    if (sincePass.elapsed() >= 9) {
        GTEST_SKIP() << "the machine paused for the whole interval";
    }
    EXPECT_EQ(delivered, 1) << "a second pass within the interval is left out";
    QThread::msleep(15);
    PumpMessages();
    EXPECT_EQ(delivered, 2);
}
