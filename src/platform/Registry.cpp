#include "Registry.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>
#include <map>
#include <memory>
#include <mutex>

namespace platform {
namespace {

// The hives as last parsed, by path, with the bytes they were parsed from. Every read still reads
// the file, so that a change by another instance or program is seen at once; only the parse,
// which is what costs with a large hive, is skipped while the bytes are the same.
class ParsedHives {
public:
    static ParsedHives& instance() {
        static ParsedHives hives;
        return hives;
    }

    // The hive in the file now; a missing file is an empty hive. Raises RegistryError as
    // RegistryHive::load does.
    std::shared_ptr<const RegistryHive> load(const QString& path) {
        const std::optional<QByteArray> bytes = RegistryHive::readFile(path);
        if (!bytes) {
            static const auto empty = std::make_shared<const RegistryHive>();
            return empty;
        }
        {
            const std::lock_guard lock(mutex_);
            const auto it = entries_.find(path);
            if (it != entries_.end() && it->second.bytes == *bytes) {
                return it->second.hive;
            }
        }
        auto hive = std::make_shared<const RegistryHive>(RegistryHive::parse(*bytes, path));
        remember(path, *bytes, hive);
        return hive;
    }

    // The hive just written to path as those bytes.
    void remember(const QString& path, const QByteArray& bytes,
                  std::shared_ptr<const RegistryHive> hive) {
        const std::lock_guard lock(mutex_);
        entries_[path] = {bytes, std::move(hive)};
    }

private:
    struct Entry {
        QByteArray bytes;
        std::shared_ptr<const RegistryHive> hive;
    };
    std::mutex mutex_;
    std::map<QString, Entry> entries_;
};

// Writes the hive to path and keeps it as the parse of what was written.
void saveHive(const QString& path, RegistryHive hive) {
    const QByteArray written = hive.save(path);
    ParsedHives::instance().remember(path, written,
                                     std::make_shared<const RegistryHive>(std::move(hive)));
}

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

// The open batch's user hive when a batch is open on that path, else nullptr.
RegistryHive* batchHive(const QString& path) {
    OpenBatch* batch = openBatch();
    if (batch == nullptr || batch->path != path) {
        return nullptr;
    }
    if (batch->loadError) {
        throw *batch->loadError;
    }
    if (!batch->hive) {
        try {
            batch->hive = *ParsedHives::instance().load(path);
        } catch (const RegistryError& e) {
            batch->loadError = e;
            throw;
        }
    }
    return &*batch->hive;
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
    std::shared_ptr<const RegistryHive> held;
    const RegistryHive* hive =
        root == RegistryRoot::CurrentUser ? batchHive(files_.userHive) : nullptr;
    if (hive == nullptr) {
        held = ParsedHives::instance().load(root == RegistryRoot::CurrentUser ? files_.userHive
                                                                              : files_.machineHive);
        hive = held.get();
    }
    if (const RegValue* value = hive->value(fullKey(root, key), name)) {
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
    if (RegistryHive* hive = batchHive(files_.userHive)) {
        hive->setValue(fullKey(root, key), name, value);
        openBatch()->dirty = true;
        return;
    }
    // A hive that cannot be read is never replaced: what it holds would be lost.
    RegistryHive hive = *ParsedHives::instance().load(files_.userHive);
    hive.setValue(fullKey(root, key), name, value);
    saveHive(files_.userHive, std::move(hive));
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
    saveHive(batch->path, *batch->hive);
    batch->dirty = false;
}

} // namespace platform
