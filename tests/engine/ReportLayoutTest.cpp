#include "engine/DataSetColors.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace {

using namespace ReportColors;

struct Tables {
    TovRHs psHeaders, cdHeaders;
    TovRFs psFields, cdFields;
    Tables() {
        FillProjectSummaryHeaders(psHeaders);
        FillChartDataHeaders(cdHeaders);
        FillProjectSummaryFields(psFields);
        FillChartDataFields(cdFields);
    }
};

// Column and row of an A1 reference, worked out independently of the tables' own parser.
std::pair<int, int> a1(const QString& cell) {
    int column = 0;
    qsizetype i = 0;
    for (; i < cell.size() && cell[i].isUpper(); ++i) {
        column = column * 26 + (cell[i].toLatin1() - 'A' + 1);
    }
    return {column, cell.mid(i).toInt()};
}

TEST(ReportLayout, TablesHoldTheirItemCounts) {
    Tables t;
    EXPECT_EQ(t.psHeaders.getCount(), 75);
    EXPECT_EQ(t.psFields.getCount(), 148);
    EXPECT_EQ(t.cdHeaders.getCount(), 8);
    EXPECT_EQ(t.cdFields.getCount(), 8);
}

TEST(ReportLayout, HeaderSamplesMatchTheLayout) {
    Tables t;
    struct Case {
        const TovRHs* list;
        int item;
        const char* cell;
        const char* caption;
        THorAlign align;
        bool bold;
        TColor font, back;
        TColor top, left, bottom, right;
        const char* mergeTo;
    };
    const Case cases[] = {
        {&t.psHeaders, 1, "A1", "Ovik KRV Tessel: Curvewright", haLeft, true, White, Green, Black,
         Black, Black, Black, "E1"},
        {&t.psHeaders, 4, "F2", "Cut Off Date", haLeft, true, White, Black, Black, Black, Black,
         Black, ""},
        {&t.psHeaders, 6, "A4", "Project Number", haLeft, false, Black, clBtnFace, Silver, Black,
         Silver, Black, ""},
        {&t.psHeaders, 21, "B12", "Baseline", haCenter, true, White, DataSetColors::Baseline, Black,
         Black, Black, Silver, ""},
        {&t.psHeaders, 23, "D12", "Actual", haCenter, true, Black, DataSetColors::Actual, Black,
         Black, Black, Silver, ""},
        {&t.psHeaders, 41, "A21", "Duration: Total", haLeft, true, Black, LightYellow, Black, Black,
         Black, Black, ""},
        {&t.psHeaders, 50, "A30", "Progress To Date", haLeft, true, Black, Yellow, Black, Black,
         Black, Black, ""},
        {&t.psHeaders, 51, "B30", "Baseline %\r\n(Baseline=100%)", haCenter, true, White,
         DataSetColors::Baseline, Black, Black, Black, Silver, ""},
        {&t.psHeaders, 56, "G30", "Target %\r\n(Target=100%)", haCenter, true, White,
         DataSetColors::Target, Black, Silver, Black, Black, ""},
        {&t.psHeaders, 74, "E37", "Increased: Man Hours", haLeft, false, Black, clBtnFace, Silver,
         Black, Silver, Silver, ""},
        {&t.psHeaders, 75, "E38", "Increased: Cost", haLeft, false, Black, clBtnFace, Silver, Black,
         Black, Black, ""},
        {&t.cdHeaders, 1, "A1", "Ovik KRV Tessel: Curvewright", haLeft, true, White, Green, Black,
         Black, Black, Black, "H1"},
        {&t.cdHeaders, 2, "A2", "Chart Data", haLeft, true, White, Green, Black, Black, Black,
         Black, "J2"},
        {&t.cdHeaders, 4, "I3", "Cut Off Date", haLeft, true, White, Black, Black, Black, Black,
         Black, ""},
        {&t.cdHeaders, 8, "A5", "Project Client", haLeft, false, Black, clBtnFace, Silver, Black,
         Black, Black, ""},
    };
    for (const Case& c : cases) {
        const TovRH* h = c.list->getItems(c.item);
        const std::string at = std::string(c.cell) + " item " + std::to_string(c.item);
        EXPECT_EQ(h->getCell(), QLatin1String(c.cell)) << at;
        EXPECT_EQ(h->getCaption(), QString::fromUtf8(c.caption)) << at;
        EXPECT_EQ(h->getHorAlign(), c.align) << at;
        EXPECT_EQ(h->getFontBold(), c.bold) << at;
        EXPECT_EQ(h->getFontColor(), c.font) << at;
        EXPECT_EQ(h->getColor(), c.back) << at;
        EXPECT_EQ(h->getGridLineTopColor(), c.top) << at;
        EXPECT_EQ(h->getGridLineLeftColor(), c.left) << at;
        EXPECT_EQ(h->getGridLineBottomColor(), c.bottom) << at;
        EXPECT_EQ(h->getGridLineRightColor(), c.right) << at;
        EXPECT_EQ(h->getMerge(), c.mergeTo[0] != '\0') << at;
        if (h->getMerge()) {
            const auto [col2, row2] = a1(QLatin1String(c.mergeTo));
            EXPECT_EQ(h->getMergeCol2(), col2) << at;
            EXPECT_EQ(h->getMergeRow2(), row2) << at;
        }
        EXPECT_FALSE(h->getEllipsifyPath() || h->getEllipsifyText()) << at;
    }
}

