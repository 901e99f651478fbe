// The main of every test executable: a headless application (or one on the private X server of a
// desktop check), the English text table, and the plain message box replaced by a recorder so
// that no test waits on a modal window.
#include "services/UIL_EN.h"
#include "services/ovUIL.h"
#include "support/FakeMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class ResetMessageBoxes : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        testsupport::messageBoxes().shown.clear();
    }
};

} // namespace

int main(int argc, char** argv) {
    // Headless, except inside a private X session with a window manager (scripts/xvfb-session),
    // where the desktop checks run on the real display.
    if (!qEnvironmentVariableIsSet("KRV_SESSION_DIR")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Keep every test away from the user's settings, documents and desktop files: the registry
    // hive, the home folder (documents), the configuration and the data folders live in a
    // temporary folder of this run.
    QTemporaryDir home;
    qputenv("OVIK_KRV_TESSEL_REGISTRY",
            QFile::encodeName(home.path() + QStringLiteral("/registry")));
    qputenv("HOME", QFile::encodeName(home.path() + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    testsupport::messageBoxes();
    UILs = new TovUILs();
    FillEnglishTexts(0);
    testing::UnitTest::GetInstance()->listeners().Append(new ResetMessageBoxes);
    const int result = RUN_ALL_TESTS();
    delete UILs;
    UILs = nullptr;
    return result;
}
