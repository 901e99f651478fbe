// Mouse, focus and hints of the grid widget: selecting cells, resizing columns and rows by their
// borders; the hit test is TovGridGeometry's.
#include "ovGrid.h"

#include "GridEditors.h"

#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>

// ---- Mouse ----

int TovGrid::resizeBorderAt(const QPoint& pos, bool& column) const {
    const TGridOptions options = Geometry.Settings.Options;
    if (pos.y() < Geometry.DataTop && pos.x() >= Geometry.DataLeft &&
        options.contains(goResizeCol)) {
        column = true;
        const int c = Geometry.colAt(pos.x());
        for (int k = std::max(2, c); k <= std::min(Cells.colCount(), c + 1); ++k) {
            const int edge = Geometry.DataLeft + Geometry.colLeft(k) - Geometry.HorPos;
            if (std::abs(pos.x() - edge) <= 2) {
                return k - 1;
            }
        }
    }
    if (pos.x() < Geometry.DataLeft && pos.y() >= Geometry.DataTop &&
        options.contains(goResizeRow)) {
        column = false;
        const int r = Geometry.rowAt(pos.y());
        for (int k = std::max(2, r); k <= std::min(Cells.rowCount(), r + 1); ++k) {
            const int edge = Geometry.clientRowTop(k);
            if (std::abs(pos.y() - edge) <= 2) {
                return k - 1;
            }
        }
    }
    return 0;
}

void TovGrid::updateCursor(const QPoint& pos) {
    if (!GridEnabled) {
        Split = TSplit::None;
        viewport()->setCursor(Qt::ArrowCursor);
        return;
    }
    bool column = false;
    if (const int index = resizeBorderAt(pos, column); index > 0) {
        Split = column ? TSplit::Col : TSplit::Row;
        ResizeIndex = index;
        viewport()->setCursor(column ? Qt::SplitHCursor : Qt::SplitVCursor);
        return;
    }
    Split = TSplit::None;
    const int c = Geometry.colAt(pos.x()), r = Geometry.rowAt(pos.y());
    if (c >= 1 && r >= 1 && Cells.cell(c, r).URL) {
        viewport()->setCursor(Qt::PointingHandCursor);
    } else {
        viewport()->setCursor(Qt::ArrowCursor);
    }
}

void TovGrid::pressAt(QMouseEvent* event, bool doubleClick) {
    if (!GridEnabled) {
        return;
    }
    if (getGridReadOnly() && !ShowSelection) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (Split != TSplit::None && Cells.colCount() > 0) {
        const bool column = Split == TSplit::Col;
        const bool autoSize =
            Geometry.Settings.Options.contains(column ? goAutoSizeCol : goAutoSizeRow);
        if (doubleClick && autoSize) {
            viewport()->setCursor(Qt::ArrowCursor);
            if (column) {
                Cells.setColWidth(ResizeIndex, std::max(CalcColMinWidths(ResizeIndex, true, true),
                                                        Cells.colMinWidth(ResizeIndex)));
                Q_EMIT OnUserColWidthChanged(ResizeIndex);
            } else {
                Cells.setRowHeight(ResizeIndex, std::max(CalcRowMinHeights(ResizeIndex, true, true),
                                                         Cells.rowMinHeight(ResizeIndex)));
                Q_EMIT OnUserRowHeightChanged(ResizeIndex);
            }
            Split = TSplit::None;
            layoutGrid();
            repaintAll();
            placeCurrentEditor();
        } else {
            endTyping();
            ResizeStartEdge = column ? Geometry.colLeft(ResizeIndex) : Geometry.rowTop(ResizeIndex);
        }
        setFocus(Qt::MouseFocusReason);
        return;
    }
    TypingBuffer.clear();
    SavedText.clear();
    if (Cells.colCount() < 1 || Cells.rowCount() < 1) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    const int c = Geometry.colAt(pos.x()), r = Geometry.rowAt(pos.y());
    const bool rightClick = event->button() == Qt::RightButton;
    if (c == 0 || r == 0) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    const QRect area = cellOrArea(c, r);
    if (area.contains(CurrentCol, CurrentRow) || (c == CurrentCol && r == CurrentRow)) {
        scrollCellIntoView(CurrentCol, CurrentRow);
        if (doubleClick && !Cells.cell(CurrentCol, CurrentRow).ReadOnly) {
            setFocus(Qt::MouseFocusReason);
            openF2Editor();
            return;
        }
        setFocus(Qt::MouseFocusReason);
        if (rightClick && ShowPopUp) {
            popUpMenuAt(event->globalPosition().toPoint());
        }
        return;
    }
    if (!canSelect(c, r)) {
        return;
    }
    const int oldCol = CurrentCol, oldRow = CurrentRow;
    CurrentCol = c;
    CurrentRow = r;
    leaveCell(oldCol, oldRow);
    ShowCellEditor(CurrentCol, CurrentRow);
    Q_EMIT OnSelectCell(c, r);
    setFocus(Qt::MouseFocusReason);
    if (rightClick && ShowPopUp) {
        popUpMenuAt(event->globalPosition().toPoint());
    }
}

