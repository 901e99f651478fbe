#include "workbook/detail/Package.h"

#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "platform/FileWrite.h"
#include "workbook/Error.h"
#include "workbook/detail/DeflateJobs.h"
#include "workbook/detail/PartReader.h"
#include "workbook/detail/PartText.h"
#include "workbook/detail/StreamedParse.h"
#include "workbook/detail/TreeMemory.h"
#include "workbook/detail/XmlEdit.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <zip.h>

namespace workbook::detail {

namespace {

QString zipMessage(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// True when the tree nests deeper than `limit` levels. pugixml's own walk goes without recursion
// and without a call into the library for each step (a large sheet has a million nodes).
bool deeperThan(const pugi::xml_document& doc, int limit) {
    class DepthWalker : public pugi::xml_tree_walker {
    public:
        explicit DepthWalker(int limit) : limit_(limit) {}
        bool deeper = false;
        bool for_each(pugi::xml_node&) override {
            // The document's children are at depth 0 here and at level 1 of the limit.
            deeper = depth() >= limit_;
            return !deeper;
        }

    private:
        int limit_;
    } walker(limit);
    const_cast<pugi::xml_document&>(doc).traverse(walker);
    return walker.deeper;
}

} // namespace

bool samePartName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

bool PartNameLess::operator()(const std::string& a, const std::string& b) const {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char x = asciiLower(a[i]);
        const char y = asciiLower(b[i]);
        if (x != y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
    }
    return a.size() < b.size();
}

Package::Package(std::string archiveBytes, const QString& fileName)
    : archiveBytes_(std::move(archiveBytes)), fileName_(fileName) {
    useTreeMemory();
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
        throw Error(kRejectedReference,
                    QStringLiteral("The file %1 is not a valid workbook package: %2.")
                        .arg(fileName, message));
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    uint64_t declaredTotal = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive_, zip_uint64_t(i), 0);
        if (name == nullptr) {
            continue;
        }
        std::string part(name);
        if (part.empty() || part.back() == '/') {
            continue;
        }
        if (entries_.count(part) != 0) {
            zip_discard(archive_);
            archive_ = nullptr;
            throw Error(kRejectedReference,
                        QStringLiteral("The file %1 is not a valid workbook package: it holds the "
                                       "part %2 twice.")
                            .arg(fileName, QString::fromStdString(part)));
        }
        order_.push_back(part);
        entries_[part].index = i;
        // Refused before anything is inflated when the directory declares more than a
        // workbook can hold (parts are then held to their declared sizes as they inflate).
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_, zip_uint64_t(i), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_SIZE) != 0) {
            declaredTotal += stat.size;
            if (stat.size > kMaxPartSize || declaredTotal > kMaxInflatedTotal) {
                zip_discard(archive_);
                archive_ = nullptr;
                throw Error(kRejectedReference,
                            QStringLiteral("The part %1 of %2 inflates to more than a workbook "
                                           "can hold%3; the file is damaged or built to exhaust "
                                           "memory.")
                                .arg(QString::fromStdString(part), fileName,
                                     stat.size > kMaxPartSize
                                         ? QString()
                                         : QStringLiteral(" with the parts before it")));
            }
        }
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
    return readAll(entry, *openPart(entry, part));
}

void Package::checkAhead(const Entry& entry, const std::string& part) const {
    if (entry.checked) {
        return;
    }
    PartReader reader(archive_, entry.index, archiveBytes_.size(), inflatedTotal_,
                      QString::fromStdString(part), fileName_);
    if (reader.declaredSize() < kCountedAheadSize) {
        return;
    }
    constexpr size_t kPiece = size_t(1) << 20;
    const std::unique_ptr<char[]> piece(new char[kPiece]);
    while (reader.read(piece.get(), kPiece) > 0) {
    }
    entry.checked = true;
}

std::unique_ptr<PartReader> Package::openPart(const Entry& entry, const std::string& part) const {
    checkAhead(entry, part);
    auto reader =
        std::make_unique<PartReader>(archive_, entry.index, archiveBytes_.size(), inflatedTotal_,
                                     QString::fromStdString(part), fileName_);
    if (entry.checked) {
        reader->countedAhead();
    }
    return reader;
}

