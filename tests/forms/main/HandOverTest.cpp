// The main window's receiving side of a second start's hand-over and of dropped files, driven
// through a scripted main window over the real data file object.
#include "forms/main/DroppedFiles.h"
#include "forms/main/HandOverOpen.h"
#include "forms/main/InstanceReceiver.h"
#include "forms/main/MainWindowHandOver.h"
#include "model/SampleCopy.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/ScopeGuard.h"
#include "services/ovAD.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"
#include "support/TextList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeHandOverWindow : public IHandOverWindow {
public:
    bool busy = false;
    bool otherFormActive = false;
    std::optional<QString> choice; // the Browse File window's answer; none: Cancel
    QStringList calls;
    QStringList offered; // the file list when the Browse File window was shown
    std::vector<bool> offeredValid;
    TovDF* df = nullptr;

    bool IsBusy() const override { return busy; }
    void SetBusy(bool value) override {
        busy = value;
        calls << (value ? QStringLiteral("busy") : QStringLiteral("idle"));
    }
    bool IsOtherFormActive() override { return otherFormActive; }
    void RestoreFromMinimised() override { calls << QStringLiteral("restore"); }
    void BringToFront() override { calls << QStringLiteral("front"); }
    bool ChooseHandedOverFile(QString& path) override {
        calls << QStringLiteral("browse");
        for (int i = 1; i <= df->getFL_Count(); ++i) {
            offered << df->getFL_DPFE(i);
            offeredValid.push_back(df->getFL_Valid(i));
        }
        if (!choice) {
            return false;
        }
        path = *choice;
        return true;
    }
    void StoreCurrentTab() override { calls << QStringLiteral("store"); }
    void ShowOpenedDataFile() override { calls << QStringLiteral("show"); }
};

class HandOver : public testing::Test {
protected:
    void SetUp() override {
        SDs = new TovSDs();
        DV = new TovDV();
        DF = new TovDF();
        DF->setRecentFiles(&recent);
        window.df = DF;
        dataFile = dir.filePath(QStringLiteral("plan.krvc"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KRV_FORMS_TEST_DATA "/handed_over.krvc"), dataFile));
        QFile::setPermissions(dataFile, QFile::ReadOwner | QFile::WriteOwner);
    }
    void TearDown() override {
        delete DF;
        DF = nullptr;
        delete DV;
        DV = nullptr;
        delete SDs;
        SDs = nullptr;
    }

    static TInstanceRequest request(const QStringList& paths, quint32 tag = kInstanceRequestTag) {
        return TInstanceRequest{tag, paths};
    }

    QTemporaryDir dir;
    QString dataFile;
    testsupport::FakeStdDlg dlg;
    testsupport::FakeRecentFiles recent;
    FakeHandOverWindow window;
};

// Every refusal answers busy and does nothing at all: no window comes forward, nothing opens.
TEST_F(HandOver, ReceiverAnswersBusyWheneverItDoesNothing) {
    const struct {
        const char* name;
        bool busy;
        bool otherActive;
        bool pending;
        quint32 tag;
    } cases[] = {
        {"main window busy", true, false, false, kInstanceRequestTag},
        {"another window active", false, true, false, kInstanceRequestTag},
        {"earlier hand-over pending", false, false, true, kInstanceRequestTag},
        {"wrong tag", false, false, false, 0x4B525650u},
    };
    for (const auto& c : cases) {
        window.busy = c.busy;
        window.otherFormActive = c.otherActive;
        window.calls.clear();
        DF->setCopyDataPending(c.pending);
        TInstanceReceiver receiver(window, *DF, DV);
        const TInstanceAnswer answer = receiver.Answer(request({dataFile}, c.tag));
        EXPECT_EQ(answer.Reply, kInstanceReplyBusy) << c.name;
        EXPECT_FALSE(answer.AfterReply) << c.name;
        EXPECT_TRUE(window.calls.isEmpty())
            << c.name << ": " << window.calls.join(QLatin1Char(',')).toStdString();
    }
    EXPECT_TRUE(DF->getNoFile());
}

