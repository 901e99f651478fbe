#include "forms/main/MainWindowKeys.h"

#include "controls/ovGrid.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>

TFilterListKeyMove FilterListKeyMove(int key, Qt::KeyboardModifiers modifiers, bool moveOnReturn) {
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    switch (key) {
    case Qt::Key_Tab:
        return shift ? TFilterListKeyMove::PrevCell : TFilterListKeyMove::NextCell;
    case Qt::Key_Backtab:
        return TFilterListKeyMove::PrevCell;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!moveOnReturn) {
            return TFilterListKeyMove::None;
        }
        return shift ? TFilterListKeyMove::PrevCell : TFilterListKeyMove::NextCell;
    default:
        return TFilterListKeyMove::None;
    }
}

int PageStepOfKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!modifiers.testFlag(Qt::ControlModifier) || modifiers.testFlag(Qt::AltModifier) ||
        modifiers.testFlag(Qt::MetaModifier)) {
        return 0;
    }
    if (key == Qt::Key_Backtab) {
        return -1;
    }
    if (key == Qt::Key_Tab) {
        return modifiers.testFlag(Qt::ShiftModifier) ? -1 : 1;
    }
    return 0;
}

bool StepPages(QTabWidget& pages, int step) {
    const int count = pages.count();
    if (step == 0 || count < 2) {
        return false;
    }
    const int current = std::max(0, pages.currentIndex());
    for (int distance = 1; distance < count; ++distance) {
        const int page = ((current + step * distance) % count + count) % count;
        if (pages.isTabEnabled(page)) {
            pages.setCurrentIndex(page);
            return true;
        }
    }
    return false;
}

bool StepPagesByKey(QTabWidget& pages, QObject* receiver, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget != &pages && !pages.isAncestorOf(widget)) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const int step = PageStepOfKey(key->key(), key->modifiers());
    if (step == 0) {
        return false;
    }
    StepPages(pages, step);
    return true;
}

namespace {

// The line edit of the focused control: itself, or an editable combo box's own edit.
QLineEdit* EditOf(QWidget* focus) {
    if (auto* edit = qobject_cast<QLineEdit*>(focus)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(focus)) {
        return combo->lineEdit();
    }
    return nullptr;
}

bool CanRunOnEdit(const QLineEdit& edit, TEditCommand command, bool clipboardHasText) {
    // A password is never handed to the clipboard.
    const bool selection = edit.hasSelectedText() && edit.echoMode() == QLineEdit::Normal;
    const bool writable = edit.isEnabled() && !edit.isReadOnly();
    switch (command) {
    case TEditCommand::Cut:
        return selection && writable;
    case TEditCommand::Copy:
        return selection;
    case TEditCommand::Paste:
        return writable && clipboardHasText;
    case TEditCommand::Undo:
        return writable && edit.isUndoAvailable();
    }
    return false;
}

bool CanRunOnGrid(const TovGrid& grid, TEditCommand command, bool clipboardHasText) {
    switch (command) {
    case TEditCommand::Cut:
        return grid.CanChangeSelection();
    case TEditCommand::Copy:
        return grid.CanCopySelection();
    case TEditCommand::Paste:
        return grid.CanChangeSelection() && clipboardHasText;
    case TEditCommand::Undo:
        return false;
    }
    return false;
}

} // namespace

bool CanRunEditCommand(QWidget* focus, TEditCommand command, bool clipboardHasText) {
    if (QLineEdit* edit = EditOf(focus)) {
        return CanRunOnEdit(*edit, command, clipboardHasText);
    }
    if (auto* grid = qobject_cast<TovGrid*>(focus)) {
        return CanRunOnGrid(*grid, command, clipboardHasText);
    }
    return false;
}

bool RunEditCommand(QWidget* focus, TEditCommand command, bool clipboardHasText) {
    if (!CanRunEditCommand(focus, command, clipboardHasText)) {
        return false;
    }
    if (QLineEdit* edit = EditOf(focus)) {
        switch (command) {
        case TEditCommand::Cut:
            edit->cut();
            break;
        case TEditCommand::Copy:
            edit->copy();
            break;
        case TEditCommand::Paste:
            edit->paste();
            break;
        case TEditCommand::Undo:
            edit->undo();
            break;
        }
        return true;
    }
    auto* grid = qobject_cast<TovGrid*>(focus);
    switch (command) {
    case TEditCommand::Cut:
        grid->CutSelection();
        break;
    case TEditCommand::Copy:
        grid->CopySelection();
        break;
    case TEditCommand::Paste:
        grid->PasteSelection();
        break;
    case TEditCommand::Undo:
        break;
    }
    return true;
}

QString RecentFileMenuCaption(const QString& caption) {
    if (caption.isEmpty()) {
        return caption;
    }
    QString shown = caption;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + shown;
}
