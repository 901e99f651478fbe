#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class IFileDialogs;
class IRecentFilesList;
class IDataFileView;
class IDataFilePreferences;
class TovSDs;
class TIniDocument;

// The data file's path and state flags: what a command snapshots before it starts and puts back
// when it fails.
struct TDataFileState {
    bool IsBackup = false;
    bool IsNew = false;
    bool IsReadOnly = false;
    bool IsQuillFormat = false;
    bool IsTesselFormat = false;
    bool IsOldFormat = false;
    bool IsPartial = false;
    QString FileVersion;
    QString DPFE;
    bool CmdLinePending = false;
    bool CopyDataPending = false;
    bool Modified = false;
    bool NoFile = true;
};

// The open data file as a document: its path and state flags, the counts of its header, the
// list of paths handed over by the command line, a second instance or a drop, and the file
// commands New, Open, Save, Save As and Close with their prompts. The definitions themselves are
// the global list SDs. The state flags are its TDataFileState part, so that a snapshot holds
// each of them without a list of its own.
class TovDF : private TDataFileState {
public:
    // arguments: the program's command-line parameters (without the program itself).
    explicit TovDF(const QStringList& arguments = {});
    ~TovDF();
    TovDF(const TovDF&) = delete;
    TovDF& operator=(const TovDF&) = delete;

    void Reset();

    // Collaborators; each may be null (no dialogue: cancelled; no list, view: nothing shown;
    // no preferences: backup on, incremental backups off, no default output folder).
    void setFileDialogs(IFileDialogs* dialogs) { FileDialogs = dialogs; }
    void setRecentFiles(IRecentFilesList* list) { RecentFiles = list; }
    void setView(IDataFileView* view) { View = view; }
    void setPreferences(IDataFilePreferences* preferences) { Preferences = preferences; }
    // Whether the user may not write a file; tests replace it (they run with every right).
    void setReadOnlyProbe(std::function<bool(const QString&)> probe);

    bool IsSaveAsRequired(bool recheck);
    // The path as the file system named it: blanks at its ends belong to the name.
    QString getDPFE() const { return DPFE; }
    QString getFilenameExtn() const;
    bool getModified() const { return Modified; }
    void setModified(bool flag);
    bool getNoFile() const { return NoFile; }
    bool getIsNew() const { return IsNew; }
    bool getIsBackup() const { return IsBackup; }
    bool getIsReadOnly() const { return IsReadOnly; }
    bool getIsTesselFormat() const { return IsTesselFormat; }
    bool getIsQuillFormat() const { return IsQuillFormat; }
    bool getIsOldFormat() const { return IsOldFormat; }
    // True while the open file holds more than was read (definitions above 255, filter rows
    // above 5): saving in place would lose the rest, so Save goes to Save As.
    bool getIsPartial() const { return IsPartial; }
    QString getFileVersion() const { return FileVersion; }
    int getPB_Count() const { return PB_Count; }
    int getSD_Count() const { return SD_Count; }
    bool getCmdLinePending() const { return CmdLinePending; }
    bool getCopyDataPending() const { return CopyDataPending; }
    void setCopyDataPending(bool flag) { CopyDataPending = flag; }

    // The handed-over paths, 1-based; element 0 is an empty path marked valid.
    void ResetFL();
    int getFL_Count() const { return FL_Count; }
    void setFL_Count(int n);
    QString getFL_DPFE(int index) const;
    void setDFL_DPFE(int index, const QString& path);
    bool getFL_Valid(int index) const;
    void setDFL_Valid(int index, bool flag);

    bool DataFileExists();
    void CheckReadOnly();
    void SaveState();
    void RestoreState();
    void CheckBackupExtension(const QString& path);

    // False when it saved the vanished file and the save failed; the command then stops.
    bool CheckDataFileExists();
    int QuerySaveChanges();
    int QueryReopen(const QString& path);
    bool OpenDataFile(const QString& path, bool sample);

    bool New();
    bool Open();
    bool OpenSample();
    bool Save();
    bool SaveAs();
    bool Close();
    bool OpenCommandLine(const QString& path);
    bool OpenCopyData(const QString& path);
    bool OpenDropped(const QString& path);
    bool OpenMRU(const QString& path);

    // Recognises the layout of the data file read into ini and runs the header checks.
    bool DetectDataFileFormat(const TIniDocument& ini, const QString& path);
    // Write the whole list SDs to DPFE; with backup, the backup copies are made when the
    // preferences ask for them.
    bool SaveDataFile(bool backup);

private:
    using TState = TDataFileState;
    TState CaptureState() const;
    void ApplyState(const TState& state);

    bool OpenGivenPath(const QString& path);
    // Opens the user's copy of the sample (made on first use), outside the recent files.
    bool OpenUserSample();
    // The common start of a command: snapshot, the vanished-file check and the question to
    // save changes. False when the command stops.
    bool BeginCommand();
    void FinishOpen(const QString& path, bool addToRecent);
    // Reads the definitions of the recognised layout into list; false after its message.
    bool LoadInto(const TIniDocument& ini, TovSDs& list, const QString& path);
    // Makes list the definitions of the document and runs the post-load repairs.
    void TakeOver(std::unique_ptr<TovSDs> list, bool sample);
    bool WriteDataFile(const QString& path, bool backup);
    bool FileIsReadOnly(const QString& path) const;
    void ProgressStart(int maximum);
    void ProgressStep();
    void ProgressEnd();
    void RepaintSDs();
    void AddToRecentFiles(const QString& path);

    TState Snapshot;
    int PB_Count = 0;
    int SD_Count = 0;
    int FL_Count = 0;
    std::vector<QString> FL_DPFE;
    std::vector<bool> FL_Valid;

    // What the last load found beyond the readable limits: the definition count the file
    // claims, and (definition, rows) of the filter rows not read.
    int SD_CountFound = 0;
    std::vector<std::pair<int, int>> UnreadRows;
    std::function<bool(const QString&)> ReadOnlyProbe;

    IFileDialogs* FileDialogs = nullptr;
    IRecentFilesList* RecentFiles = nullptr;
    IDataFileView* View = nullptr;
    IDataFilePreferences* Preferences = nullptr;
};

extern TovDF* DF;
