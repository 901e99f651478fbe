#include "workbook/Range.h"

#include "platform/ClipboardText.h"
#include "platform/PrivateClipboard.h"
#include "workbook/CellRef.h"
#include "workbook/Error.h"
#include "workbook/NumberFormat.h"
#include "workbook/detail/DateText.h"
#include "workbook/detail/WorkbookModel.h"

namespace workbook {

Font::Font(const Range& range) : range_(std::make_shared<Range>(range)) {}

void Font::setColor(int32_t color) {
    range_->setColor(false, color);
}

Interior::Interior(const Range& range) : range_(std::make_shared<Range>(range)) {}

void Interior::setColor(int32_t color) {
    range_->setColor(true, color);
}

Range::Range(std::shared_ptr<detail::WorkbookModel> model, int sheet, int firstRow, int firstColumn,
             int lastRow, int lastColumn)
    : model_(std::move(model)), sheet_(sheet), firstRow_(firstRow), firstColumn_(firstColumn),
      lastRow_(lastRow), lastColumn_(lastColumn) {
    if (firstRow < 1 || firstColumn < 1 || lastRow > kMaxRows || lastColumn > kMaxColumns ||
        firstRow > lastRow || firstColumn > lastColumn) {
        throw Error(kRejectedReference, {});
    }
}

QString Range::address() const {
    const QString first = cellRef(firstRow_, firstColumn_);
    if (firstRow_ == lastRow_ && firstColumn_ == lastColumn_) {
        return first;
    }
    if (firstColumn_ == 1 && lastColumn_ == kMaxColumns) {
        return QString::number(firstRow_) + u':' + QString::number(lastRow_);
    }
    if (firstRow_ == 1 && lastRow_ == kMaxRows) {
        return columnLetters(firstColumn_) + u':' + columnLetters(lastColumn_);
    }
    return first + u':' + cellRef(lastRow_, lastColumn_);
}

CellValue Range::value2() const {
    return model_->sheet(sheet_).value(firstRow_, firstColumn_);
}

ValueArray Range::value2Array() const {
    ValueArray array;
    array.rows = rowCount();
    array.columns = columnCount();
    array.values.reserve(size_t(array.rows) * size_t(array.columns));
    eachValue2([&](CellValue&& value) { array.values.push_back(std::move(value)); });
    return array;
}

void Range::eachValue2(const std::function<void(CellValue&&)>& take) const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    const bool oneColumn = firstColumn_ == lastColumn_;
    for (int r = firstRow_; r <= lastRow_; ++r) {
        if (oneColumn) {
            sheet.prefetchDownColumn(r, firstColumn_);
        }
        for (int c = firstColumn_; c <= lastColumn_; ++c) {
            take(sheet.value(r, c));
        }
    }
}

namespace {

CellValue withDate(detail::WorkbookModel& model, detail::SheetModel& sheet, int row, int column) {
    CellValue value = sheet.value(row, column);
    if (value.kind() == CellValue::Kind::Number &&
        model.styles().isDateStyle(sheet.styleOf(row, column))) {
        return CellValue::date(value.toNumber());
    }
    return value;
}

QString displayed(detail::WorkbookModel& model, detail::SheetModel& sheet, int row, int column) {
    return formatCellText(sheet.value(row, column),
                          model.styles().formatCode(sheet.styleOf(row, column)), model.date1904());
}

} // namespace

CellValue Range::value() const {
    return withDate(*model_, model_->sheet(sheet_), firstRow_, firstColumn_);
}

ValueArray Range::valueArray() const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    ValueArray array;
    array.rows = rowCount();
    array.columns = columnCount();
    for (int r = firstRow_; r <= lastRow_; ++r) {
        for (int c = firstColumn_; c <= lastColumn_; ++c) {
            array.values.push_back(withDate(*model_, sheet, r, c));
        }
    }
    return array;
}

QString Range::text() const {
    return displayed(*model_, model_->sheet(sheet_), firstRow_, firstColumn_);
}

namespace {

// Writes a block cell by cell and marks the sheet modified once for the whole block (a column of
// thousands of cells is one write), also when a write fails part of the way.
template <typename WriteCell>
void writeBlock(detail::SheetModel& sheet, int firstRow, int firstColumn, int lastRow,
                int lastColumn, WriteCell writeCell) {
    bool changed = false;
    try {
        const bool oneColumn = firstColumn == lastColumn;
        for (int r = firstRow; r <= lastRow; ++r) {
            if (oneColumn) {
                sheet.prefetchDownColumn(r, firstColumn);
            }
            for (int c = firstColumn; c <= lastColumn; ++c) {
                changed = writeCell(r, c) || changed;
            }
        }
    } catch (...) {
        if (changed) {
            sheet.markModified();
        }
        throw;
    }
    if (changed) {
        sheet.markModified();
    }
}

} // namespace

