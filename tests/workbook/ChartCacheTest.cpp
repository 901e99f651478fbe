#include "workbook/detail/ChartCache.h"

#include "workbook/detail/FormulaRefs.h"
#include "workbook/detail/Package.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace workbook::detail;

namespace {

// Cells of one sheet, "Chart Data", held in a map.
class MapCells : public ChartCellSource {
public:
    std::map<std::pair<int, int>, ChartCell> cells;

    bool hasSheet(const std::string& sheet) const override {
        return sameSheetName(sheet, "Chart Data");
    }
    int lastRow(const std::string&) const override { return 10; }
    int lastColumn(const std::string&) const override { return 3; }
    mutable int reads = 0;
    ChartCell cell(const std::string&, int row, int column) const override {
        ++reads;
        const auto it = cells.find({row, column});
        return it == cells.end() ? ChartCell{} : it->second;
    }
};

ChartCell number(double v) {
    return {ChartCell::Kind::Number, v, {}};
}
ChartCell text(const char* t) {
    return {ChartCell::Kind::Text, 0, t};
}

// "idx=value" of every point of the cache under the XPath, then "n=" the point count.
std::string points(const pugi::xml_document& doc, const std::string& cache) {
    std::string out;
    for (const auto& pt : doc.select_nodes((cache + "/c:pt").c_str())) {
        out += pt.node().attribute("idx").value();
        out += '=';
        out += pt.node().child("c:v").text().get();
        out += ' ';
    }
    out += "n=";
    out += doc.select_node((cache + "/c:ptCount/@val").c_str()).attribute().value();
    return out;
}

const char* const kChart =
    R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart"><c:chart><c:plotArea><c:lineChart>
<c:ser><c:tx><c:strRef><c:f>'Chart Data'!$B$7</c:f><c:strCache><c:ptCount val="1"/><c:pt idx="0"><c:v>Old</c:v></c:pt></c:strCache></c:strRef></c:tx>
<c:cat><c:numRef><c:f>'Chart Data'!$A$8:$A$10</c:f><c:numCache><c:formatCode>dd-mmm-yy</c:formatCode><c:ptCount val="2"/><c:pt idx="0"><c:v>1</c:v></c:pt></c:numCache></c:numRef></c:cat>
<c:val><c:numRef><c:f>('Chart Data'!$B$8:$B$9,'Chart Data'!$B$10)</c:f><c:numCache><c:formatCode>General</c:formatCode><c:ptCount val="0"/><c:extLst/></c:numCache></c:numRef></c:val></c:ser>
<c:ser><c:val><c:numRef><c:f>'Chart Data'!Total</c:f><c:numCache><c:ptCount val="1"/><c:pt idx="0"><c:v>9</c:v></c:pt></c:numCache></c:numRef></c:val></c:ser>
<c:ser><c:cat><c:strRef><c:f>Missing!$A$1:$A$2</c:f></c:strRef></c:cat><c:val><c:numRef><c:f>'Chart Data'!$C:$C</c:f></c:numRef></c:val></c:ser>
<c:ser><c:cat><c:strRef><c:f>'Chart Data'!$A$8:$A$10</c:f><c:strCache><c:ptCount val="9"/></c:strCache></c:strRef></c:cat></c:ser>
</c:lineChart></c:plotArea></c:chart></c:chartSpace>)";

} // namespace

TEST(ChartCacheTest, CachesAreRebuiltFromTheCells) {
    MapCells cells;
    cells.cells[{7, 2}] = text("Baseline");
    cells.cells[{8, 1}] = {ChartCell::Kind::Number, 46000, "09-Dec-2025"};
    cells.cells[{9, 1}] = {ChartCell::Kind::Number, 46001, "10-Dec-2025"};
    cells.cells[{10, 1}] = {ChartCell::Kind::Number, 46002, "11-Dec-2025"};
    cells.cells[{8, 2}] = number(1.5);
    cells.cells[{10, 2}] = {ChartCell::Kind::Boolean, 1, "TRUE"};
    cells.cells[{1, 3}] = text("header");
    cells.cells[{2, 3}] = number(0.1);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(kChart));
    ASSERT_TRUE(refreshChartCaches(doc, cells));
    const std::string ser = "//c:ser";
    EXPECT_EQ(points(doc, ser + "[1]/c:tx//c:strCache"), "0=Baseline n=1");
    EXPECT_EQ(points(doc, ser + "[1]/c:cat//c:numCache"), "0=46000 1=46001 2=46002 n=3");
    EXPECT_EQ(doc.select_node("//c:ser[1]/c:cat//c:formatCode").node().text().get(),
              std::string("dd-mmm-yy"));
    // A union in order; the empty cell has no point; the extension list stays last.
    EXPECT_EQ(points(doc, ser + "[1]/c:val//c:numCache"), "0=1.5 2=1 n=3");
    EXPECT_STREQ(doc.select_node("//c:ser[1]/c:val//c:numCache").node().last_child().name(),
                 "c:extLst");
    // A defined name and a missing sheet keep what they had.
    EXPECT_EQ(points(doc, ser + "[2]/c:val//c:numCache"), "0=9 n=1");
    EXPECT_FALSE(doc.select_node("//c:ser[3]/c:cat//c:strCache"));
    // A whole column is read up to the sheet's last row; a missing cache is made.
    EXPECT_EQ(points(doc, ser + "[3]/c:val//c:numCache"), "1=0.1 n=10");
    // Text caches take the displayed text.
    EXPECT_EQ(points(doc, ser + "[4]/c:cat//c:strCache"),
              "0=09-Dec-2025 1=10-Dec-2025 2=11-Dec-2025 n=3");

    EXPECT_FALSE(refreshChartCaches(doc, cells)) << "a second refresh changes nothing";
}

