#include "workbook/XlsConvert.h"

#include "platform/FileAccess.h"
#include "platform/FileWrite.h"

#include "workbook/Error.h"
#include "workbook/detail/CompoundFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtEndian>
#include <optional>

#include <signal.h>
#include <unistd.h>

namespace workbook {

namespace {

[[noreturn]] void fail(const QString& description) {
    throw Error(kRejectedReference, description);
}

QString lastLines(const QByteArray& output) {
    const QString text = QString::fromLocal8Bit(output).trimmed();
    return text.size() > 400 ? text.right(400) : text;
}

XlsConverter::WaitHook& waitHook() {
    static XlsConverter::WaitHook hook;
    return hook;
}

// Ends LibreOffice with every process it started (its own session, see convert) and waits for it.
void endConversion(QProcess& process) {
    const qint64 pid = process.processId();
    if (pid > 0)
        ::kill(-pid_t(pid), SIGKILL);
    process.kill();
    process.waitForFinished(10000);
}

} // namespace

XlsConverter::WaitHook XlsConverter::setWaitHook(WaitHook hook) {
    WaitHook previous = std::move(waitHook());
    waitHook() = std::move(hook);
    return previous;
}

XlsConverter::XlsConverter(QString program, int timeoutMs)
    : program_(std::move(program)), timeoutMs_(timeoutMs) {}

QString XlsConverter::findLibreOffice() {
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

bool XlsConverter::holdsWorkbookStream(const QByteArray& bytes) {
    if (!detail::CompoundFile::isCompoundFile(bytes))
        return false;
    try {
        const detail::CompoundFile cf(bytes);
        for (const QString& path : cf.streamPaths()) {
            if (path.compare(QLatin1String("Workbook"), Qt::CaseInsensitive) == 0 ||
                path.compare(QLatin1String("Book"), Qt::CaseInsensitive) == 0)
                return true;
        }
    } catch (const Error&) {
    }
    return false;
}

bool XlsConverter::isPasswordProtectedXls(const QByteArray& bytes) {
    if (!detail::CompoundFile::isCompoundFile(bytes))
        return false;
    try {
        const detail::CompoundFile cf(bytes);
        QByteArray stream;
        if (cf.hasStream(QStringLiteral("Workbook")))
            stream = cf.stream(QStringLiteral("Workbook"));
        else if (cf.hasStream(QStringLiteral("Book")))
            stream = cf.stream(QStringLiteral("Book"));
        // Records of the workbook globals up to their end-of-file record; a FILEPASS record
        // there means the workbook is encrypted.
        qsizetype off = 0;
        while (off + 4 <= stream.size()) {
            const uint16_t type = qFromLittleEndian<uint16_t>(stream.constData() + off);
            const uint16_t length = qFromLittleEndian<uint16_t>(stream.constData() + off + 2);
            if (type == 0x002F)
                return true;
            if (type == 0x000A)
                return false;
            off += 4 + length;
        }
    } catch (const Error&) {
        // A damaged container is left to the conversion, which reports it.
    }
    return false;
}

QByteArray XlsConverter::toXlsx(const QString& xlsPath) const {
    QFile in(xlsPath);
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("The workbook %1 cannot be read: %2.").arg(xlsPath, in.errorString()));
    return toXlsx(in.readAll(), xlsPath);
}

QByteArray XlsConverter::toXlsx(const QByteArray& xlsBytes, const QString& xlsPath) const {
    if (isPasswordProtectedXls(xlsBytes))
        fail(QStringLiteral("The workbook %1 is an .xls workbook protected by a password. "
                            "Decrypting password-protected .xls workbooks is not supported; save "
                            "it as .xlsx with its password and open that file.")
                 .arg(xlsPath));
    if (!available())
        fail(QStringLiteral("The workbook %1 is in the .xls format, which needs LibreOffice to be "
                            "opened, and LibreOffice was not found (no soffice program on the "
                            "PATH). Install LibreOffice or save the workbook as .xlsx.")
                 .arg(xlsPath));
    return convert(xlsBytes, QStringLiteral("xls"), QStringLiteral("xlsx"), QStringLiteral("xlsx"),
                   QFileInfo(xlsPath).fileName());
}

void XlsConverter::toXls(const QByteArray& xlsxBytes, const QString& xlsPath) const {
    if (!available())
        fail(QStringLiteral("The workbook %1 cannot be saved in the .xls format: this needs "
                            "LibreOffice, and LibreOffice was not found (no soffice program on "
                            "the PATH). Install LibreOffice or save the workbook as .xlsx.")
                 .arg(xlsPath));
    // Saved as a workbook is: through a link the file it names is replaced, only a regular file
    // is replaced, and the bytes go to a locked temporary file beside it, which takes the
    // replaced file's mode and which the next save removes when this one is killed.
    const platform::SaveTarget target = platform::resolveSaveTarget(xlsPath);
    if (target.failed())
        fail(QStringLiteral("The workbook %1 cannot be written: %2.")
                 .arg(xlsPath, target.errorText));
    const QString notRegular = platform::notRegularFileReason(target.path);
    if (!notRegular.isEmpty())
        fail(QStringLiteral("The workbook %1 cannot be written: %2").arg(target.path, notRegular));
    const QByteArray xls =
        convert(xlsxBytes, QStringLiteral("xlsx"), QStringLiteral("xls:MS Excel 97"),
                QStringLiteral("xls"), QFileInfo(xlsPath).fileName());
    std::optional<platform::SaveTemp> temp;
    try {
        temp.emplace(target.path);
    } catch (const platform::Exception& e) {
        fail(QStringLiteral("The workbook %1 cannot be written: %2.").arg(xlsPath, e.message()));
    }
    QFile out(temp->path());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !platform::writeAll(out, xls))
        fail(QStringLiteral("The workbook %1 cannot be written: %2.")
                 .arg(xlsPath, out.errorString()));
    out.close();
    try {
        temp->commit(temp->path());
    } catch (const platform::Exception& e) {
        fail(QStringLiteral("The workbook %1 cannot be written: %2.").arg(xlsPath, e.message()));
    }
}

