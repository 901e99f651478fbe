#include "services/DataFileTypes.h"
#include "services/PathChecks.h"
#include "services/REG_Utils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "support/FakeMessageBox.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::TempRegistry;

const QByteArray kHeader = "Windows Registry Editor Version 5.00\n\n";
const QString kKey = QStringLiteral("Software\\Tarrow Studio\\Ovik KRV Tessel\\UP");

// Path checks that refuse every path holding "bad".
class RefusingChecks : public IPathChecks {
public:
    RefusingChecks() { setPathChecks(this); }
    ~RefusingChecks() override { setPathChecks(nullptr); }
    bool CheckPath(const QString&, const QString& p) override { return bad(p); }
    bool CheckFolderPath(const QString&, const QString& p) override { return bad(p); }
    bool CheckDrive(const QString&, const QString& p) override { return bad(p); }
    bool CheckIllegalFilenameChars(const QString& p) override { return bad(p); }
    bool CheckFilename(const QString&, const QString& p) override { return bad(p); }
    bool CheckDataFileExt(const QString&, const QString& p) override { return bad(p); }

private:
    static bool bad(const QString& p) { return p.contains(QStringLiteral("bad")); }
};

TEST(Preferences, SettersClampAndNormalise) {
    TovUP up;
    const struct {
        void (TovUP::*set)(int);
        int (TovUP::*get)() const;
        int in, out;
    } cases[] = {
        {&TovUP::setHintHidePause, &TovUP::getHintHidePause, 9000, 5000},
        {&TovUP::setHintHidePause, &TovUP::getHintHidePause, 10, 1000},
        {&TovUP::setHintPause, &TovUP::getHintPause, -5, 0},
        {&TovUP::setHintPause, &TovUP::getHintPause, 2500, 2000},
        {&TovUP::setImportTaskFldValueCount, &TovUP::getImportTaskFldValueCount, -2, 0},
        {&TovUP::setImportTaskFldValueCount, &TovUP::getImportTaskFldValueCount, 6, 5},
        {&TovUP::setDefaultTFDDLItemIndex, &TovUP::getDefaultTFDDLItemIndex, 7, 1},
        {&TovUP::setDefaultTFDDLItemIndex, &TovUP::getDefaultTFDDLItemIndex, 4, 4},
        {&TovUP::setDefaultOFFolderDDLItemIndex, &TovUP::getDefaultOFFolderDDLItemIndex, 4, 2},
        {&TovUP::setDefaultOFFolderDDLItemIndex, &TovUP::getDefaultOFFolderDDLItemIndex, 0, 0},
    };
    for (const auto& c : cases) {
        (up.*c.set)(c.in);
        EXPECT_EQ((up.*c.get)(), c.out) << c.in;
    }
    up.setDefaultOFFolderOther(QStringLiteral("  /home/u/out "));
    EXPECT_EQ(up.getDefaultOFFolderOther(), QStringLiteral("/home/u/out/"));
    up.setDefaultOFFolderOther(QStringLiteral("   "));
    EXPECT_EQ(up.getDefaultOFFolderOther(), QString());
    up.setDefaultTFOther(QStringLiteral(" /t/x.xlsx "));
    EXPECT_EQ(up.getDefaultTFOther(), QStringLiteral("/t/x.xlsx"));

    EXPECT_EQ(TovUP::TextToXLExtn(QStringLiteral("XLSX ")), 2);
    EXPECT_EQ(TovUP::TextToXLExtn(QStringLiteral("xls")), 1);
    EXPECT_EQ(TovUP::TextToXLExtn(QStringLiteral("xlsm")), 0);
    EXPECT_EQ(TovUP::XLExtnToText(0), QStringLiteral("Auto"));
    EXPECT_EQ(TovUP::XLExtnToText(2), QStringLiteral("xlsx"));
    EXPECT_FALSE(up.setDefaultXLExtn(1));
    EXPECT_TRUE(up.setDefaultXLExtn(3));
    EXPECT_EQ(up.getDefaultXLExtn(), 1);
}

