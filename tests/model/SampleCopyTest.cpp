#include "model/SampleCopy.h"
#include "services/INI_Utils.h"

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

} // namespace
