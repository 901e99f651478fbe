#include "forms/tabs/TabInputGuards.h"

#include "controls/ovGrid.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QValidator>

#include <algorithm>
#include <utility>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

bool InLatin1Set(char16_t key, const char* set) {
    if (key == 0 || key >= 256) {
        return false;
    }
    for (const char* c = set; *c != '\0'; ++c) {
        if (static_cast<unsigned char>(*c) == key) {
            return true;
        }
    }
    return false;
}

QString MaxLengthText(int maxLength) {
    return platform::Format(UIT(txt::MaximumLengthForField), {maxLength});
}

} // namespace

namespace inputguards {

bool IsControlKey(char16_t key) {
    return key == 8 || key == 9 || key == 13 || key == 27;
}

bool IsRefusedInPath(char16_t key) {
    return InLatin1Set(key, "*?\"<>|");
}

bool IsRefusedInWorksheetName(char16_t key) {
    return InLatin1Set(key, "\\/:*?[]");
}

bool IsAllowedInRowNumber(char16_t key) {
    return IsControlKey(key) || (key >= u'0' && key <= u'9');
}

QString RefusedInPathList() {
    return QStringLiteral("* ? \" < > |");
}

QString RefusedInWorksheetNameList() {
    return QStringLiteral("\\ / : * ? [ ]");
}

QPoint CaretAnchor(const QRect& boxGeometry, int selectionStart, int caretX) {
    QPoint anchor(boxGeometry.left(), boxGeometry.top() + boxGeometry.height());
    if (selectionStart > 0 && caretX >= 0) {
        anchor.rx() += std::min(caretX, boxGeometry.width() - 1);
    }
    return anchor;
}

QRect CaretBalloonRect(const QPoint& screenAnchor, int boxHeight, const QRect& screenArea) {
    QPoint anchor = screenAnchor;
    if (!screenArea.isEmpty()) {
        anchor.setX(std::clamp(anchor.x(), screenArea.left(), screenArea.right()));
        anchor.setY(std::clamp(anchor.y(), screenArea.top(), screenArea.bottom()));
    }
    return QRect(anchor.x(), anchor.y() - boxHeight, 0, boxHeight);
}

} // namespace inputguards

TTabInputGuards::TTabInputGuards(IBalloonHint& balloon,
                                 std::function<int(const QString&)> maxRowsForPath)
    : BalloonHint(balloon), MaxRowsForPath(std::move(maxRowsForPath)) {}

QLineEdit* TTabInputGuards::EditableBox(QObject* sender) const {
    auto* box = qobject_cast<QLineEdit*>(sender);
    return box != nullptr && !box->isReadOnly() ? box : nullptr;
}

void TTabInputGuards::ShowAtCaret(QLineEdit* box, const QString& text) {
    const int cursor = box->cursorPosition();
    const int selectionStart = box->hasSelectedText() ? box->selectionStart() : cursor;
    int caretX = -1;
    if (selectionStart > 0) {
        // Where the box shows its caret: past its frame and margins and after its own scrolling
        // of a text wider than the box. A selection's start lies that many characters before.
        caretX = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        if (selectionStart != cursor) {
            const QFontMetrics metrics = box->fontMetrics();
            const QString boxText = box->text();
            caretX -= metrics.horizontalAdvance(boxText.left(cursor)) -
                      metrics.horizontalAdvance(boxText.left(selectionStart));
        }
        caretX = std::max(caretX, 0);
    }
    QPoint anchor = inputguards::CaretAnchor(box->geometry(), selectionStart, caretX);
    if (QWidget* parent = box->parentWidget()) {
        anchor = parent->mapToGlobal(anchor);
    }
    const QScreen* screen = box->screen();
    BalloonHint.Show(text, inputguards::CaretBalloonRect(
                               anchor, box->height(),
                               screen != nullptr ? screen->availableGeometry() : QRect()));
}

void TTabInputGuards::WarnMaxLengthTB(QObject* sender, QChar& key, int maxLength) {
    QLineEdit* box = EditableBox(sender);
    if (box == nullptr) {
        return;
    }
    // At the maximum a selected run is refused as well: the test looks at the length only.
    if (box->text().size() == maxLength && !inputguards::IsControlKey(key.unicode())) {
        key = QChar(0);
        ShowAtCaret(box, MaxLengthText(maxLength));
    }
}

void TTabInputGuards::WarnMaxLengthSG(QObject* sender, QChar& key, int maxLength,
                                      const QRect& cellRect, bool& allowed) {
    auto* grid = qobject_cast<TovGrid*>(sender);
    if (grid == nullptr) {
        return;
    }
    const int col = grid->getCurrentCol();
    const int row = grid->getCurrentRow();
    if (grid->getCellReadOnly(col, row)) {
        return;
    }
    if (grid->getCells(col, row).size() == maxLength && !inputguards::IsControlKey(key.unicode())) {
        key = QChar(0);
        allowed = false;
        const QRect screenRect(grid->viewport()->mapToGlobal(cellRect.topLeft()), cellRect.size());
        BalloonHint.Show(MaxLengthText(maxLength), screenRect);
    }
}

