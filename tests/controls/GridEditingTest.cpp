#include "GridTestSupport.h"

#include "controls/GridEditors.h"
#include "support/FixedTextMeasurer.h"

#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

using gridtest::ShownGrid;
using Events = std::vector<std::string>;

TF2Editor* editorOf(TovGrid& grid) {
    return grid.findChild<TF2Editor*>();
}

void typeText(TovGrid& grid, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(&grid, &press);
    }
}

TEST(GridEditing, DirectTypingReplacesTheTextAndEscapeRestoresIt) {
    ShownGrid g(3, 3);
    g.grid.setCells(1, 1, QStringLiteral("abc"));
    g.grid.setFocus();
    g.events.clear();
    typeText(g.grid, QStringLiteral("xy"));
    EXPECT_EQ(g.grid.getCells(1, 1), QStringLiteral("xy"));
    EXPECT_TRUE(g.grid.isTyping());
    g.key(Qt::Key_Escape);
    EXPECT_EQ(g.grid.getCells(1, 1), QStringLiteral("abc"));
    EXPECT_EQ(g.events, (Events{"Change 1,1 x", "Change 1,1 xy", "Change 1,1 abc"}));
    // Backspace on a cell not being typed into empties it.
    g.grid.MoveToCell(2, 1);
    g.grid.setCells(2, 1, QStringLiteral("zz"));
    g.key(Qt::Key_Backspace);
    EXPECT_TRUE(g.grid.getCells(2, 1).isEmpty());
}

TEST(GridEditing, TypingStopsAtTheMaximumLengthAndAcceptsEveryPrintableCharacter) {
    ShownGrid g(3, 3);
    g.grid.setColMaxLength(1, 3);
    typeText(g.grid, QStringLiteral("abcd"));
    EXPECT_EQ(g.grid.getCells(1, 1), QStringLiteral("abc"));
    g.grid.MoveToCell(2, 1);
    typeText(g.grid, QStringLiteral("5\u20AC"));
    EXPECT_EQ(g.grid.getCells(2, 1), QStringLiteral("5\u20AC"));
    // A read-only cell takes nothing.
    g.grid.setCellReadOnly(3, 1, true);
    g.grid.MoveToCell(3, 1);
    typeText(g.grid, QStringLiteral("q"));
    EXPECT_TRUE(g.grid.getCells(3, 1).isEmpty());
}

