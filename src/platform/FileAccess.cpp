#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QByteArray nativePath(const QString& path) {
    return QFile::encodeName(path);
}

// A path with a NUL cannot name a file; the system call would read a shorter name.
bool unusable(const QString& path) {
    return path.isEmpty() || path.contains(QChar(0));
}

bool isAbsence(int error) {
    return error == ENOENT || error == ENOTDIR;
}

FileAnswer statPath(const QString& path, struct stat& info) {
    if (unusable(path)) {
        return FileAnswer::no();
    }
    if (::stat(nativePath(path).constData(), &info) != 0) {
        const int error = errno;
        return isAbsence(error) ? FileAnswer::no() : FileAnswer::failure(error);
    }
    return FileAnswer::yes();
}

QString besideWithPrefix(const QString& path, const QString& prefix, const QString& suffix) {
    const QFileInfo info(path);
    return info.path() + QLatin1Char('/') + prefix + info.fileName() + suffix;
}

std::unique_ptr<FileAccess>& current() {
    static std::unique_ptr<FileAccess> access;
    return access;
}

} // namespace

FileAnswer FileAnswer::failure(int error) {
    return {false, error, qt_error_string(error)};
}

QString officeLockFile(const QString& path) {
    return besideWithPrefix(path, QStringLiteral(".~lock."), QStringLiteral("#"));
}

QString excelOwnerFile(const QString& path) {
    return besideWithPrefix(path, QStringLiteral("~$"), QString());
}

FileAnswer FileAccess::folderExists(const QString& path) {
    struct stat info {};
    FileAnswer answer = statPath(path, info);
    if (answer.value) {
        answer.value = S_ISDIR(info.st_mode);
    }
    return answer;
}

FileAnswer FileAccess::fileExists(const QString& path) {
    struct stat info {};
    FileAnswer answer = statPath(path, info);
    if (answer.value) {
        answer.value = !S_ISDIR(info.st_mode);
    }
    return answer;
}

FileAnswer FileAccess::isReadOnly(const QString& path) {
    struct stat info {};
    const FileAnswer exists = statPath(path, info);
    if (!exists.value) {
        return exists;
    }
    // No write permission for anyone is the read-only mark, which holds even for root.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return FileAnswer::yes();
    }
    if (::access(nativePath(path).constData(), W_OK) != 0) {
        const int error = errno;
        if (error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY) {
            return FileAnswer::yes();
        }
        return isAbsence(error) ? FileAnswer::no() : FileAnswer::failure(error);
    }
    return FileAnswer::no();
}

FileAnswer FileAccess::isInUse(const QString& path) {
    struct stat info {};
    const FileAnswer exists = statPath(path, info);
    if (!exists.value || S_ISDIR(info.st_mode)) {
        return exists.failed() ? exists : FileAnswer::no();
    }
    const FileAnswer locked = isLocked(path);
    if (locked.failed() || locked.value) {
        return locked;
    }
    for (const QString& lock : {officeLockFile(path), excelOwnerFile(path)}) {
        struct stat lockInfo {};
        const FileAnswer present = statPath(lock, lockInfo);
        if (present.failed()) {
            return present;
        }
        if (present.value && !S_ISDIR(lockInfo.st_mode)) {
            return FileAnswer::yes();
        }
    }
    return FileAnswer::no();
}

FileAnswer FileAccess::isLocked(const QString& path) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        return isAbsence(error) ? FileAnswer::no() : FileAnswer::failure(error);
    }
    FileAnswer answer = FileAnswer::no();
    // A record lock of another process (fcntl) ...
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    if (::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK) {
        answer = FileAnswer::yes();
    }
    // ... or a whole-file lock held through any other open file; the probe lock is released at
    // once.
    if (!answer.value) {
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            answer = error == EWOULDBLOCK ? FileAnswer::yes() : FileAnswer::failure(error);
        } else {
            ::flock(fd, LOCK_UN);
        }
    }
    ::close(fd);
    return answer;
}

FileAnswer FileAccess::removeFile(const QString& path) {
    if (unusable(path)) {
        return FileAnswer::failure(ENOENT);
    }
    const FileAnswer readOnly = isReadOnly(path);
    if (readOnly.failed()) {
        return readOnly;
    }
    if (readOnly.value) {
        return FileAnswer::failure(EACCES);
    }
    if (::unlink(nativePath(path).constData()) != 0) {
        return FileAnswer::failure(errno);
    }
    return FileAnswer::yes();
}

FileAnswer FileAccess::makeFolder(const QString& path) {
    if (unusable(path)) {
        return FileAnswer::failure(ENOENT);
    }
    if (::mkdir(nativePath(path).constData(), 0777) != 0) {
        return FileAnswer::failure(errno);
    }
    return FileAnswer::yes();
}

FileAccess& fileAccess() {
    auto& access = current();
    if (!access) {
        access = std::make_unique<FileAccess>();
    }
    return *access;
}

std::unique_ptr<FileAccess> setFileAccess(std::unique_ptr<FileAccess> access) {
    auto previous = std::move(current());
    current() = std::move(access);
    return previous;
}

} // namespace platform