std::string Package::readAll(const Entry& entry, PartReader& reader) const {
    std::string data;
    // The declared size, which the part may not pass (a large part was read through first), and
    // one byte beyond it: the read that finds the end then needs no new block.
    data.reserve(size_t(reader.declaredSize()) + 1);
    constexpr size_t kPiece = size_t(1) << 20;
    for (;;) {
        const size_t at = data.size();
        const size_t room = data.capacity() - at;
        data.resize(at + (room > 0 ? std::min(room, kPiece) : kPiece));
        const size_t got = reader.read(data.data() + at, data.size() - at);
        data.resize(at + got);
        if (got == 0) {
            break;
        }
    }
    countInflated(entry, data.size());
    return data;
}

void Package::countInflated(const Entry& entry, uint64_t size) const {
    if (!entry.counted) {
        entry.counted = true;
        inflatedTotal_ += size;
    }
}

std::string Package::bytes(const std::string& part) const {
    const auto it = entries_.find(part);
    if (it == entries_.end() || it->second.removed) {
        throw Error(kRejectedReference, QStringLiteral("The part %1 is missing from %2.")
                                            .arg(QString::fromStdString(part), fileName_));
    }
    const Entry& entry = it->second;
    if (entry.doc && entry.modified) {
        return serialise(*entry.doc, entry.points);
    }
    if (entry.replacement) {
        return *entry.replacement;
    }
    return readOriginal(entry, part);
}

pugi::xml_document& Package::xml(const std::string& part) {
    const auto it = entries_.find(part);
    if (it == entries_.end() || it->second.removed) {
        throw Error(kRejectedReference, QStringLiteral("The part %1 is missing from %2.")
                                            .arg(QString::fromStdString(part), fileName_));
    }
    Entry& entry = it->second;
    if (!entry.doc) {
        parse(entry, part);
    }
    return *entry.doc;
}

void Package::parse(Entry& entry, const std::string& part) {
    auto doc = std::make_unique<pugi::xml_document>();
    std::unique_ptr<std::string> text;
    if (entry.replacement) {
        text = std::make_unique<std::string>(*entry.replacement);
    } else {
        const std::unique_ptr<PartReader> opened = openPart(entry, part);
        PartReader& reader = *opened;
        if (reader.declaredSize() < kStreamedParseSize) {
            text = std::make_unique<std::string>(readAll(entry, reader));
        } else {
            // A large worksheet is parsed while it is inflated.
            StreamedText streamed;
            if (parseStreamed(reader, kParseOptions, *doc, streamed)) {
                countInflated(entry, reader.total());
                checkParsed(*doc, part);
                if (streamed.namespaceMentions > 1) {
                    unifyPrefixes(*doc);
                }
                entry.textSize = size_t(reader.total());
                entry.doc = std::move(doc);
                entry.docText = std::move(streamed.shell);
                return;
            }
            text = std::make_unique<std::string>(readOriginal(entry, part));
        }
    }
    // Parsed in place: the tree's names and values point into the part's text, which it keeps,
    // rather than into a copy of it.
    const pugi::xml_parse_result result =
        doc->load_buffer_inplace(text->data(), text->size(), kParseOptions, pugi::encoding_utf8);
    if (!result) {
        throw Error(kRejectedReference,
                    QStringLiteral("The part %1 of %2 is not well-formed XML: %3 "
                                   "at offset %4.")
                        .arg(QString::fromStdString(part), fileName_,
                             QString::fromUtf8(result.description()))
                        .arg(result.offset));
    }
    checkParsed(*doc, part);
    // A namespace written out more than once may be bound to more than one prefix. (The
    // text was parsed in place, but a namespace's characters stay where they were.)
    const char* uri = elementNamespace(doc->document_element());
    if (*uri != '\0') {
        const size_t first = text->find(uri);
        if (first != std::string::npos && text->find(uri, first + 1) != std::string::npos) {
            unifyPrefixes(*doc);
        }
    }
    entry.textSize = text->size();
    entry.doc = std::move(doc);
    entry.docText = std::move(text);
}

