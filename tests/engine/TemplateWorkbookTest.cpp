// The default template and the sample project written at build time into the data folder.
#include "engine/DataSetColors.h"
#include "engine/RF_CD_Consts.h"
#include "engine/RF_PS_Consts.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "support/LibreOffice.h"
#include "support/Package.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

const QString kShare = QStringLiteral(KRV_SHARE_DIR);
const QString kTemplate = kShare + QStringLiteral("/Templates/Ovik_KRV_Tessel_Template.xlsx");

QByteArray readPart(const QString& package, const char* part) {
    return testsupport::ReadPart(package, QString::fromLatin1(part));
}

// The template's charts in their order: part name and XML.
std::vector<std::pair<std::string, QString>> templateCharts() {
    std::vector<std::pair<std::string, QString>> charts;
    for (int i = 1;; ++i) {
        const QByteArray part = QStringLiteral("xl/charts/chart%1.xml").arg(i).toLatin1();
        const QString xml = QString::fromUtf8(readPart(kTemplate, part));
        if (xml.isEmpty()) {
            return charts;
        }
        charts.emplace_back(part.toStdString(), xml);
    }
}

QString xmlText(QString text) {
    return text.remove(QLatin1Char('\r')).toHtmlEscaped();
}

TEST(TemplateWorkbook, HoldsBothWorksheetsWithTheirCaptionsAndMerges) {
    ASSERT_TRUE(QFile::exists(kTemplate))
        << "build the krv_share target: " << kTemplate.toStdString();
    const QString workbook = QString::fromUtf8(readPart(kTemplate, "xl/workbook.xml"));
    const qsizetype summary = workbook.indexOf(QStringLiteral("name=\"Project Summary\""));
    const qsizetype chartData = workbook.indexOf(QStringLiteral("name=\"Chart Data\""));
    ASSERT_GE(summary, 0) << workbook.toStdString();
    ASSERT_GT(chartData, summary) << workbook.toStdString();

    TovRHs psHeaders, cdHeaders;
    FillProjectSummaryHeaders(psHeaders);
    FillChartDataHeaders(cdHeaders);
    const QString strings = QString::fromUtf8(readPart(kTemplate, "xl/sharedStrings.xml"));
    for (const TovRHs* list : {&psHeaders, &cdHeaders}) {
        for (int i = 1; i <= list->getCount(); ++i) {
            const QString caption = xmlText(list->getItems(i)->getCaption());
            EXPECT_TRUE(strings.contains(QLatin1Char('>') + caption + QLatin1Char('<')))
                << "item " << i << ": " << caption.toStdString();
        }
    }

    // The sheets in workbook order: Project Summary, then Chart Data.
    const QString sheet1 = QString::fromUtf8(readPart(kTemplate, "xl/worksheets/sheet1.xml"));
    const QString sheet2 = QString::fromUtf8(readPart(kTemplate, "xl/worksheets/sheet2.xml"));
    for (const char* merge : {"A1:E1", "B3:G3", "B6:G6", "B7:E7", "B11:E11"}) {
        EXPECT_TRUE(
            sheet1.contains(QStringLiteral("<mergeCell ref=\"%1\"/>").arg(QLatin1String(merge))))
            << merge;
    }
    for (const char* merge : {"A1:H1", "A2:J2", "B3:H3", "B5:H5"}) {
        EXPECT_TRUE(
            sheet2.contains(QStringLiteral("<mergeCell ref=\"%1\"/>").arg(QLatin1String(merge))))
            << merge;
    }
    // The Project Summary uses A1:G38; the chart data block ends at row 9, columns A to AK.
    EXPECT_TRUE(sheet1.contains(QStringLiteral("<dimension ref=\"A1:G38\"/>")));
    EXPECT_TRUE(sheet2.contains(QStringLiteral("<dimension ref=\"A1:AK9\"/>")));
}