void TovGrid::mousePressEvent(QMouseEvent* event) {
    pressAt(event, false);
}

void TovGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    pressAt(event, true);
}

void TovGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!GridEnabled) {
        viewport()->setCursor(Qt::ArrowCursor);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursor(pos);
        return;
    }
    if (Split == TSplit::Col) {
        bool hasEditor = false;
        for (int r = 1; r <= Cells.rowCount() && !hasEditor; ++r) {
            hasEditor = Cells.cell(ResizeIndex, r).Editor != ceNormal;
        }
        const int lower =
            hasEditor ? CalcColMinWidths(ResizeIndex, true, true)
                      : std::max(Cells.defaults().GridColMinWidth, Cells.colMinWidth(ResizeIndex));
        int width =
            std::max(lower, pos.x() + Geometry.HorPos - ResizeStartEdge - Geometry.DataLeft);
        width = std::max(width, Cells.colMinWidth(ResizeIndex));
        if (width != Cells.colWidth(ResizeIndex)) {
            Cells.setColWidth(ResizeIndex, width);
            layoutGrid();
            repaintAll();
            placeCurrentEditor();
        }
        ColResized = true;
    } else if (Split == TSplit::Row) {
        bool hasEditor = false;
        for (int c = 1; c <= Cells.colCount() && !hasEditor; ++c) {
            hasEditor = Cells.cell(c, ResizeIndex).Editor != ceNormal;
        }
        const int lower = hasEditor ? CalcRowMinHeights(ResizeIndex, true, true)
                                    : std::max(Cells.defaults().GridRowMinHeight,
                                               Cells.rowMinHeight(ResizeIndex));
        int height =
            std::max(lower, pos.y() + Geometry.VerPos - ResizeStartEdge - Geometry.DataTop);
        height = std::max(height, Cells.rowMinHeight(ResizeIndex));
        if (height != Cells.rowHeight(ResizeIndex)) {
            Cells.setRowHeight(ResizeIndex, height);
            layoutGrid();
            repaintAll();
            placeCurrentEditor();
        }
        RowResized = true;
    }
}

void TovGrid::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    updateCursor(pos);
    if (CurrentCol >= 1 && CurrentRow >= 1) {
        const TCellEditor kind = Cells.cell(CurrentCol, CurrentRow).Editor;
        if (kind == ceDD || kind == ceDDL) {
            ShowCellEditor(CurrentCol, CurrentRow);
        }
    }
    const int c = Cells.colCount() > 0 ? Geometry.colAt(pos.x()) : 0;
    const int r = Cells.rowCount() > 0 ? Geometry.rowAt(pos.y()) : 0;
    Q_EMIT OnCellClick(c, r);
    if (ColResized) {
        Q_EMIT OnUserColWidthChanged(ResizeIndex);
    }
    if (RowResized) {
        Q_EMIT OnUserRowHeightChanged(ResizeIndex);
    }
    ColResized = false;
    RowResized = false;
}

// ---- Focus, font, hints ----

void TovGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    CaretShown = false;
    repaintData();
}

void TovGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    if (QApplication::focusWidget() == static_cast<QWidget*>(F2Editor)) {
        return;
    }
    endTyping();
    if (!F2Open) {
        repaintData();
    }
}

void TovGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        fontChanged();
    }
    QAbstractScrollArea::changeEvent(event);
}

bool TovGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint pos = help->pos();
        if (pos.x() < Geometry.DataLeft && pos.y() >= Geometry.DataTop && Cells.rowCount() > 0 &&
            !GutterImagePicture.isNull()) {
            const int r = Geometry.rowAt(pos.y());
            if (r >= 1 && Cells.row(r).GutterImageVisible &&
                !Cells.row(r).GutterImageHint.isEmpty()) {
                QToolTip::showText(help->globalPos(), Cells.row(r).GutterImageHint, viewport());
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}
