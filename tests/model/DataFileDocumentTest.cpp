#include "DataFileFixture.h"

#include "model/DataFileBackup.h"
#include "services/StdDlg.h"
#include "services/ovAD.h"
#include "support/FakeMessageBox.h"
#include "support/NonRegularFiles.h"

namespace {

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace

class DataFileDocument : public DataFileFixture {
protected:
    // Saves definitions with the given descriptions under name and leaves it the open document.
    QString SaveFile(const QString& name, const QStringList& descriptions) {
        SDs->Clear();
        for (const QString& d : descriptions) {
            SDs->getItems(SDs->Add())->setDescription(d);
        }
        const QString path = Path(name);
        dialogs.answers = {path};
        EXPECT_TRUE(DF->SaveAs());
        return path;
    }

    QStringList Descriptions() const {
        QStringList list;
        for (int n = 1; n <= SDs->getCount(); ++n) {
            list << SDs->getItems(n)->getDescription();
        }
        return list;
    }
};

TEST_F(DataFileDocument, StartsWithNoFileAndTheCommandLineIsOpenedOnce) {
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_FALSE(DF->getCmdLinePending());
    EXPECT_TRUE(DF->IsSaveAsRequired(false));

    const QString path = SaveFile(Q("cmd.krvc"), {Q("A")});
    ASSERT_TRUE(DF->Close());
    TovDF withArgument({path});
    withArgument.setView(&view);
    EXPECT_TRUE(withArgument.getCmdLinePending());
    EXPECT_TRUE(withArgument.OpenCommandLine(path));
    EXPECT_FALSE(withArgument.getCmdLinePending());
    EXPECT_EQ(withArgument.getDPFE(), path);
    EXPECT_FALSE(withArgument.OpenCommandLine(path));
    EXPECT_FALSE(TovDF({QString()}).getCmdLinePending());

    // A second instance's path is opened once per hand-over.
    EXPECT_FALSE(DF->OpenCopyData(path));
    DF->setCopyDataPending(true);
    EXPECT_TRUE(DF->OpenCopyData(path));
    EXPECT_FALSE(DF->getCopyDataPending());
    EXPECT_EQ(DF->getDPFE(), path);
}

TEST_F(DataFileDocument, NewAsksToSaveChangesAndStartsAnUntitledFile) {
    const QString path = SaveFile(Q("a.krvc"), {Q("Kept")});
    DF->setModified(true);
    dlg.answers = {mrCancel};
    EXPECT_FALSE(DF->New());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF022")}));
    EXPECT_EQ(DF->getDPFE(), path);
    EXPECT_EQ(Descriptions(), QStringList({Q("Kept")}));

    dlg.answers = {mrNo};
    EXPECT_TRUE(DF->New());
    EXPECT_EQ(DF->getDPFE(), Q("Untitled.krvc"));
    EXPECT_TRUE(DF->getIsNew());
    EXPECT_FALSE(DF->getModified());
    EXPECT_EQ(Descriptions(), QStringList({Q("Enter Description Here...")}));
    EXPECT_EQ(SDs->getActiveSD(), 1);
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
    // Save of a new file goes to Save As.
    EXPECT_FALSE(DF->Save());
    EXPECT_EQ(dialogs.saves.size(), 2u);
    EXPECT_EQ(dialogs.saves.back().FileName, Q("Untitled.krvc"));
}

TEST_F(DataFileDocument, OpenShowsTheDataFileTypesAndOpensTheChosenFile) {
    const QString first = SaveFile(Q("first.krvc"), {Q("First")});
    const QString second = SaveFile(Q("second.krvc"), {Q("Second")});
    dialogs.answers = {first};
    ASSERT_TRUE(DF->Open());
    ASSERT_EQ(dialogs.opens.size(), 1u);
    const TFileDialogSetup& setup = dialogs.opens[0];
    EXPECT_EQ(setup.Title, Q("Open Data File..."));
    EXPECT_TRUE(setup.FileMustExist);
    EXPECT_EQ(setup.OkButtonLabel, Q("&Open"));
    EXPECT_EQ(setup.DefaultExtension, Q("krvc"));
    EXPECT_EQ(setup.DefaultFolder, dir.path() + Q("/"));
    ASSERT_EQ(setup.FileTypes.size(), 4u);
    EXPECT_EQ(setup.FileTypes[0].Name, Q("Data Files (*.krvc; *.~krvc*)"));
    EXPECT_EQ(setup.FileTypes[0].Mask, Q("*.krvc;*.~krvc*"));
    EXPECT_EQ(setup.FileTypes[1].Name, Q("Ovik KRV Quill Data Files (*.krvp;*.~krvp*)"));
    EXPECT_EQ(setup.FileTypes[2].Mask, Q("*.krv;*.~krv"));
    EXPECT_EQ(setup.FileTypes[3].Mask, Q("*.*"));

    EXPECT_EQ(DF->getDPFE(), first);
    EXPECT_EQ(Descriptions(), QStringList({Q("First")}));
    EXPECT_FALSE(DF->getModified());
    EXPECT_FALSE(DF->IsSaveAsRequired(true));
    EXPECT_EQ(recent.added, QStringList({first, second, first}));
    EXPECT_GT(view.repaints, 0);
    EXPECT_EQ(view.ends, view.starts);

    // A file that is not a data file by its extension is refused by the validator's check.
    dialogs.answers = {Path(Q("notes.txt"))};
    EXPECT_FALSE(DF->Open());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDV003")}));
    EXPECT_EQ(DF->getDPFE(), first);
}

TEST_F(DataFileDocument, RefusedOrFailedOpenKeepsTheOpenDefinitions) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One"), Q("Two")});
    SDs->getItems(2)->setDescription(Q("Two changed"));
    DF->setModified(true);
    const QString invalid = Path(Q("invalid.krvc"));
    WriteAll(invalid, "[Something]\nKey=1\n");
    const QString unreadable = Path(Q("folder.krvc"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("folder.krvc")));
    const QString newer = Path(Q("newer.krvc"));
    WriteAll(newer, "[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\n"
                    "Version=6.0.0.0\nSD_Count=1\n");