TEST(ChartCacheTest, PointsKeptAsTextSerialiseAsTheirNodes) {
    MapCells cells;
    cells.cells[{7, 2}] = text("A & <B> \x01 \"q\"");
    cells.cells[{8, 1}] = {ChartCell::Kind::Number, 46000, "09-Dec-2025"};
    cells.cells[{9, 1}] = {ChartCell::Kind::Number, 46001, "10-Dec-2025"};
    cells.cells[{10, 1}] = {ChartCell::Kind::Text, 0, ""};
    cells.cells[{8, 2}] = number(0.1);
    cells.cells[{10, 2}] = number(-12345.678901234);
    cells.cells[{2, 3}] = number(1e-7);

    pugi::xml_document nodes;
    pugi::xml_document marked;
    ASSERT_TRUE(nodes.load_string(kChart));
    ASSERT_TRUE(marked.load_string(kChart));
    std::vector<CachePoints> texts;
    ASSERT_TRUE(refreshChartCaches(nodes, cells));
    ASSERT_TRUE(refreshChartCaches(marked, cells, &texts));
    EXPECT_FALSE(marked.select_node("//c:ser[1]//c:pt")) << "no rebuilt point is a node";
    EXPECT_EQ(serialise(marked, texts), serialise(nodes));

    EXPECT_FALSE(refreshChartCaches(marked, cells, &texts)) << "a second refresh changes nothing";
    EXPECT_EQ(serialise(marked, texts), serialise(nodes));

    cells.cells[{9, 2}] = number(7);
    EXPECT_TRUE(refreshChartCaches(marked, cells, &texts));
    EXPECT_TRUE(refreshChartCaches(nodes, cells));
    EXPECT_EQ(serialise(marked, texts), serialise(nodes));
}

TEST(ChartCacheTest, ChartsOfOneWorkbookShareThePointsOfAFormula) {
    MapCells cells;
    cells.cells[{8, 1}] = {ChartCell::Kind::Number, 46000, "09-Dec-2025"};
    cells.cells[{8, 2}] = number(1.5);
    cells.cells[{10, 2}] = number(2.5);
    pugi::xml_document first;
    pugi::xml_document second;
    pugi::xml_document alone;
    ASSERT_TRUE(first.load_string(kChart));
    ASSERT_TRUE(second.load_string(kChart));
    ASSERT_TRUE(alone.load_string(kChart));
    std::vector<CachePoints> firstRuns, secondRuns, aloneRuns;
    KnownPoints known;
    ASSERT_TRUE(refreshChartCaches(first, cells, &firstRuns, &known));
    const int firstReads = cells.reads;
    ASSERT_TRUE(refreshChartCaches(second, cells, &secondRuns, &known));
    EXPECT_EQ(cells.reads, firstReads) << "the second chart reads no cell again";
    ASSERT_TRUE(refreshChartCaches(alone, cells, &aloneRuns));
    EXPECT_EQ(serialise(second, secondRuns), serialise(alone, aloneRuns));
    EXPECT_EQ(serialise(first, firstRuns), serialise(alone, aloneRuns));
}

TEST(ChartCacheTest, OnlyTheMarkersOfThePartAreReplaced) {
    pugi::xml_document doc;
    ASSERT_TRUE(
        doc.load_string("<a><?krv-points 1?><?krv-points x?><?other 0?><?krv-points 0?></a>",
                        pugi::parse_default | pugi::parse_pi));
    CachePoints points("");
    points.addText(0, "b");
    EXPECT_EQ(serialise(doc, {points}),
              R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
              R"(<a><?krv-points 1?><?krv-points x?><?other 0?><pt idx="0"><v>b</v></pt></a>)");
}
