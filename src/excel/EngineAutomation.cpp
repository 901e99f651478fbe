// The spreadsheet object model the adapters drive, carried out by the built-in engine.
#include "Automation.h"
#include "XLFrame.h"
#include "workbook/Application.h"
#include "workbook/Error.h"
#include "workbook/XlsConvert.h"

#include <QFileInfo>

namespace automation {
namespace {

Value fromCell(const workbook::CellValue& cell) {
    switch (cell.kind()) {
    case workbook::CellValue::Kind::Empty:
        return {};
    case workbook::CellValue::Kind::Number:
        return cell.toNumber();
    case workbook::CellValue::Kind::Date:
        return DateSerial{cell.toNumber()};
    case workbook::CellValue::Kind::Text:
        return cell.toText();
    case workbook::CellValue::Kind::Boolean:
        return cell.toBool();
    case workbook::CellValue::Kind::Error:
        return CellError{cell.toText()};
    }
    return {};
}

workbook::CellValue toCell(const Value& value) {
    struct Visitor {
        workbook::CellValue operator()(std::monostate) const { return {}; }
        workbook::CellValue operator()(double v) const { return workbook::CellValue::number(v); }
        workbook::CellValue operator()(const QString& v) const {
            return workbook::CellValue::text(v);
        }
        workbook::CellValue operator()(bool v) const { return workbook::CellValue::boolean(v); }
        workbook::CellValue operator()(const CellError& v) const {
            return workbook::CellValue::text(v.text);
        }
        workbook::CellValue operator()(const DateSerial& v) const {
            return workbook::CellValue::number(v.serial);
        }
    };
    return std::visit(Visitor{}, value);
}

// Engine errors become automation failures with the same message ("OLE error 800a03ec" for a
// rejected reference without a description).
template <class F> auto guarded(F&& f) -> decltype(f()) {
    try {
        return f();
    } catch (const workbook::Error& e) {
        throw Failure::fromCode(e.code(), e.description());
    }
}

// For the length of an open or a save: while LibreOffice converts an .xls workbook (seconds), the
// program's messages are processed, so that the progress window keeps painting its step line,
// and the user's Cancel ends the conversion with the silent abort.
class ConversionWait {
public:
    ConversionWait()
        : previous_(workbook::XlsConverter::setWaitHook([] {
              if (hasXLEnvironment()) {
                  PumpAndTestCancel(xlEnvironment());
              }
          })) {}
    ~ConversionWait() { workbook::XlsConverter::setWaitHook(std::move(previous_)); }
    ConversionWait(const ConversionWait&) = delete;
    ConversionWait& operator=(const ConversionWait&) = delete;

private:
    workbook::XlsConverter::WaitHook previous_;
};

class EngineRange : public Range {
public:
    explicit EngineRange(workbook::Range range) : range_(std::move(range)) {}

    Column value2() override {
        return guarded([&] {
            // The first column's cells straight into the block: a task sheet's column is read
            // without a copy of it in the engine's values.
            Column out;
            out.reserve(static_cast<size_t>(range_.rowCount()));
            const int columns = range_.columnCount();
            int cell = 0;
            range_.eachValue2([&](workbook::CellValue&& value) {
                if (cell++ % columns == 0) {
                    out.push_back(fromCell(value));
                }
            });
            return out;
        });
    }
    Value value() override {
        return guarded([&] { return fromCell(range_.value()); });
    }
    QString text() override {
        return guarded([&] { return range_.text(); });
    }
    void setValue(const Column& values, int) override {
        // Converted value by value as they are written: a copy of a whole column would be
        // fresh memory for every column written.
        guarded([&] {
            range_.setValues(static_cast<size_t>(range_.rowCount()), [&values](size_t i) {
                return i < values.size() ? toCell(values[i]) : workbook::CellValue();
            });
        });
    }
    void select() override {
        guarded([&] { range_.select(); });
    }
    void copy() override {
        guarded([&] { range_.copy(); });
    }
    void setEntireRowHidden(bool hidden) override {
        guarded([&] { range_.entireRow().setHidden(hidden); });
    }
    void setEntireColumnHidden(bool hidden) override {
        guarded([&] { range_.entireColumn().setHidden(hidden); });
    }
    void deleteEntireRows(int) override {
        guarded([&] { sheet().deleteRows(range_.row(), range_.lastRow()); });
    }
    void insertEntireRows(int, bool) override {
        guarded([&] { sheet().insertRows(range_.row(), range_.lastRow()); });
    }
    void setFontColor(int colour) override {
        guarded([&] { range_.font().setColor(colour); });
    }
    void setInteriorColor(int colour) override {
        guarded([&] { range_.interior().setColor(colour); });
    }

