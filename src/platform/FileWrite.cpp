#include "FileWrite.h"

#include "Exception.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cctype>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// As many links as the system itself follows in one path before it gives up with ELOOP.
constexpr int kMaxLinks = 40;

SaveTarget failure(const QString& path, int error) {
    return {path, error, qt_error_string(error)};
}

const QByteArray kTempMark = QByteArrayLiteral(".krvsave-");
constexpr int kRandomDigits = 8;

[[noreturn]] void raise(const QString& path, int error) {
    throw Exception(path + QStringLiteral(": ") + qt_error_string(error));
}

// ".NAME.krvsave-" for the target NAME: what every temporary file of its saves begins with.
QByteArray tempPrefix(const QString& target) {
    return '.' + QFile::encodeName(QFileInfo(target).fileName()) + kTempMark;
}

QByteArray nativeFolder(const QString& target) {
    return QFile::encodeName(QFileInfo(target).path());
}

// The length of the name of the locked file ("PREFIX" PID "-" RANDOM) that name belongs to, or 0
// when name is no temporary file of a save.
qsizetype claimLength(const QByteArray& name, const QByteArray& prefix) {
    if (!name.startsWith(prefix)) {
        return 0;
    }
    qsizetype at = prefix.size();
    const qsizetype digits = at;
    while (at < name.size() && name.at(at) >= '0' && name.at(at) <= '9') {
        ++at;
    }
    if (at == digits || at >= name.size() || name.at(at) != '-') {
        return 0;
    }
    ++at;
    for (int n = 0; n < kRandomDigits; ++n, ++at) {
        if (at >= name.size() || !isxdigit(static_cast<unsigned char>(name.at(at)))) {
            return 0;
        }
    }
    return at;
}

// Mode bits a file created now gets: 0666 less the process's umask. Read without changing it
// (umask() itself sets as it reads, which would race with other threads creating files).
mode_t newFileMode() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok) {
                    return 0666 & ~static_cast<mode_t>(mask);
                }
            }
        }
    }
    return 0644;
}

} // namespace

int removeStaleSaveTemps(const QString& target) {
    const QByteArray folder = nativeFolder(target);
    const QByteArray prefix = tempPrefix(target);
    DIR* dir = ::opendir(folder.constData());
    if (dir == nullptr) {
        return 0;
    }
    // Each locked file with the names that begin with its own.
    std::map<QByteArray, std::vector<QByteArray>> groups;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        const qsizetype length = claimLength(name, prefix);
        if (length > 0) {
            groups[name.left(length)].push_back(name);
        }
    }
    ::closedir(dir);
    int removed = 0;
    const auto unlinkAt = [&](const QByteArray& name) {
        if (::unlink((folder + '/' + name).constData()) == 0) {
            ++removed;
        }
    };
    for (const auto& [claim, names] : groups) {
        const QByteArray claimPath = folder + '/' + claim;
        const int fd =
            ::open(claimPath.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) {
            // The locked file is made first and removed last: companions without it are left over.
            if (errno == ENOENT) {
                for (const QByteArray& name : names) {
                    unlinkAt(name);
                }
            }
            continue;
        }
        struct stat info {};
        // Only a lock this process takes tells that no save holds the file; a file system that
        // cannot lock leaves it alone.
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            for (const QByteArray& name : names) {
                if (name != claim) {
                    unlinkAt(name);
                }
            }
            // Still locked while it goes, so that no other save takes it up meanwhile.
            unlinkAt(claim);
        }
        ::close(fd);
    }
    return removed;
}

SaveTemp::SaveTemp(const QString& target) : target_(target) {
    removeStaleSaveTemps(target);
    const QString folder = QFileInfo(target).path();
    const QString prefix = QFile::decodeName(tempPrefix(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = folder + QLatin1Char('/') + prefix + QString::number(::getpid()) +
                                  QLatin1Char('-') +
                                  QStringLiteral("%1").arg(QRandomGenerator::global()->generate(),
                                                           kRandomDigits, 16, QLatin1Char('0'));
        const QByteArray native = QFile::encodeName(candidate);
        const int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            raise(folder, errno);
        }
        // Another save's clean-up may take the new file's lock first and remove it: the lock is
        // then held on a file no longer there, and a new name is tried.
        if (::flock(fd, LOCK_EX) == 0) {
            struct stat held {};
            struct stat named {};
            if (::fstat(fd, &held) != 0 || ::stat(native.constData(), &named) != 0 ||
                held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
                ::close(fd);
                continue;
            }
        }
        fd_ = fd;
        path_ = candidate;
        return;
    }
    raise(folder, EEXIST);
}

SaveTemp::~SaveTemp() {
    // What was renamed over the target is no longer under its name; the rest goes, the locked
    // file last, so that no clean-up finds it unlocked while its companions are still there.
    for (const QString& companion : companions_) {
        if (companion != committed_) {
            ::unlink(QFile::encodeName(companion).constData());
        }
    }
    if (fd_ >= 0) {
        if (path_ != committed_) {
            ::unlink(QFile::encodeName(path_).constData());
        }
        ::close(fd_);
    }
}

QString SaveTemp::companion(const QString& suffix) {
    companions_ << path_ + suffix;
    return companions_.back();
}

void SaveTemp::commit(const QString& file, const QString& modeFrom) {
    const QByteArray native = QFile::encodeName(file);
    const QByteArray targetNative = QFile::encodeName(target_);
    struct stat like {};
    const bool fromSource = !modeFrom.isEmpty();
    const QByteArray likeNative = QFile::encodeName(fromSource ? modeFrom : target_);
    if (::stat(likeNative.constData(), &like) == 0) {
        // The owner first: a change of owner clears the set-id bits that the mode then restores.
        // Only root may give a file away, and a group only to one of its own: EPERM is no fault.
        const uid_t owner = ::geteuid() == 0 ? like.st_uid : static_cast<uid_t>(-1);
        if (::chown(native.constData(), owner, like.st_gid) != 0 && errno != EPERM) {
            raise(file, errno);
        }
        if (::chmod(native.constData(), like.st_mode & 07777) != 0) {
            raise(file, errno);
        }
    } else if (errno == ENOENT && !fromSource) {
        if (::chmod(native.constData(), newFileMode()) != 0) {
            raise(file, errno);
        }
    } else {
        raise(fromSource ? modeFrom : target_, errno);
    }
    if (::rename(native.constData(), targetNative.constData()) != 0) {
        raise(target_, errno);
    }
    committed_ = file;
}

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
