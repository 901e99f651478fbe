#include "forms/browse/BrowseList.h"
#include "forms/browse/F_BrowseFile.h"
#include "forms/browse/F_BrowseFld.h"
#include "forms/browse/F_BrowseVal.h"
#include "forms/browse/F_BrowseWS.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "services/ovUP.h"
#include "services/ovWM.h"
#include "support/FixedTextMeasurer.h"
#include "support/FixedWorkArea.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

namespace {

QString S(const char* text) {
    return QString::fromUtf8(text);
}

// The services a list window reads: preferences, geometry slots, fixed text metrics and a
// 1000 x 800 work area.
class BrowseWindows : public testing::Test {
protected:
    BrowseWindows() {
        UP = new TovUP();
        WMs = new TovWMs();
        for (int slot = 1; slot <= 8; ++slot) {
            WMs->Add();
        }
    }
    ~BrowseWindows() override {
        delete WMs;
        WMs = nullptr;
        delete UP;
        UP = nullptr;
    }

    // Lets the window settle after its showing, as a user's drag would find it.
    static void settle() {
        // The events are processed once more after the time is up: a machine that paused the
        // test meanwhile must not leave the window's own settling timer undelivered.
        QDeadlineTimer deadline(TProgramGeometry::kSettleMs + 50);
        for (bool last = false; !last;) {
            last = deadline.hasExpired();
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    static void fillWorksheets(TovSD& sd, int list, const QStringList& names) {
        sd.setWSL_Count(list, static_cast<int>(names.size()));
        for (int i = 1; i <= names.size(); ++i) {
            sd.setWSL_WS(list, i, names.at(i - 1));
        }
        sd.setWSL_Loaded(list, true);
    }

    testsupport::ScopedTextMeasurer measurer{std::make_unique<testsupport::FixedTextMeasurer>()};
    testsupport::ScopedWorkArea area{QRect(0, 0, 1000, 800)};
    TovSD sd;
    const TBrowseAnchor anchor{QRect(300, 200, 150, 21), QRect(460, 198, 24, 24)};
};

TEST_F(BrowseWindows, WorksheetWindowListsNamesCaptionsAndPreselection) {
    fillWorksheets(sd, 1, {S("Tasks"), S("Sheet1 "), S("Summary")});
    TUF_BrowseWS window;
    window.setWS(S("sheet1"));
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    EXPECT_EQ(window.windowTitleForTest(), S(" Select Data Source File Task Worksheet "));
    EXPECT_EQ(window.statusTextsForTest(), QStringList({S(" Total Worksheets "), S(" 3 ")}));
    EXPECT_EQ(window.cellTextForTest(1, 0), S(" 2 "));
    EXPECT_EQ(window.cellTextForTest(1, 1), S(" Sheet1  "));
    // "sheet1" does not select "Sheet1 " (names are not trimmed): the first is selected.
    EXPECT_EQ(window.selectedRow(), 0);

    window.setWS(S("SHEET1 "));
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    EXPECT_EQ(window.selectedRow(), 1);
    EXPECT_EQ(window.getAnchor().AlignTop, 221);
    EXPECT_EQ(window.getAnchor().AlignRight, 488);

    // Column widths: the header's text or the widest cell, each + 12 (6 pixels a character).
    const std::vector<int> widths = window.sectionWidthsForTest();
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_EQ(widths[0], 6 * 4 + 12);
    EXPECT_EQ(widths[1], 6 * static_cast<int>(S(" Data Source File Worksheet ").size()) + 12);
}

TEST_F(BrowseWindows, WorksheetSelectCancelAndRefresh) {
    fillWorksheets(sd, 2, {S("Project Summary"), S("Chart Data")});
    TUF_BrowseWS window;
    window.Setup(sd, S("Template File"), S("Chart Data Worksheet"), 2, anchor);
    window.show();
    window.selectRow(1);
    window.SelectClick();
    EXPECT_EQ(window.result(), 1);
    EXPECT_EQ(window.getWS(), S("Chart Data"));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.rowCount(), 0) << "closing empties the list";

    window.Setup(sd, S("Template File"), S("Chart Data Worksheet"), 2, anchor);
    window.show();
    window.CancelClick();
    EXPECT_EQ(window.result(), 2);
    EXPECT_TRUE(window.getWS().isEmpty());

    window.Setup(sd, S("Template File"), S("Chart Data Worksheet"), 2, anchor);
    window.show();
    window.RefreshClick();
    EXPECT_EQ(window.result(), 4);
    EXPECT_FALSE(sd.getWSL_Loaded(2));
    EXPECT_TRUE(sd.getWSL_Loaded(0) == false && sd.getWSL_Count(2) == 2)
        << "only the loaded flag of the list shown is cleared";
}

TEST_F(BrowseWindows, EmptyListEndsAfterTheWindowIsUp) {
    TUF_BrowseWS window;
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    window.show();
    EXPECT_TRUE(window.isVisible()) << "not ended inside the showing";
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), 2);
}

