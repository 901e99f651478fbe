#include "model/ovDV.h"

#include "model/ModelUtils.h"
#include "model/ovDSF.h"
#include "model/ovSCO.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/IndexRange.h"
#include "services/TextIds.h"
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
    Last = TDVCheck{};
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
        description = UIT(txt::Undefined_1424);
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

void dvcheck::AddIllegal(QStringList& list, const QString& character) {
    if (character.isEmpty()) {
        return;
    }
    const QString c = character.left(1);
    for (const QString& listed : list) {
        if (SameTextAZ(listed, c)) {
            return;
        }
    }
    list << c;
}

QString TDVCheck::IllegalChars() const {
    return TrimControl(Illegal.join(QStringLiteral(", ")));
}

QString TovDV::getChangedPath() const {
    return TrimControl(Last.ChangedPath);
}

QString TovDV::getIllegalChars() const {
    return Last.IllegalChars();
}

// The illegal characters and the changed path outlive the message fields, as callers read them
// after clearing the messages.
void TovDV::ClearMsgFields() {
    TDVCheck cleared;
    cleared.Illegal = Last.Illegal;
    cleared.ChangedPath = Last.ChangedPath;
    Last = cleared;
}

void TovDV::ClearIllegalChars() {
    Last.Illegal.clear();
}

void TovDV::AddIllegalChar(const QString& character) {
    dvcheck::AddIllegal(Last.Illegal, character);
}

bool TovDV::Keep(TDVCheck check) {
    Last = std::move(check);
    return Last.Fails;
}

bool TovDV::KeepShown(TDVCheck check) {
    return Keep(std::move(check)) && dvcheck::ShowDialogue(Last);
}

bool TovDV::CheckSDDescUndefined(const QString& description) {
    return Keep(dvcheck::SDDescUndefined(description));
}
bool TovDV::CheckSDDescUndefinedRename(int /*index*/, const QString& caption,
                                       const QString& description) {
    return Keep(dvcheck::SDDescUndefinedRename(caption, description));
}
bool TovDV::CheckSDDescDuplicate(const TSDDescDuplicateCheck& c) {
    return Keep(dvcheck::SDDescDuplicate(c));
}
bool TovDV::CheckNoDataOption(uint8_t baseline, uint8_t actual, uint8_t target) {
    return Keep(dvcheck::NoDataOption(baseline, actual, target));
}
bool TovDV::CheckCutOffDate(double date) {
    return Keep(dvcheck::CutOffDate(date));
}
bool TovDV::CheckNoQuantity(bool noDataOption, uint8_t manHours, uint8_t cost) {
    return Keep(dvcheck::NoQuantity(noDataOption, manHours, cost));
}
bool TovDV::CheckQuantityValue(const QString& caption, uint8_t quantity) {
    return Keep(dvcheck::QuantityValue(caption, quantity));
}
bool TovDV::CheckFilterUndefined(uint8_t enabled, int rowCount) {
    return Keep(dvcheck::FilterUndefined(enabled, rowCount));
}
bool TovDV::CheckFilterOperator(const QString& caption, uint8_t op) {
    return Keep(dvcheck::FilterOperator(caption, op));
}
bool TovDV::CheckFilterRow(const TFilterRowTexts& row) {
    return Keep(dvcheck::FilterRow(row));
}
bool TovDV::CheckFilterValue(uint8_t op, const QString& caption, const QString& value) {
    return Keep(dvcheck::FilterValue(op, caption, value));
}
bool TovDV::CheckFilterRowsConflict(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    return Keep(dvcheck::FilterRowsConflict(later, earlier));
}
bool TovDV::CheckFilterRowsExclusive(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    return Keep(dvcheck::FilterRowsExclusive(later, earlier));
}
bool TovDV::CheckFilterRowsDuplicate(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    return Keep(dvcheck::FilterRowsDuplicate(later, earlier));
}
bool TovDV::CheckTextLength(const QString& caption, const QString& text, int maximum) {
    return Keep(dvcheck::TextLength(caption, text, maximum));
}

