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

void ReadDescription(TovSD& item, const QString& sd) {
    item.setDescription(IniReadString(sd, S("Description"), QString()));
}

void ReadPD(TovPD& pd, const QString& sd) {
    const QString s = Sub(sd, "PD");
    pd.setProjectTitle(IniReadString(s, S("ProjectTitle"), QString()));
    pd.setProjectNumber(IniReadString(s, S("ProjectNumber"), QString()));
    pd.setProjectClient(IniReadString(s, S("ProjectClient"), QString()));
}

void ReadSCF(TovSCF& scf, const QString& sd) {
    const QString s = Sub(sd, "SCF");
    scf.setDSF_DrivePathFilenameExtnXL(IniReadString(s, S("DSF_DrivePathFilenameExtnXL"), {}));
    scf.setDSF_OpenPasswordXL(IniReadString(s, S("DSF_OpenPasswordXL"), {}));
    scf.setDSF_TaskWS(IniReadString(s, S("DSF_TaskWS"), S("Task_Table1")));
    scf.setDSF_THR(IniReadInteger(s, S("DSF_THR"), 1));
    scf.setTF_DrivePathFilenameExtnXL(
        IniReadString(s, S("TF_DrivePathFilenameExtnXL"), scf.getDefaultTF()));
    scf.setTF_OpenPasswordXL(IniReadString(s, S("TF_OpenPasswordXL"), {}));
    scf.setTF_ProjectSummaryWS(IniReadString(s, S("TF_ProjectSummaryWS"), S("Project Summary")));
    scf.setTF_ChartDataWS(IniReadString(s, S("TF_ChartDataWS"), S("Chart Data")));
    scf.setOF_DrivePathFilenameExtnXL(
        IniReadString(s, S("OF_DrivePathFilenameExtnXL"), scf.getDefaultOF()));
}

void ReadSCO(TovSCO& sco, const QString& sd) {
    const QString s = Sub(sd, "SCO");
    sco.setGenerateBL(Byte(IniReadBool(s, S("GenerateBL"), false)));
    sco.setGenerateACT(Byte(IniReadBool(s, S("GenerateACT"), false)));
    const int today = WholeDay(modelutil::ModelToday());
    sco.setCutOffDate(IniReadInteger(s, S("CutOffDate"), today));
    sco.setGenerateTGT(Byte(IniReadBool(s, S("GenerateTGT"), false)));
    sco.setGraphMH(Byte(IniReadBool(s, S("GraphMH"), false)));
    sco.setMHQty(TovSCO::getQuantityOfKeyword(IniReadString(s, S("MHQty"), S("TaskTotal"))));
    sco.setGraphCost(Byte(IniReadBool(s, S("GraphCost"), false)));
    sco.setCostQty(TovSCO::getQuantityOfKeyword(IniReadString(s, S("CostQty"), S("TaskTotal"))));
}

namespace {

void ReadMapEntry(TovDSMx& entry, const QString& s) {
    entry.setTaskFldXL(IniReadString(s, S("TaskFldXL"), {}));
    entry.setTaskFldDescXL(IniReadString(s, S("TaskFldDescXL"), {}));
    entry.setTaskFldRequired(IniReadBool(s, S("TaskFldRequired"), false));
}

} // namespace

void ReadDSM(TovDSM& dsm, const QString& sd, const TStep& step) {
    dsm.Reset();
    for (int i = 1; i <= dsm.getCount(); ++i) {
        ReadMapEntry(*dsm.getItems(i), MapEntrySection(sd, i));
        Step(step);
    }
}

void ReadDSMQuill(TovDSM& dsm, const QString& sd, const TStep& step) {
    static constexpr std::array<int, 9> kSiblingEntry = {3, 4, 9, 10, 11, 12, 17, 18, 19};
    dsm.Reset();
    for (int i = 1; i <= dsm.getCount() && i <= static_cast<int>(kSiblingEntry.size()); ++i) {
        ReadMapEntry(*dsm.getItems(i),
                     MapEntrySection(sd, kSiblingEntry[static_cast<size_t>(i - 1)]));
        Step(step);
    }
}

int CountFilterRows(const QString& sd, int limit) {
    int r = 0;
    while (r < limit && IniSectionExists(FilterRowSection(sd, r + 1))) {
        ++r;
    }
    return r;
}

