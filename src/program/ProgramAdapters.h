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

// The lists of the definition the main window shows (the active one of SDs).
class TActiveDefinitionLists : public XLListTarget {
public:
    void setWSL_Count(int list, int count) override;
    void setWSL_WS(int list, int index, const QString& name) override;
    void setFL_Count(int count) override;
    void setFL_TaskFld(int index, const QString& letters) override;
    void setFL_TaskFldDesc(int index, const QString& text) override;
    void setFL_TaskFldValue(int index, int sample, const QString& text) override;
    void setVL_TaskFldValCount(int list, int count) override;
    void setVL_TaskFldValue(int list, int index, const QString& text) override;
};

// The Excel layer's environment in the program: the progress window, the registry stand-in, the
// active definition (SDs) and the preferences (UP).
class TProgramXLEnvironment : public XLEnvironment {
public:
    void processMessages() override;
    bool getCancelled() override;
    void setCancelled(bool cancelled) override;
    void startStepProgress(int count) override;
    void addStep(const QString& text) override;
    void updateStep(const QString& text) override;
    void showStepProgress(bool show) override;
    bool regValueExists(Root root, const QString& key, const QString& name) override;
    QString regReadString(Root root, const QString& key, const QString& name,
                          const QString& defaultValue) override;
    XLListTarget& activeDefinition() override { return Lists; }
    int importTaskFldValueCount() override;

private:
    TActiveDefinitionLists Lists;
};

std::unique_ptr<XLEnvironment> createProgramXLEnvironment();
