// Selection, moves, keyboard and mouse of the grid widget; the move rules are
// TovGridNavigation's and the hit test TovGridGeometry's.
#include "ovGrid.h"

#include "GridEditors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

// ---- Selection ----

bool TovGrid::canSelect(int col, int row) const {
    return col >= 1 && row >= 1 && col <= Cells.colCount() && row <= Cells.rowCount() &&
           Cells.cell(col, row).CanSelect;
}

QRect TovGrid::cellOrArea(int col, int row) const {
    if (col < 1 || row < 1 || col > Cells.colCount() || row > Cells.rowCount()) {
        return QRect(QPoint(col, row), QPoint(col, row));
    }
    return Cells.mergedArea(col, row);
}

TovGridNavigation TovGrid::navigation() const {
    return TovGridNavigation(Cells.colCount(), Cells.rowCount(), MoveWrap,
                             [this](int col, int row) { return canSelect(col, row); });
}

bool TovGrid::isSingleSelection() const {
    if (Selection.left() < 1 || Selection.top() < 1) {
        return false;
    }
    if (Selection.width() == 1 && Selection.height() == 1) {
        return true;
    }
    const TGridCell& first = Cells.cell(Selection.left(), Selection.top());
    return first.MergeState == cmsTopLeft &&
           Cells.mergedArea(Selection.left(), Selection.top()) == Selection;
}

void TovGrid::setSelection(const QRect& rect, bool force) {
    Cells.clipMerges();
    if (!force && rect == Selection) {
        return;
    }
    endTyping();
    Selection = rect;
    repaintData();
    if (Geometry.Settings.GutterKind == gkPointer) {
        repaintGutter();
    }
}

void TovGrid::leaveCell(int oldCol, int oldRow) {
    endTyping();
    TypingBuffer.clear();
    SavedText.clear();
    const bool held = BulkChange;
    BulkChange = true;
    scrollCellIntoView(CurrentCol, CurrentRow);
    BulkChange = held;
    if (ShowColIndicator && oldCol != CurrentCol) {
        repaintHeader();
    }
    if (ShowRowIndicator && oldRow != CurrentRow) {
        repaintGutter();
    }
    setSelection(cellOrArea(CurrentCol, CurrentRow), false);
    repaintAll();
    const bool moved = oldCol != CurrentCol || oldRow != CurrentRow;
    if (moved && oldCol >= 1 && oldRow >= 1 && oldCol <= Cells.colCount() &&
        oldRow <= Cells.rowCount()) {
        TGridCell& old = Cells.cell(oldCol, oldRow);
        if (QWidget* control = editorControl(oldCol, oldRow)) {
            switch (old.Editor) {
            case ceBtn:
            case ceBBtn:
                control->hide();
                break;
            case ceDD:
            case ceDDL:
                if (auto* box = qobject_cast<QComboBox*>(control)) {
                    old.Text = box->currentText();
                    old.DDLItemIndex = box->currentIndex();
                }
                control->hide();
                old.EditorVisible = false;
                break;
            case ceSBtn:
                if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                    old.SBtnDown = button->isChecked();
                }
                control->hide();
                break;
            case ceNormal:
                break;
            }
        }
    }
    if (moved) {
        Q_EMIT OnColRowChanged(CurrentCol, CurrentRow);
    }
}

// ---- Moves ----

void TovGrid::MoveToCell(int col, int row) {
    if (badCell(col, row, 1, "ovGrid.MoveToCell") || !canSelect(col, row)) {
        return;
    }
    const int oldCol = CurrentCol, oldRow = CurrentRow;
    CurrentCol = col;
    CurrentRow = row;
    leaveCell(oldCol, oldRow);
    ShowCellEditor(CurrentCol, CurrentRow);
    Q_EMIT OnSelectCell(col, row);
}

void TovGrid::MovePrevCell() {
    const QPoint target = navigation().moveTarget(
        MoveDown ? TGridMove::PrevRow : TGridMove::PrevCol, QPoint(CurrentCol, CurrentRow));
    MoveToCell(target.x(), target.y());
}

void TovGrid::MoveNextCell() {
    const QPoint target = navigation().moveTarget(
        MoveDown ? TGridMove::NextRow : TGridMove::NextCol, QPoint(CurrentCol, CurrentRow));
    MoveToCell(target.x(), target.y());
}

void TovGrid::keyboardMoveTo(QPoint target) {
    if (!canSelect(target.x(), target.y()) || !isSingleSelection()) {
        return;
    }
    const int oldCol = CurrentCol, oldRow = CurrentRow;
    CurrentCol = target.x();
    CurrentRow = target.y();
    leaveCell(oldCol, oldRow);
    ShowCellEditor(CurrentCol, CurrentRow);
    Q_EMIT OnSelectCell(target.x(), target.y());
}

void TovGrid::moveBy(TGridMove move) {
    keyboardMoveTo(navigation().moveTarget(move, QPoint(CurrentCol, CurrentRow)));
}

