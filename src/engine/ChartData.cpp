#include "ChartData.h"

#include "engine/DateText.h"
#include "engine/RF_PS_Consts.h"
#include "engine/StageProgress.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>

namespace engine {
namespace {

void ZeroDays(SeriesStore& series, const std::array<int, 12>& rows, int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, series.days());
    for (int row : rows) {
        for (int day = first; day <= last; ++day) {
            series.at(row, day) = 0.0;
        }
    }
}

} // namespace

void PopulateChartData(const RunOptions& options, const ChartDataTexts& texts,
                       const RunResults& results, TovRHs& headers, TovRFs& fields,
                       StageProgress& progress) {
    progress.runStage([&] {
        progress.step(UIT(txt::PopulatingChartData));
        fields.ClearValues();
        headers.getItems(1)->setCaption(ReportTitle());
        fields.getItems(1)->setDateValue(static_cast<double>(options.ReportDate));
        fields.getItems(2)->setDateValue(static_cast<double>(results.CutOffDate));
        fields.getItems(3)->setDateValue(static_cast<double>(results.CutOffDate));
        fields.getItems(4)->setIntegerValue(0);
        fields.getItems(5)->setIntegerValue(1);
        fields.getItems(6)->setTextValue(texts.ProjectTitle);
        fields.getItems(7)->setTextValue(texts.ProjectNumber);
        fields.getItems(8)->setTextValue(texts.ProjectClient);
        progress.complete();
    });
}

void DeleteTemporaryData(const RunOptions& options, RunResults& results, StageProgress& progress) {
    progress.runStage([&] {
        progress.step(UIT(txt::DeletingTemporaryData));
        const int n = results.ProjectDays;
        if (n >= 1 && results.Series.days() == n && results.Days.size() > std::size_t(n)) {
            const int firstDay = results.Days[1];
            const int lastDay = results.Days[static_cast<std::size_t>(n)];
            for (DataSet set : kDataSets) {
                if (!options.generates(set)) {
                    continue;
                }
                const DataSetResult& s = results.set(set);
                const auto& rows = kDataSetSeriesRows[static_cast<std::size_t>(Index(set))];
                if (s.ValidTasks == 0) {
                    ZeroDays(results.Series, rows, 1, n);
                    continue;
                }
                const int endDay = set == DataSet::Actual ? results.CutOffDate : s.LastFinish;
                // Blanked up to two days before the start; the day just before it keeps its value.
                const int before = s.FirstStart - firstDay;
                ZeroDays(results.Series, rows, 1, before - 1);
                const int after = lastDay - endDay;
                if (after > 0) {
                    ZeroDays(results.Series, rows, n - after + 1, n);
                }
            }
        }
        progress.complete();
    });
}

automation::Column ChartDataColumn(const RunResults& results, int column) {
    automation::Column values;
    FillChartDataColumn(results, column, values);
    return values;
}

void FillChartDataColumn(const RunResults& results, int column, automation::Column& values) {
    const int n = results.ProjectDays;
    values.clear();
    values.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int day = 1; day <= n; ++day) {
        if (column == 1) {
            values.emplace_back(DayText(results.Days[static_cast<std::size_t>(day)]));
        } else {
            const double v = results.Series.at(column, day);
            if (v == 0.0) {
                values.emplace_back(QString());
            } else {
                values.emplace_back(v);
            }
        }
    }
}

} // namespace engine
