#include "forms/browse/BrowseGeometry.h"
#include "forms/browse/BrowseList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const QRect kArea(0, 0, 1000, 800);

TEST(BrowseGeometry, AnchorHangsBelowTheFieldAndRightOfTheButton) {
    const TAlignAnchor anchor = CalcAlignAnchor(QRect(300, 200, 150, 21), QRect(460, 198, 24, 24));
    EXPECT_EQ(anchor.AlignTop, 221);
    EXPECT_EQ(anchor.AlignRight, 488);
    EXPECT_EQ(anchor.FieldTop, 200);
}

TEST(BrowseGeometry, ListIsAtLeastThreeRowsHigh) {
    EXPECT_EQ(AutoListHeight(16, 0), 52);
    EXPECT_EQ(AutoListHeight(16, 1), 52);
    EXPECT_EQ(AutoListHeight(16, 3), 52);
    EXPECT_EQ(AutoListHeight(16, 10), 164);
}

TEST(BrowseGeometry, AutoSizeTable) {
    struct Case {
        const char* name;
        int items;
        int contentWidth;
        QRect window;
        QSize minimum;
        QRect area;
        bool keep;
        QRect expected;
        QSize expectedMinimum;
        int autoWidth;
        int autoHeight;
    };
    // Fixed parts 100 high, rows 16 high, frames 8 wide.
    const Case cases[] = {
        {"one item: three rows",
         1,
         300,
         {100, 100, 400, 300},
         {200, 150},
         kArea,
         true,
         {100, 100, 308, 152},
         {200, 150},
         308,
         152},
        {"400 items stop at the work area and move up",
         400,
         300,
         {100, 100, 400, 300},
         {200, 150},
         kArea,
         true,
         {100, 0, 308, 800},
         {200, 150},
         308,
         800},
        {"minimum lowered to the auto size",
         1,
         150,
         {100, 100, 400, 300},
         {200, 200},
         kArea,
         true,
         {100, 100, 158, 152},
         {158, 152},
         158,
         152},
        {"aligned windows only learn their auto size",
         10,
         300,
         {100, 100, 400, 300},
         {200, 150},
         kArea,
         false,
         {100, 100, 400, 300},
         {200, 150},
         308,
         264},
        {"too wide: work area width from its left",
         1,
         1200,
         {100, 100, 400, 300},
         {200, 150},
         kArea,
         true,
         {0, 100, 1000, 152},
         {200, 150},
         1000,
         152},
        {"near the bottom right corner: moved up and left",
         1,
         300,
         {900, 700, 400, 300},
         {200, 150},
         kArea,
         true,
         {692, 648, 308, 152},
         {200, 150},
         308,
         152},
        {"left of an offset work area: moved into it",
         1,
         300,
         {20, 100, 400, 300},
         {200, 150},
         QRect(100, 50, 800, 600),
         true,
         {100, 100, 308, 152},
         {200, 150},
         308,
         152},
    };
    for (const Case& c : cases) {
        TAutoSizeWish wish;
        wish.FixedHeight = 100;
        wish.ItemHeight = 16;
        wish.ItemCount = c.items;
        wish.ContentWidth = c.contentWidth;
        wish.FrameWidth = 8;
        const TAutoSizeResult r = AutoSizeBox(wish, {c.window, c.minimum}, c.area, c.keep);
        EXPECT_EQ(r.Box.Window, c.expected) << c.name;
        EXPECT_EQ(r.Box.Minimum, c.expectedMinimum) << c.name;
        EXPECT_EQ(r.AutoWidth, c.autoWidth) << c.name;
        EXPECT_EQ(r.AutoHeight, c.autoHeight) << c.name;
    }
}

