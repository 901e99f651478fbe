#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

namespace platform {

// Where a save puts the new contents, or why that cannot be known.
struct SaveTarget {
    QString path;      // the file to replace
    int error = 0;     // errno when the chain of links cannot be followed; 0 otherwise
    QString errorText; // the system's message for the failure

    bool failed() const { return error != 0; }
};

// The file a save to `path` replaces. A save writes a temporary file beside the file and renames
// it into place; renamed over a symbolic link it would replace the link and leave the file the
// link names with its old contents. So the file at the end of the chain of links is the one
// replaced, and the links stay. A dangling link names a file that does not exist yet: the save
// creates it (in the folder the link names, which must exist). A path that is no link is itself.
SaveTarget resolveSaveTarget(const QString& path);

// A temporary file beside the file a save replaces, named ".NAME.krvsave-PID-RANDOM" after the
// target NAME, created for the owner alone (0600) and held under an exclusive flock() for as long
// as this object lives. A save killed midway leaves it unlocked: the next save of the same target
// removes such leftovers, with any companion whose name begins with the leftover's, and never one
// whose lock is held, so never the file of a save still running (its pid is in the name only to
// tell a reader whose it was).
class SaveTemp {
public:
    // Raises platform::Exception when the file cannot be made.
    explicit SaveTemp(const QString& target);
    // Removes the file and its companions unless they were committed.
    ~SaveTemp();
    SaveTemp(const SaveTemp&) = delete;
    SaveTemp& operator=(const SaveTemp&) = delete;

    const QString& path() const { return path_; }
    // The name of a file that another writer makes from this one's (path() + suffix); it goes
    // with this file, leftovers included.
    QString companion(const QString& suffix);
    // Renames file (path() or a companion) over the target. A target that existed keeps its mode,
    // and its owner and group as far as this process may set them; with modeFrom (an existing
    // file) the mode comes from that file instead, as a backup copy takes its source's. A new
    // target gets the mode a new file gets (0666 less the umask). Raises platform::Exception.
    void commit(const QString& file, const QString& modeFrom = QString());

private:
    QString target_;
    QString path_;
    QStringList companions_;
    QString committed_; // the file renamed over the target
    int fd_ = -1;
};

// Removes the leftovers of killed saves of target (see SaveTemp); what cannot be removed stays.
// Returns how many files were removed.
int removeStaleSaveTemps(const QString& target);

// Writes all of data to the device and flushes it. A write cut short (a full disk) is retried, so
// that the device's errorString() gives the reason rather than "Unknown error". False when the
// data did not all reach the device. The device must be open Unbuffered: a buffered file device
// loses the reason of a short write in its flush, and QSaveFile then even commits the cut file.
bool writeAll(QIODevice& device, const QByteArray& data);

} // namespace platform
