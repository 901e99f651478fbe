#include "ModelFixture.h"

#include "platform/FileAccess.h"
#include "services/ovAD.h"

#include <QFile>
#include <QSet>

using modeltest::ModelTest;

namespace {

// A definition that passes every check: files that exist, Baseline with man hours, columns A..C.
class ValidationTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        sd = addSD(QStringLiteral("Plant"));
        SDs->setActiveSD(1);
        sd->SCF->setDSF_DrivePathFilenameExtnXL(makeFile(QStringLiteral("ds.xlsx")));
        sd->SCF->setTF_DrivePathFilenameExtnXL(makeFile(QStringLiteral("tpl.xlsx")));
        sd->SCF->setOF_DrivePathFilenameExtnXL(dir.path() + QStringLiteral("/out.xlsx"));
        sd->SCO->setGenerateBL(1);
        sd->SCO->setGraphMH(1);
        for (int i = 1; i <= 3; ++i) {
            sd->DSM->getItems(i)->setTaskFldXL(QString(QChar('A' + i - 1)));
        }
    }

    QStringList errors() {
        EXPECT_FALSE(DV->ValidateDefinition());
        return listed();
    }
    QStringList listed() const {
        QStringList list;
        for (int n = 1; n <= DV->getCfgErrCount(); ++n) {
            list << QStringLiteral("%1/%2").arg(DV->getCfgErrFldID(n)).arg(DV->getCfgErrRowID(n));
        }
        return list;
    }
    void addRow(const QString& field, uint8_t op, const QString& value, uint8_t andFlag = 1) {
        TovDSFx* row = sd->DSF->getItems(sd->DSF->Add());
        row->setTaskFldXL(field);
        row->setFilterOperator(op);
        row->setTaskFldValueXL(value);
        row->setAndFlag(andFlag);
    }

    TovSD* sd = nullptr;
};

} // namespace

TEST_F(ValidationTest, ACompleteDefinitionHasNoErrors) {
    EXPECT_EQ(errors(), QStringList());
    EXPECT_TRUE(cfgList.items.isEmpty());
    EXPECT_TRUE(dlg.shown.empty());
}

TEST_F(ValidationTest, NoDataOptionGivesTwoErrorsAndClearsTheQuantities) {
    sd->SCO->setGenerateBL(0);
    EXPECT_TRUE(DV->ValidateDefinition());
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("759/0"), QStringLiteral("768/0")}));
    EXPECT_EQ(sd->SCO->getGraphMH(), 0);
    EXPECT_EQ(DV->getCfgErrTab(1), QStringLiteral("S Curve Options"));
    EXPECT_EQ(DV->getCfgErrTabID(1), 119);
    EXPECT_EQ(cfgList.items, (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(cfgList.itemIndex, 0);
}

TEST_F(ValidationTest, FileErrorsAndRepairs) {
    // An over-long path is cut and still checked.
    sd->SCF->setDSF_DrivePathFilenameExtnXL(QStringLiteral("/") + QString(300, QLatin1Char('d')));
    EXPECT_TRUE(DV->ValidateDefinition());
    EXPECT_EQ(sd->SCF->getDSF_DrivePathFilenameExtnXL(),
              QStringLiteral("/") + QString(259, QLatin1Char('d')) + QStringLiteral(".xlsx"));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("747/0")});
    // The file system refuses a name that long: the file check says so (U004) rather than
    // calling the file missing in silence.
    EXPECT_EQ(dlg.keys(), (QStringList{QStringLiteral("UDV014"), QStringLiteral("U004")}));

    // A wrong extension is changed after the dialogue; the changed path must exist.
    const QString csv = makeFile(QStringLiteral("tasks.csv"));
    makeFile(QStringLiteral("tasks.xlsx"));
    sd->SCF->setDSF_DrivePathFilenameExtnXL(csv);
    sd->SCF->setDSF_THR(1048576);
    sd->SCF->setTF_ChartDataWS(QStringLiteral("project summary"));
    EXPECT_TRUE(DV->ValidateDefinition());
    EXPECT_EQ(sd->SCF->getDSF_DrivePathFilenameExtnXL(),
              dir.path() + QStringLiteral("/tasks.xlsx"));
    EXPECT_EQ(sd->SCF->getDSF_THR(), 1);
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("751/0"), QStringLiteral("756/0")}));
    EXPECT_EQ(dlg.keys().last(), QStringLiteral("UDV015"));
}

