#include "SampleCopy.h"

#include "model/ovSCF.h"
#include "model/ovSD.h"
#include "services/INI_Utils.h"
#include "services/ShellUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QLatin1String kFilesSectionEnd("\\SCF");
const QLatin1String kDataSourceKey("DSF_DrivePathFilenameExtnXL");
const QLatin1String kOutputKey("OF_DrivePathFilenameExtnXL");

// Copies the sample's workbooks (everything beside the data file but data files) that the copy
// folder does not hold yet.
bool copyWorkbooks(const QDir& installed, const QDir& copy, const QString& dataFileName) {
    const QFileInfoList files = installed.entryInfoList(QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.fileName() == dataFileName ||
            file.suffix().startsWith(QLatin1String("krv"), Qt::CaseInsensitive)) {
            continue;
        }
        const QString target = copy.filePath(file.fileName());
        if (!QFileInfo::exists(target) && !QFile::copy(file.filePath(), target)) {
            return false;
        }
        // A copy of a read-only installed file is read-only too; the user's copy is theirs.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return true;
}

// The installed data file with its workbook paths moved into the copy folder.
QByteArray relocatedDataFile(const QString& installedDataFile, const QDir& copy) {
    TIniDocument ini(installedDataFile);
    const QString installedFolder = QFileInfo(installedDataFile).absolutePath();
    const QStringList sections = ini.SectionNames();
    for (const QString& section : sections) {
        if (!section.endsWith(kFilesSectionEnd, Qt::CaseInsensitive)) {
            continue;
        }
        const QString source = ini.ReadString(section, kDataSourceKey, QString());
        if (!source.isEmpty() && QFileInfo(source).absolutePath() == installedFolder) {
            ini.WriteString(section, kDataSourceKey, copy.filePath(QFileInfo(source).fileName()));
        }
        const QString output = ini.ReadString(section, kOutputKey, QString());
        if (!output.isEmpty()) {
            ini.WriteString(section, kOutputKey, copy.filePath(QFileInfo(output).fileName()));
        }
    }
    return ini.ToBytes();
}

} // namespace

QString UserSampleFolder() {
    return QDir(DocumentsFolder()).filePath(QStringLiteral("Ovik KRV Tessel Sample"));
}

QString PrepareUserSample(const QString& installedDataFile) {
    const QFileInfo installed(installedDataFile);
    const QDir copy(UserSampleFolder());
    const QString copyPath = copy.filePath(installed.fileName());
    if (QFileInfo::exists(copyPath)) {
        return copyPath;
    }
    if (installedDataFile.isEmpty() || !installed.isFile()) {
        return installedDataFile;
    }
    try {
        if (!QDir().mkpath(copy.path()) ||
            !copyWorkbooks(installed.absoluteDir(), copy, installed.fileName())) {
            return installedDataFile;
        }
        // The data file is written last: its presence means the copy is complete.
        const QByteArray text = relocatedDataFile(installed.absoluteFilePath(), copy);
        QSaveFile file(copyPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
            return installedDataFile;
        }
        return copyPath;
    } catch (const std::exception&) {
        return installedDataFile;
    }
}

void MoveSampleSourcesToCopy(TovSDs& list, const QString& copyFolder) {
    const QDir copy(copyFolder);
    for (int n = 1; n <= list.getCount(); ++n) {
        TovSCF& files = *list.getItems(n)->SCF;
        if (!files.getDSF_FilenameExtnXL().isEmpty()) {
            files.setDSF_DrivePathFilenameExtnXL(copy.filePath(files.getDSF_FilenameExtnXL()));
        }
    }
}

bool IsInstalledSample(const QString& path, const QString& installedDataFile) {
    if (path.trimmed().isEmpty() || installedDataFile.isEmpty()) {
        return false;
    }
    const QFileInfo given(path);
    const QFileInfo installed(installedDataFile);
    if (given.exists() && installed.exists()) {
        return given.canonicalFilePath() == installed.canonicalFilePath();
    }
    return given.absoluteFilePath() == installed.absoluteFilePath();
}
