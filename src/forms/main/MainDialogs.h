#pragma once

#include <QString>

// The windows the main window opens, each behind the calls the main window makes of it, so that
// tests script them and never wait on a modal window. Results are modal results (StdDlg.h).

// The Summary window, shown modally after a successful run.
class ISummaryWindow {
public:
    virtual ~ISummaryWindow() = default;
    virtual int ShowModal() = 0;
};

// An error list window (Configuration Errors, Data File Validation Errors): its list is
// prepared from the validator's error list, then it is shown modally.
class IErrorListWindow {
public:
    virtual ~IErrorListWindow() = default;
    virtual void RefreshList() = 0;
    virtual int ShowModal() = 0;
};

// The Browse File window offered when several data file paths arrive at once: it lists the data
// file object's file list; on OK getDPFE is the chosen path.
class IBrowseFileWindow {
public:
    virtual ~IBrowseFileWindow() = default;
    virtual void Setup() = 0;
    virtual int ShowModal() = 0;
    virtual QString getDPFE() const = 0;
};

// The About window.
class IAboutWindow {
public:
    virtual ~IAboutWindow() = default;
    virtual int ShowModal() = 0;
};

// The Options window: it takes a snapshot of the preferences when shown and returns OK when
// the user accepted changed preferences.
class IOptionsWindow {
public:
    virtual ~IOptionsWindow() = default;
    virtual int ShowModal() = 0;
};

// What the caller sets on the Add, Rename and Copy window before showing it (the mode itself is
// the application data's Add/Rename/Copy flag).
struct TAddRenameCopySetup {
    QString Caption;
    QString Description;
    QString ActionCaption;
    QString ActionHint;
    int ActionGlyph = 0; // index of the 32x16 glyph list
    QString CancelHint;
};

// The Add, Rename and Copy window: OK when a valid description was accepted, then
// getDescription is the trimmed description.
class IAddRenameCopyWindow {
public:
    virtual ~IAddRenameCopyWindow() = default;
    virtual void Setup(const TAddRenameCopySetup& setup) = 0;
    virtual int ShowModal() = 0;
    virtual QString getDescription() const = 0;
};

// The checks and the run behind the Process command: the validator, the Excel layer, the
// compatibility pack check and the engine.
class IProcessServices {
public:
    virtual ~IProcessServices() = default;
    // Validates the active definition with every file check; the number of configuration errors.
    virtual int ValidateDefinition() = 0;
    // True (after its message) when Excel is missing.
    virtual bool WarnExcelMissing() = 0;
    // True when the user cancelled the compatibility pack question for that workbook.
    virtual bool WarnPackMissing(const QString& description, const QString& path) = 0;
    // Runs definition index; true when the whole run succeeded.
    virtual bool Run(int index) = 0;
    // A configuration error's tab caption, field label text numbers and grid row.
    virtual int getCfgErrTabID(int n) = 0;
    virtual int getCfgErrFldID(int n) = 0;
    virtual int getCfgErrRowID(int n) = 0;
};

// The windows and services the main window's commands reach; every pointer may be null (the
// call is then skipped and a modal result of Cancel assumed).
struct TMainDialogs {
    ISummaryWindow* Summary = nullptr;
    IErrorListWindow* CfgErr = nullptr;
    IErrorListWindow* DFVErr = nullptr;
    IBrowseFileWindow* BrowseFile = nullptr;
    IAboutWindow* About = nullptr;
    IOptionsWindow* Options = nullptr;
    IAddRenameCopyWindow* AddRenameCopy = nullptr;
    IProcessServices* Process = nullptr;
};
