#include "XLEnvironment.h"

namespace {
std::unique_ptr<XLEnvironment>& current() {
    static std::unique_ptr<XLEnvironment> environment;
    return environment;
}
} // namespace

XLEnvironment& xlEnvironment() {
    auto& env = current();
    if (!env) {
        env = createProgramXLEnvironment();
    }
    return *env;
}

std::unique_ptr<XLEnvironment> setXLEnvironment(std::unique_ptr<XLEnvironment> environment) {
    auto previous = std::move(current());
    current() = std::move(environment);
    return previous;
}
