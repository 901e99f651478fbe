#include "workbook/detail/ChartCache.h"

#include "workbook/detail/FormulaRefs.h"
#include "workbook/detail/XmlEdit.h"

#include <charconv>
#include <cstring>
#include <list>
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

// How many cells the areas hold together.
size_t cellCount(const std::vector<Area>& areas) {
    size_t count = 0;
    for (const Area& a : areas) {
        if (a.lastRow >= a.firstRow && a.lastCol >= a.firstCol)
            count += size_t(a.lastRow - a.firstRow + 1) * size_t(a.lastCol - a.firstCol + 1);
    }
    return count;
}

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
    return cellCount(areas) <= kMaxPoints;
}

std::string serialised(const pugi::xml_node& node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

bool isPointsMarker(const pugi::xml_node& node) {
    return node.type() == pugi::node_pi && std::strcmp(node.name(), kPointsMarker) == 0;
}

// The index a points marker carries, or -1.
long markerIndex(const pugi::xml_node& node, size_t count) {
    const char* value = node.value();
    long index = -1;
    const auto [end, error] = std::from_chars(value, value + std::strlen(value), index);
    return error == std::errc() && *end == '\0' && index >= 0 && size_t(index) < count ? index : -1;
}

// What a cache looks like once serialised: its own XML with each run of points (nodes, or the
// points a marker stands for) blanked, and the runs, compared piece by piece so that a cache of
// thousands of points is never written out whole.
struct CacheImage {
    struct Piece {
        const std::string* text = nullptr; // a run of point nodes, as their XML
        const CachePoints* points = nullptr;
        bool operator==(const Piece& other) const {
            if (points && other.points)
                return *points == *other.points;
            if (points)
                return points->writes(*other.text);
            if (other.points)
                return other.points->writes(*text);
            return *text == *other.text;
        }
    };
    std::string skeleton;
    std::vector<Piece> pieces;
    std::list<std::string> owned;
    bool operator==(const CacheImage& other) const {
        return skeleton == other.skeleton && pieces == other.pieces;
    }
};

CacheImage imageOf(const pugi::xml_node& cache, const std::vector<CachePoints>* points) {
    CacheImage image;
    if (!points) {
        image.skeleton = serialised(cache);
        return image;
    }
    pugi::xml_document copy;
    pugi::xml_node node = copy.append_copy(cache);
    for (pugi::xml_node c = node.first_child(); c;) {
        if (isPointsMarker(c)) {
            const long index = markerIndex(c, points->size());
            image.pieces.push_back(index < 0
                                       ? CacheImage::Piece{&image.owned.emplace_back()}
                                       : CacheImage::Piece{nullptr, &(*points)[size_t(index)]});
            c.set_value("");
            c = c.next_sibling();
        } else if (c.type() == pugi::node_element && isNamed(c, "pt")) {
            std::string& run = image.owned.emplace_back();
            while (c && c.type() == pugi::node_element && isNamed(c, "pt")) {
                run += serialised(c);
                pugi::xml_node next = c.next_sibling();
                if (next && next.type() == pugi::node_element && isNamed(next, "pt")) {
                    node.remove_child(c);
                } else {
                    pugi::xml_node marker = node.insert_child_before(pugi::node_pi, c);
                    marker.set_name(kPointsMarker);
                    node.remove_child(c);
                }
                c = next;
            }
            image.pieces.push_back({&run});
        } else {
            c = c.next_sibling();
        }
    }
    image.skeleton = serialised(node);
    return image;
}

// The points of one cache as nodes, each with its index and value.
class PointNodes {
public:
    PointNodes(pugi::xml_node cache, const std::string& prefix)
        : cache_(cache), ext_(child(cache, "extLst")), pt_(prefix + "pt"), v_(prefix + "v") {}

    void add(int index, const std::string& value) {
        pugi::xml_node pt =
            ext_ ? cache_.insert_child_before(pt_.c_str(), ext_) : cache_.append_child(pt_.c_str());
        pt.append_attribute("idx").set_value(index);
        pt.append_child(v_.c_str()).text().set(value.c_str());
    }

private:
    pugi::xml_node cache_;
    pugi::xml_node ext_;
    std::string pt_;
    std::string v_;
};

// Rebuilds one numCache or strCache from the cells of the areas. With runs the points are kept
// as values in runs, marked in the cache by a processing instruction.
// The points of the cells of the areas.
CachePoints readPoints(bool numeric, const std::vector<Area>& areas, const ChartCellSource& cells,
                       const std::string& prefix) {
    CachePoints points(prefix);
    points.reserve(cellCount(areas), numeric);
    int index = 0;
    for (const Area& a : areas) {
        if (a.lastRow < a.firstRow || a.lastCol < a.firstCol)
            continue;
        const bool oneColumn = a.firstCol == a.lastCol;
        for (int row = a.firstRow; row <= a.lastRow; ++row) {
            if (oneColumn)
                cells.walkingDown(a.sheet, row, a.firstCol);
            for (int col = a.firstCol; col <= a.lastCol; ++col, ++index) {
                if (numeric) {
                    const ChartCell cell = cells.value(a.sheet, row, col);
                    if (cell.kind == ChartCell::Kind::Number ||
                        cell.kind == ChartCell::Kind::Boolean)
                        points.addNumber(index, cell.number);
                } else {
                    ChartCell cell = cells.cell(a.sheet, row, col);
                    if (cell.kind != ChartCell::Kind::Empty)
                        points.addText(index, std::move(cell.text));
                }
            }
        }
    }
    return points;
}

// Rebuilds one numCache or strCache from the cells of the areas, which the formula names. With
// runs the points are kept as values in runs, marked in the cache by a processing instruction;
// points already read for the same formula and kind (known) are not read again: the charts of a
// workbook share their category cells.
void rebuildCache(pugi::xml_node cache, bool numeric, const std::string& formula,
                  const std::vector<Area>& areas, const ChartCellSource& cells,
                  std::vector<CachePoints>* runs, KnownPoints* known) {
    const std::string p = prefixOf(cache);
    for (pugi::xml_node c = cache.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (isNamed(c, "pt") || isNamed(c, "ptCount") || isPointsMarker(c))
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
    ptCount.append_attribute("val").set_value(cellCount(areas));
    const std::string key = (numeric ? "n " : "s ") + p + ' ' + formula;
    const CachePoints* read = nullptr;
    if (known) {
        const auto it = known->find(key);
        read = it == known->end() ? nullptr : &it->second;
    }
    CachePoints points = read ? *read : readPoints(numeric, areas, cells, p);
    if (known && !read)
        known->emplace(key, points);
    if (!runs) {
        PointNodes nodes(cache, p);
        points.eachPoint([&](int index, const std::string& value) { nodes.add(index, value); });
    } else if (!points.empty()) {
        const pugi::xml_node ext = child(cache, "extLst");
        pugi::xml_node marker =
            ext ? cache.insert_child_before(pugi::node_pi, ext) : cache.append_child(pugi::node_pi);
        marker.set_name(kPointsMarker);
        marker.set_value(std::to_string(runs->size()).c_str());
        runs->push_back(std::move(points));
    }
}

// Gives the markers of a cache that is not rebuilt indexes into the new runs, carrying over
// the points they stood for.
void carryMarkers(pugi::xml_node cache, const std::vector<CachePoints>& old,
                  std::vector<CachePoints>& runs) {
    for (pugi::xml_node c = cache.first_child(); c; c = c.next_sibling()) {
        if (!isPointsMarker(c))
            continue;
        const long index = markerIndex(c, old.size());
        c.set_value(std::to_string(runs.size()).c_str());
        runs.push_back(index < 0 ? CachePoints() : old[size_t(index)]);
    }
}

} // namespace

bool refreshChartCaches(pugi::xml_document& chart, const ChartCellSource& cells,
                        std::vector<CachePoints>* points, KnownPoints* known) {
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
    const std::vector<CachePoints> oldRuns =
        points ? std::move(*points) : std::vector<CachePoints>();
    std::vector<CachePoints> newRuns;
    bool modified = false;
    for (pugi::xml_node ref : refs) {
        const bool numeric = isNamed(ref, "numRef");
        const char* cacheName = numeric ? "numCache" : "strCache";
        pugi::xml_node cache = child(ref, cacheName);
        const pugi::xml_node f = child(ref, "f");
        std::vector<Area> areas;
        if (!f || !collectAreas(f.text().get(), cells, areas)) {
            if (cache && points)
                carryMarkers(cache, oldRuns, newRuns);
            continue;
        }
        CacheImage before;
        if (cache) {
            before = imageOf(cache, points ? &oldRuns : nullptr);
        } else {
            cache = ref.insert_child_after((prefixOf(ref) + cacheName).c_str(), f);
        }
        rebuildCache(cache, numeric, f.text().get(), areas, cells, points ? &newRuns : nullptr,
                     known);
        modified = modified || !(imageOf(cache, points ? &newRuns : nullptr) == before);
    }
    if (points)
        *points = std::move(newRuns);
    return modified;
}

} // namespace workbook::detail
