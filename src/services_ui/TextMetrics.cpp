#include "TextMetrics.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStyle>

namespace {

const QString kEllipsis = QStringLiteral("...");

class QtTextMeasurer : public TextMeasurer {
public:
    bool iconTitleFont(QFont& font) const override {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
            return false;
        }
        font = QApplication::font();
        return true;
    }
    QFont captionFont() const override {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
            return QFont();
        }
        return QFontDatabase::systemFont(QFontDatabase::TitleFont);
    }
    int textHeight(const QFont& font, const QString&) const override {
        return QFontMetrics(font).height();
    }
    int textWidth(const QFont& font, const QString& text) const override {
        return QFontMetrics(font).horizontalAdvance(text);
    }
    int metric(Metric metric) const override {
        QStyle* style = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr
                            ? QApplication::style()
                            : nullptr;
        switch (metric) {
        case Metric::SmallIconWidth:
            return style != nullptr ? style->pixelMetric(QStyle::PM_SmallIconSize) : 16;
        case Metric::SmallCaptionButtonWidth:
            return style != nullptr ? style->pixelMetric(QStyle::PM_TitleBarButtonIconSize) : 16;
        case Metric::CaptionButtonWidth:
            return style != nullptr ? style->pixelMetric(QStyle::PM_TitleBarButtonSize) : 18;
        }
        return 0;
    }
};

std::unique_ptr<TextMeasurer>& current() {
    static std::unique_ptr<TextMeasurer> measurer;
    return measurer;
}

} // namespace

const TextMeasurer& textMeasurer() {
    auto& measurer = current();
    if (!measurer) {
        measurer = std::make_unique<QtTextMeasurer>();
    }
    return *measurer;
}

std::unique_ptr<TextMeasurer> setTextMeasurer(std::unique_ptr<TextMeasurer> measurer) {
    auto previous = std::move(current());
    current() = std::move(measurer);
    return previous;
}

void ApplyIconTitleFont(QFont& font) {
    QFont iconFont;
    if (textMeasurer().iconTitleFont(iconFont)) {
        font = iconFont;
    }
}

TDialogFontSize MeasureIconTitleFont() {
    TDialogFontSize size;
    QFont font;
    if (!textMeasurer().iconTitleFont(font)) {
        return size;
    }
    const TextMeasurer& m = textMeasurer();
    size.textHeight = m.textHeight(font, QStringLiteral("gH"));
    const int letters =
        m.textWidth(font, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    size.avgCharWidth = (letters / 26 + 1) / 2;
    return size;
}

int CaptionTextWidth(const QString& text, bool withCaptionButtons, bool withIcon) {
    const TextMeasurer& m = textMeasurer();
    int width = m.textWidth(m.captionFont(), text);
    width +=
        withCaptionButtons ? 2 * m.metric(TextMeasurer::Metric::SmallCaptionButtonWidth) + 6 : 4;
    if (withIcon) {
        width += m.metric(TextMeasurer::Metric::SmallIconWidth) +
                 m.metric(TextMeasurer::Metric::CaptionButtonWidth) + 6;
    }
    return width;
}

QString EllipsifyText(const QString& text, const QFont& font, int width) {
    const TextMeasurer& m = textMeasurer();
    if (m.textWidth(font, text) <= width) {
        return text;
    }
    // Drop whole words from the end while the rest and the ellipsis do not fit; a first word
    // that alone is too wide is cut character by character.
    QString kept = text;
    while (!kept.isEmpty()) {
        const qsizetype space = kept.lastIndexOf(QLatin1Char(' '));
        if (space <= 0) {
            break;
        }
        kept = kept.left(space).trimmed();
        if (m.textWidth(font, kept + kEllipsis) <= width) {
            return kept + kEllipsis;
        }
    }
    while (!kept.isEmpty() && m.textWidth(font, kept + kEllipsis) > width) {
        kept.chop(1);
    }
    return kept + kEllipsis;
}

QString EllipsifyPath(const QString& path, const QFont& font, int width) {
    const TextMeasurer& m = textMeasurer();
    if (m.textWidth(font, path) <= width) {
        return path;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return EllipsifyText(path, font, width);
    }
    const QString fileName = path.mid(slash); // with its leading "/"
    QString folder = path.left(slash);
    while (!folder.isEmpty() && m.textWidth(font, folder + kEllipsis + fileName) > width) {
        folder.chop(1);
    }
    return folder + kEllipsis + fileName;
}
