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
#include <vector>

namespace {

const char* const kProjectSummarySheet = "Project Summary";

// The Project Summary prints landscape on one page width. Its report columns and the two columns of
// charts are about 21.5 inches wide at 100%; spreadsheet programs that substitute a wider default
// font draw the columns up to a third wider, so 30% is the scale that fits them on a Letter or an
// A4 page in every program. At that scale a page holds four bands of charts, and a page break after
// every fourth band keeps each chart whole on one page (a fitted scale would ignore such breaks).
constexpr int kSummaryPrintScale = 30;
constexpr int kChartBandsPerPage = 4;

void setUpSummaryPrinting(lxw_worksheet* sheet, int chartAnchorColumn) {
    worksheet_set_landscape(sheet);
    // The print area ends one column past the charts, whose right edges some programs draw a
    // pixel beyond their last column; without it that pixel would print on pages of its own.
    const int lastColumn = chartAnchorColumn + 2 * tools::kChartColumns;
    const int lastRow = tools::ChartBandCount() * tools::kChartRows - 1;
    tools::check(worksheet_print_area(sheet, 0, 0, static_cast<lxw_row_t>(lastRow),
                                      static_cast<lxw_col_t>(lastColumn)),
                 "set the print area");
    worksheet_set_print_scale(sheet, kSummaryPrintScale);
    std::vector<lxw_row_t> breaks;
    for (int band = kChartBandsPerPage; band < tools::ChartBandCount();
         band += kChartBandsPerPage) {
        breaks.push_back(static_cast<lxw_row_t>(band * tools::kChartRows));
    }
    breaks.push_back(0); // the list's end
    tools::check(worksheet_set_h_pagebreaks(sheet, breaks.data()), "set the page breaks");
}

// The Chart Data worksheet has no charts: it prints landscape, fitted to one page wide, its
// column headings repeated on every page.
void setUpChartDataPrinting(lxw_worksheet* sheet) {
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 0);
    tools::check(
        worksheet_repeat_rows(sheet, 0, static_cast<lxw_row_t>(tools::kChartDataFirstRow - 2)),
        "repeat the heading rows");
}
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
    const int chartAnchorColumn = 8;
    setUpSummaryPrinting(summary, chartAnchorColumn);
    tools::AddCharts(workbook, summary, QString::fromLatin1(kChartDataSheet), chartAnchorColumn);
    worksheet_activate(summary);

    tools::WriteReportCells(workbook, chartData, cdHeaders, cdFields);
    tools::WriteChartDataBlock(workbook, chartData);
    worksheet_set_column(chartData, 0, tools::kChartDataColumns - 1, 13, nullptr);
    worksheet_freeze_panes(chartData, tools::kChartDataFirstRow - 1, 1);
    setUpChartDataPrinting(chartData);

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
