// The Options window's model over real preferences in a private registry hive, with scripted
// dialogues; and the window itself, shown headless.
#include "forms/MainIcons.h"
#include "forms/StatusImage.h"
#include "forms/dialogs/F_Options.h"
#include "forms/dialogs/OptionsModel.h"
#include "model/ovDV.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"
#include "support/TextList.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// Every option of the preferences, as one comparable text.
QString allOptions(const TovUP& up) {
    QStringList values;
    for (int i = 0; i < TovUP::BoolCount; ++i) {
        values << QString::number(up.getBool(static_cast<TovUP::Option>(i)));
    }
    values << QString::number(up.getDefaultTFDDLItemIndex()) << up.getDefaultTFOther()
           << QString::number(up.getDefaultOFFolderDDLItemIndex()) << up.getDefaultOFFolderOther()
           << QString::number(up.getDefaultXLExtn()) << QString::number(up.getHintHidePause())
           << QString::number(up.getHintPause())
           << QString::number(up.getImportTaskFldValueCount());
    return values.join(QLatin1Char(','));
}

// The preferences as the hive holds them.
TovUP stored() {
    TovUP up;
    up.Load();
    return up;
}

class Options : public testing::Test {
protected:
    void SetUp() override {
        UP = new TovUP();
        DV = new TovDV();
        // Stored preferences that differ from the defaults, the list switches included.
        UP->setPromptOnProcess(false);
        UP->setHintPause(1200);
        UP->setBackupDF(false);
        UP->setAutoSizeDSM(false);
        UP->setAutoSizeSummary(false);
        UP->setDefaultOFFolderDDLItemIndex(0);
        UP->Save();
        hiveBefore = registry.readUserHive();
    }
    void TearDown() override {
        delete DV;
        DV = nullptr;
        delete UP;
        UP = nullptr;
    }

    TOptionsModel makeModel() {
        TOptionsModel::TCollaborators with;
        with.Preferences = UP;
        with.Validator = DV;
        with.ApplyHintTiming = [this](int pause, int hide) { hintTiming = {pause, hide}; };
        return TOptionsModel(with);
    }

    testsupport::TempRegistry registry;
    testsupport::FakeStdDlg dlg;
    QByteArray hiveBefore;
    std::pair<int, int> hintTiming{-1, -1};
};

TEST_F(Options, ControlsLoadFromThePreferencesAndOddDelaysFallBack) {
    UP->setHintPause(550);
    UP->setHintHidePause(2600);
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    const TOptionsControls& c = model.controls();
    EXPECT_EQ(c.HintPauseItem, 5);
    EXPECT_EQ(c.HintHidePauseItem, 6);
    EXPECT_FALSE(c.PromptOnProcess);
    EXPECT_FALSE(c.BackupDF);
    EXPECT_FALSE(model.states().IncBackupEnabled);
    EXPECT_EQ(c.OFFolderItem, 0);
    EXPECT_TRUE(c.OFFolderText.isEmpty());
    EXPECT_EQ(c.TFItem, 1);
    EXPECT_EQ(c.TFText, UP->getTemplateXLSX());
}

// Reset and edits followed by Cancel: the preferences, stored and in memory, and the hint delays
// are exactly as they were when the window was shown.
TEST_F(Options, CancelRestoresEverythingEvenAfterReset) {
    const QString before = allOptions(*UP);
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    model.setHintPauseItem(0);
    EXPECT_EQ(hintTiming.first, 0);
    dlg.answers = {mrYes, mrClose};
    model.Reset();
    EXPECT_EQ(dlg.keys(), Texts({"OF006", "OF007"}));
    EXPECT_TRUE(model.controls().PromptOnProcess) << "Reset shows the defaults";
    EXPECT_TRUE(UP->getAutoSizeDSM());

    model.Cancel();
    EXPECT_EQ(allOptions(*UP), before);
    EXPECT_EQ(hintTiming, std::make_pair(1200, 2500));
    EXPECT_EQ(registry.readUserHive(), hiveBefore);
}