void TovGrid::pageMove(bool down) {
    if (!isSingleSelection()) {
        return;
    }
    const int before = Geometry.VerPos;
    const TovGridNavigation nav = navigation();
    const int row = down ? nav.pageDownRow(Geometry, CurrentCol, CurrentRow)
                         : nav.pageUpRow(Geometry, CurrentCol, CurrentRow);
    if (Geometry.VerPos != before) {
        updateScrollBars();
        repaintAll();
    }
    keyboardMoveTo(QPoint(CurrentCol, row));
}

void TovGrid::extendSelection(bool left) {
    if (!AllowSelectCells) {
        return;
    }
    if (!Extending) {
        Anchor = MovingEnd = QPoint(CurrentCol, CurrentRow);
    }
    const int next = MovingEnd.x() + (left ? -1 : 1);
    const bool possible = left ? MovingEnd.x() > 1 : MovingEnd.x() < Cells.colCount();
    if (possible && canSelect(next, MovingEnd.y())) {
        MovingEnd.setX(next);
        Extending = true;
        setSelection(QRect(QPoint(std::min(Anchor.x(), MovingEnd.x()), MovingEnd.y()),
                           QPoint(std::max(Anchor.x(), MovingEnd.x()), MovingEnd.y())),
                     false);
        scrollCellIntoView(MovingEnd.x(), MovingEnd.y());
    }
    if (!left && Anchor.x() == 1 && MovingEnd.x() == 1) {
        Extending = false;
    }
}

// ---- Keyboard ----

void TovGrid::keyPressEvent(QKeyEvent* event) {
    if (!GridEnabled || Cells.colCount() < 1 || Cells.rowCount() < 1) {
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const int key = event->key();
    const bool single = isSingleSelection();
    const bool writable =
        CurrentCol >= 0 && CurrentRow >= 0 && !Cells.cell(CurrentCol, CurrentRow).ReadOnly;
    bool handled = false;
    if (ctrl) {
        handled = true;
        switch (key) {
        case Qt::Key_End:
            if (single) {
                if (const auto target = navigation().ctrlEndTarget()) {
                    keyboardMoveTo(*target);
                }
            }
            break;
        case Qt::Key_Home:
            if (single) {
                if (const auto target =
                        navigation().ctrlHomeTarget(QPoint(CurrentCol, CurrentRow))) {
                    keyboardMoveTo(*target);
                }
            }
            break;
        case Qt::Key_Insert:
        case Qt::Key_C:
            if (single) {
                CopySelection();
            }
            break;
        case Qt::Key_Delete:
            if (single && writable) {
                ClearSelection();
            }
            break;
        case Qt::Key_V:
            if (single && writable) {
                PasteSelection();
            }
            break;
        case Qt::Key_X:
            if (single && writable) {
                CutSelection();
            }
            break;
        case Qt::Key_Space:
            break;
        default:
            handled = false;
        }
    }
    if (!handled && shift) {
        handled = true;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (MoveOnReturn && single) {
                moveBy(MoveDown ? TGridMove::PrevRow : TGridMove::PrevCol);
            }
            break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            extendSelection(key == Qt::Key_Left);
            break;
        case Qt::Key_Insert:
            if (single && writable) {
                PasteSelection();
            }
            break;
        case Qt::Key_Delete:
            if (single && writable) {
                CutSelection();
            }
            break;
        case Qt::Key_Space:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_End:
        case Qt::Key_Home:
        case Qt::Key_Up:
        case Qt::Key_Down:
            break;
        default:
            handled = false;
        }
    }
    if (!handled) {
        handled = true;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Extending = false;
            if (MoveOnReturn && single) {
                moveBy(MoveDown ? TGridMove::NextRow : TGridMove::NextCol);
            }
            break;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            Extending = false;
            pageMove(key == Qt::Key_PageDown);
            break;
        case Qt::Key_End:
        case Qt::Key_Insert:
            Extending = false;
            break;
        case Qt::Key_Home:
            Extending = false;
            if (single) {
                if (const auto target = navigation().homeTarget(QPoint(CurrentCol, CurrentRow))) {
                    keyboardMoveTo(*target);
                }
            }
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down: {
            Extending = false;
            const TGridMove move = key == Qt::Key_Left    ? TGridMove::PrevCol
                                   : key == Qt::Key_Up    ? TGridMove::PrevRow
                                   : key == Qt::Key_Right ? TGridMove::NextCol
                                                          : TGridMove::NextRow;
            moveBy(move);
            break;
        }
        case Qt::Key_Delete:
            Extending = false;
            if (single && writable) {
                ClearSelection();
            }
            break;
        case Qt::Key_F2:
            Extending = false;
            if (single && writable) {
                scrollCellIntoView(CurrentCol, CurrentRow);
                openF2Editor();
            }
            break;
        default:
            handled = false;
        }
    }
    if (handled) {
        event->accept();
        return;
    }
    // Characters typed straight into the current cell.
    if (!writable || ctrl) {
        event->ignore();
        return;
    }
    if (key == Qt::Key_Backspace) {
        typeBackspace();
    } else if (key == Qt::Key_Escape) {
        typeEscape();
    } else {
        const QString text = event->text();
        if (!text.isEmpty() && !text.at(0).isNull() &&
            text.at(0).category() != QChar::Other_Control) {
            typeText(text);
        } else {
            event->ignore();
            return;
        }
    }
    event->accept();
}

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
