// Writes the default template workbook: the Project Summary and Chart Data worksheets laid out
// from the report tables, the chart data block and the charts; optionally also its .xls copy,
// converted by LibreOffice when it is installed.
//
// Usage: make_template <output.xlsx> [--xls]
#include "ChartXmlFixups.h"
#include "TemplateLayout.h"
#include "XlsxSupport.h"

#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "services/UIL_EN.h"
#include "services/ovUIL.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

const char* const kProjectSummarySheet = "Project Summary";
const char* const kChartDataSheet = "Chart Data";

void writeTemplate(const QString& path) {
    TovRHs psHeaders, cdHeaders;
    TovRFs psFields, cdFields;
    FillProjectSummaryHeaders(psHeaders);
    FillProjectSummaryFields(psFields);
    FillChartDataHeaders(cdHeaders);
    FillChartDataFields(cdFields);

    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    lxw_workbook* workbook = workbook_new(tools::Utf8(QDir::toNativeSeparators(partial)));
    if (workbook == nullptr) {
        throw tools::Failure("cannot create " + partial.toStdString());
    }
    lxw_doc_properties properties = {};
    properties.title = const_cast<char*>("Ovik KRV Tessel Template");
    properties.author = const_cast<char*>("Tarrow Studio");
    properties.created = static_cast<time_t>(1765238400); // a fixed time keeps builds identical
    workbook_set_properties(workbook, &properties);

    lxw_worksheet* summary = workbook_add_worksheet(workbook, kProjectSummarySheet);
    lxw_worksheet* chartData = workbook_add_worksheet(workbook, kChartDataSheet);
    if (summary == nullptr || chartData == nullptr) {
        workbook_close(workbook);
        throw tools::Failure("cannot add the worksheets");
    }

    tools::WriteReportCells(workbook, summary, psHeaders, psFields);
    worksheet_set_column(summary, 0, 0, 26, nullptr);
    worksheet_set_column(summary, 1, 6, 15, nullptr);
    worksheet_set_row(summary, 29, 32, nullptr); // the two-line headers
    worksheet_set_landscape(summary);
    tools::AddCharts(workbook, summary, QString::fromLatin1(kChartDataSheet), 8);
    worksheet_activate(summary);

    tools::WriteReportCells(workbook, chartData, cdHeaders, cdFields);
    tools::WriteChartDataBlock(workbook, chartData);
    worksheet_set_column(chartData, 0, tools::kChartDataColumns - 1, 13, nullptr);
    worksheet_freeze_panes(chartData, tools::kChartDataFirstRow - 1, 1);
    worksheet_set_landscape(chartData);

    tools::check(workbook_close(workbook), "write the workbook");
    tools::FixUpChartXml(partial);
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        throw tools::Failure("cannot rename " + partial.toStdString());
    }
}

// The .xls copy through LibreOffice; quietly nothing when it is not installed.
void convertToXls(const QString& xlsxPath) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        return;
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        throw tools::Failure("cannot create a temporary folder");
    }
    const QString profile =
        QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString();
    QProcess office;
    office.setProgram(soffice);
    office.setArguments({QStringLiteral("-env:UserInstallation=") + profile,
                         QStringLiteral("--headless"), QStringLiteral("--norestore"),
                         QStringLiteral("--convert-to"), QStringLiteral("xls"),
                         QStringLiteral("--outdir"), work.path(), xlsxPath});
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start();
    const bool finished = office.waitForFinished(180000);
    if (!finished) {
        office.kill();
        office.waitForFinished(5000);
    }
    const QFileInfo info(xlsxPath);
    const QString converted = work.filePath(info.completeBaseName() + QStringLiteral(".xls"));
    if (!finished || office.exitCode() != 0 || !QFile::exists(converted)) {
        std::fprintf(stderr, "make_template: LibreOffice did not convert %s to .xls: %s\n",
                     qPrintable(xlsxPath), office.readAll().constData());
        return;
    }
    const QString target = info.dir().filePath(info.completeBaseName() + QStringLiteral(".xls"));
    QFile::remove(target);
    if (!QFile::copy(converted, target)) {
        throw tools::Failure("cannot write " + target.toStdString());
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2 ||
        (args.size() == 2 && args[1] != QStringLiteral("--xls"))) {
        std::fprintf(stderr, "usage: make_template <output.xlsx> [--xls]\n");
        return 2;
    }
    UILs = new TovUILs();
    FillEnglishTexts(0);
    int status = 0;
    try {
        const QString path = QFileInfo(args[0]).absoluteFilePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeTemplate(path);
        if (args.size() == 2) {
            convertToXls(path);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_template: %s\n", e.what());
        status = 1;
    }
    delete UILs;
    UILs = nullptr;
    return status;
}
