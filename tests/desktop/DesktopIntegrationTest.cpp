// The main window on the real X server meets the desktop: its help documents go to the desktop's
// opener, here a recording xdg-open of the test's own on the PATH.
#include "DesktopSupport.h"

#include "forms/main/F_Main.h"
#include "model/ovDF.h"
#include "platform/Shell.h"
#include "platform_ui/Desktop.h"
#include "services/ovAD.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"
#include "support/StandInOpener.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace desktopsupport;

TEST(DesktopIntegration, F1HandsTheUserManualToTheDesktopsOpener) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    testsupport::StandInOpener opener;
    auto previousShell = platform::setShell(platform::MakeDesktopShell());
    {
        testsupport::ProgramGlobals globals;
        testsupport::FakeStdDlg dlg;
        TUF_Main window;
        DF->setView(&window);
        ASSERT_TRUE(showAndSettle(&window));
        ASSERT_TRUE(QFile::exists(AD->getUserManualDPFE())) << "the build makes the manual";

        QTest::keyClick(&window, Qt::Key_F1);
        EXPECT_TRUE(opener.waitUntilEnded(1)) << "no opener ran, or it did not end";
        EXPECT_EQ(opener.opened(), QStringList({AD->getUserManualDPFE()}));
        EXPECT_TRUE(dlg.shown.empty()) << "the opener took the manual: nothing to report";
        DF->setView(nullptr);
    }
    platform::setShell(std::move(previousShell));
}

} // namespace
