#include "DataFileFixture.h"

#include "model/SampleCopy.h"
#include "model/ovSCF.h"
#include "services/INI_Utils.h"
#include "services/ovAD.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kFiles = QStringLiteral("Ovik KRV Tessel\\SD_1\\SCF");
const QString kSourceKey = QStringLiteral("DSF_DrivePathFilenameExtnXL");
const QString kTemplateKey = QStringLiteral("TF_DrivePathFilenameExtnXL");
const QString kOutputKey = QStringLiteral("OF_DrivePathFilenameExtnXL");

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// An installed sample folder as the installation lays it out: read-only data file and workbook,
// the data file naming the workbook beside it and the installed template.
class SampleCopyTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(installed()));
        TIniDocument ini;
        ini.WriteString(kFiles, kSourceKey, installed(QStringLiteral("Sample.xlsx")));
        ini.WriteString(kFiles, kTemplateKey, QStringLiteral("/opt/krv/Templates/T.xlsx"));
        ini.WriteString(kFiles, kOutputKey, installed(QStringLiteral("Sample_Output.xlsx")));
        writeFile(installed(QStringLiteral("Sample.krvc")), ini.ToBytes());
        writeFile(installed(QStringLiteral("Sample.xlsx")), "workbook");
        for (const QString& name : {QStringLiteral("Sample.krvc"), QStringLiteral("Sample.xlsx")}) {
            QFile::setPermissions(installed(name), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        // The user's documents folder of this test.
        qputenv("HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
        QDir().mkpath(root.filePath(QStringLiteral("home/Documents")));
    }

    QString installed(const QString& name = {}) const {
        return root.filePath(QStringLiteral("share/Samples/") + name);
    }

    QTemporaryDir root;
};

TEST_F(SampleCopyTest, FirstUseCopiesTheSampleIntoTheDocumentsFolderWithItsPathsMoved) {
    const QString copy = PrepareUserSample(installed(QStringLiteral("Sample.krvc")));
    const QDir folder(UserSampleFolder());
    EXPECT_TRUE(folder.path().startsWith(root.path()));
    EXPECT_EQ(copy, folder.filePath(QStringLiteral("Sample.krvc")));

    TIniDocument ini(copy);
    EXPECT_EQ(ini.ReadString(kFiles, kSourceKey, {}),
              folder.filePath(QStringLiteral("Sample.xlsx")));
    EXPECT_EQ(ini.ReadString(kFiles, kOutputKey, {}),
              folder.filePath(QStringLiteral("Sample_Output.xlsx")));
    EXPECT_EQ(ini.ReadString(kFiles, kTemplateKey, {}),
              QStringLiteral("/opt/krv/Templates/T.xlsx"));
    const QFileInfo workbook(folder.filePath(QStringLiteral("Sample.xlsx")));
    EXPECT_TRUE(workbook.isFile());
    EXPECT_TRUE(workbook.isWritable());
    EXPECT_TRUE(QFileInfo(copy).isWritable());
}

TEST_F(SampleCopyTest, LaterUsesOpenTheUsersCopyAsTheyLeftIt) {
    const QString copy = PrepareUserSample(installed(QStringLiteral("Sample.krvc")));
    TIniDocument edited(copy);
    edited.WriteString(kFiles, kOutputKey, QStringLiteral("/home/me/Mine.xlsx"));
    writeFile(copy, edited.ToBytes());

    EXPECT_EQ(PrepareUserSample(installed(QStringLiteral("Sample.krvc"))), copy);
    EXPECT_EQ(TIniDocument(copy).ReadString(kFiles, kOutputKey, {}),
              QStringLiteral("/home/me/Mine.xlsx"));
}

TEST_F(SampleCopyTest, AMissingSampleOrAFolderThatCannotBeMadeLeavesTheInstalledPath) {
    const QString missing = installed(QStringLiteral("Missing.krvc"));
    EXPECT_EQ(PrepareUserSample(missing), missing);
    EXPECT_FALSE(
        QFileInfo::exists(QDir(UserSampleFolder()).filePath(QStringLiteral("Missing.krvc"))));

    // The documents folder is a file: no copy can be made there.
    QDir(root.filePath(QStringLiteral("home/Documents"))).removeRecursively();
    writeFile(root.filePath(QStringLiteral("home/Documents")), "not a folder");
    const QString sample = installed(QStringLiteral("Sample.krvc"));
    EXPECT_EQ(PrepareUserSample(sample), sample);
}

// The Open Sample Data File command over an installation in the test's folder, with the
// user's documents folder there too.
class OpenSampleCommand : public DataFileFixture {
protected:
    void SetUp() override {
        DataFileFixture::SetUp();
        home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(Path(QStringLiteral("home"))));
        ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("home/Documents"))));
        TGlobalObjectsSetup setup;
        setup.ProgramFolder = Path(QStringLiteral("share"));
        ad = std::make_unique<TGlobalObjects>(
            std::initializer_list<TGlobalObject>{TGlobalObject::goAD}, setup);
        const QString samples = QFileInfo(AD->getSampleDPFE()).absolutePath();
        ASSERT_TRUE(QDir().mkpath(samples));
        TIniDocument ini(DataPath(QStringLiteral("example.krvc")));
        ini.WriteString(kFiles, kSourceKey, samples + QStringLiteral("/Tasks.xlsx"));
        writeFile(AD->getSampleDPFE(), ini.ToBytes());
        writeFile(samples + QStringLiteral("/Tasks.xlsx"), "workbook");
    }
    void TearDown() override {
        ad.reset();
        qputenv("HOME", home);
        DataFileFixture::TearDown();
    }

    QByteArray home;
    std::unique_ptr<TGlobalObjects> ad;
};

TEST_F(OpenSampleCommand, TheUsersCopyReadsItsOwnWorkbook) {
    ASSERT_TRUE(DF->OpenSample());
    const QDir copy(UserSampleFolder());
    EXPECT_EQ(QFileInfo(DF->getDPFE()).absolutePath(), copy.absolutePath());
    const TovSCF& files = *SDs->getItems(1)->SCF;
    EXPECT_EQ(files.getDSF_DrivePathFilenameExtnXL(), copy.filePath(QStringLiteral("Tasks.xlsx")));
    EXPECT_TRUE(QFileInfo(files.getDSF_DrivePathFilenameExtnXL()).isFile());
    EXPECT_FALSE(DF->getModified());
    const QString templateFile = files.getTF_DrivePathFilenameExtnXL();
    const QString outputFile = files.getOF_DrivePathFilenameExtnXL();

    // Without a copy (the documents folder cannot hold one) the installed sample reads the
    // installed workbook; the template and the output file are the same either way.
    QDir(UserSampleFolder()).removeRecursively();
    QDir(Path(QStringLiteral("home/Documents"))).removeRecursively();
    writeFile(Path(QStringLiteral("home/Documents")), "not a folder");
    ASSERT_TRUE(DF->OpenSample());
    EXPECT_EQ(DF->getDPFE(), AD->getSampleDPFE());
    const TovSCF& installed = *SDs->getItems(1)->SCF;
    EXPECT_EQ(installed.getDSF_DrivePathFilenameExtnXL(),
              QFileInfo(AD->getSampleDPFE()).absolutePath() + QStringLiteral("/Tasks.xlsx"));
    EXPECT_EQ(installed.getTF_DrivePathFilenameExtnXL(), templateFile);
    EXPECT_EQ(installed.getOF_DrivePathFilenameExtnXL(), outputFile);
}

} // namespace