TEST(GridEditing, FilterCharKeepsDigitsOutOfTypingAndTheEditor) {
    ShownGrid g(3, 3);
    QObject::connect(&g.grid, &TovGrid::OnFilterChar,
                     [](int, int, QChar& key, const QRect&, bool& allowed, const QString&) {
                         if (key.isDigit()) {
                             allowed = false;
                         } else if (key == QLatin1Char('a')) {
                             key = QLatin1Char('A');
                         }
                     });
    typeText(g.grid, QStringLiteral("1a2b"));
    EXPECT_EQ(g.grid.getCells(1, 1), QStringLiteral("Ab"));
    g.grid.MoveToCell(2, 1);
    g.grid.setFocus();
    g.key(Qt::Key_F2);
    TF2Editor* editor = editorOf(g.grid);
    ASSERT_TRUE(editor->isVisible());
    QTest::keyClicks(editor, QStringLiteral("x1a"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(g.grid.getCells(2, 1), QStringLiteral("x"));
}

TEST(GridEditing, F2EditorHandsOverOnTabEnterEscapeAndF2) {
    ShownGrid g(3, 3);
    g.grid.setMoveDown(false);
    g.grid.setCells(1, 1, QStringLiteral("old"));
    g.grid.activateWindow();
    (void)QTest::qWaitForWindowActive(&g.grid);
    g.grid.setFocus();
    g.key(Qt::Key_F2);
    TF2Editor* editor = editorOf(g.grid);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_TRUE(g.grid.isF2EditorOpen());
    EXPECT_EQ(editor->text(), QStringLiteral("old"));
    g.events.clear();
    QTest::keyClicks(editor, QStringLiteral("!"));
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(g.events, (Events{"Change 1,1 old!", "ColRow 2,1", "Select 2,1"}));
    // Enter closes and moves on; Shift+Tab moves back.
    g.key(Qt::Key_F2);
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(g.grid.getCurrentCol(), 3);
    g.key(Qt::Key_F2);
    QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(g.grid.getCurrentCol(), 2);
    // Escape puts the text back.
    g.grid.setCells(2, 1, QStringLiteral("keep"));
    g.key(Qt::Key_F2);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("new"));
    EXPECT_EQ(g.grid.getCells(2, 1), QStringLiteral("new"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(g.grid.getCells(2, 1), QStringLiteral("keep"));
    EXPECT_EQ(g.grid.getCurrentCol(), 2);
    // F2 in the editor closes it without a move; F2 on a read-only cell opens nothing.
    g.key(Qt::Key_F2);
    QTest::keyClick(editor, Qt::Key_F2);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(g.grid.getCurrentCol(), 2);
    g.grid.setCellReadOnly(2, 1, true);
    g.key(Qt::Key_F2);
    EXPECT_FALSE(editor->isVisible());
}

// A form holding a grid whose first column browses with a 30 x 24 bit button of the form's own.
struct FormWithCellButton {
    FormWithCellButton(int rows, int gridHeight, bool fixedButton) {
        form.resize(500, 300);
        grid->setGeometry(10, 10, 400, gridHeight);
        if (fixedButton) {
            button->setFixedSize(30, 24);
        } else {
            button->resize(30, 24);
        }
        button->hide();
        grid->setColCount(2);
        grid->setRowCount(rows);
        grid->setColEditor(1, ceBBtn);
        grid->setColEditorControl(1, button);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
    }
    QWidget form;
    TovGrid* grid = new TovGrid(&form);
    QPushButton* button = new QPushButton(&form);
};

TEST(GridEditing, EditorIsNarrowerByTheCellsButton) {
    FormWithCellButton f(2, 200, false);
    QWidget& form = f.form;
    TovGrid* grid = f.grid;
    QPushButton* button = f.button;
    grid->MoveToCell(1, 1);
    EXPECT_TRUE(button->isVisible());
    const QRect cell = grid->geometry().cellRect(1, 1).toQRect();
    // The button sits at the cell's right edge, in the form's coordinates.
    EXPECT_EQ(button->geometry().right() + 1,
              grid->viewport()->mapTo(&form, QPoint(cell.right() + 1, 0)).x());
    QTest::keyClick(grid, Qt::Key_F2);
    TF2Editor* editor = grid->findChild<TF2Editor*>();
    EXPECT_EQ(editor->width(), cell.width() - 8 - 30);
    // Moving away hides the button.
    grid->MoveToCell(2, 1);
    EXPECT_FALSE(button->isVisible());
}

TEST(GridEditing, AttachedControlsArePlacedByTheirKind) {
    const TGridRect cell{100, 50, 200, 75}; // 100 x 25 with its shared border lines
    const QSize button(30, 24);
    const QSize box(80, 21);
    const struct {
        TCellEditor kind;
        QSize control;
        TVerAlign align;
        TGridRect place;
    } cases[] = {
        {ceBtn, button, vaCenter, {169, 54, 199, 75}},
        {ceBBtn, button, vaTop, {170, 54, 200, 75}}, // as high as the cell less 4
        {ceSBtn, button, vaBottom, {168, 52, 198, 73}},
        // Combo boxes inside the grid lines (101 .. 198, 51 .. 73), at most as high.
        {ceDD, box, vaCenter, {101, 52, 199, 73}},
        {ceDD, box, vaTop, {101, 51, 199, 72}},
        {ceDD, box, vaBottom, {101, 53, 199, 74}},
        {ceDDL, box, vaCenter, {101, 52, 199, 73}},
        {ceDDL, QSize(80, 30), vaTop, {101, 51, 199, 74}},
        {ceNormal, button, vaCenter, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(editorPlacement(c.kind, cell, c.control, c.align), c.place)
            << int{c.kind} << " " << int{c.align};
    }
    // Only what lies over the cell must be in the data area.
    const TGridRect data{20, 18, 300, 200};
    EXPECT_TRUE(editorFitsDataArea({101, 52, 199, 73}, cell, data));
    EXPECT_TRUE(editorFitsDataArea({101, 52, 199, 73}, cell, {20, 18, 300, 75}));
    EXPECT_FALSE(editorFitsDataArea({170, 54, 200, 75}, cell, {20, 60, 300, 200}));
    EXPECT_FALSE(editorFitsDataArea({170, 54, 200, 75}, cell, {20, 18, 190, 200}));
    EXPECT_FALSE(editorFitsDataArea({}, cell, data));
}

// A button whose size the form fixed still fits its row, and it goes with its cell when the cell
// scrolls out of view (a click on it would act on a row no longer shown).
TEST(GridEditing, CellButtonFitsItsRowAndHidesWhileItsCellIsOutOfView) {
    FormWithCellButton f(20, 150, true);
    QWidget& form = f.form;
    TovGrid* grid = f.grid;
    QPushButton* button = f.button;
    grid->MoveToCell(1, 1);
    ASSERT_TRUE(button->isVisible());
    auto cellInForm = [&] {
        const QRect cell = grid->geometry().cellRect(1, 1).toQRect();
        return QRect(grid->viewport()->mapTo(&form, cell.topLeft()), cell.size());
    };
    EXPECT_EQ(button->height(), cellInForm().height() - 4);
    EXPECT_EQ(button->geometry().bottom(), cellInForm().bottom()) << "not into the next row";
    EXPECT_EQ(button->width(), 30);

    grid->verticalScrollBar()->setValue(5 * 24);
    EXPECT_EQ(grid->getCurrentRow(), 1);
    EXPECT_FALSE(button->isVisible());
    grid->verticalScrollBar()->setValue(0);
    EXPECT_TRUE(button->isVisible());
    EXPECT_EQ(button->geometry().bottom(), cellInForm().bottom());
}

TEST(GridEditing, DropDownListCellTakesItsFirstItemWithoutAnEvent) {
    QWidget form;
    auto* grid = new TovGrid(&form);
    grid->setGeometry(0, 0, 400, 200);
    auto* box = new QComboBox(&form);
    box->addItems({QStringLiteral("And"), QStringLiteral("Or")});
    box->resize(80, 21);
    grid->setColCount(2);
    grid->setRowCount(2);
    int events = 0;
    QObject::connect(grid, &TovGrid::OnCellChange, [&] { ++events; });
    grid->setCellEditor(1, 2, ceDDL);
    grid->setCellEditorControl(1, 2, box);
    EXPECT_EQ(grid->getDefaultRowHeight(), 24);
    EXPECT_EQ(grid->getRowHeights(1), 24);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    grid->MoveToCell(1, 2);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(grid->getCellEditorVisible(1, 2));
    EXPECT_EQ(grid->getCells(1, 2), QStringLiteral("And"));
    EXPECT_EQ(grid->getCellDDLItemIndex(1, 2), 0);
    EXPECT_EQ(events, 0);
    box->setCurrentIndex(1);
    grid->MoveToCell(2, 2);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(grid->getCells(1, 2), QStringLiteral("Or"));
    EXPECT_EQ(grid->getCellDDLItemIndex(1, 2), 1);
    EXPECT_FALSE(grid->getCellEditorVisible(1, 2));
}

} // namespace