TEST_F(Options, CloseStoresTheControlsAndSavesThem) {
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    model.setCheck(&TOptionsControls::PromptOnProcess, true);
    model.setCheck(&TOptionsControls::IncBackup, true);
    model.setHintHidePauseItem(0);
    model.setImportCountItem(5);
    model.setOFFolderItem(TOptionsModel::kOFFolderOther);
    model.setOFFolderText(QStringLiteral(" /srv/out "));
    ASSERT_TRUE(model.Close());
    EXPECT_TRUE(dlg.shown.empty());

    const TovUP hive = stored();
    EXPECT_TRUE(hive.getPromptOnProcess());
    EXPECT_TRUE(hive.getIncBackup()) << "stored even while the backup box is unticked";
    EXPECT_FALSE(hive.getBackupDF());
    EXPECT_EQ(hive.getHintHidePause(), 1000);
    EXPECT_EQ(hive.getImportTaskFldValueCount(), 5);
    EXPECT_EQ(hive.getDefaultOFFolderDDLItemIndex(), 3);
    EXPECT_EQ(hive.getDefaultOFFolderOther(), QStringLiteral("/srv/out/"));
    EXPECT_FALSE(hive.getAutoSizeDSM()) << "preferences the window does not show stay";

    // The next showing starts from what was stored.
    model.SnapshotPreferences();
    model.Activate();
    EXPECT_EQ(model.controls().OFFolderItem, 3);
    EXPECT_EQ(model.controls().OFFolderText, QStringLiteral("/srv/out/"));
}

// The window's own messages re-activate it; the user's edits must survive them.
TEST_F(Options, EditsSurviveActivationsWithinOneShowing) {
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    model.setCheck(&TOptionsControls::PurgeMRU, true);
    model.setTFItem(TOptionsModel::kTFOther);
    model.setTFText(QStringLiteral("/t/My Template.xlsx"));
    dlg.answers = {mrNo};
    model.ResetSizePosition();
    model.Activate();
    EXPECT_TRUE(model.controls().PurgeMRU);
    EXPECT_EQ(model.controls().TFText, QStringLiteral("/t/My Template.xlsx"));
}

TEST_F(Options, InvalidOtherPathsBlockCloseWithTheirMessage) {
    struct Case {
        const char* name;
        bool badTemplate;
        bool badFolder;
        const char* key;
        int lines;
    };
    const Case cases[] = {
        {"template", true, false, "OF008", 5},
        {"folder", false, true, "OF009", 5},
        {"both", true, true, "OF010", 7},
    };
    for (const Case& c : cases) {
        dlg.shown.clear();
        TOptionsModel model = makeModel();
        model.SnapshotPreferences();
        model.Activate();
        if (c.badTemplate) {
            model.setTFItem(TOptionsModel::kTFOther);
            model.setTFText(QString());
            EXPECT_TRUE(model.states().TFError) << c.name;
        }
        if (c.badFolder) {
            model.setOFFolderItem(TOptionsModel::kOFFolderOther);
            model.setOFFolderText(QStringLiteral("/out/a?b"));
            EXPECT_TRUE(model.states().OFFolderError) << c.name;
        }
        EXPECT_FALSE(model.Close()) << c.name;
        ASSERT_EQ(dlg.shown.size(), 1u) << c.name;
        EXPECT_EQ(dlg.shown[0].key, QString::fromLatin1(c.key));
        EXPECT_EQ(dlg.shown[0].kind, sdkWarning);
        EXPECT_EQ(dlg.shown[0].lines.size(), c.lines)
            << dlg.shown[0].lines.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(dlg.shown[0].lines.back(), QStringLiteral("Unable to save Options."));
        EXPECT_EQ(registry.readUserHive(), hiveBefore) << c.name;
        model.Cancel();
    }
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    model.setTFItem(TOptionsModel::kTFOther);
    model.setTFText(QStringLiteral("/t/plan.txt"));
    EXPECT_TRUE(model.states().TFError);
    model.setTFItem(1);
    EXPECT_FALSE(model.states().TFError);
}

// Reset of window sizes is immediate: its list switches are saved with the stored preferences
// (not with unsaved edits) and survive Cancel.
// The association names the program that runs (its folder and name), not the data folder.
TEST_F(Options, ReassociateNamesTheRunningProgram) {
    TOptionsModel model = makeModel();
    dlg.answers = {mrNo};
    model.ReAssociate();
    ASSERT_EQ(dlg.keys(), Texts({"OF003"}));
    EXPECT_EQ(dlg.shown[0].lines.value(2),
              QCoreApplication::applicationFilePath() + QLatin1Char('?'));
}

