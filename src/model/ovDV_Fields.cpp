// The field and file-name checks of the validator and their dialogue twins.
#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using namespace modelutil;
using platform::Format;

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kPara = QStringLiteral("\r\n\r\n");
const QString kProgramName = QStringLiteral("Ovik KRV Tessel");

// Illegal characters ("/" separates on POSIX, so it is legal in paths and folders; control
// characters are refused in every path set).
const QString kPathChars = QStringLiteral("\"*<>?|");
const QString kFilenameChars = QStringLiteral("\"*:<>?\\|");
const QString kFolderChars = QStringLiteral("\"*:<>?|");
const QString kWorksheetChars = QStringLiteral("*/:?[\\]");

// The hint shows "|" as U+01C0 so that it is not taken for the hint's own separator.
QString hintSafe(QString text) {
    return text.replace(QLatin1Char('|'), QChar(0x01C0));
}

bool isExcelExtension(const QString& extension) {
    const QString upper = UpperAZ(extension);
    return upper == QStringLiteral("XLS") || upper == QStringLiteral("XLSX");
}

} // namespace

bool TovDV::IsDataFileExtension(const QString& extension) {
    const QString e = UpperAZ(extension);
    static const QString plain[] = {QStringLiteral("KRVC"), QStringLiteral("KRV"),
                                    QStringLiteral("KRVP"), QStringLiteral("~KRVC"),
                                    QStringLiteral("~KRV"), QStringLiteral("~KRVP")};
    for (const QString& p : plain) {
        if (e == p) {
            return true;
        }
    }
    for (const QString& base : {QStringLiteral("~KRVC"), QStringLiteral("~KRVP")}) {
        if (e.size() == base.size() + 1 && e.startsWith(base) && e.back() >= QLatin1Char('1') &&
            e.back() <= QLatin1Char('9')) {
            return true;
        }
    }
    return false;
}

bool dvcheck::ShowDialogue(const TDVCheck& check) {
    IStdDlg* dlg = StdDlg();
    if (dlg != nullptr) {
        dlg->MsgLines.clear();
        dlg->MsgLines << check.Dlg;
        TStdDlgButton close;
        close.ImageIndex = glyphClose;
        close.ModalResult = mrClose;
        close.Caption = UIT(txt::Close_357);
        close.Hint = UIT(txt::CloseDialogue_1262);
        dlg->SetupStdDlgButtons1(sdkWarning, check.Key, close);
        dlg->ShowModal();
    }
    return true;
}

namespace {

// A failed check of an entry that is missing.
TDVCheck undefined(const QString& key, const QString& textFormat, const QString& caption) {
    TDVCheck r = TDVCheck::Failed();
    r.Key = key;
    r.Hint = r.Details = Format(textFormat, {caption});
    r.Dlg = r.Hint + kPara + Format(UIT(txt::PleaseEnterValid), {caption});
    r.Value = UIT(txt::Undefined_1424);
    return r;
}

// Each character of text found in the set (control characters always) added to list.
bool collectIllegal(QStringList& list, const QString& text, const QString& set) {
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            continue;
        }
        if (c.unicode() < 0x20) {
            const QString shown = QLatin1Char('#') + QString::number(c.unicode());
            if (!list.contains(shown)) {
                list << shown;
            }
        } else if (set.contains(c)) {
            dvcheck::AddIllegal(list, QString(c));
        }
    }
    return !list.isEmpty();
}

// A failed check of an entry holding the illegal characters r lists.
TDVCheck illegal(TDVCheck r, const QString& key, const QString& textFormat, const QString& caption,
                 const QString& entry) {
    const QString list = r.IllegalChars();
    r.Fails = true;
    r.Key = key;
    r.Details = Format(textFormat, {caption, list});
    r.Hint = Format(textFormat, {caption, hintSafe(list)});
    r.Dlg = r.Details + kPara + Format(UIT(txt::PleaseEnterValid), {caption});
    r.Value = entry;
    return r;
}

} // namespace

TDVCheck dvcheck::DataFileExists(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (::FileExistsChecked(caption, path)) {
        return {};
    }
    r.Key = QStringLiteral("UDV001");
    r.Hint = r.Details = Format(UIT(txt::CannotBeFound), {caption});
    r.Dlg = UIT(txt::FollowingDataFile) + kPara + path + kPara +
            UIT(txt::ItMayHaveBeenDeletedMovedRenamed_1406);
    r.Value = path;
    return r;
}

