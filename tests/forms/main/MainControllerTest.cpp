// The main window's commands driven without widgets: the tab protocol's call order, prompts,
// button enabling and status texts.
#include "MainTestFakes.h"

#include "forms/main/MainController.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ShellUtils.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "support/FakeDataFile.h"
#include "support/FakeShell.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace formstest {
namespace {

using testsupport::FakeStdDlg;

class MainControllerTest : public testing::Test {
protected:
    void SetUp() override {
        AD = new TovAD(dir.path() + QStringLiteral("/"));
        UP = new TovUP();
        SDs = new TovSDs();
        DV = new TovDV();
        DF = new TovDF();
        DF->setFileDialogs(&fileDialogs);
        DF->setRecentFiles(&recent);
        DF->setPreferences(&prefs);
        MRUs = new TovMRUs();
        for (int i = 0; i < TovMRUs::Capacity; ++i) {
            MRUs->Grow();
        }
        dialogs.Summary = &summary;
        dialogs.CfgErr = &cfgErr;
        dialogs.DFVErr = &dfvErr;
        dialogs.About = &about;
        dialogs.Options = &options;
        dialogs.AddRenameCopy = &arc;
        dialogs.BrowseFile = &browse;
        dialogs.Process = &process;
        controller = std::make_unique<TMainController>(view, dialogs);
        std::array<IMainTab*, TabCount> list{};
        for (int i = 0; i < TabCount; ++i) {
            tabs.push_back(std::make_unique<RecordingTab>(log, i));
            list[static_cast<size_t>(i)] = tabs.back().get();
        }
        controller->setTabs(list);
        controller->Create();
        log.clear();
    }
    void TearDown() override {
        controller.reset();
        delete MRUs;
        MRUs = nullptr;
        delete DF;
        DF = nullptr;
        delete DV;
        DV = nullptr;
        delete SDs;
        SDs = nullptr;
        delete UP;
        UP = nullptr;
        delete AD;
        AD = nullptr;
    }

    // Three definitions Alpha, Beta, Gamma; Alpha active; the log emptied.
    void ThreeDefinitions() {
        SDs->getItems(1)->setDescription(QStringLiteral("Alpha"));
        for (const char* name : {"Beta", "Gamma"}) {
            SDs->getItems(SDs->Add())->setDescription(QString::fromLatin1(name));
        }
        controller->FillDefinitionList();
        controller->UpdateDefinitionButtons();
        log.clear();
    }

    // The log entries of one kind ("Store", "Load", ...).
    QStringList Entries(const QString& kind) const {
        return log.filter(QRegularExpression(QStringLiteral("^") + kind + QStringLiteral("\\b")));
    }

