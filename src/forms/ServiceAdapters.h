#pragma once

#include "model/DataFileHost.h"
#include "model/FileDialogs.h"
#include "model/RecentFilesList.h"

// The data file's views of the recently used file list, the preferences and the desktop's file
// dialogues, over the program's global objects.
class TRecentFilesOfMRUs : public IRecentFilesList {
public:
    void AddToTop(const QString& path) override;
    void Save() override;
    void RefreshMenu() override;
};

class TDataFilePreferencesOfUP : public IDataFilePreferences {
public:
    bool getBackupDF() const override;
    bool getIncBackup() const override;
    QString getDefaultOFFolder() const override;
};

class TQtFileDialogs : public IFileDialogs {
public:
    bool ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) override;
    bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) override;
};
