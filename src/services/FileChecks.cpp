#include "FileChecks.h"

#include "StdDlg.h"
#include "ovAD.h"
#include "ovUIL.h"
#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "platform/Format.h"
#include "services/TextIds.h"

#include <QFileInfo>

#include <cerrno>

namespace {

using platform::FileAnswer;
using platform::Format;

// The message log lines of the passing-on family, then the error goes on.
[[noreturn]] void LogAndRaise(int line, const QString& description, const QString& path,
                              const QString& details) {
    if (AD != nullptr) {
        AD->MessageLog << Format(UIT(line), {description}) << QString() << path << QString();
    }
    throw platform::Exception(details);
}

} // namespace

void ReportFileFailure(const QString& key, int firstLine, int hint, const QString& description,
                       const QString& path, const QString& details) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines.clear();
    dlg->MsgLines << Format(UIT(firstLine), {description}) << QString() << path << QString();
    if (!details.isEmpty()) {
        dlg->MsgLines << Format(UIT(txt::Details_1423), {details}) << QString();
    }
    TStdDlgButton close;
    close.ImageIndex = glyphClose;
    close.ModalResult = mrClose;
    close.Caption = UIT(txt::Close_357);
    close.Hint = UIT(hint);
    dlg->SetupStdDlgButtons1(sdkWarning, key, close);
    dlg->ShowModal();
}

bool FolderExists(const QString& description, const QString& path) {
    if (path.trimmed().isEmpty()) {
        return false;
    }
    const FileAnswer answer = platform::fileAccess().folderExists(path);
    if (answer.failed()) {
        ReportFileFailure(QStringLiteral("U001"), 1468, 1200, description, path, answer.errorText);
        return false;
    }
    return answer.value;
}

bool CreateFolder(const QString& description, const QString& path) {
    // A folder part is what refuses a bare name; an existing path, the root among them, is not
    // created again.
    if (path.isEmpty() || !path.contains(QLatin1Char('/'))) {
        return false;
    }
    platform::FileAccess& access = platform::fileAccess();
    const FileAnswer exists = access.folderExists(path);
    if (exists.failed()) {
        LogAndRaise(1467, description, path, exists.errorText);
    }
    if (exists.value) {
        return false;
    }
    // Create the chain from the first missing folder on.
    QStringList missing;
    QString folder = path;
    while (folder.endsWith(QLatin1Char('/')) && folder.size() > 1) {
        folder.chop(1);
    }
    while (!folder.isEmpty()) {
        const FileAnswer there = access.folderExists(folder);
        if (there.failed()) {
            LogAndRaise(1467, description, path, there.errorText);
        }
        if (there.value) {
            break;
        }
        missing.prepend(folder);
        const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
        folder = slash <= 0 ? QString() : folder.left(slash);
    }
    for (const QString& level : missing) {
        const FileAnswer made = access.makeFolder(level);
        if (made.failed() && made.error != EEXIST) {
            LogAndRaise(1467, description, path, made.errorText);
        }
    }
    return !missing.isEmpty();
}

bool FileExistsChecked(const QString& description, const QString& path, bool) {
    const FileAnswer answer = platform::fileAccess().fileExists(path);
    if (answer.failed()) {
        ReportFileFailure(QStringLiteral("U004"), 1470, 1202, description, path, answer.errorText);
        return false;
    }
    return answer.value;
}

bool FileExistsOrRaise(const QString& description, const QString& path, bool) {
    const FileAnswer answer = platform::fileAccess().fileExists(path);
    if (answer.failed()) {
        LogAndRaise(1470, description, path, answer.errorText);
    }
    return answer.value;
}

bool DeleteFileChecked(const QString& description, const QString& path) {
    const FileAnswer answer = platform::fileAccess().removeFile(path);
    if (answer.failed()) {
        ReportFileFailure(QStringLiteral("U005"), 1473, 1203, description, path, answer.errorText);
        return false;
    }
    return answer.value;
}

bool FileInUse(const QString& description, const QString& path) {
    const FileAnswer answer = platform::fileAccess().isInUse(path);
    if (answer.failed()) {
        LogAndRaise(1471, description, path, answer.errorText);
    }
    return answer.value;
}

bool FileIsReadOnly(const QString& description, const QString& path) {
    const FileAnswer answer = platform::fileAccess().isReadOnly(path);
    if (answer.failed()) {
        ReportFileFailure(QStringLiteral("U006"), 1472, 1204, description, path, answer.errorText);
        return false;
    }
    return answer.value;
}
