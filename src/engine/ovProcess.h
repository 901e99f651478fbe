#pragma once

#include "engine/RunOptions.h"
#include "engine/RunResults.h"
#include "engine/SummaryGrid.h"
#include "engine/TaskFilter.h"
#include "engine/TaskTable.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TovSD;
class TovProcessProgress;

namespace engine {
class StageProgress;
}

// The calculation engine: turns one KRV Definition into an output workbook in one synchronous
// Run. Holds the run's settings copied from the definition, the extracted tasks, the computed
// results and the two progress line formats; drives the stages in their fixed order and reports
// a failure or a cancel in the standard dialogue.
class TovProcess {
public:
    TovProcess();
    ~TovProcess();
    TovProcess(const TovProcess&) = delete;
    TovProcess& operator=(const TovProcess&) = delete;

    // Processes KRV Definition `index` (1-based, of SDs); true only when the whole run succeeded.
    // Every failure and a cancel are reported here and give false.
    bool Run(int index);

    // Chooses the progress line formats for an operation of the given number of steps: the step
    // number gets as many digits as the count needs (two for 1000 steps or more).
    void SetLineFormats(int stepCount);
    QString getStepLineFormat() const { return StepLineFormat; }
    QString getSubLineFormat() const { return SubLineFormat; }

    // The clock that gives the report date ("today"); tests set a fixed one.
    void setClock(std::function<QDate()> today);
    // Runs after a moved cut off date was written into the definition, so that the main window
    // can show it and refresh its data file status.
    void setOnCutOffDateMoved(std::function<void()> handler);

    // The run's number of numbered progress steps; also sets the line formats for it.
    int CountProgressSteps();
    void LoadRunSettings(int index);
    void PrepareExcel();
    void Calculate();
    // Empties every per-task and per-day array; counts and statistics stay.
    void FreeRunData();

    // Output pre-checks.
    bool CheckOutputFolder();
    bool OutputFileReadOnly();
    bool OutputFileOpen();
    // Raises the matching lines unless the output folder exists (or was created) and the Output
    // File is neither read-only nor open elsewhere; checked before the run and again before the
    // save, since either can change while the run works.
    void RequireWritableOutput();
    bool ConfirmOverwrite();

    // Workbook checks and task extraction.
    void CheckDataSourceFile();
    void CheckTemplateFile();
    void ExtractTasks();
    void ExtractMapFields();
    void ExtractFilterFields();

    // The calculation stages over the extracted tasks.
    void FilterTasks(bool raiseWhenNoMatch);
    void ValidateTasks(engine::DataSet set);
    void CheckValidTasks(const QString& what);
    void ValidateCutOffDate();
    void CalcProjectSpan();
    void CalcDailySeries(engine::DataSet set);
    void CalcPercentSCurves();
    void CalcPercentHistograms();
    void CalcTaskTotals(engine::DataSet set);
    void CalcGrowthSlippage();

    // What the run read and computed.
    int getSDIndex() const { return SDIndex; }
    int getReportDate() const { return ReportDate; }
    int getCutOffDate() const { return CutOffDate; }
    bool getOverwriteConfirmed() const { return OverwriteConfirmed; }
    const engine::RunOptions& getOptions() const { return Options; }
    const engine::TaskTable& getTasks() const { return Tasks; }
    const engine::RunResults& getResults() const { return Results; }
    QString getOFPath() const { return OFPath; }
    QString getOFFolder() const { return OFFolder; }

    // The output stages (ovProcessOutput.cpp). Fills the Project Summary fields from the run's
    // results, then marks those that do not apply or have no data.
    void PopulateProjectSummary();
    void FormatProjectSummary();
    // Fills the Chart Data fields and title; blanks each data set's series outside its span.
    void PopulateChartData();
    void DeleteTemporaryData();
    // Writes the Project Summary into the Summary window's grid and colours it.
    void PopulateSummaryForm();
    void FormatSummaryForm();
    // Fills the template's two worksheets; saves the result as the Output File and quits Excel.
    void WriteOutputWorkbook();
    void SaveOutputFile();

