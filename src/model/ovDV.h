#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TovSCF;

// Arguments of the checks that take several texts, named so that they cannot be swapped.
struct TTaskHeaderRowCheck {
    QString FileCaption; // caption of the Data Source File
    QString FilePath;    // the Data Source File path, which decides the limits
    int Row = 1;
    QString RowCaption; // named by the messages
};

struct TTaskFieldCheck {
    QString FileCaption;
    QString FilePath;
    QString Letters;
    QString FieldCaption; // named by the messages
};

// An entry compared with another one (same entry, extension match).
struct TEntryPairCheck {
    QString Caption;
    QString Entry;
    QString OtherCaption;
    QString OtherEntry;
};

// An entry and the default that replaces what is missing.
struct TEntryDefaultCheck {
    QString Caption;
    QString Entry;
    QString Default;
};

struct TSDDescDuplicateCheck {
    int Index = 0; // the later definition
    QString LaterCaption;
    QString LaterDesc;
    QString EarlierCaption;
    QString EarlierDesc;
};

// The texts of one filter grid row as the main window shows them (blank cells are empty).
struct TFilterRowTexts {
    QString AndOr;
    QString Caption;
    QString Value;
    QString OperatorName;
    QString Description;
    QString TaskFld;
};

// One filter row as the row-pair checks see it.
struct TFilterRowDesc {
    QString Caption;
    QString TaskFld;
    QString OperatorName;
    QString Value;
};

// Which files the definition validator checks.
struct TValidateFiles {
    bool DataSource = true;
    bool Template = true;
    bool Output = true;
};

// What one check found. Fails is true when the entry fails; the texts say why, each for the place
// that shows it: Key names the dialogue, Msg the line the post-load repairs list, Hint the field's
// balloon, Dlg the dialogue, Details and Value the error lists.
struct TDVCheck {
    bool Fails = false;
    QString Key;
    QString Msg;
    QString Hint;
    QString Dlg;
    QString Details;
    QString Value;
    QStringList Illegal; // the illegal characters found (control characters as "#n")
    QString ChangedPath; // the folder check's path, moved where the file exists
    explicit operator bool() const { return Fails; }
    static TDVCheck Failed() {
        TDVCheck check;
        check.Fails = true;
        return check;
    }
    // The illegal characters as the messages list them.
    QString IllegalChars() const;
};