TDVCheck dvcheck::DataFileExt(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    const QString extension = ExtractFileExtension(path, false);
    QString first;
    if (extension.isEmpty()) {
        r.Key = QStringLiteral("UDV002");
        first = Format(UIT(txt::ExtensionIsUndefined), {caption});
    } else if (!TovDV::IsDataFileExtension(extension)) {
        r.Key = QStringLiteral("UDV003");
        first = Format(UIT(txt::FollowingFileIsNotValid), {kProgramName, caption});
    } else {
        return {};
    }
    r.Hint = r.Details = first;
    r.Dlg = first + kPara + path + kPara + Format(UIT(txt::FileCannotBeOpened), {kProgramName}) +
            kPara + Format(UIT(txt::PleaseSelectValid), {kProgramName, caption});
    r.Value = path;
    return r;
}

TDVCheck dvcheck::FileExists(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (::FileExistsChecked(caption, path)) {
        return {};
    }
    r.Key = QStringLiteral("UDV004");
    r.Dlg = Format(UIT(txt::FollowingCannotBeFound), {caption}) + kPara + path + kPara +
            Format(UIT(txt::PleaseEnterValid), {caption});
    r.Hint = r.Details = Format(UIT(txt::CannotBeFound), {caption});
    r.Value = path;
    return r;
}

TDVCheck dvcheck::Path(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (path.isEmpty()) {
        return undefined(QStringLiteral("UDV005"), UIT(txt::IsUndefined), caption);
    }
    if (collectIllegal(r.Illegal, path, kPathChars)) {
        return illegal(r, QStringLiteral("UDV006"), UIT(txt::ContainsFollowingIllegalCharacters),
                       caption, path);
    }
    if (TDVCheck drive = Drive(caption, path)) {
        return drive;
    }
    return Filename(caption, path);
}

TDVCheck dvcheck::Drive(const QString& caption, const QString& path) {
    // A POSIX path has no drive: a full path is an absolute one.
    if (TrimControl(path).startsWith(QLatin1Char('/'))) {
        return {};
    }
    return undefined(QStringLiteral("UDV007"), UIT(txt::DriveIsUndefined), caption);
}

TDVCheck dvcheck::Filename(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    const QString name = ExtractFileNameWithoutExt(path);
    if (name.isEmpty()) {
        return undefined(QStringLiteral("UDV011"), UIT(txt::FilenameIsUndefined), caption);
    }
    if (collectIllegal(r.Illegal, name, kFilenameChars)) {
        return illegal(r, QStringLiteral("UDV012"),
                       UIT(txt::FilenameContainsFollowingIllegalCharacters), caption, path);
    }
    return {};
}

TDVCheck dvcheck::ExcelFileExt(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (path.isEmpty() || ExtractFileName(path).isEmpty()) {
        return {};
    }
    const QString extension = ExtractFileExtension(path, false);
    const QString newExtension = ModelPrefs()->getOFExtn();
    if (extension.isEmpty()) {
        r.Key = QStringLiteral("UDV014");
        r.Hint = Format(UIT(txt::ExtensionIsUndefined), {caption});
        r.Dlg = r.Hint + kPara + Format(UIT(txt::Changed), {newExtension});
        // The post-load repair lists r.Msg, so it carries the details as well.
        r.Msg = r.Details = Format(UIT(txt::ExtensionIsUndefinedChanged), {caption, newExtension});
        r.Value = UIT(txt::Undefined_1424);
        return r;
    }
    if (!isExcelExtension(extension)) {
        r.Key = QStringLiteral("UDV015");
        r.Msg = r.Details = Format(UIT(txt::ExtensionIsInvalidChanged), {caption, newExtension});
        r.Hint = Format(UIT(txt::ExtensionIsInvalid), {caption});
        r.Dlg = r.Hint + kPara + Format(UIT(txt::Changed), {newExtension});
        r.Value = UpperAZ(extension);
        return r;
    }
    return {};
}

TDVCheck dvcheck::ExcelFile(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (isExcelExtension(ExtractFileExtension(path, false))) {
        return {};
    }
    r.Key = QStringLiteral("UDV016");
    r.Hint = r.Details = Format(UIT(txt::SelectedIsNotValidMS), {caption});
    r.Dlg = r.Hint + kPara + path + kPara +
            Format(UIT(txt::ValidMSExcelFiles), {QStringLiteral(".xls"), QStringLiteral(".xlsx")});
    r.Value = path;
    return r;
}

TDVCheck dvcheck::WorksheetName(const QString& caption, const QString& name) {
    TDVCheck r = TDVCheck::Failed();
    if (name.isEmpty()) {
        return undefined(QStringLiteral("UDV017"), UIT(txt::IsUndefined), caption);
    }
    for (const QChar c : name) {
        if (kWorksheetChars.contains(c)) {
            AddIllegal(r.Illegal, QString(c));
        }
    }
    if (!r.Illegal.isEmpty()) {
        return illegal(r, QStringLiteral("UDV018"), UIT(txt::ContainsFollowingIllegalCharacters),
                       caption, name);
    }
    return {};
}

