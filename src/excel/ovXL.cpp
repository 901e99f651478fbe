#include "ovXL.h"

#include "XLFrame.h"
#include "ovXL_Adapter.h"
#include "ovXL_Versions.h"
#include "platform/ClipboardText.h"
#include "platform/Format.h"
#include "platform/PrivateClipboard.h"
#include "services/SheetLimits.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using platform::Format;

TovXL* XL = nullptr;

namespace {

const QString kCurVerKey = QStringLiteral("Excel.Application\\CurVer");
const QString kAppPathsKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\excel.exe");

std::unique_ptr<TovXLAdapter> createAdapter(uint8_t version, TovXL& owner) {
    switch (version) {
    case ev97:
        return std::make_unique<TovXL_97>(owner);
    case ev2000:
        return std::make_unique<TovXL_2000>(owner);
    case ev2002:
        return std::make_unique<TovXL_2002>(owner);
    case ev2003:
        return std::make_unique<TovXL_2003>(owner);
    case ev2007:
        return std::make_unique<TovXL_2007>(owner);
    case ev2010:
        return std::make_unique<TovXL_2010>(owner);
    case ev2013:
        return std::make_unique<TovXL_2013>(owner);
    default:
        return nullptr;
    }
}

} // namespace

TovXL::TovXL() {
    Type = DetectExcelVersion();
    Adapters[Type] = createAdapter(Type, *this);
}

TovXL::~TovXL() {
    Errors.clear();
    InsertData.clear();
    Values.clear();
    for (int v = ev2013; v >= ev97; --v) {
        Adapters[static_cast<size_t>(v)].reset();
    }
}

uint8_t TovXL::DetectExcelVersion() {
    XLEnvironment& env = xlEnvironment();
    try {
        if (!env.regValueExists(XLEnvironment::Root::ClassesRoot, kCurVerKey, QString())) {
            return evNotInstalled;
        }
        const QString curVer = UpperCaseAZ(
            env.regReadString(XLEnvironment::Root::ClassesRoot, kCurVerKey, QString(), QString()));
        static const std::pair<const char*, uint8_t> kVersions[] = {
            {"EXCEL.APPLICATION.15", ev2013}, {"EXCEL.APPLICATION.14", ev2010},
            {"EXCEL.APPLICATION.12", ev2007}, {"EXCEL.APPLICATION.11", ev2003},
            {"EXCEL.APPLICATION.10", ev2002}, {"EXCEL.APPLICATION.9", ev2000},
            {"EXCEL.APPLICATION.8", ev97},
        };
        for (const auto& [text, version] : kVersions) {
            if (curVer == QLatin1String(text)) {
                return version;
            }
        }
        return evNotInstalled;
    } catch (platform::Exception& e) {
        env.setCancelled(false);
        IStdDlg* dlg = StdDlg();
        if (dlg != nullptr) {
            dlg->MsgLines.clear();
            dlg->MsgLines << UIT(txt::UnableToVerifyIfMS) << QString();
            if (!e.message().isEmpty()) {
                dlg->MsgLines << Format(UIT(txt::Details_1609), {e.message()});
                e.setMessage(QString());
            }
            dlg->SetupStdDlgButtons1(
                sdkWarning, QStringLiteral("XL002"),
                {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1562)});
            dlg->ShowModal();
        }
        return evNotInstalled;
    }
}

uint8_t TovXL::getVersion() {
    if (VersionHeld && VersionDetected) {
        return Type;
    }
    Type = DetectExcelVersion();
    VersionDetected = VersionHeld;
    return Type;
}

TovXL::VersionHold::VersionHold(TovXL& xl) : Xl(xl), Outer(!xl.VersionHeld) {
    if (Outer) {
        Xl.VersionHeld = true;
        Xl.VersionDetected = false;
    }
}

TovXL::VersionHold::~VersionHold() {
    if (Outer) {
        Xl.VersionHeld = false;
        Xl.VersionDetected = false;
    }
}

bool TovXL::IsExcelInstalled() {
    return getVersion() != evNotInstalled;
}

bool TovXL::IsOldExcel() {
    const uint8_t v = getVersion();
    return v >= ev97 && v <= ev2003;
}

