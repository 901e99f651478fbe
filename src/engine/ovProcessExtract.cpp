// The first stages of a run: Excel is started, the two input workbooks are checked for the
// worksheets the definition names, and the tasks are read out of the Data Source File.
#include "ovProcess.h"

#include "engine/ProcessExcel.h"
#include "engine/StageProgress.h"
#include "excel/ovXL.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/NumberUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <variant>

using engine::kPair;
using engine::xl;
using platform::Format;

namespace {

// The number of a quantity cell: a number as it stands, anything else read leniently from its
// text (a text that is not a number gives 0).
double NumberOf(const automation::Value& value, const QString& text) {
    if (const double* number = std::get_if<double>(&value)) {
        return *number;
    }
    if (const auto* date = std::get_if<automation::DateSerial>(&value)) {
        return date->serial;
    }
    return ParseNumberLenient(text);
}

// Whether a cell's text shows anything but white space (the test of QString::trimmed, without
// making a trimmed copy).
bool ShowsText(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

// Where the cells of one Data Source Map entry go in a task row: a text or a number.
struct MapField {
    QString engine::TaskRow::*text = nullptr;
    double engine::TaskRow::*number = nullptr;
};

// The field of a map entry: the date columns keep their texts, the quantity columns numbers; an
// entry without a field is only read for the blank row test.
MapField MapFieldOf(int entry) {
    static const MapField kFields[10] = {
        {},
        {&engine::TaskRow::BLStartText, nullptr},
        {&engine::TaskRow::BLFinishText, nullptr},
        {nullptr, &engine::TaskRow::BLManHours},
        {nullptr, &engine::TaskRow::BLCost},
        {&engine::TaskRow::StartText, nullptr},
        {&engine::TaskRow::FinishText, nullptr},
        {nullptr, &engine::TaskRow::ManHoursValue},
        {nullptr, &engine::TaskRow::CostValue},
        {nullptr, &engine::TaskRow::PctComplete},
    };
    return entry >= 1 && entry <= 9 ? kFields[entry] : MapField{};
}

// The texts of the numbers in the date columns, made once for each number and shared by the rows
// that hold it: the dates of a task sheet repeat the same few thousand days. A slot keeps the last
// number that came to it; whole numbers take the slot of their value, so that any run of days as
// long as the table has a slot of its own.
class NumberTexts {
public:
    explicit NumberTexts(std::size_t rows)
        : slots_(std::bit_ceil(std::clamp<std::size_t>(rows, 64, 8192))) {}

    const QString& text(double number) {
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(number);
        const bool whole = std::fabs(number) < 1e15 && std::trunc(number) == number;
        const std::uint64_t key =
            whole ? static_cast<std::uint64_t>(static_cast<std::int64_t>(number))
                  : bits * 0x9E3779B97F4A7C15ULL >> 32;
        Slot& slot = slots_[static_cast<std::size_t>(key & (slots_.size() - 1))];
        if (!slot.used || slot.bits != bits) {
            slot = {bits, true, automation::valueToText(number)};
        }
        return slot.text;
    }

private:
    struct Slot {
        std::uint64_t bits = 0;
        bool used = false;
        QString text;
    };
    std::vector<Slot> slots_;
};

// Stores one column's cells (rows past the end of `values` are empty) in the task rows and marks
// the rows where a cell shows text. A number is stored as it stands: its text, never blank, is
// not made (a large task sheet holds hundreds of thousands of them); in a text field it takes the
// shared text of the number.
void ReadColumn(const MapField& field, const automation::Column& values, NumberTexts& numberTexts,
                std::vector<engine::TaskRow>& rows, std::vector<bool>& filled) {
    static const automation::Value kEmpty;
    for (std::size_t t = 0; t < rows.size(); ++t) {
        const automation::Value& value = t < values.size() ? values[t] : kEmpty;
        engine::TaskRow& row = rows[t];
        if (const double* number = std::get_if<double>(&value)) {
            if (field.number != nullptr) {
                row.*field.number = *number;
            } else if (field.text != nullptr) {
                row.*field.text = numberTexts.text(*number);
            }
            filled[t] = true;
            continue;
        }
        QString text = automation::valueToText(value);
        if (ShowsText(text)) {
            filled[t] = true;
        }
        if (field.number != nullptr) {
            row.*field.number = NumberOf(value, text);
        } else if (field.text != nullptr) {
            row.*field.text = std::move(text);
        }
    }
}

// Raises unless the header row leaves a task row within the sheet of the open workbook. The
// window repairs such a row when it loads a data file, but a run may come from elsewhere: a row
// past the sheet would overflow the task row numbers, a negative one ask for billions of rows.
void RequireTaskRowsInSheet(int headerRow, const QString& fileDesc, const QString& filePath) {
    const int lastHeaderRow = xl().MaxRows() - 1;
    if (headerRow >= 1 && headerRow <= lastHeaderRow) {
        return;
    }
    const QString caption = UIT(txt::TaskHeaderRow_751);
    const QStringList lines = {
        Format(UIT(txt::IsInvalid), {caption}),
        QString(),
        Format(UIT(txt::ValidRange), {1, lastHeaderRow}),
        QString(),
        Format(kPair, {caption, QString::number(headerRow)}),
        QString(),
        Format(kPair, {fileDesc, filePath}),
        QString(),
        Format(UIT(txt::PleaseEnterValid), {caption}),
    };
    throw platform::Exception(lines.join(QStringLiteral("\r\n")));
}

} // namespace

void TovProcess::OpenInputWorkbook(const QString& desc, const QString& path,
                                   const QString& password) {
    stages().step(Format(UIT(txt::Opening), {desc}));
    xl().setFileDesc(desc);
    xl().setFilePath(path);
    xl().OpenWorkbook(path, password, QString(), true);
    stages().complete();
}

void TovProcess::CloseInputWorkbook(const QString& desc) {
    stages().step(Format(UIT(txt::Closing), {desc}));
    xl().CloseWorkbook(false);
    stages().complete();
}

void TovProcess::RaiseMissingWorksheet(int textId, const QString& fileDesc,
                                       const QString& filePath) {
    const QString wsDesc = xl().getWorksheetDesc();
    const QString wsName = xl().getWorksheetName();
    const QStringList lines = {
        Format(UIT(textId), {wsDesc, fileDesc}), QString(),
        Format(kPair, {wsDesc, wsName}),         QString(),
        Format(kPair, {fileDesc, filePath}),
    };
    xl().CloseWorkbook(false);
    xl().QuitExcel();
    throw platform::Exception(lines.join(QStringLiteral("\r\n")));
}

void TovProcess::CheckWorksheet(const QString& desc, const QString& name, const QString& fileDesc,
                                const QString& filePath) {
    stages().step(Format(UIT(txt::VerifyingExists), {desc}));
    xl().setWorksheetDesc(desc);
    xl().setWorksheetName(name);
    if (!xl().WorksheetExists(name)) {
        RaiseMissingWorksheet(txt::WasNotFound_1579, fileDesc, filePath);
    }
    stages().complete();
}

void TovProcess::PrepareExcel() {
    stages().runStage([&] {
        stages().step(UIT(txt::OpeningMSExcel));
        xl().StartExcel(false);
        stages().complete();
    });
    CheckDataSourceFile();
    CheckTemplateFile();
}

void TovProcess::CheckDataSourceFile() {
    stages().runStage([&] {
        OpenInputWorkbook(DSFDesc, DSFPath, DSFPassword);
        CheckWorksheet(TaskWSDesc, TaskWSName, DSFDesc, DSFPath);
        CloseInputWorkbook(DSFDesc);
    });
}

void TovProcess::CheckTemplateFile() {
    stages().runStage([&] {
        OpenInputWorkbook(TFDesc, TFPath, TFPassword);
        CheckWorksheet(PSWSDesc, PSWSName, TFDesc, TFPath);
        CheckWorksheet(CDWSDesc, CDWSName, TFDesc, TFPath);
        CloseInputWorkbook(TFDesc);
    });
}

void TovProcess::ExtractTasks() {
    stages().runStage([&] {
        OpenInputWorkbook(DSFDesc, DSFPath, DSFPassword);
        xl().setWorksheetDesc(TaskWSDesc);
        xl().setWorksheetName(TaskWSName);
        if (!xl().WorksheetExists(TaskWSName)) {
            RaiseMissingWorksheet(txt::WasNotFound, DSFDesc, DSFPath);
        }
        stages().step(Format(UIT(txt::Initialising_454), {TaskWSDesc}));
        xl().InitWorksheet();
        stages().complete();

        ExtractMapFields();
        if (Options.FilterEnabled) {
            ExtractFilterFields();
        }

        CloseInputWorkbook(xl().getFileDesc());
        stages().step(UIT(txt::ClosingMSExcel));
        xl().QuitExcel();
        stages().complete();
    });
}

void TovProcess::ExtractMapFields() {
    stages().runStage([&] {
        RequireTaskRowsInSheet(TaskHeaderRow, DSFDesc, DSFPath);
        const int first = TaskHeaderRow + 1;
        const int last = xl().getUsedRowCount();
        const int count = last - first + 1;
        if (count < 1) {
            const QString wsDesc = xl().getWorksheetDesc();
            const QStringList lines = {
                Format(UIT(txt::DoesNotContainAnyTasks), {wsDesc}), QString(),
                Format(kPair, {wsDesc, xl().getWorksheetName()}),   QString(),
                Format(UIT(txt::PleaseSelectValid_1462), {wsDesc}),
            };
            throw platform::Exception(lines.join(QStringLiteral("\r\n")));
        }
        Results.TaskRowCount = count;
        Results.TaskCount = count;
        Tasks.Rows.assign(static_cast<std::size_t>(count), engine::TaskRow());
        Tasks.FilterValues.clear();

        const TovDSM& dsm = *sd()->DSM;
        std::vector<int> required;
        for (int i = 1; i <= dsm.getCount(); ++i) {
            if (dsm.getItems(i)->getTaskFldRequired()) {
                required.push_back(i);
            }
        }
        const int r = static_cast<int>(required.size());
        std::vector<bool> filled(static_cast<std::size_t>(count), false);

        stages().beginCount(txt::ExtractingDataSourceMapTask, r);
        NumberTexts numberTexts(static_cast<std::size_t>(count));
        // The limits are asked for every column read.
        const TovXL::VersionHold holdVersion(xl());
        int done = 0;
        for (int entry : required) {
            xl().ExtractRawValues(dsm.getItems(entry)->getTaskFldXL(), first, last);
            ReadColumn(MapFieldOf(entry), xl().Values, numberTexts, Tasks.Rows, filled);
            stages().countItem(++done);
        }
        stages().endCount();

        // A row with every required cell empty is blank; the validation counts it as invalid.
        for (std::size_t t = 0; t < filled.size(); ++t) {
            Tasks.Rows[t].Blank = !filled[t];
        }
        xl().Values.clear();
    });
}

void TovProcess::ExtractFilterFields() {
    stages().runStage([&] {
        const int count = Tasks.taskCount();
        const int first = TaskHeaderRow + 1;
        const int last = TaskHeaderRow + count;
        const TovDSF& dsf = *sd()->DSF;
        const int f = dsf.getCount();
        Tasks.FilterValues.assign(static_cast<std::size_t>(f),
                                  std::vector<QString>(static_cast<std::size_t>(count)));

        stages().beginCount(txt::ExtractingDataSourceFilterTask, f);
        for (int j = 1; j <= f; ++j) {
            xl().ExtractFmtValues(dsf.getItems(j)->getTaskFldXL(), first, last);
            std::vector<QString>& column = Tasks.FilterValues[static_cast<std::size_t>(j - 1)];
            for (int k = 1; k <= count; ++k) {
                column[static_cast<std::size_t>(k - 1)] =
                    automation::valueToText(xl().getValues(k));
            }
            stages().countItem(j);
        }
        stages().endCount();
        xl().Values.clear();
    });
}