namespace {

// The key suffix (index into the row or field keys) and the limits for a data source path.
struct GridLimits {
    int keyIndex; // 0..5 for UDV019..UDV024 and UDV026..UDV031
    int maxRows;
    int maxColumns;
};

GridLimits gridLimitsFor(const QString& path) {
    IXLLimits* xl = XLLimits();
    xl->setFilePath(path);
    const int maxRows = xl->MaxRows();
    const int maxColumns = xl->MaxColumns();
    const QString extension = UpperAZ(ExtractFileExtension(path, false));
    const bool bigGrid = maxRows == 1048576;
    int keyIndex;
    if (extension == QStringLiteral("XLSX")) {
        keyIndex = bigGrid ? 0 : 1;
    } else if (extension == QStringLiteral("XLS")) {
        keyIndex = 2;
    } else if (bigGrid) {
        keyIndex = xl->getVersion() == 0 ? 3 : 4;
    } else {
        keyIndex = 5;
    }
    return {keyIndex, maxRows, maxColumns};
}

} // namespace

TDVCheck dvcheck::TaskHeaderRow(const TTaskHeaderRowCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    const GridLimits limits = gridLimitsFor(c.FilePath);
    const int hi = limits.maxRows - 1;
    if (c.Row >= 1 && c.Row <= hi) {
        return {};
    }
    r.Key = QStringLiteral("UDV%1").arg(19 + limits.keyIndex, 3, 10, QLatin1Char('0'));
    const QString invalid = Format(UIT(txt::IsInvalid), {c.RowCaption});
    const QString range = Format(UIT(txt::ValidRange), {1, hi});
    r.Hint = invalid + kCRLF + range;
    r.Dlg = invalid + kPara + range + kPara + Format(UIT(txt::PleaseEnterValid), {c.RowCaption});
    r.Msg = r.Details = Format(UIT(txt::IsInvalidValidRangeReset), {c.RowCaption, 1, hi, 1});
    r.Value = QString::number(c.Row);
    return r;
}

TDVCheck dvcheck::TaskField(const TTaskFieldCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    const QString letters = UpperAZ(c.Letters);
    if (letters.isEmpty()) {
        return undefined(QStringLiteral("UDV025"), UIT(txt::IsUndefined), c.FieldCaption);
    }
    const GridLimits limits = gridLimitsFor(c.FilePath);
    if (XLLimits()->LettersToColumn(letters, limits.maxColumns) >= 1) {
        return {};
    }
    r.Key = QStringLiteral("UDV%1").arg(26 + limits.keyIndex, 3, 10, QLatin1Char('0'));
    const QString last = limits.maxColumns == 16384 ? QStringLiteral("XFD") : QStringLiteral("IV");
    const QString invalid = Format(UIT(txt::IsInvalid), {c.FieldCaption});
    const QString range = Format(UIT(txt::ValidRange_891), {QStringLiteral("A"), last});
    r.Hint = invalid + kCRLF + range;
    r.Dlg = invalid + kPara + range + kPara + Format(UIT(txt::PleaseEnterValid), {c.FieldCaption});
    r.Details = Format(UIT(txt::IsInvalidValidRange), {c.FieldCaption, QStringLiteral("A"), last});
    r.Value = letters;
    return r;
}

TDVCheck dvcheck::DefaultFile(const TEntryDefaultCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    if (!c.Entry.isEmpty()) {
        return {};
    }
    r.Key = QStringLiteral("UDV032");
    r.Msg = r.Details = Format(UIT(txt::IsUndefinedChangedToDefault), {c.Caption, c.Caption});
    r.Hint = Format(UIT(txt::IsUndefined), {c.Caption});
    r.Dlg = r.Hint + kPara + Format(UIT(txt::ChangedToDefault), {c.Caption}) + kPara + c.Default;
    r.Value = UIT(txt::Undefined_1424);
    return r;
}

TDVCheck dvcheck::DefaultFolder(const TEntryDefaultCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    if (TrimControl(ExtractFileName(c.Entry)).isEmpty() ||
        !TrimControl(ExtractFilePath(c.Entry)).isEmpty()) {
        return {};
    }
    r.Key = QStringLiteral("UDV033");
    r.Msg = r.Details = Format(UIT(txt::FolderIsUndefinedChanged), {c.Caption, c.Caption});
    r.Hint = Format(UIT(txt::FolderIsUndefined), {c.Caption});
    r.Dlg =
        r.Hint + kPara + Format(UIT(txt::ChangedToDefaultFolder), {c.Caption}) + kPara + c.Default;
    r.Value = c.Entry;
    return r;
}

