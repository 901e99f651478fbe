// The Data Source Filter tab's row commands, its two browse buttons and the update of the task
// field descriptions.
#include "forms/tabs/Tab_DSF.h"

#include "controls/ovGrid.h"
#include "engine/ovProcess.h"
#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "forms/browse/F_BrowseWindows.h"
#include "forms/tabs/TaskFieldSource.h"
#include "model/DataFileMessages.h"
#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <QPushButton>

#include <algorithm>

using modelutil::UpperAZ;
using platform::Format;

namespace {

// The modal results of the browse windows.
constexpr int kChosen = 1;
constexpr int kRefreshAsked = 4;

int ClampRowOf(int row) {
    return std::clamp(row, 1, TFilterGridModel::RowCount);
}

} // namespace

QRect TTab_DSF::CurrentRowRect() const {
    const int row = SG_DSF->getCurrentRow();
    if (row < 1) {
        return {};
    }
    return SG_DSF->CellRect(fcAndOr, row).united(SG_DSF->CellRect(fcValue, row));
}

bool TTab_DSF::Ask(const QString& key, const QStringList& lines, int yesHint, int noHint) {
    // Only No stops the command; with no dialogue to ask in, nothing goes on.
    return datafile::AskYesNo(key, lines, yesHint, noHint) != mrNo;
}

bool TTab_DSF::CheckValueSource(const TTaskFieldSource& source, const QString& fieldCaption,
                                const QString& field) {
    // The task field is checked after the worksheet and before the compatibility pack warning.
    if (XL == nullptr || XL->WarnExcelMissing()) {
        return false;
    }
    if (DV->CheckPathDlg(source.FileCaption, source.FilePath) ||
        DV->CheckFileExistsDlg(source.FileCaption, source.FilePath) ||
        DV->CheckWorksheetNameDlg(source.WorksheetCaption, source.WorksheetName) ||
        DV->CheckTaskHeaderRowDlg(
            {source.FileCaption, source.FilePath, source.HeaderRow, source.HeaderRowCaption}) ||
        DV->CheckTaskFieldDlg({source.FileCaption, source.FilePath, field, fieldCaption})) {
        return false;
    }
    return OCP == nullptr || !OCP->WarnPackMissing(source.FileCaption, source.FilePath);
}

void TTab_DSF::BBtn_DSF_TaskFld_BrowseClick() {
    Host.Balloon().Hide();
    FocusGrid();
    TovSD* sd = ActiveSD();
    const int row = SG_DSF->getCurrentRow();
    if (sd == nullptr || row < 1) {
        return;
    }
    const TTaskFieldSource source = TTaskFieldSource::Of(*sd);
    if (!CheckTaskFieldSourceDlg(source)) {
        return;
    }
    for (;;) {
        if (!EnsureTaskFieldsLoaded(Host, *sd, source)) {
            FocusGrid();
            return;
        }
        IBrowseFld* window = BrowseFld();
        if (window == nullptr) {
            return;
        }
        TBrowseFldResult result;
        result.TaskFld = UpperAZ(SG_DSF->getCells(fcTaskFld, row).trimmed());
        const int modal = window->Execute(
            *sd, UIT(txt::SelectDataSourceFilterTaskField), Format(UIT(txt::IDTaskField), {row}),
            BrowseAnchorOf(SG_DSF, CurrentRowRect(), BBtn_DSF_TaskFld_Browse), result);
        if (modal == kRefreshAsked) {
            continue;
        }
        if (modal == kChosen && !result.TaskFld.isEmpty()) {
            ChangeRows(
                [&](TFilterGridModel& m) {
                    m.setCell(fcTaskFld, row, result.TaskFld);
                    if (result.ImportTaskFldDesc) {
                        m.setCell(fcTaskFldDesc, row, LineFeedsToSpaces(result.TaskFldDesc));
                    }
                    m.FillDefaults(row);
                },
                row);
        }
        FocusGrid();
        return;
    }
}

