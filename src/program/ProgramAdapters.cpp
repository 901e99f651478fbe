#include "ProgramAdapters.h"

#include "services/ovMRU.h"
#include "services/ovUP.h"

void TRecentFilesOfMRUs::AddToTop(const QString& path) {
    if (MRUs != nullptr) {
        MRUs->AddToTop(path);
    }
}

void TRecentFilesOfMRUs::Save() {
    if (MRUs != nullptr) {
        MRUs->Save();
    }
}

void TRecentFilesOfMRUs::RefreshMenu() {
    if (MRUs != nullptr) {
        MRUs->RefreshMenu();
    }
}

bool TDataFilePreferencesOfUP::getBackupDF() const {
    return UP != nullptr && UP->getBackupDF();
}

bool TDataFilePreferencesOfUP::getIncBackup() const {
    return UP != nullptr && UP->getIncBackup();
}

QString TDataFilePreferencesOfUP::getDefaultOFFolder() const {
    return UP != nullptr ? UP->getDefaultOFFolder() : QString();
}
