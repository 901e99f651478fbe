// The Data Source Map tab hosted by a recording main window, offscreen: loading and checking the
// map, typing and pasting into its grid, the round trip through the data file, browsing a task
// field and updating the descriptions from a small task workbook read by the built-in engine.
#include "controls/ovGrid.h"
#include "forms/tabs/TabInputGuards.h"
#include "forms/tabs/Tab_DSM.h"

#include "forms/FormMetrics.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/StdDlg.h"
#include "services/ovUP.h"
#include "support/FakeBrowseWindows.h"
#include "support/FakeDataFile.h"
#include "support/FakeProgress.h"
#include "support/FakeStdDlg.h"
#include "support/FakeTabHost.h"
#include "support/ProgramGlobals.h"
#include "support/TempRegistry.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using testsupport::FakeStdDlg;

const QString kTaskWorkbook = QStringLiteral(KRV_FORMS_TEST_DATA "/task_fields.xlsx");
const QString kMaxLength3 = QStringLiteral("The maximum length for this Field is 3 characters.");

// The task field window as it drops the imported list when the user asks for a refresh.
class RefreshingBrowseFld : public testsupport::FakeBrowseFld {
public:
    int Execute(TovSD& sd, const QString& caption, const QString& subject,
                const TBrowseAnchor& anchor, TBrowseFldResult& result) override {
        const int modal = FakeBrowseFld::Execute(sd, caption, subject, anchor, result);
        if (modal == mrRetry) {
            sd.setFL_Loaded(false);
        }
        return modal;
    }
};

class DataSourceMapTab : public testing::Test {
protected:
    void SetUp() override {
        globals =
            std::make_unique<testsupport::ProgramGlobals>(std::initializer_list<TGlobalObject>{
                TGlobalObject::goAD, TGlobalObject::goXL, TGlobalObject::goOCP, TGlobalObject::goDV,
                TGlobalObject::goUP, TGlobalObject::goSDs, TGlobalObject::goDF,
                TGlobalObject::goProcess});
        DF->setView(&view);
        SDs->setActiveSD(SDs->Add());
        ASSERT_TRUE(QFile::copy(kTaskWorkbook, Path(QStringLiteral("plan.xlsx"))));
        TovSD& d = sd();
        d.SCF->setDSF_DrivePathFilenameExtnXL(Path(QStringLiteral("plan.xlsx")));
        d.SCF->setDSF_TaskWS(QStringLiteral("Tasks"));
        d.SCF->setDSF_THR(1);
        // Baseline man hours: rows 1 to 3 are required.
        d.SCO->setGenerateBL(1);
        d.SCO->setGenerateACT(0);
        d.SCO->setGenerateTGT(0);
        d.SCO->setGraphMH(1);
        d.SCO->setGraphCost(0);
    }
    void TearDown() override {
        tab.reset();
        globals.reset();
    }

    static TovSD& sd() { return *SDs->getItems(SDs->getActiveSD()); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    TovGrid& grid() { return *tab->grid(); }

    // The tab shown and filled as the main window does when the definition becomes current.
    void ShowTab() {
        tab = std::make_unique<TTab_DSM>(host, nullptr);
        tab->resize(640, 400);
        tab->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tab.get()));
        tab->Enable(true);
        tab->Load();
        tab->Refresh();
    }
    void SetEntry(int n, const char* letters, const char* description = "") {
        sd().DSM->getItems(n)->setTaskFldXL(QString::fromLatin1(letters));
        sd().DSM->getItems(n)->setTaskFldDescXL(QString::fromLatin1(description));
    }
    // The rows whose gutter picture shows.
    QList<int> MarkedRows() {
        QList<int> rows;
        for (int n = 1; n <= TDSMRows::Count; ++n) {
            if (grid().getGutterImageVisible(n)) {
                rows << n;
            }
        }
        return rows;
    }
    QStringList Column(int col) {
        QStringList texts;
        for (int n = 1; n <= TDSMRows::Count; ++n) {
            texts << grid().getCells(col, n);
        }
        return texts;
    }
    void TypeAt(int col, int row, const char* keys) {
        grid().MoveToCell(col, row);
        grid().setFocus();
        QTest::keyClicks(&grid(), QString::fromLatin1(keys));
        QTest::keyClick(&grid(), Qt::Key_Return); // ends the typing
    }
    QString LastBalloon() const {
        return host.balloon.shown.empty() ? QString() : host.balloon.shown.back().text;
    }

    QTemporaryDir dir;
    FakeStdDlg dlg;
    testsupport::FakeProgress progress;
    testsupport::FakeDataFileView view;
    std::unique_ptr<testsupport::ProgramGlobals> globals;
    testsupport::FakeTabHost host;
    std::unique_ptr<TTab_DSM> tab;
};

