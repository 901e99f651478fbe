#include "workbook/detail/Styles.h"

#include "platform/ColorValue.h"
#include "workbook/Error.h"
#include "workbook/NumberFormat.h"
#include "workbook/detail/Package.h"

#include <cstdio>

namespace workbook::detail {

namespace {

const char* const kStylesType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
const char* const kStylesRel =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";

const char* const kMinimalStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
    R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>)"
    R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(</styleSheet>)";

bool isAutomaticSystemColor(int index) {
    // Window, window text, menu text, caption text, button text, inactive caption text, info text.
    return index == 5 || index == 7 || index == 8 || index == 9 || index == 18 || index == 19 ||
           index == 23;
}

uint64_t colorKey(StyleColor color) {
    return color.automatic ? 0x100000000ull : color.argb;
}

void setColorNode(pugi::xml_node node, StyleColor color) {
    while (node.first_attribute()) {
        node.remove_attribute(node.first_attribute());
    }
    if (color.automatic) {
        node.append_attribute("auto").set_value("1");
    } else {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", color.argb);
        node.append_attribute("rgb").set_value(text);
    }
}

} // namespace

StyleColor colorFromBgr(int32_t color) {
    const uint32_t value = uint32_t(color);
    if (!platform::isValidColor(value)) {
        throw Error(kRejectedReference, {});
    }
    if (isAutomaticSystemColor(platform::systemColorIndex(value))) {
        return StyleColor{true, 0};
    }
    return StyleColor{false, platform::colorToArgb(value)};
}

Styles::Styles(Package& package, std::string part) : package_(package), part_(std::move(part)) {
    if (part_.empty() || !package_.has(part_)) {
        return;
    }
    pugi::xml_node root = package_.xml(part_).document_element();
    for (pugi::xml_node xf : root.child("cellXfs").children("xf")) {
        xfs_.push_back(xf);
    }
    for (pugi::xml_node font : root.child("fonts").children("font")) {
        fonts_.push_back(font);
    }
    for (pugi::xml_node format : root.child("numFmts").children("numFmt")) {
        customFormats_[format.attribute("numFmtId").as_int()] =
            QString::fromUtf8(format.attribute("formatCode").value());
    }
    loaded_ = true;
}

QString Styles::formatCode(int xf) const {
    if (xf <= 0 || xf >= int(xfs_.size())) {
        if (xf == 0 && !xfs_.empty()) {
            const int id = xfs_[0].attribute("numFmtId").as_int();
            const auto it = customFormats_.find(id);
            return it != customFormats_.end() ? it->second : builtInFormatCode(id);
        }
        return QStringLiteral("General");
    }
    const int id = xfs_[size_t(xf)].attribute("numFmtId").as_int();
    const auto it = customFormats_.find(id);
    return it != customFormats_.end() ? it->second : builtInFormatCode(id);
}

bool Styles::isDateStyle(int xf) const {
    return isDateFormat(formatCode(xf));
}

void Styles::ensurePart() {
    if (loaded_) {
        return;
    }
    if (part_.empty()) {
        part_ = "xl/styles.xml";
        std::string workbookPart = "xl/workbook.xml";
        for (const Relationship& rel : package_.relationships("")) {
            if (rel.type.size() > 14 &&
                rel.type.compare(rel.type.size() - 14, 14, "officeDocument") == 0) {
                workbookPart = rel.target;
            }
        }
        part_ = Package::resolveTarget(workbookPart, "styles.xml");
        const std::string rels = Package::relsPartOf(workbookPart);
        pugi::xml_node root = package_.xml(rels).document_element();
        int next = 1;
        while (root.find_child_by_attribute("Relationship", "Id",
                                            ("rId" + std::to_string(next)).c_str())) {
            ++next;
        }
        pugi::xml_node rel = root.append_child("Relationship");
        rel.append_attribute("Id").set_value(("rId" + std::to_string(next)).c_str());
        rel.append_attribute("Type").set_value(kStylesRel);
        rel.append_attribute("Target").set_value("styles.xml");
        package_.markModified(rels);
        package_.setContentTypeOverride(part_, kStylesType);
    }
    if (!package_.has(part_)) {
        package_.setBytes(part_, kMinimalStyles);
    }
    Styles fresh(package_, part_);
    xfs_ = std::move(fresh.xfs_);
    fonts_ = std::move(fresh.fonts_);
    customFormats_ = std::move(fresh.customFormats_);
    loaded_ = true;
    if (xfs_.empty()) {
        pugi::xml_node xf = section("cellXfs").append_child("xf");
        for (const char* name : {"numFmtId", "fontId", "fillId", "borderId", "xfId"}) {
            xf.append_attribute(name).set_value("0");
        }
        xfs_.push_back(xf);
        updateCount(section("cellXfs"));
    }
}

pugi::xml_node Styles::section(const char* name) {
    pugi::xml_node root = package_.xml(part_).document_element();
    pugi::xml_node node = root.child(name);
    if (node) {
        return node;
    }
    // Sections in schema order; a new one goes before the first later one present.
    static const char* const order[] = {"numFmts",      "fonts",   "fills",      "borders",
                                        "cellStyleXfs", "cellXfs", "cellStyles", "dxfs",
                                        "tableStyles",  "colors",  "extLst"};
    bool after = false;
    for (const char* candidate : order) {
        if (after) {
            if (pugi::xml_node later = root.child(candidate)) {
                return root.insert_child_before(name, later);
            }
        } else if (std::string(candidate) == name) {
            after = true;
        }
    }
    return root.append_child(name);
}