// The output workbook may not be one the run reads.
TEST_F(ValidationTest, OutputFileEqualToAnInputIsAnError) {
    sd->SCF->setOF_DrivePathFilenameExtnXL(dir.path() + QStringLiteral("/sub/../ds.xlsx"));
    EXPECT_EQ(errors(), QStringList{QStringLiteral("757/0")});
    EXPECT_EQ(DV->getCfgErrDetails(1),
              QStringLiteral("The Output File is the same as the Data Source File."));
    sd->SCF->setOF_DrivePathFilenameExtnXL(dir.path() + QStringLiteral("//tpl.xlsx"));
    EXPECT_EQ(errors(), QStringList{QStringLiteral("757/0")});
    sd->SCF->setOF_DrivePathFilenameExtnXL(dir.path() + QStringLiteral("/DS.xlsx"));
    EXPECT_EQ(errors(), QStringList());
}

// The file system's answer comes through the file-access seam, so that the test holds for every
// user (the superuser may write any file).
class ReadOnlyFile : public platform::FileAccess {
public:
    explicit ReadOnlyFile(QString path) : Path(std::move(path)) {}
    platform::FileAnswer isReadOnly(const QString& path) override {
        return path == Path ? platform::FileAnswer::yes() : platform::FileAnswer::no();
    }

private:
    QString Path;
};

TEST_F(ValidationTest, ReadOnlyOutputFileIsAnError) {
    const QString out = makeFile(QStringLiteral("ro.xlsx"));
    platform::setFileAccess(std::make_unique<ReadOnlyFile>(out));
    sd->SCF->setOF_DrivePathFilenameExtnXL(out);
    EXPECT_EQ(errors(), QStringList{QStringLiteral("757/0")});
    EXPECT_EQ(DV->getCfgErrFldVal(1), out);
    EXPECT_TRUE(DV->getCfgErrDetails(1).startsWith(QStringLiteral("The Output File exists, and is "
                                                                  "read-only.")));
    platform::setFileAccess(nullptr);
}

TEST_F(ValidationTest, DataSourceMapRequiredAndRepeatedColumns) {
    sd->SCO->setGenerateACT(1);
    sd->DSM->getItems(2)->setTaskFldXL(QString());
    sd->DSM->getItems(5)->setTaskFldXL(QStringLiteral("a"));
    sd->DSM->getItems(6)->setTaskFldXL(QStringLiteral("F"));
    sd->DSM->getItems(7)->setTaskFldXL(QStringLiteral("G"));
    sd->DSM->getItems(9)->setTaskFldXL(QStringLiteral("A"));
    EXPECT_EQ(errors(), (QStringList{QStringLiteral("777/2"), QStringLiteral("777/5"),
                                     QStringLiteral("777/9")}));
    EXPECT_EQ(DV->getCfgErrFld(1), QStringLiteral("Baseline Finish Date Task Field"));
    EXPECT_EQ(DV->getCfgErrFldVal(1), QStringLiteral("Undefined"));
}

TEST_F(ValidationTest, FilterRowsAreCheckedOnlyWhenTheFilterIsEnabled) {
    addRow(QString(), foEquals, QStringLiteral("x"));
    addRow(QStringLiteral("C"), foIsGreaterThan, QString());
    addRow(QStringLiteral("D"), foIsBlank, QStringLiteral("v"));
    EXPECT_EQ(errors(), QStringList());
    sd->DSF->setEnabled(1);
    EXPECT_EQ(errors(), (QStringList{QStringLiteral("791/1"), QStringLiteral("794/2"),
                                     QStringLiteral("794/3")}));
    EXPECT_EQ(DV->getCfgErrDetails(2), QStringLiteral("The ID [2] Task Field Value cannot be "
                                                      "undefined for the selected Filter Operator: "
                                                      "Is Greater Than"));
    sd->DSF->Clear();
    EXPECT_EQ(errors(), QStringList{QStringLiteral("791/0")});
}

