#include "model/ovDSF.h"

#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using modelutil::UpperAZ;
using platform::Format;

// clang-format off
const TFilterOperatorInfo FilterOperators[FilterOperatorCount] = {
    {"Equals",                 803, " = ",  "EQUAL TO"},
    {"DoesNotEqual",           804, " <> ", "NOT EQUAL TO"},
    {"IsLessThan",             805, " < ",  "LESS THAN"},
    {"IsLessThanOrEqualTo",    806, " <= ", "LESS THAN OR EQUAL"},
    {"IsGreaterThan",          807, " > ",  "GREATER THAN"},
    {"IsGreaterThanOrEqualTo", 808, " >= ", "GREATER THAN OR EQUAL"},
    {"IsBlank",                809, "",     "IS BLANK"},
    {"IsNotBlank",             810, "",     "IS NOT BLANK"},
    {"StartsWith",             811, "",     nullptr},
    {"DoesNotStartWith",       812, "",     nullptr},
    {"EndsWith",               813, "",     nullptr},
    {"DoesNotEndWith",         814, "",     nullptr},
    {"Contains",               815, "",     nullptr},
    {"DoesNotContain",         816, "",     nullptr},
};
// clang-format on

namespace {

// The operator whose word (upper-cased) equals the trimmed, upper-cased text; 0 when none.
template <typename WordOf> uint8_t operatorOfWord(const QString& text, WordOf wordOf) {
    const QString key = UpperAZ(TrimControl(text));
    for (int v = 0; v < FilterOperatorCount; ++v) {
        const QString word = wordOf(v);
        if (!word.isNull() && UpperAZ(word) == key) {
            return static_cast<uint8_t>(v);
        }
    }
    return foEquals;
}

} // namespace

void TovDSFx::Init() {
    AndFlag = 1;
    TaskFldXL.clear();
    TaskFldDescXL.clear();
    FilterOperator = foEquals;
    TaskFldValueXL.clear();
}

void TovDSFx::setAndFlag(uint8_t value) {
    AndFlag = value;
}

QString TovDSFx::getTaskFldXL() const {
    return UpperAZ(TrimControl(TaskFldXL));
}

void TovDSFx::setTaskFldXL(const QString& value) {
    if (value != TaskFldXL) {
        TaskFldXL = UpperAZ(TrimControl(value));
    }
}

QString TovDSFx::getTaskFldDescXL() const {
    return TrimControl(TaskFldDescXL);
}

void TovDSFx::setTaskFldDescXL(const QString& value) {
    if (value != TaskFldDescXL) {
        TaskFldDescXL = modelutil::StoredText(value);
    }
}

bool TovDSFx::setFilterOperator(uint8_t value) {
    if (IsInvalidOperator(FilterOperator)) {
        FilterOperator = foEquals;
    }
    if (IsInvalidOperator(value)) {
        return true;
    }
    FilterOperator = value;
    return false;
}

void TovDSFx::setTaskFldValueXL(const QString& value) {
    const QString joined = modelutil::JoinLines(value);
    if (joined != TaskFldValueXL) {
        TaskFldValueXL = joined;
    }
}

QString TovDSFx::getFilterOperatorKeyword(uint8_t value) {
    return QString::fromLatin1(FilterOperators[IsInvalidOperator(value) ? 0 : value].Keyword);
}

uint8_t TovDSFx::getFilterOperatorOfKeyword(const QString& keyword) {
    return operatorOfWord(keyword,
                          [](int v) { return QString::fromLatin1(FilterOperators[v].Keyword); });
}

