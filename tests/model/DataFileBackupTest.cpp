#include "DataFileFixture.h"

#include "model/DataFileBackup.h"
#include "platform/Exception.h"
#include "platform/FileAccess.h"
#include "services/StdDlg.h"
#include "support/FileSizeLimit.h"
#include "support/NonRegularFiles.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

class DataFileBackups : public DataFileFixture {
protected:
    // The data file and its ten backup copies, each holding its own name.
    void WriteAllCopies(const QString& path) {
        WriteAll(path, "current");
        for (int k = 0; k <= 9; ++k) {
            WriteAll(datafile::BackupPath(path, k), QByteArray("copy ") + QByteArray::number(k));
        }
    }
    QByteArray Copy(const QString& path, int k) { return ReadAll(datafile::BackupPath(path, k)); }

    // A saved one-definition data file opened as the document.
    QString OpenSavedFile() {
        SDs->getItems(SDs->Add())->setDescription(Q("One"));
        const QString path = Path(Q("a.krvc"));
        dialogs.answers = {path};
        EXPECT_TRUE(DF->SaveAs());
        return path;
    }
};

TEST_F(DataFileBackups, BackupNamesAndTheBackupExtension) {
    EXPECT_EQ(datafile::BackupPath(Q("/p/a.krvc"), 0), Q("/p/a.~krvc"));
    EXPECT_EQ(datafile::BackupPath(Q("/p/a.krvc"), 9), Q("/p/a.~krvc9"));
    EXPECT_EQ(datafile::BackupPath(Q("/p.x/a"), 1), Q("/p.x/a.~krvc1"));
    for (const char* path : {"/p/a.~krvc", "/p/a.~KRVC3", "/p/a.~krvcX"}) {
        EXPECT_TRUE(datafile::IsBackupExtension(Q(path))) << path;
    }
    for (const char* path : {"/p/a.krvc", "/p/a.~krv", "/p/~krvc", "/p/a.krvc~"}) {
        EXPECT_FALSE(datafile::IsBackupExtension(Q(path))) << path;
    }
}

TEST_F(DataFileBackups, IncrementalBackupShiftsTheNineCopies) {
    const QString path = Path(Q("a.krvc"));
    WriteAllCopies(path);
    datafile::BackupDataFile(path, true);
    EXPECT_EQ(Copy(path, 0), QByteArray("current"));
    EXPECT_EQ(Copy(path, 1), QByteArray("copy 0"));
    for (int k = 2; k <= 9; ++k) {
        EXPECT_EQ(Copy(path, k), QByteArray("copy ") + QByteArray::number(k - 1)) << k;
    }
    EXPECT_EQ(ReadAll(path), QByteArray("current"));
    EXPECT_EQ(FolderEntries().size(), 11); // no temporary file is left
}

TEST_F(DataFileBackups, MissingCopyLeavesTheNextOneAsItWas) {
    const QString path = Path(Q("a.krvc"));
    WriteAllCopies(path);
    QFile::remove(datafile::BackupPath(path, 3));
    datafile::BackupDataFile(path, true);
    EXPECT_EQ(Copy(path, 3), QByteArray("copy 2"));
    EXPECT_EQ(Copy(path, 4), QByteArray("copy 4"));
    EXPECT_EQ(Copy(path, 5), QByteArray("copy 4"));
}

TEST_F(DataFileBackups, FailingCopyChangesNothing) {
    const QString path = Path(Q("a.krvc"));
    WriteAllCopies(path);
    const QStringList before = FolderEntries();
    int copies = 0;
    const datafile::TCopier failThird = [&copies](const QString& src, const QString& dst) {
        if (++copies == 3) {
            throw platform::Exception(Q("disk full"));
        }
        datafile::CopyFileContents(src, dst);
    };
    EXPECT_THROW(datafile::BackupDataFile(path, true, failThird), platform::Exception);
    EXPECT_EQ(FolderEntries(), before);
    for (int k = 0; k <= 9; ++k) {
        EXPECT_EQ(Copy(path, k), QByteArray("copy ") + QByteArray::number(k)) << k;
    }
}

