#include "engine/StageProgress.h"
#include "RecordingProgress.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace {

using engine::StageProgress;
using enginetest::RecordingProgress;

TEST(StageProgress, CountedLoopRewritesEveryItemAndChecksCancelEvery150) {
    RecordingProgress sink;
    StageProgress progress(sink);
    progress.runStage([&] {
        progress.beginCount(390, 400);
        for (int k = 1; k <= 400; ++k) {
            progress.countItem(k);
        }
        progress.endCount();
    });
    ASSERT_EQ(sink.lines, QStringList{QStringLiteral("Filtering Task: 400 of 400... Complete.")});
    EXPECT_EQ(sink.updates, 400);
    EXPECT_EQ(sink.pumps, 3); // stage start, items 150 and 300
    EXPECT_FALSE(sink.stepBarShown);
}

// A sink that throttles its window: a rewrite is due on every 100th item only.
class ThrottledSink : public RecordingProgress {
public:
    int calls = 0;
    int items = 0;
    bool UpdateDue() override { return ++calls % 100 == 0; }
    void UpdateSteps(const QString& text, int count) override {
        items += count;
        RecordingProgress::UpdateSteps(text, count);
    }
};

TEST(StageProgress, AThrottledSinkGetsTheSkippedItemsAndTheLastItemBeforeAnythingElse) {
    ThrottledSink sink;
    StageProgress progress(sink);
    progress.runStage([&] {
        progress.beginCount(390, 250);
        for (int k = 1; k <= 250; ++k) {
            progress.countItem(k);
        }
        progress.endCount();
        progress.beginCount(390, 40);
        for (int k = 1; k <= 30; ++k) {
            progress.countItem(k);
        }
        progress.note(QStringLiteral("stopped early"));
    });
    EXPECT_EQ(sink.lines, (QStringList{QStringLiteral("Filtering Task: 250 of 250... Complete."),
                                       QStringLiteral("Filtering Task: 30 of 40..."),
                                       QStringLiteral("-- stopped early")}));
    EXPECT_EQ(sink.updates, 4); // items 100, 200, 250 before Complete, 30 before the note
    EXPECT_EQ(sink.items, 280);

    ThrottledSink cancelled;
    cancelled.cancelAtPump = 2;
    StageProgress stopped(cancelled);
    EXPECT_THROW(stopped.runStage([&] {
        stopped.beginCount(390, 400);
        for (int k = 1; k <= 400; ++k) {
            stopped.countItem(k);
        }
    }),
                 platform::EAbort);
    EXPECT_EQ(cancelled.lines.last(), QStringLiteral("Filtering Task: 150 of 400..."));
}

TEST(StageProgress, CancelAtAPumpRaisesTheSilentAbortAndResetsTheFlag) {
    for (const int pump : {1, 2, 3}) {
        RecordingProgress sink;
        sink.cancelAtPump = pump;
        StageProgress progress(sink);
        int reached = 0;
        try {
            progress.runStage([&] {
                progress.beginCount(390, 400);
                for (int k = 1; k <= 400; ++k) {
                    reached = k;
                    progress.countItem(k);
                }
                progress.endCount();
            });
            FAIL() << "no abort at pump " << pump;
        } catch (const platform::EAbort& abort) {
            EXPECT_TRUE(abort.message().isEmpty());
        }
        EXPECT_FALSE(sink.flag) << pump;
        EXPECT_EQ(reached, (pump - 1) * 150) << pump;
    }
}

TEST(StageProgress, FailedStageResetsCancelledAndKeepsTheErrorOrEmptiesTheAbort) {
    RecordingProgress sink;
    StageProgress progress(sink);
    try {
        progress.runStage([&] {
            sink.flag = true;
            throw platform::Exception(QStringLiteral("line 1\r\nline 2"));
        });
        FAIL();
    } catch (const platform::EAbort&) {
        FAIL() << "not an abort";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("line 1\r\nline 2"));
    }
    EXPECT_FALSE(sink.flag);

    try {
        progress.runStage([&] { throw platform::EAbort(QStringLiteral("inner text")); });
        FAIL();
    } catch (const platform::EAbort& abort) {
        EXPECT_TRUE(abort.message().isEmpty());
    }
}

} // namespace
