#include "OBJ_Utils.h"

#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/ServiceAdapters.h"
#include "model/ModelPrefs.h"
#include "model/PathChecksImpl.h"
#include "model/XLLimits.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/UIL_EN.h"
#include "services/ovAD.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"

#include <QCoreApplication>
#include <memory>

namespace {

template <typename T> void freeObject(T*& object) {
    delete object;
    object = nullptr;
}

// The views of one global object that others reach through an interface; each lives with its
// object and is uninstalled before the object is freed.
struct ServiceViews {
    std::unique_ptr<TXLLimitsOf<TovXL>> xlLimits;
    std::unique_ptr<TovPathChecks> pathChecks;
    std::unique_ptr<TModelPrefsOf<TovUP>> modelPrefs;
    std::unique_ptr<TRecentFilesOfMRUs> recentFiles;
    std::unique_ptr<TDataFilePreferencesOfUP> dataFilePrefs;
    std::unique_ptr<TQtFileDialogs> fileDialogs;
};

ServiceViews& views() {
    static ServiceViews v;
    return v;
}

} // namespace

bool InitUILs() {
    return RunStartupStepWork(
        [] {
            UILIndex = 0;
            UILs = nullptr;
            UILs = new TovUILs();
            FillEnglishTexts(UILIndex);
        },
        true);
}

bool InitAD() {
    return RunStartupStepWork([] {
        AD = nullptr;
        AD = new TovAD();
    });
}

bool InitXL() {
    return RunStartupStepWork([] {
        XL = nullptr;
        XL = new TovXL();
        views().xlLimits = std::make_unique<TXLLimitsOf<TovXL>>(XL);
        setXLLimits(views().xlLimits.get());
        TovUP::setExcelDefaultExtension([] { return XL->DefaultExtension(); });
    });
}

bool InitOCP() {
    return RunStartupStepWork([] {
        OCP = nullptr;
        OCP = new TovOCP();
    });
}

bool InitDV() {
    return RunStartupStepWork([] {
        DV = nullptr;
        DV = new TovDV();
        views().pathChecks = std::make_unique<TovPathChecks>();
        setPathChecks(views().pathChecks.get());
    });
}

bool InitUP() {
    return RunStartupStepWork([] {
        UP = nullptr;
        UP = new TovUP();
        views().modelPrefs = std::make_unique<TModelPrefsOf<TovUP>>(UP);
        setModelPrefs(views().modelPrefs.get());
        UP->Load();
        UP->Validate();
        UP->Save();
    });
}

bool InitMRUs() {
    return RunStartupStepWork([] {
        MRUs = nullptr;
        MRUs = new TovMRUs();
        for (int i = 0, n = MRUs->getCapacity(); i < n; ++i) {
            MRUs->Grow();
        }
        MRUs->Load();
        MRUs->CleanUp();
        if (UP != nullptr && UP->getPurgeMRU()) {
            MRUs->Purge();
        }
        MRUs->Save();
    });
}

bool InitWMs() {
    return RunStartupStepWork([] {
        WMs = nullptr;
        WMs = new TovWMs();
        for (int slot = 1; slot <= 8; ++slot) {
            WMs->Add();
        }
        WMs->Load();
        WMs->Normalise();
        WMs->SaveAll();
    });
}

bool InitSDs() {
    return RunStartupStepWork([] {
        SDs = nullptr;
        SDs = new TovSDs();
    });
}

bool InitDF() {
    return RunStartupStepWork([] {
        DF = nullptr;
        DF = new TovDF(QCoreApplication::arguments().mid(1));
        views().recentFiles = std::make_unique<TRecentFilesOfMRUs>();
        views().dataFilePrefs = std::make_unique<TDataFilePreferencesOfUP>();
        views().fileDialogs = std::make_unique<TQtFileDialogs>();
        DF->setRecentFiles(views().recentFiles.get());
        DF->setPreferences(views().dataFilePrefs.get());
        DF->setFileDialogs(views().fileDialogs.get());
    });
}

bool InitProcess() {
    return RunStartupStepWork([] {
        Process = nullptr;
        Process = new TovProcess();
    });
}

bool InitRHs() {
    return RunStartupStepWork([] {
        PS_RHs = nullptr;
        CD_RHs = nullptr;
        PS_RHs = new TovRHs();
        CD_RHs = new TovRHs();
        FillProjectSummaryHeaders();
        FillChartDataHeaders();
    });
}

bool InitRFs() {
    return RunStartupStepWork([] {
        PS_RFs = nullptr;
        CD_RFs = nullptr;
        PS_RFs = new TovRFs();
        CD_RFs = new TovRFs();
        FillProjectSummaryFields();
        FillChartDataFields();
    });
}

std::vector<TStartupStep> StartupSteps() {
    // name, work, splash text, failure text (or literal), frees the splash, creates the splash
    return {
        {"InitUILs", InitUILs, 0, 0, " Unable to initialise User Interface Language. ", false,
         false},
        {"InitAD", InitAD, 0, 1407, nullptr, false, true},
        {"InitXL", InitXL, 18, 1419, nullptr, true, false},
        {"InitOCP", InitOCP, 11, 1412, nullptr, true, false},
        {"InitDV", InitDV, 9, 1409, nullptr, true, false},
        {"InitUP", InitUP, 16, 1417, nullptr, true, false},
        {"InitMRUs", InitMRUs, 10, 1411, nullptr, true, false},
        {"InitWMs", InitWMs, 17, 1418, nullptr, true, false},
        {"InitSDs", InitSDs, 15, 1416, nullptr, true, false},
        {"InitDF", InitDF, 8, 1408, nullptr, true, false},
        {"InitProcess", InitProcess, 12, 1413, nullptr, true, false},
        {"InitRHs", InitRHs, 13, 1414, nullptr, true, false},
        {"InitRFs", InitRFs, 14, 1415, nullptr, true, false},
    };
}

std::vector<TGlobalObjectFree> GlobalObjectFrees() {
    return {
        {"CD_RHs", [] { freeObject(CD_RHs); }},
        {"PS_RHs", [] { freeObject(PS_RHs); }},
        {"CD_RFs", [] { freeObject(CD_RFs); }},
        {"PS_RFs", [] { freeObject(PS_RFs); }},
        {"Process", [] { freeObject(Process); }},
        {"DV",
         [] {
             setPathChecks(nullptr);
             views().pathChecks.reset();
             freeObject(DV);
         }},
        {"DF",
         [] {
             freeObject(DF);
             views().recentFiles.reset();
             views().dataFilePrefs.reset();
             views().fileDialogs.reset();
         }},
        {"SDs", [] { freeObject(SDs); }},
        {"MRUs", [] { freeObject(MRUs); }},
        {"WMs", [] { freeObject(WMs); }},
        {"UP",
         [] {
             setModelPrefs(nullptr);
             views().modelPrefs.reset();
             freeObject(UP);
         }},
        {"OCP", [] { freeObject(OCP); }},
        {"XL",
         [] {
             setXLLimits(nullptr);
             views().xlLimits.reset();
             TovUP::setExcelDefaultExtension({});
             freeObject(XL);
         }},
        {"AD", [] { freeObject(AD); }},
        {"UILs", [] { freeObject(UILs); }},
    };
}

void FreeGlobalObjects() {
    for (const TGlobalObjectFree& object : GlobalObjectFrees()) {
        if (object.Free) {
            object.Free();
        }
    }
}
