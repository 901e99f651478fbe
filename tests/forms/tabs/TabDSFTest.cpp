// The Data Source Filter tab hosted offscreen by a recording host over a copy of the sample data
// file: typing, pasting and choosing from the in-cell lists, the row commands and their
// questions, browsing a task field and its values from the sample workbook, the update of the
// task field descriptions, and a filter built on the page that runs as the same filter written
// into the data file by hand.
#include "FilterRows.h"
#include "forms/tabs/Tab_DSF.h"

#include "controls/ovGrid.h"
#include "engine/ovProcess.h"
#include "forms/FormMetrics.h"
#include "forms/StatusImage.h"
#include "model/ovDF.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/ovUP.h"
#include "support/FakeBrowseWindows.h"
#include "support/FakeDataFile.h"
#include "support/FakeProgress.h"
#include "support/FakeStdDlg.h"
#include "support/FakeTabHost.h"
#include "support/ProgramGlobals.h"
#include "support/TempRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace formstest {
namespace {

using testsupport::FakeStdDlg;
using TButton = TTab_DSF::TButton;

const QString kSampleDataFile = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.krvc");

// The rows of the page's grid written "And/Or|Task Field|Description|Operator|Value", trailing
// empty rows left out. The list cell the grid shows "Please Select..." in counts as empty.
QStringList Rows(TFilterGridModel m) {
    m.ClearNoChoice();
    return formstest::FilterRows(m);
}

class TabDSFTest : public testing::Test {
protected:
    void SetUp() override {
        if (!QFile::exists(kSampleDataFile)) {
            GTEST_SKIP() << "the generated sample project is missing";
        }
        globals = std::make_unique<testsupport::ProgramGlobals>();
        dataFile = dir.filePath(QStringLiteral("filter.krvc"));
        ASSERT_TRUE(QFile::copy(kSampleDataFile, dataFile));
        ASSERT_TRUE(DF->OpenDataFile(dataFile, false))
            << dlg.keys().join(QLatin1Char(' ')).toStdString();
        SDs->setActiveSD(1);
        tab = std::make_unique<TTab_DSF>(host, nullptr);
        tab->resize(700, 400);
        tab->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(tab.get()));
        ShowDefinition();
    }
    void TearDown() override {
        tab.reset();
        globals.reset();
    }

    // What the main window does when the definition becomes current.
    void ShowDefinition() {
        tab->Clear();
        tab->Enable(true);
        tab->Load();
        tab->Refresh();
    }
    TovSD& sd() const { return *SDs->getItems(SDs->getActiveSD()); }
    TovGrid& grid() const { return *tab->grid(); }
    void Click(TButton which) { QTest::mouseClick(tab->button(which), Qt::LeftButton); }
    void TypeInto(int col, int row, const QString& text) {
        grid().setFocus();
        grid().MoveToCell(col, row);
        QTest::keyClicks(&grid(), text);
        QTest::keyClick(&grid(), Qt::Key_Return);
    }
    // Sets the grid as loading a filter would, without a change event.
    void Show(const QStringList& rows) {
        TovDSF& dsf = *sd().DSF;
        while (dsf.getCount() > 0) {
            dsf.Delete(dsf.getCount());
        }
        dsf.setEnabled(1);
        for (const QString& line : rows) {
            const QStringList cells = line.split(QLatin1Char('|'));
            TovDSFx& row = *dsf.getItems(dsf.Add());
            row.setAndFlag(cells[0] == QStringLiteral("Or") ? 0 : 1);
            row.setTaskFldXL(cells[1]);
            row.setTaskFldDescXL(cells[2]);
            row.setFilterOperator(TovDSF::getFilterOperatorOfName(cells[3]));
            row.setTaskFldValueXL(cells[4]);
        }
        ShowDefinition();
        host.modifiedMarks = 0;
    }
    // Runs the active definition into the test's folder; the filter's counts and the totals.
    QString RunActive() {
        sd().SCF->setOF_DrivePathFilenameExtnXL(
            dir.filePath(QStringLiteral("out_%1.xlsx").arg(++runs)));
        EXPECT_TRUE(Process->Run(SDs->getActiveSD()))
            << (dlg.shown.empty() ? std::string()
                                  : dlg.shown.back().lines.join(QLatin1Char('\n')).toStdString());
        const engine::RunResults& r = Process->getResults();
        QStringList out{QString::number(r.TasksFilteredOut), QString::number(r.TasksAfterFilter)};
        for (const engine::DataSetResult& s : r.Sets) {
            out << QString::number(s.ValidTasks) << QString::number(s.ManHoursTotal, 'f', 4)
                << QString::number(s.CostTotal, 'f', 4);
        }
        return out.join(QLatin1Char(' '));
    }

