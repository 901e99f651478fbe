// The output stages of a run, members of TovProcess. This file is read inside the class body of
// TovProcess (ovProcess.h) and nowhere else; the stages are defined in ovProcessOutput.cpp.
// clang-format off
public:
    // Fills the Project Summary fields from the run's results, then marks those that do not
    // apply or have no data.
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
// clang-format on
