#pragma once

#include <QString>

// The progress window as long operations drive it. Protocol: Reset, set the caption,
// setTotalSteps, setCancelled(false), ShowStepProgress(false), Show; AddStep per stage,
// StartStepProgress and UpdateStep for counted inner loops, AppendToLastLine at a stage's end;
// after every message pump poll getCancelled and, when set, clear it and raise the silent abort;
// at the end setCancelled(false), ShowStepProgress(false), Hide. The window implements it; tests
// install a scripted fake.
class IProgress {
public:
    virtual ~IProgress() = default;

    // Step counter 0, list cleared, both bars at 0, step bar hidden; the total stays.
    virtual void Reset() = 0;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setTotalSteps(int steps) = 0;
    virtual int getTotalSteps() const = 0;
    virtual int getStepCount() const = 0;
    virtual void AddStep(const QString& text) = 0;
    // As AddStep; returns the list index (from 0) of the new line.
    virtual int AddStepReturnIndex(const QString& text) = 0;
    virtual void AddNote(const QString& text) = 0;
    // Replaces the last line by the step line of the current counter and the text.
    virtual void UpdateStep(const QString& text) = 0;
    // The shortest time in milliseconds between two rewrites of a counted loop's line; the items
    // between them come together with the next UpdateSteps. 0: every item is shown.
    virtual int UpdateInterval() const { return 0; }
    // As UpdateStep for `items` items counted at once: the step bar advances by all of them and
    // the window is repainted once.
    virtual void UpdateSteps(const QString& text, int items) {
        for (int i = 0; i < items; ++i) {
            UpdateStep(text);
        }
    }
    virtual void AppendToLastLine(const QString& text) = 0;
    // Appends the text to the line at index; an index at or past the end does nothing.
    virtual void AppendToLine(const QString& text, int index) = 0;
    virtual void StartStepProgress(int steps) = 0;
    virtual void ShowStepProgress(bool show) = 0;
    // Lets the desktop deliver its messages (the Cancel button among them) during a long
    // operation.
    virtual void ProcessMessages();
    // Whether a counted loop's line is due to be rewritten now: a window that throttles its
    // repaints says no between its updates, and the items skipped come with the next
    // UpdateSteps.
    virtual bool UpdateDue() { return true; }
    virtual bool getCancelled() const = 0;
    virtual void setCancelled(bool cancelled) = 0;
    // Shows the window modeless / closes it.
    virtual void Show() = 0;
    virtual void Hide() = 0;
};

// Lets the desktop deliver its pending messages during a long operation, at most once every few
// milliseconds.
void PumpMessages();

// Progress that shows nothing and is never cancelled (runs without a window, benchmarks).
class TNullProgress : public IProgress {
public:
    void Reset() override {}
    void setCaption(const QString&) override {}
    void setTotalSteps(int) override {}
    int getTotalSteps() const override { return 0; }
    int getStepCount() const override { return 0; }
    void AddStep(const QString&) override {}
    int AddStepReturnIndex(const QString&) override { return 0; }
    void AddNote(const QString&) override {}
    void UpdateStep(const QString&) override {}
    void UpdateSteps(const QString&, int) override {}
    void AppendToLastLine(const QString&) override {}
    void AppendToLine(const QString&, int) override {}
    void StartStepProgress(int) override {}
    void ShowStepProgress(bool) override {}
    void ProcessMessages() override {}
    bool getCancelled() const override { return false; }
    void setCancelled(bool) override {}
    void Show() override {}
    void Hide() override {}
};

// The progress window in use (the window once start-up created it, or a test's fake).
IProgress* Progress();
void setProgress(IProgress* progress);