TEST_F(DataSourceMapTab, LoadShowsTheMapRequiredRowsAndFailedChecks) {
    SetEntry(1, "b", "Start");
    SetEntry(4, "1A");
    SetEntry(5, "B");
    ShowTab();
    EXPECT_EQ(Column(1), (QStringList{QStringLiteral("B"),
                                      {},
                                      {},
                                      QStringLiteral("1A"),
                                      QStringLiteral("B"),
                                      {},
                                      {},
                                      {},
                                      {}}));
    EXPECT_EQ(grid().getCells(2, 1), QStringLiteral("Start"));
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        EXPECT_EQ(grid().cells().row(n).Gutter.Font.Color == clMaroon, n <= 3) << n;
    }
    // 2 and 3 are required and blank, 4 names no column, 5 repeats row 1.
    EXPECT_EQ(MarkedRows(), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(grid().getGutterImageHint(2),
              QStringLiteral("The Baseline Finish Date Task Field is undefined."));
    EXPECT_EQ(grid().getGutterImageHint(5),
              QStringLiteral("The Start Date Task Field is the same as the Baseline Start Date "
                             "Task Field."));
    EXPECT_EQ(host.modifiedMarks, 0) << "loading is no edit";

    // A disabled tab is empty, shows no failures and stores nothing.
    tab->Enable(false);
    EXPECT_TRUE(grid().IsEmpty());
    EXPECT_TRUE(MarkedRows().isEmpty());
    EXPECT_FALSE(tab->updateButton()->isEnabled());
    tab->Store();
    EXPECT_EQ(sd().DSM->getItems(1)->getTaskFldXL(), QStringLiteral("B"));
    EXPECT_EQ(host.modifiedMarks, 0);
}

TEST_F(DataSourceMapTab, TypingTakesColumnLettersOnlyAndAtMostThree) {
    ShowTab();
    TypeAt(1, 5, "ab");
    EXPECT_EQ(grid().getCells(1, 5), QStringLiteral("AB"));
    EXPECT_GT(host.modifiedMarks, 0);

    const int marks = host.modifiedMarks;
    TypeAt(1, 6, "c1");
    EXPECT_EQ(grid().getCells(1, 6), QStringLiteral("C"));
    EXPECT_EQ(LastBalloon(),
              QStringLiteral("Please enter a valid Task Field.\r\nValid Range: A..XFD"));

    TypeAt(1, 7, "wxyz");
    EXPECT_EQ(grid().getCells(1, 7), QStringLiteral("WXY"));
    EXPECT_EQ(LastBalloon(), kMaxLength3);

    // An .xls data source ends at column IV.
    sd().SCF->setDSF_DrivePathFilenameExtnXL(Path(QStringLiteral("plan.xls")));
    TypeAt(1, 8, "-");
    EXPECT_EQ(LastBalloon(),
              QStringLiteral("Please enter a valid Task Field.\r\nValid Range: A..IV"));
    EXPECT_TRUE(grid().getCells(1, 8).isEmpty());

    // The description column takes any text.
    TypeAt(2, 5, "Start 1");
    EXPECT_EQ(grid().getCells(2, 5), QStringLiteral("Start 1"));
    EXPECT_GT(host.modifiedMarks, marks);

    tab->Store();
    EXPECT_EQ(sd().DSM->getItems(5)->getTaskFldXL(), QStringLiteral("AB"));
    EXPECT_EQ(sd().DSM->getItems(5)->getTaskFldDescXL(), QStringLiteral("Start 1"));
    EXPECT_EQ(sd().DSM->getItems(7)->getTaskFldXL(), QStringLiteral("WXY"));
}

