// The main window from the keyboard, offscreen: the clipboard keys and the edit commands on the
// map and filter grids and the edit boxes, Alt never typing, the definition list in the tab
// order, the focus kept over activations, Save of a new data file and the recent files'
// number accelerators, and Ctrl+Tab from every control on the pages.
#include "MainTestFakes.h"

#include "MainWindowFixture.h"
#include "controls/ovGrid.h"
#include "forms/main/F_Main.h"
#include "forms/main/F_Main_Status.h"
#include "forms/tabs/FilterGridModel.h"
#include "forms/tabs/Tab_DSF.h"
#include "forms/tabs/Tab_DSM.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "services/ovMRU.h"
#include "support/FakeStdDlg.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace formstest {
namespace {

QString Clipboard() {
    return QGuiApplication::clipboard()->text();
}

void SetClipboard(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

class MainWindowKeyboard : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        QApplication::setActiveWindow(window.get());
    }

    void OpenSample() {
        window->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
        ASSERT_EQ(SDs->getCount(), 3) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    }
    TovGrid* Grid(int page) const {
        QWidget* tab = window->pages()->widget(page);
        return page == tabDSM ? static_cast<TTab_DSM*>(tab)->grid()
                              : static_cast<TTab_DSF*>(tab)->grid();
    }
    QLineEdit* TitleBox() const {
        return window->findChild<QLineEdit*>(QStringLiteral("TB_PD_ProjectTitle"));
    }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Press(QKeyCombination key) {
        QTest::keyClick(Focus(), key.key(), key.keyboardModifiers());
    }
    bool Modified() const { return window->statusPanels()->getModified(); }
    void Unmodify() {
        DF->setModified(false);
        window->controller().UpdateDataFileStatus();
    }
    QStringList EnabledEditCommands(const char* prefix) const {
        QStringList names;
        for (const char* command : {"Cut", "Copy", "Paste", "Undo"}) {
            const QString name = QString::fromLatin1(prefix) + QString::fromLatin1(command);
            if (window->action(name)->isEnabled()) {
                names << QString::fromLatin1(command);
            }
        }
        return names;
    }
};

TEST_F(MainWindowKeyboard, GridKeysOnTheMapAndFilterGridsChangeCellsClipboardAndTheFile) {
    OpenSample();
    const struct {
        const char* name;
        int definition;
        int page;
        QPoint cell;
        QKeyCombination key;
        const char* clipboardBefore;
        const char* cellAfter;
        const char* clipboardAfter;
        bool modified;
    } cases[] = {
        {"map copy", 1, tabDSM, {1, 2}, Qt::CTRL | Qt::Key_C, "old", "AB", "AB\r\n", false},
        {"map copy (Insert)",
         1,
         tabDSM,
         {1, 2},
         Qt::CTRL | Qt::Key_Insert,
         "old",
         "AB",
         "AB\r\n",
         false},
        {"map cut", 1, tabDSM, {1, 2}, Qt::CTRL | Qt::Key_X, "old", "", "AB\r\n", true},
        {"map cut (Delete)",
         1,
         tabDSM,
         {1, 2},
         Qt::SHIFT | Qt::Key_Delete,
         "old",
         "",
         "AB\r\n",
         true},
        {"map paste", 1, tabDSM, {1, 2}, Qt::CTRL | Qt::Key_V, "K", "K", "K", true},
        {"map paste (Insert)", 1, tabDSM, {1, 2}, Qt::SHIFT | Qt::Key_Insert, "K", "K", "K", true},
        {"map Alt+Q is no character",
         1,
         tabDSM,
         {1, 2},
         Qt::ALT | Qt::Key_Q,
         "old",
         "AB",
         "old",
         false},
        {"map Q types", 1, tabDSM, {1, 2}, QKeyCombination(Qt::Key_Q), "old", "Q", "old", true},
        {"filter value copy",
         2,
         tabDSF,
         {fcValue, 1},
         Qt::CTRL | Qt::Key_C,
         "old",
         "AB",
         "AB\r\n",
         false},
        {"filter value paste",
         2,
         tabDSF,
         {fcValue, 1},
         Qt::CTRL | Qt::Key_V,
         "Mech",
         "Mech",
         "Mech",
         true},
        {"filter value Alt+M is no character",
         2,
         tabDSF,
         {fcValue, 1},
         Qt::ALT | Qt::Key_M,
         "old",
         "AB",
         "old",
         false},
    };
    for (const auto& c : cases) {
        window->definitionList()->setCurrentRow(c.definition - 1);
        window->pages()->setCurrentIndex(c.page);
        TovGrid* grid = Grid(c.page);
        grid->MoveToCell(c.cell.x(), c.cell.y());
        grid->setCells(c.cell.x(), c.cell.y(), QStringLiteral("AB"));
        grid->setFocus();
        ASSERT_EQ(Focus(), grid) << c.name;
        SetClipboard(QString::fromLatin1(c.clipboardBefore));
        Unmodify();
        Press(c.key);
        EXPECT_EQ(grid->getCells(c.cell.x(), c.cell.y()), QString::fromLatin1(c.cellAfter))
            << c.name;
        EXPECT_EQ(Clipboard(), QString::fromLatin1(c.clipboardAfter)) << c.name;
        EXPECT_EQ(Modified(), c.modified) << c.name;
        EXPECT_EQ(Focus(), grid) << c.name;
    }
}

