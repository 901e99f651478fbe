#pragma once

#include <QSet>
#include <QString>
#include <array>
#include <functional>

// The user's preferences: prompts, backups, hints, automatic sizing and alignment of the browse
// and error windows, the template and output folder of new KRV Definitions and the extension of
// new output workbooks; each option is one registry value of its own name under the user's key
// "Software\Tarrow Studio\Ovik KRV Tessel\UP". Setters normalise and assign only on a change.
class TovUP {
public:
    // The options, in the order of the table; the registry value names are kOptionNames.
    enum Option : int {
        AutoAlignBrowseFld,
        AutoAlignBrowseVal,
        AutoAlignBrowseWS,
        AutoSizeCfgErr,
        AutoSizeDFVErr,
        AutoSizeBrowseFile,
        AutoSizeBrowseFld,
        AutoSizeBrowseVal,
        AutoSizeBrowseWS,
        AutoSizeDSM,
        AutoSizeDSF,
        AutoSizeSummary,
        BackupDF,
        ImportTaskFldDesc,
        IncBackup,
        PromptOnCreateOFFolder,
        PromptOnOverwriteOF,
        PromptOnProcess,
        PurgeMRU,
        ShowHints,
        ShowToolBarCaptions, // the booleans end here
        DefaultTFDDLItemIndex,
        DefaultTFOther,
        DefaultOFFolderDDLItemIndex,
        DefaultOFFolderOther,
        DefaultXLExtn,
        HintHidePause,
        HintPause,
        ImportTaskFldValueCount,
        OptionCount
    };
    static constexpr int BoolCount = ShowToolBarCaptions + 1;
    static const char* const kOptionNames[OptionCount];

    TovUP();

    void SetDefaults();
    // Reads every option on its own: a value that cannot be read keeps its default and is not
    // written back by Save until it is changed; the failures are shown in one error box.
    void Load();
    void Validate();
    void Save();
    void ResetAutoSize();
    void ResetAutoAlign();

    QString getRegKey() const { return RegKey; }
    QString getTemplateDPFE();
    QString getTemplateXLS() const { return TemplateXLS; }
    QString getTemplateXLSX() const { return TemplateXLSX; }
    QString getDefaultOFFolder();
    QString getOFExtn() const;

    bool getBool(Option option) const { return Bools[option]; }
    void setBool(Option option, bool value);

    bool getAutoAlignBrowseFld() const { return Bools[AutoAlignBrowseFld]; }
    bool getAutoAlignBrowseVal() const { return Bools[AutoAlignBrowseVal]; }
    bool getAutoAlignBrowseWS() const { return Bools[AutoAlignBrowseWS]; }
    bool getAutoSizeCfgErr() const { return Bools[AutoSizeCfgErr]; }
    bool getAutoSizeDFVErr() const { return Bools[AutoSizeDFVErr]; }
    bool getAutoSizeBrowseFile() const { return Bools[AutoSizeBrowseFile]; }
    bool getAutoSizeBrowseFld() const { return Bools[AutoSizeBrowseFld]; }
    bool getAutoSizeBrowseVal() const { return Bools[AutoSizeBrowseVal]; }
    bool getAutoSizeBrowseWS() const { return Bools[AutoSizeBrowseWS]; }
    bool getAutoSizeDSM() const { return Bools[AutoSizeDSM]; }
    bool getAutoSizeDSF() const { return Bools[AutoSizeDSF]; }
    bool getAutoSizeSummary() const { return Bools[AutoSizeSummary]; }
    bool getBackupDF() const { return Bools[BackupDF]; }
    bool getImportTaskFldDesc() const { return Bools[ImportTaskFldDesc]; }
    bool getIncBackup() const { return Bools[IncBackup]; }
    bool getPromptOnCreateOFFolder() const { return Bools[PromptOnCreateOFFolder]; }
    bool getPromptOnOverwriteOF() const { return Bools[PromptOnOverwriteOF]; }
    bool getPromptOnProcess() const { return Bools[PromptOnProcess]; }
    bool getPurgeMRU() const { return Bools[PurgeMRU]; }
    bool getShowHints() const { return Bools[ShowHints]; }
    bool getShowToolBarCaptions() const { return Bools[ShowToolBarCaptions]; }

