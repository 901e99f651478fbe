// The definition validator: the six tab validators that fill the configuration error list.
#include "model/ErrorLists.h"
#include "model/ModelPrefs.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/FileChecks.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <vector>

using namespace modelutil;
using platform::Format;

namespace {

TovSD* activeSD() {
    return SDs->getItems(SDs->getActiveSD());
}

} // namespace

void TovDV::AddTabErr(const TDVCheck& check, int tabId, int fieldId, const QString& fieldCaption,
                      int rowId) {
    AddCfgErr(UIT(tabId), fieldCaption, check.Details, check.Value, tabId, fieldId, rowId);
}

bool TovDV::ValidateDefinition(const TValidateFiles& files) {
    bool modified = false;
    ClearCfgErrs();
    if (SDs != nullptr) {
        TovSD* sd = activeSD();
        sd->DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(*sd->SCO));
        if (files.DataSource) {
            ValidateDataSourceFile(modified);
        }
        if (files.Template) {
            ValidateTemplateFile(modified);
        }
        if (files.Output) {
            ValidateOutputFile(modified);
        }
        ValidateOptions(modified);
        ValidateDataSourceMap(modified);
        ValidateFilter(modified);
    }
    FillErrListBox(LB_CfgErr(), getCfgErrCount());
    return modified;
}

namespace {

// Cuts a text over its limit; true when it was cut.
template <typename Getter, typename Setter>
bool cutTo(TovSCF& scf, int maximum, Getter get, Setter set) {
    const QString value = (scf.*get)();
    if (value.size() <= maximum) {
        return false;
    }
    (scf.*set)(StrLeft(value, maximum));
    return true;
}

} // namespace

template <typename Get, typename Set>
void TovDV::ValidateInputWorkbook(TovSCF& scf, int captionId, Get getPath, Set setPath,
                                  Get getPassword, Set setPassword, bool& modified) {
    const QString caption = UIT(captionId);
    // An over-long path is cut and then checked like any other.
    if (cutTo(scf, TovSCF::MaxPathLength, getPath, setPath)) {
        modified = true;
    }
    if (const TDVCheck path = dvcheck::Path(caption, (scf.*getPath)())) {
        AddTabErr(path, TabSCF, captionId, caption);
    } else {
        if (const TDVCheck extension = dvcheck::ExcelFileExt(caption, (scf.*getPath)())) {
            dvcheck::ShowDialogue(extension);
            (scf.*setPath)(ChangeFileExt((scf.*getPath)(), ModelPrefs()->getOFExtn()));
            modified = true;
        }
        if (const TDVCheck exists = dvcheck::FileExists(caption, (scf.*getPath)())) {
            AddTabErr(exists, TabSCF, captionId, caption);
        }
    }
    if (cutTo(scf, TovSCF::MaxPasswordLength, getPassword, setPassword)) {
        modified = true;
    }
}

template <typename Get, typename Set>
bool TovDV::ValidateWorksheetEntry(TovSCF& scf, int captionId, Get get, Set set, bool& modified) {
    if (cutTo(scf, TovSCF::MaxWorksheetNameLength, get, set)) {
        modified = true;
        return true;
    }
    if (const TDVCheck check = dvcheck::WorksheetName(UIT(captionId), (scf.*get)())) {
        AddTabErr(check, TabSCF, captionId, UIT(captionId));
        return true;
    }
    return false;
}

void TovDV::ValidateDataSourceFile(bool& modified) {
    TovSCF& scf = *activeSD()->SCF;
    ValidateInputWorkbook(scf, 747, &TovSCF::getDSF_DrivePathFilenameExtnXL,
                          &TovSCF::setDSF_DrivePathFilenameExtnXL, &TovSCF::getDSF_OpenPasswordXL,
                          &TovSCF::setDSF_OpenPasswordXL, modified);
    ValidateWorksheetEntry(scf, 750, &TovSCF::getDSF_TaskWS, &TovSCF::setDSF_TaskWS, modified);
    if (const TDVCheck check =
            dvcheck::TaskHeaderRow({.FileCaption = UIT(txt::DataSourceFile_747),
                                    .FilePath = scf.getDSF_DrivePathFilenameExtnXL(),
                                    .Row = scf.getDSF_THR(),
                                    .RowCaption = UIT(txt::TaskHeaderRow_751)})) {
        AddTabErr(check, TabSCF, 751, UIT(txt::TaskHeaderRow_751));
        scf.resetDSF_THR();
        modified = true;
    }
}