TEST_F(DataSourceMapTab, PastedCellsAreKeptAsPastedAndChecked) {
    ShowTab();
    QGuiApplication::clipboard()->setText(QStringLiteral("x\tPasted\r\n1abc\t\r\n"));
    grid().MoveToCell(1, 1);
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid().getCells(1, 1), QStringLiteral("x"));
    EXPECT_EQ(grid().getCells(2, 1), QStringLiteral("Pasted"));
    EXPECT_EQ(grid().getCells(1, 2), QStringLiteral("1ab"));
    EXPECT_GT(host.modifiedMarks, 0);
    EXPECT_TRUE(MarkedRows().contains(2)) << "1AB names no column";
    EXPECT_FALSE(MarkedRows().contains(1));

    tab->Store();
    EXPECT_EQ(sd().DSM->getItems(1)->getTaskFldXL(), QStringLiteral("X"));
    EXPECT_EQ(sd().DSM->getItems(1)->getTaskFldDescXL(), QStringLiteral("Pasted"));
    EXPECT_EQ(sd().DSM->getItems(2)->getTaskFldXL(), QStringLiteral("1AB"));
}

TEST_F(DataSourceMapTab, EditsSurviveTheDataFile) {
    ShowTab();
    TypeAt(1, 6, "g");
    TypeAt(2, 6, "Finish Date");
    grid().InternalSetCell(1, 9, QStringLiteral(" k "), true);
    tab->Store();
    const QString path = Path(QStringLiteral("map.krvc"));
    globals->fileDialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(DF->OpenDataFile(path, false));
    SDs->setActiveSD(1);

    const int marks = host.modifiedMarks;
    ShowTab();
    EXPECT_EQ(grid().getCells(1, 6), QStringLiteral("G"));
    EXPECT_EQ(grid().getCells(2, 6), QStringLiteral("Finish Date"));
    EXPECT_EQ(grid().getCells(1, 9), QStringLiteral("K"));
    tab->Store();
    EXPECT_EQ(host.modifiedMarks, marks) << "storing what was loaded changes nothing";
}

TEST_F(DataSourceMapTab, BrowsingFillsTheRowFromTheTaskWorksheet) {
    RefreshingBrowseFld browse;
    ShowTab();
    grid().MoveToCell(1, 3);
    browse.answers = {{1, QStringLiteral("D")}};
    browse.desc = QStringLiteral("Man\nHours");
    browse.importDesc = true;
    tab->browseButton()->click();
    ASSERT_EQ(browse.calls.size(), 1u);
    EXPECT_EQ(browse.calls[0].caption,
              QStringLiteral("Select Data Source Map Task Field: Baseline Man Hours"));
    EXPECT_EQ(browse.calls[0].subject, QStringLiteral("Baseline Man Hours Task Field"));
    EXPECT_EQ(grid().getCells(1, 3), QStringLiteral("D"));
    EXPECT_EQ(grid().getCells(2, 3), QStringLiteral("Man Hours"));
    EXPECT_EQ(host.modifiedMarks, 1);
    EXPECT_FALSE(MarkedRows().contains(3));
    // The header row was imported once, with the window busy only meanwhile.
    EXPECT_EQ(host.imports, 1);
    EXPECT_EQ(host.importDepth, 0);
    ASSERT_TRUE(sd().getFL_Loaded());
    EXPECT_EQ(sd().getFL_Count(), 4);
    EXPECT_EQ(sd().getFL_TaskFldDesc(2), QStringLiteral("Start\nDate"));

    // Refresh imports the list anew and asks again, Cancel changes nothing; the same field
    // chosen again is no change.
    browse.answers = {{4, {}}, {2, {}}, {1, QStringLiteral("D")}};
    browse.importDesc = false;
    tab->BrowseTaskField();
    EXPECT_EQ(host.imports, 2);
    EXPECT_EQ(host.importDepth, 0);
    tab->BrowseTaskField();
    EXPECT_EQ(host.imports, 2) << "the loaded list is used";
    ASSERT_EQ(browse.calls.size(), 4u);
    EXPECT_EQ(browse.calls[3].preselection, QStringLiteral("D"));
    EXPECT_EQ(grid().getCells(2, 3), QStringLiteral("Man Hours"));
    EXPECT_EQ(host.modifiedMarks, 1);

    // A missing workbook is reported before any window opens.
    QFile::remove(Path(QStringLiteral("plan.xlsx")));
    dlg.shown.clear();
    tab->BrowseTaskField();
    EXPECT_EQ(browse.calls.size(), 4u);
    ASSERT_EQ(dlg.shown.size(), 1u);
    EXPECT_TRUE(dlg.shown[0].key.startsWith(QLatin1String("UDV")));
}

