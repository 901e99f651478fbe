#include "support/Package.h"

#include <QFile>

#include <pugixml.hpp>
#include <sstream>
#include <zip.h>

namespace testsupport {
namespace {

QByteArray readEntry(zip_t* archive, zip_uint64_t index) {
    QByteArray bytes;
    if (zip_file_t* file = zip_fopen_index(archive, index, 0)) {
        char buffer[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
            bytes.append(buffer, static_cast<qsizetype>(n));
        }
        zip_fclose(file);
    }
    return bytes;
}

bool listed(const QString& part, const QStringList& names) {
    for (const QString& name : names) {
        if (part == name || (name.endsWith(QLatin1Char('/')) && part.startsWith(name))) {
            return true;
        }
    }
    return false;
}

} // namespace

std::map<QString, QByteArray> ReadPackage(const QString& path) {
    std::map<QString, QByteArray> parts;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return parts;
    }
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        parts[QString::fromUtf8(zip_get_name(archive, index, 0))] = readEntry(archive, index);
    }
    zip_close(archive);
    return parts;
}

QByteArray ReadPart(const QString& path, const QString& part) {
    const std::map<QString, QByteArray> parts = ReadPackage(path);
    const auto it = parts.find(part);
    return it == parts.end() ? QByteArray() : it->second;
}

bool SameXml(const QByteArray& a, const QByteArray& b) {
    if (a == b) {
        return true;
    }
    pugi::xml_document x;
    pugi::xml_document y;
    const unsigned options = pugi::parse_default | pugi::parse_declaration;
    if (!x.load_buffer(a.constData(), static_cast<size_t>(a.size()), options) ||
        !y.load_buffer(b.constData(), static_cast<size_t>(b.size()), options)) {
        return false;
    }
    std::ostringstream left;
    std::ostringstream right;
    x.save(left, "", pugi::format_raw);
    y.save(right, "", pugi::format_raw);
    return left.str() == right.str();
}

QStringList ChangedParts(const std::map<QString, QByteArray>& before,
                         const std::map<QString, QByteArray>& after, const QStringList& changed) {
    QStringList differing;
    for (const auto& [name, bytes] : before) {
        if (listed(name, changed)) {
            continue;
        }
        const auto it = after.find(name);
        if (it == after.end() || !SameXml(bytes, it->second)) {
            differing << name;
        }
    }
    return differing;
}

} // namespace testsupport
