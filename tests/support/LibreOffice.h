#pragma once

// Converting a file with LibreOffice headless in the tests: a private profile per call (parallel
// tests do not share one), a timeout, and the profile removed afterwards.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace testsupport {

struct OfficeConversion {
    bool finished = false;
    int exitCode = -1;
    QString output;    // what LibreOffice printed
    QString converted; // the converted file's path
};

inline bool LibreOfficeInstalled() {
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
}

// Converts `input` to `format` ("pdf", "csv", ...) into `outDir`.
inline OfficeConversion ConvertWithLibreOffice(const QString& input, const QString& format,
                                               const QString& outDir, int timeoutMs = 240000) {
    OfficeConversion result;
    QTemporaryDir profile;
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(
        QStandardPaths::findExecutable(QStringLiteral("soffice")),
        {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile.path()).toString(),
         QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), outDir, input});
    result.finished = office.waitForFinished(timeoutMs);
    if (!result.finished) {
        office.kill();
        office.waitForFinished(5000);
    }
    result.exitCode = office.exitCode();
    result.output = QString::fromLocal8Bit(office.readAll());
    const QString extension = format.section(QLatin1Char(':'), 0, 0);
    result.converted =
        QDir(outDir).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') + extension);
    return result;
}

} // namespace testsupport
