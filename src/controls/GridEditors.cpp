// In-place editors of the grid: the attached controls (buttons, combo boxes, speed buttons), the
// F2 text editor and direct typing into the current cell.
#include "GridEditors.h"

#include "GridPainter.h"
#include "ovGrid.h"
#include "services_ui/TextMetrics.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

// ---- TF2Editor ----

TF2Editor::TF2Editor(TovGrid* grid) : QLineEdit(grid->viewport()), Grid(grid) {
    setFrame(false);
    setAutoFillBackground(true);
    move(-200, -200);
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!Quiet) {
            Grid->f2EditorTextEdited(text);
        }
    });
}

void TF2Editor::setAlignment(THorAlign value) {
    Alignment = value;
    QLineEdit::setAlignment((value == haLeft     ? Qt::AlignLeft
                             : value == haCenter ? Qt::AlignHCenter
                                                 : Qt::AlignRight) |
                            Qt::AlignVCenter);
}

void TF2Editor::setTextQuietly(const QString& text) {
    Quiet = true;
    setText(text);
    Quiet = false;
}

bool TF2Editor::event(QEvent* event) {
    // Tab and Shift+Tab move the grid's current cell instead of the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            bool handled = false;
            Grid->f2EditorKey(key, handled);
            if (handled) {
                return true;
            }
        }
    }
    return QLineEdit::event(event);
}

void TF2Editor::keyPressEvent(QKeyEvent* event) {
    bool handled = false;
    Grid->f2EditorKey(event, handled);
    if (handled) {
        return;
    }
    const QString text = event->text();
    const bool printable = TovGrid::isTypedCharacter(*event);
    if (!printable && event->key() != Qt::Key_Backspace) {
        // A character with Alt or Meta is a mnemonic for the window, never typed text.
        const Qt::KeyboardModifiers mods = event->modifiers();
        if (!text.isEmpty() && !mods.testFlag(Qt::ControlModifier) &&
            (mods.testFlag(Qt::AltModifier) || mods.testFlag(Qt::MetaModifier))) {
            event->ignore();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = event->key() == Qt::Key_Backspace ? QChar(8) : text.at(0);
    const QChar original = key;
    bool allowed = true;
    const QString buffer = hasSelectedText() ? QString() : this->text();
    Q_EMIT Grid->OnFilterChar(Col, Row, key, Grid->caretScreenRect(), allowed, buffer);
    if (event->key() == Qt::Key_Backspace) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!allowed || key.isNull()) {
        return;
    }
    if (key != original) {
        insert(QString(key));
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TF2Editor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    Grid->f2EditorFocusLost();
}

// ---- Editor controls ----

quint16 TovGrid::registerControl(QWidget* control) {
    if (control == nullptr) {
        return 0;
    }
    for (size_t i = 1; i < EditorControls.size(); ++i) {
        if (EditorControls[i] == control) {
            return static_cast<quint16>(i);
        }
    }
    EditorControls.emplace_back(control);
    return static_cast<quint16>(EditorControls.size() - 1);
}

QWidget* TovGrid::editorControl(int col, int row) const {
    const quint16 index = Cells.cell(col, row).EditorControl;
    return index == 0 || index >= EditorControls.size() ? nullptr : EditorControls[index].data();
}

void TovGrid::hideEditors(bool exceptCurrent) {
    QWidget* keep = nullptr;
    const bool current = CurrentCol >= 0 && CurrentRow >= 0 && CurrentCol <= Cells.colCount() &&
                         CurrentRow <= Cells.rowCount();
    if (exceptCurrent && current) {
        keep = editorControl(CurrentCol, CurrentRow);
    }
    for (size_t i = 1; i < EditorControls.size(); ++i) {
        QWidget* control = EditorControls[i].data();
        if (control != nullptr && control != keep) {
            control->hide();
        }
    }
    std::vector<QPoint> kept;
    for (const QPoint& p : ShownEditorCells) {
        if (p.x() > Cells.colCount() || p.y() > Cells.rowCount()) {
            continue;
        }
        if (exceptCurrent && p == QPoint(CurrentCol, CurrentRow)) {
            kept.push_back(p);
        } else {
            Cells.cell(p.x(), p.y()).EditorVisible = false;
        }
    }
    ShownEditorCells = std::move(kept);
}

void TovGrid::placeCurrentEditor() {
    if (Cells.colCount() > 0 && Cells.rowCount() > 0 && CurrentCol >= 1 && CurrentRow >= 1) {
        ShowCellEditor(CurrentCol, CurrentRow);
    }
}

void TovGrid::setCellEditor(int col, int row, TCellEditor kind) {
    if (badCell(col, row, 0, "ovGrid.setCellEditor")) {
        return;
    }
    hideEditors(false);
    Cells.cell(col, row).Editor = kind;
    if (kind == ceSBtn) {
        if (auto* button = qobject_cast<QToolButton*>(editorControl(col, row))) {
            button->setParent(viewport());
        }
    }
    repaintData();
}

void TovGrid::setCellEditorControl(int col, int row, QWidget* control) {
    if (badCell(col, row, 0, "ovGrid.setCellEditorControl")) {
        return;
    }
    hideEditors(false);
    TGridCell& cell = Cells.cell(col, row);
    cell.EditorControl = registerControl(control);
    if (cell.Editor == ceSBtn && qobject_cast<QToolButton*>(control) != nullptr) {
        control->setParent(viewport());
    }
    const int h = CalcCellMinHeights(col, row, false);
    if (Cells.defaults().DefaultRowHeight < h) {
        setDefaultRowHeight(h);
    }
    if (row >= 1 && Cells.rowHeight(row) < h) {
        Cells.setRowHeight(row, h);
        layoutGrid();
    }
    repaintData();
    placeCurrentEditor();
}

void TovGrid::setColEditor(int col, TCellEditor kind) {
    if (badCol(col, 1, "ovGrid.setColEditor")) {
        return;
    }
    hideEditors(false);
    Cells.column(col).Editor = kind;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).Editor = kind;
    }
    repaintData();
}

