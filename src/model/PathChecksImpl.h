#pragma once

#include "services/PathChecks.h"

// The validator's path checks offered to the preferences and the recently used file list.
// Start-up installs one with setPathChecks once DV exists; without DV every path passes.
class TovPathChecks : public IPathChecks {
public:
    bool CheckPath(const QString& caption, const QString& path) override;
    bool CheckFolderPath(const QString& caption, const QString& path) override;
    bool CheckDrive(const QString& caption, const QString& path) override;
    bool CheckIllegalFilenameChars(const QString& path) override;
    bool CheckFilename(const QString& caption, const QString& path) override;
    bool CheckDataFileExt(const QString& caption, const QString& path) override;
};