// The checks, each returning what it found; they change nothing.
namespace dvcheck {
TDVCheck SDDescUndefined(const QString& description);
TDVCheck SDDescUndefinedRename(const QString& caption, const QString& description);
TDVCheck SDDescDuplicate(const TSDDescDuplicateCheck& c);
TDVCheck NoDataOption(uint8_t baseline, uint8_t actual, uint8_t target);
TDVCheck CutOffDate(double date);
TDVCheck NoQuantity(bool noDataOption, uint8_t manHours, uint8_t cost);
TDVCheck QuantityValue(const QString& caption, uint8_t quantity);
TDVCheck FilterUndefined(uint8_t enabled, int rowCount);
TDVCheck FilterOperator(const QString& caption, uint8_t op);
TDVCheck FilterRow(const TFilterRowTexts& row);
TDVCheck FilterValue(uint8_t op, const QString& caption, const QString& value);
TDVCheck FilterRowsConflict(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
TDVCheck FilterRowsExclusive(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
TDVCheck FilterRowsDuplicate(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
TDVCheck TextLength(const QString& caption, const QString& text, int maximum);

TDVCheck DataFileExists(const QString& caption, const QString& path);
TDVCheck DataFileExt(const QString& caption, const QString& path);
TDVCheck FileExists(const QString& caption, const QString& path);
TDVCheck Path(const QString& caption, const QString& path);
TDVCheck Drive(const QString& caption, const QString& path);
TDVCheck Filename(const QString& caption, const QString& path);
TDVCheck ExcelFileExt(const QString& caption, const QString& path);
TDVCheck ExcelFile(const QString& caption, const QString& path);
TDVCheck WorksheetName(const QString& caption, const QString& name);
TDVCheck TaskHeaderRow(const TTaskHeaderRowCheck& c);
TDVCheck TaskField(const TTaskFieldCheck& c);
TDVCheck DefaultFile(const TEntryDefaultCheck& c);
TDVCheck DefaultFolder(const TEntryDefaultCheck& c);
TDVCheck FileExtMatch(const TEntryPairCheck& c);
TDVCheck SameEntry(const TEntryPairCheck& c);
TDVCheck SamePath(const TEntryPairCheck& c);
TDVCheck FolderPath(const QString& caption, const QString& path);
TDVCheck IllegalFilenameChars(const QString& path);
TDVCheck ProgramFilesFolder(const QString& caption, const QString& path);

// Adds the first character of character to list unless it is listed (a..z case ignored).
void AddIllegal(QStringList& list, const QString& character);
// Shows the check's dialogue (Warning, one Close button) and returns true.
bool ShowDialogue(const TDVCheck& check);
} // namespace dvcheck

// The validator: the configuration error list (what blocks a run of the active definition),
// the data file validation error list (what the post-load repairs changed), the field, file-name
// and definition checks, and the message fields of the last check that ran. Every check returns
// true when the entry fails and starts by clearing the message fields.
class TovDV {
public:
    static constexpr int TabSCF = 94;
    static constexpr int TabSCO = 119;
    static constexpr int TabDSM = 159;
    static constexpr int TabDSF = 168;

    TovDV();
    void Init();

    // Configuration error list.
    void ClearCfgErrs();
    void AddCfgErr(const QString& tab, const QString& field, const QString& details,
                   const QString& value, int tabId, int fieldId, int rowId);
    int getCfgErrCount() const { return static_cast<int>(CfgErrs.size()) - 1; }
    QString getCfgErrTab(int n) const;
    QString getCfgErrFld(int n) const;
    QString getCfgErrDetails(int n) const;
    QString getCfgErrFldVal(int n) const;
    int getCfgErrTabID(int n) const;
    int getCfgErrFldID(int n) const;
    int getCfgErrRowID(int n) const;

    // Data file validation error list.
    void ClearDFVErrs();
    int AddDFVErr(int n, const QString& field, const QString& details);
    int getDFVErrCount() const { return static_cast<int>(DFVErrs.size()) - 1; }
    QString getDFVErrSDDesc(int n) const;
    QString getDFVErrFld(int n) const;
    QString getDFVErrDetails(int n) const;

    // Message fields of the last check.
    const TDVCheck& getLastCheck() const { return Last; }
    QString getMsgText() const { return Last.Msg; }
    QString getHintText() const { return Last.Hint; }
    QString getDlgText() const { return Last.Dlg; }
    QString getDetailsText() const { return Last.Details; }
    QString getValueText() const { return Last.Value; }
    QString getMsgKey() const { return Last.Key; }
    QString getChangedPath() const;
    QString getIllegalChars() const;
    void ClearMsgFields();
    void ClearIllegalChars();
    void AddIllegalChar(const QString& character);

    // Whole-definition validation of the active definition into the configuration error list
    // and its window's list. True when a repair changed a stored value.
    [[nodiscard]] bool ValidateDefinition(const TValidateFiles& files = {});

    // Definition checks.
    bool CheckSDDescUndefined(const QString& description);
    bool CheckSDDescUndefinedRename(int index, const QString& caption, const QString& description);
    bool CheckSDDescDuplicate(const TSDDescDuplicateCheck& c);
    bool CheckNoDataOption(uint8_t baseline, uint8_t actual, uint8_t target);
    bool CheckCutOffDate(double date);
    bool CheckNoQuantity(bool noDataOption, uint8_t manHours, uint8_t cost);
    bool CheckQuantityValue(const QString& caption, uint8_t quantity);
    bool CheckFilterUndefined(uint8_t enabled, int rowCount);
    bool CheckFilterOperator(const QString& caption, uint8_t op);
    bool CheckFilterRow(const TFilterRowTexts& row);
    bool CheckFilterValue(uint8_t op, const QString& caption, const QString& value);
    bool CheckFilterRowsConflict(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
    bool CheckFilterRowsExclusive(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
    bool CheckFilterRowsDuplicate(const TFilterRowDesc& later, const TFilterRowDesc& earlier);
    bool CheckTextLength(const QString& caption, const QString& text, int maximum);

    // Field and file-name checks; the ...Dlg twins show the standard dialogue on failure.
    bool CheckDataFileExists(const QString& caption, const QString& path, bool drive = true);
    bool CheckDataFileExistsDlg(const QString& caption, const QString& path, bool drive = true);
    bool CheckDataFileExt(const QString& caption, const QString& path);
    bool CheckDataFileExtDlg(const QString& caption, const QString& path);
    bool CheckFileExists(const QString& caption, const QString& path);
    bool CheckFileExistsDlg(const QString& caption, const QString& path);
    bool CheckPath(const QString& caption, const QString& path);
    bool CheckPathDlg(const QString& caption, const QString& path);
    bool CheckDrive(const QString& caption, const QString& path);
    bool CheckFilename(const QString& caption, const QString& path);
    bool CheckExcelFileExt(const QString& caption, const QString& path);
    bool CheckExcelFileExtDlg(const QString& caption, const QString& path);
    bool CheckExcelFile(const QString& caption, const QString& path);
    bool CheckExcelFileDlg(const QString& caption, const QString& path);
    bool CheckWorksheetName(const QString& caption, const QString& name);
    bool CheckWorksheetNameDlg(const QString& caption, const QString& name);
    bool CheckTaskHeaderRow(const TTaskHeaderRowCheck& c);
    bool CheckTaskHeaderRowDlg(const TTaskHeaderRowCheck& c);
    bool CheckTaskField(const TTaskFieldCheck& c);
    bool CheckTaskFieldDlg(const TTaskFieldCheck& c);
    bool CheckDefaultFile(const TEntryDefaultCheck& c);
    bool CheckDefaultFolder(const TEntryDefaultCheck& c);
    bool CheckFileExtMatch(const TEntryPairCheck& c);
    bool CheckSameEntry(const TEntryPairCheck& c);
    // Two paths naming the same file once both are made absolute and clean (case-sensitive).
    bool CheckSamePath(const TEntryPairCheck& c);
    bool CheckFolderPath(const QString& caption, const QString& path);
    bool CheckIllegalFilenameChars(const QString& path);
    bool CheckProgramFilesFolder(const QString& caption, const QString& path);

    // The data file extensions the data file check accepts (upper-cased, without dot).
    static bool IsDataFileExtension(const QString& extension);

private:
    struct CfgErr {
        QString Tab, Fld, Details, FldVal;
        int TabID = 0, FldID = 0, RowID = 0;
    };
    struct DFVErr {
        QString SDDesc, Fld, Details;
    };

    // Keeps the check as the last one and returns whether it failed.
    bool Keep(TDVCheck check);
    // Keeps a check with a dialogue twin; shows the dialogue when it failed.
    bool KeepShown(TDVCheck check);

    // The steps the Data Source File and Template File validations share: the path cut to its
    // limit and checked (a wrong extension replaced), and the password cut.
    template <typename Get, typename Set>
    void ValidateInputWorkbook(TovSCF& scf, int captionId, Get getPath, Set setPath,
                               Get getPassword, Set setPassword, bool& modified);
    // One worksheet name cut to its limit or checked; true when it was cut or failed.
    template <typename Get, typename Set>
    bool ValidateWorksheetEntry(TovSCF& scf, int captionId, Get get, Set set, bool& modified);
    void ValidateDataSourceFile(bool& modified);
    void ValidateTemplateFile(bool& modified);
    void ValidateOutputFile(bool& modified);
    void ValidateOptions(bool& modified);
    void ValidateDataSourceMap(bool& modified);
    void ValidateFilter(bool& modified);
    void AddTabErr(const TDVCheck& check, int tabId, int fieldId, const QString& fieldCaption,
                   int rowId = 0);

    std::vector<CfgErr> CfgErrs;
    std::vector<DFVErr> DFVErrs;
    TDVCheck Last;
};

extern TovDV* DV;
