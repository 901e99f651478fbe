#include "ProcessProgress.h"

#include "services/Progress.h"

#include <QCoreApplication>

void TovProcessProgress::processMessages() {
    QCoreApplication::processEvents();
}

bool TovProcessProgress::cancelled() const {
    return Progress() != nullptr && Progress()->getCancelled();
}

void TovProcessProgress::setCancelled(bool flag) {
    if (Progress() != nullptr) {
        Progress()->setCancelled(flag);
    }
}

void TovProcessProgress::addStep(const QString& text) {
    if (Progress() != nullptr) {
        Progress()->AddStep(text);
    }
    lastUpdate_.start();
}

int TovProcessProgress::addStepReturnIndex(const QString& text) {
    return Progress() != nullptr ? Progress()->AddStepReturnIndex(text) : 0;
}

void TovProcessProgress::addNote(const QString& text) {
    if (Progress() != nullptr) {
        Progress()->AddNote(text);
    }
}

void TovProcessProgress::updateStep(const QString& text) {
    updateSteps(text, 1);
}

bool TovProcessProgress::updateDue() {
    const IProgress* window = Progress();
    if (window == nullptr) {
        return false;
    }
    const int interval = window->UpdateInterval();
    return interval <= 0 || !lastUpdate_.isValid() || lastUpdate_.hasExpired(interval);
}

void TovProcessProgress::updateSteps(const QString& text, int items) {
    if (Progress() != nullptr) {
        Progress()->UpdateSteps(text, items);
    }
    lastUpdate_.start();
}

void TovProcessProgress::appendToLastLine(const QString& text) {
    if (Progress() != nullptr) {
        Progress()->AppendToLastLine(text);
    }
}

void TovProcessProgress::appendToLine(const QString& text, int index) {
    if (Progress() != nullptr) {
        Progress()->AppendToLine(text, index);
    }
}

void TovProcessProgress::startStepProgress(int maximum) {
    if (Progress() != nullptr) {
        Progress()->StartStepProgress(maximum);
    }
}

void TovProcessProgress::showStepProgress(bool flag) {
    if (Progress() != nullptr) {
        Progress()->ShowStepProgress(flag);
    }
}