    // Imports for the browse windows (ovProcessImport.cpp). Each drives Excel by itself from
    // start to quit under the progress window and fills one cache of the active KRV Definition:
    // worksheet list wslIndex, the task field list, or value list vlIndex with the distinct
    // values of column taskFld. True when the cache was filled; otherwise the failure, a Cancel
    // or an empty result has been shown and the cache is not loaded. None of them raises.
    bool ImportWorksheetNames(const QString& fileDesc, const QString& filePath,
                              const QString& openPassword, int wslIndex);
    bool ImportTaskFields(const QString& fileDesc, const QString& filePath,
                          const QString& openPassword, const QString& worksheetDesc,
                          const QString& worksheetName, int taskHeaderRow);
    bool ImportTaskFieldValues(const QString& fileDesc, const QString& filePath,
                               const QString& openPassword, const QString& worksheetDesc,
                               const QString& worksheetName, const QString& taskFld, int vlIndex,
                               int taskHeaderRow);

    // The Summary window's grid as the last run left it.
    const TovSummaryGrid& getSummaryGrid() const { return SummaryGrid; }

private:
    // Output helpers (ovProcessOutput.cpp). Makes a worksheet of the open template current in the
    // layer; a missing one closes the template, quits Excel and raises.
    void RequireTemplateWorksheet(const QString& desc, const QString& name);
    void InitTemplateWorksheet(const QString& desc);
    // Refuses a Chart Data worksheet whose block cannot be resized to the run's days.
    void CheckChartDataBlock();

    TovSummaryGrid SummaryGrid;

    TovSD* sd() const;
    engine::StageProgress& stages();
    // The error lines of a failed output check (the run's pre-checks and the save stage).
    QStringList OutputFolderMissingLines() const;
    QStringList OutputFileReadOnlyLines() const;
    QStringList OutputFileOpenLines() const;
    QStringList OutputFileExistsLines() const;
    // Refuses an Output File that names one of the input workbooks.
    void CheckOutputIsNotInput();
    // The yes/no question of a pre-check with an optional check box; returns the answer.
    int AskQuestion(const QString& key, const QStringList& lines, const QString& yesHint,
                    const QString& noHint, const QString& checkBoxCaption, bool* checked);
    // Closes the open workbook, quits Excel and raises the missing-worksheet error.
    [[noreturn]] void RaiseMissingWorksheet(int textId, const QString& fileDesc,
                                            const QString& filePath);
    void CheckWorksheet(const QString& desc, const QString& name, const QString& fileDesc,
                        const QString& filePath);
    void OpenInputWorkbook(const QString& desc, const QString& path, const QString& password);
    void CloseInputWorkbook(const QString& desc);
    void ShowProgressWindow(int steps);
    void CloseProgressWindow();
    // The abort and failure paths: quits Excel, frees the run data and shows the dialogue.
    void ReportRunEnd(const QString& key, const QString& details);

    QString StepLineFormat = QStringLiteral(" [%.2d] %s ");
    QString SubLineFormat = QStringLiteral(" [--] %s ");

    std::function<QDate()> Today;
    std::function<void()> OnCutOffDateMoved;
    std::unique_ptr<TovProcessProgress> ProgressOfStages;
    std::unique_ptr<engine::StageProgress> Stages;

    int SDIndex = 0;
    int ReportDate = 0;
    int CutOffDate = 0;
    bool GenerateBL = false;
    bool GenerateACT = false;
    bool GenerateTGT = false;
    bool GraphMH = false;
    bool GraphCost = false;
    bool MHExpendedToDate = false;
    bool CostExpendedToDate = false;
    bool OverwriteConfirmed = false;

    QString DSFDesc;
    QString DSFPath;
    QString DSFPassword;
    QString TaskWSDesc;
    QString TaskWSName;
    int TaskHeaderRow = 1;
    QString TFDesc;
    QString TFPath;
    QString TFPassword;
    QString PSWSDesc;
    QString PSWSName;
    QString CDWSDesc;
    QString CDWSName;
    QString OFDesc;
    QString OFPath;
    QString OFFolderDesc;
    QString OFFolder;

    engine::RunOptions Options;
    engine::TaskTable Tasks;
    std::vector<engine::FilterRow> FilterRows;
    engine::RunResults Results;
};

extern TovProcess* Process;