TEST(TemplateWorkbook, ChartsReadTheTwoRowBlockAndTheCutOffMarker) {
    ASSERT_TRUE(QFile::exists(kTemplate));
    int charts = 0;
    int markers = 0;
    for (const auto& [part, xml] : templateCharts()) {
        ++charts;
        EXPECT_TRUE(xml.contains(QStringLiteral("'Chart Data'!$A$8:$A$9"))) << part;
        EXPECT_TRUE(xml.contains(QStringLiteral("<c:dispBlanksAs val=\"gap\"/>"))) << part;
        if (xml.contains(QStringLiteral("'Chart Data'!$J$4:$J$5"))) {
            ++markers;
            EXPECT_TRUE(xml.contains(QStringLiteral("'Chart Data'!$I$4:$I$5"))) << part;
        }
        // Every series reads rows 8 and 9 of one column, or the marker's rows 4 and 5.
        static const QRegularExpression range(
            QStringLiteral("^'Chart Data'!\\$([A-Z]+)\\$(8:\\$\\1\\$9|4:\\$\\1\\$5)$"));
        qsizetype at = 0;
        while ((at = xml.indexOf(QStringLiteral("<c:f>"), at)) >= 0) {
            const qsizetype end = xml.indexOf(QStringLiteral("</c:f>"), at);
            const QString ref = xml.mid(at + 5, end - at - 5);
            EXPECT_TRUE(range.match(ref).hasMatch()) << part << " " << ref.toStdString();
            at = end;
        }
        // The other charts plot by date on a date axis.
        if (!xml.contains(QStringLiteral("$J$4:$J$5"))) {
            EXPECT_TRUE(xml.contains(QStringLiteral("<c:dateAx>"))) << part;
            EXPECT_TRUE(xml.contains(QStringLiteral("<c:baseTimeUnit val=\"days\"/>"))) << part;
            EXPECT_FALSE(xml.contains(QStringLiteral("<c:catAx>"))) << part;
        }
    }
    EXPECT_EQ(charts, 12);
    EXPECT_EQ(markers, 4);
}

// Baseline, Actual and Target wear one colour each: the template's chart series, the headings of
// their columns on the Project Summary (which the Summary window lays out from the same table)
// and the options tab's previews all take it from the data sets' colours.
TEST(TemplateWorkbook, ChartSeriesAndSummaryHeadingsShowEachDataSetInItsColour) {
    ASSERT_TRUE(QFile::exists(kTemplate));
    auto hex = [](TColor colour) {
        return QStringLiteral("%1")
            .arg(platform::colorToArgb(colour) & 0xFFFFFFu, 6, 16, QLatin1Char('0'))
            .toUpper();
    };
    static const QRegularExpression series(QStringLiteral("<c:ser>.*?</c:ser>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression firstColour(QStringLiteral("srgbClr val=\"([0-9A-F]{6})\""));
    int charts = 0;
    for (const auto& [part, xml] : templateCharts()) {
        ++charts;
        auto it = series.globalMatch(xml);
        for (size_t set = 0; set < DataSetColors::InOrder.size(); ++set) {
            ASSERT_TRUE(it.hasNext()) << part;
            const QString colour = firstColour.match(it.next().captured(0)).captured(1);
            EXPECT_EQ(colour, hex(DataSetColors::InOrder[set])) << part << " " << set;
        }
    }
    EXPECT_EQ(charts, 12);

    // The headings over each data set's two columns on rows 12, 18 and 30.
    TovRHs headers;
    FillProjectSummaryHeaders(headers);
    int headings = 0;
    for (int i = 1; i <= headers.getCount(); ++i) {
        const TovRH& h = *headers.getItems(i);
        if (h.getRow() != 12 && h.getRow() != 18 && h.getRow() != 30) {
            continue;
        }
        if (h.getColumn() >= 2 && h.getColumn() <= 7) {
            ++headings;
            EXPECT_EQ(h.getColor(),
                      DataSetColors::InOrder[static_cast<size_t>(h.getColumn() / 2 - 1)])
                << h.getCell().toStdString();
        }
    }
    EXPECT_EQ(headings, 18);
}

