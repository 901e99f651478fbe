// The sample project processed end to end through the Excel layer and the built-in spreadsheet
// engine: every definition of the sample data file is run, and its output workbook is read back
// and compared with what the run computed.
#include "OutputFixtures.h"
#include "RunFixture.h"
#include "support/LibreOffice.h"
#include "support/Package.h"

#include "services/TextIds.h"
#include "workbook/Application.h"

#include <QCryptographicHash>
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

// A template with a note below its Chart Data block: every chart reads every day written, and
// the note stays below the block, as far below its last row as it was.
TEST_F(SampleRun, ANoteBelowTheBlockStaysBelowItAndTheChartsReadEveryDay) {
    const QString note = QStringLiteral("Checked by the planner");
    const QString noted = path(QStringLiteral("noted.xlsx"));
    {
        workbook::Application excel;
        const workbook::Workbook book =
            excel.workbooks().open(SDs->getItems(1)->SCF->getTF_DrivePathFilenameExtnXL());
        book.worksheets()
            .item(QStringLiteral("Chart Data"))
            .range(QStringLiteral("A12"))
            .setValue(workbook::CellValue::text(note));
        book.saveAs(noted);
        book.close();
    }
    SDs->getItems(1)->SCF->setTF_DrivePathFilenameExtnXL(noted);
    const QString output = RunDefinition(1);
    ASSERT_FALSE(output.isEmpty());
    const int days = process.getResults().ProjectDays;
    const int last = 8 + days - 1;

    workbook::Application excel;
    const workbook::Workbook book = excel.workbooks().open(output);
    const workbook::Worksheet sheet = book.worksheets().item(QStringLiteral("Chart Data"));
    CompareChartData(sheet, output);
    EXPECT_EQ(sheet.range(QStringLiteral("A%1").arg(last + 3)).value2().toText(), note);
    book.close();

    // Each series read from the block caches every day.
    const QRegularExpression series(
        QStringLiteral(
            "'Chart Data'!\\$[A-Z]+\\$8:\\$[A-Z]+\\$\\d+</c:f>.*?<c:ptCount val=\"(\\d+)\""),
        QRegularExpression::DotMatchesEverythingOption);
    int cached = 0;
    for (const QString& part : ChartParts(output)) {
        for (const auto& m : series.globalMatch(part)) {
            ++cached;
            EXPECT_EQ(m.captured(1).toInt(), days);
        }
    }
    EXPECT_GE(cached, 12);
}

