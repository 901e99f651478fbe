#include "SummaryGrid.h"

#include "engine/SummaryData.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace {

// The header whose row holds the two-line captions: "Progress To Date".
constexpr int kTwoLineHeader = 50;

QString Framed(const QString& text) {
    return platform::Format(QStringLiteral(" %s "), {text});
}

} // namespace

TovSummaryGrid::TovSummaryGrid() : Cells(static_cast<std::size_t>(ColCount * RowCount)) {}

TovSummaryCell* TovSummaryGrid::at(int col, int row) {
    if (col < 1 || col > ColCount || row < 1 || row > RowCount) {
        return nullptr;
    }
    return &Cells[static_cast<std::size_t>((row - 1) * ColCount + (col - 1))];
}

const TovSummaryCell& TovSummaryGrid::cell(int col, int row) const {
    static const TovSummaryCell kDefault;
    if (col < 1 || col > ColCount || row < 1 || row > RowCount) {
        return kDefault;
    }
    return Cells[static_cast<std::size_t>((row - 1) * ColCount + (col - 1))];
}

// A cell's border line is also its neighbour's facing line, so the cell set later wins a shared
// border.
void TovSummaryGrid::setLines(int col, int row, const ReportCellStyle& style) {
    TovSummaryCell* c = at(col, row);
    c->Style.GridLineTopColor = style.GridLineTopColor;
    c->Style.GridLineLeftColor = style.GridLineLeftColor;
    c->Style.GridLineBottomColor = style.GridLineBottomColor;
    c->Style.GridLineRightColor = style.GridLineRightColor;
    if (TovSummaryCell* n = at(col, row - 1)) {
        n->Style.GridLineBottomColor = style.GridLineTopColor;
    }
    if (TovSummaryCell* n = at(col - 1, row)) {
        n->Style.GridLineRightColor = style.GridLineLeftColor;
    }
    if (TovSummaryCell* n = at(col, row + 1)) {
        n->Style.GridLineTopColor = style.GridLineBottomColor;
    }
    if (TovSummaryCell* n = at(col + 1, row)) {
        n->Style.GridLineLeftColor = style.GridLineRightColor;
    }
}

template <typename Visit>
void TovSummaryGrid::forEachFieldCell(const TovRFs& fields, Visit&& visit) {
    for (int i = 1; i <= fields.getCount(); ++i) {
        const TovRF& f = *fields.getItems(i);
        if (TovSummaryCell* c = at(f.getColumn(), f.getRow())) {
            visit(f, *c);
        }
    }
}

void TovSummaryGrid::applyStyle(int col, int row, const ReportCellStyle& style, bool colours) {
    TovSummaryCell* c = at(col, row);
    if (c == nullptr) {
        return;
    }
    if (style.Merge) {
        Merges.push_back({col, row, style.MergeCol2, style.MergeRow2});
    }
    if (colours) {
        c->Style.Color = style.Color;
        c->Style.FontColor = style.FontColor;
    }
    c->Style.EllipsifyPath = style.EllipsifyPath;
    c->Style.EllipsifyText = style.EllipsifyText;
    c->Style.FontBold = style.FontBold;
    setLines(col, row, style);
    c->Style.HorAlign = style.HorAlign;
}

void TovSummaryGrid::Layout(const TovRHs& headers, const TovRFs& fields) {
    Cells.assign(Cells.size(), TovSummaryCell());
    Merges.clear();
    TwoLineRow =
        headers.getCount() >= kTwoLineHeader ? headers.getItems(kTwoLineHeader)->getRow() : 0;
    for (int i = 1; i <= headers.getCount(); ++i) {
        const TovRH& h = *headers.getItems(i);
        applyStyle(h.getColumn(), h.getRow(), h.getStyle(), true);
        if (TovSummaryCell* c = at(h.getColumn(), h.getRow())) {
            const bool twoLines = h.getRow() == TwoLineRow;
            c->Text = twoLines ? h.getCaption() : Framed(h.getCaption());
            c->WordWrap = twoLines;
        }
    }
    forEachFieldCell(fields, [this](const TovRF& f, TovSummaryCell& c) {
        const ReportCellStyle& style = f.getStyle();
        applyStyle(f.getColumn(), f.getRow(), style, false);
        if (style.Merge && style.MergeCol2 > f.getColumn()) {
            c.FitsArea = true;
            if (!c.Style.EllipsifyPath) {
                c.Style.EllipsifyText = true;
            }
        }
    });
    LaidOut = true;
}

TovSummaryGrid TovSummaryGrid::WithoutAreaTexts() const {
    TovSummaryGrid copy = *this;
    for (TovSummaryCell& c : copy.Cells) {
        if (c.FitsArea) {
            c.Text.clear();
        }
    }
    return copy;
}

void TovSummaryGrid::Populate(const TovRHs& headers, const TovRFs& fields) {
    if (!LaidOut) {
        Layout(headers, fields);
    }
    if (headers.getCount() >= 1) {
        const TovRH& title = *headers.getItems(1);
        if (TovSummaryCell* c = at(title.getColumn(), title.getRow())) {
            c->Text = Framed(title.getCaption());
        }
    }
    forEachFieldCell(fields, [](const TovRF& f, TovSummaryCell& c) {
        switch (f.getValueState()) {
        case vsValue:
            c.Text = Framed(f.FormatValue());
            break;
        case vsNoData:
            c.Text = Framed(UIT(txt::NoData));
            break;
        case vsNotApplicable:
            c.Text = Framed(UIT(txt::NA));
            break;
        default:
            break;
        }
    });
}

void TovSummaryGrid::Format(const TovRFs& fields) {
    forEachFieldCell(fields, [](const TovRF& f, TovSummaryCell& c) {
        switch (f.getValueState()) {
        case vsValue:
            c.Style.FontColor = f.getFontColor();
            c.Style.Color = f.getColor();
            break;
        case vsNoData:
            c.Style.FontColor = ReportColors::Red;
            c.Style.Color = ReportColors::clBtnFace;
            break;
        case vsNotApplicable:
            c.Style.FontColor = ReportColors::Black;
            c.Style.Color = ReportColors::clBtnFace;
            break;
        default:
            break;
        }
    });
    for (const engine::RedValueItem& red : engine::kRedValueItems) {
        if (red.Item > fields.getCount()) {
            continue;
        }
        const TovRF& f = *fields.getItems(red.Item);
        if (engine::IsRedValue(f, red.Integer)) {
            if (TovSummaryCell* c = at(f.getColumn(), f.getRow())) {
                c->Style.FontColor = ReportColors::Red;
            }
        }
    }
}