TEST_F(DataFileBackups, SaveMakesBackupsOnlyAsThePreferencesSay) {
    const QString path = OpenSavedFile();
    ASSERT_FALSE(QFile::exists(datafile::BackupPath(path, 0))); // Save As makes none
    const QByteArray first = ReadAll(path);

    prefs.BackupDF = false;
    SDs->getItems(1)->setDescription(Q("Two"));
    ASSERT_TRUE(DF->Save());
    EXPECT_FALSE(QFile::exists(datafile::BackupPath(path, 0)));

    prefs.BackupDF = true;
    const QByteArray second = ReadAll(path);
    SDs->getItems(1)->setDescription(Q("Three"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(Copy(path, 0), second);
    EXPECT_FALSE(QFile::exists(datafile::BackupPath(path, 1)));

    prefs.IncBackup = true;
    const QByteArray third = ReadAll(path);
    SDs->getItems(1)->setDescription(Q("Four"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(Copy(path, 0), third);
    EXPECT_EQ(Copy(path, 1), second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(ReadAll(path).contains("Description=Four"));
    EXPECT_TRUE(dlg.shown.empty());
}

TEST_F(DataFileBackups, FailedBackupKeepsTheDataFileAndEveryCopy) {
    const QString path = OpenSavedFile();
    prefs.IncBackup = true;
    for (int k = 1; k <= 9; ++k) {
        WriteAll(datafile::BackupPath(path, k), QByteArray("copy ") + QByteArray::number(k));
    }
    // A folder where the ".~krvc" copy should go makes the backup fail.
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("a.~krvc")));
    const QByteArray saved = ReadAll(path);
    const QStringList before = FolderEntries();
    SDs->getItems(1)->setDescription(Q("Changed"));
    DF->setModified(true);

    EXPECT_FALSE(DF->Save());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF020")}));
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_EQ(FolderEntries(), before);
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(Copy(path, k), QByteArray("copy ") + QByteArray::number(k)) << k;
    }
    EXPECT_TRUE(DF->getModified());
    EXPECT_EQ(view.ends, view.starts);
}

TEST_F(DataFileBackups, SaveIntoAFolderThatRefusesKeepsEverything) {
    const QString path = OpenSavedFile();
    WriteAll(Path(Q("blocker")), "a file, not a folder");
    const QStringList before = FolderEntries();
    const QByteArray saved = ReadAll(path);
    DF->setModified(true);
    const QString refused = Path(Q("blocker/b.krvc"));
    dialogs.answers = {refused};

    EXPECT_FALSE(DF->SaveAs());
    ASSERT_EQ(dlg.keys(), QStringList({Q("UDF020")}));
    EXPECT_EQ(dlg.shown[0].lines.value(0), Q("The Data File could not be saved."));
    EXPECT_EQ(dlg.shown[0].lines.value(2), refused);
    EXPECT_TRUE(dlg.shown[0].lines.value(4).startsWith(Q("Details: ")));
    // The document stays on its old path, unsaved.
    EXPECT_EQ(DF->getDPFE(), path);
    EXPECT_TRUE(DF->getModified());
    EXPECT_FALSE(DF->IsSaveAsRequired(true));
    EXPECT_EQ(FolderEntries(), before);
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_TRUE(recent.added == QStringList({path}));
}

TEST_F(DataFileBackups, SavingThroughALinkReplacesTheFileItNamesAndKeepsTheLink) {
    const QString real = OpenSavedFile();
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("links")));
    const QString link = Path(Q("links/a.krvc"));
    ASSERT_TRUE(QFile::link(Q("../a.krvc"), link));
    prefs.BackupDF = true;
    const QByteArray before = ReadAll(real);
    dialogs.answers = {link};
    dlg.answers = {mrYes}; // overwrite the file the link names
    SDs->getItems(1)->setDescription(Q("Through the link"));
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(DF->Save()); // a plain save makes the backup
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), real);
    EXPECT_TRUE(ReadAll(real).contains("Description=Through the link"));
    EXPECT_NE(ReadAll(real), before);
    EXPECT_TRUE(QFile::exists(datafile::BackupPath(real, 0))); // beside the file, not the link
    EXPECT_EQ(QDir(Path(Q("links")))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System),
              QStringList({Q("a.krvc")}));

    // A dangling link: the file it names is created and the link stays.
    const QString dangling = Path(Q("links/new.krvc"));
    ASSERT_TRUE(QFile::link(Q("../new.krvc"), dangling));
    dialogs.answers = {dangling};
    ASSERT_TRUE(DF->SaveAs());
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_TRUE(ReadAll(Path(Q("new.krvc"))).contains("Description=Through the link"));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF026")}));
}

