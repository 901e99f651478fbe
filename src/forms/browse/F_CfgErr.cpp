#include "forms/browse/F_CfgErr.h"

#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QListWidget>

TUF_CfgErr* UF_CfgErr = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 26;
    k.Slot = 6;
    k.DefaultWidth = 400;
    k.DefaultHeight = 360;
    k.CreationMinimum = QSize(200, 168);
    k.GetAutoSize = &TovUP::getAutoSizeCfgErr;
    k.SetAutoSize = &TovUP::setAutoSizeCfgErr;
    k.ErrorWindow = true;
    return k;
}

} // namespace

TUF_CfgErr::TUF_CfgErr(QWidget* parent)
    : TUF_BrowseBase(kind(), parent), LB_CfgErr(qobject_cast<QListWidget*>(list())),
      ListControl(LB_CfgErr) {
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

int TUF_CfgErr::Execute() {
    RefreshList();
    return exec();
}

QString TUF_CfgErr::cellText(int row, int column) const {
    const int n = row + 1;
    if (column == 0) {
        return QString::number(n);
    }
    if (DV == nullptr) {
        return {};
    }
    switch (column) {
    case 1:
        return DV->getCfgErrTab(n);
    case 2:
        return DV->getCfgErrFld(n);
    case 3:
        return DV->getCfgErrDetails(n);
    case 4:
        return DV->getCfgErrFldVal(n);
    default:
        return {};
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
