#include "forms/OBJ_Utils.h"

#include "program/GlobalObjects.h"

namespace {

std::function<bool()> creating(TGlobalObjects& globals, TGlobalObject object,
                               bool literalDetails = false) {
    return [&globals, object, literalDetails] {
        return RunStartupStepWork([&globals, object] { globals.Create(object); }, literalDetails);
    };
}

} // namespace

std::vector<TStartupStep> StartupSteps(TGlobalObjects& globals) {
    using G = TGlobalObject;
    // name, work, splash text, failure text (or literal), frees the splash, creates the splash;
    // the text table does not exist while its own step runs, so that step's texts are literals.
    return {
        {"InitUILs", creating(globals, G::goUILs, true), 0, 0,
         " Unable to initialise User Interface Language. ", false, false},
        {"InitAD", creating(globals, G::goAD), 0, 1407, nullptr, false, true},
        {"InitXL", creating(globals, G::goXL), 18, 1419, nullptr, true, false},
        {"InitOCP", creating(globals, G::goOCP), 11, 1412, nullptr, true, false},
        {"InitDV", creating(globals, G::goDV), 9, 1409, nullptr, true, false},
        {"InitUP", creating(globals, G::goUP), 16, 1417, nullptr, true, false},
        {"InitMRUs", creating(globals, G::goMRUs), 10, 1411, nullptr, true, false},
        {"InitWMs", creating(globals, G::goWMs), 17, 1418, nullptr, true, false},
        {"InitSDs", creating(globals, G::goSDs), 15, 1416, nullptr, true, false},
        {"InitDF", creating(globals, G::goDF), 8, 1408, nullptr, true, false},
        {"InitProcess", creating(globals, G::goProcess), 12, 1413, nullptr, true, false},
        {"InitRHs", creating(globals, G::goRHs), 13, 1414, nullptr, true, false},
        {"InitRFs", creating(globals, G::goRFs), 14, 1415, nullptr, true, false},
    };
}
