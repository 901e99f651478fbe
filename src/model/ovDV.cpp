#include "model/ovDV.h"

#include "model/ModelUtils.h"
#include "model/ovDSF.h"
#include "model/ovSCO.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/ovUIL.h"

#include <utility>

using modelutil::SameTextAZ;
using modelutil::UpperAZ;
using platform::Format;

TovDV* DV = nullptr;

namespace {

const QString kCRLF = QStringLiteral("\r\n");

// Operator pairs (earlier, later) that cannot both hold for the same value.
constexpr std::pair<int, int> kConflictingOperators[] = {
    {0, 1}, {1, 0}, {0, 2}, {2, 0}, {0, 4}, {4, 0},   {2, 4},   {4, 2},   {2, 5},
    {5, 2}, {3, 4}, {4, 3}, {8, 9}, {9, 8}, {10, 11}, {11, 10}, {12, 13}, {13, 12},
};

bool isConflicting(int a, int b) {
    for (const auto& pair : kConflictingOperators) {
        if (pair.first == a && pair.second == b) {
            return true;
        }
    }
    return false;
}

} // namespace

TovDV::TovDV() {
    Init();
}

void TovDV::Init() {
    CfgErrs.assign(1, CfgErr{});
    DFVErrs.assign(1, DFVErr{});
    IllegalList.clear();
    ClearMsgFields();
    ChangedPath.clear();
}

void TovDV::ClearCfgErrs() {
    ClearIllegalChars();
    CfgErrs.assign(1, CfgErr{});
}

void TovDV::AddCfgErr(const QString& tab, const QString& field, const QString& details,
                      const QString& value, int tabId, int fieldId, int rowId) {
    CfgErrs.push_back({tab, field, details, value, tabId, fieldId, rowId});
}

QString TovDV::getCfgErrTab(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrTab"))
               ? CfgErrs[0].Tab
               : CfgErrs[static_cast<size_t>(n)].Tab;
}
QString TovDV::getCfgErrFld(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrFld"))
               ? CfgErrs[0].Fld
               : CfgErrs[static_cast<size_t>(n)].Fld;
}
QString TovDV::getCfgErrDetails(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrDetails"))
               ? CfgErrs[0].Details
               : CfgErrs[static_cast<size_t>(n)].Details;
}
QString TovDV::getCfgErrFldVal(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrFldVal"))
               ? CfgErrs[0].FldVal
               : CfgErrs[static_cast<size_t>(n)].FldVal;
}
int TovDV::getCfgErrTabID(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrTabID"))
               ? CfgErrs[0].TabID
               : CfgErrs[static_cast<size_t>(n)].TabID;
}
int TovDV::getCfgErrFldID(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrFldID"))
               ? CfgErrs[0].FldID
               : CfgErrs[static_cast<size_t>(n)].FldID;
}
int TovDV::getCfgErrRowID(int n) const {
    return CheckIndexRange(n, 0, getCfgErrCount(), QStringLiteral("DV.getCfgErrRowID"))
               ? CfgErrs[0].RowID
               : CfgErrs[static_cast<size_t>(n)].RowID;
}

void TovDV::ClearDFVErrs() {
    ClearIllegalChars();
    DFVErrs.assign(1, DFVErr{});
}

int TovDV::AddDFVErr(int n, const QString& field, const QString& details) {
    QString description = SDs != nullptr ? SDs->getItems(n)->getDescription() : QString();
    if (description.isEmpty()) {
        description = UIT(1424);
    }
    DFVErrs.push_back({description, field, details});
    return getDFVErrCount();
}

QString TovDV::getDFVErrSDDesc(int n) const {
    return CheckIndexRange(n, 0, getDFVErrCount(), QStringLiteral("DV.getDFVErrSDDesc"))
               ? DFVErrs[0].SDDesc
               : DFVErrs[static_cast<size_t>(n)].SDDesc;
}
QString TovDV::getDFVErrFld(int n) const {
    return CheckIndexRange(n, 0, getDFVErrCount(), QStringLiteral("DV.getDFVErrFld"))
               ? DFVErrs[0].Fld
               : DFVErrs[static_cast<size_t>(n)].Fld;
}
QString TovDV::getDFVErrDetails(int n) const {
    return CheckIndexRange(n, 0, getDFVErrCount(), QStringLiteral("DV.getDFVErrDetails"))
               ? DFVErrs[0].Details
               : DFVErrs[static_cast<size_t>(n)].Details;
}