    struct Case {
        QString path;
        QString key;
    };
    for (const Case& c :
         {Case{invalid, Q("UDF016")}, Case{unreadable, Q("UDF003")}, Case{newer, Q("UDF005")}}) {
        dlg.shown.clear();
        dlg.answers = {mrNo}; // do not save the changes first
        EXPECT_FALSE(DF->OpenDropped(c.path));
        EXPECT_EQ(dlg.keys(), QStringList({Q("UDF022"), c.key}));
        EXPECT_EQ(DF->getDPFE(), path);
        EXPECT_TRUE(DF->getModified());
        EXPECT_TRUE(DF->getIsTesselFormat());
        EXPECT_EQ(Descriptions(), QStringList({Q("One"), Q("Two changed")}));
    }
    // Saving afterwards writes the open definitions, not an empty list.
    ASSERT_TRUE(DF->Save());
    ASSERT_TRUE(DF->Close());
    ASSERT_TRUE(DF->OpenMRU(path));
    EXPECT_EQ(Descriptions(), QStringList({Q("One"), Q("Two changed")}));
}

TEST_F(DataFileDocument, WhatIsNoDataFileIsRefusedAtOnceWithItsFault) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    // A FIFO without a writer would hold the open for ever, /dev/zero would fill the memory.
    const QString fifo = Path(Q("pipe.krvc"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");
    const QString zero = Path(Q("zero.krvc"));
    ASSERT_TRUE(QFile::link(Q("/dev/zero"), zero));
    // Longer than any data file, and sparse: it takes no room on the disk.
    const QString huge = Path(Q("huge.krvc"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(datafile::MaxDataFileBytes + 1));
    }
    const struct {
        QString path;
        const char* details;
    } cases[] = {
        {fifo, "Details: It is a FIFO (named pipe), not a regular file."},
        {zero, "Details: It is a character device, not a regular file."},
        {huge, "Details: The file is 67,108,865 bytes long; at most 67,108,864 bytes are read."},
    };
    for (const auto& c : cases) {
        dlg.shown.clear();
        EXPECT_FALSE(DF->OpenDropped(c.path));
        ASSERT_EQ(dlg.keys(), QStringList({Q("UDF003")})) << c.path.toStdString();
        EXPECT_EQ(dlg.shown[0].lines.mid(0, 5),
                  QStringList({Q("The following Data File could not be opened."), QString(), c.path,
                               QString(), Q(c.details)}));
        EXPECT_EQ(DF->getDPFE(), path);
        EXPECT_EQ(Descriptions(), QStringList({Q("One")}));
    }
    EXPECT_EQ(testsupport::typeOf(fifo), mode_t(S_IFIFO));
}

TEST_F(DataFileDocument, ANameEndingInABlankIsAnotherFileAndIsSavedAsItIs) {
    const QString plain = SaveFile(Q("proj.krvc"), {Q("Plain")});
    const QString blank = SaveFile(Q("proj.krvc "), {Q("Blank")});
    EXPECT_EQ(DF->getDPFE(), blank);
    const QByteArray plainBytes = ReadAll(plain);
    ASSERT_TRUE(DF->Close());

    // Dropped, from the recent files, handed over by a second start.
    for (const auto open : {&TovDF::OpenDropped, &TovDF::OpenMRU, &TovDF::OpenCopyData}) {
        DF->setCopyDataPending(true);
        ASSERT_TRUE((DF->*open)(blank));
        EXPECT_EQ(DF->getDPFE(), blank);
        EXPECT_EQ(Descriptions(), QStringList({Q("Blank")}));
        ASSERT_TRUE(DF->Close());
    }
    ASSERT_TRUE(DF->OpenDropped(blank));
    SDs->getItems(1)->setDescription(Q("Blank changed"));
    ASSERT_TRUE(DF->Save());
    EXPECT_TRUE(ReadAll(blank).contains("Description=Blank changed"));
    EXPECT_EQ(ReadAll(plain), plainBytes);
    EXPECT_EQ(recent.added.last(), blank);

    dialogs.answers = {plain};
    ASSERT_TRUE(DF->Open());
    EXPECT_EQ(Descriptions(), QStringList({Q("Plain")}));
}

TEST_F(DataFileDocument, RefusingAnotherVersionKeepsTheOpenFileSaveable) {
    SaveFile(Q("a.krvc"), {Q("One")});
    const QString other = Path(Q("other.krvc"));
    WriteAll(other, "[Ovik KRV Tessel]\nApplication=Ovik KRV Tessel: Curvewright\n"
                    "Version=5.0.0.0\nSD_Count=1\n");
    dlg.answers = {mrNo};
    EXPECT_FALSE(DF->OpenDropped(other));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF006")}));
    EXPECT_EQ(DF->getFileVersion(), Q("5.3.0.0"));
    EXPECT_FALSE(DF->IsSaveAsRequired(true));

    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->OpenDropped(other));
    EXPECT_EQ(DF->getDPFE(), other);
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
}