TEST(ReportLayout, FieldSamplesMatchTheLayout) {
    Tables t;
    struct Case {
        const TovRFs* list;
        int item;
        const char* cell;
        const char* label;
        quint8 type;
        const char* format;
        THorAlign align;
        bool bold;
        TColor font, back;
        TColor top, left, bottom, right;
        const char* ellipsis;
        const char* mergeTo;
    };
    const Case cases[] = {
        {&t.psFields, 1, "G1", "Report Date", vtDate, "dd-MMM-yyyy", haLeft, false, clWindowText,
         White, Black, Black, Black, Black, "", ""},
        {&t.psFields, 6, "B6", "Data File", vtText, "%s", haLeft, false, clWindowText, White, Black,
         Black, Black, Black, "path", "G6"},
        {&t.psFields, 8, "B8", "Data Source File", vtText, "%s", haLeft, false, clWindowText, White,
         Silver, Black, Silver, Black, "path", "E8"},
        {&t.psFields, 9, "B9", "Data Options", vtText, "%s", haLeft, false, clWindowText, White,
         Silver, Black, Silver, Black, "text", "E9"},
        {&t.psFields, 11, "B11", "Filter Details", vtText, "%s", haLeft, false, clWindowText, White,
         Silver, Black, Black, Black, "text", "E11"},
        {&t.psFields, 13, "G9", "Task Counts: Ignored Tasks", vtInteger, "%d", haRight, false,
         clWindowText, White, Silver, Black, Silver, Black, "", ""},
        {&t.psFields, 17, "C13", "Task Details: Valid Tasks (% of Baseline)", vtNumber, "%n",
         haRight, false, Black, PaleBlue, Black, Silver, Silver, Black, "", ""},
        {&t.psFields, 47, "C19", "", vtText, "%s", haLeft, false, Black, Grey, Black, Silver,
         Silver, Black, "", ""},
        {&t.psFields, 57, "G20", "", vtText, "%s", haLeft, false, Black, Grey, Silver, Silver,
         Black, Black, "", ""},
        {&t.psFields, 58, "B21", "Project Details: Duration Total: Baseline", vtInteger, "%d",
         haRight, true, Black, PaleBlue, Black, Black, Black, Silver, "", ""},
        {&t.psFields, 98, "F27", "Project Details: Cost Total: Target", vtNumber, "%n", haRight,
         true, Black, PaleOrange, Black, Black, Black, Silver, "", ""},
        {&t.psFields, 120, "D32", "Progress: Cost Actual % (Baseline = 100%)", vtNumber, "%n",
         haRight, false, Black, PaleGreen, Silver, Black, Black, Silver, "", ""},
        {&t.psFields, 134, "C37", "Project Status: Man Hours: % of Baseline", vtNumber, "%n",
         haRight, false, Black, PaleBlue, Silver, Silver, Silver, Silver, "", ""},
        {&t.psFields, 138, "D38", "Project Status: Cost: Status", vtText, "%s", haLeft, false,
         clWindowText, White, Silver, Silver, Black, Black, "", ""},
        {&t.psFields, 148, "G38", "Task Status: Increased Cost: % of Tasks", vtNumber, "%n",
         haRight, false, clWindowText, White, Silver, Silver, Black, Black, "", ""},
        {&t.cdFields, 1, "J1", "Report Date", vtDate, "dd-MMM-yyyy", haLeft, false, clWindowText,
         White, Black, Black, Black, Black, "", ""},
        {&t.cdFields, 2, "I4", "Cut Off Date", vtDate, "dd-MMM-yyyy", haLeft, false, White, Black,
         Black, Black, Black, Black, "", ""},
        {&t.cdFields, 3, "I5", "Cut Off Date", vtDate, "dd-MMM-yyyy", haLeft, false, White, Black,
         Black, Black, Black, Black, "", ""},
        {&t.cdFields, 4, "J4", "Chart Value", vtInteger, "%d", haLeft, false, Black, Silver, Black,
         Black, Black, Black, "", ""},
        {&t.cdFields, 5, "J5", "Chart Value", vtInteger, "%d", haLeft, false, Black, Silver, Black,
         Black, Black, Black, "", ""},
        {&t.cdFields, 6, "B3", "Project Title", vtText, "%s", haLeft, false, clWindowText, White,
         Black, Black, Silver, Black, "", "H3"},
        {&t.cdFields, 8, "B5", "Project Client", vtText, "%s", haLeft, false, clWindowText, White,
         Silver, Black, Black, Black, "", "H5"},
    };
    for (const Case& c : cases) {
        const TovRF* f = c.list->getItems(c.item);
        const std::string at = std::string(c.cell) + " item " + std::to_string(c.item);
        EXPECT_EQ(f->getCell(), QLatin1String(c.cell)) << at;
        EXPECT_EQ(f->getLabel(), QString::fromUtf8(c.label)) << at;
        EXPECT_EQ(f->getValueType(), c.type) << at;
        EXPECT_EQ(f->getFormat(), QLatin1String(c.format)) << at;
        EXPECT_EQ(f->getHorAlign(), c.align) << at;
        EXPECT_EQ(f->getFontBold(), c.bold) << at;
        EXPECT_EQ(f->getFontColor(), c.font) << at;
        EXPECT_EQ(f->getColor(), c.back) << at;
        EXPECT_EQ(f->getGridLineTopColor(), c.top) << at;
        EXPECT_EQ(f->getGridLineLeftColor(), c.left) << at;
        EXPECT_EQ(f->getGridLineBottomColor(), c.bottom) << at;
        EXPECT_EQ(f->getGridLineRightColor(), c.right) << at;
        EXPECT_EQ(f->getEllipsifyPath(), QLatin1String(c.ellipsis) == QLatin1String("path")) << at;
        EXPECT_EQ(f->getEllipsifyText(), QLatin1String(c.ellipsis) == QLatin1String("text")) << at;
        EXPECT_EQ(f->getMerge(), c.mergeTo[0] != '\0') << at;
        if (f->getMerge()) {
            const auto [col2, row2] = a1(QLatin1String(c.mergeTo));
            EXPECT_EQ(f->getMergeCol2(), col2) << at;
            EXPECT_EQ(f->getMergeRow2(), row2) << at;
        } else {
            EXPECT_EQ(f->getMergeCol2(), -1) << at;
            EXPECT_EQ(f->getMergeRow2(), -1) << at;
        }
    }
}

