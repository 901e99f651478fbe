#include "workbook/detail/Package.h"

#include "platform/FileWrite.h"
#include "workbook/Error.h"

#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <zip.h>

namespace workbook::detail {

namespace {

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override {
        out.append(static_cast<const char*>(data), size);
    }
};

QString zipMessage(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

} // namespace

std::string serialise(const pugi::xml_document& doc) {
    StringWriter writer;
    writer.out.reserve(1 << 16);
    const bool hasDeclaration = doc.first_child().type() == pugi::node_declaration;
    unsigned flags = pugi::format_raw;
    if (hasDeclaration) {
        flags |= pugi::format_no_declaration;
    }
    doc.save(writer, "", flags, pugi::encoding_utf8);
    if (!hasDeclaration) {
        return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)" + writer.out;
    }
    return std::move(writer.out);
}

Package::Package(std::string archiveBytes, const QString& fileName)
    : archiveBytes_(std::move(archiveBytes)), fileName_(fileName) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(archiveBytes_.data(), archiveBytes_.size(), 0, &error);
    if (source != nullptr) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (archive_ == nullptr) {
            zip_source_free(source);
        }
    }
    if (archive_ == nullptr) {
        const QString message = zipMessage(&error);
        zip_error_fini(&error);
        throw Error(kFileError, QStringLiteral("The file %1 is not a valid workbook package: %2.")
                                    .arg(fileName, message));
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive_, zip_uint64_t(i), 0);
        if (name == nullptr) {
            continue;
        }
        std::string part(name);
        if (part.empty() || part.back() == '/' || entries_.count(part) != 0) {
            continue;
        }
        order_.push_back(part);
        entries_[part].index = i;
    }
}

Package::~Package() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
}

bool Package::has(const std::string& part) const {
    const auto it = entries_.find(part);
    return it != entries_.end() && !it->second.removed;
}

std::vector<std::string> Package::partNames() const {
    std::vector<std::string> names;
    for (const std::string& part : order_) {
        if (has(part)) {
            names.push_back(part);
        }
    }
    return names;
}

std::string Package::readOriginal(const Entry& entry, const std::string& part) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    zip_file_t* file = nullptr;
    if (zip_stat_index(archive_, zip_uint64_t(entry.index), 0, &stat) == 0) {
        file = zip_fopen_index(archive_, zip_uint64_t(entry.index), 0);
    }
    if (file == nullptr) {
        throw Error(kFileError, QStringLiteral("The part %1 of %2 cannot be read: %3.")
                                    .arg(QString::fromStdString(part), fileName_,
                                         QString::fromUtf8(zip_strerror(archive_))));
    }
    std::string data;
    data.resize(size_t(stat.size));
    const zip_int64_t got = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (got < 0 || zip_uint64_t(got) != stat.size) {
        throw Error(kFileError, QStringLiteral("The part %1 of %2 is damaged.")
                                    .arg(QString::fromStdString(part), fileName_));
    }
    return data;
}

std::string Package::bytes(const std::string& part) const {
    const auto it = entries_.find(part);
    if (it == entries_.end() || it->second.removed) {
        throw Error(kFileError, QStringLiteral("The part %1 is missing from %2.")
                                    .arg(QString::fromStdString(part), fileName_));
    }
    const Entry& entry = it->second;
    if (entry.doc && entry.modified) {
        return serialise(*entry.doc);
    }
    if (entry.replacement) {
        return *entry.replacement;
    }
    return readOriginal(entry, part);
}

pugi::xml_document& Package::xml(const std::string& part) {
    const auto it = entries_.find(part);
    if (it == entries_.end() || it->second.removed) {
        throw Error(kFileError, QStringLiteral("The part %1 is missing from %2.")
                                    .arg(QString::fromStdString(part), fileName_));
    }
    Entry& entry = it->second;
    if (!entry.doc) {
        const std::string data = entry.replacement ? *entry.replacement : readOriginal(entry, part);
        auto doc = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result result =
            doc->load_buffer(data.data(), data.size(), kParseOptions, pugi::encoding_utf8);
        if (!result) {
            throw Error(kFileError, QStringLiteral("The part %1 of %2 is not well-formed XML: %3 "
                                                   "at offset %4.")
                                        .arg(QString::fromStdString(part), fileName_,
                                             QString::fromUtf8(result.description()))
                                        .arg(result.offset));
        }
        entry.doc = std::move(doc);
    }
    return *entry.doc;
}

bool Package::isParsed(const std::string& part) const {
    const auto it = entries_.find(part);
    return it != entries_.end() && it->second.doc != nullptr;
}

void Package::markModified(const std::string& part) {
    entries_.at(part).modified = true;
}

bool Package::isModified(const std::string& part) const {
    const auto it = entries_.find(part);
    return it != entries_.end() && it->second.modified;
}

void Package::setBytes(const std::string& part, std::string bytes) {
    auto it = entries_.find(part);
    if (it == entries_.end()) {
        order_.push_back(part);
        it = entries_.emplace(part, Entry{}).first;
    }
    Entry& entry = it->second;
    entry.removed = false;
    entry.doc.reset();
    entry.modified = true;
    entry.replacement = std::make_unique<std::string>(std::move(bytes));
}

void Package::remove(const std::string& part) {
    const auto it = entries_.find(part);
    if (it != entries_.end()) {
        it->second.removed = true;
        it->second.doc.reset();
    }
}

std::string Package::relsPartOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    if (slash == std::string::npos) {
        return "_rels/" + part + ".rels";
    }
    return part.substr(0, slash + 1) + "_rels/" + part.substr(slash + 1) + ".rels";
}

