#include "RunFixture.h"

#include "platform/FileAccess.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "support/NonRegularFiles.h"

#include <QFile>
#include <QFileInfo>

namespace enginetest {
namespace {

using platform::Format;

class OutputChecks : public RunFixture {
protected:
    void touch(const QString& file) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    // The preferences as the next start of the program reads them.
    static TovUP Stored() {
        TovUP stored;
        stored.Load();
        return stored;
    }
    ScriptedFileAccess& scriptFiles() {
        auto owned = std::make_unique<ScriptedFileAccess>();
        ScriptedFileAccess& access = *owned;
        platform::setFileAccess(std::move(owned));
        return access;
    }
};

using ProgressSteps = OutputChecks;

TEST_F(ProgressSteps, CountFollowsTheDataSetsQuantitiesAndFilter) {
    struct Case {
        bool filter, bl, act, tgt, mh, cost;
        int steps;
        const char* stepLine;
    };
    const Case cases[] = {
        {true, true, true, true, true, true, 85, " [%.2d] %s "},
        {false, true, false, false, true, false, 40, " [%.2d] %s "},
        {true, true, false, true, true, false, 54, " [%.2d] %s "},
        {false, false, true, false, true, true, 42, " [%.2d] %s "},
        {false, false, false, true, false, true, 40, " [%.2d] %s "},
        {false, true, true, true, false, false, 41, " [%.2d] %s "},
    };
    for (const Case& c : cases) {
        Configure(c.bl, c.act, c.tgt, c.mh, c.cost);
        sd().DSF->setEnabled(c.filter ? 1 : 0);
        process.LoadRunSettings(1);
        process.SetLineFormats(5);
        EXPECT_EQ(process.CountProgressSteps(), c.steps)
            << c.filter << c.bl << c.act << c.tgt << c.mh << c.cost;
        EXPECT_EQ(process.getStepLineFormat(), QString::fromLatin1(c.stepLine)) << c.steps;
    }
}

TEST_F(OutputChecks, MissingFolderCreatedOnYesAndTheTickedBoxStopsLaterQuestions) {
    sd().SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("out/deep/result.xlsx")));
    process.LoadRunSettings(1);
    dialogue.answers = {mrYes};
    dialogue.checks = {true};
    EXPECT_TRUE(process.CheckOutputFolder());
    EXPECT_TRUE(QDir(path(QStringLiteral("out/deep"))).exists());
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP012")});
    const auto& shown = dialogue.shown.front();
    EXPECT_EQ(shown.kind, sdkQuestion);
    EXPECT_EQ(shown.checkBoxCaption, UIT(txt::CreateOutputFileFolderWithout));
    EXPECT_EQ(shown.lines,
              (QStringList{Format(UIT(txt::FollowingDoesNotExist), {UIT(txt::OutputFileFolder)}),
                           QString(), path(QStringLiteral("out/deep/")), QString(),
                           Format(UIT(txt::MustBeCreatedInOrder),
                                  {UIT(txt::OutputFileFolder), UIT(txt::OutputFile_757)}),
                           QString(),
                           Format(UIT(txt::DoYouWishToCreate), {UIT(txt::OutputFileFolder)})}));
    EXPECT_FALSE(UP->getPromptOnCreateOFFolder());
    EXPECT_FALSE(Stored().getPromptOnCreateOFFolder());

    // The next missing folder is created without a question.
    sd().SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("other/result.xlsx")));
    process.LoadRunSettings(1);
    EXPECT_TRUE(process.CheckOutputFolder());
    EXPECT_TRUE(QDir(path(QStringLiteral("other"))).exists());
    EXPECT_EQ(dialogue.shown.size(), 1u);
}

TEST_F(OutputChecks, MissingFolderDeclinedEndsTheRunBeforeTheProgressWindow) {
    sd().SCF->setOF_DrivePathFilenameExtnXL(path(QStringLiteral("out/result.xlsx")));
    dialogue.answers = {mrNo};
    dialogue.checks = {true};
    EXPECT_FALSE(process.Run(1));
    EXPECT_FALSE(QDir(path(QStringLiteral("out"))).exists());
    ASSERT_EQ(keys(), (QStringList{QStringLiteral("UP012"), QStringLiteral("UP002")}));
    // The check box is stored even though the answer was No.
    EXPECT_FALSE(Stored().getPromptOnCreateOFFolder());
    const QStringList expected =
        Heading() +
        QStringList{Format(UIT(txt::Details_1423),
                           {Format(UIT(txt::FollowingDoesNotExist), {UIT(txt::OutputFileFolder)})}),
                    QString(), path(QStringLiteral("out/")), QString(),
                    Format(UIT(txt::MustBeCreatedInOrder),
                           {UIT(txt::OutputFileFolder), UIT(txt::OutputFile_757)})};
    EXPECT_EQ(dialogue.shown.back().lines, expected);
    EXPECT_EQ(progress.shows, 0);
    EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("CreateApplication")));
}

