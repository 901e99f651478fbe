#pragma once

#include "MainTestFakes.h"
#include "forms/main/F_Main.h"
#include "forms/main/MainAdapters.h"
#include "model/ovDF.h"
#include "support/FakeStdDlg.h"
#include "support/ProgramGlobals.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace formstest {

// The real main window over the program's global objects, shown, with the program's dialogues
// except the Summary, the two error lists and Add/Rename/Copy, which are scripted.
class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override {
        globals = std::make_unique<testsupport::ProgramGlobals>();
        window = std::make_unique<TUF_Main>();
        DF->setView(window.get());
        TMainDialogs dialogs = programDialogs.dialogs();
        dialogs.Summary = &summary;
        dialogs.CfgErr = &cfgErr;
        dialogs.DFVErr = &dfvErr;
        dialogs.AddRenameCopy = &arc;
        window->setDialogs(dialogs);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        window.reset();
        globals.reset();
    }

    QTemporaryDir dir;
    std::unique_ptr<testsupport::ProgramGlobals> globals;
    testsupport::FakeStdDlg dlg;
    TLog log;
    ScriptedWindow summary{log, QStringLiteral("Summary")};
    ScriptedWindow cfgErr{log, QStringLiteral("CfgErr")};
    ScriptedWindow dfvErr{log, QStringLiteral("DFVErr")};
    ScriptedAddRenameCopy arc;
    TProgramDialogs programDialogs;
    std::unique_ptr<TUF_Main> window;
};

} // namespace formstest
