#include "ModelFixture.h"

#include "model/ovDSF.h"
#include "model/ovDSM.h"

using modeltest::ModelTest;
using testsupport::messageBoxes;

namespace {

void addRow(TovDSF& dsf, const QString& field, uint8_t op, const QString& value,
            uint8_t andFlag = 1) {
    TovDSFx* row = dsf.getItems(dsf.Add());
    row->setTaskFldXL(field);
    row->setFilterOperator(op);
    row->setTaskFldValueXL(value);
    row->setAndFlag(andFlag);
}

QStringList rowFields(const TovDSF& dsf) {
    QStringList list;
    for (int j = 1; j <= dsf.getCount(); ++j) {
        list << dsf.getItems(j)->getTaskFldXL() + QLatin1Char(':') +
                    dsf.getItems(j)->getTaskFldValueXL();
    }
    return list;
}

void fillCaches(TovSD& sd) {
    sd.setWSL_Count(1, 2);
    sd.setWSL_WS(1, 2, QStringLiteral("Tasks"));
    sd.setWSL_Loaded(1, true);
    sd.setFL_Count(3);
    sd.setFL_Loaded(true);
    sd.setVL_Count(1);
    sd.setVL_Loaded(1, true);
    sd.setVL_TaskCount(9);
}

bool cachesEmpty(const TovSD& sd) {
    for (int i = 0; i <= 2; ++i) {
        if (sd.getWSL_Count(i) != 0 || sd.getWSL_Loaded(i)) {
            return false;
        }
    }
    return sd.getFL_Count() == 0 && !sd.getFL_Loaded() && sd.getVL_Count() == 0 &&
           sd.getVL_TaskCount() == 0 && !sd.getVL_Loaded(0);
}

} // namespace

TEST_F(ModelTest, ListIndexesOutsideTheRangeGiveTheSpareDefinition) {
    addSD(QStringLiteral("One"));
    EXPECT_EQ(SDs->getItems(0)->getDescription(), QString());
    EXPECT_TRUE(messageBoxes().shown.empty());
    EXPECT_EQ(SDs->getItems(2), SDs->getItems(0));
    ASSERT_EQ(messageBoxes().shown.size(), 1u);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(QStringLiteral("SDs.getItems")));
    SDs->setActiveSD(5);
    EXPECT_EQ(SDs->getActiveSD(), 0);
}

TEST_F(ModelTest, DeleteMovesLaterSettingsDownAndKeepsEarlierObjects) {
    TovSD* first = addSD(QStringLiteral("A"));
    addSD(QStringLiteral("B"));
    TovSD* third = addSD(QStringLiteral("C"));
    addRow(*third->DSF, QStringLiteral("c"), foContains, QStringLiteral("x"));
    third->SCF->setDSF_THR(4);

    SDs->Delete(2);
    ASSERT_EQ(SDs->getCount(), 2);
    EXPECT_EQ(SDs->getItems(1), first);
    EXPECT_EQ(SDs->getItems(2)->getDescription(), QStringLiteral("C"));
    EXPECT_EQ(rowFields(*SDs->getItems(2)->DSF), QStringList{QStringLiteral("C:x")});
    EXPECT_EQ(SDs->getItems(2)->SCF->getDSF_THR(), 4);

    SDs->Delete(3);
    EXPECT_EQ(SDs->getCount(), 2);
    SDs->Delete(1);
    SDs->Delete(1);
    EXPECT_EQ(SDs->getCount(), 0);
    EXPECT_EQ(SDs->getItems(0)->getDescription(), QString());
}

