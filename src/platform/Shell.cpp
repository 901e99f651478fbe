#include "Shell.h"

#include <QStandardPaths>

namespace platform {
namespace {

std::unique_ptr<Shell>& current() {
    static std::unique_ptr<Shell> instance;
    return instance;
}

} // namespace

void Shell::open(const QString&, const OpenFailed& failed) {
    if (failed) {
        failed(QStringLiteral("No desktop is available to open it."));
    }
}

QString Shell::pickFolder(const QString&, const QString&) {
    return QString();
}

Shell& shell() {
    auto& instance = current();
    if (!instance) {
        instance = std::make_unique<Shell>();
    }
    return *instance;
}

std::unique_ptr<Shell> setShell(std::unique_ptr<Shell> replacement) {
    auto previous = std::move(current());
    current() = std::move(replacement);
    return previous;
}

QString desktopLocation() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QString documentsLocation() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace platform