    QTemporaryDir dir;
    testsupport::TempRegistry registry;
    FakeStdDlg dlg;
    testsupport::FakeFileDialogs fileDialogs;
    testsupport::FakeRecentFiles recent;
    testsupport::FakeDataFilePreferences prefs;
    TLog log;
    RecordingView view{log};
    ScriptedWindow summary{log, QStringLiteral("Summary")};
    ScriptedWindow cfgErr{log, QStringLiteral("CfgErr")};
    ScriptedWindow dfvErr{log, QStringLiteral("DFVErr")};
    ScriptedWindow about{log, QStringLiteral("About")};
    ScriptedWindow options{log, QStringLiteral("Options")};
    ScriptedAddRenameCopy arc;
    ScriptedBrowseFile browse{log};
    ScriptedProcess process{log};
    TMainDialogs dialogs;
    std::vector<std::unique_ptr<RecordingTab>> tabs;
    std::unique_ptr<TMainController> controller;
};

TEST_F(MainControllerTest, CreationStartsAnUntitledFileThatIsNotReadOnly) {
    EXPECT_EQ(view.items, QStringList({QStringLiteral(" Enter Description Here... ")}));
    EXPECT_EQ(view.row, 0);
    EXPECT_EQ(view.status.Text, QStringLiteral(" Untitled.krvc "));
    EXPECT_TRUE(view.status.SaveEnabled) << "Save of a file without a path goes to Save As";
    EXPECT_TRUE(view.status.SaveAsEnabled);
    EXPECT_TRUE(view.status.CloseEnabled);
    EXPECT_FALSE(view.status.Modified);
    EXPECT_TRUE(view.processEnabled);
    EXPECT_TRUE(tabs[0]->enabled);
    EXPECT_EQ(view.buttons, (TDefinitionButtons{true, true, true, true, false, false}));
    EXPECT_FALSE(view.dragAccept) << "drops are accepted from the first activation on";
    controller->Activate();
    EXPECT_TRUE(view.dragAccept);
    EXPECT_FALSE(controller->getBusy());
}

TEST_F(MainControllerTest, DefinitionButtonsFollowCountPositionAndLimit) {
    struct Case {
        int count;
        int active;
        TDefinitionButtons expected;
    };
    const Case cases[] = {
        {1, 1, {true, true, true, true, false, false}},
        {3, 1, {true, true, true, true, false, true}},
        {3, 2, {true, true, true, true, true, true}},
        {3, 3, {true, true, true, true, true, false}},
        {255, 10, {false, true, false, true, true, true}},
        {254, 254, {true, true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        while (SDs->getCount() < c.count) {
            SDs->Add();
        }
        while (SDs->getCount() > c.count) {
            SDs->Delete(SDs->getCount());
        }
        SDs->setActiveSD(c.active);
        controller->UpdateDefinitionButtons();
        EXPECT_EQ(view.buttons, c.expected) << c.count << " definitions, active " << c.active;
        EXPECT_TRUE(view.listEnabled);
    }
    SDs->Clear();
    controller->UpdateDefinitionButtons();
    EXPECT_EQ(view.buttons, (TDefinitionButtons{true, false, false, false, false, false}));
    EXPECT_FALSE(view.listEnabled);
    ASSERT_TRUE(DF->Close());
    controller->UpdateDefinitionButtons();
    EXPECT_FALSE(view.buttons.Add) << "no data file open";
}

TEST_F(MainControllerTest, ClickingAnotherEntryStoresIntoTheOldDefinitionThenLoadsTheNew) {
    ThreeDefinitions();
    controller->ListClicked(2);
    EXPECT_EQ(log, QStringList({QStringLiteral("Store 0 1:Alpha"), QStringLiteral("Load 0 3:Gamma"),
                                QStringLiteral("Refresh 0 3:Gamma")}));
    EXPECT_EQ(view.buttons, (TDefinitionButtons{true, true, true, true, true, false}));
    log.clear();
    controller->ListClicked(2);
    EXPECT_TRUE(log.isEmpty()) << "the selected entry neither stores nor reloads";
}

TEST_F(MainControllerTest, PageChangeStoresTheOldTabBeforeTheNewOneIsFilled) {
    controller->PageChanged(tabSCO);
    EXPECT_EQ(log, QStringList({QStringLiteral("Store 0 1:Enter Description Here..."),
                                QStringLiteral("Load 2 1:Enter Description Here..."),
                                QStringLiteral("Refresh 2 1:Enter Description Here...")}));
    EXPECT_EQ(controller->getCurrentPageIndex(), tabSCO);
}

TEST_F(MainControllerTest, AddStoresTheTabBeforeAppendingAndMarksTheFileModified) {
    ThreeDefinitions();
    arc.descriptions = {QStringLiteral("Delta")};
    controller->Add();
    ASSERT_EQ(arc.setups.size(), 1u);
    EXPECT_EQ(arc.setups[0].Caption, QStringLiteral(" Ovik KRV Tessel: Add KRV Definition "));
    EXPECT_EQ(arc.setups[0].Description, QStringLiteral("Enter Description Here..."));
    EXPECT_EQ(arc.setups[0].ActionCaption, QStringLiteral(" &Add "));
    EXPECT_EQ(arc.setups[0].ActionGlyph, 3);
    EXPECT_TRUE(AD->getAddSD() && !AD->getRenameSD() && !AD->getCopySD());
    EXPECT_EQ(Entries(QStringLiteral("Store")), QStringList({QStringLiteral("Store 0 1:Alpha")}));
    EXPECT_EQ(Entries(QStringLiteral("Load")), QStringList({QStringLiteral("Load 0 4:Delta")}));
    EXPECT_EQ(view.items.last(), QStringLiteral(" Delta "));
    EXPECT_EQ(view.row, 3);
    EXPECT_TRUE(view.status.Modified);
    EXPECT_TRUE(DF->getModified());

    log.clear();
    arc.descriptions = {QString()};
    controller->Add();
    EXPECT_TRUE(Entries(QStringLiteral("Store")).isEmpty()) << "Cancel changes nothing";
    EXPECT_EQ(SDs->getCount(), 4);
}

TEST_F(MainControllerTest, RenameRewritesTheEntryWithoutStoringOrReloading) {
    ThreeDefinitions();
    controller->ListClicked(1);
    log.clear();
    arc.descriptions = {QStringLiteral("Bravo")};
    controller->Rename();
    EXPECT_EQ(arc.setups.back().Description, QStringLiteral("Beta"));
    EXPECT_TRUE(AD->getRenameSD());
    EXPECT_EQ(view.items, QStringList({QStringLiteral(" Alpha "), QStringLiteral(" Bravo "),
                                       QStringLiteral(" Gamma ")}));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(view.status.Modified);
}

TEST_F(MainControllerTest, CopyProposesACutDescriptionAndStoresBeforeCopying) {
    SDs->getItems(1)->setDescription(QString(250, QLatin1Char('x')));
    controller->FillDefinitionList();
    log.clear();
    arc.descriptions = {QStringLiteral("Second")};
    controller->Copy();
    const QString proposed = arc.setups.back().Description;
    EXPECT_EQ(proposed.size(), 255);
    EXPECT_TRUE(proposed.startsWith(QStringLiteral("Copy of xxx")));
    EXPECT_EQ(arc.setups.back().ActionGlyph, 14);
    EXPECT_EQ(Entries(QStringLiteral("Store")).value(0).left(9), QStringLiteral("Store 0 1"));
    EXPECT_EQ(Entries(QStringLiteral("Load")), QStringList({QStringLiteral("Load 0 2:Second")}));
    EXPECT_EQ(SDs->getCount(), 2);
}

TEST_F(MainControllerTest, DeleteAsksAndOnlyYesDeletes) {
    ThreeDefinitions();
    controller->ListClicked(2);
    dlg.answers = {mrCancel}; // Esc or the close box
    controller->Delete();
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF010")}));
    EXPECT_EQ(dlg.shown[0].lines,
              QStringList({UIT(txt::AreYouSureYouWish), QString(), QStringLiteral("Gamma")}));
    EXPECT_EQ(SDs->getCount(), 3) << "Esc and the close box answer No";

    dlg.answers = {mrYes};
    controller->Delete();
    EXPECT_EQ(SDs->getCount(), 2);
    EXPECT_EQ(view.row, 1) << "deleting the last entry selects the new last one";
    EXPECT_EQ(ActiveDescription(), QStringLiteral("Beta"));

    for (int i = 0; i < 2; ++i) {
        dlg.answers = {mrYes};
        controller->Delete();
    }
    EXPECT_EQ(SDs->getCount(), 0);
    EXPECT_EQ(view.row, -1);
    EXPECT_FALSE(tabs[0]->enabled);
    EXPECT_FALSE(view.processEnabled);
    EXPECT_EQ(view.buttons, (TDefinitionButtons{true, false, false, false, false, false}));
}

TEST_F(MainControllerTest, MoveKeepsTheMovedDefinitionActiveWithoutReloading) {
    ThreeDefinitions();
    controller->MoveDown();
    EXPECT_EQ(view.items, QStringList({QStringLiteral(" Beta "), QStringLiteral(" Alpha "),
                                       QStringLiteral(" Gamma ")}));
    EXPECT_EQ(view.row, 1);
    EXPECT_EQ(ActiveDescription(), QStringLiteral("Alpha"));
    EXPECT_EQ(log, QStringList({QStringLiteral("Store 0 1:Alpha")}));
    controller->MoveUp();
    EXPECT_EQ(view.row, 0);
    EXPECT_EQ(ActiveDescription(), QStringLiteral("Alpha"));
}

TEST_F(MainControllerTest, AFailedChangeRefillsTheListSoTheNextStoreHitsTheShownDefinition) {
    ThreeDefinitions();
    controller->ListClicked(2);
    tabs[0]->throwOnLoad = 1;
    dlg.answers = {mrYes, mrClose};
    controller->Delete();
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF010"), QStringLiteral("MF011")}));
    EXPECT_EQ(dlg.shown[1].lines, QStringList({UIT(txt::UnableToDeleteSelectedKRV), QString(),
                                               QStringLiteral("Details: tab failed"), QString()}));
    EXPECT_EQ(view.items, QStringList({QStringLiteral(" Alpha "), QStringLiteral(" Beta ")}));
    EXPECT_EQ(view.row, SDs->getActiveSD() - 1);
    log.clear();
    controller->PageChanged(tabSCF);
    EXPECT_EQ(Entries(QStringLiteral("Store")).value(0), QStringLiteral("Store 0 2:Beta"));
}

TEST_F(MainControllerTest, ClosingStoresTheVisibleTabBeforeTheSaveQuestion) {
    DF->setModified(true);
    dlg.answers = {mrCancel};
    EXPECT_FALSE(controller->CloseQuery());
    ASSERT_EQ(dlg.keys(), QStringList({QStringLiteral("UDF022")}));
    EXPECT_EQ(Entries(QStringLiteral("Store")).size(), 1);
    EXPECT_FALSE(DF->getNoFile()) << "Cancel keeps the file open";
    dlg.answers = {mrNo};
    EXPECT_TRUE(controller->CloseQuery());
}

TEST_F(MainControllerTest, BusyIsACountThatOnlyTheLastScopeEnds) {
    {
        TMainController::TBusyScope outer(*controller);
        {
            TMainController::TBusyScope inner(*controller);
            EXPECT_TRUE(controller->getBusy());
        }
        EXPECT_TRUE(controller->getBusy()) << "an inner operation does not end the outer one";
        EXPECT_FALSE(view.dragAccept);
    }
    EXPECT_FALSE(controller->getBusy());
    EXPECT_TRUE(view.dragAccept);
}

// Handed-over paths open through the same steps as a second start's: however the open ends, the
// pending hand-over is cleared and the Busy raised for it ends, also inside an outer busy scope.
TEST_F(MainControllerTest, HandedOverOpenClearsPendingAndEndsItsBusy) {
    // A file that exists but is no data file: the open itself fails.
    const QString foreign = dir.filePath(QStringLiteral("foreign.krvc"));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Something]\nKey=1\n");
    file.close();
    for (const auto source :
         {TMainController::TPathSource::CopyData, TMainController::TPathSource::Dropped}) {
        controller->OpenHandedOverPaths({foreign}, source);
        EXPECT_FALSE(DF->getCopyDataPending()) << "a refused open leaves no hand-over pending";
        EXPECT_FALSE(controller->getBusy());
        EXPECT_TRUE(view.dragAccept);
    }
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("UDF016"), QStringLiteral("UDF016")}));
    {
        TMainController::TBusyScope outer(*controller);
        controller->OpenHandedOverPaths({foreign}, TMainController::TPathSource::Dropped);
        EXPECT_TRUE(controller->getBusy());
    }
    EXPECT_FALSE(controller->getBusy()) << "the open's own Busy ended with it";
    EXPECT_TRUE(view.dragAccept);
}

