#include "forms/F_About.h"
#include "forms/F_CfgErr.h"
#include "forms/F_Main.h"
#include "forms/F_Summary.h"
#include "forms/MainBlock.h"
#include "forms/OBJ_Utils.h"
#include "model/ErrorLists.h"
#include "services/F_Progress.h"
#include "services/F_StdDlg.h"
#include "services/MainWindow.h"
#include "services/Splash.h"

#include <QDir>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(StartupTables, StepsHaveTheirOrderTextsAndSplashFlags) {
    struct Expected {
        const char* name;
        int splashText;
        int failureText;
        bool freeSplash;
        bool createsSplash;
    };
    const Expected expected[] = {
        {"InitUILs", 0, 0, false, false},       {"InitAD", 0, 1407, false, true},
        {"InitXL", 18, 1419, true, false},      {"InitOCP", 11, 1412, true, false},
        {"InitDV", 9, 1409, true, false},       {"InitUP", 16, 1417, true, false},
        {"InitMRUs", 10, 1411, true, false},    {"InitWMs", 17, 1418, true, false},
        {"InitSDs", 15, 1416, true, false},     {"InitDF", 8, 1408, true, false},
        {"InitProcess", 12, 1413, true, false}, {"InitRHs", 13, 1414, true, false},
        {"InitRFs", 14, 1415, true, false},
    };
    const std::vector<TStartupStep> steps = StartupSteps();
    ASSERT_EQ(steps.size(), std::size(expected));
    for (size_t i = 0; i < steps.size(); ++i) {
        const Expected& e = expected[i];
        EXPECT_STREQ(steps[i].Name, e.name);
        EXPECT_EQ(steps[i].SplashTextId, e.splashText) << e.name;
        EXPECT_EQ(steps[i].FailureTextId, e.failureText) << e.name;
        EXPECT_EQ(steps[i].FreeSplash, e.freeSplash) << e.name;
        EXPECT_EQ(steps[i].CreatesSplash, e.createsSplash) << e.name;
    }
    EXPECT_STREQ(steps[0].FailureLiteral, " Unable to initialise User Interface Language. ");
}

TEST(StartupTables, GlobalObjectsAreFreedInTheirOrderTextTableLast) {
    QStringList names;
    for (const TGlobalObjectFree& object : GlobalObjectFrees()) {
        names << QString::fromLatin1(object.Name);
    }
    EXPECT_EQ(names, QStringList({"CD_RHs", "PS_RHs", "CD_RFs", "PS_RFs", "Process", "DV", "DF",
                                  "SDs", "MRUs", "WMs", "UP", "OCP", "XL", "AD", "UILs"}));
}

TEST(StartupTables, WindowsAreCreatedInOrderEachWritingItsSplashText) {
    const char* names[] = {"UF_Main",      "UF_About",     "UF_AddRenameCopy", "UF_BrowseFile",
                           "UF_BrowseFld", "UF_BrowseVal", "UF_BrowseWS",      "UF_CfgErr",
                           "UF_DFVErr",    "UF_Options",   "UF_Progress",      "UF_StdDlg",
                           "UF_Summary"};
    const QStringList texts = {
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
    };
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
    QProcess program;
    // Its own runtime folder: the program must not hand over to an instance the user runs.
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("OVIK_KRV_TESSEL_AUTOCLOSE_MS"), QStringLiteral("100"));
    env.insert(QStringLiteral("OVIK_KRV_TESSEL_REGISTRY"),
               QDir::tempPath() + QStringLiteral("/krv-startup-test-registry"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(KRV_PROGRAM), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForFinished(30000)) << "the program did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

} // namespace
