// The Data Source Map tab's commands that read the task worksheet: browsing one row's task
// field, and updating every row's description.
#include "controls/ovGrid.h"
#include "forms/browse/F_BrowseWindows.h"
#include "forms/tabs/Tab_DSM.h"
#include "forms/tabs/TaskFieldSource.h"
#include "model/DataFileMessages.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QPushButton>

using platform::Format;

namespace {

void ShowUpdateReport(const QStringList& lines) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons1(
        sdkInformation, QStringLiteral("MF019"),
        {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1169)});
    dlg->ShowModal();
}

} // namespace

void TTab_DSM::BrowseTaskField() {
    Host.Balloon().Hide();
    FocusGrid();
    TovSD* sd = ActiveDefinition();
    const int r = SG_DSM->getCurrentRow();
    if (sd == nullptr || r < 1 || r > TDSMRows::Count) {
        return;
    }
    const TTaskFieldSource source = TTaskFieldSource::Of(*sd);
    if (!CheckTaskFieldSourceDlg(source)) {
        return;
    }
    IBrowseFld* window = BrowseFld();
    if (window == nullptr) {
        return;
    }
    for (;;) {
        if (!EnsureTaskFieldsLoaded(Host, *sd, source)) {
            return;
        }
        TBrowseFldResult result;
        result.TaskFld = TrimControl(SG_DSM->getCells(1, r));
        const QString name = TrimControl(SG_DSM->getGutterCellText(r));
        const QRect cell = SG_DSM->CellRect(1, r);
        const QRect row(0, cell.top(), SG_DSM->width(), cell.height());
        const int modal =
            window->Execute(*sd, Format(UIT(txt::SelectDataSourceMapTask), {name}),
                            Format(UIT(txt::TaskField_779), {name}),
                            BrowseAnchorOf(SG_DSM, row, BBtn_DSM_TaskFld_Browse), result);
        if (modal == mrRetry) {
            continue; // the window dropped the list: import it anew
        }
        if (modal == mrOk) {
            const QString description = LineFeedsToSpaces(result.TaskFldDesc);
            const QString letters = TrimControl(result.TaskFld);
            if (!letters.isEmpty() &&
                ApplyBrowsedField(r, letters, result.ImportTaskFldDesc ? &description : nullptr)) {
                Host.DataFileChanged();
            }
            Refresh();
        }
        FocusGrid();
        return;
    }
}

bool TTab_DSM::ApplyBrowsedField(int r, const QString& letters, const QString* description) {
    bool changed = false;
    if (SG_DSM->getCells(1, r) != letters) {
        SG_DSM->setCells(1, r, letters);
        changed = true;
    }
    if (description != nullptr && SG_DSM->getCells(2, r) != *description) {
        SG_DSM->setCells(2, r, *description);
        changed = true;
    }
    return changed;
}

void TTab_DSM::UpdateTaskFieldDescriptions() {
    TovSD* sd = ActiveDefinition();
    if (sd == nullptr) {
        return;
    }
    const TTaskFieldSource source = TTaskFieldSource::Of(*sd);
    if (!sd->getFL_Loaded() && !CheckTaskFieldSourceDlg(source)) {
        return;
    }
    TDSMRows rows = RowsOnScreen(*sd);
    if (dsm::AllBlank(rows)) {
        datafile::WarnClose(
            QStringLiteral("MF017"),
            {UIT(txt::NoTaskFieldsWereFound), QString(), UIT(txt::UnableToUpdateTaskField)},
            txt::CloseDialogue_1166);
        return;
    }
    // Only No stops: the question's other answers go on.
    if (datafile::AskYesNo(
            QStringLiteral("MF018"),
            {UIT(txt::DoYouWishToUpdate), QString(), UIT(txt::ExistingTaskFieldDescriptions)},
            txt::UpdateTaskFieldDescriptions_1167, txt::DoNotUpdateTaskField) == mrNo) {
        return;
    }
    if (!EnsureTaskFieldsLoaded(Host, *sd, source)) {
        return;
    }
    const TDSMDescUpdate counts = dsm::UpdateDescriptions(rows, *sd, source.FilePath);
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        SG_DSM->setCells(2, n, rows.row(n).TaskFldDesc);
    }
    if (counts.Changed) {
        Host.DataFileChanged();
    }
    ShowUpdateReport(dsm::DescUpdateReport(counts));
    FocusGrid();
}
