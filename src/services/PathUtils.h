#pragma once

#include <QString>

// Path functions of the general utilities, for POSIX paths: "/" separates and there is no drive
// part (a Windows path such as "C:\Data\x.krvc" is one file name here). None of them raises.

// The folder part up to and including the last "/", trimmed.
QString ExtractFilePath(const QString& path);
// The part after the last "/".
QString ExtractFileName(const QString& path);
// The folder part without the drive: on POSIX paths the folder part itself, its leading "/"
// included.
QString ExtractPathWithoutDrive(const QString& path);
// The file name, trimmed, without its extension.
QString ExtractFileNameWithoutExt(const QString& path);
// The extension of the file name, trimmed, with its dot when withDot; without it at most 260
// characters; empty when the name has none.
QString ExtractFileExtension(const QString& fileName, bool withDot);
// The path made absolute against the folder `base` (itself absolute) and cleaned of "." and ".."
// steps; an absolute path is only cleaned. Empty for an empty path.
QString AbsolutePathFrom(const QString& base, const QString& path);