    void setSheet(std::shared_ptr<workbook::Worksheet> sheet) { sheet_ = std::move(sheet); }

private:
    workbook::Worksheet& sheet() {
        if (!sheet_) {
            throw Failure::fromCode(workbook::kRejectedReference);
        }
        return *sheet_;
    }

    workbook::Range range_;
    std::shared_ptr<workbook::Worksheet> sheet_;
};

class EngineWorksheet : public Worksheet {
public:
    explicit EngineWorksheet(workbook::Worksheet sheet)
        : sheet_(std::make_shared<workbook::Worksheet>(std::move(sheet))) {}

    QString name() override {
        return guarded([&] { return sheet_->name(); });
    }
    void activate(int) override {
        guarded([&] { sheet_->activate(); });
    }
    void setAutoFilterMode(bool on, int) override {
        guarded([&] { sheet_->setAutoFilterMode(on); });
    }
    int usedRangeLastColumn(int) override {
        return guarded([&] { return sheet_->usedRange().lastColumn(); });
    }
    int usedRangeLastRow(int) override {
        return guarded([&] { return sheet_->usedRange().lastRow(); });
    }
    std::unique_ptr<Range> range(const QString& cell1, const QString& cell2) override {
        return guarded([&] { return wrap(sheet_->range(cell1, cell2)); });
    }
    std::unique_ptr<Range> cell(int row, int column) override {
        return guarded([&] { return wrap(sheet_->cells(row, column)); });
    }
    std::vector<RowSpan> chartRowSpans() override {
        return guarded([&] {
            std::vector<RowSpan> spans;
            for (const auto& [first, last] : sheet_->chartRowSpans()) {
                spans.push_back({first, last});
            }
            return spans;
        });
    }

private:
    std::unique_ptr<Range> wrap(workbook::Range range) {
        auto r = std::make_unique<EngineRange>(std::move(range));
        r->setSheet(sheet_);
        return r;
    }

    std::shared_ptr<workbook::Worksheet> sheet_;
};

class EngineWorkbook : public Workbook {
public:
    explicit EngineWorkbook(workbook::Workbook book) : book_(std::move(book)) {}

    void activate(int) override {
        guarded([&] { book_.activate(); });
    }
    int worksheetCount() override {
        return guarded([&] { return book_.worksheets().count(); });
    }
    std::shared_ptr<Worksheet> worksheet(int index) override {
        return guarded(
            [&] { return std::make_shared<EngineWorksheet>(book_.worksheets().item(index)); });
    }
    std::shared_ptr<Worksheet> worksheet(const QString& name) override {
        return guarded(
            [&] { return std::make_shared<EngineWorksheet>(book_.worksheets().item(name)); });
    }
    void saveAs(const SaveAsArgs& args) override {
        const ConversionWait wait;
        guarded([&] {
            workbook::FileFormat format = workbook::FileFormat::Xlsx;
            if (args.fileFormat == kFormatExcel8 ||
                (args.fileFormat == 0 &&
                 QFileInfo(args.fileName)
                         .suffix()
                         .compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)) {
                format = workbook::FileFormat::Xls;
            }
            book_.saveAs(args.fileName, format);
        });
    }
    void close(bool, int) override {
        guarded([&] { book_.close(); });
    }

private:
    workbook::Workbook book_;
};

class EngineApplication : public Application {
public:
    void setVisible(bool visible, int) override { app_.setVisible(visible); }
    void setDisplayAlerts(bool alerts, int) override { app_.setDisplayAlerts(alerts); }
    void openWorkbook(const OpenArgs& args) override {
        const ConversionWait wait;
        guarded([&] { app_.workbooks().open(args.fileName, args.password); });
    }
    std::shared_ptr<Workbook> activeWorkbook() override {
        return guarded([&] { return std::make_shared<EngineWorkbook>(app_.activeWorkbook()); });
    }
    bool activeWindowFreezePanes() override {
        return guarded([&] { return app_.activeWindow().freezePanes(); });
    }
    bool activeWindowSplit() override {
        return guarded([&] { return app_.activeWindow().split(); });
    }
    void setActiveWindowSplit(bool split) override {
        guarded([&] { app_.activeWindow().setSplit(split); });
    }
    std::unique_ptr<Range> range(const QString& cell1, const QString& cell2) override {
        return guarded([&] { return std::make_unique<EngineRange>(app_.range(cell1, cell2)); });
    }
    void quit() override {
        guarded([&] { app_.quit(); });
    }

private:
    workbook::Application app_;
};

} // namespace

std::unique_ptr<Application> createEngineApplication() {
    return std::make_unique<EngineApplication>();
}

} // namespace automation
