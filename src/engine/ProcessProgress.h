#pragma once

#include "engine/StageProgress.h"

#include <QElapsedTimer>

// The progress window seen as the calculation stages' progress sink: messages are pumped through
// the application's event loop, and every other call goes to the progress window in use (none:
// nothing is shown and Cancel is never pressed). A counted loop's line is rewritten at most once
// in the window's update interval, so that a loop of thousands of items does not repaint the
// window thousands of times; every step line is still shown as it comes.
class TovProcessProgress : public engine::IProgressSink {
public:
    void processMessages() override;
    bool cancelled() const override;
    void setCancelled(bool flag) override;

    void addStep(const QString& text) override;
    int addStepReturnIndex(const QString& text) override;
    void addNote(const QString& text) override;
    void updateStep(const QString& text) override;
    bool updateDue() override;
    void updateSteps(const QString& text, int items) override;
    void appendToLastLine(const QString& text) override;
    void appendToLine(const QString& text, int index) override;
    void startStepProgress(int maximum) override;
    void showStepProgress(bool flag) override;

private:
    QElapsedTimer lastUpdate_;
};
