// The field and file-name checks of the validator and their dialogue twins.
#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/StdDlg.h"
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

bool TovDV::ShowCheckDlg() {
    IStdDlg* dlg = StdDlg();
    if (dlg != nullptr) {
        dlg->MsgLines.clear();
        dlg->MsgLines << DlgText;
        TStdDlgButton close;
        close.ImageIndex = glyphClose;
        close.ModalResult = mrClose;
        close.Caption = UIT(357);
        close.Hint = UIT(1262);
        dlg->SetupStdDlgButtons1(sdkWarning, MsgKey, close);
        dlg->ShowModal();
    }
    return true;
}

void TovDV::SetUndefined(const QString& textFormat, const QString& caption) {
    HintText = DetailsText = Format(textFormat, {caption});
    DlgText = HintText + kPara + Format(UIT(889), {caption});
    ValueText = UIT(1424);
}

bool TovDV::CollectIllegal(const QString& text, const QString& set) {
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            continue;
        }
        if (c.unicode() < 0x20) {
            const QString shown = QLatin1Char('#') + QString::number(c.unicode());
            if (!IllegalList.contains(shown)) {
                IllegalList << shown;
            }
        } else if (set.contains(c)) {
            AddIllegalChar(QString(c));
        }
    }
    return !IllegalList.isEmpty();
}

void TovDV::SetIllegal(const QString& textFormat, const QString& caption, const QString& entry) {
    const QString list = getIllegalChars();
    DetailsText = Format(textFormat, {caption, list});
    HintText = Format(textFormat, {caption, hintSafe(list)});
    DlgText = DetailsText + kPara + Format(UIT(889), {caption});
    ValueText = entry;
}

bool TovDV::CheckDataFileExists(const QString& caption, const QString& path, bool /*drive*/) {
    ClearMsgFields();
    if (::FileExistsChecked(caption, path)) {
        return false;
    }
    MsgKey = QStringLiteral("UDV001");
    HintText = DetailsText = Format(UIT(860), {caption});
    DlgText = UIT(1405) + kPara + path + kPara + UIT(1406);
    ValueText = path;
    return true;
}

bool TovDV::CheckDataFileExistsDlg(const QString& caption, const QString& path, bool drive) {
    return CheckDataFileExists(caption, path, drive) && ShowCheckDlg();
}

bool TovDV::CheckDataFileExt(const QString& caption, const QString& path) {
    ClearMsgFields();
    const QString extension = ExtractFileExtension(path, false);
    QString first;
    if (extension.isEmpty()) {
        MsgKey = QStringLiteral("UDV002");
        first = Format(UIT(880), {caption});
    } else if (!IsDataFileExtension(extension)) {
        MsgKey = QStringLiteral("UDV003");
        first = Format(UIT(853), {kProgramName, caption});
    } else {
        return false;
    }
    HintText = DetailsText = first;
    DlgText = first + kPara + path + kPara + Format(UIT(887), {kProgramName}) + kPara +
              Format(UIT(888), {kProgramName, caption});
    ValueText = path;
    return true;
}

bool TovDV::CheckDataFileExtDlg(const QString& caption, const QString& path) {
    return CheckDataFileExt(caption, path) && ShowCheckDlg();
}

bool TovDV::CheckFileExists(const QString& caption, const QString& path) {
    ClearMsgFields();
    if (::FileExistsChecked(caption, path)) {
        return false;
    }
    MsgKey = QStringLiteral("UDV004");
    DlgText = Format(UIT(861), {caption}) + kPara + path + kPara + Format(UIT(889), {caption});
    HintText = DetailsText = Format(UIT(860), {caption});
    ValueText = path;
    return true;
}

bool TovDV::CheckFileExistsDlg(const QString& caption, const QString& path) {
    return CheckFileExists(caption, path) && ShowCheckDlg();
}

