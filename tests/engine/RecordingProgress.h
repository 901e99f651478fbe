#pragma once

#include "services/Progress.h"

#include <QString>
#include <QStringList>

namespace enginetest {

// A progress window that keeps the lines as the window would show them (notes prefixed "-- ")
// and presses Cancel at a chosen message pump.
class RecordingProgress : public IProgress {
public:
    QStringList lines;
    int pumps = 0;
    int cancelAtPump = 0; // 0: never
    bool flag = false;
    int updates = 0;
    bool stepBarShown = false;

    void ProcessMessages() override {
        ++pumps;
        if (pumps == cancelAtPump) {
            flag = true;
        }
    }
    bool getCancelled() const override { return flag; }
    void setCancelled(bool f) override { flag = f; }
    void AddStep(const QString& text) override { lines << text; }
    int AddStepReturnIndex(const QString& text) override {
        lines << text;
        return static_cast<int>(lines.size()) - 1;
    }
    void AddNote(const QString& text) override { lines << QStringLiteral("-- ") + text; }
    void UpdateStep(const QString& text) override {
        ++updates;
        if (!lines.isEmpty()) {
            lines.last() = text;
        }
    }
    void UpdateSteps(const QString& text, int) override { UpdateStep(text); }
    void AppendToLastLine(const QString& text) override {
        if (!lines.isEmpty()) {
            lines.last() = lines.last().trimmed() + QLatin1Char(' ') + text;
        }
    }
    void AppendToLine(const QString& text, int index) override {
        if (index >= 0 && index < lines.size()) {
            lines[index] = lines[index].trimmed() + QLatin1Char(' ') + text;
        }
    }
    void StartStepProgress(int) override { stepBarShown = true; }
    void ShowStepProgress(bool f) override { stepBarShown = f; }

    // The window's frame is not part of the stages' protocol.
    void Reset() override {}
    void setCaption(const QString&) override {}
    void setTotalSteps(int) override {}
    int getTotalSteps() const override { return 0; }
    int getStepCount() const override { return static_cast<int>(lines.size()); }
    void Show() override {}
    void Hide() override {}
};

} // namespace enginetest
