// The grid's keys among the keys of the window around it: characters typed with Alt or Meta are
// no characters, the clipboard keys work even where the window has shortcuts on them, and keys
// the grid does nothing with (Escape, Enter) reach a dialogue's buttons.
#include "GridTestSupport.h"

#include "controls/GridEditors.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using gridtest::ShownGrid;

QString clipboard() {
    return QGuiApplication::clipboard()->text();
}

TEST(GridKeys, OnlyKeysWithoutCtrlAltOrMetaTypeIntoTheCellAndTheInPlaceEditor) {
    const struct {
        Qt::KeyboardModifiers modifiers;
        bool types;
    } cases[] = {
        {Qt::NoModifier, true},
        {Qt::ShiftModifier, true},
        {Qt::KeypadModifier, true},
        {Qt::AltModifier, false},
        {Qt::MetaModifier, false},
        {Qt::ControlModifier, false},
        {Qt::AltModifier | Qt::ShiftModifier, false},
    };
    for (const auto& c : cases) {
        ShownGrid g(2, 1);
        // The upper-casing filter of the map grid: a changed character is inserted by the grid.
        QObject::connect(
            &g.grid, &TovGrid::OnFilterChar,
            [](int, int, QChar& key, const QRect&, bool&, const QString&) { key = key.toUpper(); });
        g.grid.setCells(1, 1, QStringLiteral("A"));
        g.grid.setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Q, c.modifiers, QStringLiteral("q"));
        QApplication::sendEvent(&g.grid, &press);
        EXPECT_EQ(g.grid.getCells(1, 1), c.types ? QStringLiteral("Q") : QStringLiteral("A"))
            << c.modifiers.toInt();
        EXPECT_EQ(press.isAccepted(), c.types) << "an untyped key goes on to the window";

        g.grid.MoveToCell(2, 1);
        g.key(Qt::Key_F2);
        auto* editor = g.grid.findChild<TF2Editor*>();
        ASSERT_TRUE(editor != nullptr && editor->isVisible());
        QKeyEvent editorPress(QEvent::KeyPress, Qt::Key_Q, c.modifiers, QStringLiteral("q"));
        QApplication::sendEvent(editor, &editorPress);
        EXPECT_EQ(editor->text(), c.types ? QStringLiteral("Q") : QString()) << c.modifiers.toInt();
    }
}

// A window whose actions own the clipboard keys, as the main window's Edit menu does.
class WindowWithShortcuts {
public:
    WindowWithShortcuts() {
        grid = new TovGrid(&window);
        grid->setColCount(2);
        grid->setRowCount(2);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(grid);
        for (const QKeySequence& key :
             {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_X),
              QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::CTRL | Qt::Key_Insert),
              QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}) {
            auto* action = new QAction(&window);
            action->setShortcut(key);
            QObject::connect(action, &QAction::triggered, [this] { ++shortcuts; });
            window.addAction(action);
        }
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        QApplication::setActiveWindow(&window);
        grid->setFocus();
    }

    QWidget window;
    TovGrid* grid = nullptr;
    int shortcuts = 0;
};

TEST(GridKeys, ClipboardKeysReachTheGridBeforeTheWindowsShortcuts) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* clipboardBefore;
        const char* cellAfter;
        const char* clipboardAfter;
    } cases[] = {
        {Qt::Key_C, Qt::ControlModifier, "old", "cell", "cell\r\n"},
        {Qt::Key_Insert, Qt::ControlModifier, "old", "cell", "cell\r\n"},
        {Qt::Key_X, Qt::ControlModifier, "old", "", "cell\r\n"},
        {Qt::Key_Delete, Qt::ShiftModifier, "old", "", "cell\r\n"},
        {Qt::Key_V, Qt::ControlModifier, "pasted", "pasted", "pasted"},
        {Qt::Key_Insert, Qt::ShiftModifier, "pasted", "pasted", "pasted"},
    };
    for (const auto& c : cases) {
        WindowWithShortcuts w;
        ASSERT_EQ(QApplication::focusWidget(), w.grid);
        w.grid->setCells(1, 1, QStringLiteral("cell"));
        QGuiApplication::clipboard()->setText(QString::fromLatin1(c.clipboardBefore));
        QTest::keyClick(w.grid, c.key, c.modifiers);
        EXPECT_EQ(w.shortcuts, 0) << QKeySequence(c.key | c.modifiers).toString().toStdString();
        EXPECT_EQ(w.grid->getCells(1, 1), QString::fromLatin1(c.cellAfter))
            << QKeySequence(c.key | c.modifiers).toString().toStdString();
        EXPECT_EQ(clipboard(), QString::fromLatin1(c.clipboardAfter))
            << QKeySequence(c.key | c.modifiers).toString().toStdString();
    }
}

// A dialogue with a writable grid, a default OK button and a Cancel button.
class GridDialogue {
public:
    GridDialogue() {
        grid = new TovGrid(&dialog);
        grid->setColCount(2);
        grid->setRowCount(2);
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(grid);
        layout->addWidget(ok);
        layout->addWidget(cancel);
        dialog.show();
        (void)QTest::qWaitForWindowExposed(&dialog);
        QApplication::setActiveWindow(&dialog);
        grid->setFocus();
    }

    QDialog dialog;
    TovGrid* grid = nullptr;
};

TEST(GridKeys, EscapeAndEnterReachTheDialogueUnlessTheGridUsesThem) {
    enum Outcome { StaysOpen, Accepted, Rejected };
    const struct {
        const char* name;
        bool moveOnReturn;
        bool typeFirst;
        Qt::Key key;
        Outcome outcome;
        QPoint current;
        const char* cell;
    } cases[] = {
        {"Escape with nothing typed", true, false, Qt::Key_Escape, Rejected, {1, 1}, "abc"},
        {"Escape while typing restores the cell",
         true,
         true,
         Qt::Key_Escape,
         StaysOpen,
         {1, 1},
         "abc"},
        {"Enter that moves", true, false, Qt::Key_Return, StaysOpen, {1, 2}, "abc"},
        {"Enter of a grid that does not move on Return",
         false,
         false,
         Qt::Key_Return,
         Accepted,
         {1, 1},
         "abc"},
        {"keypad Enter of a grid that does not move on Return",
         false,
         true,
         Qt::Key_Enter,
         Accepted,
         {1, 1},
         "x"},
    };
    for (const auto& c : cases) {
        GridDialogue d;
        d.grid->setMoveOnReturn(c.moveOnReturn);
        d.grid->setCells(1, 1, QStringLiteral("abc"));
        ASSERT_EQ(QApplication::focusWidget(), d.grid) << c.name;
        if (c.typeFirst) {
            QTest::keyClick(d.grid, Qt::Key_X);
        }
        QTest::keyClick(d.grid, c.key);
        const Outcome outcome = d.dialog.isVisible()                     ? StaysOpen
                                : d.dialog.result() == QDialog::Accepted ? Accepted
                                                                         : Rejected;
        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(QPoint(d.grid->getCurrentCol(), d.grid->getCurrentRow()), c.current) << c.name;
        EXPECT_EQ(d.grid->getCells(1, 1), QString::fromLatin1(c.cell)) << c.name;
    }
}

} // namespace
