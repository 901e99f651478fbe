#include "BrowseList.h"

#include "services/StrUtils.h"
#include "services/TextMetrics.h"

#include <QHeaderView>
#include <QPainter>

#include <algorithm>

namespace {

QString comparable(const QString& text, TPreselectCompare compare) {
    switch (compare) {
    case TPreselectCompare::Trimmed:
        return text.trimmed();
    case TPreselectCompare::UpperCase:
        return UpperCaseAZ(text);
    case TPreselectCompare::TrimmedUpperCase:
        return UpperCaseAZ(text.trimmed());
    }
    return text;
}

} // namespace

int FindPreselection(const QStringList& keys, const QString& preselection,
                     TPreselectCompare compare) {
    const QString wanted = comparable(preselection, compare);
    int found = -1;
    for (int i = 0; i < keys.size(); ++i) {
        if (comparable(keys.at(i), compare) == wanted) {
            found = i;
        }
    }
    return found;
}

QString FramedCell(const QString& text) {
    return QLatin1Char(' ') + text + QLatin1Char(' ');
}

std::vector<TCellSpan> CellSpans(int rowLeft, const std::vector<int>& sectionWidths) {
    std::vector<TCellSpan> spans;
    spans.reserve(sectionWidths.size());
    int right = rowLeft - 4;
    for (const int width : sectionWidths) {
        const int left = right + 4;
        spans.push_back({left, std::max(0, width - 4)});
        right = left + std::max(0, width - 4);
    }
    return spans;
}

TListRowDelegate::TListRowDelegate(QHeaderView* header, QObject* parent)
    : QStyledItemDelegate(parent), Header(header) {}

void TListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const bool enabled = !RowEnabled || RowEnabled(index.row());
    const QPalette& palette = option.palette;
    QColor background = palette.color(QPalette::Base);
    QColor foreground = palette.color(QPalette::Text);
    if (!enabled) {
        foreground = palette.color(QPalette::Disabled, QPalette::Text);
        if (selected) {
            background = palette.color(QPalette::Midlight);
        }
    } else if (selected) {
        background = palette.color(QPalette::Highlight);
        foreground = palette.color(QPalette::HighlightedText);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(foreground);
    std::vector<int> widths;
    for (int s = 0; s < Header->count(); ++s) {
        widths.push_back(Header->sectionSize(s));
    }
    const std::vector<TCellSpan> spans = CellSpans(option.rect.left(), widths);
    for (int s = 0; s < static_cast<int>(spans.size()); ++s) {
        const QRect cell(spans[s].Left, option.rect.top(), spans[s].Width, option.rect.height());
        const QString text = CellText ? FramedCell(CellText(index.row(), s)) : QString();
        painter->setClipRect(cell);
        painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
}

QSize TListRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {Header->length(), ItemHeight};
}

std::vector<int> MeasureColumns(const QStringList& headerTexts, const QFont& headerFont,
                                int rowCount, const TCellText& cellText, const QFont& listFont,
                                std::vector<int>& minimums) {
    const TextMeasurer& m = textMeasurer();
    const int columns = static_cast<int>(headerTexts.size());
    minimums.assign(columns, 0);
    std::vector<int> widths(columns, 0);
    for (int c = 0; c < columns; ++c) {
        minimums[c] = m.textWidth(headerFont, headerTexts.at(c)) + 12;
        widths[c] = minimums[c];
    }
    for (int r = 0; r < rowCount; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int width = m.textWidth(listFont, FramedCell(cellText(r, c))) + 12;
            widths[c] = std::max(widths[c], width);
        }
    }
    return widths;
}
