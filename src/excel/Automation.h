#pragma once

#include "platform/Exception.h"

#include <QString>
#include <memory>
#include <variant>
#include <vector>

// The spreadsheet object model the version adapters drive: application, workbooks, worksheets and
// ranges with the members the program uses. The built-in spreadsheet engine implements it
// (EngineAutomation); tests substitute scripted fakes.
namespace automation {

// An error value held by a cell (#N/A, #DIV/0! ...), by its displayed text.
struct CellError {
    QString text;
    bool operator==(const CellError&) const = default;
};

// A number read from a cell with a date format (Range.Value only): its serial day number.
struct DateSerial {
    double serial = 0;
    bool operator==(const DateSerial&) const = default;
};

// A cell value: empty, number (dates as serial day numbers), text, boolean, error value, or a
// date (Range.Value of a date-formatted cell).
using Value = std::variant<std::monostate, double, QString, bool, CellError, DateSerial>;

// A block of values, rows 1..n of one column (element i-1 holds row i).
using Column = std::vector<Value>;

inline constexpr int kLocaleUserDefault = 1024;
inline constexpr int kFormatOpenXmlWorkbook = 51; // .xlsx
inline constexpr int kFormatExcel8 = 56;          // .xls
inline constexpr int kShiftUp = -4162;
inline constexpr int kShiftDown = -4121;
inline constexpr int kRangeValueDefault = 10;

// A failure of an automation call: the spreadsheet's description, or "OLE error %.8x" of its
// code when it gives none.
class Failure : public platform::Exception {
public:
    using platform::Exception::Exception;
    static Failure fromCode(uint32_t code, const QString& description = QString());
};

// Arguments of Workbooks.Open that the adapters set; the others are passed as missing.
struct OpenArgs {
    QString fileName;
    bool updateLinks = false;
    bool readOnly = true;
    QString password;
    QString writeResPassword;
    bool ignoreReadOnlyRecommended = true;
    bool notify = false;
    bool addToMru = false;
    bool localAndCorruptLoadMissing = false; // the versions that know these arguments
    int lcid = kLocaleUserDefault;
};

// Arguments of Workbook.SaveAs that the adapters set.
struct SaveAsArgs {
    QString fileName;
    int fileFormat = 0; // 0: missing
    bool readOnlyRecommended = false;
    int accessMode = 1; // xlNoChange
    bool addToMru = false;
    int lcid = kLocaleUserDefault;
};

class Range {
public:
    virtual ~Range() = default;
    // One cell: a single value. Several cells: one value per row of the first column.
    virtual Column value2() = 0;
    virtual Value value() = 0;
    virtual QString text() = 0;
    // Writes one value per row of the range; dataType 0 means the argument is left out.
    virtual void setValue(const Column& values, int dataType) = 0;
    virtual void select() = 0;
    // Copies the cells' displayed texts to the private clipboard (platform/PrivateClipboard.h):
    // one line per row ended by CR LF.
    virtual void copy() = 0;
    virtual void setEntireRowHidden(bool hidden) = 0;
    virtual void setEntireColumnHidden(bool hidden) = 0;
    virtual void deleteEntireRows(int shift) = 0;
    // copyOriginMissing: the versions whose Insert takes CopyOrigin pass it as missing.
    virtual void insertEntireRows(int shift, bool copyOriginMissing) = 0;
    virtual void setFontColor(int colour) = 0;
    virtual void setInteriorColor(int colour) = 0;
};

// Rows first..last of a worksheet.
struct RowSpan {
    int first = 0;
    int last = 0;
    bool operator==(const RowSpan&) const = default;
};

class Worksheet {
public:
    virtual ~Worksheet() = default;
    virtual QString name() = 0;
    virtual void activate(int lcid) = 0;
    virtual void setAutoFilterMode(bool on, int lcid) = 0;
    // The last column and row of the used range (counted from A1, not the range's own counts).
    virtual int usedRangeLastColumn(int lcid) = 0;
    virtual int usedRangeLastRow(int lcid) = 0;
    virtual std::unique_ptr<Range> range(const QString& cell1, const QString& cell2) = 0;
    virtual std::unique_ptr<Range> cell(int row, int column) = 0;
    // The rows of every cell or block of the worksheet that a chart of the workbook reads; none
    // where the program cannot tell.
    virtual std::vector<RowSpan> chartRowSpans() { return {}; }
};

class Workbook {
public:
    virtual ~Workbook() = default;
    virtual void activate(int lcid) = 0;
    virtual int worksheetCount() = 0;
    virtual std::shared_ptr<Worksheet> worksheet(int index) = 0;
    virtual std::shared_ptr<Worksheet> worksheet(const QString& name) = 0;
    virtual void saveAs(const SaveAsArgs& args) = 0;
    virtual void close(bool saveChanges, int lcid) = 0;
};

class Application {
public:
    virtual ~Application() = default;
    virtual void setVisible(bool visible, int lcid) = 0;
    virtual void setDisplayAlerts(bool alerts, int lcid) = 0;
    virtual void openWorkbook(const OpenArgs& args) = 0;
    virtual std::shared_ptr<Workbook> activeWorkbook() = 0;
    virtual bool activeWindowFreezePanes() = 0;
    virtual bool activeWindowSplit() = 0;
    virtual void setActiveWindowSplit(bool split) = 0;
    virtual std::unique_ptr<Range> range(const QString& cell1, const QString& cell2) = 0;
    virtual void quit() = 0;
};

// Creates the application object of the spreadsheet program: the built-in engine unless a test
// installed another factory. Raises Failure when no application can be created.
using ApplicationFactory = std::unique_ptr<Application> (*)();
std::unique_ptr<Application> createApplication();
ApplicationFactory setApplicationFactory(ApplicationFactory factory);

// The value as text, as the platform's variant conversion gives it.
QString valueToText(const Value& value);

} // namespace automation