void TTab_DSF::BBtn_DSF_TaskFldValue_BrowseClick() {
    Host.Balloon().Hide();
    TovSD* sd = ActiveSD();
    const int row = SG_DSF->getCurrentRow();
    if (sd == nullptr || row < 1) {
        return;
    }
    const QString field = UpperAZ(SG_DSF->getCells(fcTaskFld, row).trimmed());
    const TTaskFieldSource source = TTaskFieldSource::Of(*sd);
    if (!CheckValueSource(source, Format(UIT(txt::IDTaskField), {row}), field)) {
        return;
    }
    // The value list of this field, or a new one at the end.
    int list = 0;
    for (int k = 1; k <= sd->getVL_Count() && list == 0; ++k) {
        if (UpperAZ(sd->getVL_TaskFld(k)) == field) {
            list = k;
        }
    }
    if (list == 0) {
        list = sd->getVL_Count() + 1;
        sd->setVL_Count(list);
        sd->setVL_TaskFld(list, field);
    }
    for (;;) {
        if (!sd->getVL_Loaded(list)) {
            bool imported = false;
            if (Process != nullptr) {
                const ITabHost::TImportScope busy(Host);
                imported = Process->ImportTaskFieldValues(
                    source.FileCaption, source.FilePath, source.OpenPassword,
                    source.WorksheetCaption, source.WorksheetName, field, list, source.HeaderRow);
            }
            if (!imported) {
                FocusGrid();
                return;
            }
        }
        IBrowseVal* window = BrowseVal();
        if (window == nullptr) {
            return;
        }
        QString value = UpperAZ(SG_DSF->getCells(fcValue, row).trimmed());
        const int modal = window->Execute(
            *sd, list, BrowseAnchorOf(SG_DSF, CurrentRowRect(), BBtn_DSF_TaskFldValue_Browse),
            value);
        if (modal == kRefreshAsked) {
            continue;
        }
        if (modal == kChosen) {
            ChangeRows([&](TFilterGridModel& m) { m.setCell(fcValue, row, value); }, row);
        }
        FocusGrid();
        return;
    }
}

void TTab_DSF::BBtn_DSF_InsertClick() {
    Host.Balloon().Hide();
    FocusGrid();
    const int row = ClampRowOf(SG_DSF->getCurrentRow());
    const TFilterGridModel model = gridState();
    bool lastRowUsed = false;
    for (int c = 1; c <= TFilterGridModel::ColCount; ++c) {
        lastRowUsed = lastRowUsed || !model.text(c, TFilterGridModel::RowCount).isEmpty();
    }
    if (lastRowUsed &&
        !Ask(QStringLiteral("MF015"),
             {UIT(txt::LastRowContainsData), QString(), UIT(txt::InsertingRowWillDeleteData),
              QString(), UIT(txt::DoYouWishToContinue)},
             1162, 1163)) {
        return;
    }
    ChangeRows([row](TFilterGridModel& m) { m.Insert(row); }, row);
}

void TTab_DSF::BBtn_DSF_DeleteClick() {
    Host.Balloon().Hide();
    const int row = ClampRowOf(SG_DSF->getCurrentRow());
    if (SG_DSF->getEnabled()) {
        FocusGrid();
        SG_DSF->MoveToCell(SG_DSF->getCurrentCol(), row);
    }
    ChangeRows([row](TFilterGridModel& m) { m.Delete(row); });
}

void TTab_DSF::BBtn_DSF_MoveUpClick() {
    Host.Balloon().Hide();
    const int row = SG_DSF->getCurrentRow();
    if (row < 2) {
        return;
    }
    ChangeRows([row](TFilterGridModel& m) { m.MoveUp(row); }, row);
    if (SG_DSF->getEnabled()) {
        FocusGrid();
        // The first row's And/Or cannot be selected.
        const int col =
            row == 2 && SG_DSF->getCurrentCol() == fcAndOr ? fcTaskFld : SG_DSF->getCurrentCol();
        SG_DSF->MoveToCell(col, row - 1);
    }
}

