#pragma once

#include <QString>

// The path checks of the validator that the preferences and the recently used file list run.
// Each returns true when the entry fails. The validator supplies the program's checks; until it
// is installed a permissive set lets every path pass.
class IPathChecks {
public:
    virtual ~IPathChecks() = default;
    // The whole path: undefined, illegal characters, drive (absolute), file name.
    virtual bool CheckPath(const QString& caption, const QString& path) = 0;
    // A folder path: undefined, drive (absolute), folder part, illegal characters.
    virtual bool CheckFolderPath(const QString& caption, const QString& path) = 0;
    // The drive test (on POSIX paths: the path is absolute).
    virtual bool CheckDrive(const QString& caption, const QString& path) = 0;
    // Illegal characters in the folder part.
    virtual bool CheckIllegalFilenameChars(const QString& path) = 0;
    // The file name: undefined, illegal characters, reserved.
    virtual bool CheckFilename(const QString& caption, const QString& path) = 0;
    // The data file extensions.
    virtual bool CheckDataFileExt(const QString& caption, const QString& path) = 0;
};

// The checks in use.
IPathChecks& PathChecks();
// Installs the checks (not owned); nullptr restores the permissive set.
void setPathChecks(IPathChecks* checks);