// Every item of a sheet: cell, position, merge area; checked for agreement, overlap and bounds.
struct Placed {
    QString name;
    QString cell;
    int column, row;
    bool merge;
    int column2, row2;
};

std::vector<Placed> placedItems(const TovRHs& headers, const TovRFs& fields) {
    std::vector<Placed> out;
    for (int i = 1; i <= headers.getCount(); ++i) {
        const TovRH* h = headers.getItems(i);
        out.push_back({QStringLiteral("header %1").arg(i), h->getCell(), h->getColumn(),
                       h->getRow(), h->getMerge(), h->getMergeCol2(), h->getMergeRow2()});
    }
    for (int i = 1; i <= fields.getCount(); ++i) {
        const TovRF* f = fields.getItems(i);
        out.push_back({QStringLiteral("field %1").arg(i), f->getCell(), f->getColumn(), f->getRow(),
                       f->getMerge(), f->getMergeCol2(), f->getMergeRow2()});
    }
    return out;
}

void checkSheet(const TovRHs& headers, const TovRFs& fields, int lastColumn, int lastRow) {
    const std::vector<Placed> items = placedItems(headers, fields);
    std::map<std::pair<int, int>, QString> owner;
    for (const Placed& p : items) {
        const std::string at = p.name.toStdString() + " " + p.cell.toStdString();
        EXPECT_EQ(a1(p.cell), std::make_pair(p.column, p.row)) << at;
        EXPECT_GE(p.column, 1) << at;
        EXPECT_GE(p.row, 1) << at;
        const int c2 = p.merge ? p.column2 : p.column;
        const int r2 = p.merge ? p.row2 : p.row;
        if (p.merge) {
            EXPECT_TRUE(c2 > p.column || r2 > p.row) << at;
        }
        EXPECT_GE(c2, p.column) << at;
        EXPECT_GE(r2, p.row) << at;
        EXPECT_LE(c2, lastColumn) << at;
        EXPECT_LE(r2, lastRow) << at;
        for (int c = p.column; c <= c2; ++c) {
            for (int r = p.row; r <= r2; ++r) {
                const auto [it, inserted] = owner.emplace(std::make_pair(c, r), p.name);
                EXPECT_TRUE(inserted) << at << " overlaps " << it->second.toStdString()
                                      << " at column " << c << " row " << r;
            }
        }
    }
}

