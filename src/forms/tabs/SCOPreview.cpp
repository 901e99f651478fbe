#include "forms/tabs/SCOPreview.h"

#include "engine/DataSetColors.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>

namespace {

QColor colorOf(TColor value) {
    return QColor::fromRgba(platform::colorToArgb(value));
}

// Where the cut off date falls on the time axis, as a share of it.
constexpr double kCutOffShare = 0.6;
constexpr int kHistogramPeriods = 8;

// Share of a curve's total reached at share t of its span (an S shape).
double sShape(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// How each data set runs over the time axis: its span (start and finish as shares of the axis)
// and its total as a share of the axis height. The plan grows beyond the baseline; actual data
// follows the plan up to the cut off date.
struct TSeriesShape {
    double Start;
    double Finish;
    double Total;
};
constexpr std::array<TSeriesShape, 3> kShapes = {{
    {0.0, 0.8, 0.78},  // Baseline
    {0.05, 1.0, 0.92}, // Actual (drawn up to the cut off date)
    {0.05, 1.0, 1.0},  // Target
}};

double seriesValue(const TSeriesShape& shape, double x) {
    return shape.Total * sShape((x - shape.Start) / (shape.Finish - shape.Start));
}

// Share of a data set's total spent in period p of the histogram.
double periodValue(const TSeriesShape& shape, int p) {
    const double from = static_cast<double>(p) / kHistogramPeriods;
    const double to = static_cast<double>(p + 1) / kHistogramPeriods;
    return seriesValue(shape, to) - seriesValue(shape, from);
}

struct TPlot {
    QRect area;
    int x(double share) const { return area.left() + static_cast<int>(share * area.width()); }
    int y(double share) const { return area.bottom() - static_cast<int>(share * area.height()); }
};

void drawAxes(QPainter& painter, const TPlot& plot, const QColor& color) {
    painter.setPen(QPen(color, 1));
    painter.drawLine(plot.area.bottomLeft(), plot.area.topLeft());
    painter.drawLine(plot.area.bottomLeft(), plot.area.bottomRight());
}

void drawCutOff(QPainter& painter, const TPlot& plot, bool dimmed) {
    painter.setPen(QPen(SCOSeriesColor(leCutOffDate, dimmed), 1, Qt::DashLine));
    const int x = plot.x(kCutOffShare);
    painter.drawLine(x, plot.area.top(), x, plot.area.bottom());
}

void drawCurves(QPainter& painter, const TPlot& plot, const TSCOPreviewPicture& picture) {
    const std::array<bool, 3> shown = {picture.Baseline, picture.Actual, picture.Target};
    const int steps = std::max(8, plot.area.width() / 2);
    for (int set = 0; set < 3; ++set) {
        if (!shown[static_cast<size_t>(set)]) {
            continue;
        }
        const TSeriesShape& shape = kShapes[static_cast<size_t>(set)];
        const double end = set == leActual ? kCutOffShare : 1.0;
        QPainterPath path;
        for (int i = 0; i <= steps; ++i) {
            const double x = end * i / steps;
            const QPointF point(plot.x(x), plot.y(seriesValue(shape, x)));
            if (i == 0) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
        }
        painter.setPen(QPen(SCOSeriesColor(static_cast<TSCOLegendEntry>(set), picture.Dimmed), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

void drawBars(QPainter& painter, const TPlot& plot, const TSCOPreviewPicture& picture) {
    std::array<int, 3> order{};
    int shownCount = 0;
    const std::array<bool, 3> shown = {picture.Baseline, picture.Actual, picture.Target};
    for (int set = 0; set < 3; ++set) {
        if (shown[static_cast<size_t>(set)]) {
            order[static_cast<size_t>(shownCount++)] = set;
        }
    }
    // The tallest period fills most of the height.
    double highest = 0.0;
    for (const TSeriesShape& shape : kShapes) {
        for (int p = 0; p < kHistogramPeriods; ++p) {
            highest = std::max(highest, periodValue(shape, p));
        }
    }
    const double periodWidth = static_cast<double>(plot.area.width()) / kHistogramPeriods;
    const double barWidth = periodWidth * 0.8 / std::max(1, shownCount);
    painter.setPen(Qt::NoPen);
    for (int p = 0; p < kHistogramPeriods; ++p) {
        for (int k = 0; k < shownCount; ++k) {
            const int set = order[static_cast<size_t>(k)];
            if (set == leActual && static_cast<double>(p + 1) / kHistogramPeriods > kCutOffShare) {
                continue;
            }
            const double height = 0.9 * periodValue(kShapes[static_cast<size_t>(set)], p) / highest;
            const double left =
                plot.area.left() + p * periodWidth + periodWidth * 0.1 + k * barWidth;
            const int top = plot.y(height);
            painter.setBrush(SCOSeriesColor(static_cast<TSCOLegendEntry>(set), picture.Dimmed));
            painter.drawRect(
                QRectF(left, top, std::max(1.0, barWidth - 1.0), plot.area.bottom() - top));
        }
    }
}

} // namespace

QColor SCOSeriesColor(TSCOLegendEntry entry, bool dimmed) {
    QColor color = colorOf(
        entry == leCutOffDate ? clFuchsia : DataSetColors::InOrder[static_cast<size_t>(entry)]);
    if (dimmed) {
        // Washed out towards light grey: the data set is chosen but no quantity graphed.
        const QColor grey = colorOf(clSilver);
        color = QColor((color.red() + 3 * grey.red()) / 4, (color.green() + 3 * grey.green()) / 4,
                       (color.blue() + 3 * grey.blue()) / 4);
    }
    return color;
}

QColor SCOInactiveLegendColor() {
    return colorOf(clBtnShadow);
}

void DrawSCOPreview(QPainter& painter, const QRect& area, TSCOPreviewKind kind, int code) {
    const TSCOPreviewPicture picture = scotab::PreviewPictureOf(code);
    const bool disabled = picture.kind == TSCOPreviewPicture::Kind::Disabled;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, colorOf(disabled ? clBtnFace : clWindow));
    painter.setPen(colorOf(clBtnShadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    const TPlot plot{area.adjusted(8, 8, -8, -8)};
    drawAxes(painter, plot, colorOf(disabled ? clGrayText : clWindowText));
    if (picture.kind == TSCOPreviewPicture::Kind::Curves) {
        painter.setRenderHint(QPainter::Antialiasing, kind == TSCOPreviewKind::SCurve);
        if (kind == TSCOPreviewKind::SCurve) {
            drawCurves(painter, plot, picture);
        } else {
            drawBars(painter, plot, picture);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (picture.Actual) {
            drawCutOff(painter, plot, picture.Dimmed);
        }
    }
    painter.restore();
}

TSCOPreview::TSCOPreview(TSCOPreviewKind kind, QWidget* parent) : QWidget(parent), Kind(kind) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumSize(minimumSizeHint());
}

void TSCOPreview::setCode(int code) {
    if (code != Code) {
        Code = code;
        update();
    }
}

QSize TSCOPreview::sizeHint() const {
    return {240, 104};
}

QSize TSCOPreview::minimumSizeHint() const {
    return {160, 104};
}

void TSCOPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSCOPreview(painter, rect(), Kind, Code);
}

TSCOLegendPicture::TSCOLegendPicture(TSCOPreviewKind kind, TSCOLegendEntry entry, QWidget* parent)
    : QWidget(parent), Kind(kind), Entry(entry) {}

void TSCOLegendPicture::setActive(bool active) {
    if (active != Active) {
        Active = active;
        update();
    }
}

void TSCOLegendPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor color = Active ? SCOSeriesColor(Entry, false) : SCOInactiveLegendColor();
    if (Entry == leCutOffDate) {
        painter.setPen(QPen(color, 1, Qt::DashLine));
        painter.drawLine(0, height() / 2, width(), height() / 2);
    } else if (Kind == TSCOPreviewKind::SCurve) {
        painter.setPen(QPen(color, 2));
        painter.drawLine(0, height() / 2, width(), height() / 2);
    } else {
        painter.fillRect(rect(), color);
    }
}
