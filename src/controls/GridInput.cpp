// Selection, moves and keyboard of the grid widget; the move rules are TovGridNavigation's.
#include "ovGrid.h"

#include "GridEditors.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>

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

namespace {

// The clipboard keys of the grid's key table. The grid takes them before any window-wide
// shortcut on the same keys (the main window's Cut, Copy and Paste).
bool isClipboardKey(int key, Qt::KeyboardModifiers mods) {
    if (mods.testFlag(Qt::AltModifier) || mods.testFlag(Qt::MetaModifier)) {
        return false;
    }
    if (mods.testFlag(Qt::ControlModifier)) {
        return key == Qt::Key_C || key == Qt::Key_Insert || key == Qt::Key_X || key == Qt::Key_V;
    }
    return mods.testFlag(Qt::ShiftModifier) && (key == Qt::Key_Insert || key == Qt::Key_Delete);
}

} // namespace

bool TovGrid::isTypedCharacter(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::AltModifier) ||
        mods.testFlag(Qt::MetaModifier)) {
        return false;
    }
    const QString text = event.text();
    return !text.isEmpty() && !text.at(0).isNull() && text.at(0).category() != QChar::Other_Control;
}

bool TovGrid::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && GridEnabled && Cells.colCount() >= 1 &&
        Cells.rowCount() >= 1) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isClipboardKey(key->key(), key->modifiers())) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TovGrid::keyPressEvent(QKeyEvent* event) {
    if (!GridEnabled || Cells.colCount() < 1 || Cells.rowCount() < 1) {
        event->ignore();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const int key = event->key();
    const bool single = isSingleSelection();
    const bool writable =
        CurrentCol >= 0 && CurrentRow >= 0 && !Cells.cell(CurrentCol, CurrentRow).ReadOnly;
    // Enter moves only when the grid moves on Return; otherwise it is left to the window (a
    // dialogue's default button).
    const bool enterMoves = MoveOnReturn && single;
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
            if (enterMoves) {
                moveBy(MoveDown ? TGridMove::PrevRow : TGridMove::PrevCol);
            } else {
                handled = false;
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
            if (enterMoves) {
                moveBy(MoveDown ? TGridMove::NextRow : TGridMove::NextCol);
            } else {
                handled = false;
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
    // Editing keys of direct typing; any other key is left to the window (Escape to a
    // dialogue's Cancel button, Enter to its default button, Alt to the mnemonics).
    const bool command = ctrl || mods.testFlag(Qt::AltModifier) || mods.testFlag(Qt::MetaModifier);
    bool typed = false;
    if (writable && !command) {
        if (key == Qt::Key_Backspace) {
            typeBackspace();
            typed = true;
        } else if (key == Qt::Key_Escape) {
            if (CaretShown) {
                typeEscape();
                typed = true;
            }
        } else if (isTypedCharacter(*event)) {
            typeText(event->text());
            typed = true;
        }
    }
    event->setAccepted(typed);
}
