// The standard dialogue from the keyboard: no button is a default button, so Enter presses
// nothing until Tab has put the focus on a button, and then presses that button.
#include "services/ovUIL.h"
#include "services_ui/F_StdDlg.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TStdDlgButton button(int image, int result, int captionId) {
    return TStdDlgButton{image, result, UIT(captionId), QStringLiteral("hint"), true};
}

TEST(StdDlgKeys, EnterPressesTheButtonThatTabFocused) {
    enum Buttons { CloseOnly, YesNo, YesNoCancel };
    const struct {
        const char* name;
        Buttons buttons;
        int tabs;
        Qt::Key key;
        int result; // mrNone: the dialogue is still open
    } cases[] = {
        {"Enter before any Tab", YesNo, 0, Qt::Key_Return, mrNone},
        {"Information report: Tab, Enter", CloseOnly, 1, Qt::Key_Return, mrClose},
        {"question: Tab, Enter", YesNo, 1, Qt::Key_Return, mrYes},
        {"question: Tab, Tab, keypad Enter", YesNo, 2, Qt::Key_Enter, mrNo},
        {"three buttons: Tab, Enter", YesNoCancel, 1, Qt::Key_Return, mrYes},
        {"three buttons: Tab three times, Enter", YesNoCancel, 3, Qt::Key_Return, mrCancel},
        {"question: Tab, Space", YesNo, 1, Qt::Key_Space, mrYes},
    };
    for (const auto& c : cases) {
        TUF_StdDlg dlg;
        dlg.MsgLines = {QStringLiteral("Message")};
        const TStdDlgButton close = button(glyphClose, mrClose, 357);
        const TStdDlgButton yes = button(glyphYes, mrYes, 362);
        const TStdDlgButton no = button(glyphNo, mrNo, 359);
        const TStdDlgButton cancel = button(glyphCancel, mrCancel, 356);
        switch (c.buttons) {
        case CloseOnly:
            dlg.SetupStdDlgButtons1(sdkInformation, QStringLiteral("MF002"), close);
            break;
        case YesNo:
            dlg.SetupStdDlgButtons2(sdkQuestion, QStringLiteral("MF001"), no, yes);
            break;
        case YesNoCancel:
            dlg.SetupStdDlgButtons3(sdkQuestion, QStringLiteral("UDF022"), cancel, no, yes);
            break;
        }
        dlg.setResult(mrNone);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg)) << c.name;
        for (int i = 0; i < c.tabs; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(QApplication::focusWidget(), c.key);
        EXPECT_EQ(dlg.isVisible(), c.result == mrNone) << c.name;
        EXPECT_EQ(dlg.result(), c.result) << c.name;
        dlg.hide();
    }
}

} // namespace