TEST(Preferences, DefaultsAndResets) {
    TovUP up;
    EXPECT_TRUE(up.getBackupDF() && up.getShowHints() && up.getPromptOnProcess());
    EXPECT_FALSE(up.getIncBackup() || up.getPurgeMRU());
    EXPECT_EQ(up.getHintHidePause(), 2500);
    EXPECT_EQ(up.getHintPause(), 500);
    EXPECT_EQ(up.getImportTaskFldValueCount(), 3);
    EXPECT_TRUE(
        up.getTemplateXLSX().endsWith(QStringLiteral("Templates/Ovik_KRV_Tessel_Template.xlsx")));
    up.setAutoSizeBrowseFile(false);
    up.setAutoSizeDSM(false);
    up.setAutoAlignBrowseWS(false);
    up.ResetAutoSize();
    up.ResetAutoAlign();
    EXPECT_TRUE(up.getAutoSizeBrowseFile());
    EXPECT_FALSE(up.getAutoSizeDSM()); // not among the reset grids
    EXPECT_TRUE(up.getAutoAlignBrowseWS());
}

TEST(Preferences, TemplateAndOutputFolderChoices) {
    TovUP up;
    EXPECT_EQ(up.getTemplateDPFE(), up.getTemplateXLSX());
    TovUP::setExcelDefaultExtension([] { return QStringLiteral("XLS"); });
    EXPECT_EQ(up.getTemplateDPFE(), up.getTemplateXLS());
    EXPECT_EQ(up.getOFExtn(), QStringLiteral(".XLS"));
    TovUP::setExcelDefaultExtension(nullptr);
    EXPECT_EQ(up.getOFExtn(), QStringLiteral(".xlsx"));
    up.setDefaultXLExtn(1);
    EXPECT_EQ(up.getOFExtn(), QStringLiteral(".xls"));
    up.setDefaultTFDDLItemIndex(0);
    EXPECT_EQ(up.getTemplateDPFE(), QString());
    up.setDefaultTFDDLItemIndex(2);
    EXPECT_EQ(up.getTemplateDPFE(), up.getTemplateXLS());

    up.setDefaultOFFolderDDLItemIndex(0);
    EXPECT_EQ(up.getDefaultOFFolder(), QString());
    up.setDefaultOFFolderDDLItemIndex(3);
    up.setDefaultOFFolderOther(QStringLiteral("/data/out"));
    EXPECT_EQ(up.getDefaultOFFolder(), QStringLiteral("/data/out/"));
}

TEST(Preferences, ValidateClearsBadOrOverlongUserPaths) {
    RefusingChecks checks;
    TovUP up;
    up.setDefaultTFDDLItemIndex(4);
    up.setDefaultTFOther(QStringLiteral("/") + QString(300, QLatin1Char('t')) +
                         QStringLiteral(".xlsx"));
    up.setDefaultOFFolderDDLItemIndex(3);
    up.setDefaultOFFolderOther(QStringLiteral("/bad/folder"));
    up.Validate();
    EXPECT_EQ(up.getDefaultTFOther(), QString());
    EXPECT_EQ(up.getTemplateDPFE(), QString());
    EXPECT_EQ(up.getDefaultOFFolderOther(), QString());

    up.setDefaultTFOther(QStringLiteral("/good/t.xlsx"));
    up.setDefaultOFFolderOther(QStringLiteral("/good/out"));
    up.Validate();
    EXPECT_EQ(up.getDefaultTFOther(), QStringLiteral("/good/t.xlsx"));
    EXPECT_EQ(up.getDefaultOFFolderOther(), QStringLiteral("/good/out/"));
}