TEST_F(MainWindowKeyboard, EditCommandsActOnTheFocusedControlAndAreDisabledWhereItTakesNone) {
    OpenSample();
    window->pages()->setCurrentIndex(tabDSM);
    TovGrid* grid = Grid(tabDSM);
    grid->MoveToCell(1, 3);
    grid->setCells(1, 3, QStringLiteral("C"));
    grid->setFocus();
    SetClipboard(QStringLiteral("old"));
    EXPECT_EQ(EnabledEditCommands("MI_Edit_"), Texts({"Cut", "Copy", "Paste"}));
    EXPECT_EQ(EnabledEditCommands("TBtn_Edit_"), Texts({"Cut", "Copy", "Paste"}));
    window->action(QStringLiteral("MI_Edit_Copy"))->trigger();
    EXPECT_EQ(Clipboard(), QStringLiteral("C\r\n"));
    SetClipboard(QStringLiteral("D"));
    Unmodify();
    window->action(QStringLiteral("TBtn_Edit_Paste"))->trigger();
    EXPECT_EQ(grid->getCells(1, 3), QStringLiteral("D"));
    EXPECT_TRUE(Modified());
    Unmodify();
    window->action(QStringLiteral("TBtn_Edit_Cut"))->trigger();
    EXPECT_TRUE(grid->getCells(1, 3).isEmpty());
    EXPECT_EQ(Clipboard(), QStringLiteral("D\r\n"));
    EXPECT_TRUE(Modified());

    window->processButton()->setFocus();
    EXPECT_TRUE(EnabledEditCommands("MI_Edit_").isEmpty());
    EXPECT_TRUE(EnabledEditCommands("TBtn_Edit_").isEmpty());

    // An edit box: a selection made with the keys, cut with the menu, taken back with Undo.
    window->pages()->setCurrentIndex(tabPD);
    QLineEdit* title = TitleBox();
    title->setFocus();
    title->setText(QStringLiteral("Pump Station"));
    Press(Qt::Key_End);
    EXPECT_EQ(EnabledEditCommands("MI_Edit_"), Texts({"Paste"}));
    Press(Qt::SHIFT | Qt::Key_Home);
    EXPECT_EQ(EnabledEditCommands("MI_Edit_"), Texts({"Cut", "Copy", "Paste"}));
    window->action(QStringLiteral("MI_Edit_Cut"))->trigger();
    EXPECT_TRUE(title->text().isEmpty());
    EXPECT_EQ(Clipboard(), QStringLiteral("Pump Station"));
    EXPECT_EQ(EnabledEditCommands("MI_Edit_"), Texts({"Paste", "Undo"}));
    window->action(QStringLiteral("MI_Edit_Undo"))->trigger();
    EXPECT_EQ(title->text(), QStringLiteral("Pump Station"));
}

TEST_F(MainWindowKeyboard, TheDefinitionListIsChosenRenamedAndLeftWithTheKeys) {
    OpenSample();
    window->pages()->setCurrentIndex(tabPD);
    QLineEdit* title = TitleBox();
    title->setFocus();
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("Typed Title"));

    // From the Process button Tab reaches the list, the list's next stop is the first list button.
    window->processButton()->setFocus();
    Press(QKeyCombination(Qt::Key_Tab));
    QListWidget* list = window->definitionList();
    ASSERT_EQ(Focus(), list);
    Press(QKeyCombination(Qt::Key_Down));
    EXPECT_EQ(SDs->getActiveSD(), 2);
    EXPECT_EQ(SDs->getItems(1)->PD->getProjectTitle(), QStringLiteral("Typed Title"))
        << "the tab on screen is stored before another definition is shown";
    EXPECT_EQ(title->text(), SDs->getItems(2)->PD->getProjectTitle());

    arc.descriptions = {QStringLiteral("Renamed By Key")};
    Press(QKeyCombination(Qt::Key_F2));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral(" Renamed By Key "));
    EXPECT_EQ(SDs->getItems(2)->getDescription(), QStringLiteral("Renamed By Key"));

    Press(QKeyCombination(Qt::Key_Up));
    EXPECT_EQ(SDs->getActiveSD(), 1);
    EXPECT_EQ(title->text(), QStringLiteral("Typed Title"));
    Press(QKeyCombination(Qt::Key_Tab));
    EXPECT_EQ(Focus(), window->listButton(lbAdd));
    Press(Qt::SHIFT | Qt::Key_Backtab);
    EXPECT_EQ(Focus(), list);
    Press(Qt::SHIFT | Qt::Key_Backtab);
    EXPECT_EQ(Focus(), window->processButton());
}

