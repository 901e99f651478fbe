#include "forms/tabs/Tab_SCF.h"

#include "engine/ovProcess.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/SlotGuard.h"
#include "forms/browse/F_BrowseWindows.h"
#include "model/ModelPrefs.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/ScopeGuard.h"
#include "services/FileChecks.h"
#include "services/PathUtils.h"
#include "services/ShellUtils.h"
#include "services/StdDlg.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QLineEdit>
#include <QPushButton>

void TTab_SCF::ConnectControls() {
    for (int i = 0; i < SCFBoxCount; ++i) {
        const auto box = static_cast<TSCFBox>(i);
        connect(BoxOf[box], &QLineEdit::textChanged, this,
                [this, box] { GuardSlot([&] { BoxChanged(box); }); });
    }
    for (int w = 0; w < SCFWorkbookCount; ++w) {
        const auto workbook = static_cast<TSCFWorkbook>(w);
        connect(BrowseOf[workbook], &QPushButton::clicked, this,
                [this, workbook] { GuardSlot([&] { BrowseWorkbook(workbook); }); });
        connect(OpenOf[workbook], &QPushButton::clicked, this,
                [this, workbook] { GuardSlot([&] { OpenWorkbook(workbook); }); });
    }
    for (int s = 0; s < SCFWorksheetCount; ++s) {
        const auto worksheet = static_cast<TSCFWorksheet>(s);
        connect(WorksheetBrowseOf[worksheet], &QPushButton::clicked, this,
                [this, worksheet] { GuardSlot([&] { BrowseWorksheet(worksheet); }); });
    }
    connect(BBtn_SCF_TF_DrivePathFileNameExtn_Default, &QPushButton::clicked, this,
            [this] { GuardSlot([this] { UseDefaultTemplate(); }); });
    connect(BBtn_SCF_OF_DrivePathFileNameExtn_Default, &QPushButton::clicked, this,
            [this] { GuardSlot([this] { UseDefaultOutput(); }); });
}

void TTab_SCF::SetBoxText(TSCFBox box, const QString& text) {
    if (BoxOf[box]->text() != text) {
        BoxOf[box]->setText(text);
    }
}

void TTab_SCF::FocusBox(TSCFBox box) {
    if (BoxOf[box]->isEnabled()) {
        BoxOf[box]->setFocus();
    }
}

void TTab_SCF::BoxChanged(TSCFBox box) {
    Host.Balloon().Hide();
    if (Loading) {
        return;
    }
    Edited[box] = true;
    const TSCFChangeEffect effect = scfmodel::ChangeEffect(box);
    if (TovSD* sd = ActiveSD()) {
        scfmodel::ResetCaches(*sd, effect);
    }
    if (effect.Refresh) {
        Refresh();
    }
    Host.DataFileChanged();
}

void TTab_SCF::BoxExited(TSCFBox box) {
    Host.Balloon().Hide();
    QLineEdit* edit = BoxOf[box];
    {
        // Setting the same text clears the box's undo buffer.
        const platform::ScopeExit loaded([this, wasLoading = Loading] { Loading = wasLoading; });
        Loading = true;
        const int cursor = edit->cursorPosition();
        edit->setText(edit->text());
        edit->setCursorPosition(cursor);
    }
    // Only what the user edited is repaired: a stored path stays as it was loaded.
    if (DV == nullptr || !Edited[box]) {
        return;
    }
    switch (box) {
    case sbDSF_Path:
        SetBoxText(box, scfmodel::RepairedInputPath(*DV, WorkbookRole(swDataSource).FieldCaption,
                                                    edit->text()));
        break;
    case sbTF_Path:
        SetBoxText(box, scfmodel::RepairedInputPath(*DV, WorkbookRole(swTemplate).FieldCaption,
                                                    edit->text()));
        SetBoxText(sbOF_Path,
                   scfmodel::OutputFollowingTemplate(*DV, BoxOf[sbOF_Path]->text(), edit->text()));
        break;
    case sbOF_Path:
        SetBoxText(box, scfmodel::RepairedOutputPath(*DV, edit->text(), BoxOf[sbTF_Path]->text()));
        break;
    default:
        break;
    }
}

void TTab_SCF::MoveFocus(TSCFBox from, bool backwards) {
    Host.Balloon().Hide();
    const TSCFBox to = scfmodel::NeighbourBox(from, backwards);
    if (to != from) {
        BoxOf[to]->setFocus();
    }
}

