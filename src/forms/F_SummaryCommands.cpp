#include "F_SummaryCommands.h"

#include "excel/ovOCP.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ShellUtils.h"
#include "services/ovUIL.h"

namespace {

constexpr int kTextDataSourceFile = 747;
constexpr int kTextOutputFile = 757;

} // namespace

bool OpenSummaryFile(TSummaryFile file) {
    if (SDs == nullptr || DV == nullptr) {
        return false;
    }
    TovSD& sd = *SDs->getItems(SDs->getActiveSD());
    const bool dataSource = file == TSummaryFile::DataSource;
    const QString desc = UIT(dataSource ? kTextDataSourceFile : kTextOutputFile);
    const QString path = (dataSource ? sd.SCF->getDSF_DrivePathFilenameExtnXL()
                                     : sd.SCF->getOF_DrivePathFilenameExtnXL())
                             .trimmed();
    if (DV->CheckPathDlg(desc, path) || DV->CheckFileExistsDlg(desc, path)) {
        return false;
    }
    if (OCP != nullptr && OCP->WarnPackMissing(desc, path)) {
        return false;
    }
    if (dataSource) {
        sd.ResetWSL(1);
        sd.ResetFL();
        sd.ResetVL();
    }
    RunDocument(path, QString(), QString(), SW_SHOWDEFAULT);
    return true;
}
