#include "ovOCP.h"

#include "XLEnvironment.h"
#include "ovXL.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

using platform::Format;

TovOCP* OCP = nullptr;

namespace {
const QString kPackKey = QStringLiteral("Installer\\Products\\00002109020090400000000000F01FEC");
const QString kProductName = QStringLiteral("ProductName");
} // namespace

TovOCP::TovOCP() {
    Init();
}

void TovOCP::Init() {
    ProductName = DetectPack();
}

QString TovOCP::getProductName() {
    return DetectPack();
}

QString TovOCP::DetectPack() {
    QString result = UIT(txt::NotInstalled);
    Found = false;
    XLEnvironment& env = xlEnvironment();
    try {
        if (env.regValueExists(XLEnvironment::Root::ClassesRoot, kPackKey, kProductName)) {
            const QString name = env.regReadString(XLEnvironment::Root::ClassesRoot, kPackKey,
                                                   kProductName, QString());
            if (!name.isEmpty()) {
                Found = true;
                result = name;
            }
        }
    } catch (platform::Exception& e) {
        IStdDlg* dlg = StdDlg();
        if (dlg != nullptr) {
            dlg->MsgLines.clear();
            dlg->MsgLines << UIT(txt::UnableToVerifyIfOffice) << QString();
            if (!e.message().isEmpty()) {
                dlg->MsgLines << Format(UIT(txt::Details_1535), {e.message()});
                e.setMessage(QString());
            }
            dlg->SetupStdDlgButtons1(
                sdkWarning, QStringLiteral("UOCP001"),
                {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1543)});
            dlg->ShowModal();
        }
        result = UIT(txt::NotInstalled);
        Found = false;
    }
    return result;
}

bool TovOCP::NeedsPack(const QString& path) {
    getProductName();
    if (XL == nullptr || !XL->IsOldExcel() || Found) {
        return false;
    }
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = dot < 0 ? QString() : name.mid(dot + 1).trimmed();
    return !ext.isEmpty() && ext.compare(QLatin1String("xlsx"), Qt::CaseInsensitive) == 0;
}

bool TovOCP::WarnPackMissing(const QString& description, const QString& path) {
    if (!NeedsPack(path)) {
        return false;
    }
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return false;
    }
    dlg->MsgLines.clear();
    dlg->MsgLines << Format(UIT(txt::MSExcelRequiresOfficeCompatibility),
                            {XL->ExcelVersionText(), description})
                  << QString() << path << QString() << UIT(txt::OfficeCompatibilityPackDoes)
                  << QString() << UIT(txt::ToResolveIssuePleaseDo) << QString()
                  << Format(UIT(txt::ConvertToXlsFile), {description}) << QString()
                  << UIT(txt::BInstallOfficeCompatibilityPack) << QString()
                  << UIT(txt::CInstallMSExcel2007) << QString()
                  << Format(UIT(txt::ClickContinueToAttempt), {description});
    dlg->SetupStdDlgButtons2(
        sdkQuestion, QStringLiteral("UOCP002"),
        {glyphCancel, mrCancel, UIT(txt::Cancel_356), Format(UIT(txt::DoNotOpen), {description})},
        {glyphContinue, mrYes, UIT(txt::Continue), Format(UIT(txt::AttemptToOpen), {description})});
    return dlg->ShowModal() == mrCancel;
}