TEST_F(MainControllerTest, ProcessAsksThenValidatesChecksAndRunsWithTheWindowDisabled) {
    ThreeDefinitions();
    controller->ListClicked(1);
    log.clear();
    summary.answers = {mrOk};
    bool busyDuringRun = false;
    process.duringRun = [&] { busyDuringRun = controller->getBusy() && !view.dragAccept; };
    dlg.answers = {mrYes};
    dlg.checks = {true};
    controller->XferData();
    ASSERT_EQ(dlg.keys(), QStringList({QStringLiteral("MF023")}));
    EXPECT_EQ(dlg.shown[0].lines,
              QStringList({UIT(txt::DoYouWishToProcess), QString(), QStringLiteral("Beta")}));
    EXPECT_EQ(dlg.shown[0].checkBoxCaption, UIT(txt::ProcessSelectedKRVDefinitionWithout));
    EXPECT_FALSE(UP->getPromptOnProcess());
    EXPECT_EQ(log,
              QStringList({QStringLiteral("Store 0 2:Beta"), QStringLiteral("Validate"),
                           QStringLiteral("WarnExcelMissing"),
                           QStringLiteral("WarnPackMissing Data Source File"),
                           QStringLiteral("WarnPackMissing Template File"),
                           QStringLiteral("WindowDisabled"), QStringLiteral("Run 2"),
                           QStringLiteral("Summary.ShowModal"), QStringLiteral("WindowEnabled")}));
    EXPECT_TRUE(busyDuringRun);
    EXPECT_FALSE(controller->getBusy());
    EXPECT_TRUE(view.dragAccept);

    log.clear();
    dlg.shown.clear();
    controller->XferData();
    EXPECT_TRUE(dlg.shown.empty()) << "without prompting";
    EXPECT_TRUE(log.contains(QStringLiteral("Run 2")));
}

