#include "forms/dialogs/OptionsModel.h"

#include "excel/ovOCP.h"
#include "model/FileDialogs.h"
#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/PathUtils.h"
#include "services/ShellUtils.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("Ovik KRV Tessel");
const QString kCRLF = QStringLiteral("\r\n");
// Characters a path edit refuses ("/" separates folders here, so it is allowed).
const QString kRefusedPathChars = QStringLiteral("\"*<>?|");
const QString kRefusedPathCharsShown = QStringLiteral("* ? \" < > |");

QString F(int id, std::initializer_list<platform::FormatArg> args) {
    return platform::Format(UIT(id), args);
}

TStdDlgButton button(int caption, int result, int glyph, const QString& hint) {
    TStdDlgButton b;
    b.Caption = UIT(caption);
    b.ModalResult = result;
    b.ImageIndex = glyph;
    b.Hint = hint;
    return b;
}

// A Yes/No question; true unless the answer is No.
bool ask(const QString& key, const QStringList& lines, const QString& yesHint,
         const QString& noHint) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return true;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons2(sdkQuestion, key, button(txt::No, mrNo, glyphNo, noHint),
                             button(txt::Yes, mrYes, glyphYes, yesHint));
    return dlg->ShowModal() != mrNo;
}

void tell(int kind, const QString& key, const QStringList& lines, int closeHint) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons1(kind, key,
                             button(txt::Close_357, mrClose, glyphClose, UIT(closeHint)));
    dlg->ShowModal();
}

QStringList numbers(int first, int last, int step) {
    QStringList items;
    for (int value = first; value <= last; value += step) {
        items << QString::number(value);
    }
    return items;
}

// The item whose number equals value, else the fallback item.
int itemOfValue(const QStringList& items, int value, int fallback) {
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].toInt() == value) {
            return i;
        }
    }
    return fallback;
}

int valueOfItem(const QStringList& items, int item) {
    return item >= 0 && item < items.size() ? items[item].toInt() : 0;
}

} // namespace

QStringList TOptionsModel::HintPauseItems() {
    return numbers(0, 2000, 100);
}

QStringList TOptionsModel::HintHidePauseItems() {
    return numbers(1000, 5000, 250);
}

QStringList TOptionsModel::XLExtnItems() {
    return {UIT(txt::Auto), QStringLiteral(".xls"), QStringLiteral(".xlsx")};
}

QStringList TOptionsModel::ImportCountItems() {
    return numbers(0, 5, 1);
}

QStringList TOptionsModel::TFItems() {
    return {UIT(txt::None), UIT(txt::Auto_298), UIT(txt::DefaultXlsMSExcel97),
            UIT(txt::DefaultXlsxMSExcel2007), UIT(txt::Other)};
}

QStringList TOptionsModel::OFFolderItems() {
    return {UIT(txt::None_306), UIT(txt::Desktop), UIT(txt::MyDocuments), UIT(txt::Other_309)};
}

TOptionsModel::TOptionsModel(TCollaborators collaborators) : With(std::move(collaborators)) {}

void TOptionsModel::SnapshotPreferences() {
    if (With.Preferences != nullptr) {
        Snapshot = *With.Preferences;
    }
    LoadPending = true;
}

void TOptionsModel::Activate() {
    if (!LoadPending) {
        return;
    }
    LoadPending = false;
    LoadControls();
    UpdateControls();
}

QString TOptionsModel::TemplateOfItem(int item) const {
    TovUP* up = With.Preferences;
    switch (item) {
    case 1:
        return TovUP::ExcelDefaultExtension().compare(QStringLiteral("xls"), Qt::CaseInsensitive) ==
                       0
                   ? up->getTemplateXLS()
                   : up->getTemplateXLSX();
    case 2:
        return up->getTemplateXLS();
    case 3:
        return up->getTemplateXLSX();
    case 4:
        return up->getTemplateDPFE();
    default:
        return {};
    }
}

QString TOptionsModel::FolderOfItem(int item) const {
    switch (item) {
    case 1:
        return DesktopFolder();
    case 2:
        return DocumentsFolder();
    case 3:
        return With.Preferences->getDefaultOFFolder();
    default:
        return {};
    }
}

