#include "platform/Format.h"
#include "services/PathChecks.h"
#include "services/TextIds.h"
#include "services/ovMRU.h"
#include "services/ovUIL.h"
#include "support/FakeMessageBox.h"
#include "support/FakeStdDlg.h"
#include "support/TempRegistry.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

using testsupport::TempRegistry;

// Checks that refuse what the validator would: relative paths, a "|" in the folder, an empty
// file name, an extension other than .krvc.
class DataFileChecks : public IPathChecks {
public:
    DataFileChecks() { setPathChecks(this); }
    ~DataFileChecks() override { setPathChecks(nullptr); }
    bool CheckPath(const QString&, const QString&) override { return false; }
    bool CheckFolderPath(const QString&, const QString&) override { return false; }
    bool CheckDrive(const QString&, const QString& p) override {
        return !p.startsWith(QLatin1Char('/'));
    }
    bool CheckIllegalFilenameChars(const QString& p) override {
        return p.left(p.lastIndexOf(QLatin1Char('/'))).contains(QLatin1Char('|'));
    }
    bool CheckFilename(const QString&, const QString& p) override {
        return p.endsWith(QStringLiteral("/.krvc"));
    }
    bool CheckDataFileExt(const QString&, const QString& p) override {
        return !p.endsWith(QStringLiteral(".krvc"));
    }
};

// The main window's menus, as the list leaves them.
class RecordingMenu : public IMRUMenu {
public:
    void setItemCaption(TMRUMenu menu, int n, const QString& caption) override {
        captions[{menu, n}] = caption;
    }
    void setItemVisible(TMRUMenu menu, int n, bool v) override { visible[{menu, n}] = v; }
    void setFileSeparatorVisible(bool v) override { separator = v; }
    void setPurgeEnabled(bool e) override { purge = e; }
    void setResetEnabled(bool e) override { reset = e; }

    QString caption(TMRUMenu menu, int n) { return captions[{menu, n}]; }
    bool shown(TMRUMenu menu, int n) { return visible[{menu, n}]; }

    std::map<std::pair<TMRUMenu, int>, QString> captions;
    std::map<std::pair<TMRUMenu, int>, bool> visible;
    bool separator = true;
    bool purge = true;
    bool reset = true;
};

QString p(int n) {
    return QStringLiteral("/d/f%1.krvc").arg(n);
}

TovMRUs* fullList(TovMRUs& list) {
    while (list.Grow()) {
    }
    for (int n = 9; n >= 1; --n) {
        list.AddToTop(p(n));
    }
    return &list;
}

QStringList paths(TovMRUs& list) {
    QStringList out;
    for (int n = 1; n <= list.getCount(); ++n) {
        out << list.getItems(n).getDPFE();
    }
    return out;
}

TEST(RecentFiles, GrowsToNineSlots) {
    TovMRUs list;
    int grown = 0;
    while (list.Grow()) {
        ++grown;
    }
    EXPECT_EQ(grown, 9);
    EXPECT_EQ(list.getCount(), list.getCapacity());
    EXPECT_EQ(&list.getItems(10), &list.getItems(0)); // reported, then the spare
    EXPECT_EQ(testsupport::messageBoxes().shown.size(), 1U);
}

TEST(RecentFiles, AddToTopMovesAnExistingPathAndDropsTheOldestOfAFullList) {
    TovMRUs list;
    fullList(list);
    EXPECT_EQ(paths(list), (QStringList{p(1), p(2), p(3), p(4), p(5), p(6), p(7), p(8), p(9)}));
    list.AddToTop(p(4));
    EXPECT_EQ(paths(list), (QStringList{p(4), p(1), p(2), p(3), p(5), p(6), p(7), p(8), p(9)}));
    list.AddToTop(p(10));
    EXPECT_EQ(paths(list), (QStringList{p(10), p(4), p(1), p(2), p(3), p(5), p(6), p(7), p(8)}));
    // File names compare case-sensitively: another letter case is another file.
    list.AddToTop(QStringLiteral("/D/F1.krvc"));
    EXPECT_EQ(paths(list)[0], QStringLiteral("/D/F1.krvc"));
    EXPECT_TRUE(paths(list).contains(p(1)));
    // So is a name that ends in a blank: it is kept as it is.
    list.AddToTop(p(2) + QStringLiteral(" "));
    EXPECT_EQ(paths(list)[0], p(2) + QStringLiteral(" "));
    EXPECT_TRUE(paths(list).contains(p(2)));
}

TEST(RecentFiles, RemoveMovesLaterSlotsUp) {
    TovMRUs list;
    fullList(list);
    EXPECT_TRUE(list.Remove(p(3)));
    EXPECT_FALSE(list.Remove(QStringLiteral("/not/there.krvc")));
    EXPECT_EQ(paths(list),
              (QStringList{p(1), p(2), p(4), p(5), p(6), p(7), p(8), p(9), QString()}));
}