bool TovXL::WarnExcelMissing() {
    if (IsExcelInstalled()) {
        return false;
    }
    IStdDlg* dlg = StdDlg();
    if (dlg != nullptr) {
        dlg->MsgLines.clear();
        dlg->MsgLines << UIT(txt::MSExcelIsRequired) << QString() << UIT(txt::UnableToFindMSExcel)
                      << QString() << UIT(txt::PleaseEnsureMSExcel);
        dlg->SetupStdDlgButtons1(
            sdkWarning, QStringLiteral("XL001"),
            {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1561)});
        dlg->ShowModal();
    }
    return true;
}

QString TovXL::ExcelVersionText() {
    switch (getVersion()) {
    case ev97:
        return QStringLiteral("97");
    case ev2000:
        return QStringLiteral("2000");
    case ev2002:
        return QStringLiteral("2002 (XP)");
    case ev2003:
        return QStringLiteral("2003");
    case ev2007:
        return QStringLiteral("2007");
    case ev2010:
        return IsExcel64Bit() ? QStringLiteral("2010 (64 Bit)") : QStringLiteral("2010 (32 Bit)");
    case ev2013:
        return IsExcel64Bit() ? QStringLiteral("2013 (64 Bit)") : QStringLiteral("2013 (32 Bit)");
    default:
        return UIT(txt::NotInstalled_1547);
    }
}

QString TovXL::DefaultExtension() {
    const uint8_t v = getVersion();
    return v >= ev2007 ? QStringLiteral("xlsx") : QStringLiteral("xls");
}

int TovXL::MaxColumns() {
    return SheetGrid(getVersion(), FilePath).Columns;
}

int TovXL::MaxRows() {
    return SheetGrid(getVersion(), FilePath).Rows;
}

bool TovXL::IsExcel64Bit() const {
    // The built-in spreadsheet engine runs in this process: it is as wide as the program.
    return sizeof(void*) == 8;
}

QString TovXL::ColumnToLetters(int column) {
    return ::ColumnToLetters(column, MaxColumns());
}

int TovXL::LettersToColumn(const QString& letters, int limit) {
    return ::LettersToColumn(letters, limit);
}

void TovXL::ResetUsedRange() {
    UsedColCount = 0;
    UsedRowCount = 0;
}

void TovXL::setUsedColCount(int value) {
    if (UsedColCount != value) {
        UsedColCount = value;
    }
}
void TovXL::setUsedRowCount(int value) {
    if (UsedRowCount != value) {
        UsedRowCount = value;
    }
}
void TovXL::setFileDesc(const QString& value) {
    if (FileDesc != value) {
        FileDesc = value;
    }
}
void TovXL::setFilePath(const QString& value) {
    if (FilePath != value) {
        FilePath = value;
    }
}
void TovXL::setWorksheetDesc(const QString& value) {
    if (WorksheetDesc != value) {
        WorksheetDesc = value;
    }
}
void TovXL::setWorksheetName(const QString& value) {
    if (WorksheetName != value) {
        WorksheetName = value;
    }
}

automation::Value TovXL::getValues(int i) const {
    if (i < 1 || i > static_cast<int>(Values.size())) {
        return {};
    }
    return Values[static_cast<size_t>(i - 1)];
}

void TovXL::ParseClipboardValues(const QString& letters, int n) {
    XLEnvironment& env = xlEnvironment();
    PumpAndTestCancel(env);
    if (n < 0) {
        n = 1;
    }
    n = std::min(n, MaxRows());
    const QString text = platform::PrivateClipboard::text();
    platform::PrivateClipboard::clear();
    Values.clear();
    RunUnderErrorsProtocol(
        env, Errors,
        [&] {
            automation::Column block(static_cast<size_t>(n), automation::Value(QString()));
            const platform::ClipboardRows parsed = platform::parseClipboardRows(text);
            size_t rows = parsed.Rows.size();
            if (!parsed.LastRowEnded && rows > 0) {
                --rows; // a row without its line end was cut short
            }
            for (size_t i = 0; i < rows && i < block.size(); ++i) {
                // A cell's lines are joined with nothing between them.
                QString value = parsed.Rows[i].join(QLatin1Char('\t'));
                value.remove(QLatin1Char('\r'));
                value.remove(QLatin1Char('\n'));
                block[i] = TrimControl(value);
            }
            Values = std::move(block);
        },
        [&](platform::Exception& e) {
            QStringList lines{
                Format(UIT(txt::UnableToExtractFormattedTask), {WorksheetDesc, FileDesc})};
            if (!e.message().isEmpty()) {
                if (UpperCaseAZ(e.message()) == QLatin1String("OLE ERROR 800A03EC")) {
                    lines << Format(UIT(txt::TaskField_1548), {letters})
                          << UIT(txt::PleaseEnsureDataSourceFilter);
                } else {
                    lines << Format(UIT(txt::Details_1609), {e.message()});
                }
                e.setMessage(QString());
            }
            return lines;
        });
    env.processMessages();
}