void TOptionsModel::LoadControls() {
    TovUP* up = With.Preferences;
    if (up == nullptr) {
        return;
    }
    Loading = true;
    TOptionsControls& c = Controls;
    c.HintPauseItem = itemOfValue(HintPauseItems(), up->getHintPause(), 5);
    c.HintHidePauseItem = itemOfValue(HintHidePauseItems(), up->getHintHidePause(), 6);
    c.XLExtnItem = up->getDefaultXLExtn();
    const int count = up->getImportTaskFldValueCount();
    c.ImportCountItem = count >= 0 && count < ImportCountItems().size() ? count : 0;
    c.TFItem = up->getDefaultTFDDLItemIndex();
    c.TFText = TemplateOfItem(c.TFItem);
    c.OFFolderItem = up->getDefaultOFFolderDDLItemIndex();
    c.OFFolderText = FolderOfItem(c.OFFolderItem);
    c.ShowToolBarCaptions = up->getShowToolBarCaptions();
    c.PromptOnProcess = up->getPromptOnProcess();
    c.PurgeMRU = up->getPurgeMRU();
    c.BackupDF = up->getBackupDF();
    c.IncBackup = up->getIncBackup();
    c.PromptOnCreateOFFolder = up->getPromptOnCreateOFFolder();
    c.PromptOnOverwriteOF = up->getPromptOnOverwriteOF();
    Loading = false;
}

void TOptionsModel::UpdateControls() {
    if (Loading) {
        return;
    }
    States.IncBackupEnabled = Controls.BackupDF;
    const bool tfOther = Controls.TFItem == kTFOther;
    States.TFWritable = tfOther;
    States.TFBrowseEnabled = tfOther;
    States.TFOpenEnabled = !Controls.TFText.trimmed().isEmpty();
    const bool ofOther = Controls.OFFolderItem == kOFFolderOther;
    States.OFFolderWritable = ofOther;
    States.OFFolderBrowseEnabled = ofOther;
    ValidateControls();
}

void TOptionsModel::ValidateControls() {
    States.TFError = false;
    States.TFHint.clear();
    States.OFFolderError = false;
    States.OFFolderHint.clear();
    TovDV* dv = With.Validator;
    if (dv == nullptr) {
        return;
    }
    const QString path = Controls.TFText.trimmed();
    if (Controls.TFItem == kTFOther) {
        const QString caption = UIT(txt::DefaultTemplateFile_817);
        States.TFError = dv->CheckPath(caption, path) || dv->CheckExcelFileExt(caption, path);
        if (States.TFError) {
            States.TFHint = dv->getHintText();
        }
    }
    States.TFOpenEnabled = !path.isEmpty();
    if (Controls.OFFolderItem == kOFFolderOther) {
        States.OFFolderError = dv->CheckFolderPath(UIT(txt::DefaultOutputFileFolder_819),
                                                   Controls.OFFolderText.trimmed());
        if (States.OFFolderError) {
            States.OFFolderHint = dv->getHintText();
        }
    }
}

void TOptionsModel::setCheck(bool TOptionsControls::*box, bool value) {
    Controls.*box = value;
    if (box == &TOptionsControls::BackupDF) {
        UpdateControls();
    }
}

void TOptionsModel::setHintPauseItem(int item) {
    Controls.HintPauseItem = item;
    if (With.ApplyHintTiming) {
        With.ApplyHintTiming(valueOfItem(HintPauseItems(), item),
                             valueOfItem(HintHidePauseItems(), Controls.HintHidePauseItem));
    }
}

void TOptionsModel::setHintHidePauseItem(int item) {
    Controls.HintHidePauseItem = item;
    if (With.ApplyHintTiming) {
        With.ApplyHintTiming(valueOfItem(HintPauseItems(), Controls.HintPauseItem),
                             valueOfItem(HintHidePauseItems(), item));
    }
}

void TOptionsModel::setXLExtnItem(int item) {
    Controls.XLExtnItem = item;
}

void TOptionsModel::setImportCountItem(int item) {
    Controls.ImportCountItem = item;
}

void TOptionsModel::setTFItem(int item) {
    Controls.TFItem = item;
    Controls.TFText = TemplateOfItem(item);
    UpdateControls();
}

void TOptionsModel::setTFText(const QString& text) {
    Controls.TFText = text;
    UpdateControls();
}

void TOptionsModel::setOFFolderItem(int item) {
    Controls.OFFolderItem = item;
    Controls.OFFolderText = FolderOfItem(item);
    UpdateControls();
}

void TOptionsModel::setOFFolderText(const QString& text) {
    Controls.OFFolderText = text;
    UpdateControls();
}

