#include "DataFileFixture.h"

#include "model/DataFileSections.h"
#include "platform/Format.h"
#include "services/INI_Utils.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QRegularExpression>

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// One definition of each kind a data file must carry: every operator across the filter rows,
// passwords, texts in code page 1252 and beyond it.
void FillRich(TovSDs& list) {
    for (int n = 1; n <= 3; ++n) {
        TovSD& sd = *list.getItems(list.Add());
        sd.setDescription(Q("Definition %1 \xE2\x82\xAC caf\xC3\xA9").arg(n));
        sd.PD->setProjectTitle(Q("Title \xCE\xA9 %1").arg(n));
        sd.PD->setProjectNumber(Q("P-%1").arg(n));
        sd.PD->setProjectClient(Q("Client \xE6\x97\xA5\xE6\x9C\xAC"));
        TovSCF& scf = *sd.SCF;
        scf.setDSF_DrivePathFilenameExtnXL(Q("/data/t\xC3\xA2sks %1.xlsx").arg(n));
        scf.setDSF_OpenPasswordXL(Q("pa=ss;%1").arg(n));
        scf.setDSF_TaskWS(Q("Tasks %1").arg(n));
        scf.setDSF_THR(n + 1);
        scf.setTF_DrivePathFilenameExtnXL(Q("/templates/t.xlsx"));
        scf.setTF_OpenPasswordXL(Q("[not a section]"));
        scf.setTF_ProjectSummaryWS(Q("Summary"));
        scf.setTF_ChartDataWS(Q("Chart"));
        scf.setOF_DrivePathFilenameExtnXL(Q("/out/o%1.xlsx").arg(n));
        TovSCO& sco = *sd.SCO;
        sco.setGenerateBL(n != 2);
        sco.setGenerateACT(1);
        sco.setGenerateTGT(n == 2);
        sco.setCutOffDate(41000 + n);
        sco.setGraphMH(1);
        sco.setMHQty(n % 2);
        sco.setGraphCost(n != 3);
        sco.setCostQty((n + 1) % 2);
        for (int i = 1; i <= 9; ++i) {
            TovDSMx& e = *sd.DSM->getItems(i);
            e.setTaskFldXL(QString(QChar('A' + i)));
            e.setTaskFldDescXL(Q("Header %1 \xC3\xBC").arg(i));
            e.setTaskFldRequired((i + n) % 2 == 0);
        }
        sd.DSF->setEnabled(n != 3);
        for (int j = 1; j <= (n == 3 ? 4 : 5); ++j) {
            TovDSFx& row = *sd.DSF->getItems(sd.DSF->Add());
            const int op = (n - 1) * 5 + (j - 1);
            row.setAndFlag(j % 2);
            row.setTaskFldXL(QString(QChar('C' + j)));
            row.setTaskFldDescXL(Q("Field %1").arg(j));
            row.setFilterOperator(static_cast<uint8_t>(op));
            row.setTaskFldValueXL(op == 6 || op == 7 ? QString() : Q("v%1 = x; \xCE\xB1").arg(op));
        }
    }
}

