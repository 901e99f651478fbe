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

inline const std::string kMainNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline const std::string kRelationshipsNamespace =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline const std::string kPackageRelationshipsNamespace =
    "http://schemas.openxmlformats.org/package/2006/relationships";
inline const std::string kContentTypesNamespace =
    "http://schemas.openxmlformats.org/package/2006/content-types";

// The parts of a workbook of one worksheet "Sheet1", by name, for a test to change before it
// writes them: the sheet part given whole, shared strings and styles when given.
inline std::map<std::string, std::string> workbookParts(const std::string& sheetXml,
                                                        const std::string& sharedStringsXml = {},
                                                        const std::string& stylesXml = {}) {
    const std::string rel = kRelationshipsNamespace + "/";
    const std::string ct = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
    std::string types = R"(<Types xmlns=")" + kContentTypesNamespace + R"(">)" +
                        R"(<Default Extension="rels" ContentType="application/)"
                        R"(vnd.openxmlformats-package.relationships+xml"/>)"
                        R"(<Default Extension="xml" ContentType="application/xml"/>)"
                        R"(<Override PartName="/xl/workbook.xml" ContentType=")" +
                        ct + R"(sheet.main+xml"/>)" +
                        R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType=")" + ct +
                        R"(worksheet+xml"/>)";
    std::string workbookRels = R"(<Relationships xmlns=")" + kPackageRelationshipsNamespace +
                               R"("><Relationship Id="rId1" Type=")" + rel +
                               R"(worksheet" Target="worksheets/sheet1.xml"/>)";
    std::map<std::string, std::string> parts;
    if (!sharedStringsXml.empty()) {
        types += R"(<Override PartName="/xl/sharedStrings.xml" ContentType=")" + ct +
                 R"(sharedStrings+xml"/>)";
        workbookRels += R"(<Relationship Id="rId2" Type=")" + rel +
                        R"(sharedStrings" Target="sharedStrings.xml"/>)";
        parts["xl/sharedStrings.xml"] = sharedStringsXml;
    }
    if (!stylesXml.empty()) {
        types += R"(<Override PartName="/xl/styles.xml" ContentType=")" + ct + R"(styles+xml"/>)";
        workbookRels +=
            R"(<Relationship Id="rId3" Type=")" + rel + R"(styles" Target="styles.xml"/>)";
        parts["xl/styles.xml"] = stylesXml;
    }
    parts["[Content_Types].xml"] = types + "</Types>";
    parts["_rels/.rels"] = R"(<Relationships xmlns=")" + kPackageRelationshipsNamespace +
                           R"("><Relationship Id="rId1" Type=")" + rel +
                           R"(officeDocument" Target="xl/workbook.xml"/></Relationships>)";
    parts["xl/workbook.xml"] = R"(<workbook xmlns=")" + kMainNamespace + R"(" xmlns:r=")" +
                               kRelationshipsNamespace +
                               R"("><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/>)"
                               R"(</sheets></workbook>)";
    parts["xl/_rels/workbook.xml.rels"] = workbookRels + "</Relationships>";
    parts["xl/worksheets/sheet1.xml"] = sheetXml;
    return parts;
}

// A worksheet part holding the given sheetData content.
inline std::string worksheetXml(const std::string& sheetData) {
    return R"(<worksheet xmlns=")" + kMainNamespace + R"(" xmlns:r=")" + kRelationshipsNamespace +
           R"("><sheetData>)" + sheetData + "</sheetData></worksheet>";
}

inline void writeZip(const QString& path, const std::map<std::string, std::string>& parts) {
    writeZip(path, std::vector<std::pair<std::string, std::string>>(parts.begin(), parts.end()));
}

// A workbook of one worksheet "Sheet1" with the given sheetData content and optional styles.
inline void writeWorkbook(const QString& path, const std::string& sheetData,
                          const std::string& stylesXml = {}) {
    writeZip(path, workbookParts(worksheetXml(sheetData), {}, stylesXml));
}

} // namespace wbtest
