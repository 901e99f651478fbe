#include "ovXL_Adapter.h"

#include "XLFrame.h"
#include "ovXL.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using platform::Format;

namespace {

QString cellRef(const QString& letters, int row) {
    return letters + QString::number(row);
}

const QString kApplicationTitle = QStringLiteral("Ovik KRV Tessel");

} // namespace

TovXLAdapter::TovXLAdapter(TovXL& owner, const TXLAdapterTraits& traits)
    : Owner(owner), Env(xlEnvironment()), Traits(traits) {}

TovXLAdapter::~TovXLAdapter() {
    // Ask a spreadsheet program still held (an interrupted operation) to quit; a failure at
    // shutdown has nobody left to be reported to.
    if (Application) {
        try {
            Application->quit();
        } catch (const platform::Exception&) {
        }
    }
    ReleaseReferences();
}

void TovXLAdapter::ReleaseReferences() {
    ListWorksheet.reset();
    Worksheet.reset();
    Workbook.reset();
    Application.reset();
}

void TovXLAdapter::Frame(const std::function<void()>& body, const Lines& lines,
                         const std::function<void()>& recordContext) {
    Env.processMessages();
    if (recordContext) {
        recordContext();
    }
    TestCancel(Env);
    RunUnderErrorsProtocol(Env, Owner.Errors, body, lines);
    Env.processMessages();
}

QStringList TovXLAdapter::ContextLines() const {
    return {Format(QStringLiteral("%s: %s"), {Owner.getWorksheetDesc(), Owner.getWorksheetName()}),
            Format(QStringLiteral("%s: %s"), {Owner.getFileDesc(), Owner.getFilePath()})};
}

QStringList TovXLAdapter::ExtractMessageLines(platform::Exception& e, const QString& letters,
                                              int hint) const {
    QStringList lines;
    if (!e.message().isEmpty()) {
        if (UpperCaseAZ(e.message()) == QLatin1String("OLE ERROR 800A03EC")) {
            lines << Format(UIT(txt::TaskField_1548), {letters}) << UIT(hint);
        } else {
            lines << Format(UIT(txt::Details_1609), {e.message()});
        }
        e.setMessage(QString());
    }
    return lines;
}

automation::Application& TovXLAdapter::app() {
    if (!Application) {
        throw automation::Failure(QStringLiteral("The spreadsheet program is not started."));
    }
    return *Application;
}

automation::Workbook& TovXLAdapter::book() {
    if (!Workbook) {
        throw automation::Failure(QStringLiteral("No workbook is open."));
    }
    return *Workbook;
}

automation::Worksheet& TovXLAdapter::sheet() {
    if (!Worksheet) {
        throw automation::Failure(QStringLiteral("No worksheet is initialised."));
    }
    return *Worksheet;
}

void TovXLAdapter::ActivateSheet() {
    book().activate(LCID);
    sheet().activate(LCID);
}

void TovXLAdapter::StartExcel(bool visible) {
    Frame(
        [&] {
            Application.reset();
            Workbook.reset();
            Worksheet.reset();
            LCID = automation::kLocaleUserDefault;
            Application = automation::createApplication();
            Application->setVisible(visible, LCID);
            Application->setDisplayAlerts(false, LCID);
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToOpenMSExcel), {Owner.ExcelVersionText()})};
        });
}

void TovXLAdapter::OpenWorkbook(const QString& path, const QString& password,
                                const QString& writeResPassword, bool readOnly) {
    Frame(
        [&] {
            automation::OpenArgs args;
            args.fileName = path;
            args.updateLinks = false;
            args.readOnly = readOnly;
            args.password = password;
            args.writeResPassword = writeResPassword;
            args.ignoreReadOnlyRecommended = true;
            args.notify = false;
            args.addToMru = false;
            args.localAndCorruptLoadMissing = Traits.OpenTakesLocalAndCorruptLoad;
            args.lcid = LCID;
            app().openWorkbook(args);
            Workbook.reset();
            Workbook = app().activeWorkbook();
        },
        [&](platform::Exception&) {
            return QStringList{
                Format(UIT(txt::UnableToOpen), {Owner.getFileDesc()}),
                Format(QStringLiteral("%s: %s"), {Owner.getFileDesc(), Owner.getFilePath()})};
        },
        [&] { Owner.setFilePath(path); });
}