TEST_F(DataFileDocument, ReopeningTheOpenFileAsksFirst) {
    const QString path = SaveFile(Q("a.krvc"), {Q("Saved")});
    SDs->getItems(1)->setDescription(Q("Unsaved"));
    dlg.answers = {mrNo};
    EXPECT_FALSE(DF->OpenMRU(path));
    ASSERT_EQ(dlg.keys(), QStringList({Q("UDF024")}));
    EXPECT_FALSE(dlg.shown[0].lines.contains(
        Q("Any unsaved changes made to the Data File will be lost if it is reopened.")));

    DF->setModified(true);
    dlg.shown.clear();
    dlg.answers = {mrNo, mrYes}; // discard the changes, then reopen
    EXPECT_TRUE(DF->OpenMRU(path));
    ASSERT_EQ(dlg.keys(), QStringList({Q("UDF022"), Q("UDF024")}));
    EXPECT_TRUE(dlg.shown[1].lines.contains(
        Q("Any unsaved changes made to the Data File will be lost if it is reopened.")));
    EXPECT_EQ(Descriptions(), QStringList({Q("Saved")}));
}

TEST_F(DataFileDocument, BackupFileOpensReadOnlyAfterTheQuestion) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    const QString backup = datafile::BackupPath(path, 3);
    QFile::copy(path, backup);
    ASSERT_TRUE(DF->Close());
    dlg.answers = {mrNo};
    EXPECT_FALSE(DF->OpenDropped(backup));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF001")}));
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_FALSE(DF->getIsBackup());

    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->OpenDropped(backup));
    EXPECT_TRUE(DF->getIsBackup());
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
    EXPECT_FALSE(DF->Save()); // to Save As, cancelled
    EXPECT_EQ(dialogs.saves.size(), 2u);
}

