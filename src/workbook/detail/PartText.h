#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace workbook::detail {

// Where a part's serialised text goes, piece by piece: a string, or a deflate stream, so that a
// large part is never held whole as text when it is only written to the archive.
using TextSink = std::function<void(std::string_view)>;

// Writes the part's XML to the sink: the XML declaration when the tree holds none (a declaration
// the part holds is written as a node of the tree, so that a part gets exactly one), then the
// tree without indentation, each points marker (see ChartCache.h) replaced by the text it stands
// for. A marker whose index is not one of pointTexts is written as it stands.
void writePart(const pugi::xml_document& doc, const std::vector<std::string>& pointTexts,
               const TextSink& sink);

// The same as one string.
std::string serialise(const pugi::xml_document& doc);
std::string serialise(const pugi::xml_document& doc, const std::vector<std::string>& pointTexts);

} // namespace workbook::detail