bool TovDV::CheckDataFileExists(const QString& caption, const QString& path, bool /*drive*/) {
    return Keep(dvcheck::DataFileExists(caption, path));
}
bool TovDV::CheckDataFileExistsDlg(const QString& caption, const QString& path, bool /*drive*/) {
    return KeepShown(dvcheck::DataFileExists(caption, path));
}
bool TovDV::CheckDataFileExt(const QString& caption, const QString& path) {
    return Keep(dvcheck::DataFileExt(caption, path));
}
bool TovDV::CheckDataFileExtDlg(const QString& caption, const QString& path) {
    return KeepShown(dvcheck::DataFileExt(caption, path));
}
bool TovDV::CheckFileExists(const QString& caption, const QString& path) {
    return Keep(dvcheck::FileExists(caption, path));
}
bool TovDV::CheckFileExistsDlg(const QString& caption, const QString& path) {
    return KeepShown(dvcheck::FileExists(caption, path));
}
bool TovDV::CheckPath(const QString& caption, const QString& path) {
    return Keep(dvcheck::Path(caption, path));
}
bool TovDV::CheckPathDlg(const QString& caption, const QString& path) {
    return KeepShown(dvcheck::Path(caption, path));
}
bool TovDV::CheckDrive(const QString& caption, const QString& path) {
    return Keep(dvcheck::Drive(caption, path));
}
bool TovDV::CheckFilename(const QString& caption, const QString& path) {
    return Keep(dvcheck::Filename(caption, path));
}
bool TovDV::CheckExcelFileExt(const QString& caption, const QString& path) {
    return Keep(dvcheck::ExcelFileExt(caption, path));
}
bool TovDV::CheckExcelFileExtDlg(const QString& caption, const QString& path) {
    return KeepShown(dvcheck::ExcelFileExt(caption, path));
}
bool TovDV::CheckExcelFile(const QString& caption, const QString& path) {
    return Keep(dvcheck::ExcelFile(caption, path));
}
bool TovDV::CheckExcelFileDlg(const QString& caption, const QString& path) {
    return KeepShown(dvcheck::ExcelFile(caption, path));
}
bool TovDV::CheckWorksheetName(const QString& caption, const QString& name) {
    return Keep(dvcheck::WorksheetName(caption, name));
}
bool TovDV::CheckWorksheetNameDlg(const QString& caption, const QString& name) {
    return KeepShown(dvcheck::WorksheetName(caption, name));
}
bool TovDV::CheckTaskHeaderRow(const TTaskHeaderRowCheck& c) {
    return Keep(dvcheck::TaskHeaderRow(c));
}
bool TovDV::CheckTaskHeaderRowDlg(const TTaskHeaderRowCheck& c) {
    return KeepShown(dvcheck::TaskHeaderRow(c));
}
bool TovDV::CheckTaskField(const TTaskFieldCheck& c) {
    return Keep(dvcheck::TaskField(c));
}
bool TovDV::CheckTaskFieldDlg(const TTaskFieldCheck& c) {
    return KeepShown(dvcheck::TaskField(c));
}
bool TovDV::CheckDefaultFile(const TEntryDefaultCheck& c) {
    return Keep(dvcheck::DefaultFile(c));
}
bool TovDV::CheckDefaultFolder(const TEntryDefaultCheck& c) {
    return Keep(dvcheck::DefaultFolder(c));
}
bool TovDV::CheckFileExtMatch(const TEntryPairCheck& c) {
    return Keep(dvcheck::FileExtMatch(c));
}
bool TovDV::CheckSameEntry(const TEntryPairCheck& c) {
    return Keep(dvcheck::SameEntry(c));
}
bool TovDV::CheckSamePath(const TEntryPairCheck& c) {
    return Keep(dvcheck::SamePath(c));
}
bool TovDV::CheckFolderPath(const QString& caption, const QString& path) {
    return Keep(dvcheck::FolderPath(caption, path));
}
bool TovDV::CheckIllegalFilenameChars(const QString& path) {
    // Only the illegal characters change: the messages stay those of the last check.
    TDVCheck check = dvcheck::IllegalFilenameChars(path);
    Last.Illegal = check.Illegal;
    return check.Fails;
}
bool TovDV::CheckProgramFilesFolder(const QString& caption, const QString& path) {
    return Keep(dvcheck::ProgramFilesFolder(caption, path));
}