TEST_F(ModelTest, SwapExchangesEverySetting) {
    TovSD* a = addSD(QStringLiteral("A"));
    TovSD* b = addSD(QStringLiteral("B"));
    addRow(*a->DSF, QStringLiteral("A"), foEquals, QStringLiteral("1"));
    addRow(*a->DSF, QStringLiteral("B"), foIsBlank, QString(), 0);
    a->DSF->setEnabled(1);
    b->PD->setProjectTitle(QStringLiteral("Bridge"));
    b->DSM->getItems(7)->setTaskFldXL(QStringLiteral("h"));
    b->SCO->setMHQty(1);

    EXPECT_TRUE(SDs->Swap(1, 1));
    EXPECT_FALSE(SDs->Swap(1, 3));
    EXPECT_EQ(a->getDescription(), QStringLiteral("A"));

    EXPECT_TRUE(SDs->Swap(1, 2));
    EXPECT_EQ(a->getDescription(), QStringLiteral("B"));
    EXPECT_EQ(a->PD->getProjectTitle(), QStringLiteral("Bridge"));
    EXPECT_EQ(a->DSM->getItems(7)->getTaskFldXL(), QStringLiteral("H"));
    EXPECT_EQ(a->SCO->getMHQty(), 1);
    EXPECT_EQ(a->DSF->getCount(), 0);
    EXPECT_EQ(b->getDescription(), QStringLiteral("A"));
    EXPECT_EQ(rowFields(*b->DSF), (QStringList{QStringLiteral("A:1"), QStringLiteral("B:")}));
    EXPECT_EQ(b->DSF->getItems(2)->getAndFlag(), 0);
    EXPECT_EQ(b->DSF->getEnabled(), 1);
    EXPECT_EQ(b->SCO->getMHQty(), 0);
}

// Copy refuses bad indexes and replaces the target's filter rows instead of appending to them.
TEST_F(ModelTest, CopyChecksIndexesAndReplacesFilterRows) {
    TovSD* src = addSD(QStringLiteral("Source"));
    TovSD* dst = addSD(QStringLiteral("Target"));
    for (const char* f : {"A", "B", "C"}) {
        addRow(*src->DSF, QString::fromLatin1(f), foStartsWith, QStringLiteral("v"));
    }
    addRow(*dst->DSF, QStringLiteral("Z"), foEquals, QStringLiteral("old"));

    EXPECT_FALSE(SDs->Copy(1, 3));
    EXPECT_FALSE(SDs->Copy(0, 2));
    EXPECT_EQ(dst->getDescription(), QStringLiteral("Target"));

    EXPECT_TRUE(SDs->Copy(1, 2));
    EXPECT_EQ(dst->getDescription(), QStringLiteral("Source"));
    EXPECT_EQ(rowFields(*dst->DSF),
              (QStringList{QStringLiteral("A:v"), QStringLiteral("B:v"), QStringLiteral("C:v")}));

    EXPECT_TRUE(SDs->Copy(1, 1));
    EXPECT_EQ(src->DSF->getCount(), 3);
}

TEST_F(ModelTest, EveryListChangeEmptiesTheCaches) {
    addSD(QStringLiteral("A"));
    addSD(QStringLiteral("B"));
    addSD(QStringLiteral("C"));
    const std::function<void()> changes[] = {
        [] { SDs->Add(); },
        [] { SDs->Delete(4); },
        [] { SDs->Swap(1, 3); },
        [] { SDs->Copy(1, 2); },
    };
    for (const auto& change : changes) {
        for (int i = 1; i <= SDs->getCount(); ++i) {
            fillCaches(*SDs->getItems(i));
        }
        change();
        for (int i = 1; i <= SDs->getCount(); ++i) {
            EXPECT_TRUE(cachesEmpty(*SDs->getItems(i))) << "definition " << i;
        }
    }
}

