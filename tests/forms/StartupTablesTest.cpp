#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/XLEnvironment.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/MainBlock.h"
#include "forms/OBJ_Utils.h"
#include "forms/browse/F_CfgErr.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/main/F_Main.h"
#include "model/ErrorLists.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/MainWindow.h"
#include "services/ovAD.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "services_ui/F_Progress.h"
#include "services_ui/F_StdDlg.h"
#include "services_ui/Splash.h"

#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QProgressBar>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Every step names the object it creates, in the program's creation order; every splash and
// failure text it writes resolves in the text table; only the text table's own step, which runs
// before the table exists, uses a literal; the splash is created once, after the step that makes
// the program folder known, and every later failure frees it.
TEST(StartupTables, StepsCreateTheObjectsInOrderWithResolvingTexts) {
    TGlobalObjects globals;
    const std::vector<TStartupStep> steps = StartupSteps(globals);
    ASSERT_EQ(steps.size(), static_cast<size_t>(kGlobalObjectCount));
    bool splashCreated = false;
    for (size_t i = 0; i < steps.size(); ++i) {
        const TStartupStep& step = steps[i];
        const auto object = static_cast<TGlobalObject>(i);
        EXPECT_EQ(QString::fromLatin1(step.Name),
                  QStringLiteral("Init") + QString::fromLatin1(GlobalObjectName(object)));
        if (step.SplashTextId != 0) {
            EXPECT_FALSE(UIT(step.SplashTextId).isEmpty()) << step.Name;
        }
        if (object == TGlobalObject::goUILs) {
            EXPECT_EQ(step.FailureTextId, 0);
            EXPECT_STRNE(step.FailureLiteral, "");
            EXPECT_EQ(step.SplashTextId, 0);
        } else {
            EXPECT_FALSE(UIT(step.FailureTextId).isEmpty()) << step.Name;
        }
        EXPECT_EQ(step.FreeSplash, splashCreated) << step.Name;
        if (step.CreatesSplash) {
            EXPECT_FALSE(splashCreated) << step.Name;
            EXPECT_EQ(object, TGlobalObject::goAD);
            splashCreated = true;
        }
    }
    EXPECT_TRUE(splashCreated);
}

// All steps run; freeing afterwards leaves every global object and every view installed for
// them gone.
TEST(StartupTables, FreeingAfterAllStepsLeavesEveryObjectGone) {
    TovUILs* testTexts = std::exchange(UILs, nullptr);
    {
        TGlobalObjectsSetup setup;
        setup.ProgramFolder = QStringLiteral(KRV_SHARE_DIR "/");
        TGlobalObjects globals(setup);
        for (const TStartupStep& step : StartupSteps(globals)) {
            ASSERT_TRUE(step.Run()) << step.Name << " " << StartupErrorDetails.toStdString();
        }
        EXPECT_TRUE(hasXLEnvironment());
        globals.FreeAll();
        const void* objects[] = {UILs, AD, XL,      OCP,    DV,     UP,     MRUs,  WMs,
                                 SDs,  DF, Process, PS_RHs, CD_RHs, PS_RFs, CD_RFs};
        for (const void* object : objects) {
            EXPECT_EQ(object, nullptr);
        }
        EXPECT_FALSE(hasXLEnvironment());
    }
    UILs = testTexts;
}

// The freeing order frees each object once, and before what it reads: the report tables and the
// process before the definitions and the Excel layer, the data file before the definitions it
// holds, the text table last because every other object may report through it.
TEST(StartupTables, GlobalObjectsAreFreedBeforeWhatTheyRead) {
    const std::vector<TGlobalObject>& order = GlobalObjectFreeingOrder();
    ASSERT_EQ(order.size(), static_cast<size_t>(kGlobalObjectCount));
    auto position = [&order](TGlobalObject object) {
        return std::find(order.begin(), order.end(), object) - order.begin();
    };
    for (int i = 0; i < kGlobalObjectCount; ++i) {
        EXPECT_LT(position(static_cast<TGlobalObject>(i)), kGlobalObjectCount) << i;
    }
    using G = TGlobalObject;
    const std::pair<G, G> before[] = {
        {G::goRHs, G::goSDs},    {G::goRFs, G::goSDs}, {G::goProcess, G::goSDs},
        {G::goProcess, G::goXL}, {G::goDF, G::goSDs},  {G::goDV, G::goSDs},
        {G::goMRUs, G::goUP},    {G::goOCP, G::goXL},  {G::goXL, G::goAD},
        {G::goAD, G::goUILs},
    };
    for (const auto& [first, second] : before) {
        EXPECT_LT(position(first), position(second))
            << GlobalObjectName(first) << " before " << GlobalObjectName(second);
    }
    EXPECT_EQ(order.back(), G::goUILs);
}

