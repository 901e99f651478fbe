#pragma once

#include <QString>

// The main window's controls that loading and saving a data file drive: the progress bar
// (PB_Main) and the definition list (LB_SDs), which is only asked to repaint.
class IDataFileView {
public:
    virtual ~IDataFileView() = default;
    // Position 0, maximum set, shown.
    virtual void ProgressStart(int maximum) = 0;
    // Advance one step and repaint at once.
    virtual void ProgressStep() = 0;
    // Hidden, position 0.
    virtual void ProgressEnd() = 0;
    virtual void RepaintSDs() = 0;
};

// The user preferences that the data file commands read.
class IDataFilePreferences {
public:
    virtual ~IDataFilePreferences() = default;
    // Back up the data file when it is saved.
    virtual bool getBackupDF() const = 0;
    // Keep the nine numbered backup copies as well.
    virtual bool getIncBackup() const = 0;
    // The default output folder with its trailing "/", or empty.
    virtual QString getDefaultOFFolder() const = 0;
};