TEST_F(BrowseWindows, AutoAlignHangsTheWindowBelowTheField) {
    fillWorksheets(sd, 1, {S("Tasks")});
    UP->setAutoSizeBrowseWS(true);
    UP->setAutoAlignBrowseWS(true);
    TUF_BrowseWS window;
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    window.show();
    const QRect outer = window.outerRect();
    EXPECT_EQ(outer.top(), 221);
    EXPECT_EQ(outer.x() + outer.width(), 488);
    EXPECT_EQ(outer.width(), window.getAutoWidth());
    EXPECT_EQ(outer.height(), window.getAutoHeight());
    window.CancelClick();
}

TEST_F(BrowseWindows, PressingTheTogglesAlignsThenSizes) {
    fillWorksheets(sd, 1, {S("Tasks"), S("Data")});
    UP->setAutoSizeBrowseWS(false);
    UP->setAutoAlignBrowseWS(false);
    TUF_BrowseWS window;
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    window.show();
    const QSize ownSize = window.outerRect().size();

    window.autoAlignButtonForTest()->setChecked(true);
    window.AutoAlignClick();
    QRect outer = window.outerRect();
    EXPECT_EQ(outer.size(), ownSize) << "without Auto Size the size stays";
    EXPECT_EQ(outer.top(), 221);
    EXPECT_EQ(outer.x() + outer.width(), 488);

    window.autoSizeButtonForTest()->setChecked(true);
    window.AutoSizeClick();
    outer = window.outerRect();
    EXPECT_EQ(outer.size(), QSize(window.getAutoWidth(), window.getAutoHeight()));
    EXPECT_NE(outer.size(), ownSize);
    EXPECT_EQ(outer.top(), 221);
    EXPECT_EQ(outer.x() + outer.width(), 488);
    window.CancelClick();
    EXPECT_TRUE(UP->getAutoSizeBrowseWS());
    EXPECT_TRUE(UP->getAutoAlignBrowseWS());
}

TEST_F(BrowseWindows, UserDragsReleaseTheToggles) {
    fillWorksheets(sd, 1, {S("Tasks"), S("Data")});
    TUF_BrowseWS window;
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    window.show();
    ASSERT_TRUE(window.autoSizeButtonForTest()->isChecked());
    ASSERT_TRUE(window.autoAlignButtonForTest()->isChecked());
    window.resize(window.size() + QSize(10, 10));
    EXPECT_TRUE(window.autoSizeButtonForTest()->isChecked())
        << "the window manager's changes right after the showing are not the user's";
    settle();

    // Moving the window releases Auto Align only while the window keeps its auto size.
    window.move(window.pos() + QPoint(30, 20));
    EXPECT_FALSE(window.autoAlignButtonForTest()->isChecked());
    EXPECT_TRUE(window.autoSizeButtonForTest()->isChecked());

    window.resize(window.size() + QSize(40, 40));
    EXPECT_FALSE(window.autoSizeButtonForTest()->isChecked());
    EXPECT_FALSE(UP->getAutoSizeBrowseWS()) << "saved as False at once";
    EXPECT_TRUE(UP->getAutoAlignBrowseWS()) << "Auto Align is kept at closing";
    TovUP stored;
    stored.Load();
    EXPECT_FALSE(stored.getAutoSizeBrowseWS());

    // The rest of the drag saves nothing more: a value written meanwhile stays.
    stored.setAutoSizeBrowseWS(true);
    stored.Save();
    window.resize(window.size() + QSize(5, 5));
    window.resize(window.size() + QSize(5, 5));
    stored.Load();
    EXPECT_TRUE(stored.getAutoSizeBrowseWS());

    window.CancelClick();
    EXPECT_FALSE(UP->getAutoAlignBrowseWS());
}

