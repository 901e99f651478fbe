#include "GlobalObjects.h"

#include "ProgramAdapters.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovProcess.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "model/ModelPrefs.h"
#include "model/PathChecksImpl.h"
#include "model/XLLimits.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Exception.h"
#include "platform/ScopeGuard.h"
#include "services/UIL_EN.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services/ovWM.h"

namespace {

template <typename T> void freeObject(T*& object) {
    delete object;
    object = nullptr;
}

void requireEmpty(bool empty) {
    if (!empty) {
        throw platform::Exception(QStringLiteral("A global object exists already."));
    }
}

} // namespace

// The views of the objects that other layers reach through an interface; each lives with its
// object and is uninstalled before the object is freed.
struct TGlobalObjects::Views {
    std::unique_ptr<TXLLimitsOf<TovXL>> xlLimits;
    bool installedXLEnvironment = false;
    std::unique_ptr<TovPathChecks> pathChecks;
    std::unique_ptr<TModelPrefsOf<TovUP>> modelPrefs;
    std::unique_ptr<TRecentFilesOfMRUs> recentFiles;
    std::unique_ptr<TDataFilePreferencesOfUP> dataFilePrefs;
};

const std::vector<TGlobalObject>& GlobalObjectFreeingOrder() {
    using G = TGlobalObject;
    static const std::vector<TGlobalObject> order = {
        G::goRHs, G::goRFs, G::goProcess, G::goDV, G::goDF, G::goSDs,  G::goMRUs,
        G::goWMs, G::goUP,  G::goOCP,     G::goXL, G::goAD, G::goUILs,
    };
    return order;
}

const char* GlobalObjectName(TGlobalObject object) {
    static const char* const names[kGlobalObjectCount] = {
        "UILs", "AD", "XL", "OCP", "DV", "UP", "MRUs", "WMs", "SDs", "DF", "Process", "RHs", "RFs"};
    return names[static_cast<int>(object)];
}

std::vector<const char*> GlobalVariableNames(TGlobalObject object) {
    switch (object) {
    case TGlobalObject::goRHs:
        return {"CD_RHs", "PS_RHs"};
    case TGlobalObject::goRFs:
        return {"CD_RFs", "PS_RFs"};
    default:
        return {GlobalObjectName(object)};
    }
}

TGlobalObjects::TGlobalObjects(TGlobalObjectsSetup setup)
    : Setup(std::move(setup)), OwnViews(std::make_unique<Views>()) {}

TGlobalObjects::TGlobalObjects(std::initializer_list<TGlobalObject> objects,
                               TGlobalObjectsSetup setup)
    : TGlobalObjects(std::move(setup)) {
    std::array<bool, kGlobalObjectCount> wanted{};
    for (TGlobalObject object : objects) {
        wanted[index(object)] = true;
    }
    // The destructor does not run for a constructor that raises: free what was made.
    const platform::ScopeFailure freeCreated([this] { FreeAll(); });
    for (int i = 0; i < kGlobalObjectCount; ++i) {
        if (wanted[static_cast<size_t>(i)]) {
            Create(static_cast<TGlobalObject>(i));
        }
    }
}

TGlobalObjects::~TGlobalObjects() {
    FreeAll();
}