TEST_F(Options, ResetSizePositionSavesOnlyItsOwnChange) {
    TOptionsModel model = makeModel();
    model.SnapshotPreferences();
    model.Activate();
    dlg.answers = {mrYes, mrClose, mrYes, mrClose};
    model.Reset();
    model.ResetSizePosition();
    EXPECT_EQ(dlg.keys(), Texts({"OF006", "OF007", "OF001", "OF002"}));
    TovUP hive = stored();
    EXPECT_TRUE(hive.getAutoSizeSummary());
    EXPECT_FALSE(hive.getAutoSizeDSM()) << "the Data Source Map's switch is not the window's";
    EXPECT_FALSE(hive.getPromptOnProcess()) << "Reset's defaults are not saved";

    model.Cancel();
    EXPECT_TRUE(UP->getAutoSizeSummary());
    EXPECT_FALSE(UP->getPromptOnProcess());
}

TEST_F(Options, PathKeysAreRefusedWithTheirBalloon) {
    TOptionsModel model = makeModel();
    const QString chars =
        QStringLiteral("The following characters cannot be used:\r\n* ? \" < > |");
    const struct {
        QChar key;
        int length;
        int max;
        bool writable;
        QString balloon;
    } cases[] = {
        {QLatin1Char('<'), 3, 260, true, chars},
        {QLatin1Char('|'), 3, 248, true, chars},
        {QLatin1Char('/'), 3, 260, true, QString()},
        {QLatin1Char('a'), 260, 260, true,
         QStringLiteral("The maximum length for this Field is 260 characters.")},
        {QChar(8), 260, 260, true, QString()},
        {QLatin1Char('<'), 3, 260, false, QString()},
    };
    for (const auto& c : cases) {
        const std::optional<QString> refusal =
            model.RefusePathKey(c.key, c.length, c.max, c.writable);
        EXPECT_EQ(refusal.value_or(QString()), c.balloon)
            << int{c.key.unicode()} << " " << c.length;
    }
}

TEST_F(Options, WindowShowsTheStoredPreferencesAndCancelKeepsThem) {
    const QString before = allOptions(*UP);
    TUF_Options window;
    window.SnapshotPreferences();
    window.show();
    EXPECT_TRUE(window.templateEdit()->isReadOnly());
    EXPECT_EQ(window.templateEdit()->text(), UP->getTemplateXLSX());
    window.model().setCheck(&TOptionsControls::PurgeMRU, true);
    window.reject();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(allOptions(*UP), before);
    EXPECT_EQ(window.result(), QDialog::Rejected);
}

// The window's status pictures are the main window's: the ok picture without a hint, the error
// picture with the failing check's text.
TEST_F(Options, WindowShowsTheMainWindowsStatusPictures) {
    UP->setDefaultTFDDLItemIndex(TOptionsModel::kTFOther);
    UP->setDefaultTFOther(QString());
    TUF_Options window;
    window.SnapshotPreferences();
    window.show();
    QList<const TStatusImage*> images;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (const auto* image = dynamic_cast<const TStatusImage*>(label)) {
            images << image;
        }
    }
    ASSERT_EQ(images.size(), 2);
    int errors = 0;
    for (const TStatusImage* image : images) {
        const bool error = image->getTag() == 1;
        errors += error ? 1 : 0;
        EXPECT_EQ(image->pixmap().toImage(), StatusPicture(error ? stError : stOk).toImage());
        EXPECT_EQ(image->toolTip().isEmpty(), !error);
    }
    EXPECT_EQ(errors, 1) << "the empty template path";
    window.reject();
}

// A standard dialogue that notes what the window shows whenever a message comes up.
class WatchingStdDlg : public testsupport::FakeStdDlg {
public:
    std::function<void()> onShow;
    int ShowModal() override {
        if (onShow) {
            onShow();
        }
        return FakeStdDlg::ShowModal();
    }
};

TEST_F(Options, ResetShowsTheDefaultsBeforeItSaysSo) {
    WatchingStdDlg watching;
    TUF_Options window;
    window.SnapshotPreferences();
    window.show();
    auto ticks = [&window] {
        QString shown;
        for (const QCheckBox* box : window.findChildren<QCheckBox*>()) {
            shown += box->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return shown;
    };
    QStringList seen;
    watching.onShow = [&] { seen << ticks(); };
    watching.answers = {mrYes, mrClose};
    window.model().Reset();
    EXPECT_EQ(watching.keys(), Texts({"OF006", "OF007"}));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_NE(seen[1], seen[0]) << "the stored prompt before processing is off, its default on";
    EXPECT_EQ(seen[1], ticks());
    window.reject();
}

} // namespace
