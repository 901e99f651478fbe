#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace testsupport {

// Processes events until the condition holds or timeoutMs has passed; the condition's last
// answer. (QTRY_* of QtTest do not report to GoogleTest.)
template <typename Condition> bool Eventually(Condition condition, int timeoutMs = 5000) {
    const QDeadlineTimer limit(timeoutMs);
    while (!condition()) {
        if (limit.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace testsupport
