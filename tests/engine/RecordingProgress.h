#pragma once

#include "engine/StageProgress.h"

#include <QString>
#include <QStringList>

namespace enginetest {

// A progress sink that keeps the lines as the progress window would show them (notes prefixed
// "-- ") and presses Cancel at a chosen message pump.
class RecordingProgress : public engine::IProgressSink {
public:
    QStringList lines;
    int pumps = 0;
    int cancelAtPump = 0; // 0: never
    bool flag = false;
    int updates = 0;
    bool stepBarShown = false;

    void processMessages() override {
        ++pumps;
        if (pumps == cancelAtPump) {
            flag = true;
        }
    }
    bool cancelled() const override { return flag; }
    void setCancelled(bool f) override { flag = f; }
    void addStep(const QString& text) override { lines << text; }
    int addStepReturnIndex(const QString& text) override {
        lines << text;
        return static_cast<int>(lines.size()) - 1;
    }
    void addNote(const QString& text) override { lines << QStringLiteral("-- ") + text; }
    void updateStep(const QString& text) override {
        ++updates;
        if (!lines.isEmpty()) {
            lines.last() = text;
        }
    }
    void appendToLastLine(const QString& text) override {
        if (!lines.isEmpty()) {
            lines.last() = lines.last().trimmed() + QLatin1Char(' ') + text;
        }
    }
    void appendToLine(const QString& text, int index) override {
        if (index >= 0 && index < lines.size()) {
            lines[index] = lines[index].trimmed() + QLatin1Char(' ') + text;
        }
    }
    void startStepProgress(int) override { stepBarShown = true; }
    void showStepProgress(bool f) override { stepBarShown = f; }
};

} // namespace enginetest