TEST(ReportLayout, CellsAgreeWithPositionsDoNotOverlapAndStayInsideTheSheet) {
    Tables t;
    checkSheet(t.psHeaders, t.psFields, 7, 38);
    checkSheet(t.cdHeaders, t.cdFields, 10, 5);
}

TEST(ReportLayout, ProjectSummaryFillsEveryCellOfItsGrid) {
    // Columns A to G of rows 1 to 38 are each covered by exactly one item or merged area.
    Tables t;
    int covered = 0;
    for (const Placed& p : placedItems(t.psHeaders, t.psFields)) {
        const int c2 = p.merge ? p.column2 : p.column;
        const int r2 = p.merge ? p.row2 : p.row;
        covered += (c2 - p.column + 1) * (r2 - p.row + 1);
    }
    EXPECT_EQ(covered, 7 * 38);
}

TEST(ReportLayout, FormatsFollowTheValueTypes) {
    Tables t;
    for (const TovRFs* list : {&t.psFields, &t.cdFields}) {
        for (int i = 1; i <= list->getCount(); ++i) {
            const TovRF* f = list->getItems(i);
            const char* expected[] = {"%s", "%d", "%n", "dd-MMM-yyyy"};
            ASSERT_LE(f->getValueType(), 3) << i;
            EXPECT_EQ(f->getFormat(), QLatin1String(expected[f->getValueType()])) << i;
        }
    }
}

TEST(ReportLayout, FillingAMissingGlobalTableRaises) {
    TovRHs* saved = PS_RHs;
    PS_RHs = nullptr;
    EXPECT_THROW(FillProjectSummaryHeaders(), platform::Exception);
    PS_RHs = saved;
}

} // namespace
