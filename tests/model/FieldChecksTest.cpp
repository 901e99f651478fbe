#include "ModelFixture.h"
#include "platform/FileAccess.h"

#include <cerrno>

using modeltest::ModelTest;

namespace {

const QString kCaption = QStringLiteral("Data Source File");

} // namespace

TEST_F(ModelTest, PathChecksGiveTheirKeys) {
    struct Case {
        QString path;
        bool fails;
        QString key;
    };
    const Case cases[] = {
        {QStringLiteral("/home/me/plan.xlsx"), false, QString()},
        {QStringLiteral("/plan"), false, QString()},
        {QString(), true, QStringLiteral("UDV005")},
        {QStringLiteral("/data/a|b.xls"), true, QStringLiteral("UDV006")},
        {QStringLiteral("/data/a\tb.xls"), true, QStringLiteral("UDV006")},
        {QStringLiteral("   "), true, QStringLiteral("UDV007")},
        {QStringLiteral("plan.xlsx"), true, QStringLiteral("UDV007")},
        {QStringLiteral("C:\\Data\\plan.xlsx"), true, QStringLiteral("UDV007")},
        {QStringLiteral("/data/.xlsx"), true, QStringLiteral("UDV011")},
        {QStringLiteral("/data/a:b.xlsx"), true, QStringLiteral("UDV012")},
        {QStringLiteral("/data/con.xls"), false, QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DV->CheckPath(kCaption, c.path), c.fails) << c.path.toStdString();
        EXPECT_EQ(DV->getMsgKey(), c.key) << c.path.toStdString();
    }
}

TEST_F(ModelTest, IllegalCharactersAreListedOnceAndTheBarIsReplacedInTheHint) {
    EXPECT_TRUE(DV->CheckPath(kCaption, QStringLiteral("/d/a|b?c|d.xls")));
    EXPECT_EQ(DV->getIllegalChars(), QStringLiteral("|, ?"));
    EXPECT_EQ(DV->getHintText(), QStringLiteral("The Data Source File contains the following "
                                                "illegal characters: \u01C0, ?"));
    EXPECT_TRUE(DV->getDlgText().startsWith(
        QStringLiteral("The Data Source File contains the following illegal characters: |, ?")));
    EXPECT_EQ(DV->getValueText(), QStringLiteral("/d/a|b?c|d.xls"));

    EXPECT_TRUE(
        DV->CheckWorksheetName(QStringLiteral("Task Worksheet"), QStringLiteral("Plan[1]")));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV018"));
    EXPECT_EQ(DV->getIllegalChars(), QStringLiteral("[, ]"));
    EXPECT_TRUE(DV->CheckWorksheetName(QStringLiteral("Task Worksheet"), QString()));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV017"));
    EXPECT_EQ(DV->getValueText(), QStringLiteral("Undefined"));
    EXPECT_FALSE(DV->CheckWorksheetName(QStringLiteral("Task Worksheet"), QStringLiteral("Tasks")));
}

// A check's result is its own: running another check does not change it, and the returning form
// leaves the validator's last check alone.
TEST_F(ModelTest, CheckResultsAreIndependentOfTheLastCheck) {
    const TDVCheck illegal = dvcheck::Path(kCaption, QStringLiteral("/d/a|b.xls"));
    const TDVCheck undefined = dvcheck::WorksheetName(QStringLiteral("Task Worksheet"), QString());
    ASSERT_TRUE(illegal);
    EXPECT_EQ(illegal.Key, QStringLiteral("UDV006"));
    EXPECT_EQ(illegal.IllegalChars(), QStringLiteral("|"));
    EXPECT_EQ(illegal.Value, QStringLiteral("/d/a|b.xls"));
    EXPECT_EQ(undefined.Key, QStringLiteral("UDV017"));
    EXPECT_TRUE(undefined.Illegal.isEmpty());
    EXPECT_FALSE(dvcheck::Path(kCaption, QStringLiteral("/d/plan.xlsx")));

    EXPECT_TRUE(DV->CheckPath(kCaption, QStringLiteral("/d/a?b.xls")));
    EXPECT_FALSE(dvcheck::Path(kCaption, QStringLiteral("/d/plan.xlsx")));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV006"));
    EXPECT_EQ(DV->getIllegalChars(), QStringLiteral("?"));
    EXPECT_EQ(DV->getLastCheck().Details, DV->getDetailsText());
    // A passing check clears what the failing one before it left.
    EXPECT_FALSE(DV->CheckPath(kCaption, QStringLiteral("/d/plan.xlsx")));
    EXPECT_TRUE(DV->getMsgKey().isEmpty());
    EXPECT_TRUE(DV->getIllegalChars().isEmpty());
}

