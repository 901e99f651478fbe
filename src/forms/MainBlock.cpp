#include "forms/MainBlock.h"

#include "engine/ovProcess.h"
#include "forms/OBJ_Utils.h"
#include "forms/ServiceAdapters.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/browse/F_BrowseFld.h"
#include "forms/browse/F_BrowseVal.h"
#include "forms/browse/F_BrowseWS.h"
#include "forms/browse/F_CfgErr.h"
#include "forms/browse/F_DFVErr.h"
#include "forms/dialogs/F_About.h"
#include "forms/dialogs/F_AddRenameCopy.h"
#include "forms/dialogs/F_Options.h"
#include "forms/dialogs/F_Summary.h"
#include "forms/main/F_Main.h"
#include "forms/main/MainWindowHandOver.h"
#include "model/ovDF.h"
#include "program/GlobalObjects.h"
#include "services/MainWindow.h"
#include "services_ui/F_Progress.h"
#include "services_ui/F_StdDlg.h"
#include "services_ui/SingleInstance.h"
#include "services_ui/Startup.h"
#include "services_ui/TextMetrics.h"

#include <QApplication>
#include <QTimer>

namespace {

template <typename T> QWidget* created(T*& global, T* window) {
    global = window;
    return window;
}

} // namespace

TApplicationForms::TApplicationForms(std::function<void()> freeGlobalObjects)
    : FreeGlobalObjects(std::move(freeGlobalObjects)) {}

TApplicationForms::~TApplicationForms() {
    DestroyForms();
}

void TApplicationForms::CreateForms(const std::vector<TFormCreation>& forms) {
    for (const TFormCreation& form : forms) {
        Forms.push_back(form.Create());
    }
}

void TApplicationForms::DestroyForms() {
    if (Forms.empty()) {
        return;
    }
    while (!Forms.empty()) {
        delete Forms.back();
        Forms.pop_back();
    }
    if (FreeGlobalObjects) {
        FreeGlobalObjects();
    }
}

std::vector<TFormCreation> FormCreations() {
    return {
        {"UF_Main",
         [] {
             auto* window = new TUF_Main();
             setMainWindow(window);
             if (DF != nullptr) {
                 DF->setView(window);
             }
             return created(UF_Main, window);
         }},
        {"UF_About", [] { return created(UF_About, new TUF_About()); }},
        {"UF_AddRenameCopy", [] { return created(UF_AddRenameCopy, new TUF_AddRenameCopy()); }},
        {"UF_BrowseFile", [] { return created(UF_BrowseFile, new TUF_BrowseFile()); }},
        {"UF_BrowseFld", [] { return created(UF_BrowseFld, new TUF_BrowseFld()); }},
        {"UF_BrowseVal", [] { return created(UF_BrowseVal, new TUF_BrowseVal()); }},
        {"UF_BrowseWS", [] { return created(UF_BrowseWS, new TUF_BrowseWS()); }},
        {"UF_CfgErr", [] { return created(UF_CfgErr, new TUF_CfgErr()); }},
        {"UF_DFVErr", [] { return created(UF_DFVErr, new TUF_DFVErr()); }},
        {"UF_Options", [] { return created(UF_Options, new TUF_Options()); }},
        {"UF_Progress",
         [] {
             auto* window = new TUF_Progress();
             window->setLineFormatSource(
                 [] {
                     return Process != nullptr ? Process->getStepLineFormat()
                                               : QStringLiteral(" [%.2d] %s ");
                 },
                 [] {
                     return Process != nullptr ? Process->getSubLineFormat()
                                               : QStringLiteral(" [--] %s ");
                 });
             setProgress(window);
             return created(UF_Progress, window);
         }},
        {"UF_StdDlg",
         [] {
             auto* window = new TUF_StdDlg();
             if (UF_Main != nullptr) {
                 window->setGlyphList(&UF_Main->IL_Main_16);
             }
             setStdDlg(window);
             return created(UF_StdDlg, window);
         }},
        {"UF_Summary",
         [] {
             auto* window = new TUF_Summary();
             if (UF_Main != nullptr) {
                 window->setGlyphList(&UF_Main->IL_Main_16);
             }
             return created(UF_Summary, window);
         }},
    };
}

int RunMainBlock() {
    QApplication::setApplicationName(QStringLiteral("Ovik KRV Tessel"));
    if (EnsureSingleInstance()) {
        return 0;
    }

    TQtFileDialogs fileDialogs;
    TGlobalObjectsSetup setup;
    setup.DialogFont = MeasureIconTitleFont();
    setup.DataFileArguments = CommandLineDataFiles();
    setup.FileDialogs = &fileDialogs;
    TGlobalObjects globals(setup);
    const auto freeGlobalObjects = [&globals] { globals.FreeAll(); };

    TStartupSequence startup(StartupSteps(globals), freeGlobalObjects);
    if (!startup.RunSteps()) {
        return startup.exitStatus();
    }
    TApplicationForms forms(freeGlobalObjects);
    forms.CreateForms(FormCreations());
    startup.FinishSplash();

    UF_Main->show();
    std::shared_ptr<void> handOver = ListenForHandOvers(*UF_Main);
    bool ok = false;
    const int autoCloseMs = qEnvironmentVariableIntValue("OVIK_KRV_TESSEL_AUTOCLOSE_MS", &ok);
    if (ok && autoCloseMs >= 0) {
        QTimer::singleShot(autoCloseMs, UF_Main, [] { UF_Main->close(); });
    }
    const int status = QApplication::exec();
    handOver.reset();
    forms.DestroyForms();
    return status;
}
