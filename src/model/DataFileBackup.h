#pragma once

#include "services/INI_Utils.h"

#include <QString>
#include <functional>

namespace platform {
class SaveTemp;
}

// The backup copies beside a data file and the safe replacement of the data file: new contents
// go to a temporary file in the same folder, which is renamed over the data file only once it is
// complete. Failures raise platform::Exception and leave every existing file as it was.
namespace datafile {

// The longest data file that is read, as a data file is opened.
inline constexpr qint64 MaxDataFileBytes = TIniDocument::MaxFileBytes;

// Copies the file src over dst (dst is a fresh temporary file); raises naming the file and the
// reason (a full disk among them) on failure. Only a regular file of at most MaxDataFileBytes is
// read: a device, a FIFO or a longer file is refused without being read.
using TCopier = std::function<void(const QString& src, const QString& dst)>;
void CopyFileContents(const QString& src, const QString& dst);

// Whether the extension marks a backup data file: it begins with "~krvc" in any case.
bool IsBackupExtension(const QString& path);
// The path with the extension ".~krvc" followed by k (none for k = 0).
QString BackupPath(const QString& path, int k);

// Makes the backup copies of the data file at path before it is replaced: with incremental
// backups each numbered copy 1..8 moves up one number (the ninth is dropped) and the ".~krvc"
// copy becomes copy 1; then the data file becomes the ".~krvc" copy. All copies are made to
// temporary files first; only when every one succeeded are they renamed into place. A copy or
// target whose state cannot be examined is reported in the standard dialogue (U004, U006) and
// stops the backup.
void BackupDataFile(const QString& path, bool incremental, const TCopier& copier = {});

// Raises when the file at path may not be replaced: anything but a regular file stands there (a
// device, a FIFO, a folder; the message names what it is), or the user may not write it.
void CheckReplaceable(const QString& path);
// Renames the temporary file over path (replacing it) after CheckReplaceable. The file keeps the
// mode of the file it replaces, or takes modeFrom's when given (a backup takes its source's).
void ReplaceFile(platform::SaveTemp& temp, const QString& path, const QString& modeFrom = {});

} // namespace datafile
