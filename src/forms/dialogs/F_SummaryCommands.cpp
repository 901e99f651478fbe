#include "forms/dialogs/F_SummaryCommands.h"

#include "excel/ovOCP.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ShellUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

bool OpenSummaryFile(TSummaryFile file) {
    if (SDs == nullptr || DV == nullptr) {
        return false;
    }
    TovSD& sd = *SDs->getItems(SDs->getActiveSD());
    const bool dataSource = file == TSummaryFile::DataSource;
    const QString desc = UIT(dataSource ? txt::DataSourceFile_747 : txt::OutputFile_757);
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
    RunDocument(path, QString(), QString(), SW_SHOWDEFAULT, desc);
    return true;
}