void TovGrid::setColEditorControl(int col, QWidget* control) {
    if (badCol(col, 1, "ovGrid.setColEditorControl")) {
        return;
    }
    hideEditors(false);
    const quint16 index = registerControl(control);
    Cells.column(col).EditorControl = index;
    int largest = 0;
    for (int r = 1; r <= Cells.rowCount(); ++r) {
        Cells.cell(col, r).EditorControl = index;
        largest = std::max(largest, CalcCellMinHeights(col, r, false));
        if (Cells.rowHeight(r) < largest) {
            Cells.setRowHeight(r, largest);
        }
    }
    if (Cells.defaults().DefaultRowHeight < largest) {
        setDefaultRowHeight(largest);
    }
    layoutGrid();
    repaintData();
    placeCurrentEditor();
}

void TovGrid::ShowCellEditor(int col, int row) {
    if (!GridEnabled) {
        return;
    }
    if (badCell(col, row, 0, "ovGrid.ShowCellEditor")) {
        return;
    }
    TGridCell& cell = Cells.cell(col, row);
    if (cell.Editor == ceNormal) {
        return;
    }
    QWidget* control = editorControl(col, row);
    if (control == nullptr) {
        return;
    }
    const TGridRect r = Geometry.cellRect(col, row);
    const TGridRect place = editorPlacement(cell.Editor, r, control->size(), cell.VerAlign);
    if (!editorFitsDataArea(place, r, Geometry.dataClipRect())) {
        // The cell is scrolled out of view (or under the header or gutter): its control would
        // stand over another cell and act on this hidden one.
        const bool focused = control->hasFocus();
        hideEditors(false);
        if (focused && GridEnabled) {
            setFocus();
        }
        return;
    }
    // Buttons and combo boxes stay children of the form: place them in their parent's
    // coordinates. The grid decides the control's size over the cell: a size the form fixed
    // gives way.
    auto placeAt = [this, control](const TGridRect& at) {
        const QSize size(at.width(), at.height());
        control->setMinimumSize(control->minimumSize().boundedTo(size));
        control->setMaximumSize(control->maximumSize().expandedTo(size));
        QPoint pos(at.Left, at.Top);
        if (control->parentWidget() != viewport() && control->parentWidget() != nullptr) {
            pos = viewport()->mapTo(window(), pos);
            pos = control->parentWidget()->mapFrom(window(), pos);
        }
        control->setGeometry(QRect(pos, size));
    };
    switch (cell.Editor) {
    case ceBtn:
    case ceBBtn: {
        if (qobject_cast<QPushButton*>(control) == nullptr) {
            return;
        }
        placeAt(place);
        control->show();
        control->raise();
        break;
    }
    case ceSBtn: {
        if (qobject_cast<QToolButton*>(control) == nullptr) {
            return;
        }
        placeAt(place);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setChecked(cell.SBtnDown);
        }
        control->show();
        control->raise();
        break;
    }
    case ceDD:
    case ceDDL: {
        auto* box = qobject_cast<QComboBox*>(control);
        if (box == nullptr || cell.ReadOnly) {
            return;
        }
        const bool list = cell.Editor == ceDDL;
        box->setEditable(!list);
        placeAt(place);
        if (list) {
            if (box->count() > 0) {
                box->setCurrentIndex(0);
            }
            if (cell.Text.isEmpty()) {
                cell.Text = box->currentText();
                cell.DDLItemIndex = box->currentIndex();
            }
            const QString wanted = cell.Text.trimmed().toUpper();
            for (int i = 0; i < box->count(); ++i) {
                if (box->itemText(i).trimmed().toUpper() == wanted) {
                    box->setCurrentIndex(i);
                    cell.DDLItemIndex = i;
                    break;
                }
            }
        } else {
            box->setEditText(cell.Text);
        }
        box->show();
        box->raise();
        cell.EditorVisible = true;
        if (std::find(ShownEditorCells.begin(), ShownEditorCells.end(), QPoint(col, row)) ==
            ShownEditorCells.end()) {
            ShownEditorCells.push_back(QPoint(col, row));
        }
        if (box->lineEdit() != nullptr) {
            box->lineEdit()->selectAll();
        }
        if (box->isEnabled()) {
            box->setFocus();
        }
        break;
    }
    case ceNormal:
        break;
    }
}

