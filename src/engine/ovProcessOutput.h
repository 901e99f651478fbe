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

    // The Summary window's grid as the last run left it.
    const TovSummaryGrid& getSummaryGrid() const { return SummaryGrid; }

private:
    // Makes a worksheet of the open template current in the layer; a missing one closes the
    // template, quits Excel and raises.
    void RequireTemplateWorksheet(const QString& desc, const QString& name);
    void InitTemplateWorksheet(const QString& desc);
    // Refuses a Chart Data worksheet whose block cannot be resized to the run's days.
    void CheckChartDataBlock();

    TovSummaryGrid SummaryGrid;
// clang-format on
