// The XML parts of a workbook package, zipped here so that the fuzzer's changes reach the XML
// parsers rather than the zip container. The input holds the parts one after another, each
// introduced by a line "==> NAME" (the part's name in the package).
#include "WorkbookRun.h"

#include "FuzzSupport.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Part> parts = splitParts(std::string(reinterpret_cast<const char*>(data), size));
    if (parts.empty() || parts.size() > 32) {
        return 0;
    }
    std::vector<std::pair<std::string, std::string>> named;
    for (Part& part : parts) {
        named.emplace_back(std::move(part.name), std::move(part.bytes));
    }
    const QByteArray package = fuzzsupport::zipParts(named);
    if (!package.isEmpty()) {
        runWorkbook(package);
    }
    return 0;
}