void TGlobalObjects::Create(TGlobalObject object) {
    Views& views = *OwnViews;
    // Marked as created as soon as the object exists, so that a failing set-up frees it.
    auto createObject = [this, object]<typename T, typename... Args>(T*& global, Args&&... args) {
        requireEmpty(global == nullptr);
        global = new T(std::forward<Args>(args)...);
        Created[index(object)] = true;
    };
    switch (object) {
    case TGlobalObject::goUILs:
        UILIndex = 0;
        createObject(UILs);
        FillEnglishTexts(UILIndex);
        break;
    case TGlobalObject::goAD:
        createObject(AD, Setup.ProgramFolder, Setup.DialogFont);
        break;
    case TGlobalObject::goXL:
        // Tests install a scripted environment first; the program's reads the global objects.
        if (!hasXLEnvironment()) {
            setXLEnvironment(createProgramXLEnvironment());
            views.installedXLEnvironment = true;
        }
        createObject(XL);
        views.xlLimits = std::make_unique<TXLLimitsOf<TovXL>>(XL);
        setXLLimits(views.xlLimits.get());
        TovUP::setExcelDefaultExtension([] { return XL->DefaultExtension(); });
        break;
    case TGlobalObject::goOCP:
        createObject(OCP);
        break;
    case TGlobalObject::goDV:
        createObject(DV);
        views.pathChecks = std::make_unique<TovPathChecks>();
        setPathChecks(views.pathChecks.get());
        break;
    case TGlobalObject::goUP:
        createObject(UP);
        views.modelPrefs = std::make_unique<TModelPrefsOf<TovUP>>(UP);
        setModelPrefs(views.modelPrefs.get());
        if (Setup.LoadSettings) {
            UP->Load();
            UP->Validate();
            UP->Save();
        }
        break;
    case TGlobalObject::goMRUs:
        createObject(MRUs);
        for (int i = 0, n = MRUs->getCapacity(); i < n; ++i) {
            MRUs->Grow();
        }
        if (Setup.LoadSettings) {
            MRUs->Load();
            MRUs->CleanUp();
            if (UP != nullptr && UP->getPurgeMRU()) {
                MRUs->Purge();
            }
            MRUs->Save();
        }
        break;
    case TGlobalObject::goWMs:
        createObject(WMs);
        for (int slot = 1; slot <= 8; ++slot) {
            WMs->Add();
        }
        if (Setup.LoadSettings) {
            WMs->Load();
            WMs->Normalise();
            WMs->SaveAll();
        }
        break;
    case TGlobalObject::goSDs:
        createObject(SDs);
        break;
    case TGlobalObject::goDF:
        createObject(DF, Setup.DataFileArguments);
        views.recentFiles = std::make_unique<TRecentFilesOfMRUs>();
        views.dataFilePrefs = std::make_unique<TDataFilePreferencesOfUP>();
        DF->setRecentFiles(views.recentFiles.get());
        DF->setPreferences(views.dataFilePrefs.get());
        DF->setFileDialogs(Setup.FileDialogs);
        break;
    case TGlobalObject::goProcess:
        createObject(Process);
        break;
    case TGlobalObject::goRHs:
        requireEmpty(PS_RHs == nullptr && CD_RHs == nullptr);
        PS_RHs = new TovRHs();
        CD_RHs = new TovRHs();
        Created[index(object)] = true;
        FillProjectSummaryHeaders();
        FillChartDataHeaders();
        break;
    case TGlobalObject::goRFs:
        requireEmpty(PS_RFs == nullptr && CD_RFs == nullptr);
        PS_RFs = new TovRFs();
        CD_RFs = new TovRFs();
        Created[index(object)] = true;
        FillProjectSummaryFields();
        FillChartDataFields();
        break;
    }
}

void TGlobalObjects::FreeAll() {
    for (TGlobalObject object : GlobalObjectFreeingOrder()) {
        if (Created[index(object)]) {
            Free(object);
            Created[index(object)] = false;
        }
    }
}

void TGlobalObjects::Free(TGlobalObject object) {
    Views& views = *OwnViews;
    switch (object) {
    case TGlobalObject::goUILs:
        freeObject(UILs);
        break;
    case TGlobalObject::goAD:
        freeObject(AD);
        break;
    case TGlobalObject::goXL:
        setXLLimits(nullptr);
        views.xlLimits.reset();
        TovUP::setExcelDefaultExtension({});
        freeObject(XL);
        if (views.installedXLEnvironment) {
            setXLEnvironment(nullptr);
            views.installedXLEnvironment = false;
        }
        break;
    case TGlobalObject::goOCP:
        freeObject(OCP);
        break;
    case TGlobalObject::goDV:
        setPathChecks(nullptr);
        views.pathChecks.reset();
        freeObject(DV);
        break;
    case TGlobalObject::goUP:
        setModelPrefs(nullptr);
        views.modelPrefs.reset();
        freeObject(UP);
        break;
    case TGlobalObject::goMRUs:
        freeObject(MRUs);
        break;
    case TGlobalObject::goWMs:
        freeObject(WMs);
        break;
    case TGlobalObject::goSDs:
        freeObject(SDs);
        break;
    case TGlobalObject::goDF:
        freeObject(DF);
        views.recentFiles.reset();
        views.dataFilePrefs.reset();
        break;
    case TGlobalObject::goProcess:
        freeObject(Process);
        break;
    case TGlobalObject::goRHs:
        freeObject(CD_RHs);
        freeObject(PS_RHs);
        break;
    case TGlobalObject::goRFs:
        freeObject(CD_RFs);
        freeObject(PS_RFs);
        break;
    }
}