std::string Package::resolveTarget(const std::string& sourcePart, const std::string& target) {
    std::string path;
    if (!target.empty() && target[0] == '/') {
        path = target.substr(1);
    } else {
        const size_t slash = sourcePart.rfind('/');
        path =
            (slash == std::string::npos ? std::string() : sourcePart.substr(0, slash + 1)) + target;
    }
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string segment = path.substr(start, end - start);
        if (segment == "..") {
            if (!segments.empty()) {
                segments.pop_back();
            }
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) {
        if (!resolved.empty()) {
            resolved += '/';
        }
        resolved += segment;
    }
    return resolved;
}

std::vector<Relationship> Package::relationships(const std::string& part) {
    std::vector<Relationship> result;
    const std::string rels = relsPartOf(part);
    if (!has(rels)) {
        return result;
    }
    for (pugi::xml_node node : xml(rels).document_element().children("Relationship")) {
        Relationship rel;
        rel.id = node.attribute("Id").value();
        rel.type = node.attribute("Type").value();
        rel.external = std::string(node.attribute("TargetMode").value()) == "External";
        rel.target = rel.external ? std::string(node.attribute("Target").value())
                                  : resolveTarget(part, node.attribute("Target").value());
        result.push_back(std::move(rel));
    }
    return result;
}

void Package::removeRelationshipTo(const std::string& sourcePart, const std::string& target) {
    const std::string rels = relsPartOf(sourcePart);
    if (!has(rels)) {
        return;
    }
    pugi::xml_node root = xml(rels).document_element();
    for (pugi::xml_node node = root.child("Relationship"); node;) {
        pugi::xml_node next = node.next_sibling("Relationship");
        if (std::string(node.attribute("TargetMode").value()) != "External" &&
            resolveTarget(sourcePart, node.attribute("Target").value()) == target) {
            root.remove_child(node);
            markModified(rels);
        }
        node = next;
    }
}

std::string Package::contentType(const std::string& part) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children("Override")) {
        if (name == node.attribute("PartName").value()) {
            return node.attribute("ContentType").value();
        }
    }
    const size_t dot = part.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : part.substr(dot + 1);
    for (pugi::xml_node node : types.children("Default")) {
        if (strcasecmp(extension.c_str(), node.attribute("Extension").value()) == 0) {
            return node.attribute("ContentType").value();
        }
    }
    return {};
}

void Package::setContentTypeOverride(const std::string& part, const std::string& type) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children("Override")) {
        if (name == node.attribute("PartName").value()) {
            node.attribute("ContentType").set_value(type.c_str());
            markModified("[Content_Types].xml");
            return;
        }
    }
    pugi::xml_node node = types.append_child("Override");
    node.append_attribute("PartName").set_value(name.c_str());
    node.append_attribute("ContentType").set_value(type.c_str());
    markModified("[Content_Types].xml");
}

void Package::removeContentTypeOverride(const std::string& part) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children("Override")) {
        if (name == node.attribute("PartName").value()) {
            types.remove_child(node);
            markModified("[Content_Types].xml");
            return;
        }
    }
}

void Package::writeTo(const QString& path) {
    // Through a symbolic link the file it names is replaced and the link stays.
    const platform::SaveTarget target = platform::resolveSaveTarget(path);
    if (target.failed()) {
        throw Error(
            kFileError,
            QStringLiteral("Unable to write the file %1: %2.").arg(target.path, target.errorText));
    }
    const QString temporary =
        QStringLiteral("%1.%2.tmp")
            .arg(target.path)
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    const QByteArray temporaryName = QFile::encodeName(temporary);
    int code = 0;
    zip_t* out = zip_open(temporaryName.constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (out == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString message = zipMessage(&error);
        zip_error_fini(&error);
        throw Error(kFileError,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, message));
    }
    auto fail = [&](const QString& message) {
        zip_discard(out);
        QFile::remove(temporary);
        throw Error(kFileError,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, message));
    };
    std::vector<std::unique_ptr<std::string>> storage;
    for (const std::string& part : order_) {
        const Entry& entry = entries_.at(part);
        if (entry.removed) {
            continue;
        }
        zip_source_t* source = nullptr;
        const bool changed = entry.modified || entry.index < 0;
        if (!changed) {
            source = zip_source_zip(out, archive_, zip_uint64_t(entry.index), 0, 0, 0);
        } else {
            storage.push_back(std::make_unique<std::string>(bytes(part)));
            source = zip_source_buffer(out, storage.back()->data(), storage.back()->size(), 0);
        }
        if (source == nullptr) {
            fail(QString::fromUtf8(zip_strerror(out)));
        }
        const zip_int64_t index = zip_file_add(out, part.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail(QString::fromUtf8(zip_strerror(out)));
        }
        // libzip's own default is its slowest level; a fast level keeps big saves quick.
        if (changed && zip_set_file_compression(out, zip_uint64_t(index), ZIP_CM_DEFLATE, 1) != 0) {
            fail(QString::fromUtf8(zip_strerror(out)));
        }
    }
    if (zip_close(out) != 0) {
        fail(QString::fromUtf8(zip_strerror(out)));
    }
    if (std::rename(temporaryName.constData(), QFile::encodeName(target.path).constData()) != 0) {
        QFile::remove(temporary);
        throw Error(kFileError, QStringLiteral("Unable to write the file %1: %2.")
                                    .arg(path, QString::fromLocal8Bit(strerror(errno))));
    }
}

} // namespace workbook::detail
