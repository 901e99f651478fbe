#include "ovProcess.h"

#include "engine/DailySeries.h"
#include "engine/DateText.h"
#include "engine/PercentCurves.h"
#include "engine/ProcessProgress.h"
#include "engine/ProcessWindows.h"
#include "engine/ProjectSpan.h"
#include "engine/StageProgress.h"
#include "engine/TaskTotals.h"
#include "engine/TaskValidation.h"
#include "excel/ovXL.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>

using engine::DataSet;
using platform::Format;
using platform::RaiseLines;

TovProcess* Process = nullptr;

namespace {

QString CleanAbsolute(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Whether two paths name the same file: equal once made absolute and clean, or, when both
// exist, the same file after links are followed.
bool SameFile(const QString& a, const QString& b) {
    if (a.trimmed().isEmpty() || b.trimmed().isEmpty()) {
        return false;
    }
    if (CleanAbsolute(a) == CleanAbsolute(b)) {
        return true;
    }
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists()) {
        const QString ca = fa.canonicalFilePath();
        return !ca.isEmpty() && ca == fb.canonicalFilePath();
    }
    return false;
}

} // namespace

TovProcess::TovProcess()
    : ProgressOfStages(std::make_unique<TovProcessProgress>()),
      Stages(std::make_unique<engine::StageProgress>(*ProgressOfStages)) {}

TovProcess::~TovProcess() = default;

void TovProcess::SetLineFormats(int stepCount) {
    if (stepCount < 10) {
        StepLineFormat = QStringLiteral(" [%.1d] %s ");
        SubLineFormat = QStringLiteral(" [-] %s ");
    } else if (stepCount >= 100 && stepCount <= 999) {
        StepLineFormat = QStringLiteral(" [%.3d] %s ");
        SubLineFormat = QStringLiteral(" [---] %s ");
    } else {
        StepLineFormat = QStringLiteral(" [%.2d] %s ");
        SubLineFormat = QStringLiteral(" [--] %s ");
    }
}

void TovProcess::setClock(std::function<QDate()> today) {
    Today = std::move(today);
}

void TovProcess::setOnCutOffDateMoved(std::function<void()> handler) {
    OnCutOffDateMoved = std::move(handler);
}

TovSD* TovProcess::sd() const {
    if (SDs == nullptr) {
        throw platform::Exception(UIT(txt::UnableToInitialiseKRVDefinitions));
    }
    return SDs->getItems(SDIndex);
}

engine::StageProgress& TovProcess::stages() {
    return *Stages;
}