bool TovDV::CheckPath(const QString& caption, const QString& path) {
    ClearMsgFields();
    ClearIllegalChars();
    if (path.isEmpty()) {
        MsgKey = QStringLiteral("UDV005");
        SetUndefined(UIT(872), caption);
        return true;
    }
    if (CollectIllegal(path, kPathChars)) {
        MsgKey = QStringLiteral("UDV006");
        SetIllegal(UIT(844), caption, path);
        return true;
    }
    return CheckDrive(caption, path) || CheckFilename(caption, path);
}

bool TovDV::CheckPathDlg(const QString& caption, const QString& path) {
    return CheckPath(caption, path) && ShowCheckDlg();
}

bool TovDV::CheckDrive(const QString& caption, const QString& path) {
    ClearMsgFields();
    ClearIllegalChars();
    // A POSIX path has no drive: a full path is an absolute one.
    if (TrimControl(path).startsWith(QLatin1Char('/'))) {
        return false;
    }
    MsgKey = QStringLiteral("UDV007");
    SetUndefined(UIT(876), caption);
    return true;
}

bool TovDV::CheckFilename(const QString& caption, const QString& path) {
    ClearMsgFields();
    ClearIllegalChars();
    const QString name = ExtractFileNameWithoutExt(path);
    if (name.isEmpty()) {
        MsgKey = QStringLiteral("UDV011");
        SetUndefined(UIT(879), caption);
        return true;
    }
    if (CollectIllegal(name, kFilenameChars)) {
        MsgKey = QStringLiteral("UDV012");
        SetIllegal(UIT(846), caption, path);
        return true;
    }
    return false;
}

bool TovDV::CheckExcelFileExt(const QString& caption, const QString& path) {
    ClearMsgFields();
    if (path.isEmpty() || ExtractFileName(path).isEmpty()) {
        return false;
    }
    const QString extension = ExtractFileExtension(path, false);
    const QString newExtension = ModelPrefs()->getOFExtn();
    if (extension.isEmpty()) {
        MsgKey = QStringLiteral("UDV014");
        HintText = Format(UIT(880), {caption});
        DlgText = HintText + kPara + Format(UIT(833), {newExtension});
        // The post-load repair lists MsgText, so it carries the details as well.
        MsgText = DetailsText = Format(UIT(881), {caption, newExtension});
        ValueText = UIT(1424);
        return true;
    }
    if (!isExcelExtension(extension)) {
        MsgKey = QStringLiteral("UDV015");
        MsgText = DetailsText = Format(UIT(852), {caption, newExtension});
        HintText = Format(UIT(849), {caption});
        DlgText = HintText + kPara + Format(UIT(833), {newExtension});
        ValueText = UpperAZ(extension);
        return true;
    }
    return false;
}

bool TovDV::CheckExcelFileExtDlg(const QString& caption, const QString& path) {
    return CheckExcelFileExt(caption, path) && ShowCheckDlg();
}

bool TovDV::CheckExcelFile(const QString& caption, const QString& path) {
    ClearMsgFields();
    if (isExcelExtension(ExtractFileExtension(path, false))) {
        return false;
    }
    MsgKey = QStringLiteral("UDV016");
    HintText = DetailsText = Format(UIT(850), {caption});
    DlgText = HintText + kPara + path + kPara +
              Format(UIT(851), {QStringLiteral(".xls"), QStringLiteral(".xlsx")});
    ValueText = path;
    return true;
}

bool TovDV::CheckExcelFileDlg(const QString& caption, const QString& path) {
    return CheckExcelFile(caption, path) && ShowCheckDlg();
}

bool TovDV::CheckWorksheetName(const QString& caption, const QString& name) {
    ClearMsgFields();
    ClearIllegalChars();
    if (name.isEmpty()) {
        MsgKey = QStringLiteral("UDV017");
        SetUndefined(UIT(872), caption);
        return true;
    }
    for (const QChar c : name) {
        if (kWorksheetChars.contains(c)) {
            AddIllegalChar(QString(c));
        }
    }
    if (!IllegalList.isEmpty()) {
        MsgKey = QStringLiteral("UDV018");
        SetIllegal(UIT(844), caption, name);
        return true;
    }
    return false;
}

