// The XML parts of a workbook package, zipped here so that the fuzzer's changes reach the XML
// parsers rather than the zip container. The input holds the parts one after another, each
// introduced by a line "==> NAME" (the part's name in the package).
#include "WorkbookRun.h"

#include "FuzzSupport.h"

#include <zip.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct Part {
    std::string name;
    std::string bytes;
};

std::vector<Part> splitParts(const std::string& input) {
    std::vector<Part> parts;
    const std::string mark = "==> ";
    size_t at = input.rfind(mark, 0) == 0 ? 0 : input.find("\n" + mark);
    while (at != std::string::npos) {
        const size_t nameStart = at + (input[at] == '\n' ? 1 : 0) + mark.size();
        const size_t nameEnd = input.find('\n', nameStart);
        if (nameEnd == std::string::npos) {
            break;
        }
        const size_t next = input.find("\n" + mark, nameEnd);
        parts.push_back(
            {input.substr(nameStart, nameEnd - nameStart),
             input.substr(nameEnd + 1,
                          next == std::string::npos ? std::string::npos : next - nameEnd - 1)});
        at = next;
    }
    return parts;
}

// The parts as a zip archive in memory; empty when libzip refuses a part's name.
QByteArray zipParts(std::vector<Part>& parts) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = buffer ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
    zip_error_fini(&error);
    if (archive == nullptr) {
        if (buffer != nullptr) {
            zip_source_free(buffer);
        }
        return {};
    }
    zip_source_keep(buffer);
    for (Part& part : parts) {
        zip_source_t* source = zip_source_buffer(archive, part.bytes.data(), part.bytes.size(), 0);
        if (source == nullptr || zip_file_add(archive, part.name.c_str(), source,
                                              ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            zip_source_free(source);
        }
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        return {};
    }
    // An archive without parts leaves no data behind, and the buffer does not open.
    QByteArray out;
    if (zip_source_open(buffer) == 0) {
        zip_stat_t stat;
        if (zip_source_stat(buffer, &stat) == 0) {
            out.resize(static_cast<qsizetype>(stat.size));
            zip_source_read(buffer, out.data(), stat.size);
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Part> parts = splitParts(std::string(reinterpret_cast<const char*>(data), size));
    if (parts.empty() || parts.size() > 32) {
        return 0;
    }
    const QByteArray package = zipParts(parts);
    if (!package.isEmpty()) {
        runWorkbook(package);
    }
    return 0;
}
