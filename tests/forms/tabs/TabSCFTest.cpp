// The S Curve Files tab: its rules as tables over the boxes' texts, and the page itself hosted
// by a recording tab host over the program's real definitions, validator, data file and
// workbook import, with scripted file dialogues and browse windows.
#include "forms/StatusImage.h"
#include "forms/tabs/TabSCFModel.h"
#include "forms/tabs/Tab_SCF.h"
#include "model/ModelPrefs.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "program/GlobalObjects.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "support/FakeBrowseWindows.h"
#include "support/FakeDataFile.h"
#include "support/FakeProgress.h"
#include "support/FakeShell.h"
#include "support/FakeStdDlg.h"
#include "support/FakeTabHost.h"
#include "support/TempRegistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// Failures print the boxes' texts.
void PrintTo(const TSCFBoxes& boxes, std::ostream* os) {
    *os << QStringList(boxes.Text.begin(), boxes.Text.end()).join(QLatin1Char('|')).toStdString();
}

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// The program's global objects over a private registry in which the spreadsheet application
// is installed (or not).
class Globals {
public:
    explicit Globals(bool excelInstalled, IFileDialogs* dialogs) {
        registry.writeMachineHive(excelInstalled
                                      ? QByteArray("Windows Registry Editor Version 5.00\r\n\r\n"
                                                   "[HKEY_CLASSES_ROOT\\Excel.Application\\CurVer]"
                                                   "\r\n@=\"Excel.Application.15\"\r\n")
                                      : QByteArray("Windows Registry Editor Version 5.00\r\n"));
        TGlobalObjectsSetup setup;
        setup.FileDialogs = dialogs;
        setup.LoadSettings = false;
        using enum TGlobalObject;
        objects = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{goAD, goXL, goOCP, goDV, goUP, goSDs, goDF,
                                                 goProcess, goRHs, goRFs},
            setup);
        DF->setRecentFiles(&recent);
        DF->New();
    }

    testsupport::TempRegistry registry;
    testsupport::FakeRecentFiles recent;
    std::unique_ptr<TGlobalObjects> objects;
};

// Boxes that pass every check.
TSCFBoxes ValidBoxes() {
    TSCFBoxes b;
    b[sbDSF_Path] = Q("/p/tasks.xlsx");
    b[sbDSF_TaskWS] = Q("Task_Table1");
    b[sbDSF_THR] = Q("1");
    b[sbTF_Path] = Q("/p/template.xlsx");
    b[sbTF_ProjectSummaryWS] = Q("Project Summary");
    b[sbTF_ChartDataWS] = Q("Chart Data");
    b[sbOF_Path] = Q("/p/out.xlsx");
    return b;
}

class TabSCFTest : public testing::Test {
protected:
    void SetUp() override { Start(true); }
    void Start(bool excelInstalled) {
        globals = std::make_unique<Globals>(excelInstalled, &fileDialogs);
        page = std::make_unique<TTab_SCF>(host, nullptr);
        page->setFileDialogs(&fileDialogs);
        page->resize(720, 420);
        page->show();
        QApplication::setActiveWindow(page.get());
        page->Enable(true);
        page->Load();
        page->Refresh();
        dlg.shown.clear();
    }
    void TearDown() override {
        page.reset();
        globals.reset();
    }