TEST_F(ValidationTest, FilterRowPairs) {
    sd->DSF->setEnabled(1);
    struct Row {
        const char* field;
        uint8_t op;
        const char* value;
        uint8_t andFlag;
    };
    struct Case {
        std::vector<Row> rows;
        QStringList expected;
    };
    const QStringList none;
    const QStringList row2{QStringLiteral("791/2")};
    const Case cases[] = {
        {{{"C", foEquals, "5", 1}, {"C", foIsLessThan, "5", 1}}, row2},
        {{{"C", foIsLessThan, "5", 1}, {"C", foEquals, "5", 1}}, row2},
        {{{"C", foEquals, "5", 1}, {"C", foIsLessThan, "5", 0}}, none},
        {{{"C", foEquals, "5", 1}, {"D", foEquals, "x", 0}, {"C", foIsLessThan, "5", 1}}, none},
        {{{"C", foEquals, "5", 1}, {"D", foEquals, "x", 1}, {"C", foIsLessThan, "5", 1}},
         QStringList{QStringLiteral("791/3")}},
        {{{"C", foEquals, "5", 1}, {"C", foEquals, "6", 1}}, row2},
        {{{"C", foStartsWith, "AB", 1}, {"C", foStartsWith, "ABC", 1}}, none},
        {{{"C", foStartsWith, "AB", 1}, {"C", foStartsWith, "AC", 1}}, row2},
        {{{"C", foStartsWith, "ab", 1}, {"C", foStartsWith, "ABC", 1}}, none},
        {{{"C", foEndsWith, "xY", 1}, {"C", foEndsWith, "zxy", 1}}, none},
        {{{"C", foEndsWith, "ab", 1}, {"C", foEndsWith, "ba", 1}}, row2},
        {{{"C", foContains, "North", 1}, {"c", foContains, "NORTH", 0}}, row2},
        {{{"C", foIsBlank, "", 1}, {"C", foIsNotBlank, "", 1}}, row2},
    };
    int n = 0;
    for (const Case& c : cases) {
        sd->DSF->Clear();
        for (const Row& r : c.rows) {
            addRow(QString::fromLatin1(r.field), r.op, QString::fromLatin1(r.value), r.andFlag);
        }
        EXPECT_EQ(errors(), c.expected) << "case " << n;
        ++n;
    }
}

TEST_F(ModelTest, PostLoadRepairsDescriptionsAndListsThem) {
    addSD(QStringLiteral("Alpha"));
    addSD(QStringLiteral("alpha"));
    addSD(QString());
    addSD(QStringLiteral("[2] ALPHA"));
    addSD(QStringLiteral("ALPHA"));
    addSD(QString(300, QLatin1Char('z')));
    EXPECT_TRUE(SDs->ValidateSDsAfterLoad(false));

    QStringList descriptions;
    QSet<QString> unique;
    for (int i = 1; i <= SDs->getCount(); ++i) {
        descriptions << SDs->getItems(i)->getDescription();
        unique.insert(modelutil::UpperAZ(descriptions.last()));
    }
    EXPECT_EQ(unique.size(), SDs->getCount()) << descriptions.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(descriptions[1], QStringLiteral("[2] alpha"));
    EXPECT_EQ(descriptions[2], QStringLiteral("Undefined KRV Definition [3]"));
    EXPECT_EQ(descriptions[3], QStringLiteral("[4] [2] ALPHA"));
    EXPECT_EQ(descriptions[4], QStringLiteral("[5] ALPHA"));
    EXPECT_EQ(descriptions[5].size(), 255);

    EXPECT_EQ(DV->getDFVErrCount(), 5);
    EXPECT_EQ(DV->getDFVErrSDDesc(1), QStringLiteral("Undefined"));
    EXPECT_EQ(DV->getDFVErrFld(1), QStringLiteral("KRV Definition Description"));
    EXPECT_EQ(DV->getDFVErrDetails(1),
              QStringLiteral("The [3] KRV Definition Description is undefined. Renamed."));
    EXPECT_EQ(DV->getDFVErrSDDesc(3), QStringLiteral("Alpha"));
    EXPECT_EQ(DV->getDFVErrDetails(3), QStringLiteral("The [2] KRV Definition Description is the "
                                                      "same as the [1] KRV Definition "
                                                      "Description. Renamed."));
    EXPECT_EQ(dfvList.items.size(), 5);
    EXPECT_EQ(dfvList.itemIndex, 0);
}