bool TovProcess::Run(int index) {
    if (AD != nullptr) {
        AD->MessageLog.clear();
        const QString description =
            SDs != nullptr ? SDs->getItems(index)->getDescription() : QString();
        AD->MessageLog << UIT(txt::ErrorHasOccurredWhileProcessing) << QString() << description
                       << QString();
    }
    if (XL != nullptr) {
        // Lines of an earlier operation must not head this run's messages.
        XL->Errors.clear();
    }
    try {
        LoadRunSettings(index);
        CheckOutputIsNotInput();
        RequireWritableOutput();
        OverwriteConfirmed = true;
        if (!ConfirmOverwrite()) {
            RaiseLines(OutputFileExistsLines());
        }
        const int steps = CountProgressSteps();
        ShowProgressWindow(steps);
        PrepareExcel();
        Calculate();
        DeleteTemporaryData();
        WriteOutputWorkbook();
        SaveOutputFile();
        CloseProgressWindow();
        FreeRunData();
        return true;
    } catch (const platform::EAbort&) {
        ReportRunEnd(QStringLiteral("UP001"), QString());
    } catch (const platform::Exception& e) {
        ReportRunEnd(QStringLiteral("UP002"), e.message());
    } catch (const std::exception& e) {
        ReportRunEnd(QStringLiteral("UP002"), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportRunEnd(QStringLiteral("UP002"), QString());
    }
    return false;
}

void TovProcess::LoadRunSettings(int index) {
    SDIndex = index;
    const TovSD* d = sd();
    const TovSCO& sco = *d->SCO;
    const TovSCF& scf = *d->SCF;

    const QDate today = Today ? Today() : QDate::currentDate();
    ReportDate = static_cast<int>(QDate(1899, 12, 30).daysTo(today));
    CutOffDate = engine::WholeDay(sco.getCutOffDate());
    OverwriteConfirmed = false;

    GenerateBL = sco.getGenerateBL() != 0;
    GenerateACT = sco.getGenerateACT() != 0;
    GenerateTGT = sco.getGenerateTGT() != 0;
    GraphMH = sco.getGraphMH() != 0;
    GraphCost = sco.getGraphCost() != 0;
    MHExpendedToDate = sco.getMHQty() == 1;
    CostExpendedToDate = sco.getCostQty() == 1;

    DSFDesc = UIT(txt::DataSourceFile_747);
    DSFPath = scf.getDSF_DrivePathFilenameExtnXL().trimmed();
    DSFPassword = scf.getDSF_OpenPasswordXL();
    TaskWSDesc = UIT(txt::TaskWorksheet_750);
    TaskWSName = scf.getDSF_TaskWS();
    TaskHeaderRow = scf.getDSF_THR();
    TFDesc = UIT(txt::TemplateFile_752);
    TFPath = scf.getTF_DrivePathFilenameExtnXL().trimmed();
    TFPassword = scf.getTF_OpenPasswordXL();
    PSWSDesc = UIT(txt::ProjectSummaryWorksheet_755);
    PSWSName = scf.getTF_ProjectSummaryWS();
    CDWSDesc = UIT(txt::ChartDataWorksheet_756);
    CDWSName = scf.getTF_ChartDataWS();
    OFDesc = UIT(txt::OutputFile_757);
    OFPath = scf.getOF_DrivePathFilenameExtnXL().trimmed();
    OFFolderDesc = UIT(txt::OutputFileFolder);
    OFFolder = scf.getOF_DrivePath();

    Options = engine::RunOptions();
    Options.ReportDate = ReportDate;
    Options.CutOffDate = CutOffDate;
    Options.Generate = {GenerateBL, GenerateACT, GenerateTGT};
    Options.GraphMH = GraphMH;
    Options.GraphCost = GraphCost;
    Options.MHExpendedToDate = MHExpendedToDate;
    Options.CostExpendedToDate = CostExpendedToDate;
    Options.FilterEnabled = d->DSF->getEnabled() != 0;
    Options.FilterText = d->DSF->getFilterText();
    Options.DSFDesc = DSFDesc;
    Options.DSFPath = DSFPath;
    Options.TaskWSDesc = TaskWSDesc;
    Options.TaskWSName = TaskWSName;
    Options.CDWSDesc = CDWSDesc;
    Options.ChartDataFirstRow = TovSCF::getChartDataFirstRow();
    Options.ChartDataMaxRows =
        std::min(engine::WorkbookRowLimit(TFPath), engine::WorkbookRowLimit(OFPath));

    // Every count and statistic starts from 0; the arrays are already empty.
    Results = engine::RunResults();
    Tasks = engine::TaskTable();
    FilterRows.clear();
}

QStringList TovProcess::OutputFolderMissingLines() const {
    return {Format(UIT(txt::FollowingDoesNotExist), {OFFolderDesc}), QString(), OFFolder, QString(),
            Format(UIT(txt::MustBeCreatedInOrder), {OFFolderDesc, OFDesc})};
}

QStringList TovProcess::OutputFileReadOnlyLines() const {
    return {Format(UIT(txt::FollowingExistsAndIsRead), {OFDesc}), QString(), OFPath, QString(),
            Format(UIT(txt::UnableToOverwriteExisting), {OFDesc})};
}

QStringList TovProcess::OutputFileOpenLines() const {
    return {Format(UIT(txt::FollowingAlreadyExistsAndIsOpen), {OFDesc}), QString(), OFPath,
            QString(), Format(UIT(txt::PleaseCloseAndTryAgain), {OFDesc})};
}

QStringList TovProcess::OutputFileExistsLines() const {
    return {Format(UIT(txt::FollowingAlreadyExists), {OFDesc}), QString(), OFPath};
}

void TovProcess::CheckOutputIsNotInput() {
    const QString pair = QStringLiteral("%s: %s");
    for (const auto& [desc, path] : {std::pair{DSFDesc, DSFPath}, std::pair{TFDesc, TFPath}}) {
        if (SameFile(OFPath, path)) {
            RaiseLines({Format(UIT(txt::IsSame), {OFDesc, desc}), QString(),
                        Format(pair, {OFDesc, OFPath}), QString(), Format(pair, {desc, path}),
                        QString(), Format(UIT(txt::PleaseSelectValid_1462), {OFDesc})});
        }
    }
}

int TovProcess::CountProgressSteps() {
    int n = 33;
    stages().runStage([&] {
        if (sd()->DSF->getEnabled() != 0) {
            n += 2;
        }
        if (GenerateBL) {
            n += (GenerateACT || GenerateTGT) ? 3 : 2;
            if (GraphMH) {
                n += GenerateTGT ? 7 : 5;
            }
            if (GraphCost) {
                n += GenerateTGT ? 7 : 5;
            }
        }
        if (GenerateACT) {
            n += 3;
            const int perQuantity = 3 + (GenerateBL ? 2 : 0) + (GenerateTGT ? 2 : 0);
            n += (GraphMH ? perQuantity : 0) + (GraphCost ? perQuantity : 0);
        }
        if (GenerateTGT) {
            n += 2;
            const int perQuantity = 5 + (GenerateBL ? 2 : 0);
            n += (GraphMH ? perQuantity : 0) + (GraphCost ? perQuantity : 0);
        }
    });
    SetLineFormats(n);
    return n;
}

void TovProcess::ShowProgressWindow(int steps) {
    engine::ShowProcessProgress(UIT(txt::ProcessingKRVDefinition), steps);
}

void TovProcess::CloseProgressWindow() {
    engine::HideProcessProgress();
}

void TovProcess::ReportRunEnd(const QString& key, const QString& details) {
    CloseProgressWindow();
    const QStringList lines = engine::FailureLines(details);
    FreeRunData();
    engine::ShowCloseMessage(sdkWarning, key, lines, txt::CloseDialogue_1243);
}

void TovProcess::FreeRunData() {
    Results.freeArrays();
    Tasks.Rows.clear();
    Tasks.Rows.shrink_to_fit();
    Tasks.FilterValues.clear();
    Tasks.FilterValues.shrink_to_fit();
    FilterRows.clear();
    if (XL != nullptr) {
        XL->Values.clear();
    }
}

void TovProcess::Calculate() {
    stages().runStage([&] {
        ExtractTasks();
        FilterTasks(true);
        for (DataSet set : engine::kDataSets) {
            if (Options.generates(set)) {
                ValidateTasks(set);
            }
        }
        CheckValidTasks(UIT(txt::Tasks_832));
        ValidateCutOffDate();
        CalcProjectSpan();
        for (DataSet set : engine::kDataSets) {
            if (Options.generates(set)) {
                CalcDailySeries(set);
            }
        }
        CalcPercentSCurves();
        CalcPercentHistograms();
        for (DataSet set : engine::kDataSets) {
            if (Options.generates(set)) {
                CalcTaskTotals(set);
            }
        }
        CalcGrowthSlippage();
        PopulateProjectSummary();
        FormatProjectSummary();
        PopulateChartData();
        PopulateSummaryForm();
        FormatSummaryForm();
    });
}

void TovProcess::FilterTasks(bool raiseWhenNoMatch) {
    FilterRows.clear();
    const TovDSF& dsf = *sd()->DSF;
    for (int j = 1; j <= dsf.getCount(); ++j) {
        const TovDSFx* row = dsf.getItems(j);
        engine::FilterRow filterRow;
        filterRow.Field = j - 1;
        filterRow.Operator = row->getFilterOperator();
        filterRow.Value = row->getTaskFldValueXL();
        filterRow.AndJoin = row->getAndFlag() == 1;
        FilterRows.push_back(filterRow);
    }
    engine::FilterTasks(Options, Tasks, FilterRows, Results, stages(), raiseWhenNoMatch);
}

void TovProcess::ValidateTasks(DataSet set) {
    engine::ValidateTasks(set, Options, Tasks, Results, stages());
}

void TovProcess::CheckValidTasks(const QString& what) {
    const engine::ValidTasksWarning warning =
        engine::CheckValidTasks(what, Options, Results, stages());
    if (!warning.Lines.isEmpty()) {
        engine::ShowCloseMessage(sdkWarning, warning.Key, warning.Lines, txt::CloseDialogue_1245);
    }
}

void TovProcess::ValidateCutOffDate() {
    engine::ValidateCutOffDate(Options, Results, stages(), [this](const engine::CutOffMove& m) {
        sd()->SCO->setCutOffDate(static_cast<double>(m.NewDate));
        if (DF != nullptr) {
            DF->setModified(true);
        }
        if (OnCutOffDateMoved) {
            OnCutOffDateMoved();
        }
        engine::ShowCloseMessage(sdkInformation, m.Key, m.Lines, txt::CloseDialogue_1246);
    });
    CutOffDate = Results.CutOffDate;
    Options.CutOffDate = CutOffDate;
}

void TovProcess::CalcProjectSpan() {
    engine::CalcProjectSpan(Options, Results, stages());
}

void TovProcess::CalcDailySeries(DataSet set) {
    engine::CalcDailySeries(set, Options, Results, stages());
}

void TovProcess::CalcPercentSCurves() {
    engine::CalcPercentSCurves(Options, Results, stages());
}

void TovProcess::CalcPercentHistograms() {
    engine::CalcPercentHistograms(Options, Results, stages());
}

void TovProcess::CalcTaskTotals(DataSet set) {
    engine::CalcTaskTotals(set, Options, Results, stages());
}

void TovProcess::CalcGrowthSlippage() {
    engine::CalcGrowthSlippage(Options, Tasks, Results, stages());
}