    TovSD& sd() const { return *SDs->getItems(SDs->getActiveSD()); }
    TovSCF& scf() const { return *sd().SCF; }
    QLineEdit* box(TSCFBox b) const { return page->box(b); }
    // Stores values as if they had been read from a data file, then shows them.
    void Show(const TSCFBoxes& boxes) {
        scfmodel::Store(boxes, scf());
        page->Load();
        page->Refresh();
        host.modifiedMarks = 0;
    }
    // The user replaces a box's text by typing and leaves it for the next box.
    void Type(TSCFBox b, const QString& text) {
        box(b)->setFocus();
        box(b)->selectAll();
        QTest::keyClick(box(b), Qt::Key_Delete);
        QTest::keyClicks(box(b), text);
        QTest::keyClick(box(b), Qt::Key_Tab);
    }
    QString File(const QString& name) const {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    static QString HintOfExtension(int caption, const QString& path) {
        DV->CheckExcelFileExt(UIT(caption), path);
        return DV->getHintText();
    }

    QTemporaryDir dir;
    testsupport::FakeFileDialogs fileDialogs;
    testsupport::FakeStdDlg dlg;
    testsupport::FakeProgress progress;
    testsupport::FakeBrowseWS browseWS;
    testsupport::FakeTabHost host;
    std::unique_ptr<Globals> globals;
    std::unique_ptr<TTab_SCF> page;
};

TEST_F(TabSCFTest, ExtensionRepairsTouchOnlyWhatTheUserEdited) {
    struct Case {
        const char* name;
        TSCFBoxes boxes;
        std::vector<TSCFBox> edited;
        TSCFBox box;
        const char* expected;
    };
    TSCFBoxes wrongSource = ValidBoxes();
    wrongSource[sbDSF_Path] = Q(" /p/tasks.txt ");
    TSCFBoxes noExtension = ValidBoxes();
    noExtension[sbTF_Path] = Q("/p/template");
    TSCFBoxes xlsOutput = ValidBoxes();
    xlsOutput[sbOF_Path] = Q("/p/out.xls");
    TSCFBoxes csvOutput = ValidBoxes();
    csvOutput[sbTF_Path] = Q("/p/template.doc");
    csvOutput[sbOF_Path] = Q("/p/out.csv");
    const Case cases[] = {
        {"stored wrong extension stays", wrongSource, {}, sbDSF_Path, " /p/tasks.txt "},
        {"edited wrong extension", wrongSource, {sbDSF_Path}, sbDSF_Path, "/p/tasks.xlsx"},
        {"edited missing extension", noExtension, {sbTF_Path}, sbTF_Path, "/p/template.xlsx"},
        {"output follows an edited template", xlsOutput, {sbTF_Path}, sbOF_Path, "/p/out.xlsx"},
        {"edited output takes the template's", xlsOutput, {sbOF_Path}, sbOF_Path, "/p/out.xlsx"},
        {"unedited output stays", xlsOutput, {sbDSF_Path}, sbOF_Path, "/p/out.xls"},
        {"no workbook template: preferred", csvOutput, {sbOF_Path}, sbOF_Path, "/p/out.xlsx"},
    };
    ASSERT_EQ(ModelPrefs()->getOFExtn(), Q(".xlsx"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSCFBoxes boxes = c.boxes;
        TSCFEdited edited{};
        for (const TSCFBox b : c.edited) {
            edited[b] = true;
        }
        const auto changed = scfmodel::RepairExtensions(boxes, edited, *DV);
        EXPECT_EQ(boxes[c.box], Q(c.expected));
        EXPECT_EQ(changed[c.box], boxes[c.box] != c.boxes[c.box]);
    }
}

TEST_F(TabSCFTest, EachStatusPictureReportsItsFirstFailingCheck) {
    struct Case {
        const char* name;
        TSCFBox box;
        const char* text;
        TSCFPicture failing; // SCFPictureCount: none fails
    };
    const Case cases[] = {
        {"all valid", sbDSF_Path, "/p/tasks.xlsx", SCFPictureCount},
        {"relative data source", sbDSF_Path, "tasks.xlsx", spDSF_Path},
        {"data source of another kind", sbDSF_Path, "/p/tasks.csv", spDSF_Path},
        {"no task worksheet", sbDSF_TaskWS, "  ", spDSF_TaskWS},
        {"refused worksheet character", sbDSF_TaskWS, "Tasks?", spDSF_TaskWS},
        {"header row zero", sbDSF_THR, "0", spDSF_THR},
        {"header row not a number", sbDSF_THR, "1x", spDSF_THR},
        {"header row beyond an xlsx sheet", sbDSF_THR, "1048576", spDSF_THR},
        {"template is the data source", sbTF_Path, "/p/./tasks.xlsx", spTF_Path},
        {"template names another file", sbTF_Path, "/p/Tasks.xlsx", SCFPictureCount},
        {"chart data same as summary", sbTF_ChartDataWS, "project SUMMARY", spTF_ChartDataWS},
        {"output kind differs from template", sbOF_Path, "/p/out.xls", spOF_Path},
        {"output over the data source", sbOF_Path, "/p//tasks.xlsx", spOF_Path},
        {"output over the template", sbOF_Path, "/q/../p/template.xlsx", spOF_Path},
        {"output differs in case only", sbOF_Path, "/p/TEMPLATE.xlsx", SCFPictureCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSCFBoxes boxes = ValidBoxes();
        boxes[c.box] = Q(c.text);
        const TSCFStatuses statuses = scfmodel::Validate(boxes, *DV);
        for (int p = 0; p < SCFPictureCount; ++p) {
            EXPECT_EQ(statuses[p].Error, p == c.failing) << p;
            EXPECT_EQ(statuses[p].Message.isEmpty(), p != c.failing) << p;
        }
    }
}

TEST_F(TabSCFTest, FileDialogueStartsInTheBoxFolderOrTheWorkbookKindsOwnFallback) {
    struct Case {
        TSCFWorkbook workbook;
        const char* current;
        const char* defaultOutput;
        bool folderExists;
        const char* expected;
    };
    const QString program = Q("/opt/krv/");
    const Case cases[] = {
        {swDataSource, "/home/u", "", true, "/box/"},
        {swDataSource, "/opt/krv", "", false, "/opt/krv/Samples/"},
        {swTemplate, "/opt/krv/", "", false, "/opt/krv/Templates/"},
        {swTemplate, "/opt/KRV", "", false, "/opt/KRV"}, // another folder on this file system
        {swDataSource, "/home/u", "/out/", false, "/home/u"},
        {swOutput, "/opt/krv", "/out/", false, "/out/"},
        {swOutput, "/home/u", "", false, "/home/u"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        const TSCFFolders folders{Q(c.current), program, Q(c.defaultOutput)};
        const TFileDialogSetup setup =
            scfmodel::BrowseSetup(c.workbook, Q(" /box/book.xlsx "), folders, c.folderExists, true);
        EXPECT_EQ(setup.DefaultFolder, Q(c.expected));
        EXPECT_EQ(setup.FileName, Q("/box/book.xlsx"));
        EXPECT_EQ(setup.FileMustExist, c.workbook != swOutput);
    }
}

TEST_F(TabSCFTest, OpenButtonsFollowTheirPathBoxesAndADisabledPageIsEmptyAndOk) {
    struct Case {
        const char* source;
        const char* templ;
        const char* output;
        bool sourceOpen, templateOpen, outputOpen;
    };
    const Case cases[] = {
        {"", "", "", false, false, false},
        {"   ", "/t.xlsx", "", false, true, false},
        {"/d.xlsx", "  ", "/o.xlsx", true, false, true},
        {"d", "t", "o", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        box(sbDSF_Path)->setText(Q(c.source));
        box(sbTF_Path)->setText(Q(c.templ));
        box(sbOF_Path)->setText(Q(c.output));
        EXPECT_EQ(page->openButton(swDataSource)->isEnabled(), c.sourceOpen);
        EXPECT_EQ(page->openButton(swTemplate)->isEnabled(), c.templateOpen);
        EXPECT_EQ(page->openButton(swOutput)->isEnabled(), c.outputOpen);
    }
    EXPECT_EQ(box(sbOF_Path)->toolTip(), UIT(txt::EnterPathAndFilenameOfOutputFile) + Q("\no"));
    box(sbOF_Path)->clear();
    EXPECT_EQ(box(sbOF_Path)->toolTip(), UIT(txt::EnterPathAndFilenameOfOutputFile));
    EXPECT_EQ(page->statusImage(spOF_Path)->getTag(), 1);

    page->Enable(false);
    for (int b = 0; b < SCFBoxCount; ++b) {
        EXPECT_TRUE(box(static_cast<TSCFBox>(b))->text().isEmpty()) << b;
        EXPECT_FALSE(box(static_cast<TSCFBox>(b))->isEnabled()) << b;
    }
    for (int p = 0; p < SCFPictureCount; ++p) {
        EXPECT_EQ(page->statusImage(static_cast<TSCFPicture>(p))->getTag(), 2) << p;
    }
    EXPECT_FALSE(page->browseButton(swTemplate)->isEnabled());
    const QString stored = scf().getTF_DrivePathFilenameExtnXL();
    page->Store();
    EXPECT_EQ(scf().getTF_DrivePathFilenameExtnXL(), stored) << "a disabled page stores nothing";
}

TEST_F(TabSCFTest, LoadingShowsAStoredWrongExtensionUntilTheUserEditsThePath) {
    TSCFBoxes stored = ValidBoxes();
    stored[sbDSF_Path] = Q("/data/tasks.txt");
    stored[sbOF_Path] = Q("/data/out.xls"); // differs from the template's xlsx
    Show(stored);
    EXPECT_EQ(box(sbDSF_Path)->text(), Q("/data/tasks.txt"));
    EXPECT_EQ(box(sbOF_Path)->text(), Q("/data/out.xls"));
    EXPECT_EQ(page->statusImage(spDSF_Path)->getTag(), 1);
    EXPECT_EQ(page->statusImage(spDSF_Path)->toolTip(), HintOfExtension(747, Q("/data/x.txt")));
    EXPECT_EQ(page->statusImage(spOF_Path)->getTag(), 1);

    box(sbDSF_Path)->setFocus();
    QTest::keyClick(box(sbDSF_Path), Qt::Key_Tab);
    page->Store();
    EXPECT_EQ(scf().getDSF_DrivePathFilenameExtnXL(), Q("/data/tasks.txt"));
    EXPECT_EQ(host.modifiedMarks, 0) << "nothing the user did changes the data file";

    Type(sbDSF_Path, Q("/data/plan.txt"));
    EXPECT_EQ(box(sbDSF_Path)->text(), Q("/data/plan.xlsx")) << "repaired on leaving the box";
    EXPECT_EQ(QApplication::focusWidget(), box(sbDSF_Password));
    EXPECT_EQ(page->statusImage(spDSF_Path)->getTag(), 2);
    EXPECT_GT(host.modifiedMarks, 0);
    page->Store();
    EXPECT_EQ(scf().getDSF_DrivePathFilenameExtnXL(), Q("/data/plan.xlsx"));
    EXPECT_EQ(scf().getOF_DrivePathFilenameExtnXL(), Q("/data/out.xls"));

    // An edited template takes the output along when it is left, and so does Store.
    Type(sbTF_Path, Q("/data/template.xls"));
    EXPECT_EQ(box(sbOF_Path)->text(), Q("/data/out.xls"));
    box(sbTF_Path)->setText(Q("/data/other"));
    page->Store();
    EXPECT_EQ(scf().getTF_DrivePathFilenameExtnXL(), Q("/data/other.xlsx"));
    EXPECT_EQ(scf().getOF_DrivePathFilenameExtnXL(), Q("/data/out.xlsx"));
    EXPECT_EQ(box(sbOF_Path)->text(), Q("/data/out.xlsx"));
}

TEST_F(TabSCFTest, EditedValuesSurviveStoreSaveReopenAndLoad) {
    const TSCFBoxes edited = [] {
        TSCFBoxes b;
        b[sbDSF_Path] = Q("/data/source file.xlsx");
        b[sbDSF_Password] = Q("s3cr*t");
        b[sbDSF_TaskWS] = Q("Tasks 2026");
        b[sbDSF_THR] = Q("12");
        b[sbTF_Path] = Q("/data/templates/t.xls");
        b[sbTF_Password] = Q("pw");
        b[sbTF_ProjectSummaryWS] = Q("Summary");
        b[sbTF_ChartDataWS] = Q("Curves");
        b[sbOF_Path] = Q("/data/out/result.xls");
        return b;
    }();
    for (int i = 0; i < SCFBoxCount; ++i) {
        box(static_cast<TSCFBox>(i))->setText(edited.Text[i]);
    }
    page->Store();
    EXPECT_EQ(scfmodel::Load(scf()), edited);
    EXPECT_GT(host.modifiedMarks, 0);

    const QString path = dir.filePath(Q("files.krvc"));
    fileDialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    page->Clear();
    DF->Close();
    fileDialogs.answers = {path};
    ASSERT_TRUE(DF->Open()) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    ASSERT_EQ(SDs->getCount(), 1);
    SDs->setActiveSD(1); // as the main window shows the opened file's first definition
    page->Load();
    EXPECT_EQ(page->Boxes(), edited);
}

TEST_F(TabSCFTest, OverLongEntriesAndRefusedCharactersShowTheBalloon) {
    struct Case {
        TSCFBox box;
        int maxLength;
        QChar refused; // null: the box takes every character
        QString balloon;
    };
    const QString refusedText = UIT(txt::FollowingCharactersCannotBeUsed) + Q("\r\n");
    const Case cases[] = {
        {sbDSF_Path, 260, u'*', refusedText + Q("* ? \" < > |")},
        {sbDSF_Password, 255, {}, {}},
        {sbDSF_TaskWS, 31, u'[', refusedText + Q("\\ / : * ? [ ]")},
        {sbDSF_THR, 7, u'a', UIT(txt::PleaseEnterNumericValue) + Q("\r\nValid Range: 1..1048575")},
        {sbTF_Path, 260, u'|', refusedText + Q("* ? \" < > |")},
        {sbTF_Password, 255, {}, {}},
        {sbTF_ProjectSummaryWS, 31, u':', refusedText + Q("\\ / : * ? [ ]")},
        {sbTF_ChartDataWS, 31, u'/', refusedText + Q("\\ / : * ? [ ]")},
        {sbOF_Path, 260, u'?', refusedText + Q("* ? \" < > |")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        QLineEdit* edit = box(c.box);
        edit->clear();
        edit->setFocus();
        host.balloon.shown.clear();
        if (!c.refused.isNull()) {
            QTest::keyClick(edit, c.refused.toLatin1());
            EXPECT_TRUE(edit->text().isEmpty());
            ASSERT_EQ(host.balloon.shown.size(), 1u);
            EXPECT_EQ(host.balloon.shown[0].text, c.balloon);
        }
        edit->setText(QString(c.maxLength, QLatin1Char('7')));
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, '7');
        EXPECT_EQ(edit->text().size(), c.maxLength);
        ASSERT_FALSE(host.balloon.shown.empty());
        EXPECT_EQ(host.balloon.shown.back().text,
                  Q("The maximum length for this Field is %1 characters.").arg(c.maxLength));
    }
}

TEST_F(TabSCFTest, WorksheetIsChosenFromTheTemplatesListReadOnceAndReadAgainOnRefresh) {
    const QString templ = AD->getExePath() + Q("Templates/Ovik_KRV_Tessel_Template.xlsx");
    ASSERT_TRUE(QFile::exists(templ)) << templ.toStdString();
    box(sbTF_Path)->setText(templ);
    sd().setWSL_Loaded(1, true);
    browseWS.answers = {{mrRetry, {}}, {mrOk, Q("Chart Data")}};
    QTest::mouseClick(page->worksheetBrowseButton(swsProjectSummary), Qt::LeftButton);
    EXPECT_TRUE(dlg.shown.empty()) << dlg.keys().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(host.imports, 2) << "read, then read again after the window's Refresh";
    EXPECT_EQ(host.importDepth, 0);
    ASSERT_EQ(browseWS.calls.size(), 2u);
    EXPECT_EQ(browseWS.calls[0].caption, Q("Template File"));
    EXPECT_EQ(browseWS.calls[0].subject, Q("Project Summary Worksheet"));
    EXPECT_EQ(browseWS.calls[0].index, 2);
    EXPECT_EQ(browseWS.calls[0].preselection, Q("Project Summary"));
    EXPECT_TRUE(sd().getWSL_Loaded(2));
    EXPECT_GE(sd().getWSL_Count(2), 2);
    EXPECT_EQ(box(sbTF_ProjectSummaryWS)->text(), Q("Chart Data"));
    EXPECT_EQ(QApplication::focusWidget(), box(sbTF_ProjectSummaryWS));
    EXPECT_EQ(page->statusImage(spTF_ChartDataWS)->getTag(), 1) << "now the same as the summary";
    EXPECT_TRUE(sd().getWSL_Loaded(1)) << "the data source's list is kept";

    browseWS.answers = {{mrCancel, {}}};
    QTest::mouseClick(page->worksheetBrowseButton(swsChartData), Qt::LeftButton);
    EXPECT_EQ(host.imports, 2) << "the list already read is offered again";
    ASSERT_EQ(browseWS.calls.size(), 3u);
    EXPECT_EQ(browseWS.calls[2].subject, Q("Chart Data Worksheet"));
    EXPECT_EQ(box(sbTF_ChartDataWS)->text(), Q("Chart Data"));

    box(sbTF_Path)->setText(templ + Q(" "));
    EXPECT_FALSE(sd().getWSL_Loaded(2)) << "a changed template path drops its list";
}

TEST_F(TabSCFTest, WorksheetBrowseStopsAtAMissingWorkbook) {
    box(sbDSF_Path)->setText(dir.filePath(Q("absent.xlsx")));
    QTest::mouseClick(page->worksheetBrowseButton(swsTask), Qt::LeftButton);
    EXPECT_EQ(dlg.keys().size(), 1);
    EXPECT_TRUE(browseWS.calls.empty());
    EXPECT_EQ(host.imports, 0);
}

class TabSCFWithoutExcelTest : public TabSCFTest {
protected:
    void SetUp() override { Start(false); }
};

TEST_F(TabSCFWithoutExcelTest, WorksheetBrowseShowsTheMissingApplicationAndNothingElse) {
    box(sbDSF_Path)->setText(File(Q("tasks.xlsx")));
    QTest::mouseClick(page->worksheetBrowseButton(swsTask), Qt::LeftButton);
    EXPECT_EQ(dlg.keys(), QStringList({Q("XL001")}));
    EXPECT_TRUE(browseWS.calls.empty());
    EXPECT_EQ(host.imports, 0);
}

TEST_F(TabSCFTest, BrowsingTheDataSourceComparesPathsAsTheFileSystemDoes) {
    const QString tasks = File(Q("tasks.xlsx"));
    const QString upper = File(Q("TASKS.xlsx"));
    TSCFBoxes stored = ValidBoxes();
    stored[sbDSF_Path] = tasks;
    Show(stored);
    sd().setWSL_Loaded(1, true);
    sd().setFL_Loaded(true);

    fileDialogs.answers = {dir.path() + Q("/./tasks.xlsx")};
    QTest::mouseClick(page->browseButton(swDataSource), Qt::LeftButton);
    ASSERT_EQ(fileDialogs.opens.size(), 1u);
    const TFileDialogSetup& setup = fileDialogs.opens[0];
    EXPECT_EQ(setup.Title, Q(" Select MS Excel Data Source File... "));
    EXPECT_EQ(setup.FileName, tasks);
    EXPECT_EQ(setup.DefaultFolder, dir.path() + Q("/"));
    EXPECT_TRUE(setup.FileMustExist);
    EXPECT_EQ(setup.OkButtonLabel, Q("&Select"));
    ASSERT_EQ(setup.FileTypes.size(), 1u);
    EXPECT_EQ(setup.FileTypes[0].Name, Q("MS Excel Files (*.xls; *.xlsx)"));
    EXPECT_EQ(setup.FileTypes[0].Mask, Q("*.xls;*.xlsx"));
    EXPECT_EQ(box(sbDSF_Path)->text(), tasks) << "the same file: nothing changes";
    EXPECT_TRUE(sd().getWSL_Loaded(1));
    EXPECT_TRUE(sd().getFL_Loaded());
    EXPECT_EQ(host.modifiedMarks, 0);
    EXPECT_EQ(QApplication::focusWidget(), box(sbDSF_Path));

    fileDialogs.answers = {upper};
    QTest::mouseClick(page->browseButton(swDataSource), Qt::LeftButton);
    EXPECT_EQ(box(sbDSF_Path)->text(), upper) << "another name in case is another file";
    EXPECT_FALSE(sd().getWSL_Loaded(1));
    EXPECT_FALSE(sd().getFL_Loaded());
    EXPECT_GT(host.modifiedMarks, 0);

    const int marks = host.modifiedMarks;
    fileDialogs.answers = {File(Q("notes.txt"))};
    QTest::mouseClick(page->browseButton(swDataSource), Qt::LeftButton);
    EXPECT_EQ(dlg.keys().size(), 1) << "a file that is no workbook is refused";
    EXPECT_EQ(box(sbDSF_Path)->text(), upper);
    EXPECT_EQ(host.modifiedMarks, marks);
}

TEST_F(TabSCFTest, OutputBrowseWithoutDocumentsStartsInTheHomeFolderNeverTheProgramsOwn) {
    ASSERT_TRUE(QDir().mkpath(QDir::homePath()));
    const QString documents = QDir::home().filePath(Q("Documents"));
    QDir(documents).removeRecursively();
    ASSERT_EQ(ModelPrefs()->getDefaultOFFolder(), documents + Q("/"))
        << "the preferred output folder is the missing Documents folder";
    const QString program = QDir(AD->getExePath()).absolutePath() + Q("/");
    // The default output in the missing folder, none, a bare name and one in a folder gone.
    const QStringList outputs = {documents + Q("/Ovik_KRV_Tessel_Output.xlsx"), QString(),
                                 Q("Ovik_KRV_Tessel_Output.xlsx"), Q("/absent/out.xlsx")};
    for (const QString& output : outputs) {
        SCOPED_TRACE(output.toStdString());
        TSCFBoxes stored = ValidBoxes();
        stored[sbTF_Path] = AD->getExePath() + Q("Templates/Ovik_KRV_Tessel_Template.xlsx");
        stored[sbOF_Path] = output;
        Show(stored);
        fileDialogs.opens.clear();
        fileDialogs.answers.clear();
        QTest::mouseClick(page->browseButton(swOutput), Qt::LeftButton);
        ASSERT_EQ(fileDialogs.opens.size(), 1u);
        const QString start = fileDialogs.opens[0].DefaultFolder;
        EXPECT_TRUE(QFileInfo(start).isDir()) << start.toStdString();
        EXPECT_FALSE((QDir(start).absolutePath() + Q("/")).startsWith(program))
            << start.toStdString();
        EXPECT_EQ(QDir(start).absolutePath(), QDir::home().absolutePath());
    }
}

TEST_F(TabSCFTest, ChosenTemplateAndOutputAgreeOnTheirExtension) {
    TSCFBoxes stored = ValidBoxes();
    stored[sbTF_Path] = Q("/absent/template.xls");
    stored[sbOF_Path] = Q("/absent/out.xls");
    Show(stored);

    fileDialogs.answers = {dir.filePath(Q("result"))};
    QTest::mouseClick(page->browseButton(swOutput), Qt::LeftButton);
    ASSERT_EQ(fileDialogs.opens.size(), 1u);
    EXPECT_FALSE(fileDialogs.opens[0].FileMustExist) << "the output may be a new file";
    EXPECT_TRUE(fileDialogs.opens[0].FileName.isEmpty()) << "the stored output does not exist";
    EXPECT_EQ(box(sbOF_Path)->text(), dir.filePath(Q("result.xls")));

    const QString templ = File(Q("a.xlsx"));
    fileDialogs.answers = {templ};
    QTest::mouseClick(page->browseButton(swTemplate), Qt::LeftButton);
    EXPECT_EQ(box(sbTF_Path)->text(), templ);
    EXPECT_EQ(box(sbOF_Path)->text(), dir.filePath(Q("result.xlsx")));
    EXPECT_EQ(page->statusImage(spOF_Path)->getTag(), 2);
}

TEST_F(TabSCFTest, DefaultButtonsTakeThePreferredTemplateAndOutputFolder) {
    const QString folder = ModelPrefs()->getDefaultOFFolder();
    box(sbOF_Path)->clear();
    QTest::mouseClick(page->defaultButton(swOutput), Qt::LeftButton);
    EXPECT_EQ(box(sbOF_Path)->text(), folder);
    box(sbOF_Path)->setText(Q("/elsewhere/run 1.xlsx"));
    QTest::mouseClick(page->defaultButton(swOutput), Qt::LeftButton);
    EXPECT_EQ(box(sbOF_Path)->text(), folder + Q("run 1.xlsx"));

    box(sbTF_Path)->clear();
    QTest::mouseClick(page->defaultButton(swTemplate), Qt::LeftButton);
    EXPECT_EQ(box(sbTF_Path)->text(), ModelPrefs()->getTemplateDPFE());
}

TEST_F(TabSCFTest, OpenButtonOpensAnExistingWorkbookAndDropsItsLists) {
    testsupport::ScopedFakeShell shell;
    const QStringList& opened = shell.Opened;
    const QString tasks = File(Q("tasks.xlsx"));
    box(sbDSF_Path)->setText(Q(" ") + tasks);
    sd().setWSL_Loaded(1, true);
    sd().setWSL_Loaded(2, true);
    QTest::mouseClick(page->openButton(swDataSource), Qt::LeftButton);
    EXPECT_FALSE(sd().getWSL_Loaded(1));
    EXPECT_TRUE(sd().getWSL_Loaded(2));

    box(sbOF_Path)->setText(dir.filePath(Q("absent.xlsx")));
    QTest::mouseClick(page->openButton(swOutput), Qt::LeftButton);
    EXPECT_EQ(dlg.keys().size(), 1) << "a missing workbook is reported";
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].endsWith(Q("tasks.xlsx")));
}

TEST_F(TabSCFTest, EnterWalksTheBoxesAndTheErrorListFindsItsField) {
    box(sbDSF_Path)->setFocus();
    QTest::keyClick(box(sbDSF_Path), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), box(sbDSF_Path)) << "the first box keeps the focus";
    for (int b = 1; b < SCFBoxCount; ++b) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), box(static_cast<TSCFBox>(b)));
    }
    QTest::keyClick(box(sbOF_Path), Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), box(sbOF_Path)) << "the last box keeps the focus";
    QTest::keyClick(box(sbOF_Path), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), box(sbTF_ChartDataWS));

    page->GoToField(751, 0);
    EXPECT_EQ(QApplication::focusWidget(), box(sbDSF_THR));
    EXPECT_EQ(box(sbDSF_THR)->selectedText(), box(sbDSF_THR)->text());
    page->GoToField(768, 0);
    EXPECT_EQ(QApplication::focusWidget(), box(sbDSF_THR)) << "another tab's field";
}

TEST_F(TabSCFTest, PasswordEditsMarkTheFileModifiedAndKeepTheLists) {
    sd().setWSL_Loaded(1, true);
    Type(sbDSF_Password, Q("secret"));
    EXPECT_EQ(box(sbDSF_Password)->text(), Q("secret"));
    EXPECT_EQ(host.modifiedMarks, 6) << "one mark per typed character";
    EXPECT_FALSE(box(sbDSF_Password)->isUndoAvailable()) << "leaving a box ends its undo";
    EXPECT_TRUE(sd().getWSL_Loaded(1));
    box(sbDSF_THR)->setText(Q("3"));
    EXPECT_TRUE(sd().getWSL_Loaded(1));
    box(sbDSF_Path)->setText(Q("/x.xlsx"));
    EXPECT_FALSE(sd().getWSL_Loaded(1));
    EXPECT_EQ(host.modifiedMarks, 8);
}

} // namespace
