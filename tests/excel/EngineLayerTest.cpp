// The Excel layer over the built-in spreadsheet engine, for every version adapter: the sample
// project's task worksheet is read and the default template is filled and saved.
#include "ExcelTestFixture.h"
#include "workbook/Application.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

const QString kSample = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.xlsx");
const QString kTemplate = QStringLiteral(KRV_SHARE_DIR "/Templates/Ovik_KRV_Tessel_Template.xlsx");

class EngineLayerTest : public ExcelTest {
protected:
    void SetUp() override {
        ExcelTest::SetUp();
        automation::setApplicationFactory(nullptr); // the built-in engine
        if (!QFile::exists(kSample) || !QFile::exists(kTemplate)) {
            GTEST_SKIP() << "the generated sample and template are missing";
        }
    }
};

TEST_F(EngineLayerTest, EveryVersionReadsTheSampleAndWritesTheTemplate) {
    const char* const curVers[] = {"Excel.Application.8",  "Excel.Application.9",
                                   "Excel.Application.10", "Excel.Application.11",
                                   "Excel.Application.12", "Excel.Application.14",
                                   "Excel.Application.15"};
    QTemporaryDir out;
    for (const char* curVer : curVers) {
        SCOPED_TRACE(curVer);
        env->curVer = QString::fromUtf8(curVer);
        TovXL layer;
        layer.StartExcel(false);
        layer.setFileDesc(QStringLiteral("Data Source File"));
        layer.OpenWorkbook(kSample, QString(), QString(), true);
        layer.setWorksheetDesc(QStringLiteral("Task Worksheet"));
        ASSERT_TRUE(layer.WorksheetExists(QStringLiteral("task_table1")));
        layer.InitWorksheet();
        EXPECT_EQ(layer.getUsedColCount(), 13);
        ASSERT_GT(layer.getUsedRowCount(), 300);
        layer.ExtractRawValues(QStringLiteral("G"), 2, 4);
        EXPECT_TRUE(std::holds_alternative<double>(layer.getValues(1)));
        layer.ExtractFmtValues(QStringLiteral("A"), 1, 3);
        EXPECT_EQ(layer.getValues(1), automation::Value(QStringLiteral("Task ID")));
        layer.ListWorksheets(1);
        EXPECT_EQ(env->lists.worksheets[1].value(0), QStringLiteral("Task_Table1"));
        layer.ExtractFldList(1);
        ASSERT_EQ(env->lists.fields.size(), 13);
        EXPECT_EQ(env->lists.fieldDescs.value(0), QStringLiteral("Task ID"));
        EXPECT_FALSE((env->lists.samples[{2, 1}]).isEmpty());
        // A date cell's sample reads as the program's date text.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d-[A-Z][a-z]{2}-\\d{4}$"))
                        .match(env->lists.samples[{5, 1}])
                        .hasMatch())
            << env->lists.samples[{5, 1}].toStdString();
        layer.CloseWorkbook(false);

        layer.setFileDesc(QStringLiteral("Template File"));
        layer.OpenWorkbook(kTemplate, QString(), QString(), true);
        layer.setWorksheetDesc(QStringLiteral("Chart Data Worksheet"));
        ASSERT_TRUE(layer.WorksheetExists(QStringLiteral("Chart Data")));
        layer.InitWorksheet();
        layer.InsertRows(9, 14); // the two-row block grows to eight rows, then loses two
        layer.DeleteRows(10, 11);
        layer.InsertData = {QStringLiteral("01-Mar-2026"), QStringLiteral("02-Mar-2026"),
                            QStringLiteral("03-Mar-2026"), QStringLiteral("04-Mar-2026"),
                            QStringLiteral("05-Mar-2026"), QStringLiteral("06-Mar-2026")};
        layer.InsertValues(QStringLiteral("A"), 8, 13);
        layer.InsertData = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
        layer.InsertValues(QStringLiteral("B"), 8, 13);
        layer.InsertText(QStringLiteral("A1"), QStringLiteral("Chart Data of the test"));
        layer.SetFontColour(QStringLiteral("A1"), 255);
        layer.SetBackgroundColour(QStringLiteral("A1"), 0xFF000005);
        layer.SelectCell(QStringLiteral("B8"));
        const QString saved = out.filePath(QString::fromUtf8(curVer) + QStringLiteral(".xlsx"));
        layer.SaveWorkbookAs(QStringLiteral("Output File"), saved);
        layer.CloseWorkbook(false);
        layer.QuitExcel();
        EXPECT_TRUE(layer.Errors.isEmpty());

        workbook::Application check;
        const workbook::Workbook book = check.workbooks().open(saved);
        const workbook::Worksheet sheet = book.worksheets().item(QStringLiteral("Chart Data"));
        EXPECT_EQ(sheet.range(QStringLiteral("A1")).text(),
                  QStringLiteral("Chart Data of the test"));
        EXPECT_EQ(sheet.range(QStringLiteral("B13")).value2().toNumber(), 6.0);
        EXPECT_TRUE(sheet.range(QStringLiteral("A13")).value().kind() ==
                    workbook::CellValue::Kind::Date);
    }
}

TEST_F(EngineLayerTest, AMissingWorkbookFailsWithTheOpenLines) {
    TovXL layer;
    layer.StartExcel(false);
    layer.setFileDesc(QStringLiteral("Data Source File"));
    EXPECT_THROW(
        layer.OpenWorkbook(QStringLiteral("/no/such/plan.xlsx"), QString(), QString(), true),
        platform::Exception);
    EXPECT_EQ(layer.Errors.value(0), QStringLiteral("Unable to open the Data Source File."));
    EXPECT_EQ(layer.Errors.value(2), QStringLiteral("Data Source File: /no/such/plan.xlsx"));
    layer.QuitExcel();
}

} // namespace
