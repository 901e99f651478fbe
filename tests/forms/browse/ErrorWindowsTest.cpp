#include "forms/browse/F_CfgErr.h"
#include "forms/browse/F_DFVErr.h"
#include "model/ErrorLists.h"
#include "model/ovDV.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "support/FakeBrowseWindows.h"
#include "support/FixedTextMeasurer.h"
#include "support/FixedWorkArea.h"

#include <QApplication>
#include <QListWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

// The services an error window reads, and a validator holding the errors it lists.
class ErrorWindows : public testing::Test {
protected:
    ErrorWindows() {
        UP = new TovUP();
        WMs = new TovWMs();
        for (int slot = 1; slot <= 8; ++slot) {
            WMs->Add();
        }
        DV = new TovDV();
    }
    ~ErrorWindows() override {
        delete DV;
        DV = nullptr;
        delete WMs;
        WMs = nullptr;
        delete UP;
        UP = nullptr;
    }

    static void addCfgErrs(int count) {
        for (int i = 1; i <= count; ++i) {
            DV->AddCfgErr(S("Data Source Map"), S("Task Field %1").arg(i), S("Required."),
                          S("Z%1").arg(i), 4, i, i);
        }
        FillErrListBox(LB_CfgErr(), DV->getCfgErrCount());
    }

    testsupport::ScopedTextMeasurer measurer{std::make_unique<testsupport::FixedTextMeasurer>()};
    testsupport::ScopedWorkArea area{QRect(0, 0, 1000, 800)};
};

TEST_F(ErrorWindows, ValidatorFillsTheListAndRowsReadTheValidator) {
    TUF_CfgErr window;
    addCfgErrs(3);
    EXPECT_EQ(window.LB_CfgErr->count(), 3);
    EXPECT_EQ(window.LB_CfgErr->currentRow(), 0);
    window.RefreshList();
    EXPECT_EQ(window.statusTextsForTest(),
              QStringList({S(" Total Configuration Errors "), S(" 3 ")}));
    EXPECT_EQ(window.windowTitleForTest(), S(" Ovik KRV Tessel: Configuration Errors "));
    EXPECT_EQ(window.cellTextForTest(1, 0), S(" 2 "));
    EXPECT_EQ(window.cellTextForTest(1, 1), S(" Data Source Map "));
    EXPECT_EQ(window.cellTextForTest(1, 2), S(" Task Field 2 "));
    EXPECT_EQ(window.cellTextForTest(1, 3), S(" Required. "));
    EXPECT_EQ(window.cellTextForTest(1, 4), S(" Z2 "));
    EXPECT_EQ(window.sectionWidthsForTest().size(), 5u);
}

TEST_F(ErrorWindows, DoubleClickGoesToTheFieldAndTheListStaysOpen) {
    testsupport::FakeCfgErrTarget mainWindow;
    TUF_CfgErr window;
    addCfgErrs(4);
    window.RefreshList();
    window.show();
    window.LB_CfgErr->setCurrentRow(2);
    window.ListDoubleClick();
    EXPECT_EQ(mainWindow.goneTo, std::vector<int>({3}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.LB_CfgErr->count(), 4);
    window.CancelClick();
    EXPECT_EQ(window.result(), 11);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.LB_CfgErr->count(), 0) << "closing empties the list";
}

TEST_F(ErrorWindows, FiftyErrorsStopAtTheWorkAreaHeight) {
    TUF_CfgErr window;
    addCfgErrs(50);
    window.RefreshList();
    window.show();
    const QRect outer = window.outerRect();
    EXPECT_EQ(outer.height(), 800);
    EXPECT_EQ(outer.top(), 0);
    EXPECT_EQ(window.getAutoHeight(), 800);
    window.CancelClick();
}

TEST_F(ErrorWindows, MaximisingDisablesAutoSize) {
    TUF_CfgErr window;
    addCfgErrs(2);
    window.show();
    window.showMaximized();
    EXPECT_FALSE(window.autoSizeButtonForTest()->isEnabled());
    window.showNormal();
    EXPECT_TRUE(window.autoSizeButtonForTest()->isEnabled());
    window.CancelClick();
}

TEST_F(ErrorWindows, PositionResetCentresAndUndoesALeftoverMaximise) {
    TUF_CfgErr window;
    addCfgErrs(3);
    WMs->getItems(6).setFormPositionReset(true);
    ASSERT_EQ(WMs->getItems(6).getWindowSize(), 0);
    window.setWindowState(Qt::WindowMaximized);
    window.RefreshList();
    window.show();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_TRUE(window.autoSizeButtonForTest()->isEnabled());
    const QRect outer = window.outerRect();
    EXPECT_EQ(outer.x(), (1000 - outer.width()) / 2);
    EXPECT_EQ(outer.y(), (800 - outer.height()) / 2);
    EXPECT_FALSE(WMs->getItems(6).getFormPositionReset());
    window.CancelClick();
}

TEST_F(ErrorWindows, ClosingKeepsAutoSizeAndTheGeometry) {
    TUF_CfgErr window;
    addCfgErrs(2);
    window.show();
    window.autoSizeButtonForTest()->setChecked(false);
    window.CancelClick();
    EXPECT_FALSE(UP->getAutoSizeCfgErr());
    // The slot keeps the outer rectangle, frame included.
    EXPECT_EQ(WMs->getItems(6).getWidth(), window.outerRect().width());
    EXPECT_EQ(WMs->getItems(6).getLeft(), window.outerRect().x());
}

TEST_F(ErrorWindows, DataFileErrorsListDefinitionsAndIgnoreDoubleClicks) {
    testsupport::FakeCfgErrTarget mainWindow;
    TUF_DFVErr window;
    DV->AddDFVErr(0, S("Header Row"), S("Reset to 1."));
    FillErrListBox(LB_DFVErr(), DV->getDFVErrCount());
    window.RefreshList();
    EXPECT_EQ(window.sectionWidthsForTest().size(), 4u);
    EXPECT_EQ(window.cellTextForTest(0, 2), S(" Header Row "));
    EXPECT_EQ(window.cellTextForTest(0, 3), S(" Reset to 1. "));
    EXPECT_EQ(window.statusTextsForTest(),
              QStringList({S(" Total Data File Validation Errors "), S(" 1 ")}));
    window.show();
    window.ListDoubleClick();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(mainWindow.goneTo.empty());
    window.CancelClick();
}

TEST_F(ErrorWindows, EmptyListClosesOnceShown) {
    TUF_DFVErr window;
    window.show();
    EXPECT_TRUE(window.isVisible());
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), 2);
}

} // namespace
