#include "TemplateLayout.h"

#include "XlsxSupport.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "services/ovUIL.h"

namespace tools {
namespace {

// The progress texts whose subject names each series column, Baseline / Actual / Target in turn.
const int kSeriesTextIds[36] = {
    416, 428, 440, 419, 431, 443, 420, 432, 444, 415, 427, 439, 417, 429, 441, 418, 430, 442,
    422, 434, 446, 425, 437, 449, 426, 438, 450, 421, 433, 445, 423, 435, 447, 424, 436, 448,
};

lxw_format* cellFormat(lxw_workbook* workbook, const TovReportCell& cell) {
    lxw_format* f = workbook_add_format(workbook);
    switch (cell.getHorAlign()) {
    case haLeft:
        format_set_align(f, LXW_ALIGN_LEFT);
        break;
    case haRight:
        format_set_align(f, LXW_ALIGN_RIGHT);
        break;
    default:
        format_set_align(f, LXW_ALIGN_CENTER);
        break;
    }
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    if (cell.getFontBold()) {
        format_set_bold(f);
    }
    if ((cell.getFontColor() & 0xFF000000u) == 0) {
        format_set_font_color(f, rgbOf(cell.getFontColor()));
    }
    format_set_bg_color(f, rgbOf(cell.getColor()));
    format_set_pattern(f, LXW_PATTERN_SOLID);
    format_set_top(f, LXW_BORDER_THIN);
    format_set_left(f, LXW_BORDER_THIN);
    format_set_bottom(f, LXW_BORDER_THIN);
    format_set_right(f, LXW_BORDER_THIN);
    format_set_top_color(f, rgbOf(cell.getGridLineTopColor()));
    format_set_left_color(f, rgbOf(cell.getGridLineLeftColor()));
    format_set_bottom_color(f, rgbOf(cell.getGridLineBottomColor()));
    format_set_right_color(f, rgbOf(cell.getGridLineRightColor()));
    return f;
}

void writeCell(lxw_worksheet* sheet, const TovReportCell& cell, const QString& text,
               lxw_format* format) {
    const lxw_row_t row = static_cast<lxw_row_t>(cell.getRow() - 1);
    const lxw_col_t column = static_cast<lxw_col_t>(cell.getColumn() - 1);
    if (cell.getMerge()) {
        check(worksheet_merge_range(
                  sheet, row, column, static_cast<lxw_row_t>(cell.getMergeRow2() - 1),
                  static_cast<lxw_col_t>(cell.getMergeCol2() - 1), Utf8(text), format),
              "merge range");
    } else if (text.isEmpty()) {
        check(worksheet_write_blank(sheet, row, column, format), "write blank");
    } else {
        check(worksheet_write_string(sheet, row, column, Utf8(text), format), "write string");
    }
}

const char* numberFormatOf(quint8 valueType) {
    switch (valueType) {
    case vtInteger:
        return "0";
    case vtNumber:
        return "#,##0.00";
    case vtDate:
        return "dd-mmm-yyyy";
    default:
        return nullptr;
    }
}

} // namespace

QString ChartDataHeading(int column) {
    if (column < 2 || column > kChartDataColumns) {
        return QStringLiteral("Date");
    }
    QString text = UIT(kSeriesTextIds[column - 2]);
    const QString prefix = QStringLiteral("Calculating ");
    if (text.startsWith(prefix)) {
        text = text.mid(prefix.size());
    }
    const qsizetype cut = text.indexOf(QStringLiteral(" for "));
    if (cut >= 0) {
        text = text.left(cut);
    }
    return text.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

bool IsPercentColumn(int column) {
    // Each quantity has nine value columns (S curve, then two percentage S curves) and nine
    // histogram columns (daily, then two percentage histograms).
    const int position = (column - 2) % 9;
    return column >= 2 && column <= kChartDataColumns && position >= 3;
}

void WriteReportCells(lxw_workbook* workbook, lxw_worksheet* sheet, const TovRHs& headers,
                      const TovRFs& fields) {
    for (int i = 1; i <= headers.getCount(); ++i) {
        const TovRH& h = *headers.getItems(i);
        lxw_format* f = cellFormat(workbook, h);
        QString caption = h.getCaption();
        if (caption.contains(QLatin1Char('\n'))) {
            caption.remove(QLatin1Char('\r'));
            format_set_text_wrap(f);
        }
        writeCell(sheet, h, caption, f);
    }
    for (int i = 1; i <= fields.getCount(); ++i) {
        const TovRF& field = *fields.getItems(i);
        lxw_format* f = cellFormat(workbook, field);
        if (const char* numberFormat = numberFormatOf(field.getValueType())) {
            format_set_num_format(f, numberFormat);
        }
        writeCell(sheet, field, QString(), f);
    }
}

void WriteChartDataBlock(lxw_workbook* workbook, lxw_worksheet* sheet) {
    lxw_format* heading = workbook_add_format(workbook);
    format_set_bold(heading);
    format_set_text_wrap(heading);
    format_set_align(heading, LXW_ALIGN_CENTER);
    format_set_align(heading, LXW_ALIGN_VERTICAL_CENTER);
    format_set_bg_color(heading, rgbOf(ReportColors::Yellow));
    format_set_pattern(heading, LXW_PATTERN_SOLID);
    format_set_border(heading, LXW_BORDER_THIN);

    auto blockFormat = [workbook](const char* numberFormat) {
        lxw_format* f = workbook_add_format(workbook);
        format_set_num_format(f, numberFormat);
        format_set_border(f, LXW_BORDER_THIN);
        format_set_border_color(f, rgbOf(ReportColors::Silver));
        return f;
    };
    lxw_format* date = blockFormat("dd-mmm-yyyy");
    lxw_format* number = blockFormat("#,##0.00");
    lxw_format* percent = blockFormat("0.00%");

    const lxw_row_t headingRow = kChartDataHeadingRow - 1;
    check(worksheet_set_row(sheet, headingRow, 78, nullptr), "set row");
    for (int column = 1; column <= kChartDataColumns; ++column) {
        const lxw_col_t c = static_cast<lxw_col_t>(column - 1);
        check(worksheet_write_string(sheet, headingRow, c, Utf8(ChartDataHeading(column)), heading),
              "write heading");
        lxw_format* f = column == 1 ? date : IsPercentColumn(column) ? percent : number;
        for (int row = kChartDataFirstRow; row <= kChartDataLastRow; ++row) {
            check(worksheet_write_blank(sheet, static_cast<lxw_row_t>(row - 1), c, f),
                  "write block cell");
        }
    }
}

} // namespace tools