TEST_F(ModelTest, CacheAccessorsKeepElementsWhenResizedAndRefuseBadIndexes) {
    TovSD* sd = addSD(QStringLiteral("A"));
    sd->setFL_Count(2);
    sd->setFL_TaskFld(2, QStringLiteral("  C "));
    sd->setFL_TaskFldValue(2, 3, QStringLiteral("North"));
    sd->setFL_Count(4);
    EXPECT_EQ(sd->getFL_TaskFld(2), QStringLiteral("C"));
    EXPECT_EQ(sd->getFL_TaskFldValue(2, 3), QStringLiteral("North"));
    EXPECT_EQ(sd->getFL_TaskFldValue(4, 3), QString());

    sd->setVL_Count(1);
    sd->setVL_TaskFldValCount(1, 2);
    sd->setVL_TaskFldValue(1, 2, QStringLiteral("x"));
    sd->setVL_TaskFldValTaskCount(1, 2, 7);
    sd->setVL_Count(3);
    EXPECT_EQ(sd->getVL_TaskFldValue(1, 2), QStringLiteral("x"));
    EXPECT_EQ(sd->getVL_TaskFldValTaskCount(1, 2), 7);
    EXPECT_EQ(sd->getVL_TaskFldValCount(3), 0);

    messageBoxes().shown.clear();
    EXPECT_EQ(sd->getWSL_WS(3, 0), QString());
    EXPECT_EQ(sd->getFL_TaskFldValue(1, 6), QString());
    sd->setVL_TaskFldValue(1, 3, QStringLiteral("y"));
    ASSERT_EQ(messageBoxes().shown.size(), 3u);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(QStringLiteral("SD.getWSL_WS")));
    EXPECT_TRUE(messageBoxes().shown[2].text.contains(QStringLiteral("SD.setVL_TaskFldValue")));
}

TEST_F(ModelTest, TextSettersTrimAndUpperCaseAsEachFieldRequires) {
    TovSD* sd = addSD(QStringLiteral("  Plant  "));
    EXPECT_EQ(sd->getDescription(), QStringLiteral("Plant"));
    sd->DSM->getItems(1)->setTaskFldXL(QStringLiteral(" ab "));
    EXPECT_EQ(sd->DSM->getItems(1)->getTaskFldXL(), QStringLiteral("AB"));
    TovDSFx* row = sd->DSF->getItems(sd->DSF->Add());
    row->setTaskFldXL(QStringLiteral("\tx "));
    row->setTaskFldValueXL(QStringLiteral(" keep "));
    EXPECT_EQ(row->getTaskFldXL(), QStringLiteral("X"));
    EXPECT_EQ(row->getTaskFldValueXL(), QStringLiteral(" keep "));
    sd->SCF->setOF_DrivePathFilenameExtnXL(QStringLiteral(" /out/r.xlsx "));
    sd->SCF->setDSF_TaskWS(QStringLiteral(" Tasks "));
    EXPECT_EQ(sd->SCF->getOF_DrivePathFilenameExtnXL(), QStringLiteral("/out/r.xlsx"));
    EXPECT_EQ(sd->SCF->getOF_DrivePath(), QStringLiteral("/out/"));
    EXPECT_EQ(sd->SCF->getOF_FilenameExtnXL(), QStringLiteral("r.xlsx"));
    EXPECT_EQ(sd->SCF->getDSF_TaskWS(), QStringLiteral(" Tasks "));
}

TEST_F(ModelTest, DataSourceMapRequiredFieldsFollowTheOptions) {
    struct Case {
        TDSMRequiredOptions options;
        QString required;
    };
    TDSMRequiredOptions blTgtMh;
    blTgtMh.Baseline = blTgtMh.Target = blTgtMh.ManHours = true;
    TDSMRequiredOptions actOnly;
    actOnly.Actual = true;
    actOnly.ManHoursExpendedToDate = actOnly.CostExpendedToDate = true;
    TDSMRequiredOptions all{true, true, true, true, false, true, false};
    const Case cases[] = {
        {blTgtMh, QStringLiteral("123567")},
        {actOnly, QStringLiteral("569")},
        {all, QStringLiteral("123456789")},
        {TDSMRequiredOptions{}, QString()},
    };
    TovDSM dsm;
    for (const Case& c : cases) {
        dsm.SetDSMRequiredFields(c.options);
        QString required;
        for (int i = 1; i <= 9; ++i) {
            if (dsm.getItems(i)->getTaskFldRequired()) {
                required += QString::number(i);
            }
        }
        EXPECT_EQ(required, c.required);
    }
    EXPECT_EQ(dsm.getItems(9)->getName(), QStringLiteral("% Complete"));
    EXPECT_EQ(dsm.getItems(10), dsm.getItems(0));
    EXPECT_EQ(messageBoxes().shown.size(), 1u);
}