TDVCheck dvcheck::SDDescUndefined(const QString& description) {
    TDVCheck r = TDVCheck::Failed();
    if (!TrimControl(description).isEmpty()) {
        return {};
    }
    r.Hint = UIT(txt::KRVDefinitionDescriptionIsUndefined);
    return r;
}

TDVCheck dvcheck::SDDescUndefinedRename(const QString& caption, const QString& description) {
    TDVCheck r = TDVCheck::Failed();
    if (!TrimControl(description).isEmpty()) {
        return {};
    }
    r.Msg = Format(UIT(txt::IsUndefinedRenamed), {caption});
    return r;
}

TDVCheck dvcheck::SDDescDuplicate(const TSDDescDuplicateCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    if (!SameTextAZ(TrimControl(c.LaterDesc), TrimControl(c.EarlierDesc))) {
        return {};
    }
    r.Msg = Format(UIT(txt::IsSameAsRenamed), {c.LaterCaption, c.EarlierCaption});
    r.Hint = UIT(txt::KRVDefinitionWithDescriptionAlready);
    return r;
}

TDVCheck dvcheck::NoDataOption(uint8_t baseline, uint8_t actual, uint8_t target) {
    TDVCheck r = TDVCheck::Failed();
    if (baseline != 0 || actual != 0 || target != 0) {
        return {};
    }
    r.Msg = r.Hint = r.Details = UIT(txt::AtLeastOneDataOption);
    r.Value = UIT(txt::NA);
    return r;
}

TDVCheck dvcheck::CutOffDate(double date) {
    TDVCheck r = TDVCheck::Failed();
    if (date >= TovSCO::MinCutOffDate && date <= TovSCO::MaxCutOffDate) {
        return {};
    }
    r.Msg = r.Details =
        Format(UIT(txt::IsInvalidItHasBeen),
               {UIT(txt::CutOffDate_767), modelutil::FormatDayNumber(modelutil::ModelToday())});
    r.Value = UIT(txt::NA);
    return r;
}

TDVCheck dvcheck::NoQuantity(bool noDataOption, uint8_t manHours, uint8_t cost) {
    TDVCheck r = TDVCheck::Failed();
    if (manHours != 0 || cost != 0) {
        return {};
    }
    r.Hint = UIT(txt::AtLeastOneQuantityMan);
    if (noDataOption) {
        r.Hint += kCRLF + UIT(txt::ToEnableQuantityOptionsPlease) + kCRLF +
                  UIT(txt::OneDataOptionBaselineActual);
    }
    r.Details = UIT(txt::AtLeastOneQuantityMan);
    r.Value = UIT(txt::NA);
    return r;
}

TDVCheck dvcheck::QuantityValue(const QString& caption, uint8_t quantity) {
    TDVCheck r = TDVCheck::Failed();
    if (!TovSCO::IsInvalidQuantity(quantity)) {
        return {};
    }
    r.Msg = r.Details = Format(UIT(txt::IsInvalidItHasBeen), {caption, UIT(txt::TaskTotal_775)});
    r.Value = UIT(txt::NA);
    return r;
}

TDVCheck dvcheck::FilterUndefined(uint8_t enabled, int rowCount) {
    TDVCheck r = TDVCheck::Failed();
    if (enabled == 0 || rowCount > 0) {
        return {};
    }
    r.Hint = r.Details = UIT(txt::DataSourceFilterIsEnabled);
    r.Value = UIT(txt::Undefined_1424);
    return r;
}

