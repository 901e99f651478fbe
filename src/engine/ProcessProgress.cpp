#include "ProcessProgress.h"

namespace {

// Runs an operation on the progress window in use, if there is one.
template <typename Operation> void OnWindow(Operation&& operation) {
    if (IProgress* window = Progress()) {
        operation(*window);
    }
}

} // namespace

void TovProcessProgress::Reset() {
    OnWindow([](IProgress& w) { w.Reset(); });
}

void TovProcessProgress::setCaption(const QString& caption) {
    OnWindow([&](IProgress& w) { w.setCaption(caption); });
}

void TovProcessProgress::setTotalSteps(int steps) {
    OnWindow([&](IProgress& w) { w.setTotalSteps(steps); });
}

int TovProcessProgress::getTotalSteps() const {
    return Progress() != nullptr ? Progress()->getTotalSteps() : 0;
}

int TovProcessProgress::getStepCount() const {
    return Progress() != nullptr ? Progress()->getStepCount() : 0;
}

void TovProcessProgress::AddStep(const QString& text) {
    OnWindow([&](IProgress& w) { w.AddStep(text); });
    lastUpdate_.start();
}

int TovProcessProgress::AddStepReturnIndex(const QString& text) {
    return Progress() != nullptr ? Progress()->AddStepReturnIndex(text) : 0;
}

void TovProcessProgress::AddNote(const QString& text) {
    OnWindow([&](IProgress& w) { w.AddNote(text); });
}

void TovProcessProgress::UpdateStep(const QString& text) {
    UpdateSteps(text, 1);
}

int TovProcessProgress::UpdateInterval() const {
    return Progress() != nullptr ? Progress()->UpdateInterval() : 0;
}

bool TovProcessProgress::UpdateDue() {
    const IProgress* window = Progress();
    if (window == nullptr) {
        return false;
    }
    const int interval = window->UpdateInterval();
    return interval <= 0 || !lastUpdate_.isValid() || lastUpdate_.hasExpired(interval);
}

void TovProcessProgress::UpdateSteps(const QString& text, int items) {
    OnWindow([&](IProgress& w) { w.UpdateSteps(text, items); });
    lastUpdate_.start();
}

void TovProcessProgress::AppendToLastLine(const QString& text) {
    OnWindow([&](IProgress& w) { w.AppendToLastLine(text); });
}

void TovProcessProgress::AppendToLine(const QString& text, int index) {
    OnWindow([&](IProgress& w) { w.AppendToLine(text, index); });
}

void TovProcessProgress::StartStepProgress(int steps) {
    OnWindow([&](IProgress& w) { w.StartStepProgress(steps); });
}

void TovProcessProgress::ShowStepProgress(bool show) {
    OnWindow([&](IProgress& w) { w.ShowStepProgress(show); });
}

bool TovProcessProgress::getCancelled() const {
    return Progress() != nullptr && Progress()->getCancelled();
}

void TovProcessProgress::setCancelled(bool cancelled) {
    OnWindow([&](IProgress& w) { w.setCancelled(cancelled); });
}

void TovProcessProgress::Show() {
    OnWindow([](IProgress& w) { w.Show(); });
}

void TovProcessProgress::Hide() {
    OnWindow([](IProgress& w) { w.Hide(); });
}
