// The settings hive reader: any text is read or refused with RegistryError; what is read writes
// back to a text that reads back the same, and a text the program stores reads back exactly.
// The input is the hive file, then after the first NUL byte the stored text as UTF-16 code units.
#include "FuzzSupport.h"
#include "platform/RegistryHive.h"

using platform::RegistryHive;
using platform::RegValue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzzsupport::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    const QByteArray file = split < 0 ? input : input.left(split);
    const QByteArray stored = split < 0 ? QByteArray() : input.mid(split + 1);
    RegistryHive hive;
    try {
        hive = RegistryHive::parse(file, QStringLiteral("fuzz.reg"));
    } catch (const platform::RegistryError&) {
        return 0;
    }
    const QByteArray written = hive.serialize();
    RegistryHive again = RegistryHive::parse(written, QStringLiteral("fuzz.reg"));
    fuzzsupport::check(again.serialize() == written, "a rewritten hive reads back differently");

    const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Fuzz");
    const QString text(reinterpret_cast<const QChar*>(stored.constData()), stored.size() / 2);
    again.setValue(key, QStringLiteral("Text"), RegValue::string(text));
    again.setValue(key, QStringLiteral("Number"), RegValue::number(static_cast<quint32>(size)));
    const RegistryHive back = RegistryHive::parse(again.serialize(), QStringLiteral("fuzz.reg"));
    const RegValue* readText = back.value(key, QStringLiteral("Text"));
    const RegValue* readNumber = back.value(key, QStringLiteral("Number"));
    fuzzsupport::check(readText != nullptr && readText->text == text,
                       "a stored text reads back differently");
    fuzzsupport::check(readNumber != nullptr && readNumber->dword == size,
                       "a stored number reads back differently");
    return 0;
}
