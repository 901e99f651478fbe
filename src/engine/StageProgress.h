#pragma once

#include "platform/Exception.h"

#include <QString>

namespace engine {

// What the calculation stages need of the progress window; the driver adapts the window to it
// and tests record it.
class IProgressSink {
public:
    virtual ~IProgressSink() = default;

    virtual void processMessages() = 0;
    virtual bool cancelled() const = 0;
    virtual void setCancelled(bool flag) = 0;

    virtual void addStep(const QString& text) = 0;
    virtual int addStepReturnIndex(const QString& text) = 0;
    virtual void addNote(const QString& text) = 0;
    virtual void updateStep(const QString& text) = 0;
    // Whether a counted loop's line is due to be rewritten now. A sink that shows every item says
    // yes; one that throttles its window says no between its updates, and the items skipped come
    // with the next rewrite.
    virtual bool updateDue() { return true; }
    // Rewrites the line for `items` items counted since the last rewrite.
    virtual void updateSteps(const QString& text, int items) {
        static_cast<void>(items);
        updateStep(text);
    }
    virtual void appendToLastLine(const QString& text) = 0;
    virtual void appendToLine(const QString& text, int index) = 0;
    virtual void startStepProgress(int maximum) = 0;
    virtual void showStepProgress(bool flag) = 0;
};

// A sink that shows nothing and is never cancelled (benchmarks, runs without a window).
class NullProgressSink : public IProgressSink {
public:
    void processMessages() override {}
    bool cancelled() const override { return false; }
    void setCancelled(bool) override {}
    void addStep(const QString&) override {}
    int addStepReturnIndex(const QString&) override { return 0; }
    void addNote(const QString&) override {}
    void updateStep(const QString&) override {}
    void appendToLastLine(const QString&) override {}
    void appendToLine(const QString&, int) override {}
    void startStepProgress(int) override {}
    void showStepProgress(bool) override {}
};

// The protocol every calculation stage follows: a cancel check first, numbered step lines,
// counted loops that rewrite their line on every item the sink finds due (the text is made only
// then, and the line always shows the last item before anything else is written) and check for
// Cancel on every 150th,
// "Complete." appended when done, and on the way out of a failed stage the Cancelled flag reset
// (an abort also loses its message).
class StageProgress {
public:
    static constexpr int CancelCheckInterval = 150;

    explicit StageProgress(IProgressSink& sink) : sink_(sink) {}

    IProgressSink& sink() { return sink_; }

    // Pumps messages; when the user has pressed Cancel, resets the flag and raises the abort.
    void cancelCheck();

    // Runs one stage's body under the protocol.
    template <class Body> void runStage(Body&& body) {
        try {
            cancelCheck();
            body();
        } catch (platform::EAbort& abort) {
            sink_.setCancelled(false);
            abort.setMessage(QString());
            throw;
        } catch (...) {
            sink_.setCancelled(false);
            throw;
        }
    }

    void step(const QString& text) {
        showCount();
        sink_.addStep(text);
    }
    int stepReturnIndex(const QString& text) {
        showCount();
        return sink_.addStepReturnIndex(text);
    }
    void note(const QString& text) {
        showCount();
        sink_.addNote(text);
    }
    // Appends "Complete." to the last line, or to the line of the given index.
    void complete();
    void completeLine(int index);

    // A counted loop of `count` items whose line is the text `textId` formatted with (item,
    // count): starts the step bar and adds the line with (first, count).
    void beginCount(int textId, int count, int first = 0);
    // Rewrites the line for item i; a cancel check when i is a multiple of 150.
    void countItem(int i);
    // Appends "Complete." and hides the step bar.
    void endCount();

private:
    // Rewrites the counted line for the items not shown yet.
    void showCount();

    IProgressSink& sink_;
    QString countFormat_;
    int count_ = 0;
    int lastItem_ = 0;
    int unshown_ = 0;
};

} // namespace engine
