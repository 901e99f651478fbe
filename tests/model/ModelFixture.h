#pragma once

#include "model/ErrorLists.h"
#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "support/FakeMessageBox.h"
#include "support/FakeStdDlg.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace modeltest {

// Records what the validator puts into an error window's list.
class RecordingListBox : public IErrListBox {
public:
    QStringList items;
    int itemIndex = -1;
    void Clear() override {
        items.clear();
        itemIndex = -1;
    }
    void AddItem(const QString& text) override { items << text; }
    void setItemIndex(int index) override { itemIndex = index; }
};

// 2 January 2024 as a day number.
inline constexpr double kToday = 45293.0;

// Fresh SDs and DV, fixed preferences (no default template, no default folder, .xlsx), Excel
// 2013, a fixed today, a scripted standard dialogue and recording error lists.
class ModelTest : public testing::Test {
protected:
    void SetUp() override {
        prefs.DefaultTFDDLItemIndex = 0;
        prefs.DefaultOFFolderDDLItemIndex = 0;
        prefs.DefaultXLExtn = 2;
        prefs.ProgramFolder = QStringLiteral("/opt/krv/");
        setModelPrefs(&prefs);
        setXLLimits(&xl);
        modelutil::setModelToday([] { return kToday; });
        setLB_CfgErr(&cfgList);
        setLB_DFVErr(&dfvList);
        TGlobalObjectsSetup setup;
        setup.LoadSettings = false;
        globals = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{TGlobalObject::goDV, TGlobalObject::goSDs}, setup);
    }
    void TearDown() override {
        globals.reset();
        setLB_CfgErr(nullptr);
        setLB_DFVErr(nullptr);
        modelutil::setModelToday(nullptr);
        setXLLimits(nullptr);
        setModelPrefs(nullptr);
    }

    // Adds a definition with a description and returns it.
    TovSD* addSD(const QString& description) {
        TovSD* sd = SDs->getItems(SDs->Add());
        sd->setDescription(description);
        return sd;
    }
    // Creates an empty file in the temporary folder and returns its path.
    QString makeFile(const QString& name) const;

    QStringList dfvDetails() const {
        QStringList list;
        for (int n = 1; n <= DV->getDFVErrCount(); ++n) {
            list << DV->getDFVErrFld(n) + QStringLiteral(" | ") + DV->getDFVErrDetails(n);
        }
        return list;
    }

    TovModelPrefsDefault prefs;
    TovXLLimitsDefault xl{7};
    RecordingListBox cfgList;
    RecordingListBox dfvList;
    testsupport::FakeStdDlg dlg;
    QTemporaryDir dir;
    std::unique_ptr<TGlobalObjects> globals;
};

inline QString ModelTest::makeFile(const QString& name) const {
    const QString path = dir.path() + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

} // namespace modeltest
