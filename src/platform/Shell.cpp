#include "Shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

std::unique_ptr<Shell>& current() {
    static std::unique_ptr<Shell> instance;
    return instance;
}

bool isWebAddress(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp"));
}

} // namespace

bool Shell::open(const QString& target) {
    const QUrl url = isWebAddress(target) ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

QString Shell::pickFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                             QFileDialog::ShowDirsOnly);
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
