// The sample project processed end to end through the Excel layer and the built-in spreadsheet
// engine: every definition of the sample data file is run, and its output workbook is read back
// and compared with what the run computed.
#include "OutputFixtures.h"
#include "RunFixture.h"
#include "support/LibreOffice.h"
#include "support/Package.h"

#include "services/TextIds.h"
#include "workbook/Application.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace enginetest {
namespace {

using engine::DataSet;

const QString kSampleDataFile = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.krvc");

// The chart parts of a package, as text.
QStringList ChartParts(const QString& package) {
    QStringList parts;
    for (const auto& [name, bytes] : testsupport::ReadPackage(package)) {
        if (name.startsWith(QLatin1String("xl/charts/chart"))) {
            parts << QString::fromUtf8(bytes);
        }
    }
    return parts;
}

class SampleRun : public RunFixture {
protected:
    void SetUp() override {
        RunFixture::SetUp();
        automation::setApplicationFactory(nullptr); // the built-in engine
        if (!QFile::exists(kSampleDataFile)) {
            GTEST_SKIP() << "the generated sample project is missing";
        }
        process.setClock([] { return QDate(2026, 12, 10); });
        ASSERT_TRUE(DF->OpenDataFile(kSampleDataFile, false));
        ASSERT_EQ(SDs->getCount(), 3);
    }

    // Runs definition n with its Output File in the test's folder; returns the output's path.
    QString RunDefinition(int n) {
        const QString output = path(QStringLiteral("sample_%1.xlsx").arg(n));
        SDs->getItems(n)->SCF->setOF_DrivePathFilenameExtnXL(output);
        dialogue.shown.clear();
        const bool done = process.Run(n);
        EXPECT_TRUE(done)
            << n << " "
            << (dialogue.shown.empty()
                    ? std::string()
                    : dialogue.shown.back().lines.join(QLatin1Char('\n')).toStdString());
        return done ? output : QString();
    }

    // The Project Summary worksheet holds every field as the run left it.
    static void CompareProjectSummary(const workbook::Worksheet& sheet) {
        EXPECT_EQ(sheet.range(QStringLiteral("A1")).value2().toText(), ReportTitle());
        for (int i = 1; i <= PS_RFs->getCount(); ++i) {
            const TovRF& f = *PS_RFs->getItems(i);
            const workbook::CellValue v = sheet.range(f.getCell()).value2();
            SCOPED_TRACE(QStringLiteral("item %1 at %2").arg(i).arg(f.getCell()).toStdString());
            if (f.getValueState() == vsNoData) {
                EXPECT_EQ(v.toText(), UIT(txt::NoData));
            } else if (f.getValueState() == vsNotApplicable) {
                EXPECT_EQ(v.toText(), UIT(txt::NA));
            } else if (f.getValueType() == vtText) {
                EXPECT_EQ(v.toText(), f.getTextValue());
            } else {
                const double expected = f.getValueType() == vtInteger  ? f.getIntegerValue()
                                        : f.getValueType() == vtNumber ? f.getFloatValue()
                                                                       : f.getDateValue();
                ASSERT_TRUE(v.isNumber());
                EXPECT_NEAR(v.toNumber(), expected, 1e-9 * std::max(1.0, std::abs(expected)));
            }
        }
    }

