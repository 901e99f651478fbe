#pragma once

#include "Automation.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

class TovXLAdapter;

// Spreadsheet program versions, as detected from the registry.
enum TExcelVersion : uint8_t {
    evNotInstalled = 0,
    ev97 = 1,
    ev2000 = 2,
    ev2002 = 3,
    ev2003 = 4,
    ev2007 = 5,
    ev2010 = 6,
    ev2013 = 7
};

// The single entry to the spreadsheet program: detects the installed version, answers the
// questions that depend on it (limits, default extension, column letters), and carries out every
// workbook operation through the adapter of the version found at start-up. Holds the texts that
// name the workbook and worksheet in use for messages, the value blocks exchanged with the
// engine, and Errors, the lines that describe the last failed operation.
class TovXL {
public:
    TovXL();
    ~TovXL();
    TovXL(const TovXL&) = delete;
    TovXL& operator=(const TovXL&) = delete;

    // Version, limits and conversions; each query detects the version anew, except while a
    // VersionHold is alive.
    uint8_t getVersion();
    bool IsExcelInstalled();
    bool IsOldExcel();
    bool WarnExcelMissing();
    QString ExcelVersionText();
    QString DefaultExtension();
    int MaxColumns();
    int MaxRows();
    bool IsExcel64Bit() const;
    QString ColumnToLetters(int column);
    static int LettersToColumn(const QString& letters, int limit);
    void ParseClipboardValues(const QString& letters, int n);
    void ResetUsedRange();

    uint8_t getType() const { return Type; }
    int getUsedColCount() const { return UsedColCount; }
    int getUsedRowCount() const { return UsedRowCount; }
    void setUsedColCount(int value);
    void setUsedRowCount(int value);
    QString getFileDesc() const { return FileDesc; }
    QString getFilePath() const { return FilePath; }
    QString getWorksheetDesc() const { return WorksheetDesc; }
    QString getWorksheetName() const { return WorksheetName; }
    void setFileDesc(const QString& value);
    void setFilePath(const QString& value);
    void setWorksheetDesc(const QString& value);
    void setWorksheetName(const QString& value);

    // Element [i, 1] of the last extraction, i from 1; empty beyond the block.
    automation::Value getValues(int i) const;
    int getValuesCount() const { return static_cast<int>(Values.size()); }
    automation::Column Values;
    automation::Column InsertData;
    QStringList Errors;

    // Operations, dispatched to the adapter of the stored version.
    void StartExcel(bool visible);
    void OpenWorkbook(const QString& path, const QString& password, const QString& writeResPassword,
                      bool readOnly);
    bool WorksheetExists(const QString& name);
    void InitWorksheet();
    void DeleteRows(int intFirstRow, int intLastRow);
    void InsertRows(int intFirstRow, int intLastRow);
    // The rows of the current worksheet that the workbook's charts read (Automation.h).
    std::vector<automation::RowSpan> ChartRowSpans();
    void SelectCell(const QString& cell);
    void ExtractRawValues(const QString& letters, int intFirstRow, int intLastRow);
    void ExtractFmtValues(const QString& letters, int intFirstRow, int intLastRow);
    void ListWorksheets(int listIndex);
    void ExtractFldList(int intHeaderRow);
    void ExtractValList(const QString& letters, int listIndex, int intFirstRow, int intLastRow);
    void InsertValues(const QString& letters, int intFirstRow, int intLastRow);
    void InsertText(const QString& cell, const QString& text);
    void InsertNumber(const QString& cell, double number);
    void SetFontColour(const QString& cell, int colour);
    void SetBackgroundColour(const QString& cell, int colour);
    void SaveWorkbookAs(const QString& newDesc, const QString& newPath);
    void CloseWorkbook(bool saveChanges);
    void QuitExcel();

    // The adapter of the stored version, or nullptr (tests).
    TovXLAdapter* adapter() const;

    // While a run drives the spreadsheet program the program cannot be replaced: for the life of
    // a hold the version is detected once, on the first query, and kept, so that the limits
    // asked for every column written do not read the registry each time.
    class VersionHold {
    public:
        explicit VersionHold(TovXL& xl);
        ~VersionHold();
        VersionHold(const VersionHold&) = delete;
        VersionHold& operator=(const VersionHold&) = delete;

    private:
        TovXL& Xl;
        bool Outer;
    };

private:
    uint8_t DetectExcelVersion();
    void CheckRow(int value, int low, int high, const QString& name);
    // The adapter for the stored version; nullptr when no version is installed. Raises when
    // the version changed since start-up and has no adapter.
    TovXLAdapter* dispatch();

    uint8_t Type = evNotInstalled;
    bool VersionHeld = false;     // a VersionHold is alive
    bool VersionDetected = false; // ... and the version was detected under it
    int UsedColCount = 0;
    int UsedRowCount = 0;
    QString FileDesc;
    QString FilePath;
    QString WorksheetDesc;
    QString WorksheetName;
    std::array<std::unique_ptr<TovXLAdapter>, 8> Adapters;
};

extern TovXL* XL;
