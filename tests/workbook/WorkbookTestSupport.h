#pragma once

// Helpers of the spreadsheet engine tests: fixture paths, workbooks built in the test, and
// reading the parts of a saved package.
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>
#include <zip.h>

namespace wbtest {

inline QString fixture(const char* name) {
    return QStringLiteral(KRV_TEST_DATA_DIR "/") + QString::fromLatin1(name);
}

// Every part of a zip package, by name, uncompressed.
inline std::map<std::string, std::string> readParts(const QString& path) {
    std::map<std::string, std::string> parts;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return parts;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        std::string data(size_t(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        parts[stat.name] = std::move(data);
    }
    zip_discard(archive);
    return parts;
}

// Compression method of each part of a zip package.
inline std::map<std::string, int> compressionMethods(const QString& path) {
    std::map<std::string, int> methods;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    const zip_int64_t count = archive ? zip_get_num_entries(archive, 0) : 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_index(archive, zip_uint64_t(i), 0, &stat);
        methods[stat.name] = stat.comp_method;
    }
    if (archive) {
        zip_discard(archive);
    }
    return methods;
}

inline void writeZip(const QString& path,
                     const std::vector<std::pair<std::string, std::string>>& parts) {
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
        zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE);
    }
    zip_close(archive);
}

// A workbook of one worksheet "Sheet1" with the given sheetData content and optional styles.
inline void writeWorkbook(const QString& path, const std::string& sheetData,
                          const std::string& stylesXml = {}) {
    const std::string ns =
        R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::string types =
        R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
        R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)";
    std::string workbookRels =
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
        R"(<Relationship Id="rId1" Type=")" +
        rel + R"(worksheet" Target="worksheets/sheet1.xml"/>)";
    std::vector<std::pair<std::string, std::string>> parts;
    if (!stylesXml.empty()) {
        types +=
            R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)";
        workbookRels +=
            R"(<Relationship Id="rId2" Type=")" + rel + R"(styles" Target="styles.xml"/>)";
        parts.push_back({"xl/styles.xml", stylesXml});
    }
    parts.push_back({"[Content_Types].xml", types + "</Types>"});
    parts.push_back(
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type=")" +
             rel + R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)"});
    parts.push_back(
        {"xl/workbook.xml",
         "<workbook " + ns +
             R"(><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)"});
    parts.push_back({"xl/_rels/workbook.xml.rels", workbookRels + "</Relationships>"});
    parts.push_back({"xl/worksheets/sheet1.xml",
                     "<worksheet " + ns + "><sheetData>" + sheetData + "</sheetData></worksheet>"});
    writeZip(path, parts);
}

} // namespace wbtest