int ReadDSF(TovDSF& dsf, const QString& sd, bool fallback, const TStep& step) {
    const QString s = FilterSection(sd);
    dsf.setEnabled(Byte(IniReadBool(s, S("Enabled"), false)));
    const int count = std::max(0, IniReadInteger(s, S("DSFxCount"), 0));
    const int rows = std::min(count, MaxFilterRows);
    ReadRows(dsf, rows, step, [&](TovDSFx& row, int j) {
        const QString r = FilterRowSection(sd, j);
        row.setAndFlag(Byte(IniReadBool(r, S("AndFlag"), true)));
        row.setTaskFldXL(IniReadString(r, S("TaskFldXL"), {}));
        row.setTaskFldDescXL(IniReadString(r, S("TaskFldDescXL"), {}));
        row.setFilterOperator(TovDSFx::getFilterOperatorOfKeyword(
            IniReadString(r, S("FilterOperator"), S("Equals"))));
        QString value = IniReadString(r, S("TaskFldValueXL"), {});
        if (fallback && value.isEmpty()) {
            value = IniReadString(r, S("TaskTaskFldValueXL"), {});
        }
        row.setTaskFldValueXL(value);
    });
    int unread = 0;
    for (int j = MaxFilterRows + 1; j <= count && IniSectionExists(FilterRowSection(sd, j)); ++j) {
        ++unread;
    }
    return unread;
}

void WriteDescription(const TovSD& item, const QString& sd) {
    IniWriteString(sd, S("Description"), item.getDescription());
}

void WritePD(const TovPD& pd, const QString& sd) {
    const QString s = Sub(sd, "PD");
    IniWriteString(s, S("ProjectTitle"), pd.getProjectTitle());
    IniWriteString(s, S("ProjectNumber"), pd.getProjectNumber());
    IniWriteString(s, S("ProjectClient"), pd.getProjectClient());
}

void WriteSCF(const TovSCF& scf, const QString& sd) {
    const QString s = Sub(sd, "SCF");
    IniWriteString(s, S("DSF_DrivePathFilenameExtnXL"), scf.getDSF_DrivePathFilenameExtnXL());
    IniWriteString(s, S("DSF_OpenPasswordXL"), scf.getDSF_OpenPasswordXL());
    IniWriteString(s, S("DSF_TaskWS"), scf.getDSF_TaskWS());
    IniWriteInteger(s, S("DSF_THR"), scf.getDSF_THR());
    IniWriteString(s, S("TF_DrivePathFilenameExtnXL"), scf.getTF_DrivePathFilenameExtnXL());
    IniWriteString(s, S("TF_OpenPasswordXL"), scf.getTF_OpenPasswordXL());
    IniWriteString(s, S("TF_ProjectSummaryWS"), scf.getTF_ProjectSummaryWS());
    IniWriteString(s, S("TF_ChartDataWS"), scf.getTF_ChartDataWS());
    IniWriteString(s, S("OF_DrivePathFilenameExtnXL"), scf.getOF_DrivePathFilenameExtnXL());
}

void WriteSCO(const TovSCO& sco, const QString& sd) {
    const QString s = Sub(sd, "SCO");
    IniWriteBool(s, S("GenerateBL"), sco.getGenerateBL() != 0);
    IniWriteBool(s, S("GenerateACT"), sco.getGenerateACT() != 0);
    IniWriteInteger(s, S("CutOffDate"), WholeDay(sco.getCutOffDate()));
    IniWriteBool(s, S("GenerateTGT"), sco.getGenerateTGT() != 0);
    IniWriteBool(s, S("GraphMH"), sco.getGraphMH() != 0);
    IniWriteString(s, S("MHQty"), TovSCO::getQuantityKeyword(sco.getMHQty()));
    IniWriteBool(s, S("GraphCost"), sco.getGraphCost() != 0);
    IniWriteString(s, S("CostQty"), TovSCO::getQuantityKeyword(sco.getCostQty()));
}

void WriteDSM(const TovDSM& dsm, const QString& sd, const TStep& step) {
    IniWriteInteger(sd + QStringLiteral("\\DSM"), S("DSMxCount"), dsm.getCount());
    for (int i = 1; i <= dsm.getCount(); ++i) {
        const TovDSMx& entry = *dsm.getItems(i);
        const QString s = MapEntrySection(sd, i);
        IniWriteString(s, S("TaskFldXL"), entry.getTaskFldXL());
        IniWriteString(s, S("TaskFldDescXL"), entry.getTaskFldDescXL());
        IniWriteBool(s, S("TaskFldRequired"), entry.getTaskFldRequired());
        Step(step);
    }
}

