#pragma once

#include "model/ModelUtils.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

// The globals the data file and the definitions work on (DV, SDs, DF) with scripted dialogues,
// recent files and preferences, a fixed today and a temporary folder.
class ModelGlobalsFixture : public testing::Test {
protected:
    static constexpr double kToday = 41348; // 15 March 2013

    void SetUp() override {
        modelutil::setModelToday([] { return kToday; });
        TGlobalObjectsSetup setup;
        setup.FileDialogs = &dialogs;
        setup.LoadSettings = false;
        using G = TGlobalObject;
        globals = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{G::goDV, G::goSDs, G::goDF}, setup);
        DF->setView(&view);
        DF->setRecentFiles(&recent);
        DF->setPreferences(&prefs);
    }
    void TearDown() override {
        globals.reset();
        modelutil::setModelToday({});
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    FakeStdDlg dlg;
    FakeFileDialogs dialogs;
    FakeDataFileView view;
    FakeRecentFiles recent;
    FakeDataFilePreferences prefs;
    std::unique_ptr<TGlobalObjects> globals;
};

} // namespace testsupport