void TovDV::ValidateTemplateFile(bool& modified) {
    TovSCF& scf = *activeSD()->SCF;
    ValidateInputWorkbook(scf, 752, &TovSCF::getTF_DrivePathFilenameExtnXL,
                          &TovSCF::setTF_DrivePathFilenameExtnXL, &TovSCF::getTF_OpenPasswordXL,
                          &TovSCF::setTF_OpenPasswordXL, modified);
    ValidateWorksheetEntry(scf, 755, &TovSCF::getTF_ProjectSummaryWS,
                           &TovSCF::setTF_ProjectSummaryWS, modified);
    const bool chartDataDone = ValidateWorksheetEntry(scf, 756, &TovSCF::getTF_ChartDataWS,
                                                      &TovSCF::setTF_ChartDataWS, modified);
    if (const TDVCheck check =
            chartDataDone
                ? TDVCheck{}
                : dvcheck::SameEntry({.Caption = UIT(txt::ChartDataWorksheet_756),
                                      .Entry = scf.getTF_ChartDataWS(),
                                      .OtherCaption = UIT(txt::ProjectSummaryWorksheet_755),
                                      .OtherEntry = scf.getTF_ProjectSummaryWS()})) {
        AddTabErr(check, TabSCF, 756, UIT(txt::ChartDataWorksheet_756));
    }
}

void TovDV::ValidateOutputFile(bool& modified) {
    TovSCF& scf = *activeSD()->SCF;
    const QString caption = UIT(txt::OutputFile_757);
    if (cutTo(scf, TovSCF::MaxPathLength, &TovSCF::getOF_DrivePathFilenameExtnXL,
              &TovSCF::setOF_DrivePathFilenameExtnXL)) {
        modified = true;
    }
    if (const TDVCheck check = dvcheck::Path(caption, scf.getOF_DrivePathFilenameExtnXL())) {
        AddTabErr(check, TabSCF, 757, caption);
        return;
    }
    if (const TDVCheck check =
            dvcheck::ExcelFileExt(caption, scf.getOF_DrivePathFilenameExtnXL())) {
        scf.setOF_DrivePathFilenameExtnXL(
            ChangeFileExt(scf.getOF_DrivePathFilenameExtnXL(), ModelPrefs()->getOFExtn()));
        modified = true;
    }
    const QString path = scf.getOF_DrivePathFilenameExtnXL();
    // Writing the output over a workbook the run reads would destroy it.
    const std::pair<int, QString> others[] = {
        {747, scf.getDSF_DrivePathFilenameExtnXL()},
        {752, scf.getTF_DrivePathFilenameExtnXL()},
    };
    for (const auto& [captionId, other] : others) {
        if (const TDVCheck check = dvcheck::SamePath({.Caption = caption,
                                                      .Entry = path,
                                                      .OtherCaption = UIT(captionId),
                                                      .OtherEntry = other})) {
            AddTabErr(check, TabSCF, 757, caption);
        }
    }
    if (::FileExistsChecked(caption, path) && ::FileIsReadOnly(caption, path)) {
        TDVCheck readOnly = TDVCheck::Failed();
        readOnly.Details = Format(UIT(txt::ExistsAndIsReadOnly), {caption});
        readOnly.Value = path;
        AddTabErr(readOnly, TabSCF, 757, caption);
    }
}