TEST_F(DataSourceMapTab, AnUnusableDataSourceStopsTheBrowseWithItsOwnMessage) {
    testsupport::FakeBrowseFld browse;
    ShowTab();
    const QString plan = Path(QStringLiteral("plan.xlsx"));
    const struct {
        const char* name;
        const char* curVer; // the installed spreadsheet program
        QString path;
        const char* worksheet;
        int headerRow;
        const char* key;
    } cases[] = {
        {"no spreadsheet program", nullptr, plan, "Tasks", 1, "XL001"},
        {"no data source", "15", QString(), "Tasks", 1, "UDV005"},
        {"a missing workbook", "15", Path(QStringLiteral("none.xlsx")), "Tasks", 1, "UDV004"},
        {"a worksheet name no workbook allows", "15", plan, "Ta*sks", 1, "UDV018"},
        {"header row 0", "15", plan, "Tasks", 0, "UDV019"},
        {"an old version without the pack, cancelled", "11", plan, "Tasks", 1, "UOCP002"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray hive = "Windows Registry Editor Version 5.00\r\n\r\n";
        if (c.curVer != nullptr) {
            hive += QByteArray("[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]\r\n"
                               "@=\"Excel.Application.") +
                    c.curVer + "\"\r\n";
        }
        globals->registry.writeMachineHive(hive);
        sd().SCF->setDSF_DrivePathFilenameExtnXL(c.path);
        sd().SCF->setDSF_TaskWS(QString::fromLatin1(c.worksheet));
        sd().SCF->setDSF_THR(c.headerRow);
        dlg.shown.clear();
        tab->BrowseTaskField();
        EXPECT_EQ(dlg.keys(), QStringList{QString::fromLatin1(c.key)});
        EXPECT_TRUE(browse.calls.empty());
        EXPECT_EQ(host.imports, 0);
    }
}

TEST_F(DataSourceMapTab, UpdateDescriptionsReadsTheHeaderRow) {
    SetEntry(1, "B", "old");
    SetEntry(2, "XFA", "old");
    SetEntry(3, "1A", "old");
    SetEntry(4, "", "old");
    ShowTab();

    dlg.answers = {mrNo};
    QTest::mouseClick(tab->updateButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), QStringList{QStringLiteral("MF018")});
    EXPECT_EQ(grid().getCells(2, 1), QStringLiteral("old"));
    EXPECT_EQ(host.imports, 0);
    EXPECT_EQ(host.modifiedMarks, 0);

    dlg.shown.clear();
    dlg.answers = {mrYes};
    QTest::mouseClick(tab->updateButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), (QStringList{QStringLiteral("MF018"), QStringLiteral("MF019")}));
    EXPECT_EQ(dlg.shown[1].kind, sdkInformation);
    EXPECT_EQ(dlg.shown[1].lines,
              (QStringList{QStringLiteral("Task Field Descriptions Updated: 1"), QString(),
                           QStringLiteral("Task Fields Not Found: 1"), QString(),
                           QStringLiteral("Invalid Task Fields: 1"), QString(),
                           QStringLiteral("Undefined Task Fields: 6")}));
    EXPECT_EQ(Column(2),
              (QStringList{QStringLiteral("Start Date"), {}, {}, {}, {}, {}, {}, {}, {}}));
    EXPECT_EQ(host.imports, 1);
    EXPECT_EQ(host.modifiedMarks, 1) << "the new descriptions are an edit";
    EXPECT_GT(host.pageFocuses, 0);

    // The same update again finds nothing to change.
    dlg.shown.clear();
    dlg.answers = {mrYes};
    QTest::mouseClick(tab->updateButton(), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), (QStringList{QStringLiteral("MF018"), QStringLiteral("MF019")}));
    EXPECT_EQ(host.imports, 1) << "the loaded list is used";
    EXPECT_EQ(host.modifiedMarks, 1);

    tab->Store();
    EXPECT_EQ(sd().DSM->getItems(1)->getTaskFldDescXL(), QStringLiteral("Start Date"));
    EXPECT_TRUE(sd().DSM->getItems(2)->getTaskFldDescXL().isEmpty());
}