bool TovDSFx::Validate(int n, int j) {
    bool changed = false;
    QString caption = Format(UIT(txt::IDTaskField), {j});
    const QString field = getTaskFldXL();
    if (DV->CheckTextLength(caption, field, 3)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        setTaskFldXL(modelutil::StrLeft(field, 3));
        changed = true;
    }
    caption = Format(UIT(txt::IDTaskFieldDescription), {j});
    const QString description = getTaskFldDescXL();
    if (DV->CheckTextLength(caption, description, 255)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        setTaskFldDescXL(modelutil::StrLeft(description, 255));
        changed = true;
    }
    caption = Format(UIT(txt::IDFilterOperator), {j});
    if (DV->CheckFilterOperator(caption, FilterOperator)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        ResetFilterOperator();
        changed = true;
    }
    caption = Format(UIT(txt::IDTaskFieldValue), {j});
    if (DV->CheckTextLength(caption, TaskFldValueXL, 32767)) {
        DV->AddDFVErr(n, caption, DV->getMsgText());
        setTaskFldValueXL(modelutil::StrLeft(TaskFldValueXL, 32767));
        changed = true;
    }
    return changed;
}

TovDSF::TovDSF() {
    Items.push_back(std::make_unique<TovDSFx>());
    ResetEnabled();
}

void TovDSF::setEnabled(uint8_t value) {
    Enabled = value;
}

TovDSFx* TovDSF::getItems(int index) const {
    if (CheckIndexRange(index, 0, getCount(), QStringLiteral("DSF.getItems"))) {
        return Items[0].get();
    }
    return Items[static_cast<size_t>(index)].get();
}

int TovDSF::Add() {
    Items.push_back(std::make_unique<TovDSFx>());
    return getCount();
}

void TovDSF::Delete(int index) {
    // Row 0 is the spare default row, never a filter row.
    if (CheckIndexRange(index, 1, getCount(), QStringLiteral("DSF.Delete"))) {
        return;
    }
    for (int k = index; k < getCount(); ++k) {
        TovDSFx& to = *Items[static_cast<size_t>(k)];
        const TovDSFx& from = *Items[static_cast<size_t>(k) + 1];
        to.setAndFlag(from.getAndFlag());
        to.setTaskFldXL(from.getTaskFldXL());
        to.setTaskFldDescXL(from.getTaskFldDescXL());
        to.setFilterOperator(from.getFilterOperator());
        to.setTaskFldValueXL(from.getTaskFldValueXL());
    }
    Items.pop_back();
}

void TovDSF::Clear() {
    Items.resize(1);
}

QString TovDSF::getFilterText() const {
    QString text = UIT(Enabled == 1 ? 800 : 801);
    if (getCount() == 0) {
        return text + QStringLiteral(", ") + UIT(txt::Undefined);
    }
    text += QStringLiteral(", ");
    for (int j = 1; j <= getCount(); ++j) {
        const TovDSFx& row = *Items[static_cast<size_t>(j)];
        if (j > 1) {
            text += row.getAndFlag() == 1 ? QStringLiteral(" And ") : QStringLiteral(" Or ");
        }
        const QString description = row.getTaskFldDescXL();
        text += description.isEmpty() ? QStringLiteral("([")
                                      : QLatin1Char('(') + description + QStringLiteral(" [");
        text += row.getTaskFldXL() + QLatin1Char(']');
        const uint8_t op = row.getFilterOperator();
        if (op <= foIsGreaterThanOrEqualTo) {
            text += QString::fromLatin1(FilterOperators[op].Symbol);
        } else if (!IsInvalidOperator(op)) {
            text += QLatin1Char(' ') + getFilterOperatorName(op) + QLatin1Char(' ');
        }
        text += row.getTaskFldValueXL() + QLatin1Char(')');
    }
    return text;
}

QString TovDSF::getFilterOperatorName(uint8_t value) {
    return UIT(FilterOperators[IsInvalidOperator(value) ? 0 : value].NameId);
}

uint8_t TovDSF::getFilterOperatorOfName(const QString& name) {
    return operatorOfWord(name, [](int v) { return UIT(FilterOperators[v].NameId); });
}

uint8_t TovDSF::getFilterOperatorOfLegacyKeyword(const QString& keyword) {
    return operatorOfWord(keyword, [](int v) {
        const char* word = FilterOperators[v].LegacyKeyword;
        return word != nullptr ? QString::fromLatin1(word) : QString();
    });
}

bool TovDSF::Validate(int n) {
    bool changed = false;
    for (int j = 1; j <= getCount(); ++j) {
        changed = Items[static_cast<size_t>(j)]->Validate(n, j) || changed;
    }
    return changed;
}
