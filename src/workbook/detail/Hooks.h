#pragma once

#include <QString>
#include <optional>
#include <string>

// Seams through which the package model hands work to the encryption, .xls and row-shift code.
// Each function is declared here and defined once: a stub that reports the feature as missing
// until the real implementation replaces the stub's source file in the build.
namespace workbook::detail {

// Decrypts a password-protected OOXML package held in a compound-file (OLE) container.
// Returns the plain package bytes (a zip archive), or std::nullopt when the password is wrong.
// Raises workbook::Error with a description for a container that cannot be read.
// Stub: detail/DecryptHookStub.cpp.
std::optional<std::string> decryptPackage(const std::string& fileBytes, const QString& password);

// Converts a .xls workbook (BIFF in a compound-file container) read from `path` into the bytes
// of an equivalent .xlsx package. Raises workbook::Error with a description on failure
// (LibreOffice missing, a password-protected .xls, a conversion that failed).
// Stub: detail/XlsHookStub.cpp.
std::string convertXlsToXlsx(const QString& path, const std::string& fileBytes,
                             const QString& password);

// Converts the .xlsx package written at `xlsxPath` into a .xls workbook at `xlsPath` (Save As
// with file format 56). Raises workbook::Error with a description on failure.
// Stub: detail/XlsHookStub.cpp.
void convertXlsxToXls(const QString& xlsxPath, const QString& xlsPath);

} // namespace workbook::detail