QString TovDV::getChangedPath() const {
    return TrimControl(ChangedPath);
}

QString TovDV::getIllegalChars() const {
    return TrimControl(IllegalList.join(QStringLiteral(", ")));
}

void TovDV::ClearMsgFields() {
    MsgText.clear();
    HintText.clear();
    DlgText.clear();
    DetailsText.clear();
    ValueText.clear();
    MsgKey.clear();
}

void TovDV::ClearIllegalChars() {
    IllegalList.clear();
}

void TovDV::AddIllegalChar(const QString& character) {
    if (character.isEmpty()) {
        return;
    }
    const QString c = character.left(1);
    for (const QString& listed : IllegalList) {
        if (SameTextAZ(listed, c)) {
            return;
        }
    }
    IllegalList << c;
}

bool TovDV::CheckSDDescUndefined(const QString& description) {
    ClearMsgFields();
    if (!TrimControl(description).isEmpty()) {
        return false;
    }
    HintText = UIT(875);
    return true;
}

bool TovDV::CheckSDDescUndefinedRename(int /*index*/, const QString& caption,
                                       const QString& description) {
    ClearMsgFields();
    if (!TrimControl(description).isEmpty()) {
        return false;
    }
    MsgText = Format(UIT(882), {caption});
    return true;
}

bool TovDV::CheckSDDescDuplicate(const TSDDescDuplicateCheck& c) {
    ClearMsgFields();
    if (!SameTextAZ(TrimControl(c.LaterDesc), TrimControl(c.EarlierDesc))) {
        return false;
    }
    MsgText = Format(UIT(869), {c.LaterCaption, c.EarlierCaption});
    HintText = UIT(1524);
    return true;
}

bool TovDV::CheckNoDataOption(uint8_t baseline, uint8_t actual, uint8_t target) {
    ClearMsgFields();
    if (baseline != 0 || actual != 0 || target != 0) {
        return false;
    }
    MsgText = HintText = DetailsText = UIT(870);
    ValueText = UIT(824);
    return true;
}

bool TovDV::CheckCutOffDate(double date) {
    ClearMsgFields();
    if (date >= TovSCO::MinCutOffDate && date <= TovSCO::MaxCutOffDate) {
        return false;
    }
    MsgText = DetailsText =
        Format(UIT(854), {UIT(767), modelutil::FormatDayNumber(modelutil::ModelToday())});
    ValueText = UIT(824);
    return true;
}

bool TovDV::CheckNoQuantity(bool noDataOption, uint8_t manHours, uint8_t cost) {
    ClearMsgFields();
    if (manHours != 0 || cost != 0) {
        return false;
    }
    HintText = UIT(863);
    if (noDataOption) {
        HintText += kCRLF + UIT(864) + kCRLF + UIT(865);
    }
    DetailsText = UIT(863);
    ValueText = UIT(824);
    return true;
}

bool TovDV::CheckQuantityValue(const QString& caption, uint8_t quantity) {
    ClearMsgFields();
    if (!TovSCO::IsInvalidQuantity(quantity)) {
        return false;
    }
    MsgText = DetailsText = Format(UIT(854), {caption, UIT(775)});
    ValueText = UIT(824);
    return true;
}

bool TovDV::CheckFilterUndefined(uint8_t enabled, int rowCount) {
    ClearMsgFields();
    if (enabled == 0 || rowCount > 0) {
        return false;
    }
    HintText = DetailsText = UIT(840);
    ValueText = UIT(1424);
    return true;
}

bool TovDV::CheckFilterOperator(const QString& caption, uint8_t op) {
    ClearMsgFields();
    if (!TovDSF::IsInvalidOperator(op)) {
        return false;
    }
    MsgText = DetailsText = Format(UIT(854), {caption, UIT(803)});
    ValueText = UIT(824);
    return true;
}

