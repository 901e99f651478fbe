// The Home tab: its model over a real definition (what it loads, stores and validates, and its
// enabling rules as tables), and the page itself hosted by a recording tab host, offscreen.
#include "forms/StatusImage.h"
#include "forms/tabs/TabPDModel.h"
#include "forms/tabs/Tab_PD.h"
#include "model/ModelUtils.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "support/FakeDataFile.h"
#include "support/FakeShell.h"
#include "support/FakeStdDlg.h"
#include "support/FakeTabHost.h"
#include "support/ModelGlobals.h"

#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using tabpd::TStatus;
using tabpd::TWorkbook;
using TBox = TTab_PD::TBox;

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// Types a text as key presses, characters beyond ASCII included.
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The globals the tab works on (DV, SDs, DF) with one active definition, a fixed today and a
// temporary folder.
class TabPD : public testsupport::ModelGlobalsFixture {
protected:
    void SetUp() override {
        ModelGlobalsFixture::SetUp();
        SDs->setActiveSD(SDs->Add());
        TovSD& d = sd();
        d.setDescription(Q("Demo"));
        d.SCF->setDSF_DrivePathFilenameExtnXL(Path(Q("tasks.xlsx")));
        d.SCF->setTF_DrivePathFilenameExtnXL(Path(Q("template.xlsx")));
        d.SCF->setOF_DrivePathFilenameExtnXL(Path(Q("out.xlsx")));
        d.SCO->setGenerateBL(1);
        d.SCO->setGraphMH(1);
        d.SCO->setCutOffDate(41000);
        DF->setModified(false);
    }
    void TearDown() override {
        page.reset();
        ModelGlobalsFixture::TearDown();
    }

    static TovSD& sd() { return *SDs->getItems(SDs->getActiveSD()); }

    // The page as the main window drives it when the Home tab comes on screen.
    TTab_PD& ShowPage() {
        page = std::make_unique<TTab_PD>(host, nullptr);
        page->resize(900, 520);
        page->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        page->Enable(true);
        page->Load();
        page->Refresh();
        return *page;
    }

    QLineEdit* Box(TBox which) const { return page->box(which); }
    bool IsError(TStatus status) const { return page->statusImage(status)->getTag() == 1; }
    QString Hint(TStatus status) const { return page->statusImage(status)->toolTip(); }

    testsupport::FakeTabHost host;
    std::unique_ptr<TTab_PD> page;
};

// ---- Model ----

