#include "workbook/detail/ChartCache.h"

#include "workbook/detail/FormulaRefs.h"
#include "workbook/detail/XmlEdit.h"

#include <charconv>
#include <cstring>
#include <sstream>
#include <vector>

namespace workbook::detail {

namespace {

// A chart series over more cells than this is left with its cache.
constexpr size_t kMaxPoints = 1000000;

// Whether everything of the formula but its references is sheet prefixes, parentheses and
// commas: "(Data!$A$1:$A$3,Data!$A$5)" is, "Data!Total" and "Data!A1+1" are not.
bool onlyReferences(std::string_view residual) {
    size_t i = 0;
    while (i < residual.size()) {
        const char c = residual[i];
        if (c == '(' || c == ')' || c == ',' || c == ' ' || c == '\x01') {
            ++i;
            continue;
        }
        size_t end = i;
        if (c == '\'') {
            ++end;
            while (end < residual.size()) {
                if (residual[end] == '\'' &&
                    (end + 1 >= residual.size() || residual[end + 1] != '\''))
                    break;
                end += residual[end] == '\'' ? 2 : 1;
            }
            ++end;
        } else {
            while (end < residual.size() && residual[end] != '!' && residual[end] != '(' &&
                   residual[end] != ')' && residual[end] != ',' && residual[end] != '\x01')
                ++end;
        }
        // A sheet prefix must be followed by its reference.
        if (end + 1 >= residual.size() || residual[end] != '!' || residual[end + 1] != '\x01')
            return false;
        i = end + 1;
    }
    return true;
}

struct Area {
    std::string sheet;
    int firstRow, lastRow, firstCol, lastCol;
};

// The cells a series formula names, in order; false when the cache cannot be rebuilt from it.
bool collectAreas(const std::string& formula, const ChartCellSource& cells,
                  std::vector<Area>& areas) {
    bool ok = true;
    const std::string residual =
        rewriteReferences(formula, [&](const Reference& r) -> std::optional<std::string> {
            if (!r.qualified || r.foreign || !cells.hasSheet(r.sheet)) {
                ok = false;
                return std::nullopt;
            }
            Area a{r.sheet, r.firstRow, r.lastRow, r.firstCol, r.lastCol};
            if (r.kind == Reference::Kind::Columns) {
                a.firstRow = 1;
                a.lastRow = cells.lastRow(r.sheet);
            } else if (r.kind == Reference::Kind::Rows) {
                a.firstCol = 1;
                a.lastCol = cells.lastColumn(r.sheet);
            }
            if (a.firstRow > a.lastRow)
                std::swap(a.firstRow, a.lastRow);
            if (a.firstCol > a.lastCol)
                std::swap(a.firstCol, a.lastCol);
            areas.push_back(a);
            return std::string("\x01");
        });
    if (!ok || areas.empty() || !onlyReferences(residual))
        return false;
    size_t total = 0;
    for (const Area& a : areas) {
        if (a.lastRow < a.firstRow || a.lastCol < a.firstCol)
            continue;
        total += size_t(a.lastRow - a.firstRow + 1) * size_t(a.lastCol - a.firstCol + 1);
    }
    return total <= kMaxPoints;
}

std::string numberText(double v) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string serialised(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// Rebuilds one numCache or strCache from the cells of the areas.
void rebuildCache(pugi::xml_node cache, bool numeric, const std::vector<Area>& areas,
                  const ChartCellSource& cells) {
    const std::string p = prefixOf(cache);
    for (pugi::xml_node c = cache.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (isNamed(c, "pt") || isNamed(c, "ptCount"))
            cache.remove_child(c);
        c = next;
    }
    pugi::xml_node formatCode = child(cache, "formatCode");
    if (numeric && !formatCode) {
        formatCode = cache.prepend_child((p + "formatCode").c_str());
        formatCode.text().set("General");
    }
    pugi::xml_node ptCount = formatCode
                                 ? cache.insert_child_after((p + "ptCount").c_str(), formatCode)
                                 : cache.prepend_child((p + "ptCount").c_str());
    pugi::xml_node ext = child(cache, "extLst");
    int index = 0;
    for (const Area& a : areas) {
        if (a.lastRow < a.firstRow || a.lastCol < a.firstCol)
            continue;
        for (int row = a.firstRow; row <= a.lastRow; ++row) {
            for (int col = a.firstCol; col <= a.lastCol; ++col, ++index) {
                const ChartCell cell = cells.cell(a.sheet, row, col);
                std::string value;
                if (numeric) {
                    if (cell.kind == ChartCell::Kind::Number ||
                        cell.kind == ChartCell::Kind::Boolean)
                        value = numberText(cell.number);
                    else
                        continue;
                } else if (cell.kind == ChartCell::Kind::Empty) {
                    continue;
                } else {
                    value = cell.text;
                }
                pugi::xml_node pt = ext ? cache.insert_child_before((p + "pt").c_str(), ext)
                                        : cache.append_child((p + "pt").c_str());
                pt.append_attribute("idx").set_value(index);
                pt.append_child((p + "v").c_str()).text().set(value.c_str());
            }
        }
    }
    ptCount.append_attribute("val").set_value(index);
}

} // namespace

bool refreshChartCaches(pugi::xml_document& chart, const ChartCellSource& cells) {
    std::vector<pugi::xml_node> refs;
    std::vector<pugi::xml_node> stack{chart.document_element()};
    while (!stack.empty()) {
        pugi::xml_node node = stack.back();
        stack.pop_back();
        for (pugi::xml_node c : node.children()) {
            if (c.type() != pugi::node_element)
                continue;
            if (isNamed(c, "numRef") || isNamed(c, "strRef"))
                refs.push_back(c);
            else
                stack.push_back(c);
        }
    }
    bool modified = false;
    for (pugi::xml_node ref : refs) {
        const bool numeric = isNamed(ref, "numRef");
        const pugi::xml_node f = child(ref, "f");
        std::vector<Area> areas;
        if (!f || !collectAreas(f.text().get(), cells, areas))
            continue;
        const char* cacheName = numeric ? "numCache" : "strCache";
        pugi::xml_node cache = child(ref, cacheName);
        std::string before;
        if (cache) {
            before = serialised(cache);
        } else {
            cache = ref.insert_child_after((prefixOf(ref) + cacheName).c_str(), f);
        }
        rebuildCache(cache, numeric, areas, cells);
        modified = modified || serialised(cache) != before;
    }
    return modified;
}

} // namespace workbook::detail
