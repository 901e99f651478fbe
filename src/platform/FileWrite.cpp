#include "FileWrite.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// As many links as the system itself follows in one path before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

SaveTarget failure(const QString& path, int error) {
    return {path, error, qt_error_string(error)};
}

} // namespace

SaveTarget resolveSaveTarget(const QString& path) {
    QString current = path;
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        const QByteArray native = QFile::encodeName(current);
        struct stat info {};
        if (::lstat(native.constData(), &info) != 0) {
            const int error = errno;
            // A file that does not exist yet is created where the path (or the last link) names.
            if (error == ENOENT) {
                return {current, 0, {}};
            }
            return failure(current, error);
        }
        if (!S_ISLNK(info.st_mode)) {
            return {current, 0, {}};
        }
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(native.constData(), target.data(), target.size());
        if (length < 0) {
            return failure(current, errno);
        }
        if (length >= target.size()) {
            return failure(current, ENAMETOOLONG);
        }
        target.truncate(length);
        const QString next = QFile::decodeName(target);
        // A relative link is read from the folder that holds it.
        current = QFileInfo(next).isAbsolute()
                      ? next
                      : QFileInfo(current).path() + QLatin1Char('/') + next;
    }
    return failure(path, ELOOP);
}

bool writeAll(QIODevice& device, const QByteArray& data) {
    Q_ASSERT(device.openMode() & QIODevice::Unbuffered);
    const char* next = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const qint64 written = device.write(next, left);
        if (written <= 0) {
            return false;
        }
        next += written;
        left -= written;
    }
    auto* file = qobject_cast<QFileDevice*>(&device);
    return file == nullptr || file->flush();
}

} // namespace platform