TEST_F(DataSourceMapTab, UpdateWithoutTaskFieldsOnlyWarns) {
    ShowTab();
    QTest::mouseClick(tab->updateButton(), Qt::LeftButton);
    ASSERT_EQ(dlg.keys(), QStringList{QStringLiteral("MF017")});
    EXPECT_EQ(dlg.shown[0].kind, sdkWarning);
    EXPECT_EQ(dlg.shown[0].lines,
              (QStringList{QStringLiteral("No Task Fields were found."), QString(),
                           QStringLiteral("Unable to update Task Field Descriptions.")}));
    EXPECT_EQ(host.imports, 0);
}

TEST_F(DataSourceMapTab, AutoSizeFollowsTheButtonAndAColumnDrag) {
    UP->setAutoSizeDSM(false);
    ShowTab();
    EXPECT_FALSE(tab->autoSizeButton()->isChecked());
    QTest::mouseClick(tab->autoSizeButton(), Qt::LeftButton);
    EXPECT_TRUE(UP->getAutoSizeDSM());
    TovUP saved;
    saved.Load();
    EXPECT_TRUE(saved.getAutoSizeDSM());

    Q_EMIT grid().OnUserColWidthChanged(2);
    EXPECT_FALSE(tab->autoSizeButton()->isChecked());
    TovUP afterDrag;
    afterDrag.Load();
    EXPECT_FALSE(afterDrag.getAutoSizeDSM());
}

TEST_F(DataSourceMapTab, GoToFieldSelectsTheErrorsCell) {
    ShowTab();
    tab->GoToField(777, 4);
    EXPECT_EQ(grid().getCurrentCol(), 1);
    EXPECT_EQ(grid().getCurrentRow(), 4);
    tab->GoToField(778, 9);
    EXPECT_EQ(grid().getCurrentCol(), 2);
    EXPECT_EQ(grid().getCurrentRow(), 9);
    tab->GoToField(100, 2);
    EXPECT_EQ(grid().getCurrentRow(), 9) << "a field of another tab changes nothing";
}

// The Update button keeps its width and 8 pixels from the page's edge, at the narrowest page too.
TEST_F(DataSourceMapTab, UpdateButtonKeepsItsWidthAndMarginAtTheNarrowestPage) {
    ShowTab();
    tab->resize(tab->minimumSizeHint());
    QApplication::processEvents();
    const QList<QPushButton*> buttons = tab->findChildren<QPushButton*>();
    const auto update = std::find_if(buttons.begin(), buttons.end(), [](const QPushButton* b) {
        return b->isVisible() && b->width() == formmetrics::ScaledWidth(190);
    });
    ASSERT_NE(update, buttons.end());
    const QRect at((*update)->mapTo(tab.get(), QPoint(0, 0)), (*update)->size());
    EXPECT_EQ(tab->width() - 1 - at.right(), 8);
}

} // namespace
