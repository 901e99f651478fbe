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

// Writes all of data to the open device and flushes it. A short write is retried, so that a
// full disk is reported with its reason by the device's errorString() rather than with none.
// False when the data did not all reach the device.
bool writeAll(QIODevice& device, const QByteArray& data);

} // namespace platform
