#include "forms/main/MainWindowKeys.h"
#include "controls/ovGrid.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(MainWindowKeys, DialogKeysInTheFilterListsMoveBetweenCells) {
    using M = TFilterListKeyMove;
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        bool moveOnReturn;
        M move;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, false, M::NextCell},
        {Qt::Key_Tab, Qt::ShiftModifier, false, M::PrevCell},
        {Qt::Key_Backtab, Qt::ShiftModifier, false, M::PrevCell},
        {Qt::Key_Return, Qt::NoModifier, true, M::NextCell},
        {Qt::Key_Enter, Qt::ShiftModifier, true, M::PrevCell},
        {Qt::Key_Return, Qt::NoModifier, false, M::None},
        {Qt::Key_Escape, Qt::NoModifier, true, M::None},
        {Qt::Key_A, Qt::NoModifier, true, M::None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilterListKeyMove(c.key, c.modifiers, c.moveOnReturn), c.move)
            << std::hex << c.key << " shift " << c.modifiers.testFlag(Qt::ShiftModifier)
            << " moveOnReturn " << c.moveOnReturn;
    }
}

TEST(MainWindowKeys, CtrlTabStepsThePagesRoundTheEndsAndPastDisabledOnes) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int step;
    } keys[] = {
        {Qt::Key_Tab, Qt::ControlModifier, 1},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {Qt::Key_Backtab, Qt::ControlModifier, -1},
        {Qt::Key_Tab, Qt::NoModifier, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0},
        {Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier, 0},
        {Qt::Key_PageDown, Qt::ControlModifier, 0},
    };
    for (const auto& c : keys) {
        EXPECT_EQ(PageStepOfKey(c.key, c.modifiers), c.step)
            << std::hex << c.key << " modifiers " << c.modifiers.toInt();
    }

    QTabWidget pages;
    for (int i = 0; i < 4; ++i) {
        pages.addTab(new QWidget(&pages), QString::number(i));
    }
    pages.setTabEnabled(2, false);
    const struct {
        int from;
        int step;
        int to;
    } steps[] = {{0, 1, 1}, {1, 1, 3}, {3, 1, 0}, {0, -1, 3}, {3, -1, 1}};
    for (const auto& c : steps) {
        pages.setCurrentIndex(c.from);
        EXPECT_TRUE(StepPages(pages, c.step));
        EXPECT_EQ(pages.currentIndex(), c.to) << c.from << " step " << c.step;
    }
    for (int i : {1, 3}) {
        pages.setTabEnabled(i, false);
    }
    pages.setCurrentIndex(0);
    EXPECT_FALSE(StepPages(pages, 1)) << "no other page to show";
    EXPECT_EQ(pages.currentIndex(), 0);
}

TEST(MainWindowKeys, RecentFilesAreNumberedAcceleratorsAndShowTheirPathAsItIs) {
    const struct {
        const char* caption;
        const char* shown;
    } cases[] = {
        {"", ""},
        {"1 /home/plans/site.krvc", "&1 /home/plans/site.krvc"},
        {"9 /home/R&D/a&b.krvc", "&9 /home/R&&D/a&&b.krvc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecentFileMenuCaption(QString::fromUtf8(c.caption)), QString::fromUtf8(c.shown))
            << c.caption;
    }
}

TEST(MainWindowKeys, EditCommandsFollowWhatTheFocusedControlCanTake) {
    QLineEdit selected(QStringLiteral("text"));
    selected.selectAll();
    QLineEdit unselected(QStringLiteral("text"));
    QLineEdit readOnly(QStringLiteral("text"));
    readOnly.setReadOnly(true);
    readOnly.selectAll();
    QLineEdit password(QStringLiteral("secret"));
    password.setEchoMode(QLineEdit::Password);
    password.selectAll();
    QLineEdit typed;
    typed.insert(QStringLiteral("x"));
    QComboBox editableCombo;
    editableCombo.setEditable(true);
    editableCombo.setEditText(QStringLiteral("combo"));
    editableCombo.lineEdit()->selectAll();
    QComboBox listCombo;
    TovGrid grid;
    grid.setColCount(2);
    grid.setRowCount(1);
    grid.setCellReadOnly(2, 1, true);
    TovGrid readOnlyCell;
    readOnlyCell.setColCount(2);
    readOnlyCell.setRowCount(1);
    readOnlyCell.setCellReadOnly(1, 1, true);
    QPushButton button;

    using C = TEditCommand;
    const struct {
        const char* name;
        QWidget* focus;
        bool clipboardHasText;
        const char* commands;
    } cases[] = {
        {"edit with a selection", &selected, true, "Cut Copy Paste"},
        {"edit with a selection, empty clipboard", &selected, false, "Cut Copy"},
        {"edit without a selection", &unselected, true, "Paste"},
        {"read-only edit", &readOnly, true, "Copy"},
        {"password edit", &password, true, "Paste"},
        {"edit after typing", &typed, false, "Undo"},
        {"editable combo box", &editableCombo, true, "Cut Copy Paste"},
        {"drop-down list", &listCombo, true, ""},
        {"grid on a writable cell", &grid, true, "Cut Copy Paste"},
        {"grid, empty clipboard", &grid, false, "Cut Copy"},
        {"grid on a read-only cell", &readOnlyCell, true, "Copy"},
        {"button", &button, true, ""},
        {"no focus", nullptr, true, ""},
    };
    const std::pair<C, const char*> commands[] = {
        {C::Cut, "Cut"}, {C::Copy, "Copy"}, {C::Paste, "Paste"}, {C::Undo, "Undo"}};
    for (const auto& c : cases) {
        QStringList enabled;
        for (const auto& [command, name] : commands) {
            if (CanRunEditCommand(c.focus, command, c.clipboardHasText)) {
                enabled << QString::fromLatin1(name);
            }
        }
        EXPECT_EQ(enabled.join(QLatin1Char(' ')), QString::fromLatin1(c.commands)) << c.name;
    }
}

} // namespace
