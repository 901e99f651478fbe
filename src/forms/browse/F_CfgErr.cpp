#include "forms/browse/F_CfgErr.h"

#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QListWidget>

TUF_CfgErr* UF_CfgErr = nullptr;

TUF_CfgErr::TUF_CfgErr(QWidget* parent)
    : TUF_ErrListBase(ErrorWindowKind(26, 6, &TovUP::getAutoSizeCfgErr, &TovUP::setAutoSizeCfgErr),
                      {&TovDV::getCfgErrTab, &TovDV::getCfgErrFld, &TovDV::getCfgErrDetails,
                       &TovDV::getCfgErrFldVal},
                      parent),
      LB_CfgErr(errorList()) {
    setWindowTitle(FramedCell(
        platform::Format(UIT(txt::ConfigurationErrors), {QStringLiteral("Ovik KRV Tessel")})));
    setSections({UIT(txt::ID_258), UIT(txt::Tab), UIT(txt::Field), UIT(txt::Details),
                 UIT(txt::FieldValue)});
    setButtonCaptions(UIT(txt::AutoSize_263), QString(), QString(), QString(), UIT(txt::Close_264));
    setListHint(UIT(txt::FollowingConfigurationErrorsWereFound) + QLatin1Char('\n') +
                UIT(txt::TheseMustBeCorrectedBefore) + QLatin1Char('\n') +
                UIT(txt::ShortcutDoubleClickToDisplay));
    setButtonHints(UIT(txt::EnableToAutomaticallyResizeForm_1052), QString(), QString(), QString(),
                   UIT(txt::CloseConfigurationErrorsForm) + QLatin1Char('\n') +
                       UIT(txt::ShortcutsEscAltC_1054));
    setStatusTexts({UIT(txt::TotalConfigurationErrors), QStringLiteral("0")});
    ::setLB_CfgErr(&ListControl);
    setCfgErrWindow(this);
}

TUF_CfgErr::~TUF_CfgErr() {
    if (CfgErrWindow() == this) {
        setCfgErrWindow(nullptr);
    }
    if (::LB_CfgErr() == &ListControl) {
        ::setLB_CfgErr(nullptr);
    }
    if (UF_CfgErr == this) {
        UF_CfgErr = nullptr;
    }
}

void TUF_CfgErr::ListDoubleClick() {
    const int row = LB_CfgErr->currentRow();
    if (row < 0) {
        return;
    }
    if (ICfgErrTarget* target = CfgErrTarget()) {
        target->GoToCfgErr(row + 1);
    }
    // The main window took the focus to show the field; the list stays open and takes it back.
    activateWindow();
    LB_CfgErr->setFocus();
}
