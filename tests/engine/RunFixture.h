#pragma once

#include "CalcFixtures.h"
#include "engine/ovProcess.h"
#include "excel/ovXL.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "platform/FileAccess.h"
#include "program/GlobalObjects.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "support/FakeAutomation.h"
#include "support/FakeProgress.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace enginetest {

// The progress window of a run: its Cancel button logs the cancellation as the real window does.
class RunProgress : public testsupport::FakeProgress {
public:
    bool getCancelled() const override {
        const bool before = cancelled;
        const bool now = FakeProgress::getCancelled();
        if (now && !before && AD != nullptr) {
            AD->MessageLog << UIT(txt::CurrentOperationHasBeenCancelled) << QString();
        }
        return now;
    }
};

// The scripted spreadsheet program's environment, with the Cancel flag of the progress window in
// use, as the program's own environment has.
class RunExcelEnvironment : public fake::Environment {
public:
    bool getCancelled() override { return Progress() != nullptr && Progress()->getCancelled(); }
    void setCancelled(bool value) override {
        if (Progress() != nullptr) {
            Progress()->setCancelled(value);
        }
    }
};

// File attributes that running as root cannot produce: a read-only Output File and one that
// another program holds open for a number of tests.
class ScriptedFileAccess : public platform::FileAccess {
public:
    bool readOnly = false;
    int inUseTests = 0; // the first this many in-use tests answer "in use"
    int inUseCalls = 0;

    platform::FileAnswer isReadOnly(const QString& path) override {
        return readOnly ? platform::FileAnswer::yes() : platform::FileAccess::isReadOnly(path);
    }
    platform::FileAnswer isInUse(const QString&) override {
        ++inUseCalls;
        return inUseCalls <= inUseTests ? platform::FileAnswer::yes() : platform::FileAnswer::no();
    }
};

// Map entry columns: 1 BL Start B, 2 BL Finish C, 3 BL MH D, 4 BL Cost E, 5 Start F, 6 Finish
// G, 7 MH H, 8 Cost I, 9 % Complete J; column A holds the task name.
inline constexpr const char* kMapColumns[10] = {"", "B", "C", "D", "E", "F", "G", "H", "I", "J"};

// One task row of the scripted Task Worksheet: the March days of its dates (0: empty cell) and
// its quantities.
struct SheetTask {
    const char* name;
    int blStart, blFinish;
    double blMH, blCost;
    int start, finish;
    double mh, cost, pct;
};

// A run's world: a private registry with the preferences, the application data, one KRV
// Definition whose files lie in a temporary folder, a data file, the scripted standard dialogue,
// progress window and spreadsheet program, and the Excel layer over it.
class RunFixture : public testing::Test {
protected:
    void SetUp() override {
        fake::program() = fake::Program{};
        auto owned = std::make_unique<RunExcelEnvironment>();
        env = owned.get();
        env->curVer = QStringLiteral("Excel.Application.15");
        previousEnv = setXLEnvironment(std::move(owned));
        previousFactory = automation::setApplicationFactory(&fake::createApplication);
        TGlobalObjectsSetup setup;
        setup.ProgramFolder = dir.path() + QStringLiteral("/");
        setup.LoadSettings = false;
        using G = TGlobalObject;
        globals = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{G::goAD, G::goXL, G::goUP, G::goSDs, G::goDF},
            setup);
        SDs->Add();