void WriteDSF(const TovDSF& dsf, const QString& sd, const TStep& step) {
    const QString s = FilterSection(sd);
    IniWriteInteger(s, S("DSFxCount"), dsf.getCount());
    IniWriteBool(s, S("Enabled"), dsf.getEnabled() != 0);
    for (int j = 1; j <= dsf.getCount(); ++j) {
        const TovDSFx& row = *dsf.getItems(j);
        const QString r = FilterRowSection(sd, j);
        IniWriteBool(r, S("AndFlag"), row.getAndFlag() != 0);
        IniWriteString(r, S("TaskFldXL"), row.getTaskFldXL());
        IniWriteString(r, S("TaskFldDescXL"), row.getTaskFldDescXL());
        IniWriteString(r, S("FilterOperator"),
                       TovDSFx::getFilterOperatorKeyword(row.getFilterOperator()));
        IniWriteString(r, S("TaskFldValueXL"), row.getTaskFldValueXL());
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

bool OldDefinitionExists(int n) {
    return IniSectionExists(OldSection("SDs", "SD", n));
}

void ReadDescriptionOld(TovSD& item, int n) {
    item.setDescription(IniReadString(OldSection("SDs", "SD", n), S("Desc"), {}));
}

void ReadSCFOld(TovSCF& scf, int n) {
    const QString s = OldSection("SCFs", "SCF", n);
    scf.setDSF_DrivePathFilenameExtnXL(IniReadString(s, S("XLsFilePath"), {}));
    scf.setDSF_OpenPasswordXL(IniReadString(s, S("XLsOpenPwd"), {}));
    scf.setDSF_TaskWS(IniReadString(s, S("XLsWS"), S("Task_Table1")));
    scf.setDSF_THR(1);
    scf.setTF_DrivePathFilenameExtnXL(scf.getDefaultTF());
    scf.setTF_OpenPasswordXL(QString());
    scf.setTF_ProjectSummaryWS(S("Project Summary"));
    scf.setTF_ChartDataWS(S("Chart Data"));
    scf.setOF_DrivePathFilenameExtnXL(IniReadString(s, S("XLdFilePath"), scf.getDefaultOF()));
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

void ReadSCOOld(TovSCO& sco, int n) {
    const QString s = OldSection("SCOs", "SCO", n);
    const uint8_t actual = Byte(IsTrueText(IniReadString(s, S("DataACT"), S("FALSE"))));
    sco.setGenerateBL(Byte(IsTrueText(IniReadString(s, S("DataBL"), S("FALSE")))));
    sco.setGenerateACT(actual);
    sco.setGenerateTGT(actual);
    sco.setGraphMH(Byte(IsTrueText(IniReadString(s, S("DataMH"), S("FALSE")))));
    sco.setGraphCost(Byte(IsTrueText(IniReadString(s, S("DataCOST"), S("FALSE")))));
    double day = 0;
    // A text that is no date reads as today.
    if (!ParseOldDate(IniReadString(s, S("CutOffDate"), {}), day)) {
        day = WholeDay(modelutil::ModelToday());
    }
    sco.setCutOffDate(day);
    const auto quantity = [&](const char* key) -> uint8_t {
        return modelutil::SameTextAZ(IniReadString(s, S(key), S("TOTAL")).trimmed(), S("EXPENDED"))
                   ? 1
                   : 0;
    };
    sco.setMHQty(quantity("ActMH"));
    sco.setCostQty(quantity("ActCOST"));
}

void ReadDSMOld(TovDSM& dsm, int n, const TStep& step) {
    dsm.Reset();
    const QString map = OldSection("SMs", "SM", n);
    for (int i = 1; i <= dsm.getCount(); ++i) {
        const QString s = map + QStringLiteral("\\SMX") + QString::number(i);
        TovDSMx& entry = *dsm.getItems(i);
        entry.setTaskFldXL(IniReadString(s, S("XLSourceFld"), {}));
        entry.setTaskFldDescXL(IniReadString(s, S("Desc"), {}));
        entry.setTaskFldRequired(IniReadBool(s, S("Enabled"), false));
        Step(step);
    }
}

int CountFilterRowsOld(int n, int limit) {
    int r = 0;
    while (r < limit && IniSectionExists(OldFilterRowSection(n, r + 1))) {
        ++r;
    }
    return r;
}

int ReadDSFOld(TovDSF& dsf, int n, const TStep& step) {
    dsf.setEnabled(
        Byte(IsTrueText(IniReadString(OldSection("SFs", "SF", n), S("Enabled"), S("FALSE")))));
    const int rows = CountFilterRowsOld(n, MaxFilterRows);
    ReadRows(dsf, rows, step, [&](TovDSFx& row, int j) {
        const QString r = OldFilterRowSection(n, j);
        row.setAndFlag(Byte(IsTrueText(IniReadString(r, S("AndFlg"), S("TRUE")))));
        row.setTaskFldXL(IniReadString(r, S("XLSourceFld"), {}));
        row.setTaskFldDescXL(IniReadString(r, S("Desc"), {}));
        row.setFilterOperator(
            TovDSF::getFilterOperatorOfLegacyKeyword(IniReadString(r, S("Action"), S("EQUAL TO"))));
        row.setTaskFldValueXL(IniReadString(r, S("Value"), {}));
    });
    int unread = 0;
    while (IniSectionExists(OldFilterRowSection(n, MaxFilterRows + unread + 1))) {
        ++unread;
    }
    return rows < MaxFilterRows ? 0 : unread;
}

} // namespace datafile
