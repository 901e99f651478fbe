#pragma once

// Reading and comparing workbook packages (zip archives of XML parts) in the tests.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>

namespace testsupport {

// Every part of a package by name; empty when the package cannot be read.
std::map<QString, QByteArray> ReadPackage(const QString& path);
// One part; empty when the package or the part cannot be read.
QByteArray ReadPart(const QString& path, const QString& part);

// Whether two parts hold the same XML (parsed, so that quoting and the form of empty elements do
// not count); parts that are not XML compare byte for byte.
bool SameXml(const QByteArray& a, const QByteArray& b);

// The parts of `before` that `after` lacks or holds with other content, leaving out the parts
// named in `changed` (exact names, or prefixes ending in "/").
QStringList ChangedParts(const std::map<QString, QByteArray>& before,
                         const std::map<QString, QByteArray>& after, const QStringList& changed);

} // namespace testsupport
