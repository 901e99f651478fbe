#include "workbook/Worksheet.h"

#include "workbook/CellRef.h"
#include "workbook/Error.h"
#include "workbook/detail/RowOps.h"
#include "workbook/detail/WorkbookModel.h"

namespace workbook {

Worksheet::Worksheet(std::shared_ptr<detail::WorkbookModel> model, int index)
    : model_(std::move(model)), index_(index) {}

QString Worksheet::name() const {
    model_->ensureOpen();
    return model_->sheetName(index_);
}

bool Worksheet::visible() const {
    model_->ensureOpen();
    return model_->sheetVisible(index_);
}

void Worksheet::activate() const {
    model_->activate(index_);
}

bool Worksheet::autoFilterMode() const {
    return model_->sheet(index_).hasAutoFilter();
}

void Worksheet::setAutoFilterMode(bool on) const {
    detail::SheetModel& sheet = model_->sheet(index_);
    if (on && !sheet.hasAutoFilter()) {
        throw Error(kRejectedReference,
                    QStringLiteral("An AutoFilter can only be switched off this way."));
    }
    if (!on) {
        sheet.removeAutoFilter();
    }
}

Range Worksheet::usedRange() const {
    const detail::CellRect rect = model_->sheet(index_).usedRange();
    return Range(model_, index_, rect.firstRow, rect.firstColumn, rect.lastRow, rect.lastColumn);
}

Range Worksheet::range(const QString& cell1, const QString& cell2) const {
    model_->ensureOpen();
    QString first = cell1.trimmed();
    QString second = cell2.trimmed();
    if (second.isEmpty() && first.contains(u':')) {
        second = first.section(u':', 1);
        first = first.section(u':', 0, 0);
    }
    const std::optional<CellPos> a = parseCellRef(first);
    const std::optional<CellPos> b = second.isEmpty() ? a : parseCellRef(second);
    if (!a || !b) {
        throw Error(kRejectedReference, {});
    }
    return Range(model_, index_, std::min(a->row, b->row), std::min(a->column, b->column),
                 std::max(a->row, b->row), std::max(a->column, b->column));
}

Range Worksheet::cells(int row, int column) const {
    model_->ensureOpen();
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
        throw Error(kRejectedReference, {});
    }
    return Range(model_, index_, row, column, row, column);
}

std::vector<std::pair<int, int>> Worksheet::chartRowSpans() const {
    return detail::chartRowSpans(*model_, index_);
}

void Worksheet::insertRows(int firstRow, int lastRow) const {
    model_->ensureOpen();
    detail::changeRows(*model_, index_,
                       detail::RowChange::insert(firstRow, lastRow - firstRow + 1));
}

void Worksheet::deleteRows(int firstRow, int lastRow) const {
    model_->ensureOpen();
    detail::changeRows(*model_, index_,
                       detail::RowChange::remove(firstRow, lastRow - firstRow + 1));
}

} // namespace workbook
