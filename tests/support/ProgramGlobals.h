#pragma once

#include "model/ovDF.h"
#include "program/GlobalObjects.h"
#include "support/FakeDataFile.h"
#include "support/TempRegistry.h"

#include <initializer_list>
#include <memory>

namespace testsupport {

// The program's global objects as start-up creates them (the spreadsheet program of the newest
// version installed, the data file without command-line paths and with scripted file
// dialogues), freed again with this object; the text table stays.
class ProgramGlobals {
public:
    explicit ProgramGlobals(std::initializer_list<TGlobalObject> objectsToCreate = {
                                TGlobalObject::goAD, TGlobalObject::goXL, TGlobalObject::goOCP,
                                TGlobalObject::goDV, TGlobalObject::goUP, TGlobalObject::goMRUs,
                                TGlobalObject::goWMs, TGlobalObject::goSDs, TGlobalObject::goDF,
                                TGlobalObject::goProcess, TGlobalObject::goRHs,
                                TGlobalObject::goRFs}) {
        registry.writeMachineHive("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]\r\n"
                                  "@=\"Excel.Application.15\"\r\n");
        TGlobalObjectsSetup setup;
        setup.FileDialogs = &fileDialogs;
        objects = std::make_unique<TGlobalObjects>(objectsToCreate, setup);
        DF->setFileDialogs(&fileDialogs);
        DF->setRecentFiles(&recent);
        if (DF->getCmdLinePending()) {
            // The test runner's own arguments are no data file paths.
            DF->New();
        }
    }
    ProgramGlobals(const ProgramGlobals&) = delete;
    ProgramGlobals& operator=(const ProgramGlobals&) = delete;

    TempRegistry registry;
    FakeFileDialogs fileDialogs;
    FakeRecentFiles recent;
    // Freed first: the objects go before the registry and the fakes they use.
    std::unique_ptr<TGlobalObjects> objects;
};

} // namespace testsupport