void Package::checkParsed(const pugi::xml_document& doc, const std::string& part) const {
    if (deeperThan(doc, kMaxXmlDepth)) {
        throw Error(kRejectedReference,
                    QStringLiteral("The part %1 of %2 nests its elements more than %3 levels "
                                   "deep.")
                        .arg(QString::fromStdString(part), fileName_)
                        .arg(kMaxXmlDepth));
    }
}

bool Package::isParsed(const std::string& part) const {
    const auto it = entries_.find(part);
    return it != entries_.end() && it->second.doc != nullptr;
}

std::vector<CachePoints>& Package::points(const std::string& part) {
    return entries_.at(part).points;
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
    entry.docText.reset();
    entry.points.clear();
    entry.modified = true;
    entry.replacement = std::make_unique<std::string>(std::move(bytes));
}

void Package::remove(const std::string& part) {
    const auto it = entries_.find(part);
    if (it != entries_.end()) {
        it->second.removed = true;
        it->second.doc.reset();
        it->second.docText.reset();
        it->second.points.clear();
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
    const pugi::xml_node root = xml(rels).document_element();
    const PartNames names(root);
    for (pugi::xml_node node : root.children(names("Relationship"))) {
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
    const PartNames names(root);
    for (pugi::xml_node node = root.child(names("Relationship")); node;) {
        pugi::xml_node next = node.next_sibling(names("Relationship"));
        if (std::string(node.attribute("TargetMode").value()) != "External" &&
            samePartName(resolveTarget(sourcePart, node.attribute("Target").value()), target)) {
            root.remove_child(node);
            markModified(rels);
        }
        node = next;
    }
}

std::string Package::contentType(const std::string& part) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const PartNames names(types);
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children(names("Override"))) {
        if (samePartName(name, node.attribute("PartName").value())) {
            return node.attribute("ContentType").value();
        }
    }
    const size_t dot = part.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : part.substr(dot + 1);
    for (pugi::xml_node node : types.children(names("Default"))) {
        if (strcasecmp(extension.c_str(), node.attribute("Extension").value()) == 0) {
            return node.attribute("ContentType").value();
        }
    }
    return {};
}

void Package::setContentTypeOverride(const std::string& part, const std::string& type) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const PartNames names(types);
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children(names("Override"))) {
        if (samePartName(name, node.attribute("PartName").value())) {
            node.attribute("ContentType").set_value(type.c_str());
            markModified("[Content_Types].xml");
            return;
        }
    }
    pugi::xml_node node = types.append_child(names("Override"));
    node.append_attribute("PartName").set_value(name.c_str());
    node.append_attribute("ContentType").set_value(type.c_str());
    markModified("[Content_Types].xml");
}

void Package::removeContentTypeOverride(const std::string& part) {
    pugi::xml_node types = xml("[Content_Types].xml").document_element();
    const PartNames names(types);
    const std::string name = "/" + part;
    for (pugi::xml_node node : types.children(names("Override"))) {
        if (samePartName(name, node.attribute("PartName").value())) {
            types.remove_child(node);
            markModified("[Content_Types].xml");
            return;
        }
    }
}

size_t Package::textSizeEstimate(const Entry& entry) {
    // A point of a chart cache is written as about 40 characters.
    constexpr size_t kPointText = 40;
    constexpr size_t kNewPart = 4096;
    if (entry.doc && entry.modified) {
        size_t size = entry.docText ? entry.textSize : kNewPart;
        for (const CachePoints& run : entry.points) {
            size += run.count() * kPointText;
        }
        return size;
    }
    return entry.replacement ? entry.replacement->size() : 0;
}

