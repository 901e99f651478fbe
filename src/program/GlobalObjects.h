#pragma once

#include "services/ovAD.h"

#include <QStringList>
#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

class IFileDialogs;

// The global objects the program names, in the order start-up creates them (goXL: XL). goRHs
// stands for PS_RHs and CD_RHs, goRFs for PS_RFs and CD_RFs.
enum class TGlobalObject {
    goUILs,
    goAD,
    goXL,
    goOCP,
    goDV,
    goUP,
    goMRUs,
    goWMs,
    goSDs,
    goDF,
    goProcess,
    goRHs,
    goRFs
};
inline constexpr int kGlobalObjectCount = static_cast<int>(TGlobalObject::goRFs) + 1;

// The order the objects are freed in: the report tables and the process before what they read,
// the data file before the definitions it holds, the text table last because every other object
// may still report through it.
const std::vector<TGlobalObject>& GlobalObjectFreeingOrder();
// The object's name ("XL", "RHs") and the global variables it is kept in, in the order they are
// freed ("CD_RHs", "PS_RHs").
const char* GlobalObjectName(TGlobalObject object);
std::vector<const char*> GlobalVariableNames(TGlobalObject object);

// What the objects are created with beyond the defaults.
struct TGlobalObjectsSetup {
    // AD: the program folder (empty: the installed data folder) and the measured dialogue font.
    QString ProgramFolder;
    TDialogFontSize DialogFont;
    // DF: the data files named on the command line and the desktop's file dialogues (none
    // without windows).
    QStringList DataFileArguments;
    IFileDialogs* FileDialogs = nullptr;
    // UP, MRUs, WMs: read, tidy and write back the stored preferences, recent files and window
    // geometry as the program does; off, they keep their defaults and the registry is untouched.
    bool LoadSettings = true;
};

// Owns the global objects: creates them one by one or a chosen subset in the program's order,
// installs the views other layers reach them through, and frees what it created in the freeing
// order (each view before its object), leaving every global empty. Objects it did not create
// (set by someone else) it leaves alone.
class TGlobalObjects {
public:
    explicit TGlobalObjects(TGlobalObjectsSetup setup = {});
    TGlobalObjects(std::initializer_list<TGlobalObject> objects, TGlobalObjectsSetup setup = {});
    ~TGlobalObjects();
    TGlobalObjects(const TGlobalObjects&) = delete;
    TGlobalObjects& operator=(const TGlobalObjects&) = delete;

    // Creates one object (a start-up step); raises what its creation raised.
    void Create(TGlobalObject object);
    bool isCreated(TGlobalObject object) const { return Created[index(object)]; }
    // Frees every object this owner created, in the freeing order.
    void FreeAll();

private:
    struct Views;

    static size_t index(TGlobalObject object) { return static_cast<size_t>(object); }
    void Free(TGlobalObject object);

    TGlobalObjectsSetup Setup;
    std::array<bool, kGlobalObjectCount> Created{};
    std::unique_ptr<Views> OwnViews;
};