bool TovXLAdapter::WorksheetExists(const QString& name) {
    bool result = false;
    Frame(
        [&] {
            Worksheet.reset();
            const QString wanted = UpperCaseAZ(name);
            const int count = book().worksheetCount();
            for (int i = 1; i <= count; ++i) {
                PumpAndTestCancel(Env);
                Worksheet = book().worksheet(i);
                if (UpperCaseAZ(Worksheet->name()) == wanted) {
                    result = true;
                    break;
                }
            }
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToVerifyExists), {Owner.getWorksheetDesc()})};
        },
        [&] { Owner.setWorksheetName(name); });
    return result;
}

void TovXLAdapter::InitWorksheet() {
    Frame(
        [&] {
            Worksheet = book().worksheet(Owner.getWorksheetName());
            book().activate(LCID);
            sheet().activate(LCID);
            sheet().setAutoFilterMode(false, LCID);
            if (!app().activeWindowFreezePanes() && app().activeWindowSplit()) {
                app().setActiveWindowSplit(false);
            }
            Owner.setUsedColCount(sheet().usedRangeLastColumn(LCID));
            Owner.setUsedRowCount(sheet().usedRangeLastRow(LCID));
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToInitialise),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::UnhideColumns() {
    Frame(
        [&] {
            ActivateSheet();
            const QString first = QStringLiteral("A1");
            const QString second = Owner.ColumnToLetters(Owner.MaxColumns()) + QStringLiteral("1");
            sheet().range(first, second)->select();
            sheet().range(first, second)->setEntireColumnHidden(false);
            SelectCell(QStringLiteral("A1"));
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToUnhideHiddenColumns),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::UnhideRows() {
    Frame(
        [&] {
            ActivateSheet();
            const QString first = QStringLiteral("A1");
            const QString second = cellRef(QStringLiteral("A"), Owner.MaxRows());
            sheet().range(first, second)->select();
            sheet().range(first, second)->setEntireRowHidden(false);
            SelectCell(QStringLiteral("A1"));
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToUnhideHiddenRows),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::DeleteRows(int intFirstRow, int intLastRow) {
    Frame(
        [&] {
            ActivateSheet();
            sheet()
                .range(cellRef(QStringLiteral("A"), intFirstRow),
                       cellRef(QStringLiteral("A"), intLastRow))
                ->deleteEntireRows(automation::kShiftUp);
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToDeleteRows),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::InsertRows(int intFirstRow, int intLastRow) {
    Frame(
        [&] {
            ActivateSheet();
            const QString first = cellRef(QStringLiteral("A"), intFirstRow);
            sheet()
                .range(first, cellRef(QStringLiteral("A"), intLastRow))
                ->insertEntireRows(automation::kShiftDown, Traits.InsertTakesCopyOrigin);
            sheet().range(first, first)->select();
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToInsertRows),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

std::vector<automation::RowSpan> TovXLAdapter::ChartRowSpans() {
    std::vector<automation::RowSpan> spans;
    Frame([&] { spans = sheet().chartRowSpans(); },
          [&](platform::Exception&) {
              return QStringList{Format(UIT(txt::UnableToInitialise),
                                        {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                     ContextLines();
          });
    return spans;
}

void TovXLAdapter::SelectCell(const QString& cell) {
    Frame(
        [&] {
            ActivateSheet();
            app().range(cell, cell)->select();
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToSelectFollowingCell),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()}),
                               Format(UIT(txt::Cell), {cell})} +
                   ContextLines();
        });
}

void TovXLAdapter::ExtractRawValues(const QString& letters, int intFirstRow, int intLastRow) {
    Frame(
        [&] {
            ActivateSheet();
            const int n = intLastRow - intFirstRow + 1;
            automation::Column block =
                sheet()
                    .range(cellRef(letters, intFirstRow), cellRef(letters, intFirstRow + n - 1))
                    ->value2();
            if (n == 1) {
                // One cell gives a single value: blank stays empty, anything else becomes text.
                const automation::Value v = block.empty() ? automation::Value() : block.front();
                block.assign(1, automation::Value());
                if (!std::holds_alternative<std::monostate>(v)) {
                    block[0] = automation::valueToText(v);
                }
            } else {
                block.resize(static_cast<size_t>(n));
                const int column = TovXL::LettersToColumn(letters, 16384);
                for (int i = 1; i <= n; ++i) {
                    automation::Value& v = block[static_cast<size_t>(i - 1)];
                    if (std::holds_alternative<automation::CellError>(v)) {
                        v = TrimControl(sheet().cell(intFirstRow + i - 1, column)->text());
                    }
                }
            }
            Owner.Values = std::move(block);
        },
        [&](platform::Exception& e) {
            return QStringList{Format(UIT(txt::UnableToExtractTaskFieldValues),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ExtractMessageLines(e, letters, 1589);
        });
}

void TovXLAdapter::ExtractFmtValues(const QString& letters, int intFirstRow, int intLastRow) {
    Frame(
        [&] {
            ActivateSheet();
            UnhideColumns();
            UnhideRows();
            const int n = intLastRow - intFirstRow + 1;
            const QString first = cellRef(letters, intFirstRow);
            const QString second = cellRef(letters, intFirstRow + n - 1);
            sheet().range(first, second)->select();
            sheet().range(first, second)->copy();
            Owner.ParseClipboardValues(letters, n);
        },
        [&](platform::Exception& e) {
            return QStringList{Format(UIT(txt::UnableToExtractFormattedTask),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ExtractMessageLines(e, letters, 1591);
        });
}

void TovXLAdapter::ListWorksheets(int listIndex) {
    Frame(
        [&] {
            const int count = book().worksheetCount();
            XLListTarget& sd = Env.activeDefinition();
            sd.setWSL_Count(listIndex, count);
            int done = 0;
            Env.startStepProgress(count);
            Env.addStep(Format(UIT(txt::ExtractingWorksheetNames_1554), {0, count}));
            for (int i = 1; i <= count; ++i) {
                PumpAndTestCancel(Env);
                ListWorksheet.reset();
                ListWorksheet = book().worksheet(i);
                sd.setWSL_WS(listIndex, i, ListWorksheet->name());
                ++done;
                Env.updateStep(Format(UIT(txt::ExtractingWorksheetNames_1554), {done, count}));
            }
            Env.showStepProgress(false);
            ListWorksheet.reset();
        },
        [&](platform::Exception&) {
            return QStringList{
                Format(UIT(txt::UnableToExtractWorksheetNames), {Owner.getFileDesc()}),
                Format(QStringLiteral("%s: %s"), {Owner.getFileDesc(), Owner.getFilePath()})};
        });
}

void TovXLAdapter::ExtractFldList(int intHeaderRow) {
    auto cellText = [&](int row, int column) {
        std::unique_ptr<automation::Range> cell = sheet().cell(row, column);
        const automation::Value v = cell->value();
        if (std::holds_alternative<automation::CellError>(v)) {
            return TrimControl(cell->text());
        }
        return TrimControl(automation::valueToText(v));
    };
    Frame(
        [&] {
            ActivateSheet();
            const int count = Owner.getUsedColCount();
            XLListTarget& sd = Env.activeDefinition();
            sd.setFL_Count(count);
            int done = 0;
            Env.startStepProgress(count);
            Env.addStep(Format(UIT(txt::ExtractingTaskFields_1555), {0, count}));
            for (int u = 1; u <= count; ++u) {
                PumpAndTestCancel(Env);
                sd.setFL_TaskFld(u, Owner.ColumnToLetters(u));
                sd.setFL_TaskFldDesc(u, cellText(intHeaderRow, u));
                const int samples = Env.importTaskFldValueCount();
                for (int k = 1; k <= samples; ++k) {
                    sd.setFL_TaskFldValue(u, k, QString());
                    if (Owner.MaxRows() >= intHeaderRow + k) {
                        sd.setFL_TaskFldValue(u, k, cellText(intHeaderRow + k, u));
                    }
                }
                ++done;
                Env.updateStep(Format(UIT(txt::ExtractingTaskFields_1555), {done, count}));
            }
            Env.showStepProgress(false);
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToExtractTaskFields),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::WriteColumn(const QString& first, const QString& last,
                               const automation::Column& values) {
    ActivateSheet();
    sheet()
        .range(first, last)
        ->setValue(values, Traits.ValueTakesDataType ? automation::kRangeValueDefault : 0);
}

void TovXLAdapter::InsertValues(const QString& letters, int intFirstRow, int intLastRow) {
    Frame(
        [&] {
            WriteColumn(cellRef(letters, intFirstRow), cellRef(letters, intLastRow),
                        Owner.InsertData);
        },
        [&](platform::Exception&) {
            return QStringList{Format(UIT(txt::UnableToInsertValues),
                                      {Owner.getWorksheetDesc(), Owner.getFileDesc()})} +
                   ContextLines();
        });
}

void TovXLAdapter::InsertText(const QString& cell, const QString& text) {
    Frame([&] { WriteColumn(cell, cell, {automation::Value(text)}); },
          [&](platform::Exception&) {
              return QStringList{Format(UIT(txt::UnableToInsertText),
                                        {Owner.getWorksheetDesc(), Owner.getFileDesc()}),
                                 Format(UIT(txt::Value_1553), {text}),
                                 Format(UIT(txt::Cell), {cell})} +
                     ContextLines();
          });
}

void TovXLAdapter::InsertNumber(const QString& cell, double number) {
    Frame([&] { WriteColumn(cell, cell, {automation::Value(number)}); },
          [&](platform::Exception&) {
              return QStringList{Format(UIT(txt::UnableToInsertNumber),
                                        {Owner.getWorksheetDesc(), Owner.getFileDesc()}),
                                 Format(UIT(txt::Value_1552), {number}),
                                 Format(UIT(txt::Cell), {cell})} +
                     ContextLines();
          });
}

void TovXLAdapter::SetFontColour(const QString& cell, int colour) {
    Frame([&] { sheet().range(cell, cell)->setFontColor(colour); },
          [&](platform::Exception&) {
              return QStringList{Format(UIT(txt::UnableToApplyFontColourToFollowingCell),
                                        {Owner.getWorksheetDesc(), Owner.getFileDesc()}),
                                 Format(UIT(txt::Cell), {cell})} +
                     ContextLines();
          });
}

void TovXLAdapter::SetBackgroundColour(const QString& cell, int colour) {
    Frame([&] { sheet().range(cell, cell)->setInteriorColor(colour); },
          [&](platform::Exception&) {
              return QStringList{Format(UIT(txt::UnableToApplyBackgroundColourToFollowingCell),
                                        {Owner.getWorksheetDesc(), Owner.getFileDesc()}),
                                 Format(UIT(txt::Cell), {cell})} +
                     ContextLines();
          });
}

void TovXLAdapter::SaveWorkbookAs(const QString& newDesc, const QString& newPath) {
    Frame(
        [&] {
            automation::SaveAsArgs args;
            args.fileName = newPath;
            if (Traits.SaveAsTakesFileFormat) {
                const qsizetype slash = newPath.lastIndexOf(QLatin1Char('/'));
                const QString name = newPath.mid(slash + 1);
                const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
                const QString ext = dot < 0 ? QString() : UpperCaseAZ(name.mid(dot + 1).trimmed());
                args.fileFormat = ext == QLatin1String("XLS") ? automation::kFormatExcel8
                                                              : automation::kFormatOpenXmlWorkbook;
            }
            args.readOnlyRecommended = false;
            args.accessMode = 1;
            args.addToMru = false;
            args.lcid = LCID;
            book().saveAs(args);
            Owner.setFileDesc(newDesc);
            Owner.setFilePath(newPath);
        },
        [&](platform::Exception&) {
            return QStringList{
                Format(UIT(txt::UnableToSave), {Owner.getFileDesc(), newDesc}),
                Format(QStringLiteral("%s: %s"), {Owner.getFileDesc(), Owner.getFilePath()}),
                Format(QStringLiteral("%s: %s"), {newDesc, newPath})};
        });
}

void TovXLAdapter::CloseWorkbook(bool saveChanges) {
    Frame(
        [&] {
            book().close(saveChanges, LCID);
            ListWorksheet.reset();
            Worksheet.reset();
            Workbook.reset();
        },
        [&](platform::Exception&) {
            return QStringList{
                Format(UIT(saveChanges ? 1606 : 1607), {Owner.getFileDesc()}),
                Format(QStringLiteral("%s: %s"), {Owner.getFileDesc(), Owner.getFilePath()})};
        });
}

void TovXLAdapter::QuitExcel() {
    Env.processMessages();
    bool retry = true;
    while (retry) {
        try {
            if (Application) {
                Application->quit();
            }
            ReleaseReferences();
            retry = false;
        } catch (platform::Exception& e) {
            Env.setCancelled(false);
            const QString version = Owner.ExcelVersionText();
            if (UpperCaseAZ(e.message()) != QLatin1String("OLE ERROR 800AC472")) {
                Owner.Errors.clear();
                Owner.Errors << Format(UIT(txt::UnableToCloseMSExcel_1608), {version}) << QString();
                throw;
            }
            IStdDlg* dlg = StdDlg();
            int answer = mrCancel;
            if (dlg != nullptr) {
                dlg->MsgLines.clear();
                dlg->MsgLines << Format(UIT(txt::MSExcelIsBusyAndNotResponding),
                                        {version, kApplicationTitle})
                              << QString() << Format(UIT(txt::UnableToCloseMSExcel), {version})
                              << QString() << Format(UIT(txt::MSExcelMay), {version}) << QString()
                              << UIT(txt::PleaseCloseMSExcelActivation) << QString()
                              << UIT(txt::PleaseCloseAllOpenInstancesOfMSExcel) << QString()
                              << Format(UIT(txt::ClickRetryToCloseMS), {version});
                dlg->SetupStdDlgButtons2(
                    sdkQuestion, QStringLiteral("XL003"),
                    {glyphCancel, mrCancel, UIT(txt::Cancel_356),
                     UIT(txt::CancelMSExcelWillNotBeClosed) + QStringLiteral("\r\n") +
                         UIT(txt::PleaseCloseMSExcelViaWindowsTaskManager)},
                    {glyphRetry, mrRetry, UIT(txt::Retry), UIT(txt::AttemptToCloseMSExcel)});
                answer = dlg->ShowModal();
            }
            if (answer != mrCancel) {
                continue;
            }
            if (dlg != nullptr) {
                dlg->MsgLines.clear();
                dlg->MsgLines << Format(UIT(txt::UnableToCloseMSExcel_1613), {version}) << QString()
                              << UIT(txt::PleaseCloseAllOpenInstancesOfMSExcel_1614) << QString()
                              << UIT(txt::ThenUseWindowsTaskManager) << QString()
                              << UIT(txt::EndAllRemainingMSExcel);
                dlg->SetupStdDlgButtons1(
                    sdkWarning, QStringLiteral("XL004"),
                    {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1560)});
                dlg->ShowModal();
            }
            Owner.Errors.clear();
            Owner.Errors << Format(UIT(txt::MSExcelIsBusyAndIsNotResponding),
                                   {version, kApplicationTitle})
                         << QString() << Format(UIT(txt::UnableToCloseMSExcel_1611), {version})
                         << QString() << Format(UIT(txt::IfMSExcel), {version}) << QString();
            throw;
        }
    }
    Env.processMessages();
}
