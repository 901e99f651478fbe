#include "forms/tabs/FilterGridModel.h"

#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDSF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <algorithm>
#include <utility>
#include <vector>

using modelutil::SameTextAZ;
using modelutil::UpperAZ;
using platform::Format;

namespace {

size_t Index(int i) {
    return static_cast<size_t>(i - 1);
}

// One filter row as the definition holds it.
struct TStoredRow {
    uint8_t AndFlag = 1;
    QString TaskFld;
    QString Desc;
    uint8_t Operator = foEquals;
    QString Value;
};

} // namespace

const TFilterCell& TFilterGridModel::cell(int col, int row) const {
    return Cells[Index(row)][Index(col)];
}

TFilterCell& TFilterGridModel::cell(int col, int row) {
    return Cells[Index(row)][Index(col)];
}

void TFilterGridModel::setCell(int col, int row, const QString& text, int itemIndex) {
    cell(col, row) = {text, itemIndex};
}

QString TFilterGridModel::NoChoiceText() {
    return UIT(txt::PleaseSelect);
}

QString TFilterGridModel::AndText() {
    return UIT(txt::And);
}

QString TFilterGridModel::OrText() {
    return UIT(txt::Or);
}

QString TFilterGridModel::OperatorText(uint8_t op) {
    return TovDSF::getFilterOperatorName(op);
}

int TFilterGridModel::AndOrItemOf(const QString& text) {
    const QString key = UpperAZ(text.trimmed());
    if (key == UpperAZ(AndText())) {
        return 1;
    }
    if (key == UpperAZ(OrText())) {
        return 2;
    }
    return 0;
}

int TFilterGridModel::OperatorItemOf(const QString& text) {
    const QString key = UpperAZ(text.trimmed());
    for (int op = 0; op < FilterOperatorCount; ++op) {
        if (UpperAZ(OperatorText(static_cast<uint8_t>(op))) == key) {
            return op + 1;
        }
    }
    return 0;
}

QString TFilterGridModel::choice(int col, int row) const {
    const QString value = text(col, row).trimmed();
    return value == NoChoiceText() ? QString() : value;
}

bool TFilterGridModel::SameTexts(const TFilterGridModel& other) const {
    for (int r = 1; r <= RowCount; ++r) {
        for (int c = 1; c <= ColCount; ++c) {
            if (text(c, r) != other.text(c, r)) {
                return false;
            }
        }
    }
    return true;
}

bool TFilterGridModel::IsEmpty() const {
    for (const auto& row : Cells) {
        for (const TFilterCell& c : row) {
            if (!c.Text.isEmpty()) {
                return false;
            }
        }
    }
    return true;
}

bool TFilterGridModel::IsRowComplete(int row) const {
    return !choice(fcTaskFld, row).isEmpty() && !choice(fcOperator, row).isEmpty() &&
           (row == 1 || !choice(fcAndOr, row).isEmpty());
}

bool TFilterGridModel::HasTaskFields() const {
    for (int r = 1; r <= RowCount; ++r) {
        if (!text(fcTaskFld, r).trimmed().isEmpty()) {
            return true;
        }
    }
    return false;
}

void TFilterGridModel::Clear() {
    Cells = {};
}

void TFilterGridModel::ClearRow(int row) {
    Cells[Index(row)] = {};
}

void TFilterGridModel::FillDefaults(int row) {
    if (choice(fcTaskFld, row).isEmpty()) {
        return;
    }
    if (row != 1 && choice(fcAndOr, row).isEmpty()) {
        setCell(fcAndOr, row, AndText(), 1);
    }
    if (choice(fcOperator, row).isEmpty()) {
        setCell(fcOperator, row, OperatorText(foEquals), 1);
    }
}

void TFilterGridModel::ClearNoChoice() {
    for (int r = 1; r <= RowCount; ++r) {
        for (int c : {fcAndOr, fcOperator}) {
            if (text(c, r) == NoChoiceText()) {
                setCell(c, r, QString());
            }
        }
    }
}

void TFilterGridModel::copyRow(int to, int from, bool withAndOr) {
    for (int c = withAndOr ? fcAndOr : fcTaskFld; c <= fcValue; ++c) {
        cell(c, to) = cell(c, from);
    }
}

void TFilterGridModel::swapRows(int a, int b, bool withAndOr) {
    for (int c = withAndOr ? fcAndOr : fcTaskFld; c <= fcValue; ++c) {
        std::swap(cell(c, a), cell(c, b));
    }
}

void TFilterGridModel::Insert(int row) {
    for (int i = RowCount; i > row; --i) {
        copyRow(i, i - 1, true);
    }
    ClearRow(row);
    // The moved row joins the new empty row above it.
    if (row < RowCount) {
        joinWithAnd(row + 1);
    }
}

