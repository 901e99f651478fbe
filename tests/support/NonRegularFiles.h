#pragma once

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

// Files that are no regular files, made in a test's folder. Each returns an empty string when it
// made the file, else the reason it could not (for GTEST_SKIP).

inline std::string makeFifo(const QString& path) {
    if (::mkfifo(QFile::encodeName(path).constData(), 0644) != 0) {
        return std::string("mkfifo: ") + std::strerror(errno);
    }
    return {};
}

// A node for the null device (1, 3): what a save must never replace.
inline std::string makeCharacterDevice(const QString& path) {
    if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        return std::string("mknod needs the right to make device nodes (root): ") +
               std::strerror(errno);
    }
    return {};
}

// A bound Unix socket; it stays in the folder after the descriptor is closed.
inline std::string makeSocket(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address{};
    if (static_cast<size_t>(native.size()) >= sizeof(address.sun_path)) {
        return "the folder's path is too long for a socket";
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), static_cast<size_t>(native.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return std::string("socket: ") + std::strerror(errno);
    }
    const int bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    const int error = errno;
    ::close(fd);
    return bound == 0 ? std::string() : std::string("bind: ") + std::strerror(error);
}

// The file type bits of what path names itself (links not followed); 0 when it is missing.
inline mode_t typeOf(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

inline mode_t permissionsOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

} // namespace testsupport
