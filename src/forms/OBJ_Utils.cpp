#include "OBJ_Utils.h"

#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "services/UIL_EN.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

namespace {

template <typename T> void freeObject(T*& object) {
    delete object;
    object = nullptr;
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
    return RunStartupStepWork([] { /* creates XL (TovXL), detecting the Excel version */ });
}

bool InitOCP() {
    return RunStartupStepWork([] { /* creates OCP (TovOCP) */ });
}

bool InitDV() {
    return RunStartupStepWork([] { /* creates DV (TovDV) */ });
}

bool InitUP() {
    return RunStartupStepWork([] { /* creates UP (TovUP): Load, Validate, Save */ });
}

bool InitMRUs() {
    return RunStartupStepWork(
        [] { /* creates MRUs (TovMRUs): Grow to capacity, Load, CleanUp, Purge, Save */ });
}

bool InitWMs() {
    return RunStartupStepWork(
        [] { /* creates WMs (TovWMs): Add slots 1 to 8, Load, Normalise, SaveAll */ });
}

bool InitSDs() {
    return RunStartupStepWork([] { /* creates SDs (TovSDs) */ });
}

bool InitDF() {
    return RunStartupStepWork([] { /* creates DF (TovDF) */ });
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
        {"DV", {}},   // TovDV
        {"DF", {}},   // TovDF
        {"SDs", {}},  // TovSDs
        {"MRUs", {}}, // TovMRUs
        {"WMs", {}},  // TovWMs
        {"UP", {}},   // TovUP
        {"OCP", {}},  // TovOCP
        {"XL", {}},   // TovXL
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
