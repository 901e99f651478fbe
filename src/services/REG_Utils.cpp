#include "REG_Utils.h"

#include "ovAD.h"
#include "ovUIL.h"
#include "platform/Format.h"
#include "platform/MessageBox.h"
#include "services/TextIds.h"

namespace {

platform::Registry registry() {
    return platform::Registry(RegFiles());
}

} // namespace

platform::RegistryFiles RegFiles() {
    const QString folder = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
    return platform::registryFiles(folder + QStringLiteral("machine.reg"));
}

bool RegValueExists(HKEY root, const QString& key, const QString& name) {
    return registry().valueExists(root, key, name);
}

QString RegReadString(HKEY root, const QString& key, const QString& name,
                      const QString& defaultValue) {
    return registry().readString(root, key, name, defaultValue);
}

int RegReadInteger(HKEY root, const QString& key, const QString& name, int defaultValue) {
    return registry().readInteger(root, key, name, defaultValue);
}

bool RegReadBool(HKEY root, const QString& key, const QString& name, bool defaultValue) {
    return registry().readBool(root, key, name, defaultValue);
}

bool RegWriteString(HKEY root, const QString& key, const QString& name, const QString& value) {
    registry().writeString(root, key, name, value);
    return true;
}

bool RegWriteInteger(HKEY root, const QString& key, const QString& name, int value) {
    registry().writeInteger(root, key, name, value);
    return true;
}

bool RegWriteBool(HKEY root, const QString& key, const QString& name, bool value) {
    registry().writeBool(root, key, name, value);
    return true;
}

QString RegistryErrorText(bool writing, const QString& details) {
    const QString crlf2 = QStringLiteral("\r\n\r\n");
    const QString frame = QStringLiteral(" %s ");
    return platform::Format(frame, {UIT(writing ? 1511 : 1509)}) + crlf2 +
           platform::Format(frame, {UIT(writing ? 1512 : 1510)}) + crlf2 +
           platform::Format(frame, {platform::Format(UIT(txt::Details_1423), {details})});
}

void ShowRegistryReadError(const QString& details) {
    platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                RegistryErrorText(false, details));
}

void ShowRegistryWriteError(const QString& details) {
    platform::messageBox().show(platform::MessageBoxKind::Error, QString(),
                                RegistryErrorText(true, details));
}

void TRegErrors::show(bool writing) const {
    if (!Failed) {
        return;
    }
    const QString details = Messages.join(QStringLiteral("\r\n"));
    if (writing) {
        ShowRegistryWriteError(details);
    } else {
        ShowRegistryReadError(details);
    }
}