TEST_F(BrowseWindows, TaskFieldWindowColumnsPreselectionAndResult) {
    UP->setImportTaskFldValueCount(0);
    sd.setFL_Count(2);
    sd.setFL_TaskFld(1, S("A"));
    sd.setFL_TaskFldDesc(1, S("Task ID"));
    sd.setFL_TaskFld(2, S("AB"));
    sd.setFL_TaskFldDesc(2, S("Cost"));
    TUF_BrowseFld window;
    window.setTaskFld(S(" ab"));
    EXPECT_EQ(window.getTaskFld(), S("AB"));
    window.Setup(sd, S("Select Data Source Filter Task Field"), anchor, S("Task Field"));
    EXPECT_EQ(window.sectionWidthsForTest().size(), 3u);
    EXPECT_EQ(window.selectedRow(), 1);

    UP->setImportTaskFldValueCount(2);
    sd.setFL_TaskFldValue(2, 1, S("12.5"));
    window.Setup(sd, S("Select Data Source Filter Task Field"), anchor, S("Task Field"));
    ASSERT_EQ(window.sectionWidthsForTest().size(), 5u);
    EXPECT_EQ(window.cellTextForTest(1, 2), S(" Cost "));
    EXPECT_EQ(window.cellTextForTest(1, 3), S(" 12.5 "));

    window.show();
    ASSERT_TRUE(window.checkBoxForTest()->isChecked()) << "the preference's default";
    window.checkBoxForTest()->click();
    EXPECT_FALSE(UP->getImportTaskFldDesc()) << "stored at once";
    window.ListDoubleClick();
    EXPECT_EQ(window.result(), 1);
    EXPECT_EQ(window.getTaskFld(), S("AB"));
    EXPECT_EQ(window.getTaskFldDesc(), S("Cost"));
    EXPECT_FALSE(window.getImportTaskFldDesc());

    window.Setup(sd, S("Select Data Source Filter Task Field"), anchor, S("Task Field"));
    window.show();
    window.RefreshClick();
    EXPECT_EQ(window.result(), 4);
    EXPECT_FALSE(sd.getFL_Loaded());
}

TEST_F(BrowseWindows, ValueWindowFillsTwentyThousandValues) {
    const int count = 20000;
    sd.setVL_Count(1);
    sd.setVL_TaskFldValCount(1, count);
    for (int j = 1; j <= count; ++j) {
        sd.setVL_TaskFldValue(1, j, S("Value %1").arg(j));
        sd.setVL_TaskFldValTaskCount(1, j, j % 7 + 1);
    }
    sd.setVL_TaskFldValue(1, 500, S("A much longer value than the rest"));
    sd.setVL_TaskCount(54321);
    sd.setVL_Loaded(1, true);
    TUF_BrowseVal window;
    window.setTaskFldValue(S(" value 19999 "));
    window.Setup(sd, 1, anchor);
    EXPECT_EQ(window.rowCount(), count);
    EXPECT_EQ(window.selectedRow(), 19998);
    EXPECT_EQ(window.statusTextsForTest(),
              QStringList({S(" Total Task Field Values "), S(" 20000 "), S(" Total Tasks "),
                           S(" 54321 ")}));
    EXPECT_EQ(window.cellTextForTest(19998, 2), S(" %1 ").arg(19999 % 7 + 1));
    // The widest value decides the column (its text framed in blanks, + 12).
    EXPECT_EQ(window.sectionWidthsForTest()[1], 6 * 35 + 12);

    window.show();
    window.SelectClick();
    EXPECT_EQ(window.getTaskFldValue(), S("Value 19999"));

    window.Setup(sd, 1, anchor);
    window.show();
    window.RefreshClick();
    EXPECT_EQ(window.result(), 4);
    EXPECT_FALSE(sd.getVL_Loaded(1));
}

