#include "services/FileChecks.h"
#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"
#include "support/FakeStdDlg.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

namespace {

using testsupport::FakeStdDlg;

// A file system that cannot answer: what a permission-denied folder gives a user who is not root.
class DeniedAccess : public platform::FileAccess {
public:
    platform::FileAnswer folderExists(const QString&) override { return denied(); }
    platform::FileAnswer fileExists(const QString&) override { return denied(); }
    platform::FileAnswer isReadOnly(const QString&) override { return denied(); }
    platform::FileAnswer isInUse(const QString&) override { return denied(); }
    platform::FileAnswer removeFile(const QString&) override { return denied(); }

private:
    static platform::FileAnswer denied() { return platform::FileAnswer::failure(EACCES); }
};

class FileChecks : public testing::Test {
protected:
    void SetUp() override {
        ad_ = std::make_unique<TovAD>(dir_.path());
        previousAD_ = AD;
        AD = ad_.get();
    }
    void TearDown() override {
        AD = previousAD_;
        platform::setFileAccess(nullptr);
    }
    QString makeFile(const QString& name) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    void deny() { platform::setFileAccess(std::make_unique<DeniedAccess>()); }

    QTemporaryDir dir_;
    FakeStdDlg dlg_;
    std::unique_ptr<TovAD> ad_;
    TovAD* previousAD_ = nullptr;
    const QString desc_ = QStringLiteral("Data File");
};

TEST_F(FileChecks, ExistenceTestsAnswerWithoutDialoguesWhenTheyCan) {
    const QString file = makeFile(QStringLiteral("a.krvc"));
    EXPECT_FALSE(FolderExists(desc_, QStringLiteral("   ")));
    EXPECT_TRUE(FolderExists(desc_, dir_.path()));
    EXPECT_FALSE(FolderExists(desc_, file));
    EXPECT_TRUE(FileExistsChecked(desc_, file));
    EXPECT_FALSE(FileExistsChecked(desc_, dir_.path()));
    EXPECT_FALSE(FileExistsChecked(desc_, dir_.filePath(QStringLiteral("b.krvc"))));
    EXPECT_TRUE(FileExistsOrRaise(desc_, file));
    EXPECT_FALSE(FileIsReadOnly(desc_, file));
    EXPECT_FALSE(FileInUse(desc_, file));
    EXPECT_FALSE(FileInUse(desc_, dir_.filePath(QStringLiteral("missing.xlsx"))));
    EXPECT_TRUE(dlg_.shown.empty());
    EXPECT_TRUE(AD->MessageLog.isEmpty());
}

TEST_F(FileChecks, TheReportingFamilyShowsItsDialogueAndAnswersFalse) {
    deny();
    const QString path = dir_.filePath(QStringLiteral("x.krvc"));
    EXPECT_FALSE(FolderExists(desc_, path));
    EXPECT_FALSE(FileExistsChecked(desc_, path));
    EXPECT_FALSE(DeleteFileChecked(desc_, path));
    EXPECT_FALSE(FileIsReadOnly(desc_, path));
    EXPECT_EQ(dlg_.keys(), (QStringList{QStringLiteral("U001"), QStringLiteral("U004"),
                                        QStringLiteral("U005"), QStringLiteral("U006")}));
    const testsupport::StdDlgShown& first = dlg_.shown.front();
    EXPECT_EQ(first.kind, sdkWarning);
    ASSERT_EQ(first.lines.size(), 6);
    EXPECT_EQ(first.lines[0], platform::Format(UIT(txt::UnableToVerifyIfFollowingExists), {desc_}));
    EXPECT_EQ(first.lines[2], path);
    EXPECT_EQ(first.lines[4], platform::Format(UIT(txt::Details_1423), {qt_error_string(EACCES)}));
    ASSERT_EQ(first.buttons.size(), 1U);
    EXPECT_EQ(first.buttons[0].ModalResult, mrClose);
    EXPECT_EQ(first.buttons[0].ImageIndex, glyphClose);
    EXPECT_EQ(first.buttons[0].Caption, UIT(txt::Close_357));
    EXPECT_EQ(dlg_.shown[3].lines[0],
              platform::Format(UIT(txt::UnableToVerifyIfFollowingIsReadOnly), {desc_}));
}

TEST_F(FileChecks, ThePassingOnFamilyLogsAndRaisesAgain) {
    deny();
    const QString path = dir_.filePath(QStringLiteral("x.xlsx"));
    EXPECT_THROW(FileInUse(desc_, path), platform::Exception);
    EXPECT_THROW(FileExistsOrRaise(desc_, path), platform::Exception);
    EXPECT_THROW(CreateFolder(desc_, dir_.filePath(QStringLiteral("new"))), platform::Exception);
    EXPECT_EQ(
        AD->MessageLog,
        (QStringList{platform::Format(UIT(txt::UnableToVerifyIfFollowingIsInUse), {desc_}),
                     QString(), path, QString(),
                     platform::Format(UIT(txt::UnableToVerifyIfFollowingExists_1470), {desc_}),
                     QString(), path, QString(),
                     platform::Format(UIT(txt::UnableToCreateFollowing), {desc_}), QString(),
                     dir_.filePath(QStringLiteral("new")), QString()}));
    EXPECT_TRUE(dlg_.shown.empty());
}

TEST_F(FileChecks, CreateFolderCreatesOnlyMissingChains) {
    EXPECT_TRUE(CreateFolder(desc_, dir_.filePath(QStringLiteral("one/two"))));
    EXPECT_TRUE(QDir(dir_.filePath(QStringLiteral("one/two"))).exists());
    EXPECT_FALSE(CreateFolder(desc_, dir_.filePath(QStringLiteral("one/two"))));
    EXPECT_FALSE(CreateFolder(desc_, QStringLiteral("/")));
    EXPECT_FALSE(CreateFolder(desc_, QStringLiteral("bare-name")));
    EXPECT_FALSE(CreateFolder(desc_, QString()));
    // A file in the way: the folder cannot be created, which is an error for the caller.
    const QString file = makeFile(QStringLiteral("f"));
    EXPECT_THROW(CreateFolder(desc_, file + QStringLiteral("/sub")), platform::Exception);
    EXPECT_FALSE(AD->MessageLog.isEmpty());
}

TEST_F(FileChecks, AReadOnlyFileIsReportedAndNotDeleted) {
    const QString file = makeFile(QStringLiteral("r.krvc"));
    ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0444), 0);
    EXPECT_TRUE(FileIsReadOnly(desc_, file));
    EXPECT_FALSE(DeleteFileChecked(desc_, file));
    EXPECT_EQ(dlg_.keys(), QStringList{QStringLiteral("U005")});
    EXPECT_TRUE(QFile::exists(file));
    ::chmod(QFile::encodeName(file).constData(), 0644);
    EXPECT_TRUE(DeleteFileChecked(desc_, file));
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(FileChecks, AWorkbookWithALockFileBesideItIsInUse) {
    const QString book = makeFile(QStringLiteral("Plan.xlsx"));
    makeFile(QStringLiteral(".~lock.Plan.xlsx#"));
    EXPECT_TRUE(FileInUse(desc_, book));
}

} // namespace