void ExpectSameDefinitions(const TovSDs& a, const TovSDs& b) {
    ASSERT_EQ(a.getCount(), b.getCount());
    for (int n = 1; n <= a.getCount(); ++n) {
        const TovSD& x = *a.getItems(n);
        const TovSD& y = *b.getItems(n);
        SCOPED_TRACE(n);
        EXPECT_EQ(x.getDescription(), y.getDescription());
        EXPECT_EQ(x.PD->getProjectTitle(), y.PD->getProjectTitle());
        EXPECT_EQ(x.PD->getProjectNumber(), y.PD->getProjectNumber());
        EXPECT_EQ(x.PD->getProjectClient(), y.PD->getProjectClient());
        EXPECT_EQ(x.SCF->getDSF_DrivePathFilenameExtnXL(), y.SCF->getDSF_DrivePathFilenameExtnXL());
        EXPECT_EQ(x.SCF->getDSF_OpenPasswordXL(), y.SCF->getDSF_OpenPasswordXL());
        EXPECT_EQ(x.SCF->getDSF_TaskWS(), y.SCF->getDSF_TaskWS());
        EXPECT_EQ(x.SCF->getDSF_THR(), y.SCF->getDSF_THR());
        EXPECT_EQ(x.SCF->getTF_DrivePathFilenameExtnXL(), y.SCF->getTF_DrivePathFilenameExtnXL());
        EXPECT_EQ(x.SCF->getTF_OpenPasswordXL(), y.SCF->getTF_OpenPasswordXL());
        EXPECT_EQ(x.SCF->getTF_ProjectSummaryWS(), y.SCF->getTF_ProjectSummaryWS());
        EXPECT_EQ(x.SCF->getTF_ChartDataWS(), y.SCF->getTF_ChartDataWS());
        EXPECT_EQ(x.SCF->getOF_DrivePathFilenameExtnXL(), y.SCF->getOF_DrivePathFilenameExtnXL());
        EXPECT_EQ(x.SCO->getGenerateBL(), y.SCO->getGenerateBL());
        EXPECT_EQ(x.SCO->getGenerateACT(), y.SCO->getGenerateACT());
        EXPECT_EQ(x.SCO->getGenerateTGT(), y.SCO->getGenerateTGT());
        EXPECT_EQ(x.SCO->getCutOffDate(), y.SCO->getCutOffDate());
        EXPECT_EQ(x.SCO->getGraphMH(), y.SCO->getGraphMH());
        EXPECT_EQ(x.SCO->getMHQty(), y.SCO->getMHQty());
        EXPECT_EQ(x.SCO->getGraphCost(), y.SCO->getGraphCost());
        EXPECT_EQ(x.SCO->getCostQty(), y.SCO->getCostQty());
        for (int i = 1; i <= 9; ++i) {
            EXPECT_EQ(x.DSM->getItems(i)->getTaskFldXL(), y.DSM->getItems(i)->getTaskFldXL());
            EXPECT_EQ(x.DSM->getItems(i)->getTaskFldDescXL(),
                      y.DSM->getItems(i)->getTaskFldDescXL());
            EXPECT_EQ(x.DSM->getItems(i)->getTaskFldRequired(),
                      y.DSM->getItems(i)->getTaskFldRequired());
        }
        EXPECT_EQ(x.DSF->getEnabled(), y.DSF->getEnabled());
        ASSERT_EQ(x.DSF->getCount(), y.DSF->getCount());
        for (int j = 1; j <= x.DSF->getCount(); ++j) {
            const TovDSFx& r = *x.DSF->getItems(j);
            const TovDSFx& s = *y.DSF->getItems(j);
            EXPECT_EQ(r.getAndFlag(), s.getAndFlag());
            EXPECT_EQ(r.getTaskFldXL(), s.getTaskFldXL());
            EXPECT_EQ(r.getTaskFldDescXL(), s.getTaskFldDescXL());
            EXPECT_EQ(r.getFilterOperator(), s.getFilterOperator());
            EXPECT_EQ(r.getTaskFldValueXL(), s.getTaskFldValueXL());
        }
    }
}

// Opens path as the data file (answering the layout's question with Yes when there is one).
bool OpenAnswering(const QString& path, std::initializer_list<int> answers,
                   testsupport::FakeStdDlg& dlg) {
    dlg.answers.assign(answers.begin(), answers.end());
    return DF->OpenDropped(path);
}

} // namespace

class DataFileFormat : public DataFileFixture {};

