#pragma once

#include "Automation.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

class TovXL;
class XLEnvironment;

// What differs between the spreadsheet versions the adapters are written for: the argument lists
// of Workbooks.Open, SaveAs, Range.Value and Range.Insert.
struct TXLAdapterTraits {
    uint8_t Version;
    bool OpenTakesLocalAndCorruptLoad; // 2002 and later
    bool SaveAsTakesFileFormat;        // 2007 and later: 51 or 56 from the target extension
    bool ValueTakesDataType;           // 2002 and later: RangeValueDataType 10
    bool InsertTakesCopyOrigin;        // 2002 and later: CopyOrigin passed as missing
};

// The operations every version adapter carries out, in one core: each runs inside the adapter
// frame (message pump, Cancel test, errors protocol) and drives the spreadsheet object model.
class TovXLAdapter {
public:
    TovXLAdapter(TovXL& owner, const TXLAdapterTraits& traits);
    virtual ~TovXLAdapter();
    TovXLAdapter(const TovXLAdapter&) = delete;
    TovXLAdapter& operator=(const TovXLAdapter&) = delete;

    const TXLAdapterTraits& traits() const { return Traits; }
    int getLCID() const { return LCID; }
    bool holdsApplication() const { return Application != nullptr; }
    bool holdsWorkbook() const { return Workbook != nullptr; }
    bool holdsWorksheet() const { return Worksheet != nullptr; }

    void StartExcel(bool visible);
    void OpenWorkbook(const QString& path, const QString& password, const QString& writeResPassword,
                      bool readOnly);
    bool WorksheetExists(const QString& name);
    void InitWorksheet();
    void UnhideColumns();
    void UnhideRows();
    void DeleteRows(int intFirstRow, int intLastRow);
    void InsertRows(int intFirstRow, int intLastRow);
    std::vector<automation::RowSpan> ChartRowSpans();
    void SelectCell(const QString& cell);
    void ExtractRawValues(const QString& letters, int intFirstRow, int intLastRow);
    void ExtractFmtValues(const QString& letters, int intFirstRow, int intLastRow);
    void ListWorksheets(int listIndex);
    void ExtractFldList(int intHeaderRow);
    void InsertValues(const QString& letters, int intFirstRow, int intLastRow);
    void InsertText(const QString& cell, const QString& text);
    void InsertNumber(const QString& cell, double number);
    void SetFontColour(const QString& cell, int colour);
    void SetBackgroundColour(const QString& cell, int colour);
    void SaveWorkbookAs(const QString& newDesc, const QString& newPath);
    void CloseWorkbook(bool saveChanges);
    void QuitExcel();

private:
    using Lines = std::function<QStringList(platform::Exception&)>;
    // The adapter frame: pump, record context, Cancel test, body under the errors protocol, pump.
    void Frame(const std::function<void()>& body, const Lines& lines,
               const std::function<void()>& recordContext = {});
    // The two context lines that end most operations' error lines.
    QStringList ContextLines() const;
    QStringList ExtractMessageLines(platform::Exception& e, const QString& letters, int hint) const;
    automation::Application& app();
    automation::Workbook& book();
    automation::Worksheet& sheet();
    void ActivateSheet();
    void ReleaseReferences();
    void WriteColumn(const QString& first, const QString& last, const automation::Column& values);

    TovXL& Owner;
    XLEnvironment& Env;
    TXLAdapterTraits Traits;
    int LCID = 0;
    std::unique_ptr<automation::Application> Application;
    std::shared_ptr<automation::Workbook> Workbook;
    std::shared_ptr<automation::Worksheet> Worksheet;
    std::shared_ptr<automation::Worksheet> ListWorksheet;
};
