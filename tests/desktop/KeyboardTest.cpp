// The main window's focus on the real X server, where the window manager activates windows:
// going to another window and back keeps the control that had the focus, a file browse
// button's dialogue gives the focus back to the edit box it serves, and Ctrl+Tab steps the pages.
#include "DesktopSupport.h"

#include "forms/main/F_Main.h"
#include "forms/tabs/Tab_SCF.h"
#include "model/FileDialogs.h"
#include "model/ovDF.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace desktopsupport;

// A file dialogue that is a real window: it takes the activation from the main window, then picks
// a file and closes, as the user's choice would (however long the window manager takes).
class ShownFileDialogs : public IFileDialogs {
public:
    explicit ShownFileDialogs(QString answer) : Answer(std::move(answer)) {}

    bool ExecuteOpen(const TFileDialogSetup&, QString& fileName) override {
        QDialog dialog(QApplication::activeWindow());
        dialog.resize(300, 200);
        const QDeadlineTimer limit(10000);
        QTimer choice;
        QObject::connect(&choice, &QTimer::timeout, &dialog, [&] {
            Activated = dialog.isActiveWindow();
            if (Activated || limit.hasExpired()) {
                dialog.accept();
            }
        });
        choice.start(20);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        fileName = Answer;
        return true;
    }
    bool ExecuteSave(const TFileDialogSetup& setup, QString& fileName) override {
        return ExecuteOpen(setup, fileName);
    }

    bool Activated = false;

private:
    QString Answer;
};

class KeyboardOnTheDesktop : public testing::Test {
protected:
    void SetUp() override {
        if (!onRealDisplay()) {
            GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
        }
        globals = std::make_unique<testsupport::ProgramGlobals>();
        window = std::make_unique<TUF_Main>();
        DF->setView(window.get());
        ASSERT_TRUE(showAndSettle(window.get()));
        ASSERT_TRUE(Activate(window.get()));
    }
    void TearDown() override {
        window.reset();
        globals.reset();
    }

    // Asks the window manager to activate the window and waits until it is.
    static bool Activate(QWidget* w) {
        w->activateWindow();
        const bool active = QTest::qWaitFor([w] { return w->isActiveWindow(); }, 10000);
        settle(100);
        return active;
    }

    std::unique_ptr<testsupport::ProgramGlobals> globals;
    testsupport::FakeStdDlg dlg;
    std::unique_ptr<TUF_Main> window;
};

TEST_F(KeyboardOnTheDesktop, AnotherWindowAndBackKeepsTheControlThatHadTheFocus) {
    EXPECT_TRUE(window->pages()->isAncestorOf(QApplication::focusWidget()))
        << "the first activation gives the tabs the focus";
    auto* title = window->findChild<QLineEdit*>(QStringLiteral("TB_PD_ProjectTitle"));
    title->setFocus();
    QWidget other;
    other.resize(200, 100);
    ASSERT_TRUE(showAndSettle(&other));
    ASSERT_TRUE(Activate(&other));
    ASSERT_TRUE(Activate(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), title);
}

TEST_F(KeyboardOnTheDesktop, ABrowsedTemplateGivesTheFocusBackToItsEditBox) {
    const QString chosen = QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xlsx");
    ShownFileDialogs fileDialogs(chosen);
    window->pages()->setCurrentIndex(tabSCF);
    auto* tab = static_cast<TTab_SCF*>(window->pages()->widget(tabSCF));
    tab->setFileDialogs(&fileDialogs);
    settle(100);
    tab->browseButton(swTemplate)->click();
    EXPECT_TRUE(fileDialogs.Activated) << "the dialogue never took the activation";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }, 10000))
        << "the window manager did not give the activation back";
    EXPECT_EQ(tab->box(sbTF_Path)->text(), chosen);
    EXPECT_EQ(QApplication::focusWidget(), tab->box(sbTF_Path));
}

// Ctrl+Tab and Ctrl+Shift+Tab as the X server delivers them, starting in the Cut Off Date box that
// keeps Tab for its own sections: every page in turn, forwards and back.
TEST_F(KeyboardOnTheDesktop, CtrlTabStepsEveryPageFromTheCutOffDateBox) {
    window->action(QStringLiteral("MI_File_OpenSDF"))->trigger();
    settle(300);
    DF->setModified(false);
    QTabWidget* pages = window->pages();
    pages->setCurrentIndex(tabPD);
    auto* date = pages->widget(tabPD)->findChild<QDateEdit*>();
    ASSERT_NE(date, nullptr);
    date->setFocus();
    settle(100);
    ASSERT_EQ(QApplication::focusWidget(), date);
    auto press = [](const char* keys) {
        return QProcess::execute(QStringLiteral("xdotool"),
                                 {QStringLiteral("key"), QStringLiteral("--clearmodifiers"),
                                  QString::fromLatin1(keys)}) == 0;
    };
    const int count = pages->count();
    for (int step = 1; step <= count; ++step) {
        ASSERT_TRUE(press("ctrl+Tab"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return pages->currentIndex() == step % count; }, 10000))
            << "Ctrl+Tab number " << step << " shows page " << pages->currentIndex();
    }
    date->setFocus();
    settle(100);
    for (int step = 1; step <= count; ++step) {
        ASSERT_TRUE(press("ctrl+shift+Tab"));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return pages->currentIndex() == (count - step) % count; }, 10000))
            << "Ctrl+Shift+Tab number " << step << " shows page " << pages->currentIndex();
    }
}

} // namespace
