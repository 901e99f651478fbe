#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <string>

namespace workbook::detail {

class PartReader;

// What a streamed parse leaves beside the tree.
struct StreamedText {
    // The text the worksheet's shell was parsed from in place (everything but its rows); the
    // rows' text is held by the tree.
    std::unique_ptr<std::string> shell;
    // How often the namespace of the document element is written in the part's text.
    int namespaceMentions = 0;
};

// Parses a large worksheet part while it is inflated: a thread inflates the next piece while
// this one is parsed, and the fresh memory the tree will need is faulted in beside it (see
// TreeMemory.h). The worksheet's shell (its elements but the rows) is parsed first, then the
// rows piece by piece into its sheetData, then what follows the rows: the tree is the one a
// parse of the whole text gives.
// Returns false, `doc` then empty, when the part is not laid out so (no sheetData, anything but
// rows in it, a piece that does not parse, a NUL byte) or cannot be read: the caller then reads
// and parses the part whole, which reports any fault as a parse of the whole part does.
// `pieceSize`: how much is inflated at a time (smaller in tests, to cut rows everywhere).
inline constexpr size_t kStreamedPiece = size_t(512) << 10;
bool parseStreamed(PartReader& reader, unsigned options, pugi::xml_document& doc,
                   StreamedText& text, size_t pieceSize = kStreamedPiece);

} // namespace workbook::detail
