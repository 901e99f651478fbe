#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace platform {

// The answer of a file-system query, or the reason it could not be answered.
struct FileAnswer {
    bool value = false;
    int error = 0;     // errno of the failure; 0 when answered
    QString errorText; // the system's message for the failure

    bool failed() const { return error != 0; }
    static FileAnswer yes() { return {true, 0, {}}; }
    static FileAnswer no() { return {false, 0, {}}; }
    static FileAnswer failure(int error);
};

// A lock file that marks a file as open.
struct LockFileAnswer {
    FileAnswer answer;
    QString lockFile;
};

// What a path names once its links are followed.
enum class FileKind { Missing, Regular, Folder, CharacterDevice, BlockDevice, Fifo, Socket, Other };

// The kind of a path, or the reason it could not be told.
struct KindAnswer {
    FileKind kind = FileKind::Missing;
    int error = 0;     // errno of the failure; 0 when answered
    QString errorText; // the system's message for the failure

    bool failed() const { return error != 0; }
};

// The file-system facts the file checks ask for, with the program's stand-ins for the Windows
// file attributes: read-only means the user may not write the file (or nobody may, as a file
// marked read-only); "open in another program" means another program holds an exclusive lock on
// it or a spreadsheet program's lock file stands beside it (".~lock.NAME#", "~$NAME"). A missing
// file is neither read-only nor in use. Tests derive from it to produce failures that running as
// root cannot.
class FileAccess {
public:
    virtual ~FileAccess() = default;

    virtual FileAnswer folderExists(const QString& path);
    // A file that is not a folder. Devices, FIFOs and sockets are files here: callers that
    // read or replace a file ask for its kind as well.
    virtual FileAnswer fileExists(const QString& path);
    // What the path names after its links are followed.
    virtual KindAnswer fileKind(const QString& path);
    virtual FileAnswer isReadOnly(const QString& path);
    virtual FileAnswer isInUse(const QString& path);
    // The lock file beside a file that marks it as open in another program (value true, with the
    // lock file's path), or no such lock file. A LibreOffice lock file left behind by a program
    // that has ended does not mark the file: one that names this machine and this user while no
    // LibreOffice program of this user runs here. Nobody can then be editing the file through it;
    // LibreOffice itself takes such a lock of its own installation for a leftover of a crash.
    virtual LockFileAnswer markingLockFile(const QString& path);
    // Deletes a file; refuses a read-only one with EACCES, as Windows does.
    virtual FileAnswer removeFile(const QString& path);
    // Creates one folder (its parent must exist).
    virtual FileAnswer makeFolder(const QString& path);

protected:
    // Whether the open file is locked by another open file or process.
    virtual FileAnswer isLocked(const QString& path);
    // This machine's host name and this user's login name, as LibreOffice writes them into its
    // lock files.
    virtual QString hostName();
    virtual QString userName();
    // Whether a LibreOffice program of this user runs on this machine.
    virtual FileAnswer officeProgramRunning();

private:
    bool officeLockLeftBehind(const QString& lock);
};

// The file access in use; the real file system unless a test installed another.
FileAccess& fileAccess();
// Installs a replacement (tests) and returns the previous one; nullptr restores the default.
std::unique_ptr<FileAccess> setFileAccess(std::unique_ptr<FileAccess> access);

// The spreadsheet programs' lock files that mark a file as open: ".~lock.NAME#" and "~$NAME"
// beside it.
QString officeLockFile(const QString& path);
QString excelOwnerFile(const QString& path);

// Who holds a LibreOffice lock file: the fields of its one line
// ("profile user name,system user name,host,time,profile folder;", a backslash escaping the next
// character). Nothing when the content is not such a line.
struct OfficeLockOwner {
    QString userName;
    QString host;
};
std::optional<OfficeLockOwner> parseOfficeLock(const QByteArray& content);

// Whether a process table (a folder laid out as /proc) lists a LibreOffice program (soffice,
// soffice.bin, oosplash, libreoffice...) that runs as the given user.
FileAnswer officeProgramRunsIn(const QString& processTable, unsigned userId);

// The words that name a kind in a message: "a character device", "a FIFO (named pipe)" ...
QString kindName(FileKind kind);

// Why a file may not be read or replaced: a path that names (through its links) anything but a
// regular file, such as a device or a FIFO, is refused, since writing over it would replace the
// device and reading it may never end. Empty when the path is missing or a regular file, and when
// it cannot be examined (the existence and read-only checks report that in their own words); else
// a sentence that says what the path is ("It is a FIFO (named pipe), not a regular file.").
QString notRegularFileReason(const QString& path);

// The whole contents of a regular file of at most `limit` bytes. Refuses anything but a regular
// file without waiting on it (a FIFO with no writer, a terminal), and a file longer than the limit
// before reading it; a file that grows while it is read is cut off at the limit and refused too.
// Raises platform::Exception with the reason (the path is the caller's to show).
QByteArray readRegularFile(const QString& path, qint64 limit);

} // namespace platform
