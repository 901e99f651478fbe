#include "PathChecks.h"

namespace {

class PermissivePathChecks : public IPathChecks {
public:
    bool CheckPath(const QString&, const QString&) override { return false; }
    bool CheckFolderPath(const QString&, const QString&) override { return false; }
    bool CheckDrive(const QString&, const QString&) override { return false; }
    bool CheckIllegalFilenameChars(const QString&) override { return false; }
    bool CheckFilename(const QString&, const QString&) override { return false; }
    bool CheckDataFileExt(const QString&, const QString&) override { return false; }
};

PermissivePathChecks permissive;
IPathChecks* current = nullptr;

} // namespace

IPathChecks& PathChecks() {
    return current != nullptr ? *current : permissive;
}

void setPathChecks(IPathChecks* checks) {
    current = checks;
}
