#pragma once

#include "platform/Registry.h"

#include <QString>

// The registry roots the callers pass.
using HKEY = platform::RegistryRoot;
inline constexpr HKEY HKEY_CLASSES_ROOT = platform::RegistryRoot::ClassesRoot;
inline constexpr HKEY HKEY_CURRENT_USER = platform::RegistryRoot::CurrentUser;
inline constexpr HKEY HKEY_LOCAL_MACHINE = platform::RegistryRoot::LocalMachine;

// One-shot registry access: each call opens what it needs, reads or writes one value and keeps
// nothing open. An empty value name stands for the key's default value. Reads yield the default
// when the key or value is missing and raise platform::RegistryError for a value of the wrong type
// or a hive that cannot be read; writes create the key and raise when the value cannot be stored.
bool RegValueExists(HKEY root, const QString& key, const QString& name);
QString RegReadString(HKEY root, const QString& key, const QString& name,
                      const QString& defaultValue);
int RegReadInteger(HKEY root, const QString& key, const QString& name, int defaultValue);
bool RegReadBool(HKEY root, const QString& key, const QString& name, bool defaultValue);
bool RegWriteString(HKEY root, const QString& key, const QString& name, const QString& value);
bool RegWriteInteger(HKEY root, const QString& key, const QString& name, int value);
bool RegWriteBool(HKEY root, const QString& key, const QString& name, bool value);

// The hive files in use now (the registry folder variable, the installed machine hive of the
// program folder).
platform::RegistryFiles RegFiles();

// Groups the reads and writes of one load or save so that the user hive is read and written once;
// commit() stores the writes (raising when they cannot be stored).
class TRegBatch {
public:
    TRegBatch() : batch_(RegFiles()) {}
    void commit() { batch_.commit(); }

private:
    platform::RegistryBatch batch_;
};

// The plain error box of a registry load or save that failed: UI texts 1509 and 1510 (reading) or
// 1511 and 1512 (writing), then "Details: %s" of the error's message.
void ShowRegistryReadError(const QString& details);
void ShowRegistryWriteError(const QString& details);
QString RegistryErrorText(bool writing, const QString& details);

// Collects the failures of a load or save that goes on after a failing value, to show them in
// one error box at the end.
class TRegErrors {
public:
    void add(const QString& message) {
        if (!message.isEmpty() && !Messages.contains(message)) {
            Messages << message;
        }
        Failed = true;
    }
    bool failed() const { return Failed; }
    // Shows the box when something failed.
    void show(bool writing) const;

private:
    QStringList Messages;
    bool Failed = false;
};
