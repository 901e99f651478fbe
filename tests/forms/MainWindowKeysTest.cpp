#include "forms/MainWindowKeys.h"

#include <gtest/gtest.h>

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

} // namespace
