#include "ovVLabel.h"

#include "GridPainter.h"
#include "services_ui/TextMetrics.h"

#include <QEvent>
#include <QPainter>

TovVLabel::TovVLabel(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignLeft);
}

void TovVLabel::setCaption(const QString& caption) {
    setText(caption);
    adjustAutoSize();
    update();
}

void TovVLabel::setAutoSize(bool value) {
    AutoSize = value;
    adjustAutoSize();
}

void TovVLabel::setTransparent(bool value) {
    Transparent = value;
    update();
}

void TovVLabel::setColor(TColor value) {
    Color = value;
    update();
}

void TovVLabel::setFontColor(TColor value) {
    FontColor = value;
    update();
}

int TovVLabel::getTextWidth() const {
    return textMeasurer().textWidth(font(), text());
}

int TovVLabel::getTextHeight() const {
    return textMeasurer().textHeight(font(), text());
}

QSize TovVLabel::sizeHint() const {
    return QSize(getTextHeight(), getTextWidth());
}

QSize TovVLabel::minimumSizeHint() const {
    return AutoSize ? sizeHint() : QLabel::minimumSizeHint();
}

void TovVLabel::adjustAutoSize() {
    if (AutoSize) {
        resize(getTextHeight(), getTextWidth());
    }
    updateGeometry();
}

void TovVLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        adjustAutoSize();
    }
}

void TovVLabel::drawCaption(QPainter& painter, QPoint origin, TColor color) {
    const int length = getTextWidth();
    const int thickness = getTextHeight();
    // Rotated text runs upward from its starting point.
    int y = origin.y() + length;
    if (!AutoSize) {
        const Qt::Alignment h = alignment() & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignHCenter) {
            y += (height() - length) / 2;
        } else if (h & Qt::AlignRight) {
            // ends at the top edge
        } else {
            y += height() - length;
        }
    }
    painter.save();
    painter.setPen(gridColor(color));
    painter.translate(origin.x(), y);
    painter.rotate(-90);
    painter.drawText(QRect(0, 0, length, thickness), Qt::AlignLeft | Qt::AlignTop, text());
    painter.restore();
}

void TovVLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!Transparent) {
        painter.fillRect(rect(), gridColor(Color));
    }
    painter.setFont(font());
    if (isEnabled()) {
        drawCaption(painter, QPoint(0, 0), FontColor);
    } else {
        drawCaption(painter, QPoint(0, -1), clBtnHighlight);
        drawCaption(painter, QPoint(-1, 0), clBtnShadow);
    }
}
