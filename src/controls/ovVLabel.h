#pragma once

#include "platform/ColorValue.h"

#include <QLabel>

// A label whose caption is drawn rotated by 90 degrees, reading from bottom to top. Alignment
// places the text along the label's height: left-justified text starts at the bottom edge,
// right-justified text ends at the top edge, centred text sits in the middle.
class TovVLabel : public QLabel {
    Q_OBJECT

public:
    explicit TovVLabel(QWidget* parent = nullptr);

    QString getCaption() const { return text(); }
    void setCaption(const QString& caption);
    bool getAutoSize() const { return AutoSize; }
    void setAutoSize(bool value);
    bool getTransparent() const { return Transparent; }
    void setTransparent(bool value);
    TColor getColor() const { return Color; }
    void setColor(TColor value);
    TColor getFontColor() const { return FontColor; }
    void setFontColor(TColor value);

    // Length of the caption in the label's font (the height the rotated text covers).
    int getTextWidth() const;
    // Thickness of the caption in the label's font.
    int getTextHeight() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // With AutoSize the label takes the rotated caption's size: width T, height L.
    void adjustAutoSize();
    void drawCaption(QPainter& painter, QPoint origin, TColor color);

    bool AutoSize = true;
    bool Transparent = false;
    TColor Color = clBtnFace;
    TColor FontColor = clWindowText;
};
