#pragma once

#include "workbook/detail/XmlEdit.h"

#include <pugixml.hpp>

#include <QString>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace workbook::detail {

class Package;

// A colour as the styles part writes it: automatic, or ARGB.
struct StyleColor {
    bool automatic = false;
    uint32_t argb = 0xFF000000u;
};

// Maps a colour value of the object model (0x00BBGGRR, or a system colour 0xFF0000nn) to a
// style colour; raises the bare 800A03EC for any other value.
StyleColor colorFromBgr(int32_t color);

// The styles part: number formats of the cell styles, and cloning of cell styles with another
// font colour, fill or number format. Clones are deduplicated so that many colour changes on a
// few styles add only a few styles.
class Styles {
public:
    Styles(Package& package, std::string part);

    int count() const { return int(xfs_.size()); }
    // The number format code of cell style `xf` ("General" for the default).
    QString formatCode(int xf) const;
    bool isDateStyle(int xf) const;

    int withFontColor(int xf, StyleColor color);
    int withFill(int xf, StyleColor color);
    // `xf` when it already has a date format, otherwise a clone with "dd-mmm-yyyy".
    int withDateFormat(int xf);

private:
    void load();
    void ensurePart();
    void addMissingTables();
    // Gives a default entry copied into the part, and its children, the part's prefix.
    void applyPrefix(pugi::xml_node node);
    pugi::xml_node section(const char* name);
    void updateCount(pugi::xml_node section);
    int cloneXf(int xf, const char* attribute, int value, const char* applyAttribute);
    int fontWithColor(int fontId, StyleColor color);
    int fillWithColor(StyleColor color);
    int dateFormatId();

    Package& package_;
    std::string part_;
    PartNames names_;
    bool loaded_ = false; // the part exists and its tables are read
    bool ready_ = false;  // the part and the tables a change needs exist
    std::vector<pugi::xml_node> xfs_;
    std::vector<pugi::xml_node> fonts_;
    std::unordered_map<int, QString> customFormats_;
    std::unordered_map<uint64_t, int> xfCache_;
    std::unordered_map<uint64_t, int> fontCache_;
    std::unordered_map<uint64_t, int> fillCache_;
    int dateFormatId_ = -1;
};

} // namespace workbook::detail
