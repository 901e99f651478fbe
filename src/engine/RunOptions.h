#pragma once

#include <QString>

#include <array>

namespace engine {

// The three data sets a run can generate, in the order every stage handles them.
enum class DataSet : int { Baseline = 0, Actual = 1, Target = 2 };

inline constexpr std::array<DataSet, 3> kDataSets = {DataSet::Baseline, DataSet::Actual,
                                                     DataSet::Target};

inline constexpr int Index(DataSet set) {
    return static_cast<int>(set);
}

// The settings of one run that the computation reads, copied from the definition by the driver.
// Dates are whole day numbers (days since 30 Dec 1899).
struct RunOptions {
    int ReportDate = 0; // today, injected by the caller
    int CutOffDate = 0;

    std::array<bool, 3> Generate = {false, false, false}; // by DataSet
    bool GraphMH = false;
    bool GraphCost = false;
    bool MHExpendedToDate = false;
    bool CostExpendedToDate = false;

    bool FilterEnabled = false;
    QString FilterText; // the filter's one-line description, for the no-match error

    // Descriptions and values named in the stages' error messages.
    QString DSFDesc;
    QString DSFPath;
    QString TaskWSDesc;
    QString TaskWSName;
    QString CDWSDesc;

    // The Chart Data block starts at this row and may run to the last row both workbooks hold:
    // the rows are written into the template's workbook and saved in the output's format.
    // Together they bound the number of project days.
    int ChartDataFirstRow = 8;
    int ChartDataMaxRows = 1048576;

    bool generates(DataSet set) const { return Generate[Index(set)]; }
};

} // namespace engine