// ---- F2 editor ----

void TovGrid::openF2Editor() {
    if (CurrentCol < 1 || CurrentRow < 1) {
        return;
    }
    const TGridCell& cell = Cells.cell(CurrentCol, CurrentRow);
    if (cell.ReadOnly || cell.MergeState == cmsMerged) {
        return;
    }
    F2Open = true;
    repaintData();
    CaretShown = false;
    F2Editor->Col = CurrentCol;
    F2Editor->Row = CurrentRow;
    const TColor color =
        UseF2EditorColor ? F2EditorColor : paintedCellColor(CurrentCol, CurrentRow);
    QPalette palette = F2Editor->palette();
    palette.setColor(QPalette::Base, gridColor(color));
    palette.setColor(QPalette::Window, gridColor(color));
    palette.setColor(QPalette::Text, gridColor(cell.Font.Color));
    F2Editor->setPalette(palette);
    F2Editor->setAlignment(Cells.column(CurrentCol).HorAlign);
    F2Editor->setFont(CellFont);
    F2Editor->setMaxLength(cell.MaxLength > 0 ? cell.MaxLength : 32767);
    F2Editor->setTextQuietly(cell.Text);
    SavedText = cell.Text;
    TGridRect rect =
        cell.MergeState == cmsTopLeft
            ? Geometry.areaRect(CurrentCol, CurrentRow, CurrentCol + cell.MergeColOffset,
                                CurrentRow + cell.MergeRowOffset)
            : Geometry.cellRect(CurrentCol, CurrentRow);
    if (F2Editor->getAlignment() == haRight) {
        rect.Right += 1;
    }
    const TGridRect inset = rect.adjusted(4, 2, -4, -2);
    int width = inset.width();
    if (cell.Editor == ceBtn || cell.Editor == ceBBtn || cell.Editor == ceSBtn) {
        if (QWidget* control = editorControl(CurrentCol, CurrentRow)) {
            width -= control->width();
        }
    }
    const int height = textMeasurer().textHeight(cellFont(cell.Font), QStringLiteral("gM"));
    int top = inset.Top - 1;
    if (cell.VerAlign == vaCenter) {
        top = inset.Top + (inset.height() - height) / 2;
    } else if (cell.VerAlign == vaBottom) {
        top = inset.Bottom - height + 1;
    }
    F2Editor->setGeometry(inset.Left, top, std::max(width, 1), height);
    F2Editor->show();
    F2Editor->setFocus(Qt::OtherFocusReason);
}

void TovGrid::closeF2Editor() {
    F2Editor->hide();
    F2Open = false;
    Typing = false;
    repaintData();
}

void TovGrid::f2EditorTextEdited(const QString& text) {
    InternalSetCell(F2Editor->Col, F2Editor->Row, text, true);
}

void TovGrid::f2EditorKey(QKeyEvent* event, bool& handled) {
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        handled = true;
        if (GridEnabled) {
            setFocus(Qt::TabFocusReason);
            if (event->key() == Qt::Key_Backtab || shift) {
                MovePrevCell();
            } else {
                MoveNextCell();
            }
            endTyping();
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        handled = true;
        closeF2Editor();
        if (GridEnabled) {
            setFocus(Qt::OtherFocusReason);
            if (shift) {
                MovePrevCell();
            } else {
                MoveNextCell();
            }
        }
        break;
    case Qt::Key_F2:
        handled = true;
        closeF2Editor();
        setFocus(Qt::OtherFocusReason);
        break;
    case Qt::Key_Escape:
        handled = true;
        F2Editor->setText(SavedText);
        closeF2Editor();
        SavedText.clear();
        if (GridEnabled) {
            setFocus(Qt::OtherFocusReason);
        }
        break;
    default:
        break;
    }
}

