#pragma once

#include "services_ui/TextMetrics.h"

namespace testsupport {

// Fixed metrics: every character is charWidth pixels wide and a line is lineHeight high.
class FixedTextMeasurer : public TextMeasurer {
public:
    FixedTextMeasurer(int lineHeight = 13, int charWidth = 6, bool fontReadable = true)
        : lineHeight_(lineHeight), charWidth_(charWidth), fontReadable_(fontReadable) {}

    bool iconTitleFont(QFont& font) const override {
        if (fontReadable_) {
            font = QFont(QStringLiteral("Fixed"), 9);
        }
        return fontReadable_;
    }
    QFont captionFont() const override { return QFont(); }
    int textHeight(const QFont&, const QString&) const override { return lineHeight_; }
    int textWidth(const QFont&, const QString& text) const override {
        return charWidth_ * static_cast<int>(text.size());
    }
    int metric(Metric metric) const override {
        switch (metric) {
        case Metric::SmallCaptionButtonWidth:
            return 12;
        case Metric::SmallIconWidth:
            return 16;
        case Metric::CaptionButtonWidth:
            return 18;
        }
        return 0;
    }

private:
    int lineHeight_;
    int charWidth_;
    bool fontReadable_;
};

// Installs a measurer for the lifetime of the guard.
class ScopedTextMeasurer {
public:
    explicit ScopedTextMeasurer(std::unique_ptr<TextMeasurer> measurer)
        : previous_(setTextMeasurer(std::move(measurer))) {}
    ~ScopedTextMeasurer() { setTextMeasurer(std::move(previous_)); }

private:
    std::unique_ptr<TextMeasurer> previous_;
};

} // namespace testsupport
