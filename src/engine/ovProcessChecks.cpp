// The output file checks of a run: the Output File's folder exists or may be created, an existing
// Output File is a regular file, neither read-only nor open in another program, and may be
// overwritten.
#include "ovProcess.h"

#include "engine/StageProgress.h"
#include "platform/FileAccess.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

using platform::Format;
using platform::RaiseLines;

namespace {

// The lines that name the lock file which marks a file as open, when one does; the user is asked
// again and again while it stands, and a lock file left behind by a crash is the user's to delete.
QStringList LockFileLines(const QString& desc, const QString& path) {
    const platform::LockFileAnswer lock = platform::fileAccess().markingLockFile(path);
    if (!lock.answer.value) {
        return {};
    }
    return {Format(UIT(txt::IsMarkedAsOpen), {desc}),     QString(), lock.lockFile, QString(),
            Format(UIT(txt::IfNoProgramHasOpen), {desc}), QString()};
}

} // namespace

int TovProcess::AskQuestion(const QString& key, const QStringList& lines, const QString& yesHint,
                            const QString& noHint, const QString& checkBoxCaption, bool* checked) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        // Nobody can consent: nothing is created or overwritten.
        return mrNo;
    }
    dlg->MsgLines.clear();
    dlg->MsgLines << lines;
    const TStdDlgButton yes{glyphYes, mrYes, UIT(txt::Yes), yesHint};
    const TStdDlgButton no{glyphNo, mrNo, UIT(txt::No), noHint};
    if (checkBoxCaption.isEmpty()) {
        dlg->SetupStdDlgButtons2(sdkQuestion, key, no, yes);
    } else {
        TStdDlgButton hidden;
        hidden.Visible = false;
        dlg->SetupStdDlgButtons3CB(sdkQuestion, key, no, yes, hidden, checkBoxCaption);
    }
    const int answer = dlg->ShowModal();
    if (checked != nullptr) {
        *checked = dlg->getChecked();
    }
    return answer;
}

bool TovProcess::CheckOutputFolder() {
    bool result = false;
    stages().runStage([&] {
        if (FolderExists(OFFolderDesc, OFFolder)) {
            result = true;
            return;
        }
        if (UP == nullptr || UP->getPromptOnCreateOFFolder()) {
            const QStringList lines = {
                Format(UIT(txt::FollowingDoesNotExist), {OFFolderDesc}),
                QString(),
                OFFolder,
                QString(),
                Format(UIT(txt::MustBeCreatedInOrder), {OFFolderDesc, OFDesc}),
                QString(),
                Format(UIT(txt::DoYouWishToCreate), {OFFolderDesc}),
            };
            bool checked = false;
            const int answer = AskQuestion(
                QStringLiteral("UP012"), lines, Format(UIT(txt::Create), {OFFolderDesc}),
                Format(UIT(txt::DoNotCreate), {OFFolderDesc}) + QStringLiteral("\r\n") +
                    Format(UIT(txt::WillNotBeCreated), {OFDesc}),
                UIT(txt::CreateOutputFileFolderWithout), &checked);
            if (UP != nullptr) {
                UP->setPromptOnCreateOFFolder(!checked);
                UP->Save();
            }
            if (answer == mrNo) {
                return;
            }
        }
        result = CreateFolder(OFFolderDesc, OFFolder);
    });
    return result;
}

bool TovProcess::OutputFileReadOnly() {
    bool result = false;
    stages().runStage(
        [&] { result = FileExistsChecked(OFDesc, OFPath) && FileIsReadOnly(OFDesc, OFPath); });
    return result;
}

void TovProcess::RequireWritableOutput() {
    if (!CheckOutputFolder()) {
        RaiseLines(OutputFolderMissingLines());
    }
    // A device, a FIFO or a folder under the Output File's name (or at the end of its links) is
    // never overwritten: the workbook would take the place of the device node.
    QString notRegular;
    stages().runStage([&] { notRegular = platform::notRegularFileReason(OFPath); });
    if (!notRegular.isEmpty()) {
        RaiseLines({Format(UIT(txt::FollowingAlreadyExists), {OFDesc}), QString(), OFPath,
                    QString(), notRegular, QString(),
                    Format(UIT(txt::UnableToOverwriteExisting), {OFDesc})});
    }
    if (OutputFileReadOnly()) {
        RaiseLines(OutputFileReadOnlyLines());
    }
    if (OutputFileOpen()) {
        RaiseLines(OutputFileOpenLines());
    }
}

bool TovProcess::OutputFileOpen() {
    bool result = false;
    stages().runStage([&] {
        if (!FileExistsChecked(OFDesc, OFPath)) {
            return;
        }
        while (FileInUse(OFDesc, OFPath)) {
            const QStringList lines =
                QStringList{
                    Format(UIT(txt::FollowingAlreadyExistsAndIsOpen), {OFDesc}),
                    QString(),
                    OFPath,
                    QString(),
                } +
                LockFileLines(OFDesc, OFPath) +
                QStringList{
                    Format(UIT(txt::PleaseCloseBeforeContinuing), {OFDesc}),
                    QString(),
                    UIT(txt::DoYouWishToContinue_1434),
                };
            const int answer =
                AskQuestion(QStringLiteral("UP013"), lines, Format(UIT(txt::Overwrite), {OFDesc}),
                            Format(UIT(txt::DoNotOverwrite), {OFDesc}), QString(), nullptr);
            if (answer == mrNo) {
                result = true;
                return;
            }
        }
    });
    return result;
}

bool TovProcess::ConfirmOverwrite() {
    bool result = true;
    stages().runStage([&] {
        if (!FileExistsChecked(OFDesc, OFPath)) {
            return;
        }
        if (UP != nullptr && !UP->getPromptOnOverwriteOF()) {
            return;
        }
        const QStringList lines = {
            Format(UIT(txt::FollowingAlreadyExists), {OFDesc}),       QString(), OFPath, QString(),
            Format(UIT(txt::DoYouWishToOverwriteExisting), {OFDesc}),
        };
        bool checked = false;
        const int answer =
            AskQuestion(QStringLiteral("UP014"), lines, Format(UIT(txt::Overwrite_1252), {OFDesc}),
                        Format(UIT(txt::DoNotOverwrite_1253), {OFDesc}),
                        UIT(txt::OverwriteOutputFileWithoutPrompting), &checked);
        if (UP != nullptr) {
            UP->setPromptOnOverwriteOF(!checked);
            UP->Save();
        }
        if (answer == mrNo) {
            OverwriteConfirmed = false;
            result = false;
        }
    });
    return result;
}