void TTab_DSF::BBtn_DSF_MoveDownClick() {
    Host.Balloon().Hide();
    const int row = SG_DSF->getCurrentRow();
    if (row < 1 || row >= TFilterGridModel::RowCount) {
        return;
    }
    ChangeRows([row](TFilterGridModel& m) { m.MoveDown(row); }, row);
    if (SG_DSF->getEnabled()) {
        FocusGrid();
        SG_DSF->MoveToCell(SG_DSF->getCurrentCol(), row + 1);
    }
}

void TTab_DSF::BBtn_DSF_RefreshClick() {
    Host.Balloon().Hide();
    FocusGrid();
    ChangeRows([](TFilterGridModel& m) { m.Compact(); });
    if (SG_DSF->getEnabled()) {
        SG_DSF->MoveToCell(fcTaskFld, 1);
    }
}

void TTab_DSF::BBtn_DSF_ClearClick() {
    Host.Balloon().Hide();
    TFilterGridModel model = gridState();
    model.ClearNoChoice();
    if (!model.IsEmpty() &&
        !Ask(QStringLiteral("MF016"),
             {UIT(txt::AllDataInDataSource), QString(), UIT(txt::DoYouWishToContinue_1360)}, 1164,
             1165)) {
        return;
    }
    if (SG_DSF->getEnabled()) {
        FocusGrid();
        SG_DSF->MoveToCell(fcTaskFld, 1);
    }
    ChangeRows([](TFilterGridModel& m) { m.Clear(); });
}

void TTab_DSF::BBtn_DSF_UpdateTaskFldDescClick() {
    Host.Balloon().Hide();
    Host.FocusPages();
    if (!Loading) {
        ProcessUpdateTaskFldDescDSFx();
    }
}

void TTab_DSF::ProcessUpdateTaskFldDescDSFx() {
    TovSD* sd = ActiveSD();
    IStdDlg* dlg = StdDlg();
    if (sd == nullptr || dlg == nullptr) {
        return;
    }
    const TTaskFieldSource source = TTaskFieldSource::Of(*sd);
    if (!sd->getFL_Loaded() && !CheckTaskFieldSourceDlg(source)) {
        return;
    }
    if (!gridState().HasTaskFields()) {
        dlg->MsgLines = {UIT(txt::NoTaskFieldsWereFound), QString(),
                         UIT(txt::UnableToUpdateTaskField)};
        dlg->SetupStdDlgButtons1(
            sdkWarning, QStringLiteral("MF020"),
            {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1166)});
        dlg->ShowModal();
        return;
    }
    if (!Ask(QStringLiteral("MF021"),
             {UIT(txt::DoYouWishToUpdate), QString(), UIT(txt::ExistingTaskFieldDescriptions)},
             1167, 1168)) {
        return;
    }
    if (!EnsureTaskFieldsLoaded(Host, *sd, source)) {
        return;
    }
    TDescriptionUpdate counts;
    ChangeRows([&](TFilterGridModel& m) {
        counts = m.UpdateDescriptions(*sd, *XLLimits(), source.FilePath);
    });
    QStringList lines = {Format(UIT(txt::TaskFieldDescriptionsUpdated), {counts.Updated})};
    const std::pair<int, int> others[] = {
        {1353, counts.NotFound}, {1354, counts.Invalid}, {1355, counts.Undefined}};
    for (const auto& [textId, count] : others) {
        if (count > 0) {
            lines << QString() << Format(UIT(textId), {count});
        }
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons1(
        sdkInformation, QStringLiteral("MF022"),
        {glyphClose, mrClose, UIT(txt::Close_357), UIT(txt::CloseDialogue_1169)});
    dlg->ShowModal();
    FocusGrid();
}
