#include "workbook/Error.h"
#include "workbook/detail/Decrypt.h"
#include "workbook/detail/Hooks.h"

namespace workbook::detail {

std::optional<std::string> decryptPackage(const std::string& fileBytes, const QString& password) {
    const QByteArray bytes = QByteArray::fromRawData(fileBytes.data(), qsizetype(fileBytes.size()));
    try {
        const QByteArray plain = decryptPackage(bytes, password);
        return std::string(plain.constData(), size_t(plain.size()));
    } catch (const WrongPasswordError&) {
        // The caller words the wrong-password message itself, with the file's name.
        return std::nullopt;
    }
}

} // namespace workbook::detail
