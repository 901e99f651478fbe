#include "forms/browse/F_DFVErr.h"

#include "model/ovDV.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

TUF_DFVErr* UF_DFVErr = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k = TUF_ErrListBase::ErrorWindowKind(27, 7, &TovUP::getAutoSizeDFVErr,
                                                         &TovUP::setAutoSizeDFVErr);
    k.ClosesProgress = false;
    return k;
}

} // namespace

TUF_DFVErr::TUF_DFVErr(QWidget* parent)
    : TUF_ErrListBase(kind(),
                      {&TovDV::getDFVErrSDDesc, &TovDV::getDFVErrFld, &TovDV::getDFVErrDetails},
                      parent),
      LB_DFVErr(errorList()) {
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
