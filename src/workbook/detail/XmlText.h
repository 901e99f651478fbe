#pragma once

#include <pugixml.hpp>

#include <QString>
#include <string>
#include <vector>

namespace workbook::detail {

// Text of a string item (<si>, <is>), whatever prefix its elements carry: its plain <t> and its
// rich runs joined in order, spaces kept; phonetic runs left out; the _xHHHH_ escapes decoded.
QString stringItemText(pugi::xml_node item);
// Escapes what XML cannot hold (control characters) and a literal "_x" as _xHHHH_.
std::string encodeCellText(const QString& text);

// The shared strings of a workbook, read once in order.
class SharedStrings {
public:
    SharedStrings() = default;
    explicit SharedStrings(pugi::xml_node sst);
    int count() const { return int(items_.size()); }
    // The text at `index`; empty for an index outside the table.
    QString at(int index) const;

private:
    std::vector<QString> items_;
};

} // namespace workbook::detail
