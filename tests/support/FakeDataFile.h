#pragma once

#include "model/DataFileHost.h"
#include "model/FileDialogs.h"
#include "model/RecentFilesList.h"

#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace testsupport {

// Scripted file dialogues: each Execute takes the next queued answer (a path, or nullopt for
// Cancel; Cancel when the queue is empty) and records the set-up it was shown with.
class FakeFileDialogs : public IFileDialogs {
public:
    std::deque<std::optional<QString>> answers;
    std::vector<TFileDialogSetup> opens;
    std::vector<TFileDialogSetup> saves;

    bool ExecuteOpen(const TFileDialogSetup& setup, QString& fileName) override {
        opens.push_back(setup);
        return next(fileName);
    }
    bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) override {
        saves.push_back(setup);
        return next(fileName);
    }

private:
    bool next(QString& fileName) {
        if (answers.empty()) {
            return false;
        }
        const std::optional<QString> answer = answers.front();
        answers.pop_front();
        if (!answer) {
            return false;
        }
        fileName = *answer;
        return true;
    }
};

// Records what the data file asks of the main window's progress bar and definition list.
class FakeDataFileView : public IDataFileView {
public:
    int maximum = -1;
    int steps = 0;
    int starts = 0;
    int ends = 0;
    int repaints = 0;

    void ProgressStart(int max) override {
        maximum = max;
        steps = 0;
        ++starts;
    }
    void ProgressStep() override { ++steps; }
    void ProgressEnd() override { ++ends; }
    void RepaintSDs() override { ++repaints; }
};

// Records the paths put at the top of the recently used list.
class FakeRecentFiles : public IRecentFilesList {
public:
    QStringList added;
    int saves = 0;
    int refreshes = 0;

    void AddToTop(const QString& path) override { added << path; }
    void Save() override { ++saves; }
    void RefreshMenu() override { ++refreshes; }
};

class FakeDataFilePreferences : public IDataFilePreferences {
public:
    bool BackupDF = true;
    bool IncBackup = false;
    QString DefaultOFFolder;

    bool getBackupDF() const override { return BackupDF; }
    bool getIncBackup() const override { return IncBackup; }
    QString getDefaultOFFolder() const override { return DefaultOFFolder; }
};

} // namespace testsupport