TEST_F(OutputChecks, ReadOnlyOutputFileEndsTheRunBeforeAnyQuestion) {
    touch(path(QStringLiteral("result.xlsx")));
    scriptFiles().readOnly = true;
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")});
    EXPECT_TRUE(dialogue.shown.back().lines.contains(
        Format(UIT(txt::Details_1423),
               {Format(UIT(txt::FollowingExistsAndIsRead), {UIT(txt::OutputFile_757)})})));
    EXPECT_TRUE(dialogue.shown.back().lines.contains(
        Format(UIT(txt::UnableToOverwriteExisting), {UIT(txt::OutputFile_757)})));
}

TEST_F(OutputChecks, AnOutputThatIsNoRegularFileIsRefusedBeforeAnyQuestionAndLeft) {
    const QString fifo = path(QStringLiteral("pipe.xlsx"));
    ASSERT_EQ(testsupport::makeFifo(fifo), "");
    const QString toFifo = path(QStringLiteral("link.xls"));
    ASSERT_TRUE(QFile::link(fifo, toFifo));
    const QString folder = path(QStringLiteral("folder.xlsx"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString device = path(QStringLiteral("null.xlsx"));
    const std::string noDevice = testsupport::makeCharacterDevice(device);
    struct Case {
        QString output;
        QString reason;
        mode_t type;
    };
    std::vector<Case> cases = {
        {fifo, QStringLiteral("It is a FIFO (named pipe), not a regular file."), S_IFIFO},
        {toFifo,
         QStringLiteral("It leads to %1, which is a FIFO (named pipe), not a regular file.")
             .arg(QFileInfo(fifo).canonicalFilePath()),
         S_IFLNK},
        {folder, QStringLiteral("It is a folder, not a regular file."), S_IFDIR},
    };
    if (noDevice.empty()) {
        cases.push_back(
            {device, QStringLiteral("It is a character device, not a regular file."), S_IFCHR});
    }
    for (const Case& c : cases) {
        dialogue.shown.clear();
        sd().SCF->setOF_DrivePathFilenameExtnXL(c.output);
        EXPECT_FALSE(process.Run(1)) << c.output.toStdString();
        // No "already exists ... overwrite?" question: the refusal comes first.
        ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")}) << c.output.toStdString();
        const QStringList expected =
            Heading() +
            QStringList{Format(UIT(txt::Details_1423), {Format(UIT(txt::FollowingAlreadyExists),
                                                               {UIT(txt::OutputFile_757)})}),
                        QString(),
                        c.output,
                        QString(),
                        c.reason,
                        QString(),
                        Format(UIT(txt::UnableToOverwriteExisting), {UIT(txt::OutputFile_757)})};
        EXPECT_EQ(dialogue.shown.back().lines, expected);
        EXPECT_EQ(testsupport::typeOf(c.output), c.type) << c.output.toStdString();
        EXPECT_EQ(progress.shows, 0);
    }
    if (!noDevice.empty()) {
        GTEST_SKIP() << noDevice;
    }
}

TEST_F(OutputChecks, OpenOutputFileAsksAgainAfterEveryYes) {
    touch(path(QStringLiteral("result.xlsx")));
    ScriptedFileAccess& files = scriptFiles();
    files.inUseTests = 2;
    process.LoadRunSettings(1);
    dialogue.answers = {mrYes, mrYes};
    EXPECT_FALSE(process.OutputFileOpen());
    EXPECT_EQ(keys(), (QStringList{QStringLiteral("UP013"), QStringLiteral("UP013")}));
    EXPECT_EQ(files.inUseCalls, 3);
    EXPECT_TRUE(dialogue.shown.front().checkBoxCaption.isEmpty());
    EXPECT_EQ(dialogue.shown.front().lines.at(6), UIT(txt::DoYouWishToContinue_1434));

    files.inUseCalls = 0;
    dialogue.answers = {mrYes, mrNo};
    EXPECT_TRUE(process.OutputFileOpen());
    EXPECT_EQ(files.inUseCalls, 2);
}

// This machine as "desk-7" with the user "ann"; whether a LibreOffice program of hers runs is
// scripted.
class MachineFileAccess : public platform::FileAccess {
public:
    bool officeRunning = false;

protected:
    QString hostName() override { return QStringLiteral("desk-7"); }
    QString userName() override { return QStringLiteral("ann"); }
    platform::FileAnswer officeProgramRunning() override {
        return officeRunning ? platform::FileAnswer::yes() : platform::FileAnswer::no();
    }
};

TEST_F(OutputChecks, ALockFileLeftBehindIsPassedAndALiveOneIsNamed) {
    const QString output = path(QStringLiteral("result.xlsx"));
    touch(output);
    const QString lock = path(QStringLiteral(".~lock.result.xlsx#"));
    QFile marker(lock);
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write(",ann,desk-7,11.12.2026 14:09,file:///home/ann/.config/libreoffice/4;");
    marker.close();
    auto owned = std::make_unique<MachineFileAccess>();
    MachineFileAccess& files = *owned;
    platform::setFileAccess(std::move(owned));
    process.LoadRunSettings(1);

    // No LibreOffice of this user runs here: nobody can be editing the file through the lock.
    EXPECT_FALSE(process.OutputFileOpen());
    EXPECT_TRUE(keys().isEmpty());
    EXPECT_TRUE(QFile::exists(lock));

    files.officeRunning = true;
    dialogue.answers = {mrNo};
    EXPECT_TRUE(process.OutputFileOpen());
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP013")});
    const QString desc = UIT(txt::OutputFile_757);
    EXPECT_EQ(dialogue.shown.back().lines,
              (QStringList{Format(UIT(txt::FollowingAlreadyExistsAndIsOpen), {desc}), QString(),
                           output, QString(), Format(UIT(txt::IsMarkedAsOpen), {desc}), QString(),
                           lock, QString(), Format(UIT(txt::IfNoProgramHasOpen), {desc}), QString(),
                           Format(UIT(txt::PleaseCloseBeforeContinuing), {desc}), QString(),
                           UIT(txt::DoYouWishToContinue_1434)}));
}

TEST_F(OutputChecks, OverwriteDeclinedClearsTheConfirmationAndStoresTheBox) {
    touch(path(QStringLiteral("result.xlsx")));
    process.LoadRunSettings(1);
    dialogue.answers = {mrNo};
    dialogue.checks = {false};
    EXPECT_FALSE(process.ConfirmOverwrite());
    EXPECT_FALSE(process.getOverwriteConfirmed());
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP014")});
    EXPECT_EQ(dialogue.shown.front().checkBoxCaption,
              UIT(txt::OverwriteOutputFileWithoutPrompting));
    EXPECT_TRUE(Stored().getPromptOnOverwriteOF());

    // Yes with the box ticked: no question the next time.
    dialogue.answers = {mrYes};
    dialogue.checks = {true};
    EXPECT_TRUE(process.ConfirmOverwrite());
    EXPECT_FALSE(Stored().getPromptOnOverwriteOF());
    EXPECT_TRUE(process.ConfirmOverwrite());
    EXPECT_EQ(dialogue.shown.size(), 2u);
}

TEST_F(OutputChecks, OverwriteDeclinedInARunEndsItWithTheExistingFileMessage) {
    touch(path(QStringLiteral("result.xlsx")));
    dialogue.answers = {mrNo};
    EXPECT_FALSE(process.Run(1));
    ASSERT_EQ(keys(), (QStringList{QStringLiteral("UP014"), QStringLiteral("UP002")}));
    EXPECT_EQ(dialogue.shown.back().lines,
              (Heading() +
               QStringList{Format(UIT(txt::Details_1423), {Format(UIT(txt::FollowingAlreadyExists),
                                                                  {UIT(txt::OutputFile_757)})}),
                           QString(), path(QStringLiteral("result.xlsx"))}));
    EXPECT_EQ(progress.shows, 0);
}

TEST_F(OutputChecks, OutputFileNamingAnInputWorkbookIsRefusedBeforeAnyWork) {
    const QString inputs[] = {
        path(QStringLiteral("plan.xlsx")),
        dir.path() + QStringLiteral("/sub/../template.xlsx"),
        dir.path() + QStringLiteral("//./plan.xlsx"),
    };
    for (const QString& output : inputs) {
        dialogue.shown.clear();
        sd().SCF->setOF_DrivePathFilenameExtnXL(output);
        EXPECT_FALSE(process.Run(1)) << output.toStdString();
        ASSERT_EQ(keys(), QStringList{QStringLiteral("UP002")}) << output.toStdString();
        const QStringList& lines = dialogue.shown.back().lines;
        ASSERT_GT(lines.size(), 4) << output.toStdString();
        const QString other = output.contains(QStringLiteral("template"))
                                  ? UIT(txt::TemplateFile_752)
                                  : UIT(txt::DataSourceFile_747);
        EXPECT_EQ(lines.at(4),
                  Format(UIT(txt::Details_1423),
                         {Format(UIT(txt::IsSame), {UIT(txt::OutputFile_757), other})}))
            << output.toStdString();
        EXPECT_EQ(progress.shows, 0);
        EXPECT_FALSE(fake::program().calls.contains(QStringLiteral("CreateApplication")));
    }
}

} // namespace
} // namespace enginetest
