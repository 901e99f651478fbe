#include "OutputWorkbook.h"

#include "engine/ChartData.h"
#include "engine/ReportDates.h"
#include "engine/SummaryData.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovXL.h"
#include "platform/ScopeGuard.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>

namespace engine {
namespace {

constexpr int kRed = 0x000000FF;
constexpr int kSilver = 0x00C0C0C0;
constexpr int kBlack = 0x00000000;
constexpr int kWhite = 0x00FFFFFF;

int Colour(TColor colour) {
    // The layer takes the Windows colour value unchanged, system colours included.
    return static_cast<int>(colour);
}

QString CellOf(TovXL& xl, int column, int row) {
    return xl.ColumnToLetters(column) + QString::number(row);
}

void SelectHome(TovXL& xl) {
    xl.SelectCell(QStringLiteral("A1"));
}

} // namespace

void WriteReportField(TovXL& xl, const TovRF& field) {
    const QString& cell = field.getCell();
    switch (field.getValueState()) {
    case vsNoData:
        xl.InsertText(cell, UIT(txt::NoData));
        return;
    case vsNotApplicable:
        xl.InsertText(cell, UIT(txt::NA));
        return;
    case vsValue:
        break;
    default:
        return;
    }
    switch (field.getValueType()) {
    case vtText:
        xl.InsertText(cell, field.getTextValue());
        break;
    case vtInteger:
        xl.InsertNumber(cell, static_cast<double>(field.getIntegerValue()));
        break;
    case vtNumber:
        xl.InsertNumber(cell, field.getFloatValue());
        break;
    case vtDate:
        xl.InsertNumber(cell, field.getDateValue());
        break;
    default:
        break;
    }
}

void ColourReportField(TovXL& xl, const TovRF& field) {
    switch (field.getValueState()) {
    case vsNoData:
        xl.SetFontColour(field.getCell(), kRed);
        xl.SetBackgroundColour(field.getCell(), kSilver);
        break;
    case vsNotApplicable:
        xl.SetBackgroundColour(field.getCell(), kSilver);
        break;
    default:
        break;
    }
}

void InsertProjectSummaryData(TovXL& xl, const TovRHs& headers, const TovRFs& fields) {
    const TovRH& title = *headers.getItems(1);
    xl.InsertText(title.getCell(), title.getCaption());
    for (int i = 1; i <= fields.getCount(); ++i) {
        WriteReportField(xl, *fields.getItems(i));
    }
    SelectHome(xl);
    xl.SelectCell(QStringLiteral("B3"));
}

void FormatProjectSummaryWorksheet(TovXL& xl, const TovRFs& fields) {
    for (int i = 1; i <= fields.getCount(); ++i) {
        ColourReportField(xl, *fields.getItems(i));
    }
    for (const RedValueItem& red : kRedValueItems) {
        if (red.Item > fields.getCount()) {
            continue;
        }
        const TovRF& field = *fields.getItems(red.Item);
        if (IsRedValue(field, red.Integer)) {
            xl.SetFontColour(field.getCell(), kRed);
        }
    }
}

bool ChartBlockResizable(int firstRow, int usedLastRow) {
    return usedLastRow >= firstRow + 1;
}

int ChartBlockLastRow(int firstRow, int usedLastRow,
                      const std::vector<automation::RowSpan>& chartRows) {
    int last = usedLastRow;
    for (const automation::RowSpan& span : chartRows) {
        if (span.first <= firstRow && span.last >= firstRow + 1) {
            last = std::min(last, span.last);
        }
    }
    return last;
}

void ClearChartData(TovXL& xl, const TovRHs& headers, const TovRFs& fields, const ChartBlock& block,
                    int blockLastRow) {
    const TovRH& title = *headers.getItems(1);
    xl.InsertText(title.getCell(), title.getCaption());
    for (int i = 1; i <= fields.getCount(); ++i) {
        const TovRF& field = *fields.getItems(i);
        xl.InsertText(field.getCell(), QString());
        xl.SetFontColour(field.getCell(), Colour(field.getFontColor()));
        xl.SetBackgroundColour(field.getCell(), Colour(field.getColor()));
    }

    const QDate today = ReportDates::FromSerial(block.ReportDate);
    double placeholder = ReportDates::ToSerial(QDate(today.year(), today.month(), 1));
    if (fields.getCount() >= 5) {
        xl.InsertText(fields.getItems(1)->getCell(), QString());
        xl.InsertNumber(fields.getItems(2)->getCell(), placeholder);
        xl.InsertNumber(fields.getItems(3)->getCell(), placeholder);
        xl.InsertNumber(fields.getItems(4)->getCell(), 0);
        xl.InsertNumber(fields.getItems(5)->getCell(), 1);
    }

    const int f = block.FirstRow;
    const int n = block.Days;
    if (f + 1 <= blockLastRow - 1) {
        xl.DeleteRows(f + 1, blockLastRow - 1);
    }
    if (f + 1 <= f + n - 2) {
        xl.InsertRows(f + 1, f + n - 2);
    }
    // After the resize the template's last block row is the block's last row, or row F + 1 for
    // a single day; rows below it lie outside the block and stay untouched.
    const int lastBlockRow = std::max(block.lastRow(), f + 1);
    const int lastCleared = std::min(blockLastRow, lastBlockRow);
    for (int r = f; r <= lastCleared; ++r) {
        for (int j = 1; j <= kChartDataColumns; ++j) {
            const QString cell = CellOf(xl, j, r);
            xl.InsertText(cell, QString());
            xl.SetFontColour(cell, kBlack);
            xl.SetBackgroundColour(cell, kWhite);
        }
    }
    // Placeholder dates for the block's rows; a one-day block leaves its second row blank, or
    // every chart would show a second, false day.
    const int placeholderRows = n >= 2 ? 2 : 1;
    for (int r = f; r < f + placeholderRows; ++r) {
        xl.InsertNumber(QStringLiteral("A") + QString::number(r), placeholder);
        placeholder += 1.0;
    }
    SelectHome(xl);
    xl.SelectCell(QStringLiteral("B8"));
}

void InsertChartData(TovXL& xl, const TovRHs& headers, const TovRFs& fields,
                     const RunResults& results, const ChartBlock& block) {
    const TovRH& title = *headers.getItems(1);
    xl.InsertText(title.getCell(), title.getCaption());
    for (int i = 1; i <= fields.getCount(); ++i) {
        WriteReportField(xl, *fields.getItems(i));
    }
    {
        // The column handed to the layer is large; it is not kept past the writes.
        const platform::ScopeExit releaseColumn([&xl] { xl.InsertData = automation::Column(); });
        for (int j = 1; j <= kChartDataColumns; ++j) {
            FillChartDataColumn(results, j, xl.InsertData);
            xl.InsertValues(xl.ColumnToLetters(j), block.FirstRow, block.lastRow());
        }
    }
    SelectHome(xl);
    xl.SelectCell(QStringLiteral("B8"));
}

void FormatChartData(TovXL& xl, const TovRFs& fields) {
    for (int i = 1; i <= fields.getCount(); ++i) {
        ColourReportField(xl, *fields.getItems(i));
    }
}

} // namespace engine