void Styles::updateCount(pugi::xml_node node) {
    size_t count = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            ++count;
        }
    }
    pugi::xml_attribute attribute = node.attribute("count");
    if (!attribute) {
        attribute = node.prepend_attribute("count");
    }
    attribute.set_value(unsigned(count));
    package_.markModified(part_);
}

int Styles::cloneXf(int xf, const char* attribute, int value, const char* applyAttribute) {
    if (xf < 0 || xf >= int(xfs_.size())) {
        xf = 0;
    }
    pugi::xml_node source = xfs_[size_t(xf)];
    if (source.attribute(attribute).as_int() == value && (xf != 0 || value == 0)) {
        return xf;
    }
    pugi::xml_node cellXfs = section("cellXfs");
    pugi::xml_node copy = cellXfs.append_copy(source);
    pugi::xml_attribute target = copy.attribute(attribute);
    if (!target) {
        target = copy.append_attribute(attribute);
    }
    target.set_value(value);
    pugi::xml_attribute apply = copy.attribute(applyAttribute);
    if (!apply) {
        apply = copy.append_attribute(applyAttribute);
    }
    apply.set_value("1");
    xfs_.push_back(copy);
    updateCount(cellXfs);
    return int(xfs_.size()) - 1;
}

int Styles::fontWithColor(int fontId, StyleColor color) {
    const uint64_t key = (uint64_t(fontId) << 33) | colorKey(color);
    if (const auto it = fontCache_.find(key); it != fontCache_.end()) {
        return it->second;
    }
    pugi::xml_node fonts = section("fonts");
    pugi::xml_node source =
        fontId >= 0 && fontId < int(fonts_.size()) ? fonts_[size_t(fontId)] : pugi::xml_node();
    pugi::xml_node copy = source ? fonts.append_copy(source) : fonts.append_child("font");
    pugi::xml_node colorNode = copy.child("color");
    if (!colorNode) {
        // Font children follow a fixed order: the colour goes after sz, before name.
        pugi::xml_node before;
        for (const char* later : {"name", "family", "charset", "scheme"}) {
            if ((before = copy.child(later))) {
                break;
            }
        }
        colorNode = before ? copy.insert_child_before("color", before) : copy.append_child("color");
    }
    setColorNode(colorNode, color);
    fonts_.push_back(copy);
    updateCount(fonts);
    const int id = int(fonts_.size()) - 1;
    fontCache_[key] = id;
    return id;
}

int Styles::fillWithColor(StyleColor color) {
    if (color.automatic) {
        return 0;
    }
    const uint64_t key = colorKey(color);
    if (const auto it = fillCache_.find(key); it != fillCache_.end()) {
        return it->second;
    }
    pugi::xml_node fills = section("fills");
    pugi::xml_node fill = fills.append_child("fill");
    pugi::xml_node pattern = fill.append_child("patternFill");
    pattern.append_attribute("patternType").set_value("solid");
    setColorNode(pattern.append_child("fgColor"), color);
    pattern.append_child("bgColor").append_attribute("indexed").set_value("64");
    updateCount(fills);
    int id = -1;
    for (pugi::xml_node child : fills.children("fill")) {
        (void)child;
        ++id;
    }
    fillCache_[key] = id;
    return id;
}

int Styles::withFontColor(int xf, StyleColor color) {
    ensurePart();
    const uint64_t key = (uint64_t(xf) << 34) | colorKey(color);
    if (const auto it = xfCache_.find(key); it != xfCache_.end()) {
        return it->second;
    }
    const int base = xf >= 0 && xf < int(xfs_.size()) ? xf : 0;
    const int font = fontWithColor(xfs_[size_t(base)].attribute("fontId").as_int(), color);
    const int result = cloneXf(base, "fontId", font, "applyFont");
    xfCache_[key] = result;
    return result;
}

int Styles::withFill(int xf, StyleColor color) {
    ensurePart();
    const uint64_t key = (uint64_t(xf) << 34) | (1ull << 33) | colorKey(color);
    if (const auto it = xfCache_.find(key); it != xfCache_.end()) {
        return it->second;
    }
    const int base = xf >= 0 && xf < int(xfs_.size()) ? xf : 0;
    const int result = cloneXf(base, "fillId", fillWithColor(color), "applyFill");
    xfCache_[key] = result;
    return result;
}

int Styles::dateFormatId() {
    if (dateFormatId_ >= 0) {
        return dateFormatId_;
    }
    const QString code = QStringLiteral("dd-mmm-yyyy");
    int maxId = 163;
    for (const auto& [id, existing] : customFormats_) {
        if (existing == code) {
            return dateFormatId_ = id;
        }
        maxId = std::max(maxId, id);
    }
    dateFormatId_ = maxId + 1;
    pugi::xml_node formats = section("numFmts");
    pugi::xml_node format = formats.append_child("numFmt");
    format.append_attribute("numFmtId").set_value(dateFormatId_);
    format.append_attribute("formatCode").set_value("dd-mmm-yyyy");
    customFormats_[dateFormatId_] = code;
    updateCount(formats);
    return dateFormatId_;
}

int Styles::withDateFormat(int xf) {
    if (loaded_ && isDateStyle(xf)) {
        return xf;
    }
    ensurePart();
    const uint64_t key = (uint64_t(xf) << 34) | (3ull << 32);
    if (const auto it = xfCache_.find(key); it != xfCache_.end()) {
        return it->second;
    }
    const int base = xf >= 0 && xf < int(xfs_.size()) ? xf : 0;
    const int result = cloneXf(base, "numFmtId", dateFormatId(), "applyNumberFormat");
    xfCache_[key] = result;
    return result;
}

} // namespace workbook::detail