TEST_F(MainControllerTest, ProcessEndsOnNoOrEscapeButKeepsTheCheckBoxChoice) {
    for (const int answer : {int(mrNo), int(mrCancel)}) {
        UP->setPromptOnProcess(true);
        log.clear();
        dlg.answers = {answer};
        dlg.checks = {true};
        controller->XferData();
        EXPECT_FALSE(log.contains(QStringLiteral("Validate"))) << answer;
        EXPECT_FALSE(UP->getPromptOnProcess()) << answer;
    }
}

TEST_F(MainControllerTest, ProcessStopsAtTheFirstFailingCheck) {
    UP->setPromptOnProcess(false);
    process.errors = 2;
    controller->XferData();
    EXPECT_EQ(log.mid(1),
              QStringList({QStringLiteral("Validate"), QStringLiteral("CfgErr.RefreshList"),
                           QStringLiteral("CfgErr.ShowModal"),
                           QStringLiteral("Load 0 1:Enter Description Here..."),
                           QStringLiteral("Refresh 0 1:Enter Description Here...")}));

    process.errors = 0;
    process.excelMissing = true;
    log.clear();
    controller->XferData();
    EXPECT_EQ(log.last(), QStringLiteral("WarnExcelMissing"));

    process.excelMissing = false;
    process.packCancelled = {UIT(txt::DataSourceFile_747)};
    log.clear();
    controller->XferData();
    EXPECT_EQ(log.last(), QStringLiteral("WarnPackMissing Data Source File"))
        << "the template is checked only after the data source passed";
}

