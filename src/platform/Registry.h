#pragma once

#include "platform/RegistryHive.h"

#include <QString>
#include <optional>

namespace platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// The key name of a root as the hives write it ("HKEY_CURRENT_USER").
QString registryRootName(RegistryRoot root);

// The two hive files: the user's (HKEY_CURRENT_USER, read and written) and the machine's
// (HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE, read only).
struct RegistryFiles {
    QString userHive;
    QString machineHive;
};

// The environment variable that names another folder for the hives (tests, isolated runs).
inline constexpr const char* kRegistryFolderVariable = "OVIK_KRV_TESSEL_REGISTRY";

// Where the hives are now: user.reg in the folder of OVIK_KRV_TESSEL_REGISTRY when it is set,
// else under $XDG_CONFIG_HOME (~/.config) "Tarrow Studio/Ovik KRV Tessel/"; machine.reg of that
// folder when there is one, else the installed one.
RegistryFiles registryFiles(const QString& installedMachineHive);

// One-shot registry access: every call reads the hive it needs and every write rewrites the user
// hive, unless a batch is open (RegistryBatch), which keeps the user hive in memory and writes it
// once. A hive file is parsed again only when its bytes have changed since it was last parsed or
// written, so that reading settings one by one from a large hive stays cheap. Missing keys and
// values are not errors; a value of the wrong type raises RegistryError.
class Registry {
public:
    explicit Registry(RegistryFiles files) : files_(std::move(files)) {}

    bool valueExists(RegistryRoot root, const QString& key, const QString& name) const;
    QString readString(RegistryRoot root, const QString& key, const QString& name,
                       const QString& defaultValue) const;
    int readInteger(RegistryRoot root, const QString& key, const QString& name,
                    int defaultValue) const;
    bool readBool(RegistryRoot root, const QString& key, const QString& name,
                  bool defaultValue) const;

    // Writes under HKEY_CURRENT_USER, creating the key; the machine's roots are read only and
    // raise RegistryError.
    void writeString(RegistryRoot root, const QString& key, const QString& name,
                     const QString& value) const;
    void writeInteger(RegistryRoot root, const QString& key, const QString& name, int value) const;
    void writeBool(RegistryRoot root, const QString& key, const QString& name, bool value) const;

    const RegistryFiles& files() const { return files_; }

private:
    std::optional<RegValue> read(RegistryRoot root, const QString& key, const QString& name) const;
    void write(RegistryRoot root, const QString& key, const QString& name,
               const RegValue& value) const;

    RegistryFiles files_;
};

// Keeps the user hive in memory while it lives, so that a series of reads and writes (saving
// every preference) reads and writes the file once: commit() writes it (raising RegistryError
// when it cannot); a batch destroyed without commit discards its writes. Batches do not nest: an
// inner batch joins the outer one.
class RegistryBatch {
public:
    explicit RegistryBatch(const RegistryFiles& files);
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    void commit();

private:
    bool owner_ = false;
};

} // namespace platform
