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

namespace {

const char* const kRelationshipNamespaces[] = {
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "http://purl.oclc.org/ooxml/officeDocument/relationships"};

// The namespace a prefix ("" for the default namespace) is bound to where `node` stands.
const char* namespaceOfPrefix(pugi::xml_node node, const std::string& prefix) {
    const std::string declaration = prefix.empty() ? std::string("xmlns") : "xmlns:" + prefix;
    for (; node; node = node.parent()) {
        if (pugi::xml_attribute bound = node.attribute(declaration.c_str())) {
            return bound.value();
        }
    }
    return "";
}

} // namespace

const char* elementNamespace(const pugi::xml_node& element) {
    const std::string prefix = prefixOf(element);
    return namespaceOfPrefix(element,
                             prefix.empty() ? prefix : prefix.substr(0, prefix.size() - 1));
}

void unifyPrefixes(pugi::xml_document& doc) {
    const pugi::xml_node root = doc.document_element();
    const std::string uri = elementNamespace(root);
    const std::string rootPrefix = prefixOf(root);
    const std::string rootPrefixName =
        rootPrefix.empty() ? rootPrefix : rootPrefix.substr(0, rootPrefix.size() - 1);
    if (uri.empty()) {
        return;
    }
    pugi::xml_node node = root;
    while (node) {
        if (node.type() == pugi::node_element && prefixOf(node) != rootPrefix &&
            uri == elementNamespace(node) && uri == namespaceOfPrefix(node, rootPrefixName)) {
            node.set_name((rootPrefix + localName(node)).c_str());
        }
        if (pugi::xml_node first = node.first_child()) {
            node = first;
            continue;
        }
        while (node && node != root && !node.next_sibling()) {
            node = node.parent();
        }
        node = node == root ? pugi::xml_node() : node.next_sibling();
    }
}

pugi::xml_attribute relationshipAttribute(const pugi::xml_node& node, const char* local) {
    for (pugi::xml_attribute attribute : node.attributes()) {
        const char* name = attribute.name();
        const char* colon = std::strchr(name, ':');
        if (colon == nullptr || std::strcmp(colon + 1, local) != 0) {
            continue;
        }
        const char* uri = namespaceOfPrefix(node, std::string(name, size_t(colon - name)));
        for (const char* relationships : kRelationshipNamespaces) {
            if (std::strcmp(uri, relationships) == 0) {
                return attribute;
            }
        }
    }
    // A part that uses the usual prefix without declaring it.
    return node.attribute(("r:" + std::string(local)).c_str());
}

const char* PartNames::operator()(const char* local) const {
    if (prefix_.empty()) {
        return local;
    }
    auto it = qualified_.find(local);
    if (it == qualified_.end()) {
        it = qualified_.emplace(local, prefix_ + local).first;
    }
    return it->second.c_str();
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