TEST_F(HandOver, EmptyRequestBringsTheWindowForwardAndOpensNothing) {
    TInstanceReceiver receiver(window, *DF, DV);
    const TInstanceAnswer answer = receiver.Answer(request({}));
    EXPECT_EQ(answer.Reply, kInstanceReplyAccepted);
    EXPECT_FALSE(answer.AfterReply);
    EXPECT_EQ(window.calls, Texts({"restore", "front"}));
}

TEST_F(HandOver, AcceptedPathOpensAfterTheReplyAndRefusesRequestsMeanwhile) {
    TInstanceReceiver receiver(window, *DF, DV);
    const TInstanceAnswer answer = receiver.Answer(request({dataFile}));
    ASSERT_EQ(answer.Reply, kInstanceReplyAccepted);
    ASSERT_TRUE(answer.AfterReply);
    EXPECT_TRUE(DF->getNoFile()) << "nothing opens before the reply has gone";
    EXPECT_EQ(receiver.Answer(request({dataFile})).Reply, kInstanceReplyBusy);

    answer.AfterReply();
    EXPECT_EQ(DF->getDPFE(), dataFile);
    EXPECT_EQ(recent.added, QStringList({dataFile}));
    EXPECT_EQ(window.calls, Texts({"restore", "front", "store", "busy", "show", "idle"}));
    EXPECT_FALSE(window.busy);
    EXPECT_FALSE(DF->getCopyDataPending());
}

// A sender that gave up before it confirmed the reply has told its user that nothing happened:
// nothing opens, and the next start is welcome.
TEST_F(HandOver, AbandonedAnswerOpensNothingAndLeavesNothingPending) {
    TInstanceReceiver receiver(window, *DF, DV);
    const TInstanceAnswer answer = receiver.Answer(request({dataFile}));
    ASSERT_EQ(answer.Reply, kInstanceReplyAccepted);
    ASSERT_TRUE(answer.Abandoned);
    answer.Abandoned();
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_FALSE(DF->getCopyDataPending());
    EXPECT_EQ(receiver.Answer(request({dataFile})).Reply, kInstanceReplyAccepted);
}

// The installed sample is handed over (make run names it): the user's own copy opens, as the
// Open Sample Data File command opens it, and stays out of the recent files; any other path is
// itself.
TEST_F(HandOver, InstalledSampleOpensFromTheUsersCopy) {
    QTemporaryDir program;
    TovAD ad(program.path() + QStringLiteral("/"));
    AD = &ad;
    const platform::ScopeExit noAD([] { AD = nullptr; });
    const QString installed = ad.getSampleDPFE();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(installed).absolutePath()));
    ASSERT_TRUE(QFile::copy(dataFile, installed));

    EXPECT_TRUE(
        OpenHandedOverFiles(window, *DF, DV,
                            {QFileInfo(installed).absolutePath() + QStringLiteral("/../Samples/") +
                             QFileInfo(installed).fileName()},
                            THandOverSource::Dropped));
    EXPECT_TRUE(DF->getDPFE().startsWith(UserSampleFolder())) << DF->getDPFE().toStdString();
    EXPECT_TRUE(recent.added.isEmpty());

    EXPECT_TRUE(OpenHandedOverFiles(window, *DF, DV, {dataFile}, THandOverSource::Dropped));
    EXPECT_EQ(DF->getDPFE(), dataFile);
    EXPECT_EQ(recent.added, QStringList({dataFile}));
}

// A refused open must not leave the hand-over pending, or every later start would hear busy.
TEST_F(HandOver, RefusedOpenLeavesNoHandOverPending) {
    TInstanceReceiver receiver(window, *DF, DV);
    const QString missing = dir.filePath(QStringLiteral("gone.krvc"));
    const QString wrongType = dir.filePath(QStringLiteral("notes.txt"));
    for (const QString& path : {missing, wrongType}) {
        const TInstanceAnswer answer = receiver.Answer(request({path}));
        ASSERT_TRUE(answer.AfterReply);
        answer.AfterReply();
        EXPECT_FALSE(DF->getCopyDataPending()) << path.toStdString();
    }
    EXPECT_EQ(dlg.keys().size(), 2);
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_EQ(receiver.Answer(request({})).Reply, kInstanceReplyAccepted);
}

