#pragma once

#include "platform/Shell.h"

#include <QStringList>
#include <memory>

namespace testsupport {

// The desktop shell scripted: records every target it is asked to open and, when failure is
// set, refuses each with that reason (as the desktop's opener tells it).
class FakeShell : public platform::Shell {
public:
    explicit FakeShell(QStringList* opened, QString failure = QString())
        : Opened(opened), Failure(std::move(failure)) {}
    void open(const QString& target, const OpenFailed& failed) override {
        *Opened << target;
        if (!Failure.isEmpty() && failed) {
            failed(Failure);
        }
    }

private:
    QStringList* Opened;
    QString Failure;
};

// Installs a fake shell for its lifetime and puts the previous shell back.
class ScopedFakeShell {
public:
    explicit ScopedFakeShell(QString failure = QString())
        : Previous(platform::setShell(std::make_unique<FakeShell>(&Opened, std::move(failure)))) {}
    ~ScopedFakeShell() { platform::setShell(std::move(Previous)); }
    ScopedFakeShell(const ScopedFakeShell&) = delete;
    ScopedFakeShell& operator=(const ScopedFakeShell&) = delete;

    QStringList Opened;

private:
    std::unique_ptr<platform::Shell> Previous;
};

} // namespace testsupport
