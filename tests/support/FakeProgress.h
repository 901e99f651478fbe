#pragma once

#include "services/Progress.h"

#include <QStringList>
#include <functional>

namespace testsupport {

// A scripted progress window: keeps the lines, counters and flags as the window would (step lines
// " [n] text ", note lines " [-] text "), records shows and hides, and can press Cancel after a
// given number of getCancelled polls, as a user would while the operation pumps messages.
class FakeProgress : public IProgress {
public:
    FakeProgress() : previous_(Progress()) { setProgress(this); }
    ~FakeProgress() override { setProgress(previous_); }

    QStringList lines;
    QString caption;
    int totalSteps = 0;
    int stepCount = 0;
    int stepMax = 0;
    int stepPosition = 0;
    int totalPosition = 0;
    bool stepProgressShown = false;
    bool visible = false;
    bool cancelled = false;
    int shows = 0;
    int hides = 0;
    // Cancel is pressed when getCancelled has been polled this many times (-1: never).
    mutable int cancelAfterPolls = -1;
    mutable int polls = 0;

    void Reset() override {
        stepCount = 0;
        lines.clear();
        totalPosition = 0;
        stepPosition = 0;
        stepProgressShown = false;
    }
    void setCaption(const QString& text) override { caption = text; }
    void setTotalSteps(int steps) override {
        totalSteps = steps;
        totalPosition = 0;
    }
    int getTotalSteps() const override { return totalSteps; }
    int getStepCount() const override { return stepCount; }
    void AddStep(const QString& text) override { AddStepReturnIndex(text); }
    int AddStepReturnIndex(const QString& text) override {
        ++stepCount;
        ++totalPosition;
        lines << stepLine(text);
        return static_cast<int>(lines.size()) - 1;
    }
    void AddNote(const QString& text) override {
        lines << QStringLiteral(" [-] ") + text + QLatin1Char(' ');
    }
    void UpdateStep(const QString& text) override {
        if (!lines.isEmpty()) {
            lines.last() = stepLine(text);
            ++stepPosition;
        }
    }
    void AppendToLastLine(const QString& text) override {
        if (!lines.isEmpty()) {
            AppendToLine(text, static_cast<int>(lines.size()) - 1);
        }
    }
    void AppendToLine(const QString& text, int index) override {
        if (index >= 0 && index < lines.size()) {
            lines[index] = QLatin1Char(' ') + lines[index].trimmed() + QLatin1Char(' ') + text +
                           QLatin1Char(' ');
        }
    }
    void StartStepProgress(int steps) override {
        stepMax = steps;
        stepPosition = 0;
        stepProgressShown = true;
    }
    void ShowStepProgress(bool show) override { stepProgressShown = show; }
    bool getCancelled() const override {
        ++polls;
        if (cancelAfterPolls >= 0 && polls >= cancelAfterPolls) {
            cancelAfterPolls = -1;
            const_cast<FakeProgress*>(this)->PressCancel();
        }
        return cancelled;
    }
    // What the window's Cancel button does: sets the flag and clears the list.
    void PressCancel() {
        cancelled = true;
        Reset();
    }
    void setCancelled(bool value) override { cancelled = value; }
    void Show() override {
        visible = true;
        ++shows;
    }
    void Hide() override {
        visible = false;
        ++hides;
    }

private:
    QString stepLine(const QString& text) const {
        return QStringLiteral(" [%1] ").arg(stepCount) + text + QLatin1Char(' ');
    }

    IProgress* previous_;
};

} // namespace testsupport
