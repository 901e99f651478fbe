// The output file checks of a run: the Output File's folder exists or may be created, an existing
// Output File is neither read-only nor open in another program, and may be overwritten.
#include "ovProcess.h"

#include "engine/StageProgress.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/StdDlg.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

using platform::Format;
using platform::RaiseLines;

namespace {

constexpr int kTextCreateFolderNoPrompt = 354;
constexpr int kTextOverwriteNoPrompt = 355;
constexpr int kTextNo = 359;
constexpr int kTextYes = 362;
constexpr int kHintCreateFolder = 1247;
constexpr int kHintDoNotCreateFolder = 1248;
constexpr int kHintFileNotCreated = 1249;
constexpr int kHintContinueOpen = 1250;
constexpr int kHintStopOpen = 1251;
constexpr int kHintOverwrite = 1252;
constexpr int kHintDoNotOverwrite = 1253;

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
    const TStdDlgButton yes{glyphYes, mrYes, UIT(kTextYes), yesHint};
    const TStdDlgButton no{glyphNo, mrNo, UIT(kTextNo), noHint};
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
                Format(UIT(1425), {OFFolderDesc}),
                QString(),
                OFFolder,
                QString(),
                Format(UIT(1426), {OFFolderDesc, OFDesc}),
                QString(),
                Format(UIT(1427), {OFFolderDesc}),
            };
            bool checked = false;
            const int answer = AskQuestion(
                QStringLiteral("UP012"), lines, Format(UIT(kHintCreateFolder), {OFFolderDesc}),
                Format(UIT(kHintDoNotCreateFolder), {OFFolderDesc}) + QStringLiteral("\r\n") +
                    Format(UIT(kHintFileNotCreated), {OFDesc}),
                UIT(kTextCreateFolderNoPrompt), &checked);
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
        const QStringList lines = {
            Format(UIT(1432), {OFDesc}), QString(), OFPath,    QString(),
            Format(UIT(1433), {OFDesc}), QString(), UIT(1434),
        };
        while (FileInUse(OFDesc, OFPath)) {
            const int answer = AskQuestion(
                QStringLiteral("UP013"), lines, Format(UIT(kHintContinueOpen), {OFDesc}),
                Format(UIT(kHintStopOpen), {OFDesc}), QString(), nullptr);
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
            Format(UIT(1428), {OFDesc}), QString(), OFPath, QString(), Format(UIT(1429), {OFDesc}),
        };
        bool checked = false;
        const int answer = AskQuestion(
            QStringLiteral("UP014"), lines, Format(UIT(kHintOverwrite), {OFDesc}),
            Format(UIT(kHintDoNotOverwrite), {OFDesc}), UIT(kTextOverwriteNoPrompt), &checked);
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
