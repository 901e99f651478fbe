#pragma once

#include "engine/StageProgress.h"

// The progress window seen as the calculation stages' progress sink: messages are pumped through
// the application's event loop, and every other call goes to the progress window in use (none:
// nothing is shown and Cancel is never pressed).
class TovProcessProgress : public engine::IProgressSink {
public:
    void processMessages() override;
    bool cancelled() const override;
    void setCancelled(bool flag) override;

    void addStep(const QString& text) override;
    int addStepReturnIndex(const QString& text) override;
    void addNote(const QString& text) override;
    void updateStep(const QString& text) override;
    void appendToLastLine(const QString& text) override;
    void appendToLine(const QString& text, int index) override;
    void startStepProgress(int maximum) override;
    void showStepProgress(bool flag) override;
};
