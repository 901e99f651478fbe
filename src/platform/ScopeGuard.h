#pragma once

#include <exception>
#include <utility>

namespace platform {

// Runs an action when the scope is left, however it is left: a reset that must also happen on
// the way out of an exception.
template <typename Action> class ScopeExit {
public:
    explicit ScopeExit(Action action) : Run(std::move(action)) {}
    ~ScopeExit() { Run(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

private:
    Action Run;
};

// Runs an action only when the scope is left by an exception (which then goes on).
template <typename Action> class ScopeFailure {
public:
    explicit ScopeFailure(Action action)
        : Run(std::move(action)), Uncaught(std::uncaught_exceptions()) {}
    ~ScopeFailure() {
        if (std::uncaught_exceptions() > Uncaught) {
            Run();
        }
    }
    ScopeFailure(const ScopeFailure&) = delete;
    ScopeFailure& operator=(const ScopeFailure&) = delete;

private:
    Action Run;
    int Uncaught;
};

} // namespace platform