TEST(StartupTables, WindowsAreCreatedInOrderEachWritingItsSplashText) {
    const char* names[] = {"UF_Main",      "UF_About",     "UF_AddRenameCopy", "UF_BrowseFile",
                           "UF_BrowseFld", "UF_BrowseVal", "UF_BrowseWS",      "UF_CfgErr",
                           "UF_DFVErr",    "UF_Options",   "UF_Progress",      "UF_StdDlg",
                           "UF_Summary"};
    const QStringList texts = Texts({
        "Initialising Main Form...",
        "Initialising About Form...",
        "Initialising Add Rename Copy KRV Definition Form...",
        "Initialising Browse Files Form...",
        "Initialising Browse Task Fields Form...",
        "Initialising Browse Task Field Values Form...",
        "Initialising Browse Worksheets Form...",
        "Initialising Configuration Errors Form...",
        "Initialising Data File Validation Errors Form...",
        "Initialising Options Form...",
        "Initialising Progress Form...",
        "Initialising Standard Dialogue Form...",
        "Initialising Summary Form...",
    });
    const std::vector<TFormCreation> forms = FormCreations();
    ASSERT_EQ(forms.size(), std::size(names));

    bool freed = false;
    TUF_Splash splash;
    UF_Splash = &splash;
    {
        TApplicationForms owner([&freed] { freed = true; });
        std::vector<TFormCreation> recorded;
        for (size_t i = 0; i < forms.size(); ++i) {
            EXPECT_STREQ(forms[i].Name, names[i]);
            recorded.push_back({forms[i].Name, [&forms, &splash, &texts, i] {
                                    QWidget* window = forms[i].Create();
                                    EXPECT_EQ(splash.getStatus(), QLatin1Char(' ') +
                                                                      texts[static_cast<int>(i)] +
                                                                      QLatin1Char(' '))
                                        << forms[i].Name;
                                    return window;
                                }});
        }
        owner.CreateForms(recorded);
        EXPECT_EQ(StdDlg(), static_cast<IStdDlg*>(UF_StdDlg));
        EXPECT_EQ(Progress(), static_cast<IProgress*>(UF_Progress));
        EXPECT_NE(MainWindow(), nullptr);
        EXPECT_NE(LB_CfgErr(), nullptr);
        EXPECT_NE(LB_DFVErr(), nullptr);
        EXPECT_EQ(UF_Main->windowTitle(), QStringLiteral("Ovik KRV Tessel"));
        owner.DestroyForms();
        EXPECT_TRUE(freed);
        EXPECT_EQ(StdDlg(), nullptr);
        EXPECT_EQ(Progress(), nullptr);
        EXPECT_EQ(MainWindow(), nullptr);
        EXPECT_EQ(LB_CfgErr(), nullptr);
        EXPECT_EQ(LB_DFVErr(), nullptr);
        EXPECT_EQ(UF_Main, nullptr);
        EXPECT_EQ(UF_About, nullptr);
        EXPECT_EQ(UF_Summary, nullptr);
    }
    UF_Splash = nullptr;
}

TEST(StartupTables, ErrorWindowsAndMainWindowServeTheDataFileLayer) {
    {
        TUF_CfgErr window;
        ASSERT_NE(LB_CfgErr(), nullptr);
        FillErrListBox(LB_CfgErr(), 3);
        EXPECT_EQ(window.LB_CfgErr->count(), 3);
        EXPECT_EQ(window.LB_CfgErr->item(2)->text(), QStringLiteral("3"));
        EXPECT_EQ(window.LB_CfgErr->currentRow(), 0);
    }
    EXPECT_EQ(LB_CfgErr(), nullptr);

    TUF_Main main;
    IDataFileView& view = main;
    view.ProgressStart(2);
    EXPECT_FALSE(main.PB_Main->isHidden());
    view.ProgressStep();
    view.ProgressStep();
    view.ProgressStep();
    EXPECT_EQ(main.PB_Main->value(), 2);
    view.ProgressEnd();
    EXPECT_TRUE(main.PB_Main->isHidden());
    EXPECT_EQ(main.PB_Main->value(), 0);
}

// The program itself, started headless, runs its start-up, reaches the main window and ends
// with status 0 when the main window closes.
TEST(StartupTables, ProgramStartsAndEndsCleanly) {
    QTemporaryDir registry;
    ASSERT_TRUE(registry.isValid());
    QProcess program;
    // Its own runtime folder: the program must not hand over to an instance the user runs.
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("OVIK_KRV_TESSEL_AUTOCLOSE_MS"), QStringLiteral("100"));
    env.insert(QStringLiteral("OVIK_KRV_TESSEL_REGISTRY"), registry.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KRV_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForFinished(30000)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

} // namespace
