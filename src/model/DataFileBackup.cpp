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
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
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

// A file that cannot be replaced: a folder in its place, or a file the user may not write. One
// whose state cannot be examined is reported (U004, U006) and stops the save.
void CheckReplaceable(const QString& path) {
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

struct PendingCopy {
    QString Target;
    QString Temp;
};

} // namespace

void CopyFileContents(const QString& src, const QString& dst) {
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) {
        throw platform::Exception(src + QStringLiteral(": ") + in.errorString());
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        throw platform::Exception(src + QStringLiteral(": ") + in.errorString());
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

QString CreateTempBeside(const QString& path) {
    const QFileInfo info(path);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(false);
    if (!temp.open()) {
        throw platform::Exception(info.absolutePath() + QStringLiteral(": ") + temp.errorString());
    }
    const QString name = temp.fileName();
    temp.close();
    return name;
}

void ReplaceFile(const QString& temp, const QString& path) {
    CheckReplaceable(path);
    const QFileInfo old(path);
    const QFileDevice::Permissions permissions =
        old.exists() ? old.permissions()
                     : (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    QFile::setPermissions(temp, permissions);
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) !=
        0) {
        const int error = errno;
        throw platform::Exception(path + QStringLiteral(": ") + qt_error_string(error));
    }
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

    std::vector<PendingCopy> pending;
    const auto discard = [&pending] {
        for (const PendingCopy& p : pending) {
            QFile::remove(p.Temp);
        }
    };
    try {
        for (const Copy& c : plan) {
            pending.push_back({c.Target, CreateTempBeside(c.Target)});
            try {
                (copier ? copier : CopyFileContents)(c.Source, pending.back().Temp);
            } catch (const platform::Exception& e) {
                throw platform::Exception(UIT(txt::UnableToCreateBackupData) + QLatin1Char(' ') +
                                          c.Target + QStringLiteral(" (") + e.message() +
                                          QLatin1Char(')'));
            }
        }
        for (size_t i = 0; i < pending.size(); ++i) {
            ReplaceFile(pending[i].Temp, pending[i].Target);
            pending[i].Temp.clear();
        }
    } catch (...) {
        discard();
        throw;
    }
}

} // namespace datafile