void Package::addDeflateJob(const std::string& part) {
    if (!deflating_) {
        deflating_ = std::make_unique<DeflateJobs>();
    }
    if (deflating_->has(part)) {
        return;
    }
    const Entry& entry = entries_.at(part);
    if (entry.doc && entry.modified) {
        // Streamed from the tree into the deflater: a large sheet is never held whole as text.
        deflating_->add(part, textSizeEstimate(entry), [&entry](const TextSink& sink) {
            writePart(*entry.doc, entry.points, sink);
        });
    } else if (entry.replacement) {
        const std::string& bytes = *entry.replacement;
        deflating_->add(part, bytes.size(), [&bytes](const TextSink& sink) { sink(bytes); });
    } else {
        // The bytes of a part without a tree come from the source archive, which is read on
        // this thread only.
        auto original = std::make_shared<const std::string>(bytes(part));
        deflating_->add(part, original->size(),
                        [original](const TextSink& sink) { sink(*original); });
    }
}

void Package::deflateAhead(const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        if (has(part) && isModified(part)) {
            addDeflateJob(part);
        }
    }
}

void Package::stopDeflating() {
    deflating_.reset();
}

void Package::writeTo(const QString& path) {
    // Through a symbolic link the file it names is replaced and the link stays.
    const platform::SaveTarget target = platform::resolveSaveTarget(path);
    if (target.failed()) {
        throw Error(
            kRejectedReference,
            QStringLiteral("Unable to write the file %1: %2.").arg(target.path, target.errorText));
    }
    // Only a regular file is replaced: renamed over a device or a FIFO, the new workbook would take
    // the place of the device node.
    const QString notRegular = platform::notRegularFileReason(target.path);
    if (!notRegular.isEmpty()) {
        throw Error(kRejectedReference,
                    QStringLiteral("Unable to write the file %1: %2").arg(target.path, notRegular));
    }
    // The archive is written beside the target under the name of a locked temporary file, so
    // that a save killed midway leaves files the next save recognises and removes.
    std::optional<platform::SaveTemp> claim;
    try {
        claim.emplace(target.path);
    } catch (const platform::Exception& e) {
        throw Error(kRejectedReference,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, e.message()));
    }
    const QString temporary = claim->companion(QStringLiteral(".zip"));
    const QByteArray temporaryName = QFile::encodeName(temporary);
    int code = 0;
    zip_t* out = zip_open(temporaryName.constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (out == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString message = zipMessage(&error);
        zip_error_fini(&error);
        throw Error(kRejectedReference,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, message));
    }
    auto fail = [&](const QString& message) {
        zip_discard(out);
        QFile::remove(temporary);
        throw Error(kRejectedReference,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, message));
    };
    // Changed parts are serialised and deflated first, on threads (those handed over ahead
    // already under way); the archive then copies them as it copies untouched parts.
    std::map<std::string, DeflatedPart> deflated;
    try {
        for (const std::string& part : order_) {
            const Entry& entry = entries_.at(part);
            if (!entry.removed && (entry.modified || entry.index < 0)) {
                addDeflateJob(part);
            }
        }
        if (deflating_) {
            deflated = deflating_->results();
        }
        deflating_.reset();
    } catch (const std::exception& e) {
        deflating_.reset();
        fail(QString::fromLocal8Bit(e.what()));
    }
    for (const std::string& part : order_) {
        const Entry& entry = entries_.at(part);
        if (entry.removed) {
            continue;
        }
        const auto changed = deflated.find(part);
        zip_source_t* source =
            changed == deflated.end()
                ? zip_source_zip(out, archive_, zip_uint64_t(entry.index), 0, 0, 0)
                : deflatedSource(out, changed->second);
        if (source == nullptr) {
            fail(QString::fromUtf8(zip_strerror(out)));
        }
        const zip_int64_t index = zip_file_add(out, part.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            fail(QString::fromUtf8(zip_strerror(out)));
        }
    }
    if (zip_close(out) != 0) {
        fail(QString::fromUtf8(zip_strerror(out)));
    }
    // The workbook replaced keeps its mode and group.
    try {
        claim->commit(temporary);
    } catch (const platform::Exception& e) {
        throw Error(kRejectedReference,
                    QStringLiteral("Unable to write the file %1: %2.").arg(path, e.message()));
    }
}

} // namespace workbook::detail