// The stock template's output, part by part, as the block's resize from the template's used rows
// made it: a template laid out as the default one (a two-row block and nothing below it) comes
// out the same whatever decides where the block ends.
TEST_F(SampleRun, TheDefaultTemplateGivesTheOutputItAlwaysGave) {
    const std::map<QString, QByteArray> expected = {
        {QStringLiteral("[Content_Types].xml"),
         "fd7277f128536c36f38b4a6979a4b409e988895ae0fc478f007b9c7eb73b52ca"},
        {QStringLiteral("_rels/.rels"),
         "1285b20099c64699001f9d90ea040ca1c177fa99bc3ae8a841128874820f01a4"},
        {QStringLiteral("docProps/app.xml"),
         "216abebcf5cd8ec5478de4e366d9e5c9305a124d5f96eefd19a592525bf19d45"},
        {QStringLiteral("docProps/core.xml"),
         "004a281288f49e056aa9c5aa291d571ca7ba7eefffb928e377c300e8b729ae82"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         "d160f6dcd672f894ae94e9b301b3b541cd3dccbd2279d7ed500e46ce47e4b814"},
        {QStringLiteral("xl/charts/chart1.xml"),
         "4345b7a40bdc525bf890a883d1a85373c959aeecd585378338052077dd3c7357"},
        {QStringLiteral("xl/charts/chart10.xml"),
         "bbc2587f3ca519bffa2459cc300062a9130b762bb28c8d789c2545aaed64ea33"},
        {QStringLiteral("xl/charts/chart11.xml"),
         "801df64e2c986d417b0c34be0e6b5ae3758711878d627ae9e1b2266ec908ddd6"},
        {QStringLiteral("xl/charts/chart12.xml"),
         "e6110a5e2b4b9e13ffc3cbe580e07ae21a6aad670e4790b521c8d48c0554c027"},
        {QStringLiteral("xl/charts/chart2.xml"),
         "e48b5175fa430e74ba29d4b0f00eb25cb3aadc70c8b4b1c54575fc654bf0ab74"},
        {QStringLiteral("xl/charts/chart3.xml"),
         "cbf7ca1a2fa0fc4885155d51dfcd706c59ff6e43262b521545319e1750d646f9"},
        {QStringLiteral("xl/charts/chart4.xml"),
         "f55e9d6ce5b08579ad0d31186a1dcc7c3ff59a2204f17dbc3643ee65da1b5ca5"},
        {QStringLiteral("xl/charts/chart5.xml"),
         "efcb5a9b791a037d3b19bd61b1c9cc4ede2aaa1a01c349341f013797b73c91fa"},
        {QStringLiteral("xl/charts/chart6.xml"),
         "ac0c9fe2f28d04c5cfc32d9941a28df563ea99681caebeb76c321f664ef17c3c"},
        {QStringLiteral("xl/charts/chart7.xml"),
         "0f8a0aea5ca16788ac21a5c46c631feab41ff855c82255896d516c7eaf023808"},
        {QStringLiteral("xl/charts/chart8.xml"),
         "687245681a6f525e25e924202bd007f068b23deeb51726d686c79a0e1b9353a9"},
        {QStringLiteral("xl/charts/chart9.xml"),
         "d54ef8fdc671635524723e855714eaa5edfbd0c919c77e9c6eb204029f2881a9"},
        {QStringLiteral("xl/drawings/_rels/drawing1.xml.rels"),
         "8e172ee3336b8ccb4d300cd817bf9d36b59cca9a1286580f93e85e61c23d62d9"},
        {QStringLiteral("xl/drawings/drawing1.xml"),
         "9cb3f8f89aad4ddf3aa6099bc054b07ea84305c30e6708d0a85dfd9adb09ecc9"},
        {QStringLiteral("xl/sharedStrings.xml"),
         "64dc84917f50e042dce65f19f7e45c401d8dc35419955bf508e40463237fc489"},
        {QStringLiteral("xl/styles.xml"),
         "a9476c38021145fa1b4754e3dea25ceae876de3aa6ea07d2262bed5a4a166e52"},
        {QStringLiteral("xl/theme/theme1.xml"),
         "2ae67d22f62446056cd1529a3c2dbacd366f0983bb6b2ee3960b6ceb5070c5ee"},
        {QStringLiteral("xl/workbook.xml"),
         "73c34a6ce817ee8163cbc271b14bb1932e8844960446a139bfe8c70a43a3d3ab"},
        {QStringLiteral("xl/worksheets/_rels/sheet1.xml.rels"),
         "959a2cb8f146e52e35ae2867b15312494897ae807bcc2d6939be16a41d94da42"},
        {QStringLiteral("xl/worksheets/sheet1.xml"),
         "41a19867db91a134da16bdd50582ad3696816eab5579ba313f75033313417d1c"},
        {QStringLiteral("xl/worksheets/sheet2.xml"),
         "73207b1ad3f3edec5c769e8b9abe6d470def57bd569348a2f5a1d850c9740c10"},
    };
    const QString output = RunDefinition(1);
    ASSERT_FALSE(output.isEmpty());
    std::map<QString, QByteArray> actual;
    // The Project Summary names the sample workbook by its path, which depends on where the
    // build tree is: it is hashed as if the tree were at one fixed place.
    const QByteArray shareDir = QByteArrayLiteral(KRV_SHARE_DIR);
    for (auto [name, bytes] : testsupport::ReadPackage(output)) {
        bytes.replace(shareDir, QByteArrayLiteral("/share"));
        actual[name] = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    }
    QString listing;
    for (const auto& [name, hash] : actual) {
        listing += QStringLiteral("        {QStringLiteral(\"%1\"), \"%2\"},\n")
                       .arg(name, QString::fromLatin1(hash));
    }
    EXPECT_EQ(actual, expected) << listing.toStdString();
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
