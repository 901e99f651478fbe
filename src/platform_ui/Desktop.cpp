#include "Desktop.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
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

// Why the opener failed, from xdg-open's documented exit codes.
QString openerFailure(QProcess::ExitStatus status, int code) {
    if (status != QProcess::NormalExit) {
        return QStringLiteral("The desktop's opener (xdg-open) ended abnormally.");
    }
    switch (code) {
    case 1:
        return QStringLiteral("The desktop's opener (xdg-open) refused the request (exit code 1).");
    case 2:
        return QStringLiteral("The desktop's opener (xdg-open) found no such file (exit code 2).");
    case 3:
        return QStringLiteral("The desktop has no program to open it (xdg-open exit code 3).");
    case 4:
        return QStringLiteral("The program the desktop has for it failed to open it (xdg-open "
                              "exit code 4).");
    default:
        return QStringLiteral("The desktop's opener (xdg-open) ended with exit code %1.").arg(code);
    }
}

void tell(const Shell::OpenFailed& failed, const QString& reason) {
    if (!failed) {
        return;
    }
    try {
        failed(reason);
    } catch (...) {
        // Told from the event loop: nothing may cross it.
    }
}

class DesktopShell : public Shell {
public:
    void open(const QString& target, const OpenFailed& failed) override {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty()) {
            tell(failed, QStringLiteral("The desktop has no opener for files: xdg-open was not "
                                        "found (it comes with xdg-utils)."));
            return;
        }
        const QString argument =
            isWebAddress(target) ? target : QFileInfo(target).absoluteFilePath();
        // Owned by the application, so that it outlives the command that asked for the open;
        // freed once the opener ends.
        auto* process = new QProcess(QCoreApplication::instance());
        process->setProgram(opener);
        process->setArguments({argument});
        // The program the opener starts inherits these: it must not write into pipes nobody
        // reads once the opener is gone.
        process->setStandardInputFile(QProcess::nullDevice());
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer started;
        started.start();
        QObject::connect(process, &QProcess::finished, process,
                         [process, failed, started](int code, QProcess::ExitStatus status) {
                             process->deleteLater();
                             const bool answered = started.elapsed() <= OpenerAnswerMs;
                             if (answered && (status != QProcess::NormalExit || code != 0)) {
                                 tell(failed, openerFailure(status, code));
                             }
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, failed](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 process->deleteLater();
                                 tell(failed,
                                      QStringLiteral("The desktop's opener (xdg-open) could not "
                                                     "be started: %1.")
                                          .arg(process->errorString()));
                             }
                         });
        process->start();
        // An opener still running by then runs the program itself: it is let go (no longer owned
        // by the application) so that ending this program does not end that one; it frees itself
        // when it ends.
        QTimer::singleShot(OpenerAnswerMs, process, [process] {
            if (process->state() != QProcess::NotRunning) {
                process->setParent(nullptr);
            }
        });
    }

    QString pickFolder(const QString& title, const QString& startFolder) override {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, startFolder,
                                                 QFileDialog::ShowDirsOnly);
    }
};

} // namespace

void InstallDesktopServices() {
    setMessageBox(std::make_unique<QtMessageBox>());
    setShell(MakeDesktopShell());
}

std::unique_ptr<Shell> MakeDesktopShell() {
    return std::make_unique<DesktopShell>();
}

} // namespace platform
