#include "model/DataFileBackup.h"

#include "model/ModelUtils.h"
#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "platform/FileWrite.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QFile>
#include <QFileInfo>
#include <memory>
#include <vector>

namespace datafile {

namespace {

[[noreturn]] void Fail(int textId, const QString& path, const QString& reason) {
    QString message =
        platform::Format(UIT(textId), {UIT(txt::DataFile_722)}) + QLatin1Char(' ') + path;
    if (!reason.isEmpty()) {
        message += QStringLiteral(" (") + reason + QLatin1Char(')');
    }
    throw platform::Exception(message);
}

// Whether a file (not a folder) stands at path. One that cannot be examined is reported (U004)
// and stops the save: going on would skip or overwrite a copy nobody could look at.
bool FileThere(const QString& path) {
    const platform::FileAnswer answer = platform::fileAccess().fileExists(path);
    if (answer.failed()) {
        FileExistsChecked(UIT(txt::DataFile_722), path);
        Fail(1470, path, answer.errorText);
    }
    return answer.value;
}

struct PendingCopy {
    QString Source;
    QString Target;
    std::unique_ptr<platform::SaveTemp> Temp;
};

} // namespace

// A file that cannot be replaced: anything but a regular file in its place, or a file the user
// may not write. One whose state cannot be examined is reported (U004, U006) and stops the save.
void CheckReplaceable(const QString& path) {
    const QString notRegular = platform::notRegularFileReason(path);
    if (!notRegular.isEmpty()) {
        throw platform::Exception(path + QStringLiteral(": ") + notRegular);
    }
    if (!FileThere(path)) {
        if (platform::fileAccess().folderExists(path).value) {
            Fail(1473, path, QString());
        }
        return;
    }
    const platform::FileAnswer readOnly = platform::fileAccess().isReadOnly(path);
    if (readOnly.failed()) {
        FileIsReadOnly(UIT(txt::DataFile_722), path);
        Fail(1472, path, readOnly.errorText);
    }
    if (readOnly.value) {
        Fail(1473, path, QString());
    }
}

void CopyFileContents(const QString& src, const QString& dst) {
    QByteArray bytes;
    try {
        bytes = platform::readRegularFile(src, MaxDataFileBytes);
    } catch (const platform::Exception& e) {
        throw platform::Exception(src + QStringLiteral(": ") + e.message());
    }
    QFile out(dst);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        !platform::writeAll(out, bytes)) {
        throw platform::Exception(dst + QStringLiteral(": ") + out.errorString());
    }
}

bool IsBackupExtension(const QString& path) {
    const QString ext = ExtractFileExtension(path, false);
    return modelutil::SameTextAZ(ext.left(5), QStringLiteral("~krvc"));
}

QString BackupPath(const QString& path, int k) {
    QString ext = QStringLiteral(".~krvc");
    if (k > 0) {
        ext += QString::number(k);
    }
    return modelutil::ChangeFileExt(path, ext);
}

void ReplaceFile(platform::SaveTemp& temp, const QString& path, const QString& modeFrom) {
    CheckReplaceable(path);
    temp.commit(temp.path(), modeFrom);
}

void BackupDataFile(const QString& path, bool incremental, const TCopier& copier) {
    struct Copy {
        QString Source;
        QString Target;
    };
    std::vector<Copy> plan;
    if (incremental) {
        for (int k = 8; k >= 0; --k) {
            const QString source = BackupPath(path, k);
            if (FileThere(source)) {
                plan.push_back({source, BackupPath(path, k + 1)});
            }
        }
    }
    const QString b0 = BackupPath(path, 0);
    if (FileThere(path) && path != b0) {
        plan.push_back({path, b0});
    }
    for (const Copy& c : plan) {
        CheckReplaceable(c.Target);
    }

    // Every copy is made before any is renamed into place; the temporary files of an unfinished
    // backup go when pending does.
    std::vector<PendingCopy> pending;
    for (const Copy& c : plan) {
        pending.push_back({c.Source, c.Target, std::make_unique<platform::SaveTemp>(c.Target)});
        try {
            (copier ? copier : CopyFileContents)(c.Source, pending.back().Temp->path());
        } catch (const platform::Exception& e) {
            throw platform::Exception(UIT(txt::UnableToCreateBackupData) + QLatin1Char(' ') +
                                      c.Target + QStringLiteral(" (") + e.message() +
                                      QLatin1Char(')'));
        }
    }
    for (PendingCopy& p : pending) {
        ReplaceFile(*p.Temp, p.Target, p.Source);
    }
}

} // namespace datafile