    // The Chart Data block spans the project's days from row 8, each data set's S curve ends at
    // its total and is blank outside its span, and every chart reads the whole block.
    void CompareChartData(const workbook::Worksheet& sheet, const QString& package) {
        const engine::RunResults& r = process.getResults();
        const engine::RunOptions& o = process.getOptions();
        const int n = r.ProjectDays;
        const int last = 8 + n - 1;
        ASSERT_GE(n, 2);
        EXPECT_EQ(sheet.range(QStringLiteral("I4")).value2().toNumber(), r.CutOffDate);
        EXPECT_EQ(sheet.range(QStringLiteral("J5")).value2().toNumber(), 1.0);
        const workbook::ValueArray block =
            sheet.range(QStringLiteral("A8"), QStringLiteral("AK%1").arg(last)).value2Array();
        ASSERT_EQ(block.rows, n);
        for (int i = 1; i <= n; ++i) {
            ASSERT_EQ(block.at(i, 1).toNumber(), r.ProjectStart + i - 1) << i;
        }
        EXPECT_TRUE(sheet.range(QStringLiteral("A%1").arg(last + 1)).value2().isEmpty());

        const auto checkCurve = [&](int column, DataSet set, double total, int endDay) {
            double highest = 0.0;
            for (int i = 1; i <= n; ++i) {
                const workbook::CellValue& v = block.at(i, column);
                if (r.ProjectStart + i - 1 > endDay) {
                    EXPECT_TRUE(v.isEmpty()) << "column " << column << " day " << i;
                }
                highest = std::max(highest, v.toNumber());
            }
            if (set != DataSet::Actual) {
                EXPECT_NEAR(highest, total, 1e-6 * std::max(1.0, total)) << column;
            }
        };
        for (DataSet set : engine::kDataSets) {
            if (!o.generates(set)) {
                continue;
            }
            const auto& s = r.set(set);
            const int endDay = set == DataSet::Actual ? r.CutOffDate : s.LastFinish;
            if (o.GraphMH) {
                checkCurve(engine::rows::MHSCurve[static_cast<std::size_t>(Index(set))], set,
                           s.ManHoursTotal, endDay);
            }
            if (o.GraphCost) {
                checkCurve(engine::rows::CostSCurve[static_cast<std::size_t>(Index(set))], set,
                           s.CostTotal, endDay);
            }
        }

        const QRegularExpression ref(
            QStringLiteral("'Chart Data'!\\$[A-Z]+\\$(\\d+):\\$[A-Z]+\\$(\\d+)"));
        int blockRefs = 0;
        for (const QString& part : ChartParts(package)) {
            for (const auto& m : ref.globalMatch(part)) {
                if (m.captured(1).toInt() == 8) {
                    ++blockRefs;
                    EXPECT_EQ(m.captured(2).toInt(), last) << m.captured(0).toStdString();
                }
            }
        }
        EXPECT_GT(blockRefs, 0);
    }
};

TEST_F(SampleRun, EveryDefinitionWritesItsResultsIntoTheOutputWorkbook) {
    for (int n = 1; n <= SDs->getCount(); ++n) {
        SCOPED_TRACE(SDs->getItems(n)->getDescription().toStdString());
        const QString output = RunDefinition(n);
        ASSERT_FALSE(output.isEmpty());
        workbook::Application excel;
        const workbook::Workbook book = excel.workbooks().open(output);
        EXPECT_EQ(book.activeSheet().name(), QStringLiteral("Project Summary"));
        CompareProjectSummary(book.worksheets().item(QStringLiteral("Project Summary")));
        CompareChartData(book.worksheets().item(QStringLiteral("Chart Data")), output);
        book.close();
    }
    EXPECT_FALSE(fake::program().quitCalled); // the scripted program was never used
}

// Every part the run has no reason to change comes out as it was in the template: drawings,
// themes, pictures, relationships, properties. The run writes the two worksheets, their texts
// and styles, refreshes the charts' caches, makes the Project Summary active and drops the
// calculation chain (which changes the workbook's relationships and the content types).
TEST_F(SampleRun, TheOutputKeepsEveryPartTheRunDoesNotWrite) {
    const QString output = RunDefinition(1);
    ASSERT_FALSE(output.isEmpty());
    const QString templatePath = SDs->getItems(1)->SCF->getTF_DrivePathFilenameExtnXL();
    const auto before = testsupport::ReadPackage(templatePath);
    ASSERT_FALSE(before.empty()) << templatePath.toStdString();
    const QStringList written = {
        QStringLiteral("xl/worksheets/"),      QStringLiteral("xl/sharedStrings.xml"),
        QStringLiteral("xl/styles.xml"),       QStringLiteral("xl/charts/"),
        QStringLiteral("xl/workbook.xml"),     QStringLiteral("xl/calcChain.xml"),
        QStringLiteral("[Content_Types].xml"), QStringLiteral("xl/_rels/workbook.xml.rels"),
    };
    EXPECT_EQ(testsupport::ChangedParts(before, testsupport::ReadPackage(output), written),
              QStringList());
}

TEST_F(SampleRun, LibreOfficeConvertsTheOutputWorkbookToPdf) {
    if (!testsupport::LibreOfficeInstalled()) {
        GTEST_SKIP() << "LibreOffice is not installed";
    }
    const QString output = RunDefinition(1);
    ASSERT_FALSE(output.isEmpty());
    EXPECT_TRUE(testsupport::ConvertsToPdf(output));
}

} // namespace
} // namespace enginetest
