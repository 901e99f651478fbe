#pragma once

#include "workbook/detail/CachePoints.h"

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace workbook::detail {

// Writes the part's XML to the sink: the XML declaration when the tree holds none (a declaration
// the part holds is written as a node of the tree, so that a part gets exactly one), then the
// tree without indentation, each points marker (see ChartCache.h) replaced by the XML of the
// points it stands for. A marker whose index is not one of `points` is written as it stands.
void writePart(const pugi::xml_document& doc, const std::vector<CachePoints>& points,
               const TextSink& sink);

// The same as one string.
std::string serialise(const pugi::xml_document& doc);
std::string serialise(const pugi::xml_document& doc, const std::vector<CachePoints>& points);

} // namespace workbook::detail
