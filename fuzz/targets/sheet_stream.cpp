// A worksheet parsed while it is inflated, in pieces of a few bytes so that its rows are cut
// everywhere: the input is one byte choosing the piece size, then the worksheet's text. When the
// streamed parse takes the part, its tree must be the one a parse of the whole text gives.
#include "FuzzSupport.h"
#include "workbook/detail/Package.h"
#include "workbook/detail/PartReader.h"
#include "workbook/detail/StreamedParse.h"

#include <zip.h>

#include <cstring>
#include <string>

using namespace workbook::detail;

namespace {

// Whether two trees hold the same nodes, names, values and attributes in the same order.
bool sameTree(pugi::xml_node a, pugi::xml_node b) {
    if (a.type() != b.type() || std::strcmp(a.name(), b.name()) != 0 ||
        std::strcmp(a.value(), b.value()) != 0) {
        return false;
    }
    pugi::xml_attribute x = a.first_attribute(), y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
        if (std::strcmp(x.name(), y.name()) != 0 || std::strcmp(x.value(), y.value()) != 0) {
            return false;
        }
    }
    pugi::xml_node p = a.first_child(), q = b.first_child();
    for (; p && q; p = p.next_sibling(), q = q.next_sibling()) {
        if (!sameTree(p, q)) {
            return false;
        }
    }
    return !x && !y && !p && !q;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const size_t pieceSize = 1 + data[0];
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const QByteArray zipped = fuzzsupport::zipParts({{"sheet.xml", text}});
    std::string bytes(zipped.constData(), size_t(zipped.size()));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        bytes.empty() ? nullptr : zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (archive == nullptr) {
        if (source != nullptr) {
            zip_source_free(source);
        }
        return 0;
    }
    try {
        PartReader reader(archive, 0, bytes.size(), 0, QStringLiteral("sheet.xml"),
                          QStringLiteral("fuzz.xlsx"));
        pugi::xml_document streamed;
        StreamedText streamedText;
        if (parseStreamed(reader, kParseOptions, streamed, streamedText, pieceSize)) {
            pugi::xml_document whole;
            fuzzsupport::check(bool(whole.load_buffer_inplace(text.data(), text.size(),
                                                              kParseOptions, pugi::encoding_utf8)),
                               "a streamed part parses whole");
            fuzzsupport::check(sameTree(streamed, whole), "the streamed tree is the whole one");
        }
    } catch (const platform::Exception&) {
    }
    zip_discard(archive);
    return 0;
}