void TovGrid::f2EditorFocusLost() {
    F2Open = false;
    Typing = false;
    repaintData();
}

// ---- Direct typing ----

void TovGrid::endTyping() {
    const bool repaint = CaretShown || Typing;
    CaretShown = false;
    Typing = false;
    if (F2Editor != nullptr && (F2Open || F2Editor->isVisible())) {
        closeF2Editor();
    }
    if (repaint) {
        repaintCell(CurrentCol, CurrentRow);
    }
}

QPoint TovGrid::typingCaretPoint() const {
    const TGridCell& cell = Cells.cell(CurrentCol, CurrentRow);
    const TGridRect rect =
        cell.MergeState == cmsTopLeft
            ? Geometry.areaRect(CurrentCol, CurrentRow, CurrentCol + cell.MergeColOffset,
                                CurrentRow + cell.MergeRowOffset)
            : Geometry.cellRect(CurrentCol, CurrentRow);
    return layoutCellText(cell.Text, CellFont, rect.adjusted(4, 2, -4, -2), cell.HorAlign,
                          cell.VerAlign, cell.WordWrap, true)
        .Caret;
}

QRect TovGrid::caretScreenRect() const {
    if (CurrentCol < 1 || CurrentRow < 1) {
        return QRect();
    }
    const TGridRect cellRect = Geometry.cellRect(CurrentCol, CurrentRow);
    int x = CaretPoint.x();
    if (F2Open && F2Editor->isVisible()) {
        x = F2Editor->geometry().left() + F2Editor->cursorRect().center().x();
    }
    const int height = Cells.rowHeight(CurrentRow);
    const QPoint bottom = viewport()->mapToGlobal(QPoint(x, cellRect.Bottom));
    return QRect(QPoint(bottom.x(), bottom.y() - height), QPoint(bottom.x() - 1, bottom.y()));
}

void TovGrid::typeText(const QString& text) {
    if (CurrentCol < 1 || CurrentRow < 1) {
        return;
    }
    TGridCell& cell = Cells.cell(CurrentCol, CurrentRow);
    if (TypingBuffer.isEmpty() && SavedText.isEmpty()) {
        SavedText = cell.Text;
    }
    // One character, or one surrogate pair, as the in-place editor accepts it.
    QChar key = text.at(0);
    const QChar original = key;
    bool allowed = true;
    Q_EMIT OnFilterChar(CurrentCol, CurrentRow, key, caretScreenRect(), allowed, TypingBuffer);
    if (!TypingBuffer.isEmpty() && cell.MaxLength > 0 && cell.Text.size() >= cell.MaxLength) {
        allowed = false;
    }
    if (!allowed || key.isNull()) {
        return;
    }
    if (F2Open) {
        closeF2Editor();
    }
    Typing = true;
    TypingBuffer += key != original || !key.isHighSurrogate() ? QString(key) : text.left(2);
    InternalSetCell(CurrentCol, CurrentRow, TypingBuffer, true);
    scrollCellIntoView(CurrentCol, CurrentRow);
    CaretPoint = typingCaretPoint();
    CaretShown = true;
    repaintCell(CurrentCol, CurrentRow);
}

void TovGrid::typeBackspace() {
    if (CurrentCol < 1 || CurrentRow < 1) {
        return;
    }
    if (TypingBuffer.isEmpty() && SavedText.isEmpty()) {
        SavedText = Cells.cell(CurrentCol, CurrentRow).Text;
    }
    if (!TypingBuffer.isEmpty()) {
        TypingBuffer.chop(TypingBuffer.size() >= 2 && TypingBuffer.back().isLowSurrogate() ? 2 : 1);
    }
    Typing = true;
    InternalSetCell(CurrentCol, CurrentRow, TypingBuffer, true);
    scrollCellIntoView(CurrentCol, CurrentRow);
    CaretPoint = typingCaretPoint();
    CaretShown = true;
    repaintCell(CurrentCol, CurrentRow);
}

void TovGrid::typeEscape() {
    if (!CaretShown || CurrentCol < 1 || CurrentRow < 1) {
        return;
    }
    endTyping();
    InternalSetCell(CurrentCol, CurrentRow, SavedText, true);
    leaveCell(CurrentCol, CurrentRow);
}
