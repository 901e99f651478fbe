#include "Desktop.h"

#include "MessageBox.h"
#include "Shell.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace platform {
namespace {

class QtMessageBox : public MessageBox {
public:
    void show(MessageBoxKind kind, const QString& title, const QString& text) override {
        QMessageBox::Icon icon = QMessageBox::Critical;
        if (kind == MessageBoxKind::Warning) {
            icon = QMessageBox::Warning;
        } else if (kind == MessageBoxKind::Information) {
            icon = QMessageBox::Information;
        }
        QString caption = title.isEmpty() ? QApplication::applicationName() : title;
        QMessageBox box(icon, caption, text, QMessageBox::Ok);
        box.exec();
    }
};

bool isWebAddress(const QString& target) {
    const QUrl url(target, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto") || scheme == QLatin1String("ftp"));
}

class DesktopShell : public Shell {
public:
    bool open(const QString& target) override {
        const QUrl url = isWebAddress(target) ? QUrl(target) : QUrl::fromLocalFile(target);
        return QDesktopServices::openUrl(url);
    }

    QString pickFolder(const QString& title, const QString& startFolder) override {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                                 QFileDialog::ShowDirsOnly);
    }
};

} // namespace

void InstallDesktopServices() {
    setMessageBox(std::make_unique<QtMessageBox>());
    setShell(std::make_unique<DesktopShell>());
}

} // namespace platform
