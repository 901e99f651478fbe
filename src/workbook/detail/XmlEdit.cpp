#include "workbook/detail/XmlEdit.h"

#include <cstring>

namespace workbook::detail {

const char* localName(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

bool isNamed(const pugi::xml_node& node, const char* local) {
    return std::strcmp(localName(node), local) == 0;
}

pugi::xml_node child(const pugi::xml_node& node, const char* local) {
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_element && isNamed(c, local))
            return c;
    }
    return {};
}

std::vector<pugi::xml_node> children(const pugi::xml_node& node, const char* local) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c : node.children()) {
        if (c.type() == pugi::node_element && isNamed(c, local))
            out.push_back(c);
    }
    return out;
}

void setText(pugi::xml_node node, const std::string& value, bool& modified) {
    if (value != node.text().get()) {
        node.text().set(value.c_str());
        modified = true;
    }
}

void setAttr(pugi::xml_node node, const char* name, const std::string& value, bool& modified) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a)
        a = node.append_attribute(name);
    if (value != a.value()) {
        a.set_value(value.c_str());
        modified = true;
    }
}

void setAttr(pugi::xml_node node, const char* name, int value, bool& modified) {
    setAttr(node, name, std::to_string(value), modified);
}

std::string prefixOf(const pugi::xml_node& node) {
    const char* name = node.name();
    const char* colon = std::strchr(name, ':');
    return colon ? std::string(name, size_t(colon - name) + 1) : std::string();
}

} // namespace workbook::detail