TDVCheck dvcheck::FileExtMatch(const TEntryPairCheck& c) {
    if (c.Entry.isEmpty() || TrimControl(ExtractFileName(c.Entry)).isEmpty() ||
        TrimControl(ExtractFileName(c.OtherEntry)).isEmpty() ||
        ExcelFileExt(c.OtherCaption, c.OtherEntry) ||
        SameTextAZ(ExtractFileExtension(c.Entry, false),
                   ExtractFileExtension(c.OtherEntry, false))) {
        return {};
    }
    TDVCheck r = TDVCheck::Failed();
    const QString extension = ExtractFileExtension(c.OtherEntry, true);
    r.Key = QStringLiteral("UDV034");
    r.Msg = r.Details = Format(UIT(txt::ExtensionDoesNotMatchExtensionChanged),
                               {c.OtherCaption, c.Caption, extension});
    r.Hint = Format(UIT(txt::ExtensionDoesNotMatchExtension), {c.Caption, c.OtherCaption});
    r.Dlg = Format(UIT(txt::ExtensionDoesNotMatchExtension), {c.OtherCaption, c.Caption}) + kPara +
            Format(UIT(txt::Changed), {extension});
    r.Value = c.Entry;
    return r;
}

TDVCheck dvcheck::SameEntry(const TEntryPairCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    if (!SameTextAZ(c.Entry, c.OtherEntry)) {
        return {};
    }
    r.Key = QStringLiteral("UDV035");
    r.Hint = r.Details = Format(UIT(txt::IsSame), {c.Caption, c.OtherCaption});
    r.Dlg = r.Hint + kPara + Format(UIT(txt::PleaseSelectDifferent), {c.Caption});
    r.Value = c.Entry;
    return r;
}

TDVCheck dvcheck::SamePath(const TEntryPairCheck& c) {
    TDVCheck r = TDVCheck::Failed();
    if (c.Entry.isEmpty() || c.OtherEntry.isEmpty() ||
        CleanAbsolutePath(c.Entry) != CleanAbsolutePath(c.OtherEntry)) {
        return {};
    }
    r.Key = QStringLiteral("UDV035");
    r.Hint = r.Details = Format(UIT(txt::IsSame), {c.Caption, c.OtherCaption});
    r.Dlg = r.Hint + kPara + Format(UIT(txt::PleaseSelectDifferent), {c.Caption});
    r.Value = c.Entry;
    return r;
}

TDVCheck dvcheck::FolderPath(const QString& caption, const QString& path) {
    TDVCheck r = TDVCheck::Failed();
    if (path.isEmpty()) {
        r.Hint = Format(UIT(txt::IsUndefined), {caption});
        return r;
    }
    if (TDVCheck drive = Drive(caption, path)) {
        return drive;
    }
    if (ExtractPathWithoutDrive(path).isEmpty()) {
        r.Hint = Format(UIT(txt::PathIsUndefined), {caption});
        return r;
    }
    if (collectIllegal(r.Illegal, TrimControl(path), kFolderChars)) {
        r.Hint = Format(UIT(txt::ContainsFollowingIllegalCharacters),
                        {caption, hintSafe(r.IllegalChars())});
        return r;
    }
    return {};
}

TDVCheck dvcheck::IllegalFilenameChars(const QString& path) {
    TDVCheck r;
    r.Fails = collectIllegal(r.Illegal, ExtractPathWithoutDrive(path), kFolderChars);
    return r;
}

TDVCheck dvcheck::ProgramFilesFolder(const QString& caption, const QString& path) {
    // A passing check keeps the path as it is.
    TDVCheck r;
    r.ChangedPath = path;
    const QString native = ProgramFilesFolderNative();
    const QString x86 = ProgramFilesFolderX86();
    // Without the two folders (this platform has none) there is nothing to move between.
    if (path.isEmpty() || native.isEmpty() || x86.isEmpty()) {
        return r;
    }
    auto tryMove = [&](const QString& from, const QString& to) {
        if (!SameTextAZ(path.left(from.size()), from) || ::FileExistsChecked(caption, path)) {
            return false;
        }
        const QString candidate = to + path.mid(from.size());
        if (!::FileExistsChecked(caption, candidate)) {
            return false;
        }
        r.Fails = true;
        r.Msg = Format(UIT(txt::FolderHasBeenChanged), {caption, from, to});
        r.ChangedPath = candidate;
        return true;
    };
    if (!tryMove(native, x86)) {
        tryMove(x86, native);
    }
    return r;
}