    QTemporaryDir dir;
    std::unique_ptr<testsupport::ProgramGlobals> globals;
    FakeStdDlg dlg;
    testsupport::FakeProgress progress;
    testsupport::FakeTabHost host;
    std::unique_ptr<TTab_DSF> tab;
    QString dataFile;
    int runs = 0;
};

TEST_F(TabDSFTest, AFilterBuiltOnThePageRunsAsTheSameFilterWrittenByHand) {
    const QString unfiltered = RunActive();
    EXPECT_FALSE(grid().getEnabled());
    Click(TButton::Enable);
    ASSERT_TRUE(grid().getEnabled());
    EXPECT_EQ(tab->titleImage()->getTag(), 1) << "enabled and empty: undefined";
    EXPECT_EQ(tab->titleImage()->toolTip(),
              QStringLiteral("The Data Source Filter is enabled, but undefined."));
    EXPECT_EQ(host.modifiedMarks, 1);

    // Typing a task field fills in the operator (the first row has no And/Or); a digit is
    // refused with the range of the workbook's columns.
    TypeInto(fcTaskFld, 1, QStringLiteral("c1"));
    ASSERT_FALSE(host.balloon.shown.empty());
    EXPECT_EQ(host.balloon.shown.back().text,
              QStringLiteral("Please enter a valid Task Field.\nValid Range: A..XFD"));
    TypeInto(fcValue, 1, QStringLiteral("North"));
    EXPECT_EQ(Rows(tab->gridState()), QStringList({QStringLiteral("|C||Equals|North")}));

    // Row 2: the task field typed (And and Equals come with it), the operator pasted as text
    // from the cell before it (the operator cell keeps the list index of Equals), Or chosen from
    // the row's list with the keyboard.
    TypeInto(fcTaskFld, 2, QStringLiteral("b"));
    EXPECT_EQ(Rows(tab->gridState()).value(1), QStringLiteral("And|B||Equals|"));
    QApplication::clipboard()->setText(QStringLiteral("Concrete\tContains\tPour"));
    grid().MoveToCell(fcTaskFldDesc, 2);
    grid().PasteSelection();
    grid().MoveToCell(fcAndOr, 2);
    QComboBox* andOr = tab->andOrList();
    ASSERT_TRUE(andOr->isVisible());
    EXPECT_EQ(andOr->currentText(), QStringLiteral("And"));
    QTest::keyClick(andOr, Qt::Key_Down);
    EXPECT_EQ(Rows(tab->gridState()), QStringList({QStringLiteral("|C||Equals|North"),
                                                   QStringLiteral("Or|B|Concrete|Contains|Pour")}));
    EXPECT_EQ(tab->titleImage()->getTag(), 2);
    EXPECT_FALSE(grid().getGutterImageVisible(2));

    tab->Store();
    DF->setModified(true);
    // Saved under a new name when the copy's format asks for it.
    globals->fileDialogs.answers = {dir.filePath(QStringLiteral("saved.krvc"))};
    ASSERT_TRUE(DF->Save()) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    const QString saved = DF->getDPFE();
    ASSERT_TRUE(DF->OpenDataFile(saved, false));
    SDs->setActiveSD(1);
    ShowDefinition();
    EXPECT_EQ(Rows(tab->gridState()), QStringList({QStringLiteral("|C||Equals|North"),
                                                   QStringLiteral("Or|B|Concrete|Contains|Pour")}));
    const QString built = RunActive();

    // The same filter written into a copy of the sample data file.
    QFile sample(kSampleDataFile);
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(sample.readAll());
    const QString section =
        QStringLiteral("[Ovik KRV Tessel\\SD_1\\DSF]\r\nDSFxCount=0\r\nEnabled=0\r\n");
    ASSERT_TRUE(text.contains(section));
    text.replace(section,
                 QStringLiteral("[Ovik KRV Tessel\\SD_1\\DSF]\r\nDSFxCount=2\r\nEnabled=1\r\n\r\n"
                                "[Ovik KRV Tessel\\SD_1\\DSF\\DSFx_1]\r\nAndFlag=1\r\n"
                                "TaskFldXL=C\r\nFilterOperator=Equals\r\n"
                                "TaskFldValueXL=North\r\n\r\n"
                                "[Ovik KRV Tessel\\SD_1\\DSF\\DSFx_2]\r\nAndFlag=0\r\n"
                                "TaskFldXL=B\r\nTaskFldDescXL=Concrete\r\n"
                                "FilterOperator=Contains\r\n"
                                "TaskFldValueXL=Pour\r\n"));
    const QString byHand = dir.filePath(QStringLiteral("by_hand.krvc"));
    QFile out(byHand);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(text.toUtf8());
    out.close();
    ASSERT_TRUE(DF->OpenDataFile(byHand, false));
    SDs->setActiveSD(1);
    EXPECT_EQ(RunActive(), built);
    EXPECT_NE(built, unfiltered);
}