TDVCheck dvcheck::FilterOperator(const QString& caption, uint8_t op) {
    TDVCheck r = TDVCheck::Failed();
    if (!TovDSF::IsInvalidOperator(op)) {
        return {};
    }
    r.Msg = r.Details = Format(UIT(txt::IsInvalidItHasBeen), {caption, UIT(txt::Equals)});
    r.Value = UIT(txt::NA);
    return r;
}

TDVCheck dvcheck::FilterRow(const TFilterRowTexts& row) {
    TDVCheck r = TDVCheck::Failed();
    const QString invalidRow = kCRLF + UIT(txt::RowIsInvalid);
    if (row.TaskFld.isEmpty()) {
        if (row.AndOr.isEmpty() && row.Description.isEmpty() && row.OperatorName.isEmpty() &&
            row.Value.isEmpty()) {
            return {};
        }
        r.Hint = Format(UIT(txt::IsUndefined), {row.Caption}) + invalidRow;
        return r;
    }
    if (row.AndOr.isEmpty()) {
        r.Hint = Format(UIT(txt::AndOrIsUndefined), {row.Caption}) + invalidRow;
        return r;
    }
    if (row.OperatorName.isEmpty()) {
        r.Hint = Format(UIT(txt::FilterOperatorIsUndefined), {row.Caption}) + invalidRow;
        return r;
    }
    return {};
}

TDVCheck dvcheck::FilterValue(uint8_t op, const QString& caption, const QString& value) {
    TDVCheck r = TDVCheck::Failed();
    const bool needsValue = (op >= foIsLessThan && op <= foIsGreaterThanOrEqualTo) ||
                            (op >= foStartsWith && op <= foDoesNotContain);
    const bool takesNoValue = op == foIsBlank || op == foIsNotBlank;
    if (value.isEmpty() && needsValue) {
        r.Hint = r.Details = Format(UIT(txt::CannotBeUndefinedForSelected),
                                    {caption, TovDSF::getFilterOperatorName(op)});
        r.Value = UIT(txt::Undefined_1424);
        return r;
    }
    if (!value.isEmpty() && takesNoValue) {
        r.Hint = r.Details = Format(UIT(txt::MustBeUndefinedForSelected),
                                    {caption, TovDSF::getFilterOperatorName(op)});
        r.Value = value;
        return r;
    }
    return {};
}

namespace {

QString rowPairValueText(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    return Format(UIT(txt::Text859),
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

TDVCheck dvcheck::FilterRowsConflict(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    TDVCheck r = TDVCheck::Failed();
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
        return {};
    }
    r.Hint = r.Details = Format(UIT(txt::IsMutuallyExclusive), {later.Caption, earlier.Caption});
    r.Value = rowPairValueText(later, earlier);
    return r;
}

TDVCheck dvcheck::FilterRowsExclusive(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    TDVCheck r = TDVCheck::Failed();
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
        return {};
    }
    r.Hint = r.Details = Format(UIT(txt::IsMutuallyExclusive), {later.Caption, earlier.Caption});
    r.Value = rowPairValueText(later, earlier);
    return r;
}

TDVCheck dvcheck::FilterRowsDuplicate(const TFilterRowDesc& later, const TFilterRowDesc& earlier) {
    TDVCheck r = TDVCheck::Failed();
    if (!SameTextAZ(later.TaskFld, earlier.TaskFld) ||
        !SameTextAZ(later.OperatorName, earlier.OperatorName) ||
        !SameTextAZ(later.Value, earlier.Value)) {
        return {};
    }
    r.Hint = r.Details = Format(UIT(txt::IsSame), {later.Caption, earlier.Caption});
    r.Value = Format(UIT(txt::Text839), {later.TaskFld, later.OperatorName, later.Value});
    return r;
}

TDVCheck dvcheck::TextLength(const QString& caption, const QString& text, int maximum) {
    TDVCheck r = TDVCheck::Failed();
    if (text.size() <= maximum) {
        return {};
    }
    r.Msg = r.Details = Format(UIT(txt::IsTooLongCharactersTruncated),
                               {caption, static_cast<int>(text.size()), maximum});
    r.Value = text;
    return r;
}
