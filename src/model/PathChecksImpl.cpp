#include "model/PathChecksImpl.h"

#include "model/ovDV.h"

bool TovPathChecks::CheckPath(const QString& caption, const QString& path) {
    return DV != nullptr && DV->CheckPath(caption, path);
}

bool TovPathChecks::CheckFolderPath(const QString& caption, const QString& path) {
    return DV != nullptr && DV->CheckFolderPath(caption, path);
}

bool TovPathChecks::CheckDrive(const QString& caption, const QString& path) {
    return DV != nullptr && DV->CheckDrive(caption, path);
}

bool TovPathChecks::CheckIllegalFilenameChars(const QString& path) {
    return DV != nullptr && DV->CheckIllegalFilenameChars(path);
}

bool TovPathChecks::CheckFilename(const QString& caption, const QString& path) {
    return DV != nullptr && DV->CheckFilename(caption, path);
}

bool TovPathChecks::CheckDataFileExt(const QString& caption, const QString& path) {
    return DV != nullptr && DV->CheckDataFileExt(caption, path);
}