TEST_F(TabDSFTest, ChoosingNoChoiceLeavesTheRowIncompleteAndMarked) {
    Show({QStringLiteral("|A||Equals|x"), QStringLiteral("And|B||Equals|y")});
    grid().MoveToCell(fcAndOr, 2);
    QComboBox* andOr = tab->andOrList();
    ASSERT_TRUE(andOr->isVisible());
    QTest::keyClick(andOr, Qt::Key_Up);
    EXPECT_EQ(andOr->currentIndex(), 0);
    EXPECT_EQ(tab->gridState().cell(fcAndOr, 2).Text, QString());
    EXPECT_EQ(host.modifiedMarks, 1);
    EXPECT_TRUE(grid().getGutterImageVisible(2));
    EXPECT_TRUE(grid().getGutterImageHint(2).contains(
        QStringLiteral("This row is invalid, and will not be processed.")));
    // The row stays in the grid and out of the definition.
    tab->Store();
    EXPECT_EQ(sd().DSF->getCount(), 1);
    EXPECT_EQ(Rows(tab->gridState()).value(1), QStringLiteral("|B||Equals|y"));
}

// Up and Down give the row that leaves row 1 its And/Or and nothing else: an operator the user
// left empty stays empty, so the row stays out of the definition and out of the run.
TEST_F(TabDSFTest, MovingRowsSetsOnlyTheJoinOfTheRowLeavingRowOne) {
    Show({QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")});
    grid().MoveToCell(fcOperator, 1);
    QTest::keyClick(tab->operatorList(), Qt::Key_Home); // "Please Select...": no operator
    ASSERT_EQ(tab->gridState().text(fcOperator, 1), QString());
    for (const TButton command : {TButton::MoveDown, TButton::MoveUp}) {
        grid().MoveToCell(fcTaskFld, command == TButton::MoveDown ? 1 : 2);
        Click(command);
        const QStringList moved = {QStringLiteral("|B||Contains|y"), QStringLiteral("And|A|||x")};
        const QStringList back = {QStringLiteral("|A|||x"), QStringLiteral("And|B||Contains|y")};
        EXPECT_EQ(Rows(tab->gridState()), command == TButton::MoveDown ? moved : back);
    }
    Click(TButton::MoveDown);
    tab->Store();
    ASSERT_EQ(sd().DSF->getCount(), 1);
    EXPECT_EQ(sd().DSF->getItems(1)->getTaskFldXL(), QStringLiteral("B"));
    EXPECT_EQ(sd().DSF->getItems(1)->getAndFlag(), 0) << "the first stored row joins nothing";
}

TEST_F(TabDSFTest, ValueHeaderColourFollowsTheOperatorOfTheRow) {
    Show({QStringLiteral("|A||Is Blank|v"), QStringLiteral("And|B||Contains|"),
          QStringLiteral("Or|C||Equals|")});
    const struct {
        int row;
        TColor colour;
        bool marked;
    } rows[] = {{1, clGrayText, true}, {2, clMaroon, true}, {3, clWindowText, false}};
    for (const auto& r : rows) {
        grid().MoveToCell(fcTaskFld, r.row);
        EXPECT_EQ(grid().cells().column(fcValue).Header.Font.Color, r.colour) << r.row;
        EXPECT_EQ(grid().getGutterImageVisible(r.row), r.marked) << r.row;
    }
}

TEST_F(TabDSFTest, InsertAndClearAskFirstAndMarkOnlyRealChanges) {
    const QStringList full = {QStringLiteral("|A||Equals|1"), QStringLiteral("And|B||Equals|2"),
                              QStringLiteral("Or|C||Equals|3"), QStringLiteral("And|D||Equals|4"),
                              QStringLiteral("Or|E||Equals|5")};
    Show(full);
    grid().MoveToCell(fcTaskFld, 1);
    dlg.answers = {mrNo};
    Click(TButton::Insert);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF015")}));
    EXPECT_EQ(Rows(tab->gridState()), full);
    EXPECT_EQ(host.modifiedMarks, 0);

    dlg.answers = {mrYes};
    Click(TButton::Insert);
    EXPECT_EQ(Rows(tab->gridState()),
              QStringList({QStringLiteral("||||"), QStringLiteral("And|A||Equals|1"), full[1],
                           full[2], full[3]}));
    EXPECT_EQ(host.modifiedMarks, 1);

    dlg.shown.clear();
    Click(TButton::Delete);
    EXPECT_TRUE(dlg.shown.empty()) << "delete never asks";
    EXPECT_EQ(Rows(tab->gridState()).value(0), QStringLiteral("|A||Equals|1"));

    dlg.answers = {mrNo};
    Click(TButton::Clear);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF016")}));
    EXPECT_EQ(Rows(tab->gridState()).size(), 4);
    dlg.answers = {mrYes};
    Click(TButton::Clear);
    EXPECT_TRUE(tab->gridState().IsEmpty());
    const int marks = host.modifiedMarks;
    dlg.shown.clear();
    Click(TButton::Clear);
    EXPECT_TRUE(dlg.shown.empty()) << "an empty grid is cleared without a question";
    EXPECT_EQ(host.modifiedMarks, marks) << "and nothing changed";
}

TEST_F(TabDSFTest, UpDownAndRefreshFollowTheCurrentRow) {
    Show({QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")});
    grid().MoveToCell(fcTaskFld, 2);
    EXPECT_TRUE(tab->button(TButton::MoveUp)->isEnabled());
    Click(TButton::MoveUp);
    EXPECT_EQ(Rows(tab->gridState()),
              QStringList({QStringLiteral("|B||Contains|y"), QStringLiteral("And|A||Equals|x")}));
    EXPECT_EQ(grid().getCurrentRow(), 1);
    EXPECT_FALSE(tab->button(TButton::MoveUp)->isEnabled());
    Click(TButton::MoveDown);
    EXPECT_EQ(Rows(tab->gridState()),
              QStringList({QStringLiteral("|A||Equals|x"), QStringLiteral("And|B||Contains|y")}));
    EXPECT_EQ(grid().getCurrentRow(), 2);
    grid().MoveToCell(fcTaskFld, 5);
    EXPECT_FALSE(tab->button(TButton::MoveDown)->isEnabled());

    // Refresh: a half-filled row 2 goes, the former row 3 keeps its And/Or.
    TypeInto(fcTaskFldDesc, 3, QStringLiteral("only a description"));
    TypeInto(fcTaskFld, 4, QStringLiteral("d"));
    grid().MoveToCell(fcAndOr, 4);
    QTest::keyClick(tab->andOrList(), Qt::Key_Down); // Or
    Click(TButton::Refresh);
    EXPECT_EQ(Rows(tab->gridState()),
              QStringList({QStringLiteral("|A||Equals|x"), QStringLiteral("And|B||Contains|y"),
                           QStringLiteral("Or|D||Equals|")}));
}

TEST_F(TabDSFTest, TurningTheFilterOffKeepsIncompleteRows) {
    Show({QStringLiteral("|A||Equals|x")});
    TypeInto(fcTaskFldDesc, 3, QStringLiteral("note"));
    EXPECT_TRUE(grid().getGutterImageVisible(3));
    Click(TButton::Enable);
    EXPECT_FALSE(grid().getEnabled());
    EXPECT_FALSE(grid().getGutterImageVisible(3));
    EXPECT_EQ(tab->titleImage()->getTag(), 2);
    tab->PrepareProcess(); // a run with the filter off leaves the rows alone too
    Click(TButton::Enable);
    EXPECT_EQ(Rows(tab->gridState()),
              QStringList({QStringLiteral("|A||Equals|x"), QStringLiteral("||||"),
                           QStringLiteral("||note||")}));
    EXPECT_TRUE(grid().getGutterImageVisible(3));
    tab->Store();
    EXPECT_EQ(sd().DSF->getCount(), 1);
    EXPECT_EQ(sd().DSF->getEnabled(), 1);

    // A run of an enabled filter shows only the rows it uses.
    tab->PrepareProcess();
    EXPECT_EQ(Rows(tab->gridState()), QStringList({QStringLiteral("|A||Equals|x")}));

    // Without a definition the tab is empty and disabled, its picture ok.
    TypeInto(fcTaskFld, 2, QStringLiteral("q"));
    tab->Enable(false);
    EXPECT_TRUE(tab->gridState().IsEmpty());
    EXPECT_FALSE(grid().getEnabled());
    EXPECT_FALSE(tab->button(TButton::Enable)->isEnabled());
    EXPECT_FALSE(tab->button(TButton::Enable)->isChecked());
    EXPECT_EQ(tab->titleImage()->getTag(), 2);
}

TEST_F(TabDSFTest, BrowsingAFieldAndItsValuesImportsOnceFromTheWorkbook) {
    Show({QStringLiteral("|D||Does Not Equal|Civil")});
    testsupport::FakeBrowseFld fields;
    testsupport::FakeBrowseVal values;
    fields.answers = {{4, {}}, {1, QStringLiteral("C")}};
    fields.desc = QStringLiteral("Area\nof work");
    fields.importDesc = true;
    grid().MoveToCell(fcTaskFld, 3);
    tab->button(TButton::TaskFldBrowse)->click();
    ASSERT_EQ(fields.calls.size(), 2u) << "Refresh shows the window again";
    EXPECT_EQ(fields.calls[0].caption, QStringLiteral("Select Data Source Filter Task Field"));
    EXPECT_EQ(fields.calls[0].subject, QStringLiteral("ID [3] Task Field"));
    EXPECT_TRUE(sd().getFL_Loaded());
    EXPECT_EQ(host.imports, 1);
    EXPECT_EQ(host.importDepth, 0);
    EXPECT_EQ(Rows(tab->gridState()).value(2), QStringLiteral("And|C|Area of work|Equals|"));
    EXPECT_EQ(host.modifiedMarks, 1);

    values.answers = {{1, QStringLiteral("North")}, {2, {}}};
    grid().MoveToCell(fcValue, 3);
    tab->button(TButton::TaskFldValueBrowse)->click();
    EXPECT_EQ(host.imports, 2);
    ASSERT_EQ(values.calls.size(), 1u);
    const int list = values.calls[0].index;
    EXPECT_EQ(sd().getVL_TaskFld(list), QStringLiteral("C"));
    EXPECT_TRUE(sd().getVL_Loaded(list));
    EXPECT_EQ(Rows(tab->gridState()).value(2), QStringLiteral("And|C|Area of work|Equals|North"));
    EXPECT_EQ(host.modifiedMarks, 2);

    // The loaded list is used again; Cancel changes nothing.
    tab->button(TButton::TaskFldValueBrowse)->click();
    EXPECT_EQ(host.imports, 2);
    ASSERT_EQ(values.calls.size(), 2u);
    EXPECT_EQ(values.calls[1].index, list);
    EXPECT_EQ(values.calls[1].preselection, QStringLiteral("NORTH"));
    EXPECT_EQ(host.modifiedMarks, 2);

    // A failed import (the task worksheet is missing) leaves the grid as it was and the window
    // no longer busy.
    TypeInto(fcTaskFld, 4, QStringLiteral("a"));
    sd().SCF->setDSF_TaskWS(QStringLiteral("No Such Sheet"));
    const TFilterGridModel before = tab->gridState();
    const int marks = host.modifiedMarks;
    grid().MoveToCell(fcValue, 4);
    tab->button(TButton::TaskFldValueBrowse)->click();
    EXPECT_EQ(host.imports, 3);
    EXPECT_EQ(host.importDepth, 0);
    EXPECT_EQ(values.calls.size(), 2u);
    EXPECT_EQ(Rows(tab->gridState()), Rows(before));
    EXPECT_EQ(host.modifiedMarks, marks);

    // A row without a task field stops at the field check.
    dlg.shown.clear();
    grid().MoveToCell(fcValue, 5);
    tab->button(TButton::TaskFldValueBrowse)->click();
    EXPECT_EQ(values.calls.size(), 2u);
    ASSERT_EQ(dlg.shown.size(), 1u);
    EXPECT_TRUE(
        dlg.shown[0].lines.join(QLatin1Char(' ')).contains(QStringLiteral("ID [5] Task Field")));
}

TEST_F(TabDSFTest, TaskFieldKeysAreLettersUpToThreeInTheWorkbooksRange) {
    Show({});
    TypeInto(fcTaskFld, 1, QStringLiteral("abcd"));
    EXPECT_EQ(tab->gridState().text(fcTaskFld, 1), QStringLiteral("ABC"));
    ASSERT_EQ(host.balloon.shown.size(), 1u);
    EXPECT_EQ(host.balloon.shown[0].text,
              QStringLiteral("The maximum length for this Field is 3 characters."));
    sd().SCF->setDSF_DrivePathFilenameExtnXL(dir.filePath(QStringLiteral("old.xls")));
    TypeInto(fcTaskFld, 2, QStringLiteral("-"));
    ASSERT_EQ(host.balloon.shown.size(), 2u);
    EXPECT_EQ(host.balloon.shown[1].text,
              QStringLiteral("Please enter a valid Task Field.\nValid Range: A..IV"));
    EXPECT_EQ(tab->gridState().text(fcTaskFld, 2), QString());
}

TEST_F(TabDSFTest, ArrowKeysLeaveAListAndErrorsLeadToTheirCell) {
    Show({QStringLiteral("|A||Equals|x"), QStringLiteral("And|B||Equals|y")});
    grid().MoveToCell(fcOperator, 2);
    QTest::keyClick(tab->operatorList(), Qt::Key_Right);
    EXPECT_EQ(grid().getCurrentCol(), fcValue);
    grid().MoveToCell(fcAndOr, 2);
    QTest::keyClick(tab->andOrList(), Qt::Key_Left);
    EXPECT_EQ(QPoint(grid().getCurrentCol(), grid().getCurrentRow()), QPoint(5, 1));
    grid().MoveToCell(fcOperator, 1);
    QTest::keyClick(tab->operatorList(), Qt::Key_Tab);
    EXPECT_EQ(QPoint(grid().getCurrentCol(), grid().getCurrentRow()), QPoint(5, 1));
    EXPECT_EQ(host.modifiedMarks, 0);

    const struct {
        int fieldId, rowId;
        QPoint cell;
    } jumps[] = {{791, 2, {fcTaskFld, 2}},
                 {793, 1, {fcOperator, 1}},
                 {794, 2, {fcValue, 2}},
                 {791, 0, {fcTaskFld, 1}}};
    for (const auto& j : jumps) {
        tab->GoToField(j.fieldId, j.rowId);
        EXPECT_EQ(QPoint(grid().getCurrentCol(), grid().getCurrentRow()), j.cell) << j.fieldId;
    }
}

// The And/Or and Operator lists lie inside their cell's grid lines, as wide as the space between
// them and centred in the row, and show their longest item whole, whether the columns are sized
// automatically or not.
TEST_F(TabDSFTest, InCellListsLieInsideTheirCellsAndShowTheirLongestItemWhole) {
    for (const bool autoSize : {false, true}) {
        UP->setAutoSizeDSF(autoSize);
        Show({QStringLiteral("|A||Equals|x")});
        const struct {
            int col;
            int firstRow;
            QComboBox* list;
        } lists[] = {{fcAndOr, 2, tab->andOrList()}, {fcOperator, 1, tab->operatorList()}};
        for (const auto& l : lists) {
            for (int row = l.firstRow; row <= TFilterGridModel::RowCount; ++row) {
                SCOPED_TRACE(testing::Message() << "column " << l.col << " row " << row
                                                << (autoSize ? " sized automatically" : ""));
                grid().MoveToCell(l.col, row);
                ASSERT_TRUE(l.list->isVisible());
                const QRect cell = grid().geometry().cellRect(l.col, row).toQRect();
                const QRect inside(
                    grid().viewport()->mapTo(l.list->parentWidget(), cell.topLeft()) + QPoint(1, 1),
                    cell.size() - QSize(2, 2));
                const QRect box = l.list->geometry();
                EXPECT_TRUE(inside.contains(box));
                EXPECT_EQ(box.left(), inside.left());
                EXPECT_EQ(box.right(), inside.right());
                EXPECT_GE(box.top(), inside.top());
                EXPECT_LE(box.bottom(), inside.bottom()) << "not over the row's bottom line";
                EXPECT_LE(std::abs((box.top() - inside.top()) - (inside.bottom() - box.bottom())),
                          1);

                QStyleOptionComboBox option;
                option.initFrom(l.list);
                const QRect field = l.list->style()->subControlRect(
                    QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, l.list);
                for (int i = 0; i < l.list->count(); ++i) {
                    EXPECT_GE(field.width() - 2,
                              l.list->fontMetrics().horizontalAdvance(l.list->itemText(i)))
                        << l.list->itemText(i).toStdString();
                }
                EXPECT_GE(box.width(), l.list->sizeHint().width());
            }
        }
    }
}

TEST_F(TabDSFTest, AutoSizeIsAPreferenceSavedAtOnce) {
    UP->setAutoSizeDSF(false);
    Show({QStringLiteral("|A|A much longer description than the column shows|Equals|x")});
    ASSERT_FALSE(tab->button(TButton::AutoSize)->isChecked());
    const int before = grid().getColWidths(fcTaskFldDesc);
    Click(TButton::AutoSize);
    EXPECT_TRUE(UP->getAutoSizeDSF());
    EXPECT_GT(grid().getColWidths(fcTaskFldDesc), before);
    Click(TButton::AutoSize);
    EXPECT_FALSE(UP->getAutoSizeDSF());
    UP->setAutoSizeDSF(true);
    tab->Load();
    EXPECT_TRUE(tab->button(TButton::AutoSize)->isChecked());
    EXPECT_EQ(host.modifiedMarks, 0);
}

TEST_F(TabDSFTest, UpdatingDescriptionsAsksAndMarksOnlyAChange) {
    Show({QStringLiteral("|C|old|Equals|North"), QStringLiteral("Or|Q||Equals|x")});
    sd().setFL_Count(1);
    sd().setFL_TaskFld(1, QStringLiteral("C"));
    sd().setFL_TaskFldDesc(1, QStringLiteral("Area"));
    sd().setFL_Loaded(true);
    dlg.answers = {mrNo};
    Click(TButton::UpdateTaskFldDesc);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF021")}));
    EXPECT_EQ(host.modifiedMarks, 0);

    dlg.shown.clear();
    dlg.answers = {mrYes, mrClose};
    Click(TButton::UpdateTaskFldDesc);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF021"), QStringLiteral("MF022")}));
    EXPECT_EQ(dlg.shown[1].lines,
              QStringList({QStringLiteral("Task Field Descriptions Updated: 1"), QString(),
                           QStringLiteral("Task Fields Not Found: 1"), QString(),
                           QStringLiteral("Undefined Task Fields: 3")}));
    EXPECT_EQ(Rows(tab->gridState()), QStringList({QStringLiteral("|C|Area|Equals|North"),
                                                   QStringLiteral("Or|Q||Equals|x")}));
    EXPECT_EQ(host.modifiedMarks, 1);
    dlg.answers = {mrYes, mrClose};
    Click(TButton::UpdateTaskFldDesc);
    EXPECT_EQ(host.modifiedMarks, 1) << "the same descriptions again";

    Show({});
    dlg.shown.clear();
    Click(TButton::UpdateTaskFldDesc);
    EXPECT_EQ(dlg.keys(), QStringList({QStringLiteral("MF020")}));
}

// The button panel at the narrowest the page gets: the buttons keep their widths, 8 pixels apart
// and from the page's edges, on two rows.
TEST_F(TabDSFTest, ButtonsKeepTheirWidthsEightPixelsApartAtTheNarrowestPage) {
    tab->resize(tab->minimumSizeHint());
    tab->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tab.get()));
    std::map<int, std::vector<QRect>> rows; // by top, left to right
    for (QAbstractButton* b : tab->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && b->width() >= formmetrics::ScaledWidth(60)) {
            rows[b->mapTo(tab.get(), QPoint(0, 0)).y()].push_back(
                QRect(b->mapTo(tab.get(), QPoint(0, 0)), b->size()));
        }
    }
    ASSERT_EQ(rows.size(), 2u);
    const std::vector<std::vector<int>> widths{{100, 100, 100, 60, 60, 80, 80}, {80, 190}};
    int row = 0;
    for (auto& [top, buttons] : rows) {
        SCOPED_TRACE(row);
        std::sort(buttons.begin(), buttons.end(),
                  [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
        ASSERT_EQ(buttons.size(), widths[size_t(row)].size());
        for (size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i].width(), formmetrics::ScaledWidth(widths[size_t(row)][i])) << i;
            if (i == 1) {
                EXPECT_GE(buttons[i].x() - buttons[i - 1].right() - 1, 8) << "beside the switch";
            } else if (i > 1) {
                EXPECT_EQ(buttons[i].x() - buttons[i - 1].right() - 1, 8) << i;
            }
        }
        EXPECT_EQ(buttons.front().x(), 8);
        EXPECT_EQ(tab->width() - 1 - buttons.back().right(), 8);
        ++row;
    }
}

} // namespace
} // namespace formstest