std::optional<QString> TOptionsModel::RefusePathKey(QChar key, int textLength, int maxLength,
                                                    bool writable) const {
    if (!writable) {
        return std::nullopt;
    }
    const bool editingKey =
        key == QChar(8) || key == QChar(9) || key == QChar(13) || key == QChar(27);
    if (!editingKey && textLength >= maxLength) {
        return F(857, {maxLength});
    }
    if (kRefusedPathChars.contains(key)) {
        return UIT(txt::FollowingCharactersCannotBeUsed) + kCRLF + kRefusedPathCharsShown;
    }
    return std::nullopt;
}

bool TOptionsModel::Close() {
    UpdateControls();
    const bool tf = Controls.TFItem == kTFOther && States.TFError;
    const bool of = Controls.OFFolderItem == kOFFolderOther && States.OFFolderError;
    if (tf || of) {
        QStringList lines;
        if (tf && of) {
            lines << UIT(txt::PleaseCorrectFollowingErrors) << QString()
                  << QStringLiteral("[1] ") + States.TFHint << QString()
                  << QStringLiteral("[2] ") + States.OFFolderHint;
        } else {
            lines << UIT(txt::PleaseCorrectFollowingError) << QString()
                  << (tf ? States.TFHint : States.OFFolderHint);
        }
        lines << QString() << UIT(txt::UnableToSaveOptions);
        const QString key = tf && of ? QStringLiteral("OF010")
                            : tf     ? QStringLiteral("OF008")
                                     : QStringLiteral("OF009");
        tell(sdkWarning, key, lines, tf && of ? 1190 : tf ? 1188 : 1189);
        return false;
    }
    StoreControls();
    EndShowing();
    return true;
}

void TOptionsModel::StoreControls() {
    TovUP* up = With.Preferences;
    if (up == nullptr) {
        return;
    }
    const TOptionsControls& c = Controls;
    up->setShowToolBarCaptions(c.ShowToolBarCaptions);
    up->setPromptOnProcess(c.PromptOnProcess);
    up->setHintPause(valueOfItem(HintPauseItems(), c.HintPauseItem));
    up->setHintHidePause(valueOfItem(HintHidePauseItems(), c.HintHidePauseItem));
    up->setDefaultXLExtn(c.XLExtnItem);
    up->setPurgeMRU(c.PurgeMRU);
    up->setBackupDF(c.BackupDF);
    up->setIncBackup(c.IncBackup);
    up->setImportTaskFldValueCount(valueOfItem(ImportCountItems(), c.ImportCountItem));
    up->setDefaultTFDDLItemIndex(c.TFItem);
    up->setDefaultTFOther(c.TFText.trimmed());
    up->setDefaultOFFolderDDLItemIndex(c.OFFolderItem);
    up->setDefaultOFFolderOther(c.OFFolderText.trimmed());
    up->setPromptOnCreateOFFolder(c.PromptOnCreateOFFolder);
    up->setPromptOnOverwriteOF(c.PromptOnOverwriteOF);
    up->Save();
}

void TOptionsModel::Cancel() {
    if (Snapshot && With.Preferences != nullptr) {
        *With.Preferences = *Snapshot;
        if (With.ApplyHintTiming) {
            With.ApplyHintTiming(Snapshot->getHintPause(), Snapshot->getHintHidePause());
        }
    }
    EndShowing();
}

void TOptionsModel::EndShowing() {
    Snapshot.reset();
    LoadPending = false;
}

void TOptionsModel::Reset() {
    if (!ask(QStringLiteral("OF006"), {UIT(txt::DoYouWishToResetOptionsToTheirDefault)},
             UIT(txt::ResetOptionsToTheirDefault), UIT(txt::DoNotResetOptions))) {
        return;
    }
    if (With.Preferences != nullptr) {
        With.Preferences->SetDefaults();
    }
    LoadControls();
    UpdateControls();
    if (With.ShowControls) {
        With.ShowControls();
    }
    tell(sdkInformation, QStringLiteral("OF007"), {UIT(txt::OptionsHaveBeenReset)}, 1187);
}