bool TovDV::CheckFilterRow(const TFilterRowTexts& row) {
    ClearMsgFields();
    const QString invalidRow = kCRLF + UIT(886);
    if (row.TaskFld.isEmpty()) {
        if (row.AndOr.isEmpty() && row.Description.isEmpty() && row.OperatorName.isEmpty() &&
            row.Value.isEmpty()) {
            return false;
        }
        HintText = Format(UIT(872), {row.Caption}) + invalidRow;
        return true;
    }
    if (row.AndOr.isEmpty()) {
        HintText = Format(UIT(884), {row.Caption}) + invalidRow;
        return true;
    }
    if (row.OperatorName.isEmpty()) {
        HintText = Format(UIT(885), {row.Caption}) + invalidRow;
        return true;
    }
    return false;
}

bool TovDV::CheckFilterValue(uint8_t op, const QString& caption, const QString& value) {
    ClearMsgFields();
    const bool needsValue = (op >= foIsLessThan && op <= foIsGreaterThanOrEqualTo) ||
                            (op >= foStartsWith && op <= foDoesNotContain);
    const bool takesNoValue = op == foIsBlank || op == foIsNotBlank;
    if (value.isEmpty() && needsValue) {
        HintText = DetailsText = Format(UIT(837), {caption, TovDSF::getFilterOperatorName(op)});
        ValueText = UIT(1424);
        return true;
    }
    if (!value.isEmpty() && takesNoValue) {
        HintText = DetailsText = Format(UIT(883), {caption, TovDSF::getFilterOperatorName(op)});
        ValueText = value;
        return true;
    }
    return false;
}

namespace {

QString rowPairValueText(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    return Format(UIT(859),
                  {later.Caption, later.TaskFld, later.OperatorName, later.Value, earlier.Caption,
                   earlier.TaskFld, earlier.OperatorName, earlier.Value});
}

// Whether one value begins (or ends) with the other, ignoring the case of a..z as the filter
// compares.
bool sharesEnd(const QString& a, const QString& b, bool leading) {
    const QString& shorter = a.size() <= b.size() ? a : b;
    const QString& longer = a.size() <= b.size() ? b : a;
    const QString part = leading ? longer.left(shorter.size()) : longer.right(shorter.size());
    return SameTextAZ(shorter, part);
}

} // namespace

bool TovDV::CheckFilterRowsConflict(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    ClearMsgFields();
    const int a = TovDSF::getFilterOperatorOfName(earlier.OperatorName);
    const int b = TovDSF::getFilterOperatorOfName(later.OperatorName);
    bool fails = false;
    if (later.Value.isEmpty() &&
        ((a == 0 && b == 1) || (a == 1 && b == 0) || (a == 6 && b == 7) || (a == 7 && b == 6))) {
        fails = true;
    } else {
        fails = isConflicting(a, b);
    }
    if (!fails) {
        return false;
    }
    HintText = DetailsText = Format(UIT(858), {later.Caption, earlier.Caption});
    ValueText = rowPairValueText(later, earlier);
    return true;
}

bool TovDV::CheckFilterRowsExclusive(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    ClearMsgFields();
    const int a = TovDSF::getFilterOperatorOfName(earlier.OperatorName);
    const int b = TovDSF::getFilterOperatorOfName(later.OperatorName);
    bool fails = false;
    if (a == foEquals && b == foEquals) {
        fails = true;
    } else if ((a == foStartsWith && b == foStartsWith) || (a == foEndsWith && b == foEndsWith)) {
        fails = later.Value.size() == earlier.Value.size() ||
                !sharesEnd(later.Value, earlier.Value, a == foStartsWith);
    }
    if (!fails) {
        return false;
    }
    HintText = DetailsText = Format(UIT(858), {later.Caption, earlier.Caption});
    ValueText = rowPairValueText(later, earlier);
    return true;
}

bool TovDV::CheckFilterRowsDuplicate(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    ClearMsgFields();
    if (!SameTextAZ(later.TaskFld, earlier.TaskFld) ||
        !SameTextAZ(later.OperatorName, earlier.OperatorName) ||
        !SameTextAZ(later.Value, earlier.Value)) {
        return false;
    }
    HintText = DetailsText = Format(UIT(868), {later.Caption, earlier.Caption});
    ValueText = Format(UIT(839), {later.TaskFld, later.OperatorName, later.Value});
    return true;
}

bool TovDV::CheckTextLength(const QString& caption, const QString& text, int maximum) {
    ClearMsgFields();
    if (text.size() <= maximum) {
        return false;
    }
    MsgText = DetailsText = Format(UIT(871), {caption, static_cast<int>(text.size()), maximum});
    ValueText = text;
    return true;
}