void TTabInputGuards::KeyDownSelectAll(QObject* sender, int& key, Qt::KeyboardModifiers shift) {
    auto* box = qobject_cast<QLineEdit*>(sender);
    if (box == nullptr) {
        return;
    }
    BalloonHint.Hide();
    if (shift.testFlag(Qt::ControlModifier) && key == Qt::Key_A) {
        box->selectAll();
        key = 0;
    }
}

void TTabInputGuards::RefuseCharacters(QObject* sender, QChar& key, bool (*refused)(char16_t),
                                       const QString& refusedList) {
    QLineEdit* box = EditableBox(sender);
    if (box == nullptr || key.isNull() || !refused(key.unicode())) {
        return;
    }
    key = QChar(0);
    ShowAtCaret(box, UIT(txt::FollowingCharactersCannotBeUsed) + kLineBreak + refusedList);
}

void TTabInputGuards::ValidatePathFileName(QObject* sender, QChar& key) {
    RefuseCharacters(sender, key, inputguards::IsRefusedInPath, inputguards::RefusedInPathList());
}

void TTabInputGuards::ValidateWS(QObject* sender, QChar& key) {
    RefuseCharacters(sender, key, inputguards::IsRefusedInWorksheetName,
                     inputguards::RefusedInWorksheetNameList());
}

void TTabInputGuards::ValidateTHR(QObject* sender, QChar& key, const QString& dataSourcePath) {
    QLineEdit* box = EditableBox(sender);
    if (box == nullptr || key.isNull()) {
        return;
    }
    if (!inputguards::IsAllowedInRowNumber(key.unicode())) {
        key = QChar(0);
        const int maxRows = MaxRowsForPath ? MaxRowsForPath(dataSourcePath.trimmed()) : 65536;
        ShowAtCaret(box, UIT(txt::PleaseEnterNumericValue) + kLineBreak +
                             platform::Format(UIT(txt::ValidRange), {1, maxRows - 1}));
    }
}

namespace {

// Runs a box's key sequence: the key-down guard, then the length warning, then the filter.
class TBoxKeyFilter : public QObject {
public:
    TBoxKeyFilter(TTabInputGuards& guards, QLineEdit* box, int maxLength,
                  TTabInputGuards::TFilter filter, std::function<QString()> dataSourcePath)
        : QObject(box), Guards(guards), MaxLength(maxLength), Filter(filter),
          DataSourcePath(std::move(dataSourcePath)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() != Qt::Key_Return && keyEvent->key() != Qt::Key_Enter) {
            int keyCode = keyEvent->key();
            Guards.KeyDownSelectAll(watched, keyCode, keyEvent->modifiers());
            if (keyCode == 0) {
                return true;
            }
        }
        const QString text = keyEvent->text();
        if (text.isEmpty() || keyEvent->modifiers().testFlag(Qt::ControlModifier)) {
            return false; // no character: moves, deletions and shortcuts are the box's own
        }
        QChar key = text.front();
        Guards.WarnMaxLengthTB(watched, key, MaxLength);
        switch (Filter) {
        case TTabInputGuards::TFilter::None:
            break;
        case TTabInputGuards::TFilter::PathFileName:
            Guards.ValidatePathFileName(watched, key);
            break;
        case TTabInputGuards::TFilter::WorksheetName:
            Guards.ValidateWS(watched, key);
            break;
        case TTabInputGuards::TFilter::HeaderRow:
            Guards.ValidateTHR(watched, key, DataSourcePath ? DataSourcePath() : QString());
            break;
        }
        return key.isNull();
    }

private:
    TTabInputGuards& Guards;
    int MaxLength;
    TTabInputGuards::TFilter Filter;
    std::function<QString()> DataSourcePath;
};

} // namespace

namespace {

// Keeps what the user types or pastes within the maximum length. Unlike the box's own maximum it
// leaves text set by the program whole (a browsed or stored value longer than the maximum is
// shown and validated as it is, never cut short unseen).
class TMaxLengthValidator : public QValidator {
public:
    TMaxLengthValidator(int maxLength, QObject* parent)
        : QValidator(parent), MaxLength(maxLength) {}
    State validate(QString& input, int&) const override {
        return input.size() > MaxLength ? Invalid : Acceptable;
    }

private:
    int MaxLength;
};

} // namespace

void TTabInputGuards::Attach(QLineEdit* box, int maxLength, TFilter filter,
                             std::function<QString()> dataSourcePath) {
    box->setValidator(new TMaxLengthValidator(maxLength, box));
    box->installEventFilter(
        new TBoxKeyFilter(*this, box, maxLength, filter, std::move(dataSourcePath)));
}
