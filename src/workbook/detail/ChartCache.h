#pragma once

#include "workbook/detail/CachePoints.h"

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

namespace workbook::detail {

// One cell as a chart cache needs it: the value for number caches, the displayed text for text
// caches (category labels, series titles).
struct ChartCell {
    enum class Kind { Empty, Number, Text, Boolean, Error };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;
};

// The cells a chart's caches are refreshed from.
class ChartCellSource {
public:
    virtual ~ChartCellSource() = default;
    // Whether the workbook has a worksheet of that name (ignoring case).
    virtual bool hasSheet(const std::string& sheet) const = 0;
    // The last used row and column of the sheet; whole rows and columns are read up to them.
    virtual int lastRow(const std::string& sheet) const = 0;
    virtual int lastColumn(const std::string& sheet) const = 0;
    virtual ChartCell cell(const std::string& sheet, int row, int column) const = 0;
    // The cell for a number cache: its kind and number; the displayed text may be left out.
    virtual ChartCell value(const std::string& sheet, int row, int column) const {
        return cell(sheet, row, column);
    }
    // Told, walking down a column, of the row reached; may ask for the cells below it ahead.
    virtual void walkingDown(const std::string& sheet, int row, int column) const {
        (void)sheet, (void)row, (void)column;
    }
};

// The processing instruction that stands for a cache's points kept as values: its value is the
// index of the points in the part's runs of points (Package::points), written in its place when
// the part is serialised. A chart over thousands of days then holds one array of values per
// cache instead of three nodes per point.
inline constexpr const char* kPointsMarker = "krv-points";

// Refreshes the cached values of every number and text reference of a chart part (series
// values, categories, titles) from the cells their formulas name, so that a viewer that reads
// only the caches shows the workbook's data. A formula that is not made of plain references to
// worksheets of the workbook (a defined name, another workbook, #REF!) keeps its cache. Returns
// whether the part changed. With `points` the points are not made nodes: each rebuilt cache
// gets a marker and its points in `points`, which the refresh replaces whole.
// With `known`, the points read for a formula are kept there and taken from there by the next
// cache with the same formula and kind (the charts of a workbook share their category cells).
using KnownPoints = std::map<std::string, CachePoints>;
bool refreshChartCaches(pugi::xml_document& chart, const ChartCellSource& cells,
                        std::vector<CachePoints>* points = nullptr, KnownPoints* known = nullptr);

} // namespace workbook::detail