void TovXL::CheckRow(int value, int low, int high, const QString& name) {
    if (value < low || value > high) {
        throw platform::Exception(
            Format(UIT(txt::IndexIsInvalid_1617), {name}) + QStringLiteral("\r\n") +
            Format(UIT(txt::ValidRange_1618), {low, high}) + QStringLiteral("\r\n") +
            Format(UIT(txt::IndexValue_1619), {value}));
    }
}

TovXLAdapter* TovXL::adapter() const {
    return Adapters[Type].get();
}

TovXLAdapter* TovXL::dispatch() {
    if (Type == evNotInstalled) {
        return nullptr;
    }
    TovXLAdapter* a = Adapters[Type].get();
    if (a == nullptr) {
        // The version changed since start-up; the program only drives the version it started
        // with, so say so rather than silently doing nothing.
        RunUnderErrorsProtocol(
            xlEnvironment(), Errors,
            [this] {
                throw platform::Exception(
                    Format(UIT(txt::UnableToOpenMSExcel), {ExcelVersionText()}));
            },
            [this](platform::Exception& e) {
                e.setMessage(QString());
                return QStringList{Format(UIT(txt::UnableToOpenMSExcel), {ExcelVersionText()}),
                                   UIT(txt::SpreadsheetProgramChangedWhileOvik)};
            });
    }
    return a;
}

void TovXL::StartExcel(bool visible) {
    if (TovXLAdapter* a = dispatch()) {
        a->StartExcel(visible);
    }
}

void TovXL::OpenWorkbook(const QString& path, const QString& password,
                         const QString& writeResPassword, bool readOnly) {
    if (TovXLAdapter* a = dispatch()) {
        a->OpenWorkbook(path, password, writeResPassword, readOnly);
    }
}

bool TovXL::WorksheetExists(const QString& name) {
    if (TovXLAdapter* a = dispatch()) {
        return a->WorksheetExists(name);
    }
    return false;
}

void TovXL::InitWorksheet() {
    if (TovXLAdapter* a = dispatch()) {
        a->InitWorksheet();
    }
}