void TFilterGridModel::Delete(int row) {
    for (int i = row; i < RowCount; ++i) {
        copyRow(i, i + 1, i != 1);
    }
    ClearRow(RowCount);
}

void TFilterGridModel::MoveUp(int row) {
    if (row < 2 || row > RowCount) {
        return;
    }
    swapRows(row, row - 1, row > 2);
    if (row == 2) {
        leaveFirstRow();
    }
}

void TFilterGridModel::MoveDown(int row) {
    if (row < 1 || row >= RowCount) {
        return;
    }
    swapRows(row, row + 1, row > 1);
    if (row == 1) {
        leaveFirstRow();
    }
}

void TFilterGridModel::joinWithAnd(int row) {
    if (choice(fcAndOr, row).isEmpty() && !choice(fcTaskFld, row).isEmpty()) {
        setCell(fcAndOr, row, AndText(), 1);
    }
}

void TFilterGridModel::leaveFirstRow() {
    // The new first row joins nothing; the former first row now joins it with And when it has a
    // task field. Only the join is set: the row's other cells stay as the user left them.
    setCell(fcAndOr, 1, QString());
    setCell(fcAndOr, 2, QString());
    joinWithAnd(2);
}

void TFilterGridModel::Compact() {
    std::vector<std::array<TFilterCell, ColCount>> kept;
    for (int r = 1; r <= RowCount; ++r) {
        if (IsRowComplete(r)) {
            kept.push_back(Cells[Index(r)]);
        }
    }
    Clear();
    for (size_t i = 0; i < kept.size(); ++i) {
        Cells[i] = kept[i];
    }
    if (!kept.empty()) {
        setCell(fcAndOr, 1, QString());
    }
}

void TFilterGridModel::Load(const TovDSF& dsf) {
    Clear();
    const int rows = std::min(dsf.getCount(), RowCount);
    for (int i = 1; i <= rows; ++i) {
        const TovDSFx& row = *dsf.getItems(i);
        if (i > 1) {
            if (row.getAndFlag() != 0) {
                setCell(fcAndOr, i, AndText(), 1);
            } else {
                setCell(fcAndOr, i, OrText(), 2);
            }
        }
        setCell(fcTaskFld, i, row.getTaskFldXL());
        setCell(fcTaskFldDesc, i, row.getTaskFldDescXL());
        setCell(fcOperator, i, OperatorText(row.getFilterOperator()), row.getFilterOperator() + 1);
        setCell(fcValue, i, row.getTaskFldValueXL());
    }
}

bool TFilterGridModel::Store(TovDSF& dsf, bool enabled) const {
    std::vector<TStoredRow> rows;
    for (int r = 1; r <= RowCount; ++r) {
        if (!IsRowComplete(r)) {
            continue;
        }
        TStoredRow row;
        // And exactly when the row's And/Or says so: the first row shows none and joins nothing.
        row.AndFlag = AndOrItemOf(choice(fcAndOr, r)) == 1 ? 1 : 0;
        row.TaskFld = UpperAZ(text(fcTaskFld, r).trimmed());
        row.Desc = text(fcTaskFldDesc, r).trimmed();
        const int item = OperatorItemOf(choice(fcOperator, r));
        row.Operator = static_cast<uint8_t>(item > 0 ? item - 1 : foEquals);
        row.Value = text(fcValue, r);
        rows.push_back(row);
    }

    // Compared with what the filter holds, as its setters would store it.
    const uint8_t enabledFlag = enabled ? 1 : 0;
    bool same = dsf.getEnabled() == enabledFlag && dsf.getCount() == static_cast<int>(rows.size());
    for (int j = 1; same && j <= dsf.getCount(); ++j) {
        TovDSFx probe;
        const TStoredRow& want = rows[Index(j)];
        probe.setAndFlag(want.AndFlag);
        probe.setTaskFldXL(want.TaskFld);
        probe.setTaskFldDescXL(want.Desc);
        probe.setFilterOperator(want.Operator);
        probe.setTaskFldValueXL(want.Value);
        const TovDSFx& have = *dsf.getItems(j);
        same = (j == 1 || have.getAndFlag() == probe.getAndFlag()) &&
               have.getTaskFldXL() == probe.getTaskFldXL() &&
               have.getTaskFldDescXL() == probe.getTaskFldDescXL() &&
               have.getFilterOperator() == probe.getFilterOperator() &&
               have.getTaskFldValueXL() == probe.getTaskFldValueXL();
    }
    if (same) {
        return false;
    }

    for (int j = dsf.getCount(); j >= 1; --j) {
        dsf.Delete(j);
    }
    dsf.setEnabled(enabledFlag);
    for (const TStoredRow& row : rows) {
        TovDSFx& added = *dsf.getItems(dsf.Add());
        added.setAndFlag(row.AndFlag);
        added.setTaskFldXL(row.TaskFld);
        added.setTaskFldDescXL(row.Desc);
        added.setFilterOperator(row.Operator);
        added.setTaskFldValueXL(row.Value);
    }
    return true;
}