TEST_F(ModelTest, ExtensionChecks) {
    struct Case {
        QString path;
        QString excelKey; // CheckExcelFileExt
        QString dataKey;  // CheckDataFileExt
    };
    const Case cases[] = {
        {QStringLiteral("/d/a.XLSX"), QString(), QStringLiteral("UDV003")},
        {QStringLiteral("/d/a.xls"), QString(), QStringLiteral("UDV003")},
        {QStringLiteral("/d/a"), QStringLiteral("UDV014"), QStringLiteral("UDV002")},
        {QStringLiteral("/d/a.csv"), QStringLiteral("UDV015"), QStringLiteral("UDV003")},
        {QStringLiteral("/d/a.krvc"), QStringLiteral("UDV015"), QString()},
        {QStringLiteral("/d/a.~krvp7"), QStringLiteral("UDV015"), QString()},
        {QStringLiteral("/d/a.~KRVC"), QStringLiteral("UDV015"), QString()},
        {QStringLiteral("/d/a.krvx"), QStringLiteral("UDV015"), QStringLiteral("UDV003")},
        {QStringLiteral("/d/a.~krvc0"), QStringLiteral("UDV015"), QStringLiteral("UDV003")},
        {QString(), QString(), QStringLiteral("UDV002")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DV->CheckExcelFileExt(kCaption, c.path), !c.excelKey.isEmpty())
            << c.path.toStdString();
        EXPECT_EQ(DV->getMsgKey(), c.excelKey) << c.path.toStdString();
        EXPECT_EQ(DV->CheckDataFileExt(QStringLiteral("Data File"), c.path), !c.dataKey.isEmpty())
            << c.path.toStdString();
        EXPECT_EQ(DV->getMsgKey(), c.dataKey) << c.path.toStdString();
    }
    DV->CheckExcelFileExt(kCaption, QStringLiteral("/d/a.csv"));
    EXPECT_EQ(DV->getMsgText(),
              QStringLiteral("The Data Source File Extension is invalid. Changed to: .xlsx"));
    EXPECT_EQ(DV->getValueText(), QStringLiteral("CSV"));
    // The empty extension's repair is listed with its details too.
    DV->CheckExcelFileExt(kCaption, QStringLiteral("/d/a"));
    EXPECT_EQ(DV->getMsgText(),
              QStringLiteral("The Data Source File Extension is undefined. Changed to: .xlsx"));
    EXPECT_TRUE(DV->CheckExcelFile(kCaption, QStringLiteral("/d/a")));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV016"));
}