TEST_F(MainControllerTest, AFailingRunStillGivesTheWindowBack) {
    UP->setPromptOnProcess(false);
    process.runThrows = true;
    EXPECT_THROW(controller->XferData(), std::runtime_error);
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_FALSE(controller->getBusy());
    EXPECT_TRUE(view.dragAccept);
    EXPECT_FALSE(log.contains(QStringLiteral("Summary.ShowModal")));
}

TEST_F(MainControllerTest, ProcessOnTheFilterTabPreparesItBeforeStoring) {
    UP->setPromptOnProcess(false);
    controller->PageChanged(tabDSF);
    log.clear();
    controller->XferData();
    EXPECT_EQ(log.mid(0, 2),
              QStringList({QStringLiteral("PrepareProcess 4 1:Enter Description Here..."),
                           QStringLiteral("Store 4 1:Enter Description Here...")}));
}

TEST_F(MainControllerTest, GoToCfgErrSwitchesToTheErrorsTabAndItsField) {
    process.cfgTab = 94;
    process.cfgField = 750;
    controller->GoToCfgErr(1);
    EXPECT_EQ(log, QStringList({QStringLiteral("Store 0 1:Enter Description Here..."),
                                QStringLiteral("ShowPage 1"),
                                QStringLiteral("Load 1 1:Enter Description Here..."),
                                QStringLiteral("Refresh 1 1:Enter Description Here..."),
                                QStringLiteral("GoToField 1 1:Enter Description Here...")}));
    EXPECT_EQ(tabs[1]->lastField, 750);
    EXPECT_EQ(controller->getCurrentPageIndex(), tabSCF);
    log.clear();
    process.cfgTab = 12345;
    controller->GoToCfgErr(1);
    controller->GoToCfgErr(0);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(MainControllerTest, ARunThatMovedTheCutOffDateShowsTheFileModified) {
    DF->setModified(true);
    controller->CutOffDateMoved();
    EXPECT_TRUE(view.status.Modified);
}

TEST_F(MainControllerTest, AMovedCutOffDateReloadsOnlyATabShowingTheDate) {
    ThreeDefinitions();
    const struct {
        int page;
        bool reloads;
    } cases[] = {{tabPD, true}, {tabSCF, false}, {tabSCO, true}, {tabDSM, false}, {tabDSF, false}};
    for (const auto& c : cases) {
        controller->PageChanged(c.page);
        log.clear();
        controller->CutOffDateMoved();
        EXPECT_EQ(Entries(QStringLiteral("Load")).size(), c.reloads ? 1 : 0) << c.page;
    }
}

TEST_F(MainControllerTest, SavedFileShowsItsPathAndOffersSave) {
    const QString path = dir.filePath(QStringLiteral("plan.krvc"));
    fileDialogs.answers = {path};
    controller->FileSaveAs();
    EXPECT_EQ(view.status.Text, QStringLiteral(" ") + path + QStringLiteral(" "));
    EXPECT_TRUE(view.status.SaveEnabled);
    controller->FileClose();
    EXPECT_EQ(view.status, TDataFileStatus{});
    EXPECT_TRUE(view.items.isEmpty());
    EXPECT_FALSE(tabs[0]->enabled);
}

TEST_F(MainControllerTest, NewWithCancelledSaveQuestionKeepsTheFile) {
    ThreeDefinitions();
    DF->setModified(true);
    dlg.answers = {mrCancel};
    controller->FileNew();
    EXPECT_EQ(SDs->getCount(), 3);
    EXPECT_EQ(view.items.size(), 3);
}

TEST_F(MainControllerTest, MissingHelpDocumentIsReported) {
    controller->ShowHelp(TMainController::THelpDocument::UserManual);
    ASSERT_EQ(dlg.keys(), QStringList({QStringLiteral("MF024")}));
    EXPECT_EQ(dlg.shown[0].lines.value(2), AD->getUserManualDPFE());
    EXPECT_EQ(dlg.shown[0].lines.value(0),
              QStringLiteral("Unable to find the following Ovik KRV Tessel User Manual File."));
}

// The desktop's answer is examined: a document it cannot open is reported, naming the file and
// the desktop's reason; one it opens is reported by nothing.
TEST_F(MainControllerTest, HelpDocumentTheDesktopCannotOpenIsReported) {
    const QString manual = AD->getUserManualDPFE();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(manual).absolutePath()));
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    {
        testsupport::ScopedFakeShell shell;
        controller->ShowHelp(TMainController::THelpDocument::UserManual);
        EXPECT_EQ(shell.Opened, QStringList({manual}));
        EXPECT_TRUE(dlg.shown.empty());
    }
    testsupport::ScopedFakeShell refusing(QStringLiteral("No program opens PDF files."));
    controller->ShowHelp(TMainController::THelpDocument::UserManual);
    ASSERT_EQ(dlg.keys(), QStringList({QStringLiteral("U007")}));
    EXPECT_EQ(dlg.shown[0].kind, sdkWarning);
    EXPECT_EQ(dlg.shown[0].lines,
              QStringList({QStringLiteral("Unable to open the User Manual."), QString(), manual,
                           QString(), QStringLiteral("Details: No program opens PDF files."),
                           QString()}));
}