TFilterValidation TFilterGridModel::Validate(TovDV& dv, const QString& dataSourcePath,
                                             bool enabled) const {
    TFilterValidation result;
    dv.ClearMsgFields();
    if (dv.CheckFilterUndefined(enabled ? 1 : 0, IsEmpty() ? 0 : 1)) {
        result.TitleError = true;
        result.TitleHint = dv.getHintText();
    }

    const QString fileCaption = UIT(txt::DataSourceFile_747);
    struct TRow {
        QString FieldCaption, RowCaption, Field, OperatorName, Value, AndOr;
        uint8_t Operator = foEquals;
    };
    std::array<TRow, RowCount> rows;
    for (int i = 1; i <= RowCount; ++i) {
        TRow& row = rows[Index(i)];
        row.FieldCaption = Format(UIT(txt::IDTaskField), {i});
        row.RowCaption = Format(UIT(txt::IDFilterRow), {i});
        row.Field = UpperAZ(text(fcTaskFld, i).trimmed());
        row.OperatorName = choice(fcOperator, i);
        row.Operator = TovDSF::getFilterOperatorOfName(row.OperatorName);
        row.Value = text(fcValue, i).trimmed();
        if (i == 1) {
            row.AndOr = row.Field.isEmpty() ? QString() : AndText();
        } else {
            row.AndOr = UpperAZ(choice(fcAndOr, i));
        }
    }
    auto fieldCheck = [&](const TRow& row) {
        return TTaskFieldCheck{fileCaption, dataSourcePath, row.Field, row.FieldCaption};
    };
    auto mark = [&](int i) {
        result.Marked[Index(i)] = true;
        result.RowHints[Index(i)] = dv.getHintText();
    };
    auto bad = [&](int i) { return result.RowMarked(i); };

    for (int i = 1; i <= RowCount; ++i) {
        const TRow& row = rows[Index(i)];
        if (!row.Field.isEmpty() && dv.CheckTaskField(fieldCheck(row))) {
            mark(i);
            continue;
        }
        const TFilterRowTexts texts{row.AndOr,
                                    row.FieldCaption,
                                    row.Value,
                                    row.OperatorName,
                                    text(fcTaskFldDesc, i).trimmed(),
                                    row.Field};
        if (dv.CheckFilterRow(texts)) {
            mark(i);
            continue;
        }
        if (dv.CheckFilterValue(row.Operator, Format(UIT(txt::IDTaskFieldValue), {i}), row.Value)) {
            mark(i);
        }
    }

    auto desc = [&](int i) {
        const TRow& row = rows[Index(i)];
        return TFilterRowDesc{row.RowCaption, row.Field, row.OperatorName, row.Value};
    };
    // Rows joined by And that test the same field: one of them can never hold with the other.
    for (int i = 1; i < RowCount; ++i) {
        if (bad(i) || dv.CheckTaskField(fieldCheck(rows[Index(i)]))) {
            continue;
        }
        for (int j = i + 1; j <= RowCount; ++j) {
            if (bad(j) || bad(i) || rows[Index(j)].AndOr != UpperAZ(AndText()) ||
                rows[Index(j)].Field != rows[Index(i)].Field) {
                continue;
            }
            const bool sameValue = SameTextAZ(rows[Index(j)].Value, rows[Index(i)].Value);
            if (sameValue ? dv.CheckFilterRowsConflict(desc(j), desc(i))
                          : dv.CheckFilterRowsExclusive(desc(j), desc(i))) {
                mark(j);
            }
        }
    }
    // The same test twice, whatever joins the rows.
    for (int i = 1; i < RowCount; ++i) {
        if (bad(i) || dv.CheckTaskField(fieldCheck(rows[Index(i)]))) {
            continue;
        }
        for (int j = i + 1; j <= RowCount; ++j) {
            if (!bad(j) && dv.CheckFilterRowsDuplicate(desc(j), desc(i))) {
                mark(j);
            }
        }
    }
    return result;
}

TDescriptionUpdate TFilterGridModel::UpdateDescriptions(const TovSD& sd, IXLLimits& limits,
                                                        const QString& dataSourcePath) {
    TDescriptionUpdate counts;
    limits.setFilePath(dataSourcePath);
    const int maxColumns = limits.MaxColumns();
    for (int r = 1; r <= RowCount; ++r) {
        const QString letters = UpperAZ(text(fcTaskFld, r).trimmed());
        const QString description = RefreshedDescription(
            sd, letters, limits.LettersToColumn(letters, maxColumns) != 0, counts);
        setCell(fcTaskFldDesc, r, description);
    }
    return counts;
}
