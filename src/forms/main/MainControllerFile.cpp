// The main window's life steps and its file, tools, help and recent file commands.
#include "forms/main/MainController.h"

#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/ShellUtils.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

using platform::Format;

namespace {

const QString kTitle = QStringLiteral("Ovik KRV Tessel");

void ReportInformation(const QString& key, const QStringList& lines, int hintId) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons1(sdkInformation, key,
                             {glyphClose, mrClose, UIT(txt::Close_357), UIT(hintId)});
    dlg->ShowModal();
}

// The hand-over window over the controller: the handed-over paths open through the same steps as
// a second start's, with the same Busy as the main window raises for one; the window is in front
// already.
class TControllerHandOver : public IHandOverWindow {
public:
    explicit TControllerHandOver(TMainController& controller) : Controller(controller) {}
    bool IsBusy() const override { return Controller.getBusy(); }
    void SetBusy(bool busy) override { Controller.setHandOverBusy(busy); }
    bool IsOtherFormActive() override { return false; }
    void RestoreFromMinimised() override {}
    void BringToFront() override {}
    bool ChooseHandedOverFile(QString& path) override {
        return Controller.ChooseHandedOverFile(path);
    }
    void StoreCurrentTab() override { Controller.StoreCurrentTab(); }
    void ShowOpenedDataFile() override { Controller.AfterOpen(); }

private:
    TMainController& Controller;
};

} // namespace

// ---- Window lifetime ----

void TMainController::Create() {
    TBusyScope busy(*this, false);
    CurrentPageIndex = tabPD;
    View.ShowPage(CurrentPageIndex);
    View.ShowDefinitions({}, -1);
    if (DF != nullptr && !DF->getCmdLinePending()) {
        FileNew();
    }
    ClearTabs();
    ShowActiveDefinition();
    UpdateDataFileStatus();
}

void TMainController::Activate() {
    TBusyScope busy(*this);
    // The tabs take the focus when the window first comes up; a later activation (the user
    // coming back from another window) keeps the control that had it.
    const bool first = !Activated;
    Activated = true;
    if (first) {
        View.FocusPages();
    }
    bool wasMaximised = false;
    if (DF != nullptr && DF->getCmdLinePending()) {
        wasMaximised = View.IsMaximised();
        if (wasMaximised) {
            View.SetMaximised(false);
        }
        OpenCommandLineFiles();
        if (DF->getNoFile()) {
            FileNew();
        }
    }
    if (wasMaximised) {
        View.SetMaximised(true);
    }
    UpdateDataFileStatus();
    if (first) {
        View.FocusPages();
    }
}

bool TMainController::CloseQuery() {
    // The tab on screen holds the user's latest edits: they go into the definition before the
    // question to save, however the window is closed.
    StoreTab(CurrentPageIndex);
    return DF == nullptr || DF->Close();
}

// ---- Opening ----

template <typename Open> void TMainController::OpenWith(Open&& open) {
    TBusyScope busy(*this);
    StoreTab(CurrentPageIndex);
    if (DF == nullptr || !open()) {
        return;
    }
    AfterOpen();
}

void TMainController::AfterOpen() {
    FillDefinitionList();
    UpdateDefinitionButtons();
    if (DV != nullptr && DV->getDFVErrCount() > 0 && Dialogs.DFVErr != nullptr) {
        Dialogs.DFVErr->RefreshList();
        Dialogs.DFVErr->ShowModal();
    }
    ClearTabs();
    ShowActiveDefinition();
    UpdateDataFileStatus();
    View.FocusPages();
}

void TMainController::FileOpen() {
    View.HideBalloon();
    OpenWith([] { return DF->Open(); });
}

void TMainController::FileOpenSample() {
    View.HideBalloon();
    View.FocusPages();
    OpenWith([] { return DF->OpenSample(); });
}

void TMainController::FileOpenMRU(int n) {
    View.HideBalloon();
    if (MRUs == nullptr || n < 1 || n > MRUs->getCount()) {
        return;
    }
    const QString path = MRUs->getItems(n).getDPFE();
    if (DV != nullptr && (DV->CheckDataFileExtDlg(UIT(txt::DataFile_722), path) ||
                          DV->CheckDataFileExistsDlg(UIT(txt::DataFile_722), path))) {
        return;
    }
    OpenWith([&path] { return DF->OpenMRU(path); });
}

void TMainController::OpenCommandLineFiles() {
    OpenHandedOverPaths(CommandLine, TPathSource::CommandLine);
}

void TMainController::OpenHandedOverPaths(const QStringList& paths, TPathSource source) {
    if (DF == nullptr) {
        return;
    }
    TControllerHandOver window(*this);
    OpenHandedOverFiles(window, *DF, DV, paths, source);
}

bool TMainController::ChooseHandedOverFile(QString& path) {
    IBrowseFileWindow* browse = Dialogs.BrowseFile;
    if (browse == nullptr) {
        return false;
    }
    browse->Setup();
    if (browse->ShowModal() != mrOk) {
        return false;
    }
    path = browse->getDPFE();
    return !path.trimmed().isEmpty();
}

// ---- New, Save, Close, Exit ----

