#pragma once

#include <QString>
#include <QStringList>

class TovDF;
class TovDV;

// What opening handed-over data file paths needs of the main window. The main window implements
// it; tests install a fake.
class IHandOverWindow {
public:
    virtual ~IHandOverWindow() = default;
    // The main window's Busy flag (creating, activating, opening a file, processing); setting it
    // also switches accepting dropped files off, clearing it switches that back on.
    virtual bool IsBusy() const = 0;
    virtual void SetBusy(bool busy) = 0;
    // True when another of the program's windows is the active one; that window (or, for the
    // Browse File window, the main window) is brought to the front first.
    virtual bool IsOtherFormActive() = 0;
    virtual void RestoreFromMinimised() = 0;
    virtual void BringToFront() = 0;
    // Offers the data file's file list in the Browse File window; false on Cancel, else the
    // chosen path.
    virtual bool ChooseHandedOverFile(QString& path) = 0;
    // Stores the tab on screen into the active definition before the data file changes.
    virtual void StoreCurrentTab() = 0;
    // After a data file was opened: refills the definition list, shows the data file validation
    // errors when the load found any, and shows the active definition and the file status.
    virtual void ShowOpenedDataFile() = 0;
};

// Where handed-over paths come from; each opens through its own data file command.
enum class THandOverSource { CommandLine, CopyData, Dropped };

// Opens one of the handed-over paths as the data file: one path directly, several through the
// Browse File window (paths without a data file extension flagged). The extension and existence
// are checked with their messages; for a second instance's paths and dropped files the window is
// busy while the file opens (a window busy already is left as it is). True when a data file was
// loaded. The second instance's pending
// flag is cleared however the open ends, so that one refused open does not refuse every later
// hand-over.
bool OpenHandedOverFiles(IHandOverWindow& window, TovDF& df, TovDV* dv, const QStringList& paths,
                         THandOverSource source);
