#include "ShellUtils.h"

#include "FileChecks.h"
#include "platform/Shell.h"
#include "services/TextIds.h"

namespace {

const QString kX86Ending = QStringLiteral(" (x86)/");

QString withSlash(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

void RunDocument(const QString& file, const QString&, const QString&, int,
                 const QString& description) {
    platform::shell().open(file, [file, description](const QString& reason) {
        ReportFileFailure(QStringLiteral("U007"), txt::UnableToOpen, txt::CloseDialogue_1201,
                          description, file, reason);
    });
}

QString BrowseForFolder(const QString& title) {
    const QString desktop = platform::desktopLocation();
    if (desktop.isEmpty()) {
        return {};
    }
    return platform::shell().pickFolder(title, desktop).trimmed();
}

QString DesktopFolder() {
    return withSlash(platform::desktopLocation());
}

QString DocumentsFolder() {
    return withSlash(platform::documentsLocation());
}

QString ProgramFilesFolder() {
    return {};
}

QString NativeProgramFilesOf(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    if (folder.endsWith(kX86Ending, Qt::CaseInsensitive)) {
        return folder.left(folder.size() - kX86Ending.size()) + QLatin1Char('/');
    }
    return folder;
}

QString X86ProgramFilesOf(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    if (folder.endsWith(kX86Ending, Qt::CaseInsensitive)) {
        return folder;
    }
    QString base = folder;
    if (base.endsWith(QLatin1Char('/'))) {
        base.chop(1);
    }
    return base + kX86Ending;
}

QString ProgramFilesFolderNative() {
    return NativeProgramFilesOf(ProgramFilesFolder());
}

QString ProgramFilesFolderX86() {
    return X86ProgramFilesOf(ProgramFilesFolder());
}