void TMainController::RunFileCommand(bool (TovDF::*command)(), bool replacesList) {
    View.HideBalloon();
    StoreTab(CurrentPageIndex);
    const bool done = DF != nullptr && (DF->*command)();
    if (!replacesList) {
        UpdateDataFileStatus();
    } else if (done) {
        ShowList();
        ClearTabs();
        ShowActiveDefinition();
        UpdateDataFileStatus();
    }
}

void TMainController::FileNew() {
    RunFileCommand(&TovDF::New, true);
}

void TMainController::FileSave() {
    RunFileCommand(&TovDF::Save, false);
}

void TMainController::FileSaveAs() {
    RunFileCommand(&TovDF::SaveAs, false);
}

void TMainController::FileClose() {
    RunFileCommand(&TovDF::Close, true);
}

void TMainController::FileExit() {
    View.HideBalloon();
    StoreTab(CurrentPageIndex);
    View.RequestClose();
}

// ---- Tools and Help ----

void TMainController::Options() {
    View.HideBalloon();
    if (Dialogs.Options == nullptr || Dialogs.Options->ShowModal() != mrOk) {
        return;
    }
    View.ApplyPreferences();
    for (int i = 1; SDs != nullptr && i <= SDs->getCount(); ++i) {
        SDs->getItems(i)->ResetFL();
    }
    RefreshTab(CurrentPageIndex);
}

void TMainController::About() {
    View.HideBalloon();
    TBusyScope busy(*this);
    if (Dialogs.About != nullptr) {
        Dialogs.About->ShowModal();
    }
}

void TMainController::ShowHintsChanged(bool down) {
    if (UP != nullptr) {
        UP->setShowHints(down);
        UP->Save();
    }
    View.ApplyPreferences();
}

void TMainController::ShowHelp(THelpDocument document) {
    View.HideBalloon();
    struct THelpEntry {
        int Label;
        QString Key;
        int FirstLine;
        int GoneLine;
        int LastLine;
        int Hint;
    };
    static const THelpEntry kEntries[] = {
        {726, QStringLiteral("MF013"), 1525, 1526, 1527, 1172},
        {727, QStringLiteral("MF024"), 1528, 1529, 1530, 1173},
        {728, QStringLiteral("MF025"), 1531, 1532, 1533, 1174},
    };
    const THelpEntry& entry = kEntries[static_cast<int>(document)];
    QString path;
    if (AD != nullptr) {
        path = document == THelpDocument::Tutorial     ? AD->getTutorialDPFE()
               : document == THelpDocument::UserManual ? AD->getUserManualDPFE()
                                                       : AD->getWhitePaperDPFE();
    }
    if (FileExistsChecked(UIT(entry.Label), path)) {
        RunDocument(path, QString(), QString(), SW_SHOWDEFAULT, UIT(entry.Label));
        return;
    }
    IStdDlg* dlg = StdDlg();
    if (dlg != nullptr) {
        dlg->MsgLines = {Format(UIT(entry.FirstLine), {kTitle}),
                         QString(),
                         path,
                         QString(),
                         UIT(entry.GoneLine),
                         QString(),
                         Format(UIT(entry.LastLine), {kTitle})};
        dlg->SetupStdDlgButtons1(sdkWarning, entry.Key,
                                 {glyphClose, mrClose, UIT(txt::Close_357), UIT(entry.Hint)});
        dlg->ShowModal();
    }
    View.FocusPages();
}

// ---- Recent files ----

void TMainController::PurgeMRU() {
    View.HideBalloon();
    if (MRUs == nullptr ||
        !AskYesNo(QStringLiteral("MF001"),
                  {UIT(txt::DoYouWishToPurge), QString(), UIT(txt::AllInvalidMostRecentlyUsed)},
                  1149, 1150)) {
        return;
    }
    const int n = MRUs->Purge();
    MRUs->Save();
    MRUs->RefreshMenu();
    const QString key = n == 0   ? QStringLiteral("MF002")
                        : n == 1 ? QStringLiteral("MF003")
                                 : QStringLiteral("MF004");
    const QString line = n == 0   ? UIT(txt::NoEntriesWerePurged)
                         : n == 1 ? UIT(txt::OneEntryWasPurged)
                                  : Format(UIT(txt::EntriesWerePurgedFromMost), {n});
    QStringList lines = {line, QString()};
    lines << MRUs->getPurgeReport();
    ReportInformation(key, lines, 1151);
}

void TMainController::ResetMRU() {
    View.HideBalloon();
    if (MRUs == nullptr || !AskYesNo(QStringLiteral("MF005"),
                                     {UIT(txt::DoYouWishToResetMostRecentlyUsedData), QString(),
                                      UIT(txt::AllMostRecentlyUsedData)},
                                     1152, 1153)) {
        return;
    }
    int n = 0;
    for (int i = 1; i <= MRUs->getCount(); ++i) {
        if (!MRUs->getItems(i).IsEmpty()) {
            ++n;
        }
    }
    MRUs->Clear();
    MRUs->Save();
    MRUs->RefreshMenu();
    const QString key = n == 0   ? QStringLiteral("MF006")
                        : n == 1 ? QStringLiteral("MF007")
                                 : QStringLiteral("MF008");
    const QString line = n == 0   ? UIT(txt::NoEntriesInMostRecently)
                         : n == 1 ? UIT(txt::OneEntryInMostRecently)
                                  : Format(UIT(txt::EntriesInMostRecentlyUsed), {n});
    ReportInformation(key, {line}, 1154);
}