TEST_F(TabPD, ValidationShowsTheFirstFailingCheckOfEachMirroredValue) {
    struct Case {
        const char* name;
        QString dataSource, templ, output;
        uint8_t baseline, graphMH;
        uint8_t filterEnabled;
        std::array<bool, tabpd::kStatusCount> errors; // DS, TF, OF, data, quantity, filter
    };
    const QString ds = Q("/work/tasks.xlsx");
    const QString tf = Q("/work/template.xlsx");
    const QString of = Q("/work/out.xlsx");
    const Case cases[] = {
        {"all set", ds, tf, of, 1, 1, 0, {false, false, false, false, false, false}},
        {"no paths", Q(""), Q(""), Q(""), 1, 1, 0, {true, true, true, false, false, false}},
        {"relative path",
         Q("tasks.xlsx"),
         tf,
         of,
         1,
         1,
         0,
         {true, false, false, false, false, false}},
        {"data source not a workbook",
         Q("/work/tasks.txt"),
         tf,
         of,
         1,
         1,
         0,
         {true, false, false, false, false, false}},
        {"template is the data source",
         ds,
         ds,
         of,
         1,
         1,
         0,
         {false, true, false, false, false, false}},
        {"paths differing in case are two files",
         ds,
         Q("/work/TASKS.xlsx"),
         of,
         1,
         1,
         0,
         {false, false, false, false, false, false}},
        {"output extension differs from the template's",
         ds,
         tf,
         Q("/work/out.xls"),
         1,
         1,
         0,
         {false, false, true, false, false, false}},
        {"output over the template",
         ds,
         tf,
         tf,
         1,
         1,
         0,
         {false, false, true, false, false, false}},
        {"output over the data source",
         ds,
         tf,
         ds,
         1,
         1,
         0,
         {false, false, true, false, false, false}},
        {"nothing generated, nothing graphed",
         ds,
         tf,
         of,
         0,
         0,
         0,
         {false, false, false, true, true, false}},
        {"filter on without rows", ds, tf, of, 1, 1, 1, {false, false, false, false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TovSD& d = sd();
        d.SCF->setDSF_DrivePathFilenameExtnXL(c.dataSource);
        d.SCF->setTF_DrivePathFilenameExtnXL(c.templ);
        d.SCF->setOF_DrivePathFilenameExtnXL(c.output);
        d.SCO->setGenerateBL(c.baseline);
        d.SCO->setGraphMH(c.graphMH);
        d.DSF->setEnabled(c.filterEnabled);
        const tabpd::TStatusResults results = tabpd::Validate(d, *DV);
        for (size_t i = 0; i < results.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(results[i].IsError, c.errors[i]);
            EXPECT_EQ(results[i].Message.isEmpty(), !c.errors[i]);
        }
    }
}

TEST_F(TabPD, EnablingRules) {
    struct Case {
        bool pageEnabled;
        QString dataSource, output;
        uint8_t baseline, actual, target;
        bool openDataSource, openTemplate, openOutput, cutOffDate;
    };
    const QString path = Q("/work/a.xlsx");
    const Case cases[] = {
        {true, path, path, 1, 0, 0, true, true, true, true},
        {true, Q(""), path, 0, 1, 0, false, true, true, true},
        {true, path, Q(""), 0, 0, 1, true, true, false, true},
        {true, path, path, 0, 0, 0, true, true, true, false},
        {false, path, path, 1, 1, 1, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pageEnabled << " '" << c.dataSource.toStdString()
                                        << "' '" << c.output.toStdString() << "' "
                                        << int(c.baseline) << int(c.actual) << int(c.target));
        TovSD& d = sd();
        d.SCF->setDSF_DrivePathFilenameExtnXL(c.dataSource);
        d.SCF->setOF_DrivePathFilenameExtnXL(c.output);
        d.SCO->setGenerateBL(c.baseline);
        d.SCO->setGenerateACT(c.actual);
        d.SCO->setGenerateTGT(c.target);
        const tabpd::TStates states = tabpd::States(c.pageEnabled, d);
        EXPECT_EQ(states.OpenEnabled[0], c.openDataSource);
        EXPECT_EQ(states.OpenEnabled[1], c.openTemplate);
        EXPECT_EQ(states.OpenEnabled[2], c.openOutput);
        EXPECT_EQ(states.CutOffDateEnabled, c.cutOffDate);
    }
}

TEST_F(TabPD, StoreWritesTrimmedDetailsAndReportsOnlyRealChanges) {
    TovSD& d = sd();
    d.PD->setProjectTitle(Q("Bridge"));
    d.SCO->setCutOffDate(41000.75); // a stored time of day
    tabpd::TValues values = tabpd::Load(d);
    EXPECT_FALSE(tabpd::Store(values, d)) << "what was loaded stores as no change";
    EXPECT_EQ(d.SCO->getCutOffDate(), 41000.75) << "the time of day survives an untouched date";

    values.ProjectTitle = Q("  Bridge  ");
    EXPECT_FALSE(tabpd::Store(values, d)) << "blanks around the same title change nothing";

    values.ProjectNumber = Q(" P-7 ");
    values.ProjectClient = Q("Harbour Board");
    values.CutOffDate = 41010;
    EXPECT_TRUE(tabpd::Store(values, d));
    EXPECT_EQ(d.PD->getProjectNumber(), Q("P-7"));
    EXPECT_EQ(d.PD->getProjectClient(), Q("Harbour Board"));
    EXPECT_EQ(d.SCO->getCutOffDate(), 41010.0);

    // A run moves the stored date while these values are still on screen: storing them again
    // does not put the old date back.
    d.SCO->setCutOffDate(41020);
    EXPECT_FALSE(tabpd::Store(values, d));
    EXPECT_EQ(d.SCO->getCutOffDate(), 41020.0);
}

// ---- Page ----

// The mirrors show what the other tabs stored, even when it is wrong: loading repairs nothing
// and marks nothing; the status pictures report the faults instead.
TEST_F(TabPD, LoadingShowsStoredPathsAsStoredAndMarksNothing) {
    TovSD& d = sd();
    const QString dataSource = Path(Q("tasks.txt"));
    const QString templ = Path(Q("a.xls"));
    const QString output = Path(Q("b.xlsx"));
    d.SCF->setDSF_DrivePathFilenameExtnXL(dataSource);
    d.SCF->setTF_DrivePathFilenameExtnXL(templ);
    d.SCF->setOF_DrivePathFilenameExtnXL(output);

    ShowPage();
    EXPECT_EQ(page->values().DataSourcePath, dataSource);
    EXPECT_EQ(Box(TBox::DataSourcePath)->toolTip(), dataSource);
    EXPECT_EQ(Box(TBox::TemplatePath)->toolTip(), templ);
    EXPECT_EQ(Box(TBox::OutputPath)->toolTip(), output);
    EXPECT_EQ(Box(TBox::DataSourcePath)->text(), dataSource) << "wide enough to show it whole";
    EXPECT_EQ(d.SCF->getDSF_DrivePathFilenameExtnXL(), dataSource);
    EXPECT_EQ(d.SCF->getOF_DrivePathFilenameExtnXL(), output);
    EXPECT_EQ(host.modifiedMarks, 0);
    EXPECT_FALSE(DF->getModified());

    EXPECT_TRUE(IsError(TStatus::DataSource));
    EXPECT_TRUE(Hint(TStatus::DataSource).contains(Q("Data Source File")));
    EXPECT_FALSE(IsError(TStatus::Template));
    EXPECT_TRUE(IsError(TStatus::Output));

    page->Store();
    EXPECT_EQ(host.modifiedMarks, 0) << "storing what was loaded changes nothing";
}

TEST_F(TabPD, LongMirrorsAreShortenedWithTheWholeTextAsHint) {
    const QString deep = Q("/srv/projects/") + QString(200, QLatin1Char('d')) + Q("/plan.xlsx");
    sd().SCF->setDSF_DrivePathFilenameExtnXL(deep);
    ShowPage();
    const QString shown = Box(TBox::DataSourcePath)->text();
    EXPECT_TRUE(shown.contains(Q("..."))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(Q("/plan.xlsx"))) << "the file name stays";
    EXPECT_EQ(Box(TBox::DataSourcePath)->toolTip(), deep);
    EXPECT_EQ(page->values().DataSourcePath, deep);
}

TEST_F(TabPD, EditsRoundTripThroughTheDataFile) {
    ShowPage();
    QTest::keyClicks(Box(TBox::ProjectTitle), Q("  North Bridge "));
    QTest::keyClicks(Box(TBox::ProjectNumber), Q("NB-2013-07"));
    Type(Box(TBox::ProjectClient), Q("Caf\xC3\xA9 Harbour Board"));
    page->cutOffDatePicker()->setDate(QDate(2013, 2, 28));
    EXPECT_GT(host.modifiedMarks, 0);
    page->Store();
    EXPECT_EQ(sd().PD->getProjectTitle(), Q("North Bridge"));

    const QString path = Path(Q("round.krvc"));
    dialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(DF->Close());
    ASSERT_TRUE(DF->OpenMRU(path)) << dlg.keys().join(QLatin1Char(',')).toStdString();
    SDs->setActiveSD(1);

    page->Clear();
    page->Load();
    page->Refresh();
    EXPECT_EQ(Box(TBox::ProjectTitle)->text(), Q("North Bridge"));
    EXPECT_EQ(Box(TBox::ProjectNumber)->text(), Q("NB-2013-07"));
    EXPECT_EQ(Box(TBox::ProjectClient)->text(), Q("Caf\xC3\xA9 Harbour Board"));
    EXPECT_EQ(page->cutOffDatePicker()->date(), QDate(2013, 2, 28));
    EXPECT_EQ(page->cutOffDatePicker()->text(), Q("28-Feb-2013"));
    EXPECT_EQ(page->values().CutOffDate, 41333.0);
}

TEST_F(TabPD, FullDetailBoxRefusesMoreWithTheBalloonButMirrorsNever) {
    ShowPage();
    QLineEdit* title = Box(TBox::ProjectTitle);
    title->setFocus();
    QTest::keyClicks(title, QString(255, QLatin1Char('t')));
    EXPECT_TRUE(host.balloon.shown.empty());
    QTest::keyClick(title, Qt::Key_X);
    EXPECT_EQ(title->text().size(), 255);
    ASSERT_EQ(host.balloon.shown.size(), 1U);
    EXPECT_EQ(host.balloon.shown.back().text,
              Q("The maximum length for this Field is 255 characters."));
    QTest::keyClick(title, Qt::Key_Backspace);
    EXPECT_EQ(title->text().size(), 254) << "control keys still work when full";

    for (TBox mirror : {TBox::DataSourcePath, TBox::DataOptions, TBox::FilterDetails}) {
        QLineEdit* box = Box(mirror);
        const QString before = box->text();
        box->setFocus();
        QTest::keyClicks(box, Q("x*?|"));
        EXPECT_EQ(box->text(), before);
    }
    EXPECT_EQ(host.balloon.shown.size(), 1U) << "no balloon from a read-only box";
    EXPECT_EQ(page->values().DataSourcePath, sd().SCF->getDSF_DrivePathFilenameExtnXL());
}

TEST_F(TabPD, CutOffDateEditMarksModifiedAndIsStored) {
    ShowPage();
    QDateEdit* picker = page->cutOffDatePicker();
    EXPECT_TRUE(picker->isEnabled());
    EXPECT_EQ(picker->date(), QDate(2012, 4, 1)); // day 41000
    picker->setFocus();
    QTest::keyClick(picker, Qt::Key_Up); // the day section
    EXPECT_EQ(picker->date(), QDate(2012, 4, 2));
    EXPECT_EQ(host.modifiedMarks, 1);
    EXPECT_EQ(sd().SCO->getCutOffDate(), 41000.0) << "reaches the definition at Store";
    page->Store();
    EXPECT_EQ(sd().SCO->getCutOffDate(), 41001.0);
}

TEST_F(TabPD, WithoutAnyDataSetTheCutOffDateIsDisabled) {
    sd().SCO->setGenerateBL(0);
    ShowPage();
    EXPECT_FALSE(page->cutOffDatePicker()->isEnabled());
    EXPECT_FALSE(page->cutOffDateNote()->isEnabled());
    EXPECT_TRUE(IsError(TStatus::DataOptions));
    EXPECT_TRUE(Box(TBox::ProjectTitle)->isEnabled());
}

TEST_F(TabPD, EnterWalksTheBoxesAndExitTrims) {
    ShowPage();
    QLineEdit* title = Box(TBox::ProjectTitle);
    title->setFocus();
    QTest::keyClick(title, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(title->hasFocus()) << "Shift+Enter in the first box stays";
    QTest::keyClicks(title, Q("  Dam  "));
    QTest::keyClick(title, Qt::Key_Return);
    EXPECT_TRUE(Box(TBox::ProjectNumber)->hasFocus());
    EXPECT_EQ(title->text(), Q("Dam")) << "trimmed on leaving";
    EXPECT_FALSE(title->isUndoAvailable());
    EXPECT_EQ(page->values().ProjectTitle, Q("Dam"));

    QTest::keyClick(Box(TBox::ProjectNumber), Qt::Key_Enter);
    QTest::keyClick(Box(TBox::ProjectClient), Qt::Key_Return);
    EXPECT_TRUE(Box(TBox::DataSourcePath)->hasFocus()) << "on into the read-only mirrors";
    Box(TBox::FilterDetails)->setFocus();
    QTest::keyClick(Box(TBox::FilterDetails), Qt::Key_Return);
    EXPECT_TRUE(Box(TBox::FilterDetails)->hasFocus()) << "Enter in the last box stays";
    QTest::keyClick(Box(TBox::FilterDetails), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(Box(TBox::QuantityOptions)->hasFocus());
}

TEST_F(TabPD, StatusPictureDoubleClickLeadsToTheOwningField) {
    ShowPage();
    const std::pair<TStatus, std::pair<int, int>> cases[] = {
        {TStatus::DataSource, {1, 747}},      {TStatus::Template, {1, 752}},
        {TStatus::Output, {1, 757}},          {TStatus::DataOptions, {2, 759}},
        {TStatus::QuantityOptions, {2, 768}}, {TStatus::FilterDetails, {4, 0}},
    };
    for (const auto& [status, target] : cases) {
        host.fieldsGoneTo.clear();
        QTest::mouseDClick(page->statusImage(status), Qt::LeftButton);
        ASSERT_EQ(host.fieldsGoneTo.size(), 1U) << static_cast<int>(status);
        EXPECT_EQ(host.fieldsGoneTo.front(), target);
    }

    // Without a data set the quantity boxes are disabled: the data options take the user.
    sd().SCO->setGenerateBL(0);
    host.fieldsGoneTo.clear();
    QTest::mouseDClick(page->statusImage(TStatus::QuantityOptions), Qt::LeftButton);
    EXPECT_EQ(host.fieldsGoneTo, (std::vector<std::pair<int, int>>{{2, 759}}));
}

TEST_F(TabPD, ConfigurationErrorFieldSelectsItsBox) {
    sd().PD->setProjectNumber(Q("P-1"));
    ShowPage();
    Box(TBox::ProjectTitle)->setFocus();
    page->GoToField(745, 0);
    EXPECT_TRUE(Box(TBox::ProjectNumber)->hasFocus());
    EXPECT_EQ(Box(TBox::ProjectNumber)->selectedText(), Q("P-1"));
    page->GoToField(747, 0); // a field of another tab
    EXPECT_TRUE(Box(TBox::ProjectNumber)->hasFocus());
}

TEST_F(TabPD, OpenButtonsOpenExistingWorkbooksOnly) {
    testsupport::ScopedFakeShell shell;
    const QStringList& opened = shell.Opened;
    {
        QFile file(Path(Q("tasks.xlsx")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    sd().SCF->setOF_DrivePathFilenameExtnXL(QString());
    sd().setWSL_Loaded(1, true);
    sd().setFL_Loaded(true);
    ShowPage();
    EXPECT_FALSE(page->openButton(TWorkbook::Output)->isEnabled()) << "no output path";
    EXPECT_TRUE(page->openButton(TWorkbook::Template)->isEnabled());

    QTest::mouseClick(page->openButton(TWorkbook::DataSource), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{Path(Q("tasks.xlsx"))});
    EXPECT_FALSE(sd().getWSL_Loaded(1)) << "the workbook may change while it is open";
    EXPECT_FALSE(sd().getFL_Loaded());
    EXPECT_EQ(host.pageFocuses, 1);

    QTest::mouseClick(page->openButton(TWorkbook::Template), Qt::LeftButton);
    EXPECT_EQ(opened.size(), 1) << "a template that does not exist is not opened";
    ASSERT_EQ(dlg.shown.size(), 1U);
    EXPECT_EQ(dlg.shown.front().key, Q("UDV004")) << "the file does not exist";
}

TEST_F(TabPD, DisabledPageIsEmptyAllOkAndStoresNothing) {
    sd().SCO->setGenerateBL(0);
    ShowPage();
    ASSERT_TRUE(IsError(TStatus::DataOptions));
    sd().PD->setProjectTitle(Q("Kept"));
    page->Enable(false);
    EXPECT_TRUE(Box(TBox::ProjectTitle)->text().isEmpty());
    EXPECT_TRUE(Box(TBox::DataSourcePath)->text().isEmpty());
    EXPECT_FALSE(Box(TBox::ProjectTitle)->isEnabled());
    EXPECT_FALSE(page->openButton(TWorkbook::DataSource)->isEnabled());
    for (int i = 0; i < tabpd::kStatusCount; ++i) {
        EXPECT_EQ(page->statusImage(static_cast<TStatus>(i))->getTag(), 2) << i;
    }
    EXPECT_EQ(page->cutOffDatePicker()->date(), QDate(2013, 3, 15)) << "today";
    page->Store();
    page->Load();
    EXPECT_EQ(sd().PD->getProjectTitle(), Q("Kept"));
    EXPECT_TRUE(Box(TBox::ProjectTitle)->text().isEmpty());
}

} // namespace