TEST(Preferences, RoundTripThroughTheUserHive) {
    TempRegistry reg;
    TovUP up;
    up.setShowHints(false);
    up.setHintPause(800);
    up.setDefaultXLExtn(2);
    up.setDefaultOFFolderOther(QStringLiteral("/data/out"));
    up.Save();
    const QByteArray text = reg.readUserHive();
    EXPECT_TRUE(text.contains("\"ShowHints\"=dword:00000000"));
    EXPECT_TRUE(text.contains("\"DefaultXLExtn\"=\"xlsx\""));
    EXPECT_TRUE(text.contains("\"DefaultOFFolderOther\"=\"/data/out/\""));

    TovUP back;
    back.Load();
    EXPECT_FALSE(back.getShowHints());
    EXPECT_EQ(back.getHintPause(), 800);
    EXPECT_EQ(back.getDefaultXLExtn(), 2);
    EXPECT_EQ(back.getDefaultOFFolderOther(), QStringLiteral("/data/out/"));
    EXPECT_TRUE(testsupport::messageBoxes().shown.empty());
}

TEST(Preferences, StoredValuesAreNormalisedOnLoadAndSavedBack) {
    TempRegistry reg;
    reg.writeUserHive(kHeader +
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\UP]\n"
                      "\"HintHidePause\"=dword:00002328\n"
                      "\"ImportTaskFldValueCount\"=dword:fffffffe\n"
                      "\"DefaultXLExtn\"=\"xlsm\"\n"
                      "\"DefaultTFDDLItemIndex\"=dword:00000007\n");
    TovUP up;
    up.Load();
    EXPECT_EQ(up.getHintHidePause(), 5000);
    EXPECT_EQ(up.getImportTaskFldValueCount(), 0);
    EXPECT_EQ(up.getDefaultXLExtn(), 0);
    EXPECT_EQ(up.getDefaultTFDDLItemIndex(), 1);
    up.Save();
    EXPECT_TRUE(reg.readUserHive().contains("\"DefaultXLExtn\"=\"Auto\""));
    EXPECT_TRUE(reg.readUserHive().contains("\"HintHidePause\"=dword:00001388"));
}

TEST(Preferences, ACorruptValueKeepsItsDefaultAndTheOthersLoadAndSurvive) {
    TempRegistry reg;
    reg.writeUserHive(kHeader +
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\UP]\n"
                      "\"AutoAlignBrowseFld\"=\"yes\"\n"
                      "\"BackupDF\"=dword:00000000\n"
                      "\"HintPause\"=hex:01,02\n"
                      "\"ShowHints\"=dword:00000000\n");
    TovUP up;
    up.Load();
    EXPECT_TRUE(up.getAutoAlignBrowseFld()); // unreadable: its default
    EXPECT_EQ(up.getHintPause(), 500);
    EXPECT_FALSE(up.getBackupDF());  // read after the failure
    EXPECT_FALSE(up.getShowHints()); // the last value, read as well
    EXPECT_TRUE(up.isUnread(TovUP::AutoAlignBrowseFld));
    ASSERT_EQ(testsupport::messageBoxes().shown.size(), 1U);
    const QString box = testsupport::messageBoxes().shown[0].text;
    EXPECT_TRUE(box.startsWith(QLatin1Char(' ') + UIT(txt::UnableToReadFromWindows) +
                               QStringLiteral(" \r\n\r\n ") +
                               UIT(txt::AdministratorRightsMayBeRequired_1510)));
    EXPECT_TRUE(box.contains(QStringLiteral("'AutoAlignBrowseFld'")));
    EXPECT_TRUE(box.contains(QStringLiteral("'HintPause'")));

    // Start-up saves: what could not be read stays as the user had it.
    up.Save();
    const QByteArray text = reg.readUserHive();
    EXPECT_TRUE(text.contains("\"AutoAlignBrowseFld\"=\"yes\""));
    EXPECT_TRUE(text.contains("\"HintPause\"=hex:01,02"));
    EXPECT_TRUE(text.contains("\"BackupDF\"=dword:00000000"));
    EXPECT_TRUE(text.contains("\"PromptOnProcess\"=dword:00000001"));

    // A change by the user is written.
    up.setHintPause(700);
    up.Save();
    EXPECT_TRUE(reg.readUserHive().contains("\"HintPause\"=dword:000002bc"));
}