TEST_F(DataFileFormat, WritesTheExampleFileLineForLine) {
    TovSD& sd = *SDs->getItems(SDs->Add());
    sd.setDescription(Q("Demo"));
    sd.SCF->setDSF_DrivePathFilenameExtnXL(Q("C:\\Data\\Tasks.xlsx"));
    sd.SCF->setTF_DrivePathFilenameExtnXL(QString());
    sd.SCF->setOF_DrivePathFilenameExtnXL(Q("Ovik_KRV_Tessel_Output.xlsx"));
    sd.SCO->setCutOffDate(41348.75);
    dialogs.answers = {Path(Q("example.krvc"))};
    ASSERT_TRUE(DF->SaveAs());
    const QByteArray expected = ReadAll(DataPath(Q("example.krvc")));
    ASSERT_EQ(expected.count('\n'), 90);
    EXPECT_EQ(ReadAll(Path(Q("example.krvc"))), expected);
    EXPECT_EQ(view.maximum, 13);
    EXPECT_EQ(view.steps, 13);
    EXPECT_TRUE(dlg.shown.empty());
}

TEST_F(DataFileFormat, RichFileRoundTripsThroughSaveAndOpen) {
    FillRich(*SDs);
    TovSDs expected;
    FillRich(expected);
    const QString path = Path(Q("rich.krvc"));
    dialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    EXPECT_EQ(view.maximum, 3 * 13 + 5 + 5 + 4);
    EXPECT_EQ(view.steps, view.maximum);
    // Greek and CJK texts do not fit code page 1252: the file is UTF-8 with a mark.
    EXPECT_TRUE(ReadAll(path).startsWith("\xEF\xBB\xBF[Ovik KRV Tessel]\r\n"));

    ASSERT_TRUE(DF->Close());
    ASSERT_TRUE(DF->OpenMRU(path)) << dlg.keys().join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(dlg.shown.empty()) << dlg.keys().join(QLatin1Char(',')).toStdString();
    ExpectSameDefinitions(*SDs, expected);
    EXPECT_EQ(DV->getDFVErrCount(), 0);
    EXPECT_FALSE(DF->getModified());
    EXPECT_FALSE(DF->IsSaveAsRequired(true));
    EXPECT_EQ(view.maximum, 3 * 13 + 5 + 5 + 4);
    EXPECT_EQ(view.steps, view.maximum);
}

TEST_F(DataFileFormat, CodePage1252TextIsWrittenWithoutMarkLikeTheWindowsEdition) {
    TovSD& sd = *SDs->getItems(SDs->Add());
    sd.setDescription(Q("Caf\xC3\xA9 \xE2\x82\xAC"));
    dialogs.answers = {Path(Q("cp.krvc"))};
    ASSERT_TRUE(DF->SaveAs());
    const QByteArray bytes = ReadAll(Path(Q("cp.krvc")));
    EXPECT_TRUE(bytes.startsWith("[Ovik KRV Tessel]\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nDescription=Caf\xE9 \x80\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\nEnabled=0\r\n\r\n"));
}

TEST_F(DataFileFormat, LineBreaksInStoredTextsNeverStartALine) {
    TovSD& sd = *SDs->getItems(SDs->Add());
    sd.setDescription(Q("First line\r\n[Ovik KRV Tessel]\r\nSD_Count=99"));
    TovDSFx& row = *sd.DSF->getItems(sd.DSF->Add());
    row.setTaskFldXL(Q("A"));
    row.setTaskFldValueXL(Q("one\ntwo"));
    const QString path = Path(Q("breaks.krvc"));
    dialogs.answers = {path};
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(DF->Close());
    ASSERT_TRUE(DF->OpenMRU(path));
    ASSERT_EQ(SDs->getCount(), 1);
    EXPECT_EQ(SDs->getItems(1)->getDescription(), Q("First line [Ovik KRV Tessel] SD_Count=99"));
    EXPECT_EQ(SDs->getItems(1)->DSF->getItems(1)->getTaskFldValueXL(), Q("one two"));
}