namespace {

// File checks that cannot examine one path, as a folder without search permission would make
// them; every other path is answered by the file system.
class UnexaminablePath : public platform::FileAccess {
public:
    explicit UnexaminablePath(QString path) : path_(std::move(path)) {}
    platform::FileAnswer fileExists(const QString& path) override {
        return path == path_ ? platform::FileAnswer::failure(EACCES)
                             : platform::FileAccess::fileExists(path);
    }
    platform::FileAnswer isReadOnly(const QString& path) override {
        return path == path_ ? platform::FileAnswer::failure(EACCES)
                             : platform::FileAccess::isReadOnly(path);
    }

private:
    QString path_;
};

// A file-existence failure only: the read-only check of the same path is answered.
class UnexaminableReadOnly : public UnexaminablePath {
public:
    using UnexaminablePath::UnexaminablePath;
    platform::FileAnswer fileExists(const QString& path) override {
        return platform::FileAccess::fileExists(path);
    }
};

} // namespace

TEST_F(DataFileBackups, ABackupThatCannotBeExaminedIsReportedAndStopsTheSave) {
    const QString path = OpenSavedFile();
    prefs.IncBackup = true;
    for (int k = 0; k <= 9; ++k) {
        WriteAll(datafile::BackupPath(path, k), QByteArray("copy ") + QByteArray::number(k));
    }
    const struct {
        const char* key;
        std::function<std::unique_ptr<platform::FileAccess>(const QString&)> access;
    } cases[] = {
        {"U004", [](const QString& p) { return std::make_unique<UnexaminablePath>(p); }},
        {"U006", [](const QString& p) { return std::make_unique<UnexaminableReadOnly>(p); }},
    };
    for (const auto& c : cases) {
        dlg.shown.clear();
        const QByteArray saved = ReadAll(path);
        const QStringList before = FolderEntries();
        SDs->getItems(1)->setDescription(Q("Changed"));
        DF->setModified(true);
        platform::setFileAccess(c.access(datafile::BackupPath(path, 3)));
        const bool saveResult = DF->Save();
        platform::setFileAccess(nullptr);

        EXPECT_FALSE(saveResult) << c.key;
        EXPECT_EQ(dlg.keys(), QStringList({Q(c.key), Q("UDF020")})) << c.key;
        EXPECT_EQ(dlg.shown.back().lines.value(4).contains(datafile::BackupPath(path, 3)), true)
            << dlg.shown.back().lines.join(Q("|")).toStdString();
        EXPECT_EQ(ReadAll(path), saved) << c.key;
        EXPECT_EQ(FolderEntries(), before) << c.key;
        EXPECT_EQ(Copy(path, 3), QByteArray("copy 3")) << c.key;
    }
}

TEST_F(DataFileBackups, AFullDiskIsNamedWithTheBackupItStopped) {
    const QString path = Path(Q("a.krvc"));
    WriteAllCopies(path);
    const QStringList before = FolderEntries();
    const datafile::TCopier toFullDisk = [](const QString& src, const QString&) {
        datafile::CopyFileContents(src, Q("/dev/full"));
    };
    try {
        datafile::BackupDataFile(path, true, toFullDisk);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_TRUE(e.message().contains(datafile::BackupPath(path, 9)))
            << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QString::fromLocal8Bit(strerror(ENOSPC))))
            << e.message().toStdString();
    }
    EXPECT_EQ(FolderEntries(), before);
}

TEST_F(DataFileBackups, ASaveCutShortByAFullDiskKeepsTheFileAndSaysWhy) {
    const QString path = OpenSavedFile();
    const QByteArray saved = ReadAll(path);
    const QStringList before = FolderEntries();
    SDs->getItems(1)->setDescription(Q("Changed"));
    DF->setModified(true);
    prefs.BackupDF = false; // the new contents are the only write
    bool result = true;
    {
        const testsupport::FileSizeLimit limit(200);
        result = DF->Save();
    }
    EXPECT_FALSE(result);
    ASSERT_EQ(dlg.keys(), QStringList({Q("UDF020")}));
    EXPECT_TRUE(dlg.shown[0].lines.join(Q("|")).contains(QString::fromLocal8Bit(strerror(EFBIG))))
        << dlg.shown[0].lines.join(Q("|")).toStdString();
    EXPECT_EQ(ReadAll(path), saved);
    EXPECT_EQ(FolderEntries(), before);
    EXPECT_TRUE(DF->getModified());
}

