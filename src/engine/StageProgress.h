#pragma once

#include "platform/Exception.h"
#include "services/Progress.h"

#include <QString>

namespace engine {

// The protocol every calculation stage follows over the progress window: a cancel check first,
// numbered step lines, counted loops that rewrite their line on every item the window finds due
// (the text is made only then, and the line always shows the last item before anything else is
// written) and check for Cancel on every 150th, "Complete." appended when done, and on the way out
// of a failed stage the Cancelled flag reset (an abort also loses its message).
class StageProgress {
public:
    static constexpr int CancelCheckInterval = 150;

    explicit StageProgress(IProgress& progress) : progress_(progress) {}

    // Pumps messages; when the user has pressed Cancel, resets the flag and raises the abort.
    void cancelCheck();

    // Runs one stage's body under the protocol.
    template <class Body> void runStage(Body&& body) {
        try {
            cancelCheck();
            body();
        } catch (platform::EAbort& abort) {
            progress_.setCancelled(false);
            abort.setMessage(QString());
            throw;
        } catch (...) {
            progress_.setCancelled(false);
            throw;
        }
    }

    void step(const QString& text) {
        showCount();
        progress_.AddStep(text);
    }
    int stepReturnIndex(const QString& text) {
        showCount();
        return progress_.AddStepReturnIndex(text);
    }
    void note(const QString& text) {
        showCount();
        progress_.AddNote(text);
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

    IProgress& progress_;
    QString countFormat_;
    int count_ = 0;
    int lastItem_ = 0;
    int unshown_ = 0;
};

} // namespace engine