void TovXL::DeleteRows(int intFirstRow, int intLastRow) {
    CheckRow(intFirstRow, 1, MaxRows(), QStringLiteral("TovXL.DeleteRows: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, MaxRows(), QStringLiteral("TovXL.DeleteRows: intLastRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->DeleteRows(intFirstRow, intLastRow);
    }
}

void TovXL::InsertRows(int intFirstRow, int intLastRow) {
    CheckRow(intFirstRow, 1, MaxRows(), QStringLiteral("TovXL.InsertRows: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, MaxRows(), QStringLiteral("TovXL.InsertRows: intLastRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->InsertRows(intFirstRow, intLastRow);
    }
}

std::vector<automation::RowSpan> TovXL::ChartRowSpans() {
    if (TovXLAdapter* a = dispatch()) {
        return a->ChartRowSpans();
    }
    return {};
}

void TovXL::SelectCell(const QString& cell) {
    if (TovXLAdapter* a = dispatch()) {
        a->SelectCell(cell);
    }
}

void TovXL::ExtractRawValues(const QString& letters, int intFirstRow, int intLastRow) {
    CheckRow(intFirstRow, 1, MaxRows(), QStringLiteral("TovXL.ExtractRawValues: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, MaxRows(),
             QStringLiteral("TovXL.ExtractRawValues: intLastRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->ExtractRawValues(letters, intFirstRow, intLastRow);
    }
}

void TovXL::ExtractFmtValues(const QString& letters, int intFirstRow, int intLastRow) {
    CheckRow(intFirstRow, 1, MaxRows(), QStringLiteral("TovXL.ExtractFmtValues: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, MaxRows(),
             QStringLiteral("TovXL.ExtractFmtValues: intLastRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->ExtractFmtValues(letters, intFirstRow, intLastRow);
    }
}

void TovXL::ListWorksheets(int listIndex) {
    if (TovXLAdapter* a = dispatch()) {
        a->ListWorksheets(listIndex);
    }
}

void TovXL::ExtractFldList(int intHeaderRow) {
    CheckRow(intHeaderRow, 1, MaxRows() - 1, QStringLiteral("TovXL.ExtractFldList: intHeaderRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->ExtractFldList(intHeaderRow);
    }
}

void TovXL::ExtractValList(const QString& letters, int listIndex, int intFirstRow, int intLastRow) {
    XLEnvironment& env = xlEnvironment();
    PumpAndTestCancel(env);
    CheckRow(intFirstRow, 1, MaxRows(), QStringLiteral("TovXL.ExtractValList: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, MaxRows(),
             QStringLiteral("TovXL.ExtractValList: intLastRow"));
    RunUnderErrorsProtocol(
        env, Errors,
        [&] {
            ExtractFmtValues(letters, intFirstRow, intLastRow);
            const int n = intLastRow - intFirstRow + 1;
            env.startStepProgress(n);
            env.addStep(Format(UIT(txt::ExtractingTaskFieldValues_1556), {0, n}));
            XLListTarget& sd = env.activeDefinition();
            sd.setVL_TaskFldValCount(listIndex, n);
            for (int i = 1; i <= n; ++i) {
                sd.setVL_TaskFldValue(listIndex, i, automation::valueToText(getValues(i)));
                env.updateStep(Format(UIT(txt::ExtractingTaskFieldValues_1556), {i, n}));
            }
            env.showStepProgress(false);
        },
        [&](platform::Exception&) {
            return QStringList{
                Format(UIT(txt::UnableToExtractTaskFieldValues_1594), {WorksheetDesc, FileDesc}),
                Format(UIT(txt::TaskField_1548), {letters}),
                Format(QStringLiteral("%s: %s"), {WorksheetDesc, WorksheetName}),
                Format(QStringLiteral("%s: %s"), {FileDesc, FilePath})};
        });
    env.processMessages();
}

void TovXL::InsertValues(const QString& letters, int intFirstRow, int intLastRow) {
    const int maxRows = MaxRows();
    CheckRow(intFirstRow, 1, maxRows, QStringLiteral("TovXL.InsertValues: intFirstRow"));
    CheckRow(intLastRow, intFirstRow, maxRows, QStringLiteral("TovXL.InsertValues: intLastRow"));
    if (TovXLAdapter* a = dispatch()) {
        a->InsertValues(letters, intFirstRow, intLastRow);
    }
}

void TovXL::InsertText(const QString& cell, const QString& text) {
    if (TovXLAdapter* a = dispatch()) {
        a->InsertText(cell, text);
    }
}

void TovXL::InsertNumber(const QString& cell, double number) {
    if (TovXLAdapter* a = dispatch()) {
        a->InsertNumber(cell, number);
    }
}

void TovXL::SetFontColour(const QString& cell, int colour) {
    if (TovXLAdapter* a = dispatch()) {
        a->SetFontColour(cell, colour);
    }
}

void TovXL::SetBackgroundColour(const QString& cell, int colour) {
    if (TovXLAdapter* a = dispatch()) {
        a->SetBackgroundColour(cell, colour);
    }
}

void TovXL::SaveWorkbookAs(const QString& newDesc, const QString& newPath) {
    if (TovXLAdapter* a = dispatch()) {
        a->SaveWorkbookAs(newDesc, newPath);
    }
}

void TovXL::CloseWorkbook(bool saveChanges) {
    if (TovXLAdapter* a = dispatch()) {
        a->CloseWorkbook(saveChanges);
    }
}

void TovXL::QuitExcel() {
    if (TovXLAdapter* a = dispatch()) {
        a->QuitExcel();
    }
}
