#include "Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace platform {
namespace {

// The open batch: the user hive in memory.
struct OpenBatch {
    QString path;
    std::optional<RegistryHive> hive; // loaded on first use
    std::optional<RegistryError> loadError;
    bool dirty = false;
};

OpenBatch*& openBatch() {
    static OpenBatch* batch = nullptr;
    return batch;
}

QString fullKey(RegistryRoot root, const QString& key) {
    QString k = key;
    while (k.startsWith(QLatin1Char('\\'))) {
        k.remove(0, 1);
    }
    return k.isEmpty() ? registryRootName(root) : registryRootName(root) + QLatin1Char('\\') + k;
}

QString describe(RegistryRoot root, const QString& key, const QString& name) {
    return QStringLiteral("'%1' in %2")
        .arg(name.isEmpty() ? QStringLiteral("(Default)") : name, fullKey(root, key));
}

// The user hive, from the open batch when there is one.
const RegistryHive& userHive(const QString& path, std::optional<RegistryHive>& own) {
    if (OpenBatch* batch = openBatch(); batch != nullptr && batch->path == path) {
        if (batch->loadError) {
            throw *batch->loadError;
        }
        if (!batch->hive) {
            try {
                batch->hive = RegistryHive::load(path);
            } catch (const RegistryError& e) {
                batch->loadError = e;
                throw;
            }
        }
        return *batch->hive;
    }
    own = RegistryHive::load(path);
    return *own;
}

} // namespace

QString registryRootName(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case RegistryRoot::CurrentUser:
        return QStringLiteral("HKEY_CURRENT_USER");
    case RegistryRoot::LocalMachine:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    }
    return {};
}

RegistryFiles registryFiles(const QString& installedMachineHive) {
    RegistryFiles files;
    const QString folder = qEnvironmentVariable(kRegistryFolderVariable).trimmed();
    if (!folder.isEmpty()) {
        const QDir dir(folder);
        files.userHive = dir.absoluteFilePath(QStringLiteral("user.reg"));
        const QString machine = dir.absoluteFilePath(QStringLiteral("machine.reg"));
        files.machineHive = QFileInfo::exists(machine) ? machine : installedMachineHive;
        return files;
    }
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    files.userHive = config + QStringLiteral("/Tarrow Studio/Ovik KRV Tessel/user.reg");
    files.machineHive = installedMachineHive;
    return files;
}

std::optional<RegValue> Registry::read(RegistryRoot root, const QString& key,
                                       const QString& name) const {
    std::optional<RegistryHive> own;
    const QString hiveKey = fullKey(root, key);
    const RegistryHive& hive = root == RegistryRoot::CurrentUser
                                   ? userHive(files_.userHive, own)
                                   : *(own = RegistryHive::load(files_.machineHive));
    if (const RegValue* value = hive.value(hiveKey, name)) {
        return *value;
    }
    return std::nullopt;
}

bool Registry::valueExists(RegistryRoot root, const QString& key, const QString& name) const {
    return read(root, key, name).has_value();
}

QString Registry::readString(RegistryRoot root, const QString& key, const QString& name,
                             const QString& defaultValue) const {
    const auto value = read(root, key, name);
    if (!value) {
        return defaultValue;
    }
    if (value->type != RegValueType::String) {
        throw RegistryError(QStringLiteral("Invalid data type for %1: a text was expected.")
                                .arg(describe(root, key, name)));
    }
    return value->text;
}

int Registry::readInteger(RegistryRoot root, const QString& key, const QString& name,
                          int defaultValue) const {
    const auto value = read(root, key, name);
    if (!value) {
        return defaultValue;
    }
    if (value->type != RegValueType::DWord) {
        throw RegistryError(QStringLiteral("Invalid data type for %1: a number was expected.")
                                .arg(describe(root, key, name)));
    }
    return static_cast<int>(value->dword);
}

bool Registry::readBool(RegistryRoot root, const QString& key, const QString& name,
                        bool defaultValue) const {
    return readInteger(root, key, name, defaultValue ? 1 : 0) != 0;
}

void Registry::write(RegistryRoot root, const QString& key, const QString& name,
                     const RegValue& value) const {
    if (root != RegistryRoot::CurrentUser) {
        throw RegistryError(QStringLiteral("Unable to write %1: the key is read only.")
                                .arg(describe(root, key, name)));
    }
    if (OpenBatch* batch = openBatch(); batch != nullptr && batch->path == files_.userHive) {
        std::optional<RegistryHive> unused;
        userHive(files_.userHive, unused);
        batch->hive->setValue(fullKey(root, key), name, value);
        batch->dirty = true;
        return;
    }
    // A hive that cannot be read is never replaced: what it holds would be lost.
    RegistryHive hive = RegistryHive::load(files_.userHive);
    hive.setValue(fullKey(root, key), name, value);
    hive.save(files_.userHive);
}

void Registry::writeString(RegistryRoot root, const QString& key, const QString& name,
                           const QString& value) const {
    write(root, key, name, RegValue::string(value));
}

void Registry::writeInteger(RegistryRoot root, const QString& key, const QString& name,
                            int value) const {
    write(root, key, name, RegValue::number(static_cast<quint32>(value)));
}

void Registry::writeBool(RegistryRoot root, const QString& key, const QString& name,
                         bool value) const {
    write(root, key, name, RegValue::number(value ? 1U : 0U));
}

RegistryBatch::RegistryBatch(const RegistryFiles& files) {
    if (openBatch() == nullptr) {
        openBatch() = new OpenBatch{files.userHive, std::nullopt, std::nullopt, false};
        owner_ = true;
    }
}

RegistryBatch::~RegistryBatch() {
    if (owner_) {
        delete openBatch();
        openBatch() = nullptr;
    }
}

void RegistryBatch::commit() {
    OpenBatch* batch = openBatch();
    if (!owner_ || batch == nullptr || !batch->dirty || !batch->hive) {
        return;
    }
    batch->hive->save(batch->path);
    batch->dirty = false;
}

} // namespace platform