QByteArray XlsConverter::convert(const QByteArray& input, const QString& inputSuffix,
                                 const QString& filter, const QString& outputSuffix,
                                 const QString& fileName) const {
    const QString root = tempRoot_.isEmpty() ? QDir::tempPath() : tempRoot_;
    QTemporaryDir dir(root + QStringLiteral("/krv-convert-XXXXXX"));
    if (!dir.isValid())
        fail(QStringLiteral("The workbook %1 cannot be converted: no temporary folder could be "
                            "made in %2.")
                 .arg(fileName, root));
    const QString inPath = dir.filePath(QStringLiteral("book.") + inputSuffix);
    const QString outDir = dir.filePath(QStringLiteral("out"));
    {
        QFile f(inPath);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !platform::writeAll(f, input))
            fail(QStringLiteral("The workbook %1 cannot be converted: the temporary copy %2 could "
                                "not be written: %3.")
                     .arg(fileName, inPath, f.errorString()));
    }

    QProcess process;
    process.setProgram(program_);
    process.setArguments(
        {QStringLiteral("--headless"), QStringLiteral("--norestore"),
         QStringLiteral("--nolockcheck"), QStringLiteral("--nologo"), QStringLiteral("--nodefault"),
         QStringLiteral("-env:UserInstallation=") +
             QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile")))
                 .toString(QUrl::FullyEncoded),
         QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outDir, inPath});
    process.setWorkingDirectory(dir.path());
    // LibreOffice's own temporary files go into the private folder too, so that a conversion
    // ended early leaves none behind.
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    QDir().mkpath(tmp);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), tmp);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Its own process group, so that a run past the time limit is ended with every helper
    // process LibreOffice started.
    process.setChildProcessModifier([] { ::setsid(); });
    process.start();
    if (!process.waitForStarted(30000))
        fail(QStringLiteral("The workbook %1 cannot be converted: LibreOffice (%2) could not be "
                            "started: %3.")
                 .arg(fileName, program_, process.errorString()));
    const QDeadlineTimer limit(timeoutMs_);
    try {
        const WaitHook hook = waitHook();
        while (!process.waitForFinished(hook ? kWaitSliceMs : int(limit.remainingTime())) &&
               process.state() != QProcess::NotRunning) {
            if (limit.hasExpired()) {
                endConversion(process);
                fail(QStringLiteral("The workbook %1 cannot be converted: LibreOffice did not "
                                    "finish within %2 seconds.")
                         .arg(fileName)
                         .arg(timeoutMs_ / 1000));
            }
            if (hook)
                hook();
        }
    } catch (...) {
        if (process.state() != QProcess::NotRunning)
            endConversion(process);
        throw;
    }
    const QByteArray log = process.readAll();
    QFile out(outDir + QStringLiteral("/book.") + outputSuffix);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !out.open(QIODevice::ReadOnly))
        fail(QStringLiteral("The workbook %1 cannot be converted: LibreOffice made no %2 file "
                            "(exit code %3). %4")
                 .arg(fileName, outputSuffix)
                 .arg(process.exitCode())
                 .arg(lastLines(log))
                 .trimmed());
    const QByteArray result = out.readAll();
    if (result.isEmpty())
        fail(QStringLiteral("The workbook %1 cannot be converted: LibreOffice made an empty %2 "
                            "file.")
                 .arg(fileName, outputSuffix));
    return result;
}

} // namespace workbook
