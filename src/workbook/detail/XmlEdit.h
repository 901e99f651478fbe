#pragma once

#include <pugixml.hpp>

#include <map>
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
// The namespace URI of an element's name, "" when it has none.
const char* elementNamespace(const pugi::xml_node& element);
// Gives every element in the namespace of the document element that element's prefix, where that
// prefix is bound to the namespace, so that a part binding its namespace to several prefixes
// ("<worksheet xmlns=...><s:row xmlns:s=...>") is found under one. The meaning is unchanged.
void unifyPrefixes(pugi::xml_document& doc);

// An attribute in the relationships namespace ("r:id", "ns:id"), whatever prefix declares it.
pugi::xml_attribute relationshipAttribute(const pugi::xml_node& node, const char* local);

// The names of a part's own elements, those in the namespace of its document element: a local
// name with the prefix the part uses ("x:sheetData"), so that lookups find the part's elements
// and created elements take the part's prefix.
class PartNames {
public:
    PartNames() = default;
    explicit PartNames(const pugi::xml_node& root) : prefix_(prefixOf(root)) {}
    const char* operator()(const char* local) const;

private:
    std::string prefix_;
    mutable std::map<std::string, std::string, std::less<>> qualified_;
};

void setText(pugi::xml_node node, const std::string& value, bool& modified);
void setAttr(pugi::xml_node node, const char* name, const std::string& value, bool& modified);
void setAttr(pugi::xml_node node, const char* name, int value, bool& modified);

} // namespace workbook::detail
