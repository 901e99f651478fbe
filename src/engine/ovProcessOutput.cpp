// The output stages of a run: the project summary data, the chart data, the Summary window's
// grid and the output workbook.
#include "ovProcess.h"

#include "engine/ChartData.h"
#include "engine/OutputWorkbook.h"
#include "engine/ProcessExcel.h"
#include "engine/StageProgress.h"
#include "engine/SummaryData.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovXL.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>

using engine::kPair;
using engine::xl;
using platform::Format;
using platform::RaiseLines;

namespace {

TovRHs& Headers(TovRHs* list) {
    if (list == nullptr) {
        throw platform::Exception(UIT(txt::UnableToInitialiseReportHeaders));
    }
    return *list;
}

TovRFs& Fields(TovRFs* list) {
    if (list == nullptr) {
        throw platform::Exception(UIT(txt::UnableToInitialiseReportFields));
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
        stages().step(UIT(txt::PopulatingSummaryForm));
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
        stages().step(UIT(txt::FormattingSummaryForm));
        SummaryGrid.Format(Fields(PS_RFs));
        stages().complete();
    });
}

void TovProcess::RequireTemplateWorksheet(const QString& desc, const QString& name) {
    xl().setWorksheetDesc(desc);
    xl().setWorksheetName(name);
    if (!xl().WorksheetExists(name)) {
        RaiseMissingWorksheet(txt::WasNotFound, TFDesc, TFPath);
    }
    xl().setWorksheetDesc(desc);
    xl().setWorksheetName(name);
}

void TovProcess::InitTemplateWorksheet(const QString& desc) {
    stages().step(Format(UIT(txt::Initialising_454), {desc}));
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
        Format(UIT(txt::IsInvalid), {CDWSDesc}),
        QString(),
        Format(kPair, {CDWSDesc, CDWSName}),
        QString(),
        Format(kPair, {TFDesc, TFPath}),
        QString(),
        Format(UIT(txt::ChartDataBlockInNeeds), {CDWSDesc, firstRow, rowsFound}),
    };
    xl().CloseWorkbook(false);
    xl().QuitExcel();
    RaiseLines(lines);
}

void TovProcess::WriteOutputWorkbook() {
    stages().runStage([&] {
        // The limits are asked for every cell and column written.
        const TovXL::VersionHold holdVersion(xl());
        stages().step(UIT(txt::OpeningMSExcel));
        xl().StartExcel(false);
        stages().complete();

        stages().step(Format(UIT(txt::Opening), {TFDesc}));
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
        stages().step(Format(UIT(txt::InsertingData), {PSWSDesc}));
        engine::InsertProjectSummaryData(xl(), psHeaders, psFields);
        stages().complete();
        stages().step(Format(UIT(txt::Formatting), {PSWSDesc}));
        engine::FormatProjectSummaryWorksheet(xl(), psFields);
        stages().complete();

        TovRHs& cdHeaders = Headers(CD_RHs);
        TovRFs& cdFields = Fields(CD_RFs);
        RequireTemplateWorksheet(CDWSDesc, CDWSName);
        InitTemplateWorksheet(CDWSDesc);
        const engine::ChartBlock block{Options.ChartDataFirstRow, Results.ProjectDays, ReportDate};
        stages().step(Format(UIT(txt::Clearing), {CDWSDesc}));
        const int blockLastRow =
            engine::ChartBlockLastRow(block.FirstRow, xl().getUsedRowCount(), xl().ChartRowSpans());
        engine::ClearChartData(xl(), cdHeaders, cdFields, block, blockLastRow);
        stages().complete();
        stages().step(Format(UIT(txt::InsertingData), {CDWSDesc}));
        engine::InsertChartData(xl(), cdHeaders, cdFields, Results, block);
        stages().complete();
        stages().step(Format(UIT(txt::Formatting), {CDWSDesc}));
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
        stages().step(Format(UIT(txt::Saving), {TFDesc, OFDesc}));
        xl().SaveWorkbookAs(OFDesc, OFPath);
        xl().setFileDesc(OFDesc);
        xl().setFilePath(OFPath);
        stages().complete();

        stages().step(Format(UIT(txt::Closing), {OFDesc}));
        xl().CloseWorkbook(false);
        stages().complete();

        stages().step(UIT(txt::ClosingMSExcel));
        xl().QuitExcel();
        stages().complete();
    });
}