TEST(RecentFiles, CleanUpRemovesInvalidEntriesAndOlderDuplicates) {
    DataFileChecks checks;
    TovMRUs list;
    fullList(list);
    list.getItems(2).setDPFE(QStringLiteral("/d/notes.txt"));
    list.getItems(3).setDPFE(p(1)); // an older copy of slot 1
    list.getItems(4).setDPFE(QString());
    list.getItems(5).setDPFE(QStringLiteral("relative.krvc"));
    list.getItems(6).setDPFE(QStringLiteral("/a|b/x.krvc"));
    list.getItems(7).setDPFE(QStringLiteral("/x/") + QString(300, QLatin1Char('n')) +
                             QStringLiteral(".krvc"));
    list.CleanUp();
    EXPECT_EQ(paths(list), (QStringList{p(1), p(8), p(9), QString(), QString(), QString(),
                                        QString(), QString(), QString()}));
}

TEST(RecentFiles, DuplicatesKeepTheNewestCopyInItsSlot) {
    TovMRUs list;
    fullList(list);
    list.getItems(5).setDPFE(p(2));
    list.getItems(8).setDPFE(p(2));
    list.CleanUp();
    EXPECT_EQ(paths(list),
              (QStringList{p(1), p(2), p(3), p(4), p(6), p(7), p(9), QString(), QString()}));
}

TEST(RecentFiles, PurgeAlsoRemovesMissingFilesWithAReasonEach) {
    DataFileChecks checks;
    testsupport::FakeStdDlg dlg;
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.krvc"));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString gone = dir.filePath(QStringLiteral("gone.krvc"));

    TovMRUs list;
    while (list.Grow()) {
    }
    list.getItems(1).setDPFE(kept);
    list.getItems(2).setDPFE(gone);
    list.getItems(3).setDPFE(QStringLiteral("/d/notes.txt"));
    list.getItems(5).setDPFE(QStringLiteral("/a|b/x.krvc"));

    list.CleanUp();
    EXPECT_EQ(paths(list).mid(0, 3), (QStringList{kept, gone, QString()}));

    list.getItems(3).setDPFE(QStringLiteral("/d/notes.txt"));
    list.getItems(4).setDPFE(QStringLiteral("rel.krvc"));
    EXPECT_EQ(list.Purge(), 3);
    EXPECT_EQ(
        list.getPurgeReport(),
        (QStringList{platform::Format(UIT(txt::InvalidDrive), {QStringLiteral("rel.krvc")}),
                     platform::Format(UIT(txt::InvalidExtension), {QStringLiteral("/d/notes.txt")}),
                     platform::Format(UIT(txt::NotFound), {gone})}));
    EXPECT_EQ(paths(list)[0], kept);
    EXPECT_EQ(paths(list)[1], QString());
    EXPECT_TRUE(dlg.shown.empty());
}

TEST(RecentFiles, TheMenusShowTheFilledSlots) {
    TovMRUs list;
    RecordingMenu menu;
    list.setMenu(&menu);
    while (list.Grow()) {
    }
    list.RefreshMenu();
    EXPECT_FALSE(menu.separator || menu.purge || menu.reset);
    EXPECT_EQ(menu.caption(TMRUMenu::File, 1), QString());
    for (int n = 1; n <= 9; ++n) {
        EXPECT_FALSE(menu.shown(TMRUMenu::File, n)) << n;
        EXPECT_FALSE(menu.shown(TMRUMenu::Popup, n)) << n;
    }

    list.AddToTop(p(2));
    list.AddToTop(p(1));
    list.RefreshMenu();
    EXPECT_TRUE(menu.separator && menu.purge && menu.reset);
    EXPECT_EQ(menu.caption(TMRUMenu::File, 1), QStringLiteral("1 ") + p(1));
    EXPECT_EQ(menu.caption(TMRUMenu::Popup, 2), QStringLiteral("2 ") + p(2));
    EXPECT_TRUE(menu.shown(TMRUMenu::Popup, 2));
    EXPECT_FALSE(menu.shown(TMRUMenu::File, 3));

    list.Clear();
    EXPECT_FALSE(menu.separator || menu.purge || menu.reset);
    EXPECT_FALSE(menu.shown(TMRUMenu::File, 1));
    EXPECT_EQ(paths(list)[0], QString());
}

TEST(RecentFiles, RoundTripKeepsAnUnreadableSlotsStoredValue) {
    TempRegistry reg;
    reg.writeUserHive("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\MRUs\\MRU_1]\n"
                      "\"MRU_DF_DrivePathFilenameExtn\"=\"/d/a.krvc\"\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\MRUs\\MRU_9]\n"
                      "\"MRU_DF_DrivePathFilenameExtn\"=dword:00000001\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\MRUs\\MRU_3]\n"
                      "\"MRU_DF_DrivePathFilenameExtn\"=\"/d/c.krvc\"\n");
    TovMRUs list;
    while (list.Grow()) {
    }
    list.Load();
    EXPECT_EQ(testsupport::messageBoxes().shown.size(), 1U);
    EXPECT_EQ(paths(list)[0], QStringLiteral("/d/a.krvc"));
    EXPECT_EQ(paths(list)[2], QStringLiteral("/d/c.krvc"));
    list.CleanUp();
    list.Save();
    const QByteArray text = reg.readUserHive();
    EXPECT_TRUE(text.contains("dword:00000001")); // slot 9 is still what the user had

    TovMRUs back;
    while (back.Grow()) {
    }
    back.Load();
    EXPECT_EQ(paths(back).mid(0, 3),
              (QStringList{QStringLiteral("/d/a.krvc"), QStringLiteral("/d/c.krvc"), QString()}));
}

} // namespace