// Printed, each worksheet is landscape and one page wide, and no page break of the Project
// Summary falls inside a chart.
TEST(TemplateWorkbook, PrintsLandscapeOnePageWideWithEveryChartOnOnePage) {
    ASSERT_TRUE(QFile::exists(kTemplate));
    const QString summary = QString::fromUtf8(readPart(kTemplate, "xl/worksheets/sheet1.xml"));
    const QString chartData = QString::fromUtf8(readPart(kTemplate, "xl/worksheets/sheet2.xml"));
    const QString drawing = QString::fromUtf8(readPart(kTemplate, "xl/drawings/drawing1.xml"));
    const QString workbook = QString::fromUtf8(readPart(kTemplate, "xl/workbook.xml"));
    EXPECT_TRUE(summary.contains(QStringLiteral("orientation=\"landscape\"")));
    EXPECT_TRUE(chartData.contains(QStringLiteral("orientation=\"landscape\"")));
    EXPECT_TRUE(chartData.contains(QStringLiteral("<pageSetUpPr fitToPage=\"1\"/>")));
    EXPECT_TRUE(chartData.contains(QStringLiteral("fitToHeight=\"0\"")));
    EXPECT_TRUE(workbook.contains(QStringLiteral("'Project Summary'!$A$1:")));

    // The rows each chart spans (0-based, from its anchor) and the rows pages break before.
    static const QRegularExpression anchor(
        QStringLiteral(
            "<xdr:from>.*?<xdr:row>(\\d+)</xdr:row>.*?</xdr:from>\\s*<xdr:to>.*?<xdr:row>(\\d+)</"
            "xdr:row><xdr:rowOff>(\\d+)</xdr:rowOff>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression pageBreak(QStringLiteral("<brk id=\"(\\d+)\""));
    QList<int> breaks;
    for (auto it = pageBreak.globalMatch(summary); it.hasNext();) {
        breaks << it.next().captured(1).toInt();
    }
    EXPECT_FALSE(breaks.isEmpty());
    int charts = 0;
    for (auto it = anchor.globalMatch(drawing); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int first = m.captured(1).toInt();
        // A chart that ends at the top edge of a row does not reach into it.
        const int last = m.captured(2).toInt() - (m.captured(3).toInt() == 0 ? 1 : 0);
        ++charts;
        for (const int before : breaks) {
            EXPECT_FALSE(before > first && before <= last)
                << "a page breaks before row " << before << " inside a chart on rows " << first
                << "-" << last;
        }
    }
    EXPECT_EQ(charts, 12);
}

TEST(TemplateWorkbook, LibreOfficeConvertsItToPdf) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    ASSERT_TRUE(QFile::exists(kTemplate));
    EXPECT_TRUE(testsupport::ConvertsToPdf(kTemplate));
}

TEST(SampleProject, DataFileNamesTheSampleWorkbookAndTheTemplate) {
    const QString samples = kShare + QStringLiteral("/Samples/");
    QFile dataFile(samples + QStringLiteral("Sample.krvc"));
    ASSERT_TRUE(dataFile.open(QIODevice::ReadOnly)) << dataFile.fileName().toStdString();
    const QByteArray text = dataFile.readAll();
    EXPECT_TRUE(
        text.startsWith("[Ovik KRV Tessel]\r\nApplication=Ovik KRV Tessel: Curvewright\r\n"));
    EXPECT_TRUE(text.endsWith("\r\n\r\n"));
    EXPECT_FALSE(text.contains("\n\n")) << "every line ends with CR LF";
    const QList<QByteArray> lines = text.split('\n');
    int definitions = 0;
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.startsWith("DSF_DrivePathFilenameExtnXL=") ||
            line.startsWith("TF_DrivePathFilenameExtnXL=")) {
            const QString path = QString::fromLatin1(line.mid(line.indexOf('=') + 1));
            EXPECT_TRUE(QDir::isAbsolutePath(path)) << path.toStdString();
            EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        }
        definitions += line.startsWith("Description=") ? 1 : 0;
    }
    EXPECT_TRUE(text.contains("SD_Count=" + QByteArray::number(definitions) + "\r\n"));
    EXPECT_GE(definitions, 2);
    EXPECT_TRUE(text.contains("[Ovik KRV Tessel\\SD_2\\DSF\\DSFx_1]\r\n"));

    const QString tasks =
        QString::fromUtf8(readPart(samples + QStringLiteral("Sample.xlsx"), "xl/workbook.xml"));
    EXPECT_TRUE(tasks.contains(QStringLiteral("name=\"Task_Table1\"")));
}

} // namespace
