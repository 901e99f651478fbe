#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

namespace workbook::detail {

// Small helpers for editing package XML in place: elements found by local name (any prefix),
// and values set only when they change, with the change recorded.
const char* localName(const pugi::xml_node& node);
bool isNamed(const pugi::xml_node& node, const char* local);
pugi::xml_node child(const pugi::xml_node& node, const char* local);
std::vector<pugi::xml_node> children(const pugi::xml_node& node, const char* local);
// The namespace prefix of an element's name with its colon ("c:"), or "".
std::string prefixOf(const pugi::xml_node& node);
void setText(pugi::xml_node node, const std::string& value, bool& modified);
void setAttr(pugi::xml_node node, const char* name, const std::string& value, bool& modified);
void setAttr(pugi::xml_node node, const char* name, int value, bool& modified);

} // namespace workbook::detail
