#include "ovUP.h"

#include "DataFileTypes.h"
#include "PathChecks.h"
#include "REG_Utils.h"
#include "ShellUtils.h"
#include "StdDlg.h"
#include "StrUtils.h"
#include "ovAD.h"
#include "ovUIL.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "services/TextIds.h"

#include <QCoreApplication>

#include <algorithm>

TovUP* UP = nullptr;

const char* const TovUP::kOptionNames[OptionCount] = {"AutoAlignBrowseFld",
                                                      "AutoAlignBrowseVal",
                                                      "AutoAlignBrowseWS",
                                                      "AutoSizeCfgErr",
                                                      "AutoSizeDFVErr",
                                                      "AutoSizeBrowseFile",
                                                      "AutoSizeBrowseFld",
                                                      "AutoSizeBrowseVal",
                                                      "AutoSizeBrowseWS",
                                                      "AutoSizeDSM",
                                                      "AutoSizeDSF",
                                                      "AutoSizeSummary",
                                                      "BackupDF",
                                                      "ImportTaskFldDesc",
                                                      "IncBackup",
                                                      "PromptOnCreateOFFolder",
                                                      "PromptOnOverwriteOF",
                                                      "PromptOnProcess",
                                                      "PurgeMRU",
                                                      "ShowHints",
                                                      "ShowToolBarCaptions",
                                                      "DefaultTFDDLItemIndex",
                                                      "DefaultTFOther",
                                                      "DefaultOFFolderDDLItemIndex",
                                                      "DefaultOFFolderOther",
                                                      "DefaultXLExtn",
                                                      "HintHidePause",
                                                      "HintPause",
                                                      "ImportTaskFldValueCount"};

namespace {

std::function<QString()>& excelDefaultExtension() {
    static std::function<QString()> source;
    return source;
}

QString name(TovUP::Option option) {
    return QString::fromLatin1(TovUP::kOptionNames[option]);
}

const TovUP::Option kLoadOrder[] = {TovUP::AutoAlignBrowseFld,
                                    TovUP::AutoAlignBrowseVal,
                                    TovUP::AutoAlignBrowseWS,
                                    TovUP::AutoSizeCfgErr,
                                    TovUP::AutoSizeDFVErr,
                                    TovUP::AutoSizeBrowseFile,
                                    TovUP::AutoSizeBrowseFld,
                                    TovUP::AutoSizeBrowseVal,
                                    TovUP::AutoSizeBrowseWS,
                                    TovUP::AutoSizeDSM,
                                    TovUP::AutoSizeDSF,
                                    TovUP::AutoSizeSummary,
                                    TovUP::BackupDF,
                                    TovUP::DefaultTFDDLItemIndex,
                                    TovUP::DefaultTFOther,
                                    TovUP::DefaultOFFolderDDLItemIndex,
                                    TovUP::DefaultOFFolderOther,
                                    TovUP::DefaultXLExtn,
                                    TovUP::HintHidePause,
                                    TovUP::HintPause,
                                    TovUP::ImportTaskFldDesc,
                                    TovUP::ImportTaskFldValueCount,
                                    TovUP::IncBackup,
                                    TovUP::PromptOnCreateOFFolder,
                                    TovUP::PromptOnOverwriteOF,
                                    TovUP::PromptOnProcess,
                                    TovUP::PurgeMRU,
                                    TovUP::ShowToolBarCaptions,
                                    TovUP::ShowHints};

const TovUP::Option kSaveOrder[] = {TovUP::AutoAlignBrowseFld,
                                    TovUP::AutoAlignBrowseVal,
                                    TovUP::AutoAlignBrowseWS,
                                    TovUP::AutoSizeCfgErr,
                                    TovUP::AutoSizeDFVErr,
                                    TovUP::AutoSizeBrowseFile,
                                    TovUP::AutoSizeBrowseFld,
                                    TovUP::AutoSizeBrowseVal,
                                    TovUP::AutoSizeBrowseWS,
                                    TovUP::AutoSizeDSM,
                                    TovUP::AutoSizeDSF,
                                    TovUP::AutoSizeSummary,
                                    TovUP::BackupDF,
                                    TovUP::DefaultTFDDLItemIndex,
                                    TovUP::DefaultTFOther,
                                    TovUP::DefaultOFFolderDDLItemIndex,
                                    TovUP::DefaultOFFolderOther,
                                    TovUP::DefaultXLExtn,
                                    TovUP::HintHidePause,
                                    TovUP::HintPause,
                                    TovUP::IncBackup,
                                    TovUP::ImportTaskFldDesc,
                                    TovUP::ImportTaskFldValueCount,
                                    TovUP::ShowToolBarCaptions,
                                    TovUP::ShowHints,
                                    TovUP::PromptOnCreateOFFolder,
                                    TovUP::PromptOnOverwriteOF,
                                    TovUP::PromptOnProcess,
                                    TovUP::PurgeMRU};

bool defaultOf(TovUP::Option option) {
    return option != TovUP::IncBackup && option != TovUP::PurgeMRU;
}

} // namespace

