// The Process command and the jump from a configuration error to its field.
#include "forms/main/MainController.h"

#include "model/ovDF.h"
#include "model/ovSD.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

namespace {

// The tab caption text numbers of the configuration errors, in page order.
constexpr int kTabCaptionIds[TabCount] = {76, 94, 119, 159, 168};

} // namespace

void TMainController::XferData() {
    View.HideBalloon();
    View.FocusPages();
    if (CurrentPageIndex == tabDSF && Tabs[tabDSF] != nullptr) {
        Tabs[tabDSF]->PrepareProcess();
    }
    StoreTab(CurrentPageIndex);
    const int active = SDs != nullptr ? SDs->getActiveSD() : 0;
    if (active == 0) {
        return;
    }
    TovSD* sd = SDs->getItems(active);
    if (UP != nullptr && UP->getPromptOnProcess()) {
        IStdDlg* dlg = StdDlg();
        if (dlg == nullptr) {
            return;
        }
        dlg->MsgLines = {UIT(txt::DoYouWishToProcess), QString(), sd->getDescription()};
        TStdDlgButton hidden;
        hidden.Visible = false;
        dlg->SetupStdDlgButtons3CB(
            sdkQuestion, QStringLiteral("MF023"),
            {glyphNo, mrNo, UIT(txt::No), UIT(txt::DoNotProcessSelectedKRV)},
            {glyphYes, mrYes, UIT(txt::Yes), UIT(txt::ProcessSelectedKRVDefinition_1170)}, hidden,
            UIT(txt::ProcessSelectedKRVDefinitionWithout));
        const int answer = dlg->ShowModal();
        // The "without prompting" choice is kept whatever the answer.
        UP->setPromptOnProcess(!dlg->getChecked());
        UP->Save();
        // Only Yes goes on: Esc and the close box answer No.
        if (answer != mrYes) {
            return;
        }
    }
    IProcessServices* services = Dialogs.Process;
    if (services == nullptr) {
        return;
    }
    if (services->ValidateDefinition() > 0) {
        if (Dialogs.CfgErr != nullptr) {
            Dialogs.CfgErr->RefreshList();
            Dialogs.CfgErr->ShowModal();
        }
        LoadTab(CurrentPageIndex);
        RefreshTab(CurrentPageIndex);
        UpdateDataFileStatus();
        return;
    }
    if (services->WarnExcelMissing()) {
        return;
    }
    if (services->WarnPackMissing(UIT(txt::DataSourceFile_747),
                                  sd->SCF->getDSF_DrivePathFilenameExtnXL()) ||
        services->WarnPackMissing(UIT(txt::TemplateFile_752),
                                  sd->SCF->getTF_DrivePathFilenameExtnXL())) {
        return;
    }
    // Whatever the run does, the window comes back enabled, accepting drops, with the focus on
    // the page control.
    struct TRestore {
        IMainView& View;
        ~TRestore() {
            View.SetWindowEnabled(true);
            View.FocusPages();
        }
    };
    TRestore restore{View};
    {
        TBusyScope busy(*this);
        View.SetWindowEnabled(false);
        if (services->Run(active) && Dialogs.Summary != nullptr) {
            Dialogs.Summary->ShowModal();
        }
    }
}

void TMainController::CutOffDateMoved() {
    // The run wrote the moved date into the definition: a tab showing it (Home or S Curve
    // Options) reloads and the status bar shows the data file modified.
    if (CurrentPageIndex == tabPD || CurrentPageIndex == tabSCO) {
        LoadTab(CurrentPageIndex);
        RefreshTab(CurrentPageIndex);
    }
    UpdateDataFileStatus();
}

void TMainController::GoToCfgErr(int n) {
    IProcessServices* services = Dialogs.Process;
    if (n == 0 || services == nullptr) {
        return;
    }
    const int tabId = services->getCfgErrTabID(n);
    const int fieldId = services->getCfgErrFldID(n);
    const int rowId = services->getCfgErrRowID(n);
    int index = -1;
    for (int i = 0; i < TabCount; ++i) {
        if (kTabCaptionIds[i] == tabId) {
            index = i;
        }
    }
    if (index >= 0) {
        GoToTabField(index, fieldId, rowId);
    }
}

void TMainController::GoToTabField(int index, int fieldId, int rowId) {
    StoreTab(CurrentPageIndex);
    CurrentPageIndex = index;
    View.ShowPage(index);
    LoadTab(index);
    RefreshTab(index);
    if (Tabs[static_cast<size_t>(index)] != nullptr) {
        Tabs[static_cast<size_t>(index)]->GoToField(fieldId, rowId);
    }
}
