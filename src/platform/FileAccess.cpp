#include "FileAccess.h"

#include "Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
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

// The names under which LibreOffice runs: its launcher scripts, its splash launcher and its
// program.
bool isOfficeProgramName(const QByteArray& name) {
    return name == "soffice" || name == "soffice.bin" || name == "oosplash" ||
           name.startsWith("libreoffice");
}

// The real user id of a process, from the "Uid:" line of its status file.
std::optional<unsigned> processUser(const QString& processFolder) {
    QFile status(processFolder + QStringLiteral("/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("Uid:")) {
            bool ok = false;
            const unsigned id = line.mid(4).simplified().split(' ').value(0).toUInt(&ok);
            return ok ? std::optional<unsigned>(id) : std::nullopt;
        }
    }
    return std::nullopt;
}

// The names a process runs under: its command name and the file name of its first argument.
bool runsOfficeProgram(const QString& processFolder) {
    QFile comm(processFolder + QStringLiteral("/comm"));
    if (comm.open(QIODevice::ReadOnly) && isOfficeProgramName(comm.readAll().trimmed())) {
        return true;
    }
    QFile cmdline(processFolder + QStringLiteral("/cmdline"));
    if (!cmdline.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray first = cmdline.readAll().split('\0').value(0);
    return isOfficeProgramName(first.mid(first.lastIndexOf('/') + 1));
}

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    if (S_ISCHR(mode)) {
        return FileKind::CharacterDevice;
    }
    if (S_ISBLK(mode)) {
        return FileKind::BlockDevice;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::Fifo;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::Socket;
    }
    return FileKind::Other;
}

QString notRegularSentence(FileKind kind) {
    return QStringLiteral("It is %1, not a regular file.").arg(kindName(kind));
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

std::optional<OfficeLockOwner> parseOfficeLock(const QByteArray& content) {
    const QString text = QString::fromUtf8(content);
    QStringList fields{QString()};
    bool ended = false;
    for (qsizetype i = 0; i < text.size() && !ended; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            fields.last() += text.at(++i);
        } else if (c == QLatin1Char(',')) {
            fields << QString();
        } else if (c == QLatin1Char(';')) {
            ended = true;
        } else {
            fields.last() += c;
        }
    }
    if (!ended || fields.size() < 5) {
        return std::nullopt;
    }
    return OfficeLockOwner{fields.at(1), fields.at(2)};
}

FileAnswer officeProgramRunsIn(const QString& processTable, unsigned userId) {
    const QDir table(processTable);
    if (!table.exists()) {
        return FileAnswer::failure(ENOENT);
    }
    const QStringList entries = table.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        entry.toUInt(&numeric);
        if (!numeric) {
            continue;
        }
        const QString folder = table.filePath(entry);
        // A process that ended while the table was read is gone: it runs nothing.
        if (processUser(folder) == userId && runsOfficeProgram(folder)) {
            return FileAnswer::yes();
        }
    }
    return FileAnswer::no();
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

KindAnswer FileAccess::fileKind(const QString& path) {
    struct stat info {};
    const FileAnswer exists = statPath(path, info);
    if (exists.failed()) {
        return {FileKind::Missing, exists.error, exists.errorText};
    }
    if (!exists.value) {
        return {};
    }
    return {kindOfMode(info.st_mode), 0, {}};
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
    return markingLockFile(path).answer;
}

LockFileAnswer FileAccess::markingLockFile(const QString& path) {
    for (const QString& lock : {officeLockFile(path), excelOwnerFile(path)}) {
        struct stat lockInfo {};
        const FileAnswer present = statPath(lock, lockInfo);
        if (present.failed()) {
            return {present, lock};
        }
        if (!present.value || S_ISDIR(lockInfo.st_mode)) {
            continue;
        }
        // Only a plain file is read: opening a pipe of that name would wait for a writer.
        if (lock == officeLockFile(path) && S_ISREG(lockInfo.st_mode) &&
            officeLockLeftBehind(lock)) {
            continue;
        }
        return {FileAnswer::yes(), lock};
    }
    return {FileAnswer::no(), QString()};
}

bool FileAccess::officeLockLeftBehind(const QString& lock) {
    QFile file(lock);
    // A lock file holds one short line; its start is all that is read.
    constexpr qint64 kLongestLock = 4096;
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const std::optional<OfficeLockOwner> owner = parseOfficeLock(file.read(kLongestLock));
    if (!owner || owner->host.isEmpty() || owner->userName.isEmpty() ||
        owner->host.compare(hostName(), Qt::CaseInsensitive) != 0 ||
        owner->userName != userName()) {
        return false;
    }
    const FileAnswer running = officeProgramRunning();
    return !running.failed() && !running.value;
}

QString FileAccess::hostName() {
    return QSysInfo::machineHostName();
}

QString FileAccess::userName() {
    const struct passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

FileAnswer FileAccess::officeProgramRunning() {
    return officeProgramRunsIn(QStringLiteral("/proc"), ::getuid());
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

QString kindName(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
        return QStringLiteral("missing");
    case FileKind::Regular:
        return QStringLiteral("a regular file");
    case FileKind::Folder:
        return QStringLiteral("a folder");
    case FileKind::CharacterDevice:
        return QStringLiteral("a character device");
    case FileKind::BlockDevice:
        return QStringLiteral("a block device");
    case FileKind::Fifo:
        return QStringLiteral("a FIFO (named pipe)");
    case FileKind::Socket:
        return QStringLiteral("a socket");
    case FileKind::Other:
        break;
    }
    return QStringLiteral("a special file");
}

QString notRegularFileReason(const QString& path) {
    const KindAnswer answer = fileAccess().fileKind(path);
    if (answer.failed() || answer.kind == FileKind::Missing || answer.kind == FileKind::Regular) {
        return QString();
    }
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString end = info.canonicalFilePath();
        return QStringLiteral("It leads to %1, which is %2, not a regular file.")
            .arg(end.isEmpty() ? info.symLinkTarget() : end, kindName(answer.kind));
    }
    return notRegularSentence(answer.kind);
}

QByteArray readRegularFile(const QString& path, qint64 limit) {
    if (unusable(path)) {
        throw Exception(qt_error_string(ENOENT));
    }
    // Non-blocking, so that a FIFO without a writer is refused rather than waited on; the kind is
    // taken from the open file itself, which cannot change under it.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        throw Exception(qt_error_string(errno));
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throw Exception(qt_error_string(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throw Exception(notRegularSentence(kindOfMode(info.st_mode)));
    }
    const auto tooLong = [limit](qint64 size) {
        const QLocale c(QLocale::English, QLocale::UnitedStates);
        return Exception(QStringLiteral("The file is %1 bytes long; at most %2 bytes are read.")
                             .arg(c.toString(size), c.toString(limit)));
    };
    if (info.st_size > limit) {
        throw tooLong(info.st_size);
    }
    QByteArray data;
    data.resize(static_cast<qsizetype>(info.st_size));
    qint64 used = 0;
    for (;;) {
        // One byte beyond the limit tells a file that grew past it.
        if (used == data.size()) {
            if (used > limit) {
                throw tooLong(used);
            }
            data.resize(
                static_cast<qsizetype>(std::min(limit + 1, std::max<qint64>(used * 2, 4096))));
        }
        const ssize_t got = ::read(fd, data.data() + used, static_cast<size_t>(data.size() - used));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw Exception(qt_error_string(errno));
        }
        if (got == 0) {
            break;
        }
        used += got;
    }
    if (used > limit) {
        throw tooLong(used);
    }
    data.truncate(static_cast<qsizetype>(used));
    return data;
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
