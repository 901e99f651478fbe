#pragma once

#include "excel/XLEnvironment.h"
#include "model/DataFileHost.h"
#include "model/RecentFilesList.h"

#include <memory>

// The program's views of its global objects that lower layers reach through an interface.

// The data file's view of the recently used file list (MRUs).
class TRecentFilesOfMRUs : public IRecentFilesList {
public:
    void AddToTop(const QString& path) override;
    void Save() override;
    void RefreshMenu() override;
};

// The data file's view of the preferences (UP).
class TDataFilePreferencesOfUP : public IDataFilePreferences {
public:
    bool getBackupDF() const override;
    bool getIncBackup() const override;
    QString getDefaultOFFolder() const override;
};

// The Excel layer's environment in the program: the progress window, the registry stand-in, the
// active definition (SDs) and the preferences (UP).
std::unique_ptr<XLEnvironment> createProgramXLEnvironment();
