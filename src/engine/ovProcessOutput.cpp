// The output stages of a run: the project summary data, the chart data, the Summary window's
// grid and the output workbook.
#include "ovProcess.h"

#include "engine/ChartData.h"
#include "engine/OutputWorkbook.h"
#include "engine/StageProgress.h"
#include "engine/SummaryData.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovXL.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/ovUIL.h"

#include <algorithm>

using platform::Format;
using platform::RaiseLines;

namespace {

constexpr int kTextPopulatingForm = 412;
constexpr int kTextFormattingForm = 413;
constexpr int kTextOpeningExcel = 451;
constexpr int kTextOpening = 452;
constexpr int kTextInitialising = 454;
constexpr int kTextClearing = 455;
constexpr int kTextInserting = 456;
constexpr int kTextFormatting = 457;
constexpr int kTextSaving = 458;
constexpr int kTextClosing = 459;
constexpr int kTextClosingExcel = 460;
constexpr int kTextIsInvalid = 847;
constexpr int kTextNoHeaders = 1414;
constexpr int kTextNoFields = 1415;
constexpr int kTextNoExcel = 1419;
constexpr int kTextSheetNotFound = 1469;
constexpr int kTextChartBlockTooShort = 1388;

const QString kPair = QStringLiteral("%s: %s");

TovXL& xl() {
    if (XL == nullptr) {
        throw platform::Exception(UIT(kTextNoExcel));
    }
    return *XL;
}

TovRHs& Headers(TovRHs* list) {
    if (list == nullptr) {
        throw platform::Exception(UIT(kTextNoHeaders));
    }
    return *list;
}

TovRFs& Fields(TovRFs* list) {
    if (list == nullptr) {
        throw platform::Exception(UIT(kTextNoFields));
    }
    return *list;
}

} // namespace

void TovProcess::PopulateProjectSummary() {
    const TovSD& d = *sd();
    engine::SummaryTexts texts;
    texts.DataFilePath = DF != nullptr ? DF->getDPFE() : QString();
    texts.Description = d.getDescription();
    texts.DSFPath = DSFPath;
    texts.DataOptions = d.SCO->getDataOptionsText();
    texts.QuantityOptions = d.SCO->getQuantityOptionsText();
    texts.FilterDetails = d.DSF->getFilterText();
    texts.ProjectTitle = d.PD->getProjectTitle();
    texts.ProjectNumber = d.PD->getProjectNumber();
    texts.ProjectClient = d.PD->getProjectClient();
    engine::PopulateProjectSummary(Options, texts, Results, Headers(PS_RHs), Fields(PS_RFs),
                                   stages());
}

void TovProcess::FormatProjectSummary() {
    engine::FormatProjectSummary(Options, Results, Fields(PS_RFs), stages());
}

void TovProcess::PopulateChartData() {
    const TovSD& d = *sd();
    const engine::ChartDataTexts texts{d.PD->getProjectTitle(), d.PD->getProjectNumber(),
                                       d.PD->getProjectClient()};
    engine::PopulateChartData(Options, texts, Results, Headers(CD_RHs), Fields(CD_RFs), stages());
}

void TovProcess::DeleteTemporaryData() {
    engine::DeleteTemporaryData(Options, Results, stages());
}

void TovProcess::PopulateSummaryForm() {
    stages().runStage([&] {
        stages().step(UIT(kTextPopulatingForm));
        TovRHs& headers = Headers(PS_RHs);
        TovRFs& fields = Fields(PS_RFs);
        if (!SummaryGrid.isLaidOut()) {
            SummaryGrid.Layout(headers, fields);
        }
        SummaryGrid.Populate(headers, fields);
        stages().complete();
    });
}

void TovProcess::FormatSummaryForm() {
    stages().runStage([&] {
        stages().step(UIT(kTextFormattingForm));
        SummaryGrid.Format(Fields(PS_RFs));
        stages().complete();
    });
}

void TovProcess::RequireTemplateWorksheet(const QString& desc, const QString& name) {
    xl().setWorksheetDesc(desc);
    xl().setWorksheetName(name);
    if (!xl().WorksheetExists(name)) {
        RaiseMissingWorksheet(kTextSheetNotFound, TFDesc, TFPath);
    }
    xl().setWorksheetDesc(desc);
    xl().setWorksheetName(name);
}