    void setAutoAlignBrowseFld(bool v) { setBool(AutoAlignBrowseFld, v); }
    void setAutoAlignBrowseVal(bool v) { setBool(AutoAlignBrowseVal, v); }
    void setAutoAlignBrowseWS(bool v) { setBool(AutoAlignBrowseWS, v); }
    void setAutoSizeCfgErr(bool v) { setBool(AutoSizeCfgErr, v); }
    void setAutoSizeDFVErr(bool v) { setBool(AutoSizeDFVErr, v); }
    void setAutoSizeBrowseFile(bool v) { setBool(AutoSizeBrowseFile, v); }
    void setAutoSizeBrowseFld(bool v) { setBool(AutoSizeBrowseFld, v); }
    void setAutoSizeBrowseVal(bool v) { setBool(AutoSizeBrowseVal, v); }
    void setAutoSizeBrowseWS(bool v) { setBool(AutoSizeBrowseWS, v); }
    void setAutoSizeDSM(bool v) { setBool(AutoSizeDSM, v); }
    void setAutoSizeDSF(bool v) { setBool(AutoSizeDSF, v); }
    void setAutoSizeSummary(bool v) { setBool(AutoSizeSummary, v); }
    void setBackupDF(bool v) { setBool(BackupDF, v); }
    void setImportTaskFldDesc(bool v) { setBool(ImportTaskFldDesc, v); }
    void setIncBackup(bool v) { setBool(IncBackup, v); }
    void setPromptOnCreateOFFolder(bool v) { setBool(PromptOnCreateOFFolder, v); }
    void setPromptOnOverwriteOF(bool v) { setBool(PromptOnOverwriteOF, v); }
    void setPromptOnProcess(bool v) { setBool(PromptOnProcess, v); }
    void setPurgeMRU(bool v) { setBool(PurgeMRU, v); }
    void setShowHints(bool v) { setBool(ShowHints, v); }
    void setShowToolBarCaptions(bool v) { setBool(ShowToolBarCaptions, v); }

    int getDefaultTFDDLItemIndex() const { return TFDDLItemIndex; }
    void setDefaultTFDDLItemIndex(int value);
    QString getDefaultTFOther() const { return TFOther.trimmed(); }
    void setDefaultTFOther(const QString& value);
    int getDefaultOFFolderDDLItemIndex() const { return OFFolderDDLItemIndex; }
    void setDefaultOFFolderDDLItemIndex(int value);
    QString getDefaultOFFolderOther() const { return OFFolderOther.trimmed(); }
    void setDefaultOFFolderOther(const QString& value);
    int getDefaultXLExtn() const { return XLExtn; }
    // True when the value is refused (above 2); a stored value above 2 is first reset to 0.
    bool setDefaultXLExtn(int value);
    int getHintHidePause() const { return HintHidePauseMs; }
    void setHintHidePause(int value);
    int getHintPause() const { return HintPauseMs; }
    void setHintPause(int value);
    int getImportTaskFldValueCount() const { return TaskFldValueCount; }
    void setImportTaskFldValueCount(int value);

    static bool IsInvalidXLExtn(int value);
    static QString XLExtnToText(int value);
    static int TextToXLExtn(const QString& text);

    // Registers the data file's type and its backups' with the desktop; true on success, else the
    // standard dialogue "UP001" and false.
    bool RegisterFileTypes();

    // Whether an option's stored value could not be read by the last Load (and is left alone by
    // Save until the option is changed).
    bool isUnread(Option option) const { return Unread.contains(option); }

    // Excel's default workbook extension ("xls" or "xlsx"), supplied by the Excel layer; "xlsx"
    // until it is installed.
    static void setExcelDefaultExtension(std::function<QString()> source);
    static QString ExcelDefaultExtension();

private:
    void changed(Option option) { Unread.remove(option); }

    QString RegKey;
    QString TemplateXLS;
    QString TemplateXLSX;
    std::array<bool, BoolCount> Bools{};
    int TFDDLItemIndex = 1;
    QString TFOther;
    int OFFolderDDLItemIndex = 2;
    QString OFFolderOther;
    int XLExtn = 0;
    int HintHidePauseMs = 2500;
    int HintPauseMs = 500;
    int TaskFldValueCount = 3;
    QSet<int> Unread;
};

extern TovUP* UP;