TEST_F(DataFileDocument, ReadOnlyFileOpensReadOnlyAfterTheQuestion) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    ASSERT_TRUE(DF->Close());
    DF->setReadOnlyProbe([path](const QString& p) { return p == path; });
    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->OpenDropped(path));
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF002")}));
    EXPECT_TRUE(DF->getIsReadOnly());
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
}

TEST_F(DataFileDocument, SaveAsCompletesTheExtensionAndAsksBeforeOverwriting) {
    SaveFile(Q("a.krvc"), {Q("One")});
    dialogs.answers = {Path(Q("plain"))};
    ASSERT_TRUE(DF->SaveAs());
    EXPECT_EQ(DF->getDPFE(), Path(Q("plain.krvc")));
    dialogs.answers = {Path(Q("other.txt"))};
    ASSERT_TRUE(DF->SaveAs());
    EXPECT_EQ(DF->getDPFE(), Path(Q("other.krvc")));
    const TFileDialogSetup& setup = dialogs.saves.back();
    EXPECT_EQ(setup.Title, Q(" Save Data File As... "));
    EXPECT_TRUE(setup.FolderMustExist);
    ASSERT_EQ(setup.FileTypes.size(), 1u);
    EXPECT_EQ(setup.FileTypes[0].Name, Q("Data Files (*.krvc)"));
    EXPECT_EQ(setup.FileName, Q("plain.krvc"));

    // Over an existing file: No shows the dialogue again, Cancel stops with nothing written.
    const QByteArray plain = ReadAll(Path(Q("plain.krvc")));
    SDs->getItems(1)->setDescription(Q("Changed"));
    dialogs.answers = {Path(Q("plain.krvc")), Path(Q("plain.krvc"))};
    dlg.answers = {mrNo, mrCancel};
    EXPECT_FALSE(DF->SaveAs());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF026"), Q("UDF026")}));
    EXPECT_EQ(dialogs.saves.back().FileName, Q("plain.krvc"));
    EXPECT_EQ(ReadAll(Path(Q("plain.krvc"))), plain);
    EXPECT_EQ(DF->getDPFE(), Path(Q("other.krvc")));

    dialogs.answers = {Path(Q("plain.krvc"))};
    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->SaveAs());
    EXPECT_TRUE(ReadAll(Path(Q("plain.krvc"))).contains("Description=Changed"));
}

