// Layout, scroll bars and scrolling of the grid widget; the arithmetic is TovGridGeometry's.
#include "ovGrid.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

void TovGrid::layoutGrid() {
    if (UpdatingBars) {
        return;
    }
    UpdatingBars = true;
    // Showing or hiding a bar resizes the client area, so lay out until it stays the same.
    for (int pass = 0; pass < 3; ++pass) {
        const QSize client = viewport()->size();
        Geometry.layout(client.width(), client.height());
        updateScrollBars();
        if (viewport()->size() == client) {
            break;
        }
    }
    UpdatingBars = false;
}

void TovGrid::updateScrollBars() {
    const bool hasCols = Cells.colCount() > 0;
    setHorizontalScrollBarPolicy(hasCols && Geometry.HorBarVisible ? Qt::ScrollBarAlwaysOn
                                                                   : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(hasCols && Geometry.VerBarVisible ? Qt::ScrollBarAlwaysOn
                                                                 : Qt::ScrollBarAlwaysOff);
    const bool wasUpdating = UpdatingBars;
    UpdatingBars = true;
    const TScrollStyle kind = Geometry.Settings.ScrollBarKind;
    if (kind == ssHorizontal || kind == ssBoth) {
        QScrollBar* bar = horizontalScrollBar();
        bar->setRange(0, Geometry.HorMax);
        bar->setPageStep(ProportionalThumb ? std::max(1, Geometry.PageWidth) : 1);
        bar->setSingleStep(std::max(1, Cells.defaults().DefaultColWidth));
        bar->setValue(Geometry.HorPos);
    }
    if (kind == ssVertical || kind == ssBoth) {
        QScrollBar* bar = verticalScrollBar();
        bar->setRange(0, Geometry.VerMax);
        bar->setPageStep(ProportionalThumb ? std::max(1, Geometry.PageHeight) : 1);
        bar->setSingleStep(std::max(1, Cells.defaults().DefaultRowHeight));
        bar->setValue(Geometry.VerPos);
    }
    UpdatingBars = wasUpdating;
}

void TovGrid::scrollTo(bool horz, int position) {
    if (!Geometry.setPosition(horz, position)) {
        updateScrollBars();
        return;
    }
    updateScrollBars();
    repaintAll();
    placeCurrentEditor();
}

void TovGrid::scrollCellIntoView(int col, int row) {
    int horPos = 0, verPos = 0;
    if (!Geometry.scrollIntoView(col, row, horPos, verPos)) {
        return;
    }
    Geometry.setPosition(true, horPos);
    Geometry.setPosition(false, verPos);
    updateScrollBars();
    repaintAll();
}

void TovGrid::onScrollAction(bool horz, int action) {
    TGridScrollRequest request;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        request = TGridScrollRequest::LineBack;
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        request = TGridScrollRequest::LineForward;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = TGridScrollRequest::PageBack;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = TGridScrollRequest::PageForward;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = TGridScrollRequest::ToStart;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = TGridScrollRequest::ToEnd;
        break;
    default:
        return; // thumb tracking arrives as a value
    }
    QScrollBar* bar = horz ? horizontalScrollBar() : verticalScrollBar();
    bar->setSliderPosition(Geometry.scrollTarget(horz, request));
}

void TovGrid::onScrollValue(bool horz, int value) {
    if (UpdatingBars) {
        return;
    }
    endTyping();
    scrollTo(horz, Geometry.clampAndSnap(horz, value));
}

void TovGrid::scrollContentsBy(int, int) {
    // The grid scrolls through its own positions and repaints itself.
}

void TovGrid::resizeEvent(QResizeEvent*) {
    layoutGrid();
    if (Cells.colCount() > 0) {
        scrollCellIntoView(CurrentCol, CurrentRow);
    }
    placeCurrentEditor();
}

void TovGrid::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    endTyping();
    scrollTo(false, Geometry.wheelTarget(delta));
    event->accept();
}
