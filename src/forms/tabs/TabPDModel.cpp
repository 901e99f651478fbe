#include "forms/tabs/TabPDModel.h"

#include "excel/ovOCP.h"
#include "forms/tabs/MainTab.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ShellUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <cmath>
#include <functional>
#include <initializer_list>

namespace tabpd {

namespace {

const QDate kDayZero(1899, 12, 30);

bool AssignIfChanged(TovPD& pd, QString (TovPD::*get)() const, void (TovPD::*set)(const QString&),
                     const QString& text) {
    const QString before = (pd.*get)();
    (pd.*set)(text.trimmed());
    return (pd.*get)() != before;
}

} // namespace

TValues Load(const TovSD& sd) {
    TValues v;
    v.ProjectTitle = sd.PD->getProjectTitle();
    v.ProjectNumber = sd.PD->getProjectNumber();
    v.ProjectClient = sd.PD->getProjectClient();
    v.CutOffDate = v.StoredCutOffDate = sd.SCO->getCutOffDate();
    v.DataSourcePath = sd.SCF->getDSF_DrivePathFilenameExtnXL();
    v.TemplatePath = sd.SCF->getTF_DrivePathFilenameExtnXL();
    v.OutputPath = sd.SCF->getOF_DrivePathFilenameExtnXL();
    v.DataOptions = sd.SCO->getDataOptionsText();
    v.QuantityOptions = sd.SCO->getQuantityOptionsText();
    v.FilterDetails = sd.DSF->getFilterText();
    return v;
}

bool Store(TValues& values, TovSD& sd) {
    TovPD& pd = *sd.PD;
    bool changed = false;
    changed |=
        AssignIfChanged(pd, &TovPD::getProjectTitle, &TovPD::setProjectTitle, values.ProjectTitle);
    changed |= AssignIfChanged(pd, &TovPD::getProjectNumber, &TovPD::setProjectNumber,
                               values.ProjectNumber);
    changed |= AssignIfChanged(pd, &TovPD::getProjectClient, &TovPD::setProjectClient,
                               values.ProjectClient);
    if (values.CutOffDate != values.StoredCutOffDate) {
        if (sd.SCO->getCutOffDate() != values.CutOffDate) {
            sd.SCO->setCutOffDate(values.CutOffDate);
            changed = true;
        }
        values.StoredCutOffDate = values.CutOffDate;
    }
    return changed;
}

TStatusResults Validate(const TovSD& sd, TovDV& dv) {
    const TovSCF& scf = *sd.SCF;
    const TovSCO& sco = *sd.SCO;
    const QString dsCaption = UIT(txt::DataSourceFile_747);
    const QString tfCaption = UIT(txt::TemplateFile_752);
    const QString ofCaption = UIT(txt::OutputFile_757);
    const QString ds = scf.getDSF_DrivePathFilenameExtnXL();
    const QString tf = scf.getTF_DrivePathFilenameExtnXL();
    const QString of = scf.getOF_DrivePathFilenameExtnXL();

    // Each picture shows the first failing check of its row, as the tab owning the value does.
    using Check = std::function<bool()>;
    auto firstFailure = [&dv](std::initializer_list<Check> checks) {
        TStatusResult result;
        for (const Check& check : checks) {
            if (check()) {
                result.IsError = true;
                result.Message = dv.getHintText();
                break;
            }
        }
        return result;
    };
    TStatusResults results;
    results[static_cast<size_t>(TStatus::DataSource)] = firstFailure({
        [&] { return dv.CheckPath(dsCaption, ds); },
        [&] { return dv.CheckExcelFileExt(dsCaption, ds); },
    });
    results[static_cast<size_t>(TStatus::Template)] = firstFailure({
        [&] { return dv.CheckPath(tfCaption, tf); },
        [&] { return dv.CheckExcelFileExt(tfCaption, tf); },
        [&] {
            return dv.CheckSamePath(
                {.Caption = tfCaption, .Entry = tf, .OtherCaption = dsCaption, .OtherEntry = ds});
        },
    });
    results[static_cast<size_t>(TStatus::Output)] = firstFailure({
        [&] { return dv.CheckPath(ofCaption, of); },
        [&] { return dv.CheckExcelFileExt(ofCaption, of); },
        [&] {
            return dv.CheckFileExtMatch(
                {.Caption = ofCaption, .Entry = of, .OtherCaption = tfCaption, .OtherEntry = tf});
        },
        [&] {
            return dv.CheckSamePath(
                {.Caption = ofCaption, .Entry = of, .OtherCaption = dsCaption, .OtherEntry = ds});
        },
        [&] {
            return dv.CheckSamePath(
                {.Caption = ofCaption, .Entry = of, .OtherCaption = tfCaption, .OtherEntry = tf});
        },
    });
    results[static_cast<size_t>(TStatus::DataOptions)] = firstFailure({[&] {
        return dv.CheckNoDataOption(sco.getGenerateBL(), sco.getGenerateACT(),
                                    sco.getGenerateTGT());
    }});
    results[static_cast<size_t>(TStatus::QuantityOptions)] = firstFailure(
        {[&] { return dv.CheckNoQuantity(false, sco.getGraphMH(), sco.getGraphCost()); }});
    results[static_cast<size_t>(TStatus::FilterDetails)] = firstFailure(
        {[&] { return dv.CheckFilterUndefined(sd.DSF->getEnabled(), sd.DSF->getCount()); }});
    return results;
}

TStates States(bool pageEnabled, const TovSD& sd) {
    TStates states;
    if (!pageEnabled) {
        return states;
    }
    for (int i = 0; i < kWorkbookCount; ++i) {
        states.OpenEnabled[static_cast<size_t>(i)] =
            !StoredPath(sd, static_cast<TWorkbook>(i)).isEmpty();
    }
    states.CutOffDateEnabled = GeneratesAnyDataSet(sd);
    return states;
}

bool GeneratesAnyDataSet(const TovSD& sd) {
    const TovSCO& sco = *sd.SCO;
    return sco.getGenerateBL() != 0 || sco.getGenerateACT() != 0 || sco.getGenerateTGT() != 0;
}

TFieldTarget TargetOf(TStatus status, const TovSD& sd) {
    switch (status) {
    case TStatus::DataSource:
        return {tabSCF, txt::DataSourceFile_747};
    case TStatus::Template:
        return {tabSCF, txt::TemplateFile_752};
    case TStatus::Output:
        return {tabSCF, txt::OutputFile_757};
    case TStatus::DataOptions:
        return {tabSCO, txt::DataOptions_759};
    case TStatus::QuantityOptions:
        return {tabSCO, GeneratesAnyDataSet(sd) ? txt::QuantityOptions_768 : txt::DataOptions_759};
    case TStatus::FilterDetails:
        break;
    }
    return {tabDSF, 0};
}

QString StoredPath(const TovSD& sd, TWorkbook workbook) {
    switch (workbook) {
    case TWorkbook::DataSource:
        return sd.SCF->getDSF_DrivePathFilenameExtnXL();
    case TWorkbook::Template:
        return sd.SCF->getTF_DrivePathFilenameExtnXL();
    case TWorkbook::Output:
        break;
    }
    return sd.SCF->getOF_DrivePathFilenameExtnXL();
}

QString WorkbookCaption(TWorkbook workbook) {
    switch (workbook) {
    case TWorkbook::DataSource:
        return UIT(txt::DataSourceFile_747);
    case TWorkbook::Template:
        return UIT(txt::TemplateFile_752);
    case TWorkbook::Output:
        break;
    }
    return UIT(txt::OutputFile_757);
}

bool OpenWorkbook(TovSD& sd, TWorkbook workbook) {
    if (DV == nullptr) {
        return false;
    }
    const QString caption = WorkbookCaption(workbook);
    const QString path = StoredPath(sd, workbook);
    if (DV->CheckPathDlg(caption, path) || DV->CheckFileExistsDlg(caption, path)) {
        return false;
    }
    if (OCP != nullptr && OCP->WarnPackMissing(caption, path)) {
        return false;
    }
    switch (workbook) {
    case TWorkbook::DataSource:
        sd.ResetWSL(1);
        sd.ResetFL();
        sd.ResetVL();
        break;
    case TWorkbook::Template:
        sd.ResetWSL(2);
        break;
    case TWorkbook::Output:
        break;
    }
    RunDocument(path, QString(), QString(), SW_SHOWDEFAULT, caption);
    return true;
}

QDate DateOfDay(double day) {
    return kDayZero.addDays(static_cast<qint64>(std::floor(day)));
}

double DayOfDate(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

QDate MinimumDate() {
    return DateOfDay(TovSCO::MinCutOffDate);
}

QDate MaximumDate() {
    return DateOfDay(TovSCO::MaxCutOffDate);
}

} // namespace tabpd
