#include "ProcessWindows.h"

#include "excel/ovXL.h"
#include "platform/Format.h"
#include "services/Progress.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QRegularExpression>

namespace engine {

void ShowProcessProgress(const QString& caption, int steps) {
    IProgress* p = Progress();
    if (p == nullptr) {
        return;
    }
    p->Reset();
    p->setCaption(
        platform::Format(QStringLiteral(" %s: %s "), {QStringLiteral("Ovik KRV Tessel"), caption}));
    p->setTotalSteps(steps);
    p->setCancelled(false);
    p->ShowStepProgress(false);
    p->Show();
}

void HideProcessProgress() {
    IProgress* p = Progress();
    if (p == nullptr) {
        return;
    }
    p->setCancelled(false);
    p->ShowStepProgress(false);
    p->Hide();
}

QStringList FailureLines(const QString& details) {
    QStringList excelLines;
    if (XL != nullptr) {
        excelLines = XL->Errors;
        try {
            XL->QuitExcel();
        } catch (...) {
            // The failure itself is what the user must see; the failed quit only adds its lines.
            excelLines << XL->Errors;
        }
    }
    QStringList lines;
    if (AD != nullptr) {
        lines << AD->MessageLog;
    }
    lines << excelLines;
    if (!details.isEmpty()) {
        QStringList detailLines = details.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
        lines << platform::Format(UIT(txt::Details_1423), {detailLines.takeFirst()}) << detailLines;
    }
    return lines;
}

void ShowCloseMessage(int kind, const QString& key, const QStringList& lines, int hintId) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines.clear();
    dlg->MsgLines << lines;
    dlg->SetupStdDlgButtons1(kind, key, {glyphClose, mrClose, UIT(txt::Close_357), UIT(hintId)});
    dlg->ShowModal();
}

} // namespace engine