void TTab_SCF::BrowseWorkbook(TSCFWorkbook workbook) {
    Host.Balloon().Hide();
    Host.FocusPages();
    const TSCFWorkbookRole& role = WorkbookRole(workbook);
    const QString path = BoxOf[role.PathBox]->text().trimmed();
    const QString caption = UIT(role.FieldCaption);
    const TSCFFolders folders = scfmodel::CurrentSCFFolders(
        AD != nullptr ? AD->getExePath() : QString(), ModelPrefs()->getDefaultOFFolder());
    const bool folderExists =
        FolderExists(UIT(role.FolderCaption), ExtractFilePath(path).trimmed());
    const bool fileExists = !path.isEmpty() && FileExistsChecked(caption, path);
    const TFileDialogSetup setup =
        scfmodel::BrowseSetup(workbook, path, folders, folderExists, fileExists);
    QString chosen;
    if (FileDialogs != nullptr && DV != nullptr && FileDialogs->ExecuteOpen(setup, chosen)) {
        chosen = scfmodel::ChosenWithExtension(workbook, chosen, BoxOf[sbTF_Path]->text(), *DV);
        if (DV->CheckExcelFileDlg(caption, chosen)) {
            return;
        }
        // The same file chosen again changes nothing and keeps the lists read from it.
        if (!scfmodel::SameFile(chosen, path)) {
            SetBoxText(role.PathBox, chosen);
            if (workbook == swTemplate) {
                SetBoxText(sbOF_Path, scfmodel::OutputFollowingTemplate(
                                          *DV, BoxOf[sbOF_Path]->text(), chosen));
            }
        }
    }
    FocusBox(role.PathBox);
}

void TTab_SCF::BrowseWorksheet(TSCFWorksheet worksheet) {
    Host.Balloon().Hide();
    Host.FocusPages();
    const TSCFWorksheetRole& role = WorksheetRole(worksheet);
    const TSCFWorkbookRole& book = WorkbookRole(role.Workbook);
    const QString path = BoxOf[book.PathBox]->text().trimmed();
    const QString password = BoxOf[book.PasswordBox]->text();
    const QString fileCaption = UIT(book.FieldCaption);
    const QString worksheetCaption = UIT(role.WorksheetCaption);
    TovSD* sd = ActiveSD();
    IBrowseWS* window = BrowseWS();
    if (sd == nullptr || DV == nullptr || window == nullptr) {
        return;
    }
    if (XL == nullptr || XL->WarnExcelMissing()) {
        return;
    }
    if (DV->CheckPathDlg(fileCaption, path) || DV->CheckFileExistsDlg(fileCaption, path)) {
        return;
    }
    if (OCP != nullptr && OCP->WarnPackMissing(fileCaption, path)) {
        return;
    }
    for (;;) {
        if (!sd->getWSL_Loaded(role.ListIndex)) {
            bool imported = false;
            {
                const ITabHost::TImportScope busy(Host);
                imported = Process != nullptr && Process->ImportWorksheetNames(
                                                     fileCaption, path, password, role.ListIndex);
            }
            if (!imported) {
                FocusBox(role.Box);
                return;
            }
        }
        QString chosen = BoxOf[role.Box]->text();
        const int result =
            window->Execute(*sd, fileCaption, worksheetCaption, role.ListIndex,
                            BrowseAnchorOf(BoxOf[role.Box], WorksheetBrowseOf[worksheet]), chosen);
        if (result == mrRetry) {
            sd->setWSL_Loaded(role.ListIndex, false); // the window's Refresh: read it again
            continue;
        }
        if (result == mrOk && !chosen.isEmpty()) {
            SetBoxText(role.Box, chosen);
        }
        FocusBox(role.Box);
        return;
    }
}

void TTab_SCF::OpenWorkbook(TSCFWorkbook workbook) {
    Host.Balloon().Hide();
    const TSCFWorkbookRole& role = WorkbookRole(workbook);
    FocusBox(role.PathBox);
    const QString path = BoxOf[role.PathBox]->text().trimmed();
    const QString caption = UIT(role.FieldCaption);
    if (DV != nullptr &&
        (DV->CheckPathDlg(caption, path) || DV->CheckFileExistsDlg(caption, path))) {
        return;
    }
    if (OCP != nullptr && OCP->WarnPackMissing(caption, path)) {
        return;
    }
    if (TovSD* sd = ActiveSD()) {
        scfmodel::ResetCaches(*sd, scfmodel::WorkbookCaches(workbook));
    }
    RunDocument(path, QString(), QString(), SW_SHOWDEFAULT, caption);
}

void TTab_SCF::UseDefaultTemplate() {
    Host.Balloon().Hide();
    SetBoxText(sbTF_Path, ModelPrefs()->getTemplateDPFE());
}

void TTab_SCF::UseDefaultOutput() {
    Host.Balloon().Hide();
    SetBoxText(sbOF_Path, scfmodel::DefaultOutput(BoxOf[sbOF_Path]->text(),
                                                  ModelPrefs()->getDefaultOFFolder()));
}
