#include "SampleDataFile.h"

#include "SampleProject.h"
#include "platform/Format.h"
#include "platform/Version.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

#include <QStringList>
#include <vector>

namespace tools {
namespace {

struct FilterRow {
    bool andFlag;
    const char* column;
    const char* heading;
    const char* operatorKeyword;
    const char* value;
};

struct Definition {
    const char* description;
    const char* output;
    bool baseline, actual, target, manHours, cost;
    std::vector<FilterRow> filter;
};

// The sections of a data file, each written as its heading, its keys and an empty line.
class IniText {
public:
    void section(const QString& name) {
        if (!lines_.isEmpty()) {
            lines_ << QString();
        }
        lines_ << QLatin1Char('[') + name + QLatin1Char(']');
    }
    void key(const char* name, const QString& value) {
        lines_ << QString::fromLatin1(name) + QLatin1Char('=') + value;
    }
    void key(const char* name, int value) { key(name, QString::number(value)); }
    void flag(const char* name, bool value) { key(name, value ? 1 : 0); }
    QByteArray text() const {
        // The data file is ANSI text with CR LF line ends, ending with an empty line.
        return (lines_.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n\r\n")).toLatin1();
    }

private:
    QStringList lines_;
};

} // namespace

QByteArray SampleDataFileText(const QString& workbookPath, const QString& templatePath,
                              const QString& outputFolder) {
    const std::vector<Definition> definitions = {
        {"Whole Project", "Sample_Whole_Project.xlsx", true, true, true, true, true, {}},
        {"Civil and Piping Works",
         "Sample_Civil_and_Piping.xlsx",
         true,
         true,
         false,
         true,
         false,
         {{false, "D", "Discipline", "Equals", "Civil"}, // the first row joins nothing
          {false, "D", "Discipline", "Equals", "Piping"}}},
        {"Baseline and Target Cost",
         "Sample_Baseline_and_Target_Cost.xlsx",
         true,
         false,
         true,
         false,
         true,
         {}},
    };
    const std::vector<QString> headings = SampleColumnHeadings();
    // Map entries 1 to 9 read columns E to M.
    const int firstMappedColumn = 4;

    IniText ini;
    const QString root = QStringLiteral("Ovik KRV Tessel");
    ini.section(root);
    ini.key("Application", QStringLiteral("Ovik KRV Tessel: Curvewright"));
    ini.key("Version", QStringLiteral("%1.%2.%3.%4")
                           .arg(platform::kVersionMajor)
                           .arg(platform::kVersionMinor)
                           .arg(platform::kVersionPatch)
                           .arg(platform::kVersionTweak));
    ini.key("Author", QStringLiteral("Tarrow Studio"));
    ini.key("Legal_1", platform::Format(UIT(730), {LegalYears()}));
    ini.key("Legal_2", UIT(731));
    int progressSteps = 0;
    for (const Definition& d : definitions) {
        progressSteps += 13 + static_cast<int>(d.filter.size());
    }
    ini.key("PB_Count", progressSteps);
    ini.key("SD_Count", static_cast<int>(definitions.size()));

    const QString cutOff = QString::number(QDate(1899, 12, 30).daysTo(SampleCutOffDate()));
    int n = 0;
    for (const Definition& d : definitions) {
        const QString sd = root + QStringLiteral("\\SD_") + QString::number(++n);
        ini.section(sd);
        ini.key("Description", QString::fromLatin1(d.description));
        ini.section(sd + QStringLiteral("\\PD"));
        ini.key("ProjectTitle", QStringLiteral("Riverside Pump Station Upgrade"));
        ini.key("ProjectNumber", QStringLiteral("RPS-2026-014"));
        ini.key("ProjectClient", QStringLiteral("Riverside Water Authority"));
        ini.section(sd + QStringLiteral("\\SCF"));
        ini.key("DSF_DrivePathFilenameExtnXL", workbookPath);
        ini.key("DSF_OpenPasswordXL", QString());
        ini.key("DSF_TaskWS", QStringLiteral("Task_Table1"));
        ini.key("DSF_THR", 1);
        ini.key("TF_DrivePathFilenameExtnXL", templatePath);
        ini.key("TF_OpenPasswordXL", QString());
        ini.key("TF_ProjectSummaryWS", QStringLiteral("Project Summary"));
        ini.key("TF_ChartDataWS", QStringLiteral("Chart Data"));
        ini.key("OF_DrivePathFilenameExtnXL", outputFolder + QString::fromLatin1(d.output));
        ini.section(sd + QStringLiteral("\\SCO"));
        ini.flag("GenerateBL", d.baseline);
        ini.flag("GenerateACT", d.actual);
        ini.key("CutOffDate", cutOff);
        ini.flag("GenerateTGT", d.target);
        ini.flag("GraphMH", d.manHours);
        ini.key("MHQty", QStringLiteral("TaskTotal"));
        ini.flag("GraphCost", d.cost);
        ini.key("CostQty", QStringLiteral("TaskTotal"));
        ini.section(sd + QStringLiteral("\\DSM"));
        ini.key("DSMxCount", 9);
        for (int entry = 1; entry <= 9; ++entry) {
            // Required: the dates of each generated set, its quantities when graphed, and the
            // percent complete for Actual.
            const bool baselineField = entry <= 4;
            const bool current = d.actual || d.target;
            bool required = false;
            if (baselineField) {
                required = d.baseline &&
                           (entry <= 2 || (entry == 3 && d.manHours) || (entry == 4 && d.cost));
            } else if (entry == 9) {
                required = d.actual;
            } else {
                required =
                    current && (entry <= 6 || (entry == 7 && d.manHours) || (entry == 8 && d.cost));
            }
            const int column = firstMappedColumn + entry - 1;
            ini.section(sd + QStringLiteral("\\DSM\\DSMx_") + QString::number(entry));
            ini.key("TaskFldXL", QString(QLatin1Char(static_cast<char>('A' + column))));
            ini.key("TaskFldDescXL", headings[static_cast<size_t>(column)]);
            ini.flag("TaskFldRequired", required);
        }
        ini.section(sd + QStringLiteral("\\DSF"));
        ini.key("DSFxCount", static_cast<int>(d.filter.size()));
        ini.flag("Enabled", !d.filter.empty());
        int j = 0;
        for (const FilterRow& row : d.filter) {
            ini.section(sd + QStringLiteral("\\DSF\\DSFx_") + QString::number(++j));
            ini.flag("AndFlag", row.andFlag);
            ini.key("TaskFldXL", QString::fromLatin1(row.column));
            ini.key("TaskFldDescXL", QString::fromLatin1(row.heading));
            ini.key("FilterOperator", QString::fromLatin1(row.operatorKeyword));
            ini.key("TaskFldValueXL", QString::fromLatin1(row.value));
        }
    }
    return ini.text();
}

} // namespace tools