TEST_F(ModelTest, PostLoadRepairsOfTheParts) {
    TovSD* sd = addSD(QStringLiteral("One"));
    EXPECT_FALSE(SDs->ValidateSDsAfterLoad(false))
        << dfvDetails().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(DV->getDFVErrCount(), 0);

    sd->PD->setProjectTitle(QString(300, QLatin1Char('t')));
    sd->DSM->getItems(1)->setTaskFldXL(QStringLiteral("abcd"));
    TovDSFx* row = sd->DSF->getItems(sd->DSF->Add());
    row->setTaskFldXL(QStringLiteral("wxyz"));
    sd->SCF->setDSF_TaskWS(QString(40, QLatin1Char('w')));
    sd->SCF->setTF_DrivePathFilenameExtnXL(QStringLiteral("/t/tpl.xlsx"));
    sd->SCF->setOF_DrivePathFilenameExtnXL(QStringLiteral("/o/out.xls"));
    sd->SCO->setCutOffDate(2958466.0);
    sd->SCO->setMHQty(1);
    EXPECT_TRUE(SDs->ValidateSDsAfterLoad(false));
    EXPECT_EQ(dfvDetails(),
              (QStringList{
                  QStringLiteral("Project Title | The Project Title is too long: 300 Characters. "
                                 "Truncated to maximum length: 255 Characters."),
                  QStringLiteral("Task Worksheet | The Task Worksheet is too long: 40 Characters. "
                                 "Truncated to maximum length: 31 Characters."),
                  QStringLiteral("Output File | The Template File Extension does not match the "
                                 "Output File Extension. Changed to: .xlsx"),
                  QStringLiteral("Cut Off Date | The Cut Off Date is invalid. It has been reset "
                                 "to: 02-Jan-2024"),
                  QStringLiteral("Baseline Start Date Task Field | The Baseline Start Date Task "
                                 "Field is too long: 4 Characters. Truncated to maximum length: 3 "
                                 "Characters."),
                  QStringLiteral("ID [1] Task Field | The ID [1] Task Field is too long: 4 "
                                 "Characters. Truncated to maximum length: 3 Characters."),
              }));
    EXPECT_EQ(sd->PD->getProjectTitle().size(), 255);
    EXPECT_EQ(sd->SCF->getDSF_TaskWS().size(), 31);
    EXPECT_EQ(sd->SCF->getOF_DrivePathFilenameExtnXL(), QStringLiteral("/o/out.xlsx"));
    EXPECT_EQ(sd->SCO->getCutOffDate(), modeltest::kToday);
    EXPECT_EQ(sd->SCO->getMHQty(), 0);
    EXPECT_EQ(sd->DSM->getItems(1)->getTaskFldXL(), QStringLiteral("ABC"));
    EXPECT_EQ(row->getTaskFldXL(), QStringLiteral("WXY"));

    // Noon of the last valid day stays; a definition without data options is marked modified
    // only when it had quantities to clear.
    sd->SCO->setCutOffDate(2958465.5);
    EXPECT_FALSE(SDs->ValidateSDsAfterLoad(false));
    sd->SCO->setGraphCost(1);
    EXPECT_TRUE(SDs->ValidateSDsAfterLoad(false));
    EXPECT_EQ(sd->SCO->getGraphCost(), 0);
    EXPECT_EQ(DV->getDFVErrCount(), 0);
}

TEST_F(ModelTest, PostLoadMovesTheSamplePathsWithoutMarkingModified) {
    TGlobalObjectsSetup setup;
    setup.ProgramFolder = QStringLiteral("/opt/krv/");
    TGlobalObjects ad({TGlobalObject::goAD}, setup);
    prefs.DefaultOFFolderDDLItemIndex = 3;
    prefs.DefaultOFFolderOther = QStringLiteral("/srv/out/");
    TovSD* sd = addSD(QStringLiteral("Sample"));
    sd->SCF->setDSF_DrivePathFilenameExtnXL(QStringLiteral("/elsewhere/Sample.xlsx"));
    sd->SCF->setTF_DrivePathFilenameExtnXL(QStringLiteral("/old/Templates/T.xlsx"));
    sd->SCF->setOF_DrivePathFilenameExtnXL(QStringLiteral("/old/out/Result.xlsx"));
    EXPECT_FALSE(SDs->ValidateSDsAfterLoad(true));
    EXPECT_EQ(sd->SCF->getDSF_DrivePathFilenameExtnXL(),
              AD->getSamplePath() + QStringLiteral("Sample.xlsx"));
    EXPECT_EQ(sd->SCF->getTF_DrivePathFilenameExtnXL(),
              QStringLiteral("/opt/krv/Templates/T.xlsx"));
    EXPECT_EQ(sd->SCF->getOF_DrivePathFilenameExtnXL(), QStringLiteral("/srv/out/Result.xlsx"));
}
