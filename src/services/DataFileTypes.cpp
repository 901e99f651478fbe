#include "DataFileTypes.h"

#include "platform/Exception.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

void writeFile(const QString& path, const QString& text) {
    const QString folder = QFileInfo(path).absolutePath();
    QSaveFile file(path);
    const QByteArray data = text.toUtf8();
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
        file.write(data) != data.size() || !file.commit()) {
        throw platform::Exception(QStringLiteral("Unable to write %1: %2")
                                      .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

QString xmlEscape(const QString& text) {
    return text.toHtmlEscaped();
}

// Runs a desktop database tool when it is installed; its failure leaves the files in place for
// the next refresh, so it is not an error of the registration.
void refresh(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {folder});
    if (!process.waitForStarted(5000)) {
        return;
    }
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

} // namespace

QString DataHomeFolder() {
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home)) {
        home = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return home;
}

QString MimePackageFile() {
    return DataHomeFolder() + QStringLiteral("/mime/packages/ovik-krv-tessel.xml");
}

QString DesktopEntryFile() {
    return DataHomeFolder() + QStringLiteral("/applications/ovik-krv-tessel.desktop");
}

QString DesktopExecArgument(const QString& programPath) {
    // Inside the quotes ", `, $ and \ are escaped with a backslash; the value itself then
    // escapes every backslash once more; a % is written twice.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        }
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString DataFileMimePackage() {
    QString mime = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n");
    mime += QStringLiteral("  <mime-type type=\"%1\">\n    <comment>%2</comment>\n")
                .arg(QLatin1String(kDataFileMimeType),
                     xmlEscape(QStringLiteral("Ovik KRV Tessel Data File")));
    mime += QStringLiteral("    <glob pattern=\"*.krvc\"/>\n  </mime-type>\n");
    mime += QStringLiteral("  <mime-type type=\"%1\">\n    <comment>%2</comment>\n")
                .arg(QLatin1String(kBackupFileMimeType),
                     xmlEscape(QStringLiteral("Ovik KRV Tessel Backup Data File")));
    mime += QStringLiteral("    <glob pattern=\"*.~krvc\"/>\n");
    for (int n = 1; n <= 9; ++n) {
        mime += QStringLiteral("    <glob pattern=\"*.~krvc%1\"/>\n").arg(n);
    }
    mime += QStringLiteral("  </mime-type>\n</mime-info>\n");
    return mime;
}

QString DesktopEntry(const QString& programPath) {
    // The user's registration and the installed entry share one file name, so the user's copy
    // takes the installed one's place in the menus: it must be as complete (shown, with the icon).
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=Ovik KRV Tessel\n"
                          "Comment=Project S curves, histograms and summaries from task lists\n"
                          "Exec=%1 %f\nIcon=%2\nMimeType=%3;%4;\nTerminal=false\n"
                          "Categories=Office;ProjectManagement;\n")
        .arg(DesktopExecArgument(programPath), QLatin1String(kIconName),
             QLatin1String(kDataFileMimeType), QLatin1String(kBackupFileMimeType));
}

void RegisterDataFileTypes(const QString& programPath) {
    writeFile(MimePackageFile(), DataFileMimePackage());
    writeFile(DesktopEntryFile(), DesktopEntry(programPath));
    refresh(QStringLiteral("update-mime-database"), DataHomeFolder() + QStringLiteral("/mime"));
    refresh(QStringLiteral("update-desktop-database"),
            DataHomeFolder() + QStringLiteral("/applications"));
}