void TovDV::ValidateOptions(bool& modified) {
    TovSCO& sco = *activeSD()->SCO;
    const TDVCheck noData =
        dvcheck::NoDataOption(sco.getGenerateBL(), sco.getGenerateACT(), sco.getGenerateTGT());
    const bool noDataOption = noData.Fails;
    if (noDataOption) {
        AddTabErr(noData, TabSCO, 759, UIT(txt::DataOptions_759));
        if (sco.getGraphMH() != 0) {
            sco.setGraphMH(0);
            modified = true;
        }
        if (sco.getGraphCost() != 0) {
            sco.setGraphCost(0);
            modified = true;
        }
    }
    if (const TDVCheck check =
            dvcheck::NoQuantity(noDataOption, sco.getGraphMH(), sco.getGraphCost())) {
        AddTabErr(check, TabSCO, 768, UIT(txt::QuantityOptions_768));
    }
    if (const TDVCheck check =
            dvcheck::QuantityValue(UIT(txt::TaskManHoursQuantity), sco.getMHQty())) {
        AddTabErr(check, TabSCO, 770, UIT(txt::TaskManHours_770));
        sco.ResetMHQty();
        modified = true;
    }
    if (const TDVCheck check =
            dvcheck::QuantityValue(UIT(txt::TaskCostQuantity), sco.getCostQty())) {
        AddTabErr(check, TabSCO, 773, UIT(txt::TaskCost_773));
        sco.ResetCostQty();
        modified = true;
    }
    if (sco.getGenerateACT() == 0) {
        if (sco.getMHQty() != 0) {
            sco.ResetMHQty();
            modified = true;
        }
        if (sco.getCostQty() != 0) {
            sco.ResetCostQty();
            modified = true;
        }
    }
    if (const TDVCheck check = dvcheck::CutOffDate(sco.getCutOffDate())) {
        AddTabErr(check, TabSCO, 767, UIT(txt::CutOffDate_767));
        sco.setCutOffDate(ModelToday());
        modified = true;
    }
}

void TovDV::ValidateDataSourceMap(bool& modified) {
    TovSD& sd = *activeSD();
    const QString fileCaption = UIT(txt::DataSourceFile_747);
    const QString filePath = sd.SCF->getDSF_DrivePathFilenameExtnXL();
    auto fieldCaption = [&](int d) {
        return Format(UIT(txt::TaskField_779), {sd.DSM->getItems(d)->getName()});
    };
    auto fieldCheck = [&](int d) {
        return dvcheck::TaskField({.FileCaption = fileCaption,
                                   .FilePath = filePath,
                                   .Letters = sd.DSM->getItems(d)->getTaskFldXL(),
                                   .FieldCaption = fieldCaption(d)});
    };
    for (int d = 1; d <= TovDSM::EntryCount; ++d) {
        TovDSMx& entry = *sd.DSM->getItems(d);
        if (!entry.getTaskFldRequired()) {
            continue;
        }
        if (const TDVCheck check = fieldCheck(d)) {
            AddTabErr(check, TabDSM, 777, fieldCaption(d), d);
        }
        const QString description = entry.getTaskFldDescXL();
        if (description.size() > 255) {
            entry.setTaskFldDescXL(StrLeft(description, 255));
            modified = true;
        }
    }
    for (int e = 1; e < TovDSM::EntryCount; ++e) {
        if (!sd.DSM->getItems(e)->getTaskFldRequired() || fieldCheck(e)) {
            continue;
        }
        for (int k = e + 1; k <= TovDSM::EntryCount; ++k) {
            if (const TDVCheck check =
                    dvcheck::SameEntry({.Caption = fieldCaption(k),
                                        .Entry = sd.DSM->getItems(k)->getTaskFldXL(),
                                        .OtherCaption = fieldCaption(e),
                                        .OtherEntry = sd.DSM->getItems(e)->getTaskFldXL()})) {
                AddTabErr(check, TabDSM, 777, fieldCaption(k), k);
                break;
            }
        }
    }
}