// Entries the opener flagged (no data file extension) and files that do not exist are greyed and
// cannot be chosen; a file deleted while the window is open is greyed at the next activation.
TEST_F(BrowseWindows, FileWindowGreysInvalidAndMissingEntries) {
    QTemporaryDir dir;
    const auto file = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    for (const char* name : {"a.krvc", "b.txt", "c.krvc"}) {
        QFile made(file(name));
        ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    }
    TovDF df;
    df.setFL_Count(4);
    const char* names[] = {"a.krvc", "b.txt", "c.krvc", "gone.krvc"};
    for (int i = 1; i <= 4; ++i) {
        df.setDFL_DPFE(i, file(names[i - 1]));
        df.setDFL_Valid(i, i != 2);
    }
    TUF_BrowseFile window;
    window.setDPFE(file("c.krvc"));
    window.Setup(df);
    EXPECT_EQ(window.selectedRow(), 2);
    EXPECT_TRUE(window.selectEnabledForTest());

    window.show();
    for (const int invalid : {1, 3}) {
        window.selectRow(invalid);
        EXPECT_FALSE(window.selectEnabledForTest()) << names[invalid];
        window.ListDoubleClick();
        EXPECT_TRUE(window.isVisible()) << "a double-click on an invalid entry does nothing";
    }
    EXPECT_EQ(window.rowCount(), 4) << "the entries stay listed";

    window.selectRow(0);
    EXPECT_TRUE(window.selectEnabledForTest());
    ASSERT_TRUE(QFile::remove(file("a.krvc")));
    window.hide();
    window.show();
    QApplication::processEvents();
    EXPECT_FALSE(window.selectEnabledForTest()) << "deleted while the window was open";

    window.selectRow(2);
    window.ListDoubleClick();
    EXPECT_EQ(window.result(), 1);
    EXPECT_EQ(window.getDPFE(), file("c.krvc"));
}

// An invalid entry is greyed and, when selected, still readable: its text stands out from the
// background it is painted on.
TEST(BrowseRows, UnselectableRowsAreReadableSelectedOrNot) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    auto contrast = [&](const QColor& a, const QColor& b) {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    const QColor base(Qt::white);
    for (const bool selected : {false, true}) {
        const TRowColors colors = UnselectableRowColors(selected, base);
        EXPECT_GE(contrast(colors.Foreground, colors.Background), 4.5) << selected;
        EXPECT_NE(colors.Foreground, QColor(Qt::black)) << "greyed";
    }
    EXPECT_EQ(UnselectableRowColors(false, base).Background, base);
    EXPECT_NE(UnselectableRowColors(true, base).Background, base) << "the selection shows";
}

// A column border dragged to the left stops at the header text + 12.
TEST_F(BrowseWindows, ColumnsKeepRoomForTheirHeaderText) {
    fillWorksheets(sd, 1, {S("Tasks"), S("Data")});
    TUF_BrowseWS window;
    window.Setup(sd, S("Data Source File"), S("Task Worksheet"), 1, anchor);
    window.show();
    QHeaderView* header = window.findChild<QHeaderView*>();
    ASSERT_NE(header, nullptr);
    ASSERT_EQ(header->count(), 2);
    for (int section = 0; section < header->count(); ++section) {
        const QString text = header->model()->headerData(section, Qt::Horizontal).toString();
        const int least = textMeasurer().textWidth(header->font(), text) + 12;
        header->resizeSection(section, 0);
        EXPECT_EQ(header->sectionSize(section), least) << section;
        header->resizeSection(section, least + 30);
        EXPECT_EQ(header->sectionSize(section), least + 30) << section;
    }
    window.CancelClick();
}

TEST(BrowseAnchor, FieldsAndGridRowsOnTheScreen) {
    QWidget parent;
    parent.setGeometry(100, 50, 400, 300);
    QWidget field(&parent);
    field.setGeometry(10, 20, 150, 21);
    QWidget button(&parent);
    button.setGeometry(170, 18, 24, 24);
    parent.show();
    const QPoint origin = parent.mapToGlobal(QPoint(0, 0));
    const TBrowseAnchor edit = BrowseAnchorOf(&field, &button);
    EXPECT_EQ(edit.Field, QRect(origin + QPoint(10, 20), QSize(150, 21)));
    EXPECT_EQ(edit.Button, QRect(origin + QPoint(170, 18), QSize(24, 24)));
    const TBrowseAnchor row = BrowseAnchorOf(&field, QRect(0, 40, 150, 18), &button);
    EXPECT_EQ(row.Field, QRect(origin + QPoint(10, 60), QSize(150, 18)));
}

TEST_F(BrowseWindows, WindowsInstallThemselvesAsTheInterfaces) {
    {
        TUF_BrowseWS ws;
        TUF_BrowseFld fld;
        TUF_BrowseVal val;
        TUF_BrowseFile file;
        EXPECT_EQ(BrowseWS(), &ws);
        EXPECT_EQ(BrowseFld(), &fld);
        EXPECT_EQ(BrowseVal(), &val);
        EXPECT_EQ(BrowseFile(), &file);
    }
    EXPECT_EQ(BrowseWS(), nullptr);
    EXPECT_EQ(BrowseFile(), nullptr);
}

} // namespace