TEST_F(ModelTest, SCurveFileDefaultsFollowThePreferences) {
    TovSCF none;
    EXPECT_EQ(none.getTF_DrivePathFilenameExtnXL(), QString());
    EXPECT_EQ(none.getOF_DrivePathFilenameExtnXL(), QStringLiteral("Ovik_KRV_Tessel_Output.xlsx"));
    EXPECT_EQ(none.getDSF_TaskWS(), QStringLiteral("Task_Table1"));
    EXPECT_EQ(none.getDSF_THR(), 1);
    EXPECT_EQ(none.getTF_ProjectSummaryWS(), QStringLiteral("Project Summary"));
    EXPECT_EQ(none.getTF_ChartDataWS(), QStringLiteral("Chart Data"));

    prefs.DefaultTFDDLItemIndex = 1;
    prefs.DefaultOFFolderDDLItemIndex = 3;
    prefs.DefaultOFFolderOther = QStringLiteral("/srv/out/");
    xl.setVersion(4);
    TovSCF automatic;
    EXPECT_EQ(automatic.getTF_DrivePathFilenameExtnXL(),
              QStringLiteral("/opt/krv/Templates/Ovik_KRV_Tessel_Template.xls"));
    EXPECT_EQ(automatic.getOF_DrivePathFilenameExtnXL(),
              QStringLiteral("/srv/out/Ovik_KRV_Tessel_Output.xls"));

    prefs.DefaultTFDDLItemIndex = 4;
    prefs.DefaultTFOther = QStringLiteral("/home/me/My.Template.XLSX");
    TovSCF own;
    EXPECT_EQ(own.getOF_DrivePathFilenameExtnXL(),
              QStringLiteral("/srv/out/Ovik_KRV_Tessel_Output.XLSX"));
}

TEST_F(ModelTest, FilterRowsDeleteAndRefuseTheSpareRow) {
    TovDSF dsf;
    for (const char* f : {"A", "B", "C", "D"}) {
        addRow(dsf, QString::fromLatin1(f), foEquals, QString());
    }
    dsf.Delete(2);
    EXPECT_EQ(rowFields(dsf),
              (QStringList{QStringLiteral("A:"), QStringLiteral("C:"), QStringLiteral("D:")}));
    dsf.Delete(0);
    dsf.Delete(4);
    EXPECT_EQ(dsf.getCount(), 3);
    ASSERT_EQ(messageBoxes().shown.size(), 2u);
    EXPECT_TRUE(messageBoxes().shown[0].text.contains(QStringLiteral("DSF.Delete")));
    EXPECT_EQ(dsf.getItems(0)->getTaskFldXL(), QString());
}

TEST_F(ModelTest, FilterOperatorKeywordsNamesAndLegacyKeywords) {
    struct Case {
        QString text;
        uint8_t keyword, name, legacy;
    };
    const Case cases[] = {
        {QStringLiteral("  isblank "), foIsBlank, foEquals, foEquals},
        {QStringLiteral("DoesNotContain"), foDoesNotContain, foEquals, foEquals},
        {QStringLiteral("is greater than or equal to"), foEquals, foIsGreaterThanOrEqualTo,
         foEquals},
        {QStringLiteral(" greater than or equal "), foEquals, foEquals, foIsGreaterThanOrEqualTo},
        {QStringLiteral("not equal to"), foEquals, foEquals, foDoesNotEqual},
        {QStringLiteral("Starts With"), foEquals, foStartsWith, foEquals},
        {QString(), foEquals, foEquals, foEquals},
        {QStringLiteral("Whatever"), foEquals, foEquals, foEquals},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TovDSFx::getFilterOperatorOfKeyword(c.text), c.keyword) << c.text.toStdString();
        EXPECT_EQ(TovDSF::getFilterOperatorOfName(c.text), c.name) << c.text.toStdString();
        EXPECT_EQ(TovDSF::getFilterOperatorOfLegacyKeyword(c.text), c.legacy)
            << c.text.toStdString();
    }
    for (int v = 0; v < FilterOperatorCount; ++v) {
        const auto op = static_cast<uint8_t>(v);
        EXPECT_EQ(TovDSFx::getFilterOperatorOfKeyword(TovDSFx::getFilterOperatorKeyword(op)), op);
        EXPECT_EQ(TovDSF::getFilterOperatorOfName(TovDSF::getFilterOperatorName(op)), op);
    }
    EXPECT_EQ(TovDSFx::getFilterOperatorKeyword(200), QStringLiteral("Equals"));
    EXPECT_EQ(TovDSF::getFilterOperatorName(14), QStringLiteral("Equals"));

    TovDSFx row;
    row.setFilterOperator(foContains);
    EXPECT_TRUE(row.setFilterOperator(14));
    EXPECT_EQ(row.getFilterOperator(), foContains);
    TovSCO sco;
    EXPECT_TRUE(sco.setMHQty(2));
    EXPECT_FALSE(sco.setCostQty(1));
    EXPECT_EQ(sco.getMHQty(), 0);
    EXPECT_EQ(TovSCO::getQuantityOfKeyword(QStringLiteral(" expendedtodate ")), 1);
    EXPECT_EQ(TovSCO::getQuantityKeyword(7), QStringLiteral("TaskTotal"));
}

