#include "XLEnvironment.h"

#include "platform/Exception.h"

namespace {
std::unique_ptr<XLEnvironment>& current() {
    static std::unique_ptr<XLEnvironment> environment;
    return environment;
}
} // namespace

XLEnvironment& xlEnvironment() {
    auto& env = current();
    if (!env) {
        throw platform::Exception(QStringLiteral("The Excel layer has no environment."));
    }
    return *env;
}

bool hasXLEnvironment() {
    return current() != nullptr;
}

std::unique_ptr<XLEnvironment> setXLEnvironment(std::unique_ptr<XLEnvironment> environment) {
    auto previous = std::move(current());
    current() = std::move(environment);
    return previous;
}