void TOptionsModel::ResetSizePosition() {
    if (!ask(QStringLiteral("OF001"), {UIT(txt::DoYouWishToResetFormSizesAndPositions)},
             UIT(txt::ResetFormSizesAndPositionsToTheirDefaultValues_1176),
             UIT(txt::DoNotResetFormSizes))) {
        return;
    }
    if (With.Windows != nullptr) {
        With.Windows->ResetWindowGeometries();
    }
    // The command takes effect at once: the reset switches are saved with the preferences as
    // they were stored, not with edits of this window that Close has not stored yet, and Cancel
    // keeps them.
    if (With.Preferences != nullptr) {
        With.Preferences->ResetAutoSize();
        With.Preferences->ResetAutoAlign();
        TovUP stored = Snapshot ? *Snapshot : *With.Preferences;
        stored.ResetAutoSize();
        stored.ResetAutoAlign();
        stored.Save();
        if (Snapshot) {
            Snapshot = stored;
        }
    }
    if (With.Windows != nullptr) {
        With.Windows->CentreFixedWindows();
    }
    tell(sdkInformation, QStringLiteral("OF002"), {UIT(txt::AllFormSizesAndPositions)}, 1178);
}

std::pair<QString, QString> TOptionsModel::ProgramPathAndName() const {
    // The program that runs, which the association names; the program folder of the application
    // data is its data folder, where no program lies.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return {program.absolutePath() + QLatin1Char('/'), program.fileName()};
}

void TOptionsModel::ReAssociate() {
    const auto [p, n] = ProgramPathAndName();
    if (!ask(
            QStringLiteral("OF003"), {UIT(txt::DoYouWishToReassociate), QString(), F(1364, {p, n})},
            UIT(txt::ReassociateDataFileAndBackupDataFileExtensions_1179) + kCRLF + F(1180, {p, n}),
            UIT(txt::DoNotChangeCurrentData) + kCRLF +
                UIT(txt::BackupDataFileExtensionAssociations))) {
        return;
    }
    if (With.Preferences != nullptr && With.Preferences->RegisterFileTypes()) {
        tell(sdkInformation, QStringLiteral("OF004"),
             {UIT(txt::DataFileAndBackupData), QString(), F(1366, {p, n})}, 1183);
    } else {
        tell(sdkWarning, QStringLiteral("OF005"),
             {UIT(txt::UnableToReassociateDataFile), QString(), F(1366, {p, n})}, 1184);
    }
}

void TOptionsModel::BrowseTemplate() {
    const QString path = Controls.TFText.trimmed();
    const QString folder = ExtractFilePath(path);
    TFileDialogSetup setup;
    setup.Title = QLatin1Char(' ') + UIT(txt::SelectMSExcelDefaultTemplate) + QLatin1Char(' ');
    setup.FileTypes = {{F(1332, {QStringLiteral("xls"), QStringLiteral("xlsx")}),
                        F(1333, {QStringLiteral("xls"), QStringLiteral("xlsx")})}};
    setup.FileMustExist = true;
    setup.OkButtonLabel = UIT(txt::Select);
    setup.DefaultFolder =
        FolderExists(UIT(txt::DefaultTemplateFileFolder), folder) ? folder : DialogFallbackFolder();
    setup.FileName = FileExistsChecked(UIT(txt::DefaultTemplateFile_817), path) ? path : QString();
    QString chosen;
    if (With.FileDialogs == nullptr || !With.FileDialogs->ExecuteOpen(setup, chosen)) {
        return;
    }
    chosen = chosen.trimmed();
    if (chosen.compare(path, Qt::CaseInsensitive) != 0) {
        if (With.Validator != nullptr &&
            With.Validator->CheckExcelFileDlg(UIT(txt::DefaultTemplateFile_817), chosen)) {
            return;
        }
        setTFText(chosen);
    }
}

void TOptionsModel::OpenTemplate() {
    const QString path = Controls.TFText.trimmed();
    const QString caption = UIT(txt::DefaultTemplateFile_817);
    TovDV* dv = With.Validator;
    if (dv != nullptr &&
        (dv->CheckPathDlg(caption, path) || dv->CheckFileExistsDlg(caption, path))) {
        return;
    }
    if (OCP != nullptr && OCP->WarnPackMissing(caption, path)) {
        return;
    }
    RunDocument(path, QString(), QString(), SW_SHOWDEFAULT, caption);
}

void TOptionsModel::BrowseOutputFolder() {
    const QString folder = BrowseForFolder(UIT(txt::PleaseSelectDefaultOutputFile));
    if (!folder.isEmpty()) {
        setOFFolderText(folder);
    }
}
