#include "forms/tabs/TaskFieldSource.h"

#include "engine/ovProcess.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/tabs/TabHost.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace {

constexpr int kOldSheetColumns = 256;

} // namespace

TTaskFieldSource TTaskFieldSource::Of(const TovSD& sd) {
    TTaskFieldSource source;
    source.FileCaption = UIT(txt::DataSourceFile_747);
    source.FilePath = sd.SCF->getDSF_DrivePathFilenameExtnXL();
    source.OpenPassword = sd.SCF->getDSF_OpenPasswordXL();
    source.WorksheetCaption = UIT(txt::TaskWorksheet_750);
    source.WorksheetName = sd.SCF->getDSF_TaskWS();
    source.HeaderRowCaption = UIT(txt::TaskHeaderRow_751);
    source.HeaderRow = sd.SCF->getDSF_THR();
    return source;
}

bool CheckTaskFieldSourceDlg(const TTaskFieldSource& source) {
    if (XL == nullptr || XL->WarnExcelMissing()) {
        return false;
    }
    if (DV->CheckPathDlg(source.FileCaption, source.FilePath) ||
        DV->CheckFileExistsDlg(source.FileCaption, source.FilePath) ||
        DV->CheckWorksheetNameDlg(source.WorksheetCaption, source.WorksheetName) ||
        DV->CheckTaskHeaderRowDlg({.FileCaption = source.FileCaption,
                                   .FilePath = source.FilePath,
                                   .Row = source.HeaderRow,
                                   .RowCaption = source.HeaderRowCaption})) {
        return false;
    }
    return OCP == nullptr || !OCP->WarnPackMissing(source.FileCaption, source.FilePath);
}

bool EnsureTaskFieldsLoaded(ITabHost& host, const TovSD& sd, const TTaskFieldSource& source) {
    if (sd.getFL_Loaded()) {
        return true;
    }
    if (Process == nullptr) {
        return false;
    }
    bool imported = false;
    {
        ITabHost::TImportScope busy(host);
        imported = Process->ImportTaskFields(source.FileCaption, source.FilePath,
                                             source.OpenPassword, source.WorksheetCaption,
                                             source.WorksheetName, source.HeaderRow);
    }
    return imported && sd.getFL_Loaded();
}

int FindTaskField(const TovSD& sd, const QString& letters) {
    const QString wanted = modelutil::UpperAZ(letters);
    for (int i = 1; i <= sd.getFL_Count(); ++i) {
        if (modelutil::UpperAZ(sd.getFL_TaskFld(i)) == wanted) {
            return i;
        }
    }
    return 0;
}

QString RefreshedDescription(const TovSD& sd, const QString& letters, bool columnValid,
                             TDescriptionCounts& counts) {
    if (!columnValid) {
        ++(letters.isEmpty() ? counts.Undefined : counts.Invalid);
        return {};
    }
    const int field = FindTaskField(sd, letters);
    if (field == 0) {
        ++counts.NotFound;
        return {};
    }
    ++counts.Updated;
    return LineFeedsToSpaces(sd.getFL_TaskFldDesc(field));
}

QString LastColumnLetters(const QString& workbookPath) {
    IXLLimits* limits = XLLimits();
    limits->setFilePath(workbookPath);
    return limits->MaxColumns() == kOldSheetColumns ? QStringLiteral("IV") : QStringLiteral("XFD");
}

int ColumnOfLetters(const QString& workbookPath, const QString& letters) {
    IXLLimits* limits = XLLimits();
    limits->setFilePath(workbookPath);
    return limits->LettersToColumn(letters, limits->MaxColumns());
}