TEST_F(DataFileBackups, ADeviceOrFifoUnderTheNameIsRefusedAndLeftAsItIs) {
    const QString path = OpenSavedFile();
    prefs.BackupDF = true;
    const QString fifo = Path(Q("pipe.krvc"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");
    const QString toFifo = Path(Q("link.krvc"));
    ASSERT_TRUE(QFile::link(Q("pipe.krvc"), toFifo));
    const QString device = Path(Q("null.krvc"));
    const std::string noDevice = testsupport::makeCharacterDevice(device);
    QStringList refused = {fifo, toFifo};
    if (noDevice.empty()) {
        refused << device;
    }
    for (const QString& target : refused) {
        dlg.shown.clear();
        dialogs.answers = {target};
        // Refused before the question to overwrite the existing file.
        EXPECT_FALSE(DF->SaveAs()) << target.toStdString();
        ASSERT_EQ(dlg.keys(), QStringList({Q("UDF020")})) << target.toStdString();
        EXPECT_EQ(dlg.shown[0].lines.value(2), target);
        EXPECT_TRUE(dlg.shown[0].lines.value(4).endsWith(Q("not a regular file.")))
            << dlg.shown[0].lines.join(Q("|")).toStdString();
        EXPECT_EQ(DF->getDPFE(), path);
    }
    EXPECT_EQ(testsupport::typeOf(fifo), mode_t(S_IFIFO));
    EXPECT_EQ(testsupport::typeOf(toFifo), mode_t(S_IFLNK));

    // A FIFO where the backup copy goes stops the save before anything is replaced.
    QFile::remove(datafile::BackupPath(path, 0));
    ASSERT_EQ(testsupport::makeFifo(datafile::BackupPath(path, 0)), "");
    const QByteArray saved = ReadAll(path);
    dlg.shown.clear();
    DF->setModified(true);
    EXPECT_FALSE(DF->Save());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF020")}));
    EXPECT_EQ(testsupport::typeOf(datafile::BackupPath(path, 0)), mode_t(S_IFIFO));
    EXPECT_EQ(ReadAll(path), saved);
    if (!noDevice.empty()) {
        GTEST_SKIP() << noDevice;
    }
    EXPECT_EQ(testsupport::typeOf(device), mode_t(S_IFCHR));
}

TEST_F(DataFileBackups, TheDataFileKeepsItsModeAndEachBackupTakesItsSources) {
    const QString path = OpenSavedFile();
    prefs.BackupDF = true;
    prefs.IncBackup = true;
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    SDs->getItems(1)->setDescription(Q("Two"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(testsupport::permissionsOf(path), 0600u);
    EXPECT_EQ(testsupport::permissionsOf(datafile::BackupPath(path, 0)), 0600u);

    // The copy that moves up keeps the mode it had; the new ".~krvc" copy takes the data file's.
    ASSERT_EQ(::chmod(QFile::encodeName(datafile::BackupPath(path, 0)).constData(), 0640), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    SDs->getItems(1)->setDescription(Q("Three"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(testsupport::permissionsOf(datafile::BackupPath(path, 1)), 0640u);
    EXPECT_EQ(testsupport::permissionsOf(datafile::BackupPath(path, 0)), 0604u);
    EXPECT_EQ(testsupport::permissionsOf(path), 0604u);
}

TEST_F(DataFileBackups, TheLeftoversOfAKilledSaveGoWithTheNextSave) {
    const QString path = OpenSavedFile();
    prefs.BackupDF = true;
    const QStringList before = FolderEntries();
    // What a save killed while it wrote the new contents and a backup copy leaves behind.
    WriteAll(Path(Q(".a.krvc.krvsave-999999-0badc0de")), "[Ovik KRV Tessel]\r\nApplic");
    WriteAll(Path(Q(".a.~krvc.krvsave-999999-0badf00d")), "[Ovik KRV Tessel]\r\n");
    SDs->getItems(1)->setDescription(Q("Two"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(FolderEntries(), QStringList({Q("a.krvc"), Q("a.~krvc")}));
    EXPECT_EQ(before, QStringList({Q("a.krvc")}));
}