void Range::setValue(const CellValue& value) const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    writeBlock(sheet, firstRow_, firstColumn_, lastRow_, lastColumn_,
               [&](int r, int c) { return sheet.writeValue(r, c, value); });
}

void Range::setValues(const std::vector<CellValue>& values) const {
    setValues(values.size(), [&values](size_t i) { return values[i]; });
}

void Range::setValues(size_t count, const std::function<CellValue(size_t)>& valueAt) const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    if (count != size_t(rowCount()) * size_t(columnCount())) {
        throw Error(kRejectedReference, QStringLiteral("%1 values do not fit the %2 cells of %3.")
                                            .arg(count)
                                            .arg(qlonglong(rowCount()) * columnCount())
                                            .arg(address()));
    }
    for (size_t i = 0; i < count; ++i) {
        if (const CellValue value = valueAt(i);
            value.isNumber() && !std::isfinite(value.toNumber())) {
            throw Error(kRejectedReference,
                        QStringLiteral("The value is not a finite number and cannot be stored."));
        }
    }
    const bool oneColumn = columnCount() == 1;
    size_t i = 0;
    writeBlock(sheet, firstRow_, firstColumn_, lastRow_, lastColumn_, [&](int r, int c) {
        const CellValue value = valueAt(i++);
        if (oneColumn && value.isText()) {
            if (const std::optional<QDate> date = detail::parseDayMonthYear(value.toText())) {
                sheet.writeValue(
                    r, c, CellValue::number(detail::dateToSerial(*date, model_->date1904())));
                const int xf = sheet.styleOf(r, c);
                const int dated = model_->styles().withDateFormat(xf);
                if (dated != xf) {
                    sheet.setStyle(r, c, dated);
                }
                return true;
            }
        }
        return sheet.writeValue(r, c, value);
    });
}

void Range::copy() const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    QString text;
    for (int r = firstRow_; r <= lastRow_; ++r) {
        for (int c = firstColumn_; c <= lastColumn_; ++c) {
            if (c > firstColumn_) {
                text += u'\t';
            }
            text += platform::clipboardField(displayed(*model_, sheet, r, c));
        }
        text += QLatin1String("\r\n");
    }
    platform::PrivateClipboard::setText(text);
}

void Range::select() const {
    model_->activate(sheet_);
    if (model_->application != nullptr) {
        model_->application->active = model_;
    }
    model_->sheet(sheet_).select(address(), cellRef(firstRow_, firstColumn_));
}

Range Range::entireRow() const {
    Range rows(model_, sheet_, firstRow_, 1, lastRow_, kMaxColumns);
    rows.whole_ = Whole::Rows;
    return rows;
}

Range Range::entireColumn() const {
    Range columns(model_, sheet_, 1, firstColumn_, kMaxRows, lastColumn_);
    columns.whole_ = Whole::Columns;
    return columns;
}

void Range::setHidden(bool hidden) const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    const bool allColumns = firstColumn_ == 1 && lastColumn_ == kMaxColumns;
    const bool allRows = firstRow_ == 1 && lastRow_ == kMaxRows;
    if (whole_ == Whole::Columns || (whole_ == Whole::None && allRows && !allColumns)) {
        sheet.setColumnsHidden(firstColumn_, lastColumn_, hidden);
    } else if (whole_ == Whole::Rows || allColumns) {
        sheet.setRowsHidden(firstRow_, lastRow_, hidden);
    } else {
        throw Error(kRejectedReference,
                    QStringLiteral("Only entire rows or entire columns can be hidden or shown."));
    }
}

void Range::setColor(bool fill, int32_t color) const {
    detail::SheetModel& sheet = model_->sheet(sheet_);
    const detail::StyleColor styleColor = detail::colorFromBgr(color);
    detail::Styles& styles = model_->styles();
    for (int r = firstRow_; r <= lastRow_; ++r) {
        for (int c = firstColumn_; c <= lastColumn_; ++c) {
            const int xf = sheet.styleOf(r, c);
            const int changed =
                fill ? styles.withFill(xf, styleColor) : styles.withFontColor(xf, styleColor);
            if (changed != xf) {
                sheet.setStyle(r, c, changed);
            }
        }
    }
}

} // namespace workbook
