#pragma once

#include "workbook/Error.h"

#include <QByteArray>
#include <QString>

namespace workbook::detail {

// The error decryptPackage raises for an incorrect password.
class WrongPasswordError : public Error {
public:
    using Error::Error;
};

// Whether the bytes are a compound file holding an encrypted workbook package.
bool isEncryptedPackage(const QByteArray& fileBytes);

// Decrypts a password-protected workbook package (ECMA-376 Standard or Agile encryption inside a
// compound file) and returns the plain package bytes. An empty password first tries the
// default password the spreadsheet application uses for files protected without one. Raises
// workbook::Error with a description for a missing or incorrect password, an unsupported
// encryption method or a damaged file.
QByteArray decryptPackage(const QByteArray& fileBytes, const QString& password);

} // namespace workbook::detail