void TovUP::setExcelDefaultExtension(std::function<QString()> source) {
    excelDefaultExtension() = std::move(source);
}

QString TovUP::ExcelDefaultExtension() {
    const auto& source = excelDefaultExtension();
    return source ? source() : QStringLiteral("xlsx");
}

TovUP::TovUP() {
    SetDefaults();
}

void TovUP::SetDefaults() {
    for (int i = 0; i < BoolCount; ++i) {
        Bools[i] = defaultOf(static_cast<Option>(i));
    }
    TFDDLItemIndex = 1;
    TFOther.clear();
    OFFolderDDLItemIndex = 2;
    OFFolderOther.clear();
    XLExtn = 0;
    HintHidePauseMs = 2500;
    HintPauseMs = 500;
    TaskFldValueCount = 3;
    RegKey = QStringLiteral("Software\\Tarrow Studio\\Ovik KRV Tessel\\UP");
    const QString folder = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
    TemplateXLS = folder + QStringLiteral("Templates/Ovik_KRV_Tessel_Template.xls");
    TemplateXLSX = folder + QStringLiteral("Templates/Ovik_KRV_Tessel_Template.xlsx");
    Unread.clear();
}

void TovUP::setBool(Option option, bool value) {
    if (option >= 0 && option < BoolCount && Bools[option] != value) {
        Bools[option] = value;
        changed(option);
    }
}

void TovUP::setDefaultTFDDLItemIndex(int value) {
    const int v = IsOutOfRange(value, 0, 4) ? 1 : value;
    if (TFDDLItemIndex != v) {
        TFDDLItemIndex = v;
        changed(DefaultTFDDLItemIndex);
    }
}

void TovUP::setDefaultTFOther(const QString& value) {
    const QString v = value.trimmed();
    if (TFOther != v) {
        TFOther = v;
        changed(DefaultTFOther);
    }
}

void TovUP::setDefaultOFFolderDDLItemIndex(int value) {
    const int v = IsOutOfRange(value, 0, 3) ? 2 : value;
    if (OFFolderDDLItemIndex != v) {
        OFFolderDDLItemIndex = v;
        changed(DefaultOFFolderDDLItemIndex);
    }
}

void TovUP::setDefaultOFFolderOther(const QString& value) {
    QString v = value.trimmed();
    if (!v.isEmpty() && !v.endsWith(QLatin1Char('/'))) {
        v += QLatin1Char('/');
    }
    if (OFFolderOther != v) {
        OFFolderOther = v;
        changed(DefaultOFFolderOther);
    }
}

bool TovUP::setDefaultXLExtn(int value) {
    if (IsInvalidXLExtn(XLExtn)) {
        XLExtn = 0;
        changed(DefaultXLExtn);
    }
    if (IsInvalidXLExtn(value)) {
        return true;
    }
    if (XLExtn != value) {
        XLExtn = value;
        changed(DefaultXLExtn);
    }
    return false;
}

void TovUP::setHintHidePause(int value) {
    const int v = std::clamp(value, 1000, 5000);
    if (HintHidePauseMs != v) {
        HintHidePauseMs = v;
        changed(HintHidePause);
    }
}

