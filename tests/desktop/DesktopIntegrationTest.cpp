// The main window on the real X server meets the desktop: its help documents go to the desktop's
// opener, here a recording xdg-open of the test's own on the PATH.
#include "DesktopSupport.h"

#include "forms/main/F_Main.h"
#include "model/ovDF.h"
#include "platform/Shell.h"
#include "platform_ui/Desktop.h"
#include "services/ovAD.h"
#include "support/Eventually.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace desktopsupport;

// An xdg-open first on the PATH that writes down what it was asked to open.
class RecordingOpener {
public:
    RecordingOpener() : previousPath(qgetenv("PATH")) {
        QFile script(bin.filePath(QStringLiteral("xdg-open")));
        if (script.open(QIODevice::WriteOnly)) {
            script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n")
                             .arg(record())
                             .toUtf8());
            script.close();
            script.setPermissions(script.permissions() | QFile::ExeOwner);
        }
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + previousPath);
    }
    ~RecordingOpener() { qputenv("PATH", previousPath); }
    RecordingOpener(const RecordingOpener&) = delete;
    RecordingOpener& operator=(const RecordingOpener&) = delete;

    QString record() const { return bin.filePath(QStringLiteral("opened.txt")); }
    QStringList opened() const {
        QFile file(record());
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   : QStringList();
    }

private:
    QTemporaryDir bin;
    QByteArray previousPath;
};

TEST(DesktopIntegration, F1HandsTheUserManualToTheDesktopsOpener) {
    if (!onRealDisplay()) {
        GTEST_SKIP() << "needs the private X server of scripts/xvfb-session";
    }
    RecordingOpener opener;
    auto previousShell = platform::setShell(platform::MakeDesktopShell());
    {
        testsupport::ProgramGlobals globals;
        testsupport::FakeStdDlg dlg;
        TUF_Main window;
        DF->setView(&window);
        ASSERT_TRUE(showAndSettle(&window));
        ASSERT_TRUE(QFile::exists(AD->getUserManualDPFE())) << "the build makes the manual";

        QTest::keyClick(&window, Qt::Key_F1);
        EXPECT_TRUE(testsupport::Eventually([&] { return !opener.opened().isEmpty(); }, 10000));
        EXPECT_EQ(opener.opened(), QStringList({AD->getUserManualDPFE()}));
        settle(500);
        EXPECT_TRUE(dlg.shown.empty()) << "the opener took the manual: nothing to report";
        DF->setView(nullptr);
    }
    platform::setShell(std::move(previousShell));
}

} // namespace