TEST_F(MainWindowKeyboard, CtrlTabAndCtrlShiftTabStepThePagesFromEveryControlOnThem) {
    OpenSample();
    QTabWidget* pages = window->pages();
    const int count = pages->count();
    // What Ctrl+Shift+Tab arrives as: Backtab on a real keyboard, Tab from some input methods.
    const QKeyCombination backwards[] = {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab,
                                         Qt::CTRL | Qt::SHIFT | Qt::Key_Tab};
    int controls = 0;
    for (int page = 0; page < count; ++page) {
        pages->setCurrentIndex(page);
        QList<QWidget*> focusable;
        for (QWidget* w : pages->widget(page)->findChildren<QWidget*>()) {
            // A spin box's or a combo box's own line edit is reached through its box.
            const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr ||
                               qobject_cast<QComboBox*>(w->parentWidget()) != nullptr;
            if (!inner && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) {
                focusable << w;
            }
        }
        for (QWidget* w : focusable) {
            for (int back = 0; back < 2; ++back) {
                pages->setCurrentIndex(page);
                w->setFocus(Qt::OtherFocusReason);
                QWidget* focus = Focus();
                ASSERT_NE(focus, nullptr);
                const std::string where = focus->metaObject()->className() + std::string(" ") +
                                          focus->objectName().toStdString() + " on page " +
                                          std::to_string(page);
                ASSERT_TRUE(pages->isAncestorOf(focus)) << where;
                if (back == 0) {
                    Press(Qt::CTRL | Qt::Key_Tab);
                    EXPECT_EQ(pages->currentIndex(), (page + 1) % count) << "Ctrl+Tab in " << where;
                } else {
                    Press(backwards[controls % 2]);
                    EXPECT_EQ(pages->currentIndex(), (page + count - 1) % count)
                        << "Ctrl+Shift+Tab in " << where;
                }
            }
            ++controls;
        }
    }
    EXPECT_GT(controls, 20) << "the pages' controls were found";
}

TEST_F(MainWindowKeyboard, OnlyTheFirstActivationGivesTheTabsTheFocus) {
    EXPECT_TRUE(window->pages()->isAncestorOf(Focus()) || Focus() == window->pages());
    QLineEdit* title = TitleBox();
    title->setFocus();
    QWidget other;
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(Focus(), title);
    QTest::keyClicks(Focus(), QStringLiteral("Go on"));
    EXPECT_EQ(title->text(), QStringLiteral("Go on"));
}

TEST_F(MainWindowKeyboard, CtrlSSavesANewFileThroughSaveAsAndOneInTheFileMenuOpensItAgain) {
    EXPECT_TRUE(window->action(QStringLiteral("MI_File_Save"))->isEnabled());
    EXPECT_TRUE(window->action(QStringLiteral("TBtn_File_Save"))->isEnabled());
    EXPECT_FALSE(window->statusPanels()->getDataFileText().contains(QStringLiteral("Read-Only")));
    const QString path = dir.filePath(QStringLiteral("plan & costs.krvc"));
    globals->fileDialogs.answers = {path};
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(globals->fileDialogs.saves.size(), 1u);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(DF->getDPFE(), path);

    // The data file's recent files list is a fake here: the path goes to the real one.
    MRUs->AddToTop(path);
    MRUs->RefreshMenu();
    QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(DF->getIsNew());
    QMenu* file = window->menuBar()->actions().constFirst()->menu();
    QAction* recent = nullptr;
    for (QAction* item : file->actions()) {
        if (item->isVisible() && item->text().startsWith(QStringLiteral("&1 "))) {
            recent = item;
        }
    }
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->text(), QStringLiteral("&1 ") +
                                  QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
    file->popup(window->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    QTest::keyClick(file, Qt::Key_1);
    EXPECT_EQ(DF->getDPFE(), path);
    EXPECT_FALSE(DF->getIsNew());
}

} // namespace
} // namespace formstest