TEST(BrowseGeometry, AutoAlignTable) {
    struct Case {
        const char* name;
        bool autoSize;
        TAlignAnchor anchor;
        QRect window;
        QRect expected;
    };
    // Minimum 300 x 150, auto size 400 x 300, work area 1000 x 800; fields 21 pixels high.
    const QRect any(10, 10, 500, 350);
    const Case cases[] = {
        {"auto size: below the field, right edge at the button",
         true,
         {200, 700, 179},
         any,
         {300, 200, 400, 300}},
        {"auto size: no room below, above the field at its own size",
         true,
         {600, 700, 579},
         any,
         {300, 279, 400, 300}},
        {"auto size: the last row at the bottom edge, above the field",
         true,
         {790, 700, 769},
         any,
         {300, 469, 400, 300}},
        {"auto size: no room below or above, moved up at its own size",
         true,
         {600, 700, 250},
         any,
         {300, 500, 400, 300}},
        {"auto size: button at the right edge keeps the width",
         true,
         {200, 1004, 179},
         any,
         {600, 200, 400, 300}},
        {"auto size: button at the left edge", true, {200, 100, 179}, any, {0, 200, 400, 300}},
        {"auto size: anchor above the work area", true, {-50, 700, -71}, any, {300, 0, 400, 300}},
        {"own size: below the field", false, {200, 700, 179}, any, {200, 200, 500, 350}},
        {"own size: no room below, above the field and left into the work area",
         false,
         {600, 1200, 579},
         any,
         {500, 229, 500, 350}},
        {"own size: no room below or above, moved up",
         false,
         {600, 700, 300},
         any,
         {200, 450, 500, 350}},
        {"own size: never left of the work area", false, {200, 300, 179}, any, {0, 200, 500, 350}},
    };
    for (const Case& c : cases) {
        const QRect r =
            AutoAlignRect(c.anchor, {c.window, {300, 150}}, 400, 300, c.autoSize, kArea);
        EXPECT_EQ(r, c.expected) << c.name;
        EXPECT_GE(r.left(), kArea.left()) << c.name;
        EXPECT_LE(r.x() + r.width(), kArea.width()) << c.name;
        EXPECT_LE(r.y() + r.height(), kArea.height()) << c.name;
        EXPECT_EQ(r.height(), c.autoSize ? 300 : any.height()) << c.name;
    }
}

TEST(BrowseGeometry, CentredDropsTheFraction) {
    EXPECT_EQ(CentredRect(QRect(5, 5, 401, 301), kArea), QRect(299, 249, 401, 301));
    EXPECT_EQ(CentredRect(QRect(5, 5, 400, 300), QRect(100, 50, 800, 600)),
              QRect(300, 200, 400, 300));
}

TEST(BrowseGeometry, SmallerThanAutoSizeOnEitherAxis) {
    EXPECT_FALSE(SmallerThanAutoSize(QSize(400, 300), 400, 300));
    EXPECT_TRUE(SmallerThanAutoSize(QSize(399, 300), 400, 300));
    EXPECT_TRUE(SmallerThanAutoSize(QSize(400, 299), 400, 300));
}

TEST(BrowseList, CellsLeaveFourPixelGaps) {
    const std::vector<TCellSpan> spans = CellSpans(2, {40, 100, 60});
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].Left, 2);
    EXPECT_EQ(spans[0].Width, 36);
    EXPECT_EQ(spans[1].Left, 42);
    EXPECT_EQ(spans[1].Width, 96);
    EXPECT_EQ(spans[2].Left, 142);
    EXPECT_EQ(spans[2].Width, 56);
}

TEST(BrowseList, PreselectionCompareModes) {
    struct Case {
        const char* name;
        std::vector<const char*> keys;
        const char* preselection;
        TPreselectCompare compare;
        int expected;
    };
    using enum TPreselectCompare;
    const Case cases[] = {
        {"worksheet: case ignored", {"Tasks", "Sheet1"}, "SHEET1", UpperCase, 1},
        {"worksheet: trailing blank not trimmed", {"Tasks", "Sheet1"}, "Sheet1 ", UpperCase, -1},
        {"worksheet: blank in the name matches itself",
         {"Sheet1", "Sheet1 "},
         "sheet1 ",
         UpperCase,
         1},
        {"worksheet: a later match wins", {"data", "Data"}, "DATA", UpperCase, 1},
        {"field: leading blank trimmed", {"A", "AB", "C"}, " ab", TrimmedUpperCase, 1},
        {"value: both sides trimmed", {"x", " Open ", "y"}, "OPEN  ", TrimmedUpperCase, 1},
        {"path: trimmed", {"/p/a.krvc", "/p/b.krvc"}, " /p/b.krvc ", Trimmed, 1},
        {"path: case counts", {"/p/a.krvc", "/p/b.krvc"}, "/P/B.krvc", Trimmed, -1},
        {"nothing matches", {"a", "b"}, "c", TrimmedUpperCase, -1},
        {"empty list", {}, "a", UpperCase, -1},
    };
    for (const Case& c : cases) {
        QStringList keys;
        for (const char* key : c.keys) {
            keys << QString::fromUtf8(key);
        }
        EXPECT_EQ(FindPreselection(keys, QString::fromUtf8(c.preselection), c.compare), c.expected)
            << c.name;
    }
}

} // namespace