TEST_F(HandOver, SeveralPathsAreOfferedFlaggedAndCancelOpensNothing) {
    const QString other = dir.filePath(QStringLiteral("b.txt"));
    OpenHandedOverFiles(window, *DF, DV, {dataFile, other}, THandOverSource::CopyData);
    EXPECT_EQ(window.offered, QStringList({dataFile, other}));
    EXPECT_EQ(window.offeredValid, std::vector<bool>({true, false}));
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_FALSE(window.calls.contains(QStringLiteral("store")));

    window.choice = dataFile;
    EXPECT_TRUE(OpenHandedOverFiles(window, *DF, DV, {other, dataFile}, THandOverSource::Dropped));
    EXPECT_EQ(DF->getDPFE(), dataFile);
}

TEST_F(HandOver, CommandLinePathOpensOnlyWhilePending) {
    TovDF pending({dataFile});
    pending.setRecentFiles(&recent);
    window.df = &pending;
    EXPECT_TRUE(OpenHandedOverFiles(window, pending, DV, {dataFile}, THandOverSource::CommandLine));
    EXPECT_EQ(pending.getDPFE(), dataFile);
    EXPECT_FALSE(window.calls.contains(QStringLiteral("busy")));
    EXPECT_FALSE(
        OpenHandedOverFiles(window, pending, DV, {dataFile}, THandOverSource::CommandLine));
}

// An open that finds the window busy already (a drop or a second start carried out while another
// operation holds the window) leaves Busy to whoever raised it: raising it again and "restoring"
// it to busy would keep the main window busy for good.
TEST_F(HandOver, OpenOfABusyWindowLeavesItsBusyAlone) {
    window.busy = true;
    EXPECT_TRUE(OpenHandedOverFiles(window, *DF, DV, {dataFile}, THandOverSource::Dropped));
    EXPECT_TRUE(window.busy);
    EXPECT_EQ(window.calls, Texts({"store", "show"}));
}

// A hand-over refused because another window is active brings that window forward, except the
// Browse File window: the main window comes forward then.
TEST(HandOverWindows, RefusalBringsTheActiveWindowOrForBrowseFileTheMainWindowForward) {
    QWidget main;
    QWidget browseFile;
    QWidget options;
    EXPECT_EQ(WindowBroughtForward(&main, &browseFile, nullptr), nullptr);
    EXPECT_EQ(WindowBroughtForward(&main, &browseFile, &main), nullptr);
    EXPECT_EQ(WindowBroughtForward(&main, &browseFile, &options), &options);
    EXPECT_EQ(WindowBroughtForward(&main, &browseFile, &browseFile), &main);
    EXPECT_EQ(WindowBroughtForward(&main, nullptr, &browseFile), &browseFile);
}

TEST(DroppedUrls, OnlyLocalFilesBecomePaths) {
    const QList<QUrl> urls = {QUrl::fromLocalFile(QStringLiteral("/data/a b.krvc")),
                              QUrl(QStringLiteral("https://example.org/c.krvc")),
                              QUrl(QStringLiteral("file:///data/%C3%BC.krvc")),
                              QUrl(QStringLiteral("sftp://host/d.krvc")), QUrl()};
    EXPECT_EQ(LocalPathsOfUrls(urls),
              QStringList({QStringLiteral("/data/a b.krvc"), QString::fromUtf8("/data/ü.krvc")}));
}

TEST_F(HandOver, DropOpensAfterTheDropEndedAndIsRefusedWhileBusy) {
    TDroppedFiles drops(window, *DF, DV);
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/a.krvc"))});
    EXPECT_FALSE(drops.Accepts(&web));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(dataFile)});
    window.busy = true;
    EXPECT_FALSE(drops.Accepts(&files));
    EXPECT_FALSE(drops.Drop(&files));
    window.busy = false;

    ASSERT_TRUE(drops.Drop(&files));
    EXPECT_TRUE(DF->getNoFile()) << "the drop is finished before the file opens";
    QCoreApplication::processEvents();
    EXPECT_EQ(DF->getDPFE(), dataFile);
    EXPECT_EQ(window.calls, Texts({"front", "store", "busy", "show", "idle"}));
}

} // namespace
