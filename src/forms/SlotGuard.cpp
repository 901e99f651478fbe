#include "forms/SlotGuard.h"

#include "platform/Exception.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

bool IsSilentAbort(const std::exception& error) {
    return dynamic_cast<const platform::EAbort*>(&error) != nullptr;
}

QString FailureMessage(const std::exception& error) {
    if (const auto* own = dynamic_cast<const platform::Exception*>(&error)) {
        return own->message();
    }
    return QString::fromLocal8Bit(error.what());
}

void ReportSlotFailure(const QString& message) {
    try {
        IStdDlg* dlg = StdDlg();
        if (dlg == nullptr) {
            return;
        }
        dlg->MsgLines.clear();
        dlg->MsgLines << message;
        dlg->SetupStdDlgButtons1(sdkCritical, QString(),
                                 {glyphClose, mrClose, UIT(txt::Close_357), {}});
        dlg->ShowModal();
    } catch (...) {
        // Reporting must never raise out of a slot; the failure was already the user's to see.
    }
}