void TovUP::setHintPause(int value) {
    const int v = std::clamp(value, 0, 2000);
    if (HintPauseMs != v) {
        HintPauseMs = v;
        changed(HintPause);
    }
}

void TovUP::setImportTaskFldValueCount(int value) {
    const int v = std::clamp(value, 0, 5);
    if (TaskFldValueCount != v) {
        TaskFldValueCount = v;
        changed(ImportTaskFldValueCount);
    }
}

bool TovUP::IsInvalidXLExtn(int value) {
    return value > 2 || value < 0;
}

QString TovUP::XLExtnToText(int value) {
    if (value == 1) {
        return QStringLiteral("xls");
    }
    if (value == 2) {
        return QStringLiteral("xlsx");
    }
    return QStringLiteral("Auto");
}

int TovUP::TextToXLExtn(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0) {
        return 2;
    }
    if (t.compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0) {
        return 1;
    }
    return 0;
}

void TovUP::Load() {
    TRegBatch batch;
    TRegErrors errors;
    for (const Option option : kLoadOrder) {
        const QString value = name(option);
        try {
            if (option < BoolCount) {
                setBool(option, RegReadBool(HKEY_CURRENT_USER, RegKey, value, Bools[option]));
            } else {
                switch (option) {
                case DefaultTFDDLItemIndex:
                    setDefaultTFDDLItemIndex(
                        RegReadInteger(HKEY_CURRENT_USER, RegKey, value, TFDDLItemIndex));
                    break;
                case DefaultTFOther:
                    setDefaultTFOther(RegReadString(HKEY_CURRENT_USER, RegKey, value, TFOther));
                    break;
                case DefaultOFFolderDDLItemIndex:
                    setDefaultOFFolderDDLItemIndex(
                        RegReadInteger(HKEY_CURRENT_USER, RegKey, value, OFFolderDDLItemIndex));
                    break;
                case DefaultOFFolderOther:
                    setDefaultOFFolderOther(
                        RegReadString(HKEY_CURRENT_USER, RegKey, value, OFFolderOther));
                    break;
                case DefaultXLExtn:
                    setDefaultXLExtn(TextToXLExtn(
                        RegReadString(HKEY_CURRENT_USER, RegKey, value, QStringLiteral("Auto"))));
                    break;
                case HintHidePause:
                    setHintHidePause(
                        RegReadInteger(HKEY_CURRENT_USER, RegKey, value, HintHidePauseMs));
                    break;
                case HintPause:
                    setHintPause(RegReadInteger(HKEY_CURRENT_USER, RegKey, value, HintPauseMs));
                    break;
                case ImportTaskFldValueCount:
                    setImportTaskFldValueCount(
                        RegReadInteger(HKEY_CURRENT_USER, RegKey, value, TaskFldValueCount));
                    break;
                default:
                    break;
                }
            }
            Unread.remove(option);
        } catch (const platform::Exception& e) {
            Unread.insert(option);
            errors.add(e.message());
        }
    }
    errors.show(false);
}

void TovUP::Validate() {
    setDefaultTFDDLItemIndex(TFDDLItemIndex);
    if (TFDDLItemIndex == 4) {
        const QString path = getTemplateDPFE();
        if (path.size() > 260 || PathChecks().CheckPath(UIT(txt::DefaultTemplateFile_817), path)) {
            setDefaultTFOther(QString());
        }
    }
    setDefaultOFFolderDDLItemIndex(OFFolderDDLItemIndex);
    if (OFFolderDDLItemIndex == 3) {
        const QString folder = getDefaultOFFolder();
        if (folder.size() > 248 ||
            PathChecks().CheckFolderPath(UIT(txt::DefaultOutputFileFolder_819), folder)) {
            setDefaultOFFolderOther(QString());
        }
    }
}