void TovProcess::InitTemplateWorksheet(const QString& desc) {
    stages().step(Format(UIT(kTextInitialising), {desc}));
    xl().InitWorksheet();
    stages().complete();
}

void TovProcess::CheckChartDataBlock() {
    const int firstRow = Options.ChartDataFirstRow;
    const int usedLastRow = xl().getUsedRowCount();
    if (engine::ChartBlockResizable(firstRow, usedLastRow)) {
        return;
    }
    const int rowsFound = std::max(0, usedLastRow - firstRow + 1);
    const QStringList lines = {
        Format(UIT(kTextIsInvalid), {CDWSDesc}),
        QString(),
        Format(kPair, {CDWSDesc, CDWSName}),
        QString(),
        Format(kPair, {TFDesc, TFPath}),
        QString(),
        Format(UIT(kTextChartBlockTooShort), {CDWSDesc, firstRow, rowsFound}),
    };
    xl().CloseWorkbook(false);
    xl().QuitExcel();
    RaiseLines(lines);
}

void TovProcess::WriteOutputWorkbook() {
    stages().runStage([&] {
        stages().step(UIT(kTextOpeningExcel));
        xl().StartExcel(false);
        stages().complete();

        stages().step(Format(UIT(kTextOpening), {TFDesc}));
        xl().setFileDesc(TFDesc);
        xl().setFilePath(TFPath);
        xl().OpenWorkbook(TFPath, TFPassword, QString(), true);
        // Both worksheets and the Chart Data block are checked before anything is written.
        RequireTemplateWorksheet(PSWSDesc, PSWSName);
        RequireTemplateWorksheet(CDWSDesc, CDWSName);
        xl().InitWorksheet();
        CheckChartDataBlock();
        stages().complete();

        TovRHs& psHeaders = Headers(PS_RHs);
        TovRFs& psFields = Fields(PS_RFs);
        RequireTemplateWorksheet(PSWSDesc, PSWSName);
        InitTemplateWorksheet(PSWSDesc);
        stages().step(Format(UIT(kTextInserting), {PSWSDesc}));
        engine::InsertProjectSummaryData(xl(), psHeaders, psFields);
        stages().complete();
        stages().step(Format(UIT(kTextFormatting), {PSWSDesc}));
        engine::FormatProjectSummaryWorksheet(xl(), psFields);
        stages().complete();

        TovRHs& cdHeaders = Headers(CD_RHs);
        TovRFs& cdFields = Fields(CD_RFs);
        RequireTemplateWorksheet(CDWSDesc, CDWSName);
        InitTemplateWorksheet(CDWSDesc);
        const engine::ChartBlock block{Options.ChartDataFirstRow, Results.ProjectDays, ReportDate};
        stages().step(Format(UIT(kTextClearing), {CDWSDesc}));
        engine::ClearChartData(xl(), cdHeaders, cdFields, block, xl().getUsedRowCount());
        stages().complete();
        stages().step(Format(UIT(kTextInserting), {CDWSDesc}));
        engine::InsertChartData(xl(), cdHeaders, cdFields, Results, block);
        stages().complete();
        stages().step(Format(UIT(kTextFormatting), {CDWSDesc}));
        engine::FormatChartData(xl(), cdFields);
        stages().complete();

        // The workbook is saved with the Project Summary worksheet active.
        RequireTemplateWorksheet(PSWSDesc, PSWSName);
        xl().InitWorksheet();
    });
}

void TovProcess::SaveOutputFile() {
    stages().runStage([&] {
        RequireWritableOutput();
        if (!OverwriteConfirmed && !ConfirmOverwrite()) {
            RaiseLines(OutputFileExistsLines());
        }
        stages().step(Format(UIT(kTextSaving), {TFDesc, OFDesc}));
        xl().SaveWorkbookAs(OFDesc, OFPath);
        xl().setFileDesc(OFDesc);
        xl().setFilePath(OFPath);
        stages().complete();

        stages().step(Format(UIT(kTextClosing), {OFDesc}));
        xl().CloseWorkbook(false);
        stages().complete();

        stages().step(UIT(kTextClosingExcel));
        xl().QuitExcel();
        stages().complete();
    });
}
