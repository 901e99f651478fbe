#pragma once

#include "services/ovAD.h"

#include <QFont>
#include <QString>
#include <memory>

// Measures texts and reads the desktop's fonts and metrics; tests inject fixed metrics.
class TextMeasurer {
public:
    enum class Metric { SmallCaptionButtonWidth, SmallIconWidth, CaptionButtonWidth };

    virtual ~TextMeasurer() = default;
    // The font of icon titles (the desktop's general font); false when it cannot be read.
    virtual bool iconTitleFont(QFont& font) const = 0;
    // The font of window captions.
    virtual QFont captionFont() const = 0;
    virtual int textHeight(const QFont& font, const QString& text) const = 0;
    virtual int textWidth(const QFont& font, const QString& text) const = 0;
    virtual int metric(Metric metric) const = 0;
};

// The measurer in use; a Qt one unless a test installed another.
const TextMeasurer& textMeasurer();
std::unique_ptr<TextMeasurer> setTextMeasurer(std::unique_ptr<TextMeasurer> measurer);

// Sets the font from the icon-title font; leaves it unchanged when that cannot be read.
void ApplyIconTitleFont(QFont& font);
// Height of a text line and average character width of the icon-title font (13 and 6 when the
// font cannot be read); AD takes them as the dialogue metrics.
TDialogFontSize MeasureIconTitleFont();
// Width a window caption needs for the text, with its caption buttons and icon.
int CaptionTextWidth(const QString& text, bool withCaptionButtons, bool withIcon);
// The text shortened at a word boundary with "..." so that it fits the width in the font.
QString EllipsifyText(const QString& text, const QFont& font, int width);
// The path with its middle replaced by "..." so that it fits; the file name stays.
QString EllipsifyPath(const QString& path, const QFont& font, int width);
