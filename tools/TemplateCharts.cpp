#include "TemplateLayout.h"
#include "XlsxSupport.h"

#include "engine/DataSetColors.h"
#include "services/ovUIL.h"

#include <iterator>

namespace tools {
namespace {

enum class ChartKind { Curve, Histogram, PercentCurve, PercentHistogram };

struct ChartPlan {
    int baselineColumn; // the data sets' columns are this one and the two after it
    ChartKind kind;
};

// Left: the curves; right: their histograms. Rows: man hours, cost, then the percentage charts
// against Baseline and Target.
const ChartPlan kCharts[][2] = {
    {{2, ChartKind::Curve}, {11, ChartKind::Histogram}},
    {{20, ChartKind::Curve}, {29, ChartKind::Histogram}},
    {{5, ChartKind::PercentCurve}, {14, ChartKind::PercentHistogram}},
    {{8, ChartKind::PercentCurve}, {17, ChartKind::PercentHistogram}},
    {{23, ChartKind::PercentCurve}, {32, ChartKind::PercentHistogram}},
    {{26, ChartKind::PercentCurve}, {35, ChartKind::PercentHistogram}},
};

const int kSetNameIds[3] = {760, 761, 762};
const int kCutOffNameId = 767;

QString titleOf(const ChartPlan& plan) {
    QString title = ChartDataHeading(plan.baselineColumn);
    const QString baseline = UIT(kSetNameIds[0]) + QLatin1Char(' ');
    if (title.startsWith(baseline)) {
        title = title.mid(baseline.size());
    }
    if (plan.kind == ChartKind::Histogram) {
        title = QStringLiteral("Histogram ") + title;
    }
    return title;
}

lxw_chart* makeChart(lxw_workbook* workbook, const ChartPlan& plan, const Utf8& sheet) {
    const bool curve = plan.kind == ChartKind::Curve || plan.kind == ChartKind::PercentCurve;
    const bool percent =
        plan.kind == ChartKind::PercentCurve || plan.kind == ChartKind::PercentHistogram;
    // Percentage curves are scatter charts so that the cut off marker, a pair of points at the
    // cut off date, shares their date scale.
    const uint8_t type = plan.kind == ChartKind::PercentCurve ? LXW_CHART_SCATTER_STRAIGHT
                         : curve                              ? LXW_CHART_LINE
                                                              : LXW_CHART_COLUMN;
    lxw_chart* chart = workbook_add_chart(workbook, type);
    if (chart == nullptr) {
        throw Failure("add chart");
    }
    const lxw_row_t first = kChartDataFirstRow - 1;
    const lxw_row_t last = kChartDataLastRow - 1;
    for (int set = 0; set < 3; ++set) {
        const lxw_col_t column = static_cast<lxw_col_t>(plan.baselineColumn - 1 + set);
        lxw_chart_series* series = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_categories(series, sheet, first, 0, last, 0);
        chart_series_set_values(series, sheet, first, column, last, column);
        chart_series_set_name(series, Utf8(UIT(kSetNameIds[set])));
        if (curve) {
            lxw_chart_line line = {};
            line.color = rgbOf(DataSetColors::InOrder[static_cast<size_t>(set)]);
            line.width = 1.75f;
            chart_series_set_line(series, &line);
            chart_series_set_marker_type(series, LXW_CHART_MARKER_NONE);
        } else {
            lxw_chart_fill fill = {};
            fill.color = rgbOf(DataSetColors::InOrder[static_cast<size_t>(set)]);
            chart_series_set_fill(series, &fill);
        }
    }
    if (plan.kind == ChartKind::PercentCurve) {
        lxw_chart_series* marker = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_categories(marker, sheet, 3, 8, 4, 8); // I4:I5
        chart_series_set_values(marker, sheet, 3, 9, 4, 9);     // J4:J5
        chart_series_set_name(marker, Utf8(UIT(kCutOffNameId)));
        lxw_chart_line line = {};
        line.color = LXW_COLOR_BLACK;
        line.width = 1.5f;
        line.dash_type = LXW_CHART_LINE_DASH_DASH;
        chart_series_set_line(marker, &line);
        chart_series_set_marker_type(marker, LXW_CHART_MARKER_NONE);
    }
    if (!curve) {
        chart_set_series_gap(chart, 30);
    }
    chart_title_set_name(chart, Utf8(titleOf(plan)));
    lxw_chart_font titleFont = {};
    titleFont.size = 11;
    titleFont.bold = LXW_EXPLICIT_FALSE;
    chart_title_set_name_font(chart, &titleFont);
    chart_axis_set_num_format(chart->x_axis, "dd-mmm-yy");
    chart_axis_set_num_format(chart->y_axis, percent ? (curve ? "0%" : "0.0%") : "#,##0");
    chart_axis_set_min(chart->y_axis, 0);
    chart_axis_set_label_position(chart->x_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_BOTTOM);
    chart_show_blanks_as(chart, LXW_CHART_BLANKS_AS_GAP);
    return chart;
}

} // namespace

void AddCharts(lxw_workbook* workbook, lxw_worksheet* sheet, const QString& dataSheetName,
               int anchorColumn) {
    const Utf8 dataSheet(dataSheetName);
    const int chartColumns = kChartColumns;
    const int chartRows = kChartRows;
    int row = 0;
    for (const auto& pair : kCharts) {
        for (int side = 0; side < 2; ++side) {
            lxw_chart* chart = makeChart(workbook, pair[side], dataSheet);
            lxw_chart_options options = {};
            options.x_scale = 1.2;
            options.y_scale = 320.0 / 288.0;
            options.object_position = LXW_OBJECT_DONT_MOVE_DONT_SIZE;
            const lxw_col_t column = static_cast<lxw_col_t>(anchorColumn + side * chartColumns);
            check(worksheet_insert_chart_opt(sheet, static_cast<lxw_row_t>(row), column, chart,
                                             &options),
                  "insert chart");
        }
        row += chartRows;
    }
}

int ChartBandCount() {
    return static_cast<int>(std::size(kCharts));
}

} // namespace tools