bool TovDV::CheckWorksheetNameDlg(const QString& caption, const QString& name) {
    return CheckWorksheetName(caption, name) && ShowCheckDlg();
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

bool TovDV::CheckTaskHeaderRow(const TTaskHeaderRowCheck& c) {
    ClearMsgFields();
    const GridLimits limits = gridLimitsFor(c.FilePath);
    const int hi = limits.maxRows - 1;
    if (c.Row >= 1 && c.Row <= hi) {
        return false;
    }
    MsgKey = QStringLiteral("UDV%1").arg(19 + limits.keyIndex, 3, 10, QLatin1Char('0'));
    const QString invalid = Format(UIT(847), {c.RowCaption});
    const QString range = Format(UIT(890), {1, hi});
    HintText = invalid + kCRLF + range;
    DlgText = invalid + kPara + range + kPara + Format(UIT(889), {c.RowCaption});
    MsgText = DetailsText = Format(UIT(855), {c.RowCaption, 1, hi, 1});
    ValueText = QString::number(c.Row);
    return true;
}

bool TovDV::CheckTaskHeaderRowDlg(const TTaskHeaderRowCheck& c) {
    return CheckTaskHeaderRow(c) && ShowCheckDlg();
}

bool TovDV::CheckTaskField(const TTaskFieldCheck& c) {
    ClearMsgFields();
    const QString letters = UpperAZ(c.Letters);
    if (letters.isEmpty()) {
        MsgKey = QStringLiteral("UDV025");
        SetUndefined(UIT(872), c.FieldCaption);
        return true;
    }
    const GridLimits limits = gridLimitsFor(c.FilePath);
    if (XLLimits()->LettersToColumn(letters, limits.maxColumns) >= 1) {
        return false;
    }
    MsgKey = QStringLiteral("UDV%1").arg(26 + limits.keyIndex, 3, 10, QLatin1Char('0'));
    const QString last = limits.maxColumns == 16384 ? QStringLiteral("XFD") : QStringLiteral("IV");
    const QString invalid = Format(UIT(847), {c.FieldCaption});
    const QString range = Format(UIT(891), {QStringLiteral("A"), last});
    HintText = invalid + kCRLF + range;
    DlgText = invalid + kPara + range + kPara + Format(UIT(889), {c.FieldCaption});
    DetailsText = Format(UIT(856), {c.FieldCaption, QStringLiteral("A"), last});
    ValueText = letters;
    return true;
}

bool TovDV::CheckTaskFieldDlg(const TTaskFieldCheck& c) {
    return CheckTaskField(c) && ShowCheckDlg();
}

bool TovDV::CheckDefaultFile(const TEntryDefaultCheck& c) {
    ClearMsgFields();
    if (!c.Entry.isEmpty()) {
        return false;
    }
    MsgKey = QStringLiteral("UDV032");
    MsgText = DetailsText = Format(UIT(873), {c.Caption, c.Caption});
    HintText = Format(UIT(872), {c.Caption});
    DlgText = HintText + kPara + Format(UIT(834), {c.Caption}) + kPara + c.Default;
    ValueText = UIT(1424);
    return true;
}

bool TovDV::CheckDefaultFolder(const TEntryDefaultCheck& c) {
    ClearMsgFields();
    if (TrimControl(ExtractFileName(c.Entry)).isEmpty() ||
        !TrimControl(ExtractFilePath(c.Entry)).isEmpty()) {
        return false;
    }
    MsgKey = QStringLiteral("UDV033");
    MsgText = DetailsText = Format(UIT(874), {c.Caption, c.Caption});
    HintText = Format(UIT(878), {c.Caption});
    DlgText = HintText + kPara + Format(UIT(835), {c.Caption}) + kPara + c.Default;
    ValueText = c.Entry;
    return true;
}

bool TovDV::CheckFileExtMatch(const TEntryPairCheck& c) {
    if (c.Entry.isEmpty() || TrimControl(ExtractFileName(c.Entry)).isEmpty() ||
        TrimControl(ExtractFileName(c.OtherEntry)).isEmpty() ||
        CheckExcelFileExt(c.OtherCaption, c.OtherEntry) ||
        SameTextAZ(ExtractFileExtension(c.Entry, false),
                   ExtractFileExtension(c.OtherEntry, false))) {
        ClearMsgFields();
        return false;
    }
    ClearMsgFields();
    const QString extension = ExtractFileExtension(c.OtherEntry, true);
    MsgKey = QStringLiteral("UDV034");
    MsgText = DetailsText = Format(UIT(842), {c.OtherCaption, c.Caption, extension});
    HintText = Format(UIT(841), {c.Caption, c.OtherCaption});
    DlgText = Format(UIT(841), {c.OtherCaption, c.Caption}) + kPara + Format(UIT(833), {extension});
    ValueText = c.Entry;
    return true;
}

bool TovDV::CheckSameEntry(const TEntryPairCheck& c) {
    ClearMsgFields();
    if (!SameTextAZ(c.Entry, c.OtherEntry)) {
        return false;
    }
    MsgKey = QStringLiteral("UDV035");
    HintText = DetailsText = Format(UIT(868), {c.Caption, c.OtherCaption});
    DlgText = HintText + kPara + Format(UIT(838), {c.Caption});
    ValueText = c.Entry;
    return true;
}

bool TovDV::CheckSamePath(const TEntryPairCheck& c) {
    ClearMsgFields();
    if (c.Entry.isEmpty() || c.OtherEntry.isEmpty() ||
        CleanAbsolutePath(c.Entry) != CleanAbsolutePath(c.OtherEntry)) {
        return false;
    }
    MsgKey = QStringLiteral("UDV035");
    HintText = DetailsText = Format(UIT(868), {c.Caption, c.OtherCaption});
    DlgText = HintText + kPara + Format(UIT(838), {c.Caption});
    ValueText = c.Entry;
    return true;
}

bool TovDV::CheckFolderPath(const QString& caption, const QString& path) {
    ClearMsgFields();
    ClearIllegalChars();
    if (path.isEmpty()) {
        HintText = Format(UIT(872), {caption});
        return true;
    }
    if (CheckDrive(caption, path)) {
        return true;
    }
    if (ExtractPathWithoutDrive(path).isEmpty()) {
        HintText = Format(UIT(877), {caption});
        return true;
    }
    if (CollectIllegal(TrimControl(path), kFolderChars)) {
        HintText = Format(UIT(844), {caption, hintSafe(getIllegalChars())});
        return true;
    }
    return false;
}

bool TovDV::CheckIllegalFilenameChars(const QString& path) {
    ClearIllegalChars();
    return CollectIllegal(ExtractPathWithoutDrive(path), kFolderChars);
}

bool TovDV::CheckProgramFilesFolder(const QString& caption, const QString& path) {
    ClearMsgFields();
    ChangedPath = path;
    const QString native = ProgramFilesFolderNative();
    const QString x86 = ProgramFilesFolderX86();
    // Without the two folders (this platform has none) there is nothing to move between.
    if (path.isEmpty() || native.isEmpty() || x86.isEmpty()) {
        return false;
    }
    auto tryMove = [&](const QString& from, const QString& to) {
        if (!SameTextAZ(path.left(from.size()), from) || ::FileExistsChecked(caption, path)) {
            return false;
        }
        const QString candidate = to + path.mid(from.size());
        if (!::FileExistsChecked(caption, candidate)) {
            return false;
        }
        MsgText = Format(UIT(843), {caption, from, to});
        ChangedPath = candidate;
        return true;
    };
    return tryMove(native, x86) || tryMove(x86, native);
}