TEST_F(ModelTest, TaskHeaderRowAndTaskFieldLimitsFollowFileAndVersion) {
    struct Case {
        uint8_t version;
        QString path;
        int row;
        QString rowKey;
        QString letters;
        QString fieldKey;
    };
    const Case cases[] = {
        {7, QStringLiteral("/d/t.xls"), 65535, QString(), QStringLiteral("IV"), QString()},
        {7, QStringLiteral("/d/t.xls"), 65536, QStringLiteral("UDV021"), QStringLiteral("IW"),
         QStringLiteral("UDV028")},
        {7, QStringLiteral("/d/t.xlsx"), 1048575, QString(), QStringLiteral("xfd"), QString()},
        {7, QStringLiteral("/d/t.xlsx"), 1048576, QStringLiteral("UDV019"), QStringLiteral("XFE"),
         QStringLiteral("UDV026")},
        {4, QStringLiteral("/d/t.xlsx"), 0, QStringLiteral("UDV020"), QStringLiteral("A1"),
         QStringLiteral("UDV027")},
        {0, QStringLiteral("/d/t.csv"), -3, QStringLiteral("UDV022"), QStringLiteral("ABCD"),
         QStringLiteral("UDV029")},
        {6, QStringLiteral("/d/t"), 1048576, QStringLiteral("UDV023"), QStringLiteral("XFE"),
         QStringLiteral("UDV030")},
        {2, QStringLiteral("/d/t.csv"), 65536, QStringLiteral("UDV024"), QStringLiteral("IW"),
         QStringLiteral("UDV031")},
        {7, QStringLiteral("/d/t.xlsx"), 1, QString(), QString(), QStringLiteral("UDV025")},
    };
    for (const Case& c : cases) {
        xl.setVersion(c.version);
        const std::string where = c.path.toStdString() + " v" + std::to_string(c.version);
        EXPECT_EQ(DV->CheckTaskHeaderRow({.FileCaption = kCaption,
                                          .FilePath = c.path,
                                          .Row = c.row,
                                          .RowCaption = QStringLiteral("Task Header Row")}),
                  !c.rowKey.isEmpty())
            << where;
        EXPECT_EQ(DV->getMsgKey(), c.rowKey) << where;
        EXPECT_EQ(DV->CheckTaskField({.FileCaption = kCaption,
                                      .FilePath = c.path,
                                      .Letters = c.letters,
                                      .FieldCaption = QStringLiteral("Cost Task Field")}),
                  !c.fieldKey.isEmpty())
            << where;
        EXPECT_EQ(DV->getMsgKey(), c.fieldKey) << where;
    }
    xl.setVersion(7);
    DV->CheckTaskHeaderRow({.FileCaption = kCaption,
                            .FilePath = QStringLiteral("/d/t.xls"),
                            .Row = 70000,
                            .RowCaption = QStringLiteral("Task Header Row")});
    EXPECT_EQ(DV->getMsgText(), QStringLiteral("The Task Header Row is invalid. Valid Range: "
                                               "1..65535. Reset to Default: 1"));
    EXPECT_EQ(DV->getHintText(),
              QStringLiteral("The Task Header Row is invalid.\r\nValid Range: 1..65535"));
    DV->CheckTaskField({.FileCaption = kCaption,
                        .FilePath = QStringLiteral("/d/t.xlsx"),
                        .Letters = QStringLiteral("zzzz"),
                        .FieldCaption = QStringLiteral("Cost Task Field")});
    EXPECT_EQ(DV->getDetailsText(),
              QStringLiteral("The Cost Task Field is invalid. Valid Range: A..XFD"));
    EXPECT_EQ(DV->getValueText(), QStringLiteral("ZZZZ"));
}

TEST_F(ModelTest, EntryComparisonsAndDefaults) {
    EXPECT_TRUE(DV->CheckSameEntry({.Caption = QStringLiteral("A"),
                                    .Entry = QString(),
                                    .OtherCaption = QStringLiteral("B"),
                                    .OtherEntry = QString()}));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV035"));
    EXPECT_EQ(DV->getHintText(), QStringLiteral("The A is the same as the B."));

    const QString of = QStringLiteral("Output File");
    const QString tf = QStringLiteral("Template File");
    EXPECT_TRUE(DV->CheckFileExtMatch({.Caption = of,
                                       .Entry = QStringLiteral("/o/r.xls"),
                                       .OtherCaption = tf,
                                       .OtherEntry = QStringLiteral("/t/t.XLSX")}));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV034"));
    EXPECT_EQ(DV->getMsgText(), QStringLiteral("The Template File Extension does not match the "
                                               "Output File Extension. Changed to: .XLSX"));
    EXPECT_FALSE(DV->CheckFileExtMatch({.Caption = of,
                                        .Entry = QStringLiteral("/o/r.xls"),
                                        .OtherCaption = tf,
                                        .OtherEntry = QStringLiteral("/t/t.doc")}));
    EXPECT_EQ(DV->getMsgKey(), QString());
    EXPECT_FALSE(DV->CheckFileExtMatch({.Caption = of,
                                        .Entry = QStringLiteral("/o/r.XLS"),
                                        .OtherCaption = tf,
                                        .OtherEntry = QStringLiteral("/t/t.xls")}));

    EXPECT_TRUE(DV->CheckDefaultFolder(
        {.Caption = of, .Entry = QStringLiteral("r.xlsx"), .Default = QStringLiteral("/o/")}));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV033"));
    EXPECT_FALSE(DV->CheckDefaultFolder(
        {.Caption = of, .Entry = QStringLiteral("/x/r.xlsx"), .Default = QStringLiteral("/o/")}));
    EXPECT_TRUE(DV->CheckDefaultFile({.Caption = tf, .Entry = QString(), .Default = QString()}));
    EXPECT_EQ(DV->getMsgKey(), QStringLiteral("UDV032"));

    EXPECT_FALSE(DV->CheckFolderPath(QStringLiteral("Folder"), QStringLiteral("/srv/out/")));
    EXPECT_TRUE(DV->CheckFolderPath(QStringLiteral("Folder"), QStringLiteral("out/")));
    EXPECT_TRUE(DV->CheckFolderPath(QStringLiteral("Folder"), QStringLiteral("/srv/a|b/")));
    EXPECT_TRUE(DV->getHintText().contains(QChar(0x01C0)));
    EXPECT_TRUE(DV->CheckIllegalFilenameChars(QStringLiteral("/a*b/c.xls")));
    EXPECT_FALSE(DV->CheckProgramFilesFolder(tf, QStringLiteral("/opt/x.xlsx")));
    EXPECT_EQ(DV->getChangedPath(), QStringLiteral("/opt/x.xlsx"));
}

