#pragma once

#include "platform/Registry.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace testsupport {

// Sets an environment variable for the life of the object and restores it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value.toUtf8());
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A private registry folder for one test: user.reg (and machine.reg when a test writes one) in a
// temporary folder named by the registry folder variable.
class TempRegistry {
public:
    TempRegistry() : env_(platform::kRegistryFolderVariable, dir_.path()) {}

    QString folder() const { return dir_.path(); }
    QString userHive() const { return dir_.filePath(QStringLiteral("user.reg")); }
    QString machineHive() const { return dir_.filePath(QStringLiteral("machine.reg")); }

    static void write(const QString& path, const QByteArray& text) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text);
        }
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeUserHive(const QByteArray& text) const { write(userHive(), text); }
    QByteArray readUserHive() const { return read(userHive()); }
    void writeMachineHive(const QByteArray& text) const { write(machineHive(), text); }

private:
    QTemporaryDir dir_;
    ScopedEnv env_;
};

} // namespace testsupport
