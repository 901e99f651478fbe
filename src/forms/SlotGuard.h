#pragma once

#include <QString>

#include <exception>
#include <utility>

// Every slot and event handler of a window runs its body through GuardSlot, so that no exception
// crosses the Qt event loop: a user's Cancel (the silent abort) ends the handler quietly, any other
// failure is shown to the user through the standard dialogue and the window stays usable.
void ReportSlotFailure(const QString& message);
bool IsSilentAbort(const std::exception& error);
QString FailureMessage(const std::exception& error);

template <typename Body> void GuardSlot(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& error) {
        if (!IsSilentAbort(error)) {
            ReportSlotFailure(FailureMessage(error));
        }
    } catch (...) {
        ReportSlotFailure(QString());
    }
}