        process.setClock([] { return QDate(2021, 3, 31); });
        Configure(true, true, true, true, true);
        TovSCF& scf = *sd().SCF;
        scf.setDSF_DrivePathFilenameExtnXL(path(QStringLiteral("plan.xlsx")));
        scf.setDSF_TaskWS(QStringLiteral("Tasks"));
        scf.setDSF_THR(1);
        scf.setTF_DrivePathFilenameExtnXL(path(QStringLiteral("template.xlsx")));
        scf.setTF_ProjectSummaryWS(QStringLiteral("Project Summary"));
        scf.setTF_ChartDataWS(QStringLiteral("Chart Data"));
        scf.setOF_DrivePathFilenameExtnXL(path(QStringLiteral("result.xlsx")));
        sd().SCO->setCutOffDate(Mar(10));
        sd().setDescription(QStringLiteral("Plant Upgrade"));
        for (int i = 1; i <= 9; ++i) {
            sd().DSM->getItems(i)->setTaskFldXL(QString::fromLatin1(kMapColumns[i]));
        }
    }

    void TearDown() override {
        globals.reset();
        automation::setApplicationFactory(previousFactory);
        setXLEnvironment(std::move(previousEnv));
        platform::setFileAccess(nullptr);
    }

    TovSD& sd() { return *SDs->getItems(1); }
    QString path(const QString& name) const { return dir.path() + QStringLiteral("/") + name; }

    // Switches data sets and quantities and marks the map entries they require.
    void Configure(bool bl, bool act, bool tgt, bool mh, bool cost) {
        TovSCO& sco = *sd().SCO;
        sco.setGenerateBL(bl);
        sco.setGenerateACT(act);
        sco.setGenerateTGT(tgt);
        sco.setGraphMH(mh);
        sco.setGraphCost(cost);
        sd().DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(sco));
    }

    // Adds a filter row on a column.
    void AddFilterRow(const QString& column, int op, const QString& value, bool andJoin = true) {
        TovDSF& dsf = *sd().DSF;
        dsf.setEnabled(1);
        TovDSFx* row = dsf.getItems(dsf.Add());
        row->setAndFlag(andJoin ? 1 : 0);
        row->setTaskFldXL(column);
        row->setFilterOperator(static_cast<uint8_t>(op));
        row->setTaskFldValueXL(value);
    }

    // The Task Worksheet (first), the Project Summary and the Chart Data worksheets. Dates are
    // date serials as a date cell holds them; a quantity of 0 leaves its cell empty.
    static std::vector<fake::Sheet> Workbook(const std::vector<SheetTask>& tasks,
                                             int extraUsedRows = 0) {
        fake::Sheet sheet(QStringLiteral("Tasks"));
        const char* headers[10] = {"Task",  "BL Start", "BL Finish", "BL MH", "BL Cost",
                                   "Start", "Finish",   "MH",        "Cost",  "Pct"};
        for (int c = 0; c < 10; ++c) {
            sheet.cells[{1, c + 1}] = QString::fromLatin1(headers[c]);
        }
        int r = 1;
        for (const SheetTask& t : tasks) {
            ++r;
            const auto put = [&](int column, double v, bool date) {
                if (v != 0.0) {
                    sheet.cells[{r, column}] =
                        date ? static_cast<double>(Mar(static_cast<int>(v))) : v;
                }
            };
            if (t.name != nullptr) {
                sheet.cells[{r, 1}] = QString::fromLatin1(t.name);
            }
            put(2, t.blStart, true);
            put(3, t.blFinish, true);
            put(4, t.blMH, false);
            put(5, t.blCost, false);
            put(6, t.start, true);
            put(7, t.finish, true);
            put(8, t.mh, false);
            put(9, t.cost, false);
            put(10, t.pct, false);
        }
        sheet.lastColumn = 10;
        sheet.lastRow = r + extraUsedRows;
        // The Chart Data worksheet holds the template's two-row block, rows 8 and 9, A to AK.
        fake::Sheet chartData(QStringLiteral("Chart Data"));
        chartData.lastColumn = 37;
        chartData.lastRow = 9;
        return {sheet, fake::Sheet(QStringLiteral("Project Summary")), chartData};
    }

    // Keys of the standard dialogue messages shown so far.
    QStringList keys() const { return dialogue.keys(); }

    // The four lines that head every failure of a run of the fixture's definition.
    static QStringList Heading() {
        return {UIT(txt::ErrorHasOccurredWhileProcessing), QString(),
                QStringLiteral("Plant Upgrade"), QString()};
    }

    testsupport::TempRegistry registry;
    QTemporaryDir dir;
    testsupport::FakeStdDlg dialogue;
    RunProgress progress;
    RunExcelEnvironment* env = nullptr;
    TovProcess process;

private:
    std::unique_ptr<TGlobalObjects> globals;
    std::unique_ptr<XLEnvironment> previousEnv;
    automation::ApplicationFactory previousFactory = nullptr;
};

} // namespace enginetest
