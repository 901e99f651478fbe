#include "MainWindowKeys.h"

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