// A file dialogue for a data file that names no folder yet (the new, untitled one) starts in the
// user's Documents, not in the folder the program happened to be started from.
TEST_F(MainControllerTest, FileDialoguesWithoutAFolderStartInDocuments) {
    ASSERT_TRUE(DF->getIsNew());
    ASSERT_TRUE(QDir().mkpath(DocumentsFolder()));
    controller->FileOpen();
    controller->FileSaveAs();
    ASSERT_EQ(fileDialogs.opens.size(), 1U);
    ASSERT_EQ(fileDialogs.saves.size(), 1U);
    EXPECT_EQ(fileDialogs.opens[0].DefaultFolder, DocumentsFolder());
    EXPECT_EQ(fileDialogs.saves[0].DefaultFolder, DocumentsFolder());
}

TEST_F(MainControllerTest, RecentFileCommandsReportWhatTheyRemoved) {
    dlg.answers = {mrYes, mrClose, mrYes, mrClose};
    controller->PurgeMRU();
    controller->ResetMRU();
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF001"), QStringLiteral("MF002"),
                                       QStringLiteral("MF005"), QStringLiteral("MF006")}));
    EXPECT_EQ(dlg.shown[1].lines, QStringList({UIT(txt::NoEntriesWerePurged), QString()}));
    dlg.shown.clear();
    controller->PurgeMRU(); // no queued answer: Esc
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF001")}));
}

