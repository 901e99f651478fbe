#include "forms/browse/BrowseList.h"

#include "platform/ColorValue.h"
#include "services/StrUtils.h"
#include "services_ui/TextMetrics.h"

#include <QHash>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <functional>
#include <utility>

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
    return Framed(text);
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

TRowColors UnselectableRowColors(bool selected, const QColor& base) {
    auto colorOf = [](TColor value) { return QColor::fromRgba(platform::colorToArgb(value)); };
    return {colorOf(clInactiveCaptionText), selected ? colorOf(clInactiveCaption) : base};
}

namespace {
const char* const kSectionMinimums = "SectionMinimums";
} // namespace

void KeepSectionMinimums(QHeaderView* header, const std::vector<int>& minimums) {
    const bool watching = header->property(kSectionMinimums).isValid();
    header->setProperty(kSectionMinimums,
                        QVariant::fromValue(QList<int>(minimums.begin(), minimums.end())));
    auto keep = [header](int section) {
        const QList<int> least = header->property(kSectionMinimums).value<QList<int>>();
        if (section >= 0 && section < least.size() &&
            header->sectionSize(section) < least[section]) {
            header->resizeSection(section, least[section]);
        }
    };
    if (!watching) {
        QObject::connect(header, &QHeaderView::sectionResized, header,
                         [keep](int section, int, int) { keep(section); });
    }
    for (int section = 0; section < header->count(); ++section) {
        keep(section);
    }
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
        const TRowColors colors = UnselectableRowColors(selected, background);
        foreground = colors.Foreground;
        background = colors.Background;
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

namespace {

// Widths of single characters, measured once each: the sum over a text estimates its width
// without shaping it, so that only the few widest candidates of a long column are measured.
class TCharWidths {
public:
    explicit TCharWidths(const QFont& font) : Font(font) {}
    int estimate(const QString& text) {
        int width = 0;
        for (const QChar ch : text) {
            auto it = Widths.constFind(ch);
            if (it == Widths.constEnd()) {
                it = Widths.insert(ch, textMeasurer().textWidth(Font, QString(ch)));
            }
            width += *it;
        }
        return width;
    }

private:
    QFont Font;
    QHash<QChar, int> Widths;
};

// The widest painted text of one column: estimated for every row, measured exactly for the
// rows of the largest estimates only (shaping and kerning move a text's width by a few pixels,
// which the column's margin absorbs).
int widestCell(int rowCount, int column, const TCellText& cellText, const QFont& font) {
    constexpr size_t kMeasured = 16;
    TCharWidths chars(font);
    std::vector<std::pair<int, int>> estimates; // estimate, row
    estimates.reserve(static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
        estimates.emplace_back(chars.estimate(FramedCell(cellText(r, column))), r);
    }
    const size_t measured = std::min(kMeasured, estimates.size());
    std::nth_element(estimates.begin(), estimates.begin() + static_cast<long>(measured - 1),
                     estimates.end(), std::greater<>());
    int width = 0;
    for (size_t i = 0; i < measured; ++i) {
        width = std::max(width, textMeasurer().textWidth(
                                    font, FramedCell(cellText(estimates[i].second, column))));
    }
    return width;
}

} // namespace

std::vector<int> MeasureColumns(const QStringList& headerTexts, const QFont& headerFont,
                                int rowCount, const TCellText& cellText, const QFont& listFont,
                                std::vector<int>& minimums) {
    const TextMeasurer& m = textMeasurer();
    const int columns = static_cast<int>(headerTexts.size());
    minimums.assign(static_cast<size_t>(columns), 0);
    std::vector<int> widths(static_cast<size_t>(columns), 0);
    for (int c = 0; c < columns; ++c) {
        const size_t i = static_cast<size_t>(c);
        minimums[i] = m.textWidth(headerFont, headerTexts.at(c)) + 12;
        widths[i] = minimums[i];
        if (rowCount > 0) {
            widths[i] = std::max(widths[i], widestCell(rowCount, c, cellText, listFont) + 12);
        }
    }
    return widths;
}
