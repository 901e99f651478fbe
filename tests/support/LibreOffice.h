#pragma once

// Converting a file with LibreOffice headless in the tests: a private profile per call (parallel
// tests do not share one), a timeout, and the profile removed afterwards.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

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

// Converts a workbook to PDF in a temporary folder and checks that a PDF of some substance came
// out.
inline testing::AssertionResult ConvertsToPdf(const QString& workbook) {
    QTemporaryDir work;
    if (!work.isValid()) {
        return testing::AssertionFailure() << "no temporary folder";
    }
    const OfficeConversion run =
        ConvertWithLibreOffice(workbook, QStringLiteral("pdf"), work.path());
    if (!run.finished) {
        return testing::AssertionFailure() << "LibreOffice did not finish in time";
    }
    QFile pdf(run.converted);
    if (run.exitCode != 0 || !pdf.open(QIODevice::ReadOnly)) {
        return testing::AssertionFailure()
               << "exit code " << run.exitCode << ": " << run.output.toStdString();
    }
    if (pdf.read(5) != "%PDF-" || pdf.size() <= 2000) {
        return testing::AssertionFailure() << "not a PDF of some substance: " << pdf.size();
    }
    return testing::AssertionSuccess();
}

} // namespace testsupport