TEST_F(ModelTest, FilterAndOptionDescriptions) {
    TovDSF dsf;
    EXPECT_EQ(dsf.getFilterText(), QStringLiteral("Disabled, Undefined"));
    dsf.setEnabled(1);
    addRow(dsf, QStringLiteral("C"), foEquals, QStringLiteral("North"));
    dsf.getItems(1)->setTaskFldDescXL(QStringLiteral("Area"));
    addRow(dsf, QStringLiteral("F"), foIsBlank, QString(), 0);
    addRow(dsf, QStringLiteral("G"), foContains, QStringLiteral("x"), 1);
    EXPECT_EQ(
        dsf.getFilterText(),
        QStringLiteral("Enabled, (Area [C] = North) Or ([F] Is Blank ) And ([G] Contains x)"));

    TovSCO sco;
    EXPECT_EQ(sco.getDataOptionsText(), QString());
    sco.setGenerateACT(1);
    EXPECT_EQ(sco.getDataOptionsText(), QStringLiteral("Actual"));
    sco.setGenerateBL(1);
    sco.setGenerateTGT(1);
    EXPECT_EQ(
        sco.getDataOptionsText(),
        QStringLiteral("Baseline, Actual, Target, % S Curves, % Histograms (Baseline, Target)"));
    sco.setGraphMH(1);
    sco.setGraphCost(1);
    sco.setCostQty(1);
    EXPECT_EQ(sco.getQuantityOptionsText(),
              QStringLiteral("Man Hours (Task Total), Cost (Expended To Date)"));
    EXPECT_EQ(sco.getCutOffDate(), modeltest::kToday);
}

// The header-only adapters forward to whatever object start-up installs.
TEST(ModelAdapters, ForwardToTheirObjects) {
    struct FakeXL {
        uint8_t getVersion() { return 3; }
        QString DefaultExtension() { return QStringLiteral("xls"); }
        void setFilePath(const QString& p) { path = p; }
        int MaxRows() { return 65536; }
        int MaxColumns() { return 256; }
        static int LettersToColumn(const QString&, int) { return 42; }
        QString path;
    } fakeXL;
    TXLLimitsOf<FakeXL> limits(&fakeXL);
    limits.setFilePath(QStringLiteral("/a.xls"));
    EXPECT_EQ(fakeXL.path, QStringLiteral("/a.xls"));
    EXPECT_EQ(limits.getVersion(), 3);
    EXPECT_EQ(limits.LettersToColumn(QStringLiteral("A"), 1), 42);

    TovXLLimitsDefault standard;
    EXPECT_EQ(standard.LettersToColumn(QStringLiteral("xfd"), 16384), 16384);
    EXPECT_EQ(standard.LettersToColumn(QStringLiteral("XFE"), 16384), 0);
    EXPECT_EQ(standard.LettersToColumn(QStringLiteral("A1"), 16384), 0);
    standard.setFilePath(QStringLiteral("/x/book.XLS"));
    EXPECT_EQ(standard.MaxRows(), 65536);
    standard.setVersion(0);
    EXPECT_EQ(standard.MaxColumns(), 16384);
    EXPECT_EQ(standard.DefaultExtension(), QStringLiteral("xls"));
}