TEST_F(MainControllerTest, ExitStoresTheTabThenAsksTheWindowToCloseAboutIsBusy) {
    controller->FileExit();
    EXPECT_EQ(Entries(QStringLiteral("Store")).size(), 1);
    EXPECT_EQ(view.closeRequests, 1);
    bool busyWhileShown = false;
    about.whileShown = [&] { busyWhileShown = controller->getBusy() && !view.dragAccept; };
    controller->Activate();
    controller->About();
    EXPECT_TRUE(busyWhileShown);
    EXPECT_TRUE(view.dragAccept);
}

TEST_F(MainControllerTest, OptionsAcceptedResetTheTaskFieldCaches) {
    SDs->getItems(1)->setFL_Loaded(true);
    options.answers = {mrOk};
    controller->Options();
    EXPECT_FALSE(SDs->getItems(1)->getFL_Loaded());
    EXPECT_EQ(view.preferenceApplications, 1);
}

const QString kSample = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.krvc");

// A data file named on the command line, as start-up creates the data file for it.
class CommandLineTest : public MainControllerTest {
protected:
    void StartWith(const QStringList& paths) {
        controller.reset();
        delete DF;
        DF = new TovDF(paths);
        DF->setRecentFiles(&recent);
        SDs->Clear();
        controller = std::make_unique<TMainController>(view, dialogs);
        std::array<IMainTab*, TabCount> list{};
        for (int i = 0; i < TabCount; ++i) {
            list[static_cast<size_t>(i)] = tabs[static_cast<size_t>(i)].get();
        }
        controller->setTabs(list);
        controller->setCommandLine(paths);
        controller->Create();
    }
};

TEST_F(CommandLineTest, OneFileOpensAtTheFirstActivationNotAtCreation) {
    if (!QFile::exists(kSample)) {
        GTEST_SKIP() << "the generated sample data file is missing";
    }
    StartWith({kSample});
    EXPECT_TRUE(DF->getNoFile()) << "creation opens nothing";
    EXPECT_TRUE(view.items.isEmpty());
    view.maximised = true;
    controller->Activate();
    EXPECT_EQ(DF->getDPFE(), kSample);
    EXPECT_EQ(view.items.size(), 3);
    EXPECT_EQ(view.row, 0);
    EXPECT_TRUE(view.maximised) << "a maximised window is maximised again";
    EXPECT_EQ(recent.added, QStringList({kSample}));
}

TEST_F(CommandLineTest, AFileThatCannotBeOpenedEndsWithANewUntitledFile) {
    StartWith({dir.filePath(QStringLiteral("missing.krvc"))});
    controller->Activate();
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("UDV001")}));
    EXPECT_EQ(view.status.Text, QStringLiteral(" Untitled.krvc "));
    EXPECT_EQ(view.items.size(), 1);
}

TEST_F(CommandLineTest, SeveralFilesAreOfferedInTheBrowseFileWindowWithInvalidOnesFlagged) {
    const QStringList paths = {dir.filePath(QStringLiteral("a.krvc")),
                               dir.filePath(QStringLiteral("b.txt")),
                               dir.filePath(QStringLiteral("c.krvc"))};
    StartWith(paths);
    log.clear();
    controller->Activate();
    EXPECT_EQ(
        log.filter(QStringLiteral("BrowseFile")),
        QStringList({QStringLiteral("BrowseFile.Setup"), QStringLiteral("BrowseFile.ShowModal")}));
    ASSERT_EQ(DF->getFL_Count(), 3);
    EXPECT_TRUE(DF->getFL_Valid(1));
    EXPECT_FALSE(DF->getFL_Valid(2));
    EXPECT_TRUE(DF->getFL_Valid(3));
    EXPECT_EQ(view.status.Text, QStringLiteral(" Untitled.krvc ")) << "Cancel opens nothing";
}

} // namespace
} // namespace formstest