TEST_F(ModelTest, DialogueTwinsShowTheCheckOnlyWhenItFails) {
    const QString existing = makeFile(QStringLiteral("here.krvc"));
    EXPECT_FALSE(DV->CheckDataFileExistsDlg(QStringLiteral("Data File"), existing));
    EXPECT_FALSE(DV->CheckPathDlg(kCaption, existing));
    EXPECT_TRUE(dlg.shown.empty());

    EXPECT_TRUE(DV->CheckFileExistsDlg(kCaption, existing + QStringLiteral("x")));
    EXPECT_TRUE(DV->CheckPathDlg(kCaption, QStringLiteral("relative.xlsx")));
    EXPECT_TRUE(DV->CheckTaskFieldDlg({.FileCaption = kCaption,
                                       .FilePath = QStringLiteral("/d/t.xls"),
                                       .Letters = QStringLiteral("IW"),
                                       .FieldCaption = QStringLiteral("Cost Task Field")}));
    EXPECT_EQ(dlg.keys(), (QStringList{QStringLiteral("UDV004"), QStringLiteral("UDV007"),
                                       QStringLiteral("UDV028")}));
    const auto& shown = dlg.shown[0];
    EXPECT_EQ(shown.kind, sdkWarning);
    ASSERT_EQ(shown.buttons.size(), 1u);
    EXPECT_EQ(shown.buttons[0].ModalResult, mrClose);
    EXPECT_EQ(shown.buttons[0].Caption, QStringLiteral("&Close"));
    ASSERT_EQ(shown.lines.size(), 1);
    EXPECT_TRUE(shown.lines[0].startsWith(
        QStringLiteral("The following Data Source File cannot be found.\r\n\r\n")));
}

// A file the program may not examine is reported as such (U004, U006 with the system's reason)
// before the check's own message, not taken for a missing or writable file in silence.
class UnreadableFolder : public platform::FileAccess {
public:
    platform::FileAnswer fileExists(const QString& path) override {
        return path.startsWith(QStringLiteral("/locked/")) ? platform::FileAnswer::failure(EACCES)
                                                           : platform::FileAnswer::yes();
    }
    platform::FileAnswer isReadOnly(const QString&) override {
        return platform::FileAnswer::failure(EACCES);
    }
};

TEST_F(ModelTest, FileChecksReportWhatTheyCannotExamine) {
    platform::setFileAccess(std::make_unique<UnreadableFolder>());
    EXPECT_TRUE(DV->CheckFileExistsDlg(kCaption, QStringLiteral("/locked/plan.xlsx")));
    EXPECT_EQ(dlg.keys(), (QStringList{QStringLiteral("U004"), QStringLiteral("UDV004")}));
    EXPECT_TRUE(dlg.shown[0].lines.join(QString()).contains(QStringLiteral("/locked/plan.xlsx")));

    dlg.shown.clear();
    TovSD* sd = addSD(QStringLiteral("Locked"));
    SDs->setActiveSD(1);
    sd->SCF->setOF_DrivePathFilenameExtnXL(QStringLiteral("/srv/out/Result.xlsx"));
    (void)DV->ValidateDefinition({.DataSource = false, .Template = false, .Output = true});
    EXPECT_TRUE(dlg.keys().contains(QStringLiteral("U006")))
        << dlg.keys().join(QStringLiteral(",")).toStdString();
    platform::setFileAccess(nullptr);
}