TEST_F(DataFileFormat, HeaderVariantsAskTheirQuestionAndDecide) {
    const QString current = Q("[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\n");
    struct Case {
        const char* name;
        QString text;
        std::vector<int> answers;
        QStringList keys;
        bool result;
        int sdCount;
        int pbCount;
    };
    QString twoDefinitions = current + Q("Version=5.3.0.0\nSD_Count=2\n");
    for (int j = 1; j <= 7; ++j) {
        twoDefinitions += Q("[Ovik KRV Tessel\\SD_1\\DSF\\DSFx_%1]\n").arg(j);
    }
    const Case cases[] = {
        {"current", current + Q("Version=5.3.0.0\nSD_Count=1\nPB_Count=13\n"), {}, {}, true, 1, 13},
        {"other application, No",
         Q("[Ovik KRV Tessel]\nApplication=Other\nVersion=5.3.0.0\n"),
         {mrNo},
         {Q("UDF004")},
         false,
         0,
         0},
        {"other application, Yes",
         Q("[Ovik KRV Tessel]\nApplication=Other\nVersion=5.3.0.0\n"),
         {mrYes},
         {Q("UDF004")},
         true,
         0,
         0},
        {"newer major version", current + Q("Version=6.1.0.0\n"), {}, {Q("UDF005")}, false, 0, 0},
        {"missing version", current, {}, {Q("UDF005")}, false, 0, 0},
        {"other build, Yes",
         current + Q("Version=5.0.0.0\nSD_Count=1\n"),
         {mrYes},
         {Q("UDF006")},
         true,
         1,
         13},
        {"other build, No", current + Q("Version=5.0.0.0\n"), {mrNo}, {Q("UDF006")}, false, 0, 0},
        {"300 definitions, Yes",
         current + Q("Version=5.3.0.0\nSD_Count=300\n"),
         {mrYes},
         {Q("UDF007")},
         true,
         255,
         13 * 255},
        {"300 definitions, No",
         current + Q("Version=5.3.0.0\nSD_Count=300\n"),
         {mrNo},
         {Q("UDF007")},
         false,
         0,
         0},
        {"no count", current + Q("Version=5.3.0.0\n"), {}, {}, true, 0, 0},
        {"negative count", current + Q("Version=5.3.0.0\nSD_Count=-4\n"), {}, {}, true, 0, 0},
        {"progress from the rows", twoDefinitions, {}, {}, true, 2, 13 * 2 + 5},
        {"progress raised",
         current + Q("Version=5.3.0.0\nSD_Count=2\nPB_Count=3\n"),
         {},
         {},
         true,
         2,
         26},
        {"progress lowered",
         current + Q("Version=5.3.0.0\nSD_Count=2\nPB_Count=999\n"),
         {},
         {},
         true,
         2,
         36},
        {"current before sibling",
         Q("[Ovik KRV Quill]\nApplication=Ovik KRV Quill: Curvewright\nVersion=7.0\n") + current +
             Q("Version=5.3.0.0\n"),
         {},
         {},
         true,
         0,
         0},
        {"sibling, Yes",
         Q("[Ovik KRV Quill]\nApplication=Ovik KRV Quill: Curvewright\nVersion=7.2.0.0\n"
           "SD_Count=1\n"),
         {mrYes},
         {Q("UDF010")},
         true,
         1,
         13},
        {"sibling, wrong application",
         Q("[Ovik KRV Quill]\nApplication=x\nVersion=7.2.0.0\n"),
         {mrNo},
         {Q("UDF008")},
         false,
         0,
         0},
        {"sibling, version 5",
         Q("[Ovik KRV Quill]\nApplication=Ovik KRV Quill: Curvewright\n"
           "Version=5.3.0.0\n"),
         {},
         {Q("UDF009")},
         false,
         0,
         0},
        {"sibling, 300",
         Q("[Ovik KRV Quill]\nApplication=Ovik KRV Quill: Curvewright\n"
           "Version=7.2.0.0\nSD_Count=300\n"),
         {mrYes, mrNo},
         {Q("UDF010"), Q("UDF011")},
         false,
         0,
         0},
        {"oldest, Yes",
         Q("[Ovik KRV\\DAT]\nProduct=ovik krv\nVersion=2.0.0.0\n[Ovik KRV\\SDs\\SD1]\n"),
         {mrYes},
         {Q("UDF014")},
         true,
         1,
         13},
        {"oldest, other product",
         Q("[Ovik KRV\\DAT]\nProduct=Other\nVersion=2.0.0.0\n"),
         {mrNo},
         {Q("UDF012")},
         false,
         0,
         0},
        {"oldest, version 3",
         Q("[Ovik KRV\\DAT]\nProduct=Ovik KRV\nVersion=3.0.0.0\n"),
         {},
         {Q("UDF013")},
         false,
         0,
         0},
        {"no header", Q("[Something]\nKey=1\n"), {}, {Q("UDF016")}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::FakeStdDlg fake;
        fake.answers.assign(c.answers.begin(), c.answers.end());
        const QString path = Path(Q("header.krvc"));
        WriteAll(path, c.text.toUtf8());
        EXPECT_EQ(DF->DetectDataFileFormat(TIniDocument(path), path), c.result);
        EXPECT_EQ(fake.keys(), c.keys);
        if (c.result) {
            EXPECT_EQ(DF->getSD_Count(), c.sdCount);
            EXPECT_EQ(DF->getPB_Count(), c.pbCount);
        }
    }
}

TEST_F(DataFileFormat, VersionMessageNamesTheFoundAndSupportedVersions) {
    const QString path = Path(Q("v6.krvc"));
    WriteAll(path,
             "[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\nVersion= 6.1.0.0 \n");
    EXPECT_FALSE(DF->DetectDataFileFormat(TIniDocument(path), path));
    ASSERT_EQ(dlg.shown.size(), 1u);
    EXPECT_EQ(dlg.shown[0].kind, sdkWarning);
    EXPECT_EQ(
        dlg.shown[0].lines,
        QStringList({Q("The following Ovik KRV Tessel Data File Version is invalid."), QString(),
                     path, QString(), Q("Supported Ovik KRV Tessel Data File Versions: 5.x.x.x"),
                     QString(), Q("Data File Version: 6.1.0.0"), QString(),
                     Q("Unable to open the Data File.")}));
}

TEST_F(DataFileFormat, SiblingEditionFileReadsIntoTheSameDefinitions) {
    const QString path = CopyFixture(Q("quill_map_entries.krvp"));
    ASSERT_TRUE(OpenAnswering(path, {mrYes}, dlg));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF010")}));
    ASSERT_EQ(SDs->getCount(), 1);
    const TovSD& sd = *SDs->getItems(1);
    EXPECT_EQ(sd.getDescription(), Q("Sibling"));
    EXPECT_EQ(sd.PD->getProjectNumber(), Q("B-7"));
    EXPECT_EQ(sd.SCF->getDSF_TaskWS(), Q("Tasks"));
    EXPECT_EQ(sd.SCF->getDSF_THR(), 3);
    EXPECT_EQ(sd.SCF->getTF_ProjectSummaryWS(), Q("Project Summary"));
    EXPECT_EQ(sd.SCO->getMHQty(), qtyExpendedToDate);
    // Sibling entries 3, 9 and 19 are entries 1, 3 and 9; its entry 1 is ignored.
    EXPECT_EQ(sd.DSM->getItems(1)->getTaskFldXL(), Q("A"));
    EXPECT_TRUE(sd.DSM->getItems(1)->getTaskFldRequired());
    EXPECT_EQ(sd.DSM->getItems(3)->getTaskFldDescXL(), Q("Baseline Hours"));
    EXPECT_EQ(sd.DSM->getItems(9)->getTaskFldXL(), Q("K"));
    EXPECT_EQ(sd.DSM->getItems(2)->getTaskFldXL(), QString());
    ASSERT_EQ(sd.DSF->getCount(), 2);
    EXPECT_EQ(sd.DSF->getItems(1)->getFilterOperator(), foContains);
    EXPECT_EQ(sd.DSF->getItems(1)->getTaskFldXL(), Q("F"));
    EXPECT_EQ(sd.DSF->getItems(2)->getAndFlag(), 0);
    // The fallback key is read only in the current layout.
    EXPECT_EQ(sd.DSF->getItems(2)->getTaskFldValueXL(), QString());
    EXPECT_TRUE(DF->getIsQuillFormat());
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
    EXPECT_EQ(view.maximum, 15);
}

TEST_F(DataFileFormat, OldestLayoutFileReadsIntoTheSameDefinitions) {
    const QString path = CopyFixture(Q("oldest_layout.krv"));
    ASSERT_TRUE(OpenAnswering(path, {mrYes}, dlg));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF014")}));
    ASSERT_EQ(SDs->getCount(), 2); // SD4 follows a gap
    const TovSD& sd = *SDs->getItems(1);
    EXPECT_EQ(sd.getDescription(), Q("Oldest"));
    EXPECT_EQ(sd.SCF->getDSF_DrivePathFilenameExtnXL(), Q("/old/tasks.xlsx"));
    EXPECT_EQ(sd.SCF->getDSF_OpenPasswordXL(), Q("secret"));
    EXPECT_EQ(sd.SCF->getDSF_TaskWS(), Q("Sheet A"));
    EXPECT_EQ(sd.SCF->getOF_DrivePathFilenameExtnXL(), Q("/old/out.xlsx"));
    EXPECT_EQ(sd.SCO->getGenerateBL(), 1);
    EXPECT_EQ(sd.SCO->getGenerateACT(), 1);
    EXPECT_EQ(sd.SCO->getGenerateTGT(), 1);
    EXPECT_EQ(sd.SCO->getGraphMH(), 0);
    EXPECT_EQ(sd.SCO->getGraphCost(), 1);
    EXPECT_EQ(sd.SCO->getCutOffDate(), 41348.0);
    EXPECT_EQ(sd.SCO->getMHQty(), qtyTaskTotal);
    EXPECT_EQ(sd.SCO->getCostQty(), qtyExpendedToDate);
    EXPECT_EQ(sd.DSM->getItems(1)->getTaskFldXL(), Q("B"));
    EXPECT_TRUE(sd.DSM->getItems(1)->getTaskFldRequired());
    EXPECT_EQ(sd.DSM->getItems(9)->getTaskFldDescXL(), Q("Pct"));
    EXPECT_EQ(sd.DSF->getEnabled(), 1);
    ASSERT_EQ(sd.DSF->getCount(), 2); // rows 1, 2 and 4: the gap ends them
    EXPECT_EQ(sd.DSF->getItems(1)->getFilterOperator(), foDoesNotEqual);
    EXPECT_EQ(sd.DSF->getItems(1)->getTaskFldValueXL(), Q("North"));
    EXPECT_EQ(sd.DSF->getItems(2)->getAndFlag(), 0);
    EXPECT_EQ(sd.DSF->getItems(2)->getFilterOperator(), foIsBlank);
    const TovSD& second = *SDs->getItems(2);
    EXPECT_EQ(second.SCF->getDSF_TaskWS(), Q("Task_Table1"));
    EXPECT_EQ(second.SCO->getCutOffDate(), kToday); // not a date
    EXPECT_EQ(second.DSF->getCount(), 0);
    EXPECT_TRUE(DF->getIsOldFormat());
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
    EXPECT_EQ(view.maximum, 13 * 2 + 2);
}

TEST_F(DataFileFormat, FilterRowsBeyondFiveAreListedAndTheFileNeedsSaveAs) {
    const QString path = CopyFixture(Q("filter_rows_beyond_five.krvc"));
    const QByteArray before = ReadAll(path);
    ASSERT_TRUE(DF->OpenDropped(path));
    EXPECT_TRUE(dlg.shown.empty());
    ASSERT_EQ(SDs->getCount(), 2);
    const TovDSF& dsf = *SDs->getItems(1)->DSF;
    ASSERT_EQ(dsf.getCount(), 5);
    EXPECT_EQ(dsf.getItems(1)->getTaskFldValueXL(), Q("Fallback"));
    EXPECT_EQ(dsf.getItems(5)->getTaskFldXL(), Q("E"));
    EXPECT_EQ(SDs->getItems(2)->DSF->getCount(), 0);
    EXPECT_EQ(DF->getPB_Count(), 13 * 2 + 5 + 1);

    // Rows 6 and 7 were not read; they are listed as such, not as invalid rows.
    QStringList listed;
    for (int i = 1; i <= DV->getDFVErrCount(); ++i) {
        listed << DV->getDFVErrFld(i) + Q(" | ") + DV->getDFVErrDetails(i);
    }
    const QString notRead = platform::Format(UIT(txt::RowWasNotReadKRV), {5});
    EXPECT_TRUE(listed.contains(Q("ID [6] Filter Row | ") + notRead))
        << listed.join(Q("\n")).toStdString();
    EXPECT_TRUE(listed.contains(Q("ID [7] Filter Row | ") + notRead));
    EXPECT_TRUE(DF->getIsPartial());
    // Saving in place would drop rows 6 and 7: Save goes to Save As (cancelled here).
    EXPECT_FALSE(DF->Save());
    EXPECT_EQ(dialogs.saves.size(), 1u);
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(DataFileFormat, DefinitionsBeyond255AreListedAndTheFileNeedsSaveAs) {
    QString text = Q("[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\n"
                     "Version=5.3.0.0\nSD_Count=300\n");
    for (int n = 1; n <= 300; ++n) {
        text += Q("[Ovik KRV Tessel\\SD_%1]\nDescription=D%1\n").arg(n);
    }
    const QString path = Path(Q("many.krvc"));
    WriteAll(path, text.toUtf8());
    ASSERT_TRUE(OpenAnswering(path, {mrYes}, dlg));
    ASSERT_EQ(dlg.shown.size(), 1u);
    EXPECT_EQ(dlg.shown[0].key, Q("UDF007"));
    EXPECT_TRUE(dlg.shown[0].lines.contains(Q("KRV Definitions found: 300")));
    EXPECT_TRUE(dlg.shown[0].lines.contains(Q("Maximum KRV Definitions: 255")));
    EXPECT_EQ(SDs->getCount(), 255);
    EXPECT_EQ(SDs->getItems(255)->getDescription(), Q("D255"));
    EXPECT_GE(DV->getDFVErrCount(), 1);
    EXPECT_EQ(DV->getDFVErrFld(DV->getDFVErrCount()), Q("KRV Definitions found: 300"));
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
}

TEST_F(DataFileFormat, ReadingFollowsTheDefaultsOfMissingKeys) {
    const QString path = Path(Q("sparse.krvc"));
    WriteAll(path, "[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\n"
                   "Version=5.3.0.0\nSD_Count=1\n"
                   "[Ovik KRV Tessel\\SD_1\\SCO]\nMHQty= expendedtodate \nCostQty=Unknown\n"
                   "GenerateACT=2\nGraphMH=text\n"
                   "[Ovik KRV Tessel\\SD_1\\DSF]\nDSFxCount=1\n"
                   "[Ovik KRV Tessel\\SD_1\\DSF\\DSFx_1]\nFilterOperator=NoSuchOperator\n");
    ASSERT_TRUE(DF->OpenDropped(path));
    const TovSD& sd = *SDs->getItems(1);
    EXPECT_EQ(sd.SCF->getDSF_TaskWS(), Q("Task_Table1"));
    EXPECT_EQ(sd.SCF->getDSF_THR(), 1);
    EXPECT_EQ(sd.SCF->getTF_ChartDataWS(), Q("Chart Data"));
    EXPECT_EQ(sd.SCF->getOF_DrivePathFilenameExtnXL(), sd.SCF->getDefaultOF());
    EXPECT_EQ(sd.SCO->getCutOffDate(), kToday);
    EXPECT_EQ(sd.SCO->getGenerateACT(), 1);
    EXPECT_EQ(sd.SCO->getMHQty(), qtyExpendedToDate);
    EXPECT_EQ(sd.SCO->getCostQty(), qtyTaskTotal);
    ASSERT_EQ(sd.DSF->getCount(), 1);
    EXPECT_EQ(sd.DSF->getItems(1)->getAndFlag(), 1);
    EXPECT_EQ(sd.DSF->getItems(1)->getFilterOperator(), foEquals);
}
