// The decryptor of password-protected workbooks: any bytes are decrypted with the test password
// or refused with an error.
#include "workbook/detail/Decrypt.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input = fuzzsupport::bytes(data, size);
    try {
        if (workbook::detail::isEncryptedPackage(input)) {
            workbook::detail::decryptPackage(input, QStringLiteral("secret"));
        }
    } catch (const platform::Exception&) {
    }
    return 0;
}
