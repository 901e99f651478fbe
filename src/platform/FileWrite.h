#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

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

// Writes all of data to the device and flushes it. A write cut short (a full disk) is retried, so
// that the device's errorString() gives the reason rather than "Unknown error". False when the
// data did not all reach the device. The device must be open Unbuffered: a buffered file device
// loses the reason of a short write in its flush, and QSaveFile then even commits the cut file.
bool writeAll(QIODevice& device, const QByteArray& data);

} // namespace platform
