#pragma once

#include "excel/ovXL.h"
#include "services/ovUIL.h"
#include "support/FakeAutomation.h"
#include "support/FakeStdDlg.h"

#include <gtest/gtest.h>

// Installs a scripted environment and spreadsheet program; tests create TovXL themselves.
class ExcelTest : public testing::Test {
protected:
    void SetUp() override {
        fake::program() = fake::Program{};
        auto owned = std::make_unique<fake::Environment>();
        env = owned.get();
        env->curVer = QStringLiteral("Excel.Application.15");
        previousEnv = setXLEnvironment(std::move(owned));
        previousFactory = automation::setApplicationFactory(&fake::createApplication);
        platform::PrivateClipboard::clear();
    }
    void TearDown() override {
        xl.reset();
        XL = nullptr;
        automation::setApplicationFactory(previousFactory);
        setXLEnvironment(std::move(previousEnv));
    }

    // A layer for the version of curVer, with a workbook of the given sheets open and the
    // first sheet initialised.
    TovXL& openLayer(std::vector<fake::Sheet> sheets) {
        fake::program().failures.clear();
        fake::program().failuresLeft.clear();
        fake::program().sheets = std::move(sheets);
        xl = std::make_unique<TovXL>();
        XL = xl.get();
        xl->setFileDesc(QStringLiteral("Data Source File"));
        xl->setWorksheetDesc(QStringLiteral("Task Worksheet"));
        xl->StartExcel(false);
        xl->OpenWorkbook(QStringLiteral("/data/plan.xlsx"), QString(), QString(), true);
        if (!fake::program().sheets.empty()) {
            EXPECT_TRUE(xl->WorksheetExists(fake::program().sheets.front().name));
            xl->InitWorksheet();
        }
        fake::program().calls.clear();
        return *xl;
    }

    fake::Environment* env = nullptr;
    std::unique_ptr<TovXL> xl;
    testsupport::FakeStdDlg dialogue;

private:
    std::unique_ptr<XLEnvironment> previousEnv;
    automation::ApplicationFactory previousFactory = nullptr;
};

inline fake::Sheet taskSheet() {
    fake::Sheet s;
    s.name = QStringLiteral("Task_Table1");
    s.cells[{1, 1}] = QStringLiteral("Task");
    s.cells[{1, 2}] = QStringLiteral("Start");
    s.cells[{2, 1}] = QStringLiteral("Design");
    s.cells[{2, 2}] = 45000.0;
    s.cells[{3, 1}] = QStringLiteral("Build");
    s.cells[{3, 2}] = automation::CellError{QStringLiteral(" #N/A ")};
    s.cells[{4, 1}] = QStringLiteral("Test");
    s.cells[{4, 2}] = 45010.0;
    s.lastColumn = 2;
    s.lastRow = 4;
    return s;
}
