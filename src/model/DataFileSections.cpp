#include "model/DataFileSections.h"

#include "model/ModelUtils.h"
#include "model/ovDSF.h"
#include "model/ovDSM.h"
#include "model/ovPD.h"
#include "model/ovSCF.h"
#include "model/ovSCO.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "platform/Version.h"
#include "services/INI_Utils.h"
#include "services/ovAD.h"

#include <QDate>
#include <QLocale>
#include <array>
#include <climits>
#include <cmath>

namespace datafile {

namespace {

const QString kSep = QStringLiteral("\\");

QString S(const char* text) {
    return QString::fromLatin1(text);
}

QString Sub(const QString& section, const char* name) {
    return section + kSep + S(name);
}

QString MapEntrySection(const QString& sd, int i) {
    return sd + QStringLiteral("\\DSM\\DSMx_") + QString::number(i);
}

QString FilterSection(const QString& sd) {
    return sd + QStringLiteral("\\DSF");
}

QString FilterRowSection(const QString& sd, int j) {
    return sd + QStringLiteral("\\DSF\\DSFx_") + QString::number(j);
}

void Step(const TStep& step) {
    if (step) {
        step();
    }
}

uint8_t Byte(bool flag) {
    return flag ? 1 : 0;
}

// The whole day number of a date-time; out-of-range values (which the post-load repair and the
// editors never let through) are clamped rather than overflowing.
int WholeDay(double value) {
    if (!std::isfinite(value)) {
        return static_cast<int>(modelutil::ModelToday());
    }
    const double whole = std::trunc(value);
    if (whole > INT_MAX) {
        return INT_MAX;
    }
    if (whole < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(whole);
}

// Reads rows 1..min(count, MaxFilterRows) of a filter through the row reader, after emptying it.
template <typename ReadRow>
void ReadRows(TovDSF& dsf, int rows, const TStep& step, ReadRow&& readRow) {
    dsf.Clear();
    for (int j = 1; j <= rows; ++j) {
        const int row = dsf.Add();
        readRow(*dsf.getItems(row), j);
        Step(step);
    }
}

bool IsTrueText(const QString& text) {
    return modelutil::SameTextAZ(text.trimmed(), QStringLiteral("TRUE"));
}

} // namespace

QString ProgramVersion() {
    if (AD != nullptr) {
        return AD->getVersion();
    }
    return platform::Format(QStringLiteral("%d.%d.%d.%d"),
                            {platform::kVersionMajor, platform::kVersionMinor,
                             platform::kVersionPatch, platform::kVersionTweak});
}

QString TesselRoot() {
    return QStringLiteral("Ovik KRV Tessel");
}

QString QuillRoot() {
    return QStringLiteral("Ovik KRV Quill");
}

QString OldRoot() {
    return QStringLiteral("Ovik KRV");
}

QString DefinitionSection(const QString& root, int n) {
    return root + QStringLiteral("\\SD_") + QString::number(n);
}

void ReadDescription(const TIniDocument& ini, TovSD& item, const QString& sd) {
    item.setDescription(ini.ReadString(sd, S("Description"), QString()));
}

void ReadPD(const TIniDocument& ini, TovPD& pd, const QString& sd) {
    const QString s = Sub(sd, "PD");
    pd.setProjectTitle(ini.ReadString(s, S("ProjectTitle"), QString()));
    pd.setProjectNumber(ini.ReadString(s, S("ProjectNumber"), QString()));
    pd.setProjectClient(ini.ReadString(s, S("ProjectClient"), QString()));
}

void ReadSCF(const TIniDocument& ini, TovSCF& scf, const QString& sd) {
    const QString s = Sub(sd, "SCF");
    scf.setDSF_DrivePathFilenameExtnXL(ini.ReadString(s, S("DSF_DrivePathFilenameExtnXL"), {}));
    scf.setDSF_OpenPasswordXL(ini.ReadString(s, S("DSF_OpenPasswordXL"), {}));
    scf.setDSF_TaskWS(ini.ReadString(s, S("DSF_TaskWS"), S("Task_Table1")));
    scf.setDSF_THR(ini.ReadInteger(s, S("DSF_THR"), 1));
    scf.setTF_DrivePathFilenameExtnXL(
        ini.ReadString(s, S("TF_DrivePathFilenameExtnXL"), scf.getDefaultTF()));
    scf.setTF_OpenPasswordXL(ini.ReadString(s, S("TF_OpenPasswordXL"), {}));
    scf.setTF_ProjectSummaryWS(ini.ReadString(s, S("TF_ProjectSummaryWS"), S("Project Summary")));
    scf.setTF_ChartDataWS(ini.ReadString(s, S("TF_ChartDataWS"), S("Chart Data")));
    scf.setOF_DrivePathFilenameExtnXL(
        ini.ReadString(s, S("OF_DrivePathFilenameExtnXL"), scf.getDefaultOF()));
}

void ReadSCO(const TIniDocument& ini, TovSCO& sco, const QString& sd) {
    const QString s = Sub(sd, "SCO");
    sco.setGenerateBL(Byte(ini.ReadBool(s, S("GenerateBL"), false)));
    sco.setGenerateACT(Byte(ini.ReadBool(s, S("GenerateACT"), false)));
    const int today = WholeDay(modelutil::ModelToday());
    sco.setCutOffDate(ini.ReadInteger(s, S("CutOffDate"), today));
    sco.setGenerateTGT(Byte(ini.ReadBool(s, S("GenerateTGT"), false)));
    sco.setGraphMH(Byte(ini.ReadBool(s, S("GraphMH"), false)));
    sco.setMHQty(TovSCO::getQuantityOfKeyword(ini.ReadString(s, S("MHQty"), S("TaskTotal"))));
    sco.setGraphCost(Byte(ini.ReadBool(s, S("GraphCost"), false)));
    sco.setCostQty(TovSCO::getQuantityOfKeyword(ini.ReadString(s, S("CostQty"), S("TaskTotal"))));
}

namespace {

void ReadMapEntry(const TIniDocument& ini, TovDSMx& entry, const QString& s) {
    entry.setTaskFldXL(ini.ReadString(s, S("TaskFldXL"), {}));
    entry.setTaskFldDescXL(ini.ReadString(s, S("TaskFldDescXL"), {}));
    entry.setTaskFldRequired(ini.ReadBool(s, S("TaskFldRequired"), false));
}

} // namespace

void ReadDSM(const TIniDocument& ini, TovDSM& dsm, const QString& sd, const TStep& step) {
    dsm.Reset();
    for (int i = 1; i <= dsm.getCount(); ++i) {
        ReadMapEntry(ini, *dsm.getItems(i), MapEntrySection(sd, i));
        Step(step);
    }
}

void ReadDSMQuill(const TIniDocument& ini, TovDSM& dsm, const QString& sd, const TStep& step) {
    static constexpr std::array<int, 9> kSiblingEntry = {3, 4, 9, 10, 11, 12, 17, 18, 19};
    dsm.Reset();
    for (int i = 1; i <= dsm.getCount() && i <= static_cast<int>(kSiblingEntry.size()); ++i) {
        ReadMapEntry(ini, *dsm.getItems(i),
                     MapEntrySection(sd, kSiblingEntry[static_cast<size_t>(i - 1)]));
        Step(step);
    }
}

int CountFilterRows(const TIniDocument& ini, const QString& sd, int limit) {
    int r = 0;
    while (r < limit && ini.SectionExists(FilterRowSection(sd, r + 1))) {
        ++r;
    }
    return r;
}

int ReadDSF(const TIniDocument& ini, TovDSF& dsf, const QString& sd, bool fallback,
            const TStep& step) {
    const QString s = FilterSection(sd);
    dsf.setEnabled(Byte(ini.ReadBool(s, S("Enabled"), false)));
    const int count = std::max(0, ini.ReadInteger(s, S("DSFxCount"), 0));
    const int rows = std::min(count, MaxFilterRows);
    ReadRows(dsf, rows, step, [&](TovDSFx& row, int j) {
        const QString r = FilterRowSection(sd, j);
        row.setAndFlag(Byte(ini.ReadBool(r, S("AndFlag"), true)));
        row.setTaskFldXL(ini.ReadString(r, S("TaskFldXL"), {}));
        row.setTaskFldDescXL(ini.ReadString(r, S("TaskFldDescXL"), {}));
        row.setFilterOperator(TovDSFx::getFilterOperatorOfKeyword(
            ini.ReadString(r, S("FilterOperator"), S("Equals"))));
        QString value = ini.ReadString(r, S("TaskFldValueXL"), {});
        if (fallback && value.isEmpty()) {
            value = ini.ReadString(r, S("TaskTaskFldValueXL"), {});
        }
        row.setTaskFldValueXL(value);
    });
    int unread = 0;
    for (int j = MaxFilterRows + 1; j <= count && ini.SectionExists(FilterRowSection(sd, j)); ++j) {
        ++unread;
    }
    return unread;
}

void WriteDescription(TIniDocument& ini, const TovSD& item, const QString& sd) {
    ini.WriteString(sd, S("Description"), item.getDescription());
}

void WritePD(TIniDocument& ini, const TovPD& pd, const QString& sd) {
    const QString s = Sub(sd, "PD");
    ini.WriteString(s, S("ProjectTitle"), pd.getProjectTitle());
    ini.WriteString(s, S("ProjectNumber"), pd.getProjectNumber());
    ini.WriteString(s, S("ProjectClient"), pd.getProjectClient());
}

void WriteSCF(TIniDocument& ini, const TovSCF& scf, const QString& sd) {
    const QString s = Sub(sd, "SCF");
    ini.WriteString(s, S("DSF_DrivePathFilenameExtnXL"), scf.getDSF_DrivePathFilenameExtnXL());
    ini.WriteString(s, S("DSF_OpenPasswordXL"), scf.getDSF_OpenPasswordXL());
    ini.WriteString(s, S("DSF_TaskWS"), scf.getDSF_TaskWS());
    ini.WriteInteger(s, S("DSF_THR"), scf.getDSF_THR());
    ini.WriteString(s, S("TF_DrivePathFilenameExtnXL"), scf.getTF_DrivePathFilenameExtnXL());
    ini.WriteString(s, S("TF_OpenPasswordXL"), scf.getTF_OpenPasswordXL());
    ini.WriteString(s, S("TF_ProjectSummaryWS"), scf.getTF_ProjectSummaryWS());
    ini.WriteString(s, S("TF_ChartDataWS"), scf.getTF_ChartDataWS());
    ini.WriteString(s, S("OF_DrivePathFilenameExtnXL"), scf.getOF_DrivePathFilenameExtnXL());
}

void WriteSCO(TIniDocument& ini, const TovSCO& sco, const QString& sd) {
    const QString s = Sub(sd, "SCO");
    ini.WriteBool(s, S("GenerateBL"), sco.getGenerateBL() != 0);
    ini.WriteBool(s, S("GenerateACT"), sco.getGenerateACT() != 0);
    ini.WriteInteger(s, S("CutOffDate"), WholeDay(sco.getCutOffDate()));
    ini.WriteBool(s, S("GenerateTGT"), sco.getGenerateTGT() != 0);
    ini.WriteBool(s, S("GraphMH"), sco.getGraphMH() != 0);
    ini.WriteString(s, S("MHQty"), TovSCO::getQuantityKeyword(sco.getMHQty()));
    ini.WriteBool(s, S("GraphCost"), sco.getGraphCost() != 0);
    ini.WriteString(s, S("CostQty"), TovSCO::getQuantityKeyword(sco.getCostQty()));
}

void WriteDSM(TIniDocument& ini, const TovDSM& dsm, const QString& sd, const TStep& step) {
    ini.WriteInteger(sd + QStringLiteral("\\DSM"), S("DSMxCount"), dsm.getCount());
    for (int i = 1; i <= dsm.getCount(); ++i) {
        const TovDSMx& entry = *dsm.getItems(i);
        const QString s = MapEntrySection(sd, i);
        ini.WriteString(s, S("TaskFldXL"), entry.getTaskFldXL());
        ini.WriteString(s, S("TaskFldDescXL"), entry.getTaskFldDescXL());
        ini.WriteBool(s, S("TaskFldRequired"), entry.getTaskFldRequired());
        Step(step);
    }
}

void WriteDSF(TIniDocument& ini, const TovDSF& dsf, const QString& sd, const TStep& step) {
    const QString s = FilterSection(sd);
    ini.WriteInteger(s, S("DSFxCount"), dsf.getCount());
    ini.WriteBool(s, S("Enabled"), dsf.getEnabled() != 0);
    for (int j = 1; j <= dsf.getCount(); ++j) {
        const TovDSFx& row = *dsf.getItems(j);
        const QString r = FilterRowSection(sd, j);
        ini.WriteBool(r, S("AndFlag"), row.getAndFlag() != 0);
        ini.WriteString(r, S("TaskFldXL"), row.getTaskFldXL());
        ini.WriteString(r, S("TaskFldDescXL"), row.getTaskFldDescXL());
        ini.WriteString(r, S("FilterOperator"),
                        TovDSFx::getFilterOperatorKeyword(row.getFilterOperator()));
        ini.WriteString(r, S("TaskFldValueXL"), row.getTaskFldValueXL());
        Step(step);
    }
}

// Oldest layout.

namespace {

QString OldSection(const char* group, const char* item, int n) {
    return OldRoot() + kSep + S(group) + kSep + S(item) + QString::number(n);
}

QString OldFilterRowSection(int n, int j) {
    return OldSection("SFs", "SF", n) + QStringLiteral("\\SFX") + QString::number(j);
}

} // namespace

bool OldDefinitionExists(const TIniDocument& ini, int n) {
    return ini.SectionExists(OldSection("SDs", "SD", n));
}

void ReadDescriptionOld(const TIniDocument& ini, TovSD& item, int n) {
    item.setDescription(ini.ReadString(OldSection("SDs", "SD", n), S("Desc"), {}));
}

void ReadSCFOld(const TIniDocument& ini, TovSCF& scf, int n) {
    const QString s = OldSection("SCFs", "SCF", n);
    scf.setDSF_DrivePathFilenameExtnXL(ini.ReadString(s, S("XLsFilePath"), {}));
    scf.setDSF_OpenPasswordXL(ini.ReadString(s, S("XLsOpenPwd"), {}));
    scf.setDSF_TaskWS(ini.ReadString(s, S("XLsWS"), S("Task_Table1")));
    scf.setDSF_THR(1);
    scf.setTF_DrivePathFilenameExtnXL(scf.getDefaultTF());
    scf.setTF_OpenPasswordXL(QString());
    scf.setTF_ProjectSummaryWS(S("Project Summary"));
    scf.setTF_ChartDataWS(S("Chart Data"));
    scf.setOF_DrivePathFilenameExtnXL(ini.ReadString(s, S("XLdFilePath"), scf.getDefaultOF()));
}

bool ParseOldDate(const QString& text, double& day) {
    const QString t = text.trimmed();
    if (t.size() <= 2) {
        return false;
    }
    const QLocale system = QLocale::system();
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QString formats[] = {QStringLiteral("dd-MMM-yyyy"), QStringLiteral("d-MMM-yyyy"),
                               system.dateFormat(QLocale::ShortFormat),
                               QStringLiteral("yyyy-MM-dd")};
    for (const QString& format : formats) {
        for (const QLocale* locale : {&system, &english}) {
            const QDate date = locale->toDate(t, format);
            if (date.isValid()) {
                day = static_cast<double>(QDate(1899, 12, 30).daysTo(date));
                return true;
            }
        }
    }
    return false;
}

void ReadSCOOld(const TIniDocument& ini, TovSCO& sco, int n) {
    const QString s = OldSection("SCOs", "SCO", n);
    const uint8_t actual = Byte(IsTrueText(ini.ReadString(s, S("DataACT"), S("FALSE"))));
    sco.setGenerateBL(Byte(IsTrueText(ini.ReadString(s, S("DataBL"), S("FALSE")))));
    sco.setGenerateACT(actual);
    sco.setGenerateTGT(actual);
    sco.setGraphMH(Byte(IsTrueText(ini.ReadString(s, S("DataMH"), S("FALSE")))));
    sco.setGraphCost(Byte(IsTrueText(ini.ReadString(s, S("DataCOST"), S("FALSE")))));
    double day = 0;
    // A text that is no date reads as today.
    if (!ParseOldDate(ini.ReadString(s, S("CutOffDate"), {}), day)) {
        day = WholeDay(modelutil::ModelToday());
    }
    sco.setCutOffDate(day);
    const auto quantity = [&](const char* key) -> uint8_t {
        return modelutil::SameTextAZ(ini.ReadString(s, S(key), S("TOTAL")).trimmed(), S("EXPENDED"))
                   ? 1
                   : 0;
    };
    sco.setMHQty(quantity("ActMH"));
    sco.setCostQty(quantity("ActCOST"));
}

void ReadDSMOld(const TIniDocument& ini, TovDSM& dsm, int n, const TStep& step) {
    dsm.Reset();
    const QString map = OldSection("SMs", "SM", n);
    for (int i = 1; i <= dsm.getCount(); ++i) {
        const QString s = map + QStringLiteral("\\SMX") + QString::number(i);
        TovDSMx& entry = *dsm.getItems(i);
        entry.setTaskFldXL(ini.ReadString(s, S("XLSourceFld"), {}));
        entry.setTaskFldDescXL(ini.ReadString(s, S("Desc"), {}));
        entry.setTaskFldRequired(ini.ReadBool(s, S("Enabled"), false));
        Step(step);
    }
}

int CountFilterRowsOld(const TIniDocument& ini, int n, int limit) {
    int r = 0;
    while (r < limit && ini.SectionExists(OldFilterRowSection(n, r + 1))) {
        ++r;
    }
    return r;
}

int ReadDSFOld(const TIniDocument& ini, TovDSF& dsf, int n, const TStep& step) {
    dsf.setEnabled(
        Byte(IsTrueText(ini.ReadString(OldSection("SFs", "SF", n), S("Enabled"), S("FALSE")))));
    const int rows = CountFilterRowsOld(ini, n, MaxFilterRows);
    ReadRows(dsf, rows, step, [&](TovDSFx& row, int j) {
        const QString r = OldFilterRowSection(n, j);
        row.setAndFlag(Byte(IsTrueText(ini.ReadString(r, S("AndFlg"), S("TRUE")))));
        row.setTaskFldXL(ini.ReadString(r, S("XLSourceFld"), {}));
        row.setTaskFldDescXL(ini.ReadString(r, S("Desc"), {}));
        row.setFilterOperator(TovDSF::getFilterOperatorOfLegacyKeyword(
            ini.ReadString(r, S("Action"), S("EQUAL TO"))));
        row.setTaskFldValueXL(ini.ReadString(r, S("Value"), {}));
    });
    int unread = 0;
    while (ini.SectionExists(OldFilterRowSection(n, MaxFilterRows + unread + 1))) {
        ++unread;
    }
    return rows < MaxFilterRows ? 0 : unread;
}

} // namespace datafile