void TovDV::ValidateFilter(bool& modified) {
    TovSD& sd = *activeSD();
    TovDSF& dsf = *sd.DSF;
    if (dsf.getEnabled() == 0) {
        return;
    }
    const int n = dsf.getCount();
    if (const TDVCheck check = dvcheck::FilterUndefined(dsf.getEnabled(), n)) {
        AddTabErr(check, TabDSF, 791, UIT(txt::DataSourceFilter_790), 0);
    }
    const QString fileCaption = UIT(txt::DataSourceFile_747);
    const QString filePath = sd.SCF->getDSF_DrivePathFilenameExtnXL();
    std::vector<bool> marked(static_cast<size_t>(n) + 1, false);
    auto fieldCheck = [&](int i) {
        return dvcheck::TaskField({.FileCaption = fileCaption,
                                   .FilePath = filePath,
                                   .Letters = dsf.getItems(i)->getTaskFldXL(),
                                   .FieldCaption = Format(UIT(txt::IDTaskField), {i})});
    };
    for (int i = 1; i <= n; ++i) {
        TovDSFx& row = *dsf.getItems(i);
        if (const TDVCheck check = fieldCheck(i)) {
            AddTabErr(check, TabDSF, 791, Format(UIT(txt::IDTaskField), {i}), i);
            marked[static_cast<size_t>(i)] = true;
            continue;
        }
        const QString description = row.getTaskFldDescXL();
        if (description.size() > 255) {
            row.setTaskFldDescXL(StrLeft(description, 255));
            modified = true;
        }
        const QString operatorCaption = Format(UIT(txt::IDFilterOperator), {i});
        if (const TDVCheck check =
                dvcheck::FilterOperator(operatorCaption, row.getFilterOperator())) {
            AddTabErr(check, TabDSF, 793, operatorCaption, i);
            row.ResetFilterOperator();
            modified = true;
            marked[static_cast<size_t>(i)] = true;
            continue;
        }
        const QString valueCaption = Format(UIT(txt::IDTaskFieldValue), {i});
        if (const TDVCheck check = dvcheck::FilterValue(row.getFilterOperator(), valueCaption,
                                                        row.getTaskFldValueXL())) {
            AddTabErr(check, TabDSF, 794, valueCaption, i);
            marked[static_cast<size_t>(i)] = true;
        }
    }

    // And binds tighter than Or: rows i < j belong to the same And-group when every row after i
    // up to j is joined by And.
    std::vector<int> group(static_cast<size_t>(n) + 1, 0);
    for (int i = 2; i <= n; ++i) {
        group[static_cast<size_t>(i)] =
            group[static_cast<size_t>(i) - 1] + (dsf.getItems(i)->getAndFlag() == 1 ? 0 : 1);
    }
    auto describe = [&](int i) {
        const TovDSFx& row = *dsf.getItems(i);
        return TFilterRowDesc{.Caption = Format(UIT(txt::IDFilterRow), {i}),
                              .TaskFld = row.getTaskFldXL(),
                              .OperatorName =
                                  TovDSF::getFilterOperatorName(row.getFilterOperator()),
                              .Value = row.getTaskFldValueXL()};
    };
    for (int i = 1; i < n; ++i) {
        if (marked[static_cast<size_t>(i)] || fieldCheck(i)) {
            continue;
        }
        for (int j = i + 1; j <= n; ++j) {
            if (marked[static_cast<size_t>(j)] ||
                group[static_cast<size_t>(j)] != group[static_cast<size_t>(i)]) {
                continue;
            }
            const TFilterRowDesc earlier = describe(i);
            const TFilterRowDesc later = describe(j);
            if (!SameTextAZ(earlier.TaskFld, later.TaskFld)) {
                continue;
            }
            const TDVCheck check = SameTextAZ(earlier.Value, later.Value)
                                       ? dvcheck::FilterRowsConflict(later, earlier)
                                       : dvcheck::FilterRowsExclusive(later, earlier);
            if (check) {
                AddTabErr(check, TabDSF, 791, later.Caption, j);
                marked[static_cast<size_t>(j)] = true;
            }
        }
    }
    for (int i = 1; i < n; ++i) {
        if (marked[static_cast<size_t>(i)] || fieldCheck(i)) {
            continue;
        }
        for (int j = i + 1; j <= n; ++j) {
            if (marked[static_cast<size_t>(j)]) {
                continue;
            }
            const TFilterRowDesc later = describe(j);
            if (const TDVCheck check = dvcheck::FilterRowsDuplicate(later, describe(i))) {
                AddTabErr(check, TabDSF, 791, later.Caption, j);
                marked[static_cast<size_t>(j)] = true;
            }
        }
    }
}