TEST_F(DataFileDocument, SiblingFileSavedAsBecomesSaveableInPlace) {
    QFile::copy(DataPath(Q("quill_map_entries.krvp")), Path(Q("s.krvp")));
    dlg.answers = {mrYes};
    ASSERT_TRUE(DF->OpenDropped(Path(Q("s.krvp"))));
    EXPECT_TRUE(DF->IsSaveAsRequired(true));
    dialogs.answers = {Path(Q("s.krvc"))};
    ASSERT_TRUE(DF->Save());
    EXPECT_TRUE(DF->getIsTesselFormat());
    EXPECT_FALSE(DF->getIsQuillFormat());
    EXPECT_FALSE(DF->IsSaveAsRequired(true));
    SDs->getItems(1)->setDescription(Q("Now in place"));
    ASSERT_TRUE(DF->Save());
    EXPECT_EQ(dialogs.saves.size(), 1u);
    EXPECT_TRUE(ReadAll(Path(Q("s.krvc"))).contains("Description=Now in place"));
}

TEST_F(DataFileDocument, QuerySaveChangesSavesInPlaceOnYes) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    SDs->getItems(1)->setDescription(Q("Changed"));
    DF->setModified(true);
    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->Close());
    EXPECT_TRUE(DF->getNoFile());
    EXPECT_EQ(SDs->getCount(), 0);
    EXPECT_TRUE(ReadAll(path).contains("Description=Changed"));
}

TEST_F(DataFileDocument, CloseWithCancelKeepsTheDocument) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    DF->setModified(true);
    dlg.answers = {mrCancel};
    EXPECT_FALSE(DF->Close());
    EXPECT_EQ(DF->getDPFE(), path);
    EXPECT_EQ(SDs->getCount(), 1);
    EXPECT_TRUE(DF->getModified());
}

TEST_F(DataFileDocument, VanishedFileIsSavedAgainAndAFailedSaveStopsTheCommand) {
    const QString path = SaveFile(Q("a.krvc"), {Q("One")});
    QFile::remove(path);
    dlg.answers = {mrYes};
    EXPECT_TRUE(DF->New());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF021")}));
    EXPECT_TRUE(QFile::exists(path));

    // Now the folder itself is gone: the save fails and New does not go on.
    QTemporaryDir other;
    const QString gone = other.filePath(Q("sub/b.krvc"));
    ASSERT_TRUE(QDir(other.path()).mkdir(Q("sub")));
    SDs->getItems(1)->setDescription(Q("Work"));
    dialogs.answers = {gone};
    ASSERT_TRUE(DF->SaveAs());
    ASSERT_TRUE(QDir(other.filePath(Q("sub"))).removeRecursively());
    dlg.shown.clear();
    dlg.answers = {mrYes};
    EXPECT_FALSE(DF->New());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF021"), Q("UDF020")}));
    EXPECT_EQ(DF->getDPFE(), gone);
    EXPECT_EQ(Descriptions(), QStringList({Q("Work")}));
}

TEST_F(DataFileDocument, MissingSampleDataFileIsReported) {
    TGlobalObjectsSetup setup;
    setup.ProgramFolder = dir.path();
    TGlobalObjects ad({TGlobalObject::goAD}, setup);
    EXPECT_FALSE(DF->OpenSample());
    EXPECT_EQ(dlg.keys(), QStringList({Q("UDF025")}));
    EXPECT_EQ(dlg.shown[0].lines.value(2), AD->getSampleDPFE());
}

TEST_F(DataFileDocument, FileListChecksItsIndexes) {
    DF->setFL_Count(2);
    DF->setDFL_DPFE(2, Q("/p/b.krvc"));
    DF->setDFL_Valid(1, false);
    EXPECT_EQ(DF->getFL_DPFE(2), Q("/p/b.krvc"));
    EXPECT_FALSE(DF->getFL_Valid(1));
    EXPECT_TRUE(DF->getFL_Valid(0));
    EXPECT_TRUE(testsupport::messageBoxes().shown.empty());
    EXPECT_TRUE(DF->getFL_Valid(3));
    EXPECT_EQ(DF->getFL_DPFE(-1), QString());
    EXPECT_EQ(testsupport::messageBoxes().shown.size(), 2u);
    DF->ResetFL();
    EXPECT_EQ(DF->getFL_Count(), 0);
}
