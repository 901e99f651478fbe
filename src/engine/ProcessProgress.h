#pragma once

#include "services/Progress.h"

#include <QElapsedTimer>

// The calculation stages' view of the progress window in use (none: nothing is shown and Cancel
// is never pressed): every call goes to the window of the moment, messages are pumped through the
// application's event loop, and a counted loop's line is rewritten at most once in the window's
// update interval, so that a loop of thousands of items does not repaint the window thousands of
// times; every step line is still shown as it comes.
class TovProcessProgress : public IProgress {
public:
    void Reset() override;
    void setCaption(const QString& caption) override;
    void setTotalSteps(int steps) override;
    int getTotalSteps() const override;
    int getStepCount() const override;
    void AddStep(const QString& text) override;
    int AddStepReturnIndex(const QString& text) override;
    void AddNote(const QString& text) override;
    void UpdateStep(const QString& text) override;
    int UpdateInterval() const override;
    bool UpdateDue() override;
    void UpdateSteps(const QString& text, int items) override;
    void AppendToLastLine(const QString& text) override;
    void AppendToLine(const QString& text, int index) override;
    void StartStepProgress(int steps) override;
    void ShowStepProgress(bool show) override;
    bool getCancelled() const override;
    void setCancelled(bool cancelled) override;
    void Show() override;
    void Hide() override;

private:
    QElapsedTimer lastUpdate_;
};