TEST(Preferences, AHiveThatIsNotAHiveIsReportedAndLeftAlone) {
    TempRegistry reg;
    reg.writeUserHive("random bytes");
    TovUP up;
    up.Load();
    up.Save();
    EXPECT_EQ(reg.readUserHive(), QByteArray("random bytes"));
    ASSERT_EQ(testsupport::messageBoxes().shown.size(), 1U); // the load's box; nothing to save
    EXPECT_TRUE(
        testsupport::messageBoxes().shown[0].text.contains(UIT(txt::UnableToReadFromWindows)));

    up.setShowHints(false);
    up.Save();
    ASSERT_EQ(testsupport::messageBoxes().shown.size(), 2U);
    EXPECT_TRUE(
        testsupport::messageBoxes().shown[1].text.contains(UIT(txt::UnableToWriteToWindows)));
    EXPECT_EQ(reg.readUserHive(), QByteArray("random bytes"));
}

TEST(Preferences, RegistersTheDataFileTypesWithTheDesktop) {
    QTemporaryDir home;
    testsupport::ScopedEnv data("XDG_DATA_HOME", home.path());
    TovUP up;
    EXPECT_TRUE(up.RegisterFileTypes());
    const QByteArray mime = TempRegistry::read(MimePackageFile());
    EXPECT_TRUE(MimePackageFile().startsWith(home.path()));
    EXPECT_TRUE(mime.contains("<glob pattern=\"*.krvc\"/>"));
    EXPECT_TRUE(mime.contains("<comment>Ovik KRV Tessel Backup Data File</comment>"));
    for (const char* ext : {"*.~krvc\"", "*.~krvc1\"", "*.~krvc9\""}) {
        EXPECT_TRUE(mime.contains(ext)) << ext;
    }
    const QByteArray desktop = TempRegistry::read(DesktopEntryFile());
    EXPECT_TRUE(desktop.contains("MimeType=application/x-ovik-krv-tessel;"
                                 "application/x-ovik-krv-tessel-backup;"));
    EXPECT_TRUE(desktop.contains(" %f\n"));
    EXPECT_EQ(DesktopExecArgument(QStringLiteral("/opt/My $App/run")),
              QStringLiteral("\"/opt/My \\\\$App/run\""));
}

TEST(Preferences, AFailedRegistrationShowsItsDialogue) {
    QTemporaryDir home;
    // A file where the data folder should be: nothing can be written below it.
    QFile blocker(home.filePath(QStringLiteral("data")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    testsupport::ScopedEnv data("XDG_DATA_HOME", blocker.fileName());
    testsupport::FakeStdDlg dlg;
    TovUP up;
    EXPECT_FALSE(up.RegisterFileTypes());
    EXPECT_EQ(dlg.keys(), QStringList{QStringLiteral("UP001")});
    EXPECT_EQ(dlg.shown[0].lines.mid(0, 4),
              (QStringList{UIT(txt::UnableToAccessWindowsRegistry), QString(),
                           UIT(txt::AdministratorRightsMayBeRequired), QString()}));
}

TEST(RegistryAccess, TheInstalledMachineHiveRegistersTheEngineAs2013) {
    TempRegistry reg;
    QFile::copy(
        QDir::cleanPath(QStringLiteral(KRV_TEST_DATA_DIR "/../../../resources/machine.reg")),
        reg.machineHive());
    EXPECT_TRUE(
        RegValueExists(HKEY_CLASSES_ROOT, QStringLiteral("Excel.Application\\CurVer"), QString()));
    EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, QStringLiteral("Excel.Application\\CurVer"),
                            QString(), QString()),
              QStringLiteral("Excel.Application.15"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kKey, QStringLiteral("ShowHints")));
    EXPECT_TRUE(RegWriteBool(HKEY_CURRENT_USER, kKey, QStringLiteral("ShowHints"), true));
    EXPECT_TRUE(RegReadBool(HKEY_CURRENT_USER, kKey, QStringLiteral("ShowHints"), false));
}

} // namespace
