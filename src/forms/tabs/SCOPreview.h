#pragma once

#include "forms/tabs/TabSCOModel.h"

#include <QColor>
#include <QWidget>

class QPainter;

// The colour of a data set's curve, bars and legend sample; dimmed while no quantity is graphed,
// grey when the legend entry is inactive.
QColor SCOSeriesColor(TSCOLegendEntry entry, bool dimmed);
QColor SCOInactiveLegendColor();

// Draws the preview picture of a code into the area: an S curve or a histogram of the chosen
// data sets over a time axis, the cut off date with Actual data, empty axes for the Blank
// picture and greyed axes for the Disabled one.
void DrawSCOPreview(QPainter& painter, const QRect& area, TSCOPreviewKind kind, int code);

// The picture of one preview: shows the picture of the code it was last given.
class TSCOPreview : public QWidget {
public:
    TSCOPreview(TSCOPreviewKind kind, QWidget* parent);

    int getCode() const { return Code; }
    // Shows the picture of the code; the same code is not redrawn.
    void setCode(int code);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSCOPreviewKind Kind;
    int Code = -1;
};

// The sample of one legend entry under its label: a line (S curve) or a bar (histogram) in the
// data set's colour while the entry is active, grey while it is not. The cut off date is a
// dashed line in both.
class TSCOLegendPicture : public QWidget {
public:
    TSCOLegendPicture(TSCOPreviewKind kind, TSCOLegendEntry entry, QWidget* parent);

    bool getActive() const { return Active; }
    void setActive(bool active);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TSCOPreviewKind Kind;
    TSCOLegendEntry Entry;
    bool Active = false;
};