void TovUP::Save() {
    try {
        TRegBatch batch;
        for (const Option option : kSaveOrder) {
            if (Unread.contains(option)) {
                continue; // what the registry holds could not be read: it is not overwritten
            }
            const QString value = name(option);
            if (option < BoolCount) {
                RegWriteBool(HKEY_CURRENT_USER, RegKey, value, Bools[option]);
                continue;
            }
            switch (option) {
            case DefaultTFDDLItemIndex:
                RegWriteInteger(HKEY_CURRENT_USER, RegKey, value, TFDDLItemIndex);
                break;
            case DefaultTFOther:
                RegWriteString(HKEY_CURRENT_USER, RegKey, value, TFOther.trimmed());
                break;
            case DefaultOFFolderDDLItemIndex:
                RegWriteInteger(HKEY_CURRENT_USER, RegKey, value, OFFolderDDLItemIndex);
                break;
            case DefaultOFFolderOther:
                RegWriteString(HKEY_CURRENT_USER, RegKey, value, OFFolderOther.trimmed());
                break;
            case DefaultXLExtn:
                RegWriteString(HKEY_CURRENT_USER, RegKey, value, XLExtnToText(XLExtn));
                break;
            case HintHidePause:
                RegWriteInteger(HKEY_CURRENT_USER, RegKey, value, HintHidePauseMs);
                break;
            case HintPause:
                RegWriteInteger(HKEY_CURRENT_USER, RegKey, value, HintPauseMs);
                break;
            case ImportTaskFldValueCount:
                RegWriteInteger(HKEY_CURRENT_USER, RegKey, value, TaskFldValueCount);
                break;
            default:
                break;
            }
        }
        batch.commit();
    } catch (const platform::Exception& e) {
        ShowRegistryWriteError(e.message());
    }
}

void TovUP::ResetAutoSize() {
    for (const Option option :
         {AutoSizeBrowseFile, AutoSizeBrowseFld, AutoSizeBrowseVal, AutoSizeBrowseWS,
          AutoSizeCfgErr, AutoSizeDFVErr, AutoSizeSummary}) {
        setBool(option, true);
    }
}

void TovUP::ResetAutoAlign() {
    setAutoAlignBrowseFld(true);
    setAutoAlignBrowseVal(true);
    setAutoAlignBrowseWS(true);
}

QString TovUP::getTemplateDPFE() {
    switch (TFDDLItemIndex) {
    case 0:
        return {};
    case 2:
        return TemplateXLS;
    case 3:
        return TemplateXLSX;
    case 4:
        return TFOther.trimmed();
    default:
        setDefaultTFDDLItemIndex(1);
        return ExcelDefaultExtension().trimmed().compare(QLatin1String("xls"),
                                                         Qt::CaseInsensitive) == 0
                   ? TemplateXLS
                   : TemplateXLSX;
    }
}

QString TovUP::getDefaultOFFolder() {
    switch (OFFolderDDLItemIndex) {
    case 0:
        return {};
    case 1:
        return DesktopFolder();
    case 3:
        return OFFolderOther.trimmed();
    default:
        setDefaultOFFolderDDLItemIndex(2);
        return DocumentsFolder();
    }
}

QString TovUP::getOFExtn() const {
    switch (XLExtn) {
    case 1:
        return QStringLiteral(".xls");
    case 2:
        return QStringLiteral(".xlsx");
    default:
        return QLatin1Char('.') + ExcelDefaultExtension().trimmed();
    }
}

bool TovUP::RegisterFileTypes() {
    try {
        const QString program = QCoreApplication::instance() != nullptr
                                    ? QCoreApplication::applicationFilePath()
                                    : QString();
        RegisterDataFileTypes(program);
        return true;
    } catch (const platform::Exception& e) {
        if (IStdDlg* dlg = StdDlg()) {
            dlg->MsgLines.clear();
            dlg->MsgLines << UIT(txt::UnableToAccessWindowsRegistry) << QString()
                          << UIT(txt::AdministratorRightsMayBeRequired) << QString();
            if (!e.message().isEmpty()) {
                dlg->MsgLines << platform::Format(UIT(txt::Details_1423), {e.message()});
            }
            TStdDlgButton close;
            close.ImageIndex = glyphClose;
            close.ModalResult = mrClose;
            close.Caption = UIT(txt::Close_357);
            close.Hint = UIT(txt::CloseDialogue_1261);
            dlg->SetupStdDlgButtons1(sdkWarning, QStringLiteral("UP001"), close);
            dlg->ShowModal();
        }
        return false;
    }
}
