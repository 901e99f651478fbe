#include "DataFileFixture.h"

#include "model/DataFileBackup.h"
#include "platform/Exception.h"
#include "services/StdDlg.h"

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
