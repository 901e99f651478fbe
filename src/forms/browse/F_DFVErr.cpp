#include "forms/browse/F_DFVErr.h"

#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QListWidget>

TUF_DFVErr* UF_DFVErr = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 27;
    k.Slot = 7;
    k.DefaultWidth = 400;
    k.DefaultHeight = 360;
    k.CreationMinimum = QSize(200, 168);
    k.GetAutoSize = &TovUP::getAutoSizeDFVErr;
    k.SetAutoSize = &TovUP::setAutoSizeDFVErr;
    k.ErrorWindow = true;
    k.ClosesProgress = false;
    return k;
}

} // namespace

TUF_DFVErr::TUF_DFVErr(QWidget* parent)
    : TUF_BrowseBase(kind(), parent), LB_DFVErr(qobject_cast<QListWidget*>(list())),
      ListControl(LB_DFVErr) {
    setWindowTitle(FramedCell(
        platform::Format(UIT(txt::DataFileValidationErrors), {QStringLiteral("Ovik KRV Tessel")})));
    setSections(
        {UIT(txt::ID_267), UIT(txt::KRVDefinition), UIT(txt::Field_269), UIT(txt::Details_270)});
    setButtonCaptions(UIT(txt::AutoSize_271), QString(), QString(), QString(), UIT(txt::Close_272));
    setListHint(UIT(txt::FollowingErrorsWereFound));
    setButtonHints(UIT(txt::EnableToAutomaticallyResizeForm_1056), QString(), QString(), QString(),
                   UIT(txt::CloseDataFileValidationErrors) + QLatin1Char('\n') +
                       UIT(txt::ShortcutsEscAltC_1058));
    setStatusTexts({UIT(txt::TotalDataFileValidationErrors), QStringLiteral("0")});
    ::setLB_DFVErr(&ListControl);
    setDFVErrWindow(this);
}

TUF_DFVErr::~TUF_DFVErr() {
    if (DFVErrWindow() == this) {
        setDFVErrWindow(nullptr);
    }
    if (::LB_DFVErr() == &ListControl) {
        ::setLB_DFVErr(nullptr);
    }
    if (UF_DFVErr == this) {
        UF_DFVErr = nullptr;
    }
}

int TUF_DFVErr::Execute() {
    RefreshList();
    return exec();
}

QString TUF_DFVErr::cellText(int row, int column) const {
    const int n = row + 1;
    if (column == 0) {
        return QString::number(n);
    }
    if (DV == nullptr) {
        return {};
    }
    switch (column) {
    case 1:
        return DV->getDFVErrSDDesc(n);
    case 2:
        return DV->getDFVErrFld(n);
    case 3:
        return DV->getDFVErrDetails(n);
    default:
        return {};
    }
}
