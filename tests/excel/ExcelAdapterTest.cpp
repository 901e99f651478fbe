#include "ExcelTestFixture.h"
#include "excel/ovXL_Adapter.h"

namespace {

const char* const kCurVers[] = {
    "Excel.Application.8",  "Excel.Application.9",  "Excel.Application.10", "Excel.Application.11",
    "Excel.Application.12", "Excel.Application.14", "Excel.Application.15"};

TEST_F(ExcelTest, EveryVersionReadsAndWritesTheWorksheet) {
    for (int v = 0; v < 7; ++v) {
        SCOPED_TRACE(kCurVers[v]);
        env->curVer = QString::fromUtf8(kCurVers[v]);
        fake::Sheet sheet = taskSheet();
        sheet.lastColumn = 6; // used range B3:F20 reads as last column 6, last row 20
        sheet.lastRow = 20;
        TovXL& layer = openLayer({sheet, fake::Sheet{QStringLiteral("Chart Data")}});
        EXPECT_EQ(layer.getUsedColCount(), 6);
        EXPECT_EQ(layer.getUsedRowCount(), 20);
        EXPECT_EQ(layer.getFilePath(), QStringLiteral("/data/plan.xlsx"));
        EXPECT_TRUE(fake::program().lastOpen.readOnly);
        EXPECT_EQ(fake::program().lastOpen.localAndCorruptLoadMissing, v >= 2);

        layer.ExtractRawValues(QStringLiteral("B"), 2, 4);
        ASSERT_EQ(layer.getValuesCount(), 3);
        EXPECT_EQ(layer.getValues(1), automation::Value(45000.0));
        EXPECT_EQ(layer.getValues(2), automation::Value(QStringLiteral("#N/A")));
        EXPECT_EQ(layer.getValues(3), automation::Value(45010.0));

        layer.ExtractRawValues(QStringLiteral("B"), 2, 2); // one cell: its text
        EXPECT_EQ(layer.getValues(1), automation::Value(QStringLiteral("45000")));
        layer.ExtractRawValues(QStringLiteral("C"), 2, 2); // one blank cell: empty
        EXPECT_EQ(layer.getValues(1), automation::Value());

        layer.ExtractFmtValues(QStringLiteral("A"), 2, 4);
        EXPECT_EQ(layer.getValues(3), automation::Value(QStringLiteral("Test")));
        EXPECT_TRUE(platform::PrivateClipboard::text().isEmpty());

        layer.InsertData = {QStringLiteral("x"), 2.5};
        layer.InsertValues(QStringLiteral("D"), 8, 9);
        EXPECT_EQ(fake::program().lastDataType, v >= 2 ? 10 : 0);
        layer.InsertText(QStringLiteral("E1"), QString());
        layer.InsertNumber(QStringLiteral("E2"), 3.0);
        EXPECT_EQ(fake::program().sheets[0].cells[std::make_pair(9, 4)], automation::Value(2.5));
        layer.SetFontColour(QStringLiteral("B3"), static_cast<int>(0xFF000008u));
        EXPECT_EQ(fake::program().sheets[0].fontColours[qMakePair(3, 2)], -16777208);
        layer.InsertRows(8, 10);
        EXPECT_EQ(fake::program().lastCopyOriginMissing, v >= 2);
        layer.DeleteRows(8, 10);
        EXPECT_TRUE(fake::program().calls.contains(QStringLiteral("Range.Delete -4162")));

        layer.SaveWorkbookAs(QStringLiteral("Output File"), QStringLiteral("/out/r.XLS"));
        EXPECT_EQ(fake::program().lastSaveAs.fileFormat, v >= 4 ? 56 : 0);
        layer.SaveWorkbookAs(QStringLiteral("Output File"), QStringLiteral("/out/r.xlsm"));
        EXPECT_EQ(fake::program().lastSaveAs.fileFormat, v >= 4 ? 51 : 0);
        EXPECT_EQ(layer.getFileDesc(), QStringLiteral("Output File"));
        EXPECT_EQ(layer.getFilePath(), QStringLiteral("/out/r.xlsm"));
        layer.CloseWorkbook(false);
        layer.QuitExcel();
        EXPECT_FALSE(layer.adapter()->holdsApplication());
        EXPECT_TRUE(layer.Errors.isEmpty());
    }
}

TEST_F(ExcelTest, ListsWorksheetsAndFieldsIntoTheActiveDefinition) {
    fake::Sheet second{QStringLiteral("data")};
    TovXL& layer = openLayer({taskSheet(), second, fake::Sheet{QStringLiteral("Chart Data")}});
    EXPECT_TRUE(layer.WorksheetExists(QStringLiteral("task_table1")));
    EXPECT_FALSE(layer.WorksheetExists(QStringLiteral("Task_Table1 ")));
    EXPECT_EQ(layer.getWorksheetName(), QStringLiteral("Task_Table1 "));
    layer.setWorksheetName(QStringLiteral("Task_Table1"));
    layer.InitWorksheet();
    layer.ListWorksheets(1);
    EXPECT_EQ(env->lists.worksheets[1],
              (QStringList{QStringLiteral("Task_Table1"), QStringLiteral("data"),
                           QStringLiteral("Chart Data")}));
    EXPECT_EQ(env->progress.mid(env->progress.size() - 2),
              (QStringList{QStringLiteral("Extracting Worksheet Names: 3 of 3..."),
                           QStringLiteral("hide")}));
    layer.ExtractFldList(1);
    EXPECT_EQ(env->lists.fields, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_EQ(env->lists.fieldDescs,
              (QStringList{QStringLiteral("Task"), QStringLiteral("Start")}));
    EXPECT_EQ((env->lists.samples[{2, 2}]), QStringLiteral("#N/A"));
    EXPECT_EQ((env->lists.samples[{1, 1}]), QStringLiteral("Design"));
    layer.ExtractValList(QStringLiteral("A"), 2, 2, 4);
    EXPECT_EQ(env->lists.values[2], (QStringList{QStringLiteral("Design"), QStringLiteral("Build"),
                                                 QStringLiteral("Test")}));
}

TEST_F(ExcelTest, SplitWindowsAreUnsplitAndFrozenPanesKept) {
    fake::program().split = true;
    openLayer({taskSheet()});
    EXPECT_FALSE(fake::program().split);
    fake::program().split = true;
    fake::program().frozen = true;
    xl->InitWorksheet();
    EXPECT_TRUE(fake::program().split);
}

// Each operation fails at an injected call with a description, with the bare rejected-reference
// code, or is cancelled; the lines left in Errors and the message passed on are checked.
TEST_F(ExcelTest, FailureLinesOfEveryOperation) {
    struct Case {
        const char* operation;
        const char* failingCall;
        std::function<void(TovXL&)> run;
        QStringList linesWithDescription; // before the closing empty lines are added
        bool messageEmptied;
        QStringList linesFor800A03EC;
    };
    const QString ctx1 = QStringLiteral("Task Worksheet: Task_Table1");
    const QString ctx2 = QStringLiteral("Data Source File: /data/plan.xlsx");
    const QString fails = QStringLiteral("Details: boom");
    const Case cases[] = {
        {"InitWorksheet",
         "Worksheet.Activate",
         [](TovXL& l) { l.InitWorksheet(); },
         {QStringLiteral("Unable to initialise the Task Worksheet in the Data Source File."), ctx1,
          ctx2},
         false,
         {}},
        {"SelectCell",
         "Application.Range",
         [](TovXL& l) { l.SelectCell(QStringLiteral("B3")); },
         {QStringLiteral("Unable to select the following cell in the Task Worksheet in the Data "
                         "Source File."),
          QStringLiteral("Cell: B3"), ctx1, ctx2},
         false,
         {}},
        {"ExtractRawValues",
         "Range.Value2",
         [](TovXL& l) { l.ExtractRawValues(QStringLiteral("B"), 2, 4); },
         {QStringLiteral("Unable to extract Task Field Values from the Task Worksheet in the Data "
                         "Source File."),
          fails},
         true,
         {QStringLiteral("Unable to extract Task Field Values from the Task Worksheet in the Data "
                         "Source File."),
          QStringLiteral("Task Field: B"),
          QStringLiteral("Please ensure the Data Source Map Task Fields are valid.")}},
        {"ExtractFmtValues",
         "Range.Copy",
         [](TovXL& l) { l.ExtractFmtValues(QStringLiteral("B"), 2, 4); },
         {QStringLiteral("Unable to extract formatted Task Field Values from the Task Worksheet in "
                         "the Data Source File."),
          fails},
         true,
         {QStringLiteral("Unable to extract formatted Task Field Values from the Task Worksheet in "
                         "the Data Source File."),
          QStringLiteral("Task Field: B"),
          QStringLiteral("Please ensure the Data Source Filter Task Fields are valid.")}},
        {"ExtractValList",
         "Range.Copy",
         [](TovXL& l) { l.ExtractValList(QStringLiteral("B"), 1, 2, 4); },
         {QStringLiteral("Unable to extract Task Field Values from the Task Worksheet in the Data "
                         "Source File."),
          QStringLiteral("Task Field: B"), ctx1, ctx2},
         true,
         {}},
        {"InsertText",
         "Range.SetValue",
         [](TovXL& l) { l.InsertText(QStringLiteral("J1"), QString()); },
         {QStringLiteral("Unable to insert text in the following cell in the Task Worksheet in "
                         "the Data Source File."),
          QStringLiteral("Value: "), QStringLiteral("Cell: J1"), ctx1, ctx2},
         false,
         {}},
        {"InsertNumber",
         "Range.SetValue",
         [](TovXL& l) { l.InsertNumber(QStringLiteral("J2"), 1234.5); },
         {QStringLiteral("Unable to insert number in the following cell in the Task Worksheet in "
                         "the Data Source File."),
          QStringLiteral("Value: 1,234.50"), QStringLiteral("Cell: J2"), ctx1, ctx2},
         false,
         {}},
        {"SetBackgroundColour",
         "Range.InteriorColor",
         [](TovXL& l) { l.SetBackgroundColour(QStringLiteral("C4"), 255); },
         {QStringLiteral("Unable to apply background colour to the following Cell in the Task "
                         "Worksheet in the Data Source File."),
          QStringLiteral("Cell: C4"), ctx1, ctx2},
         false,
         {}},
        {"DeleteRows",
         "Range.Delete -4162",
         [](TovXL& l) { l.DeleteRows(8, 9); },
         {QStringLiteral("Unable to delete rows in the Task Worksheet in the Data Source File."),
          ctx1, ctx2},
         false,
         {}},
        {"SaveWorkbookAs",
         "Workbook.SaveAs",
         [](TovXL& l) {
             l.SaveWorkbookAs(QStringLiteral("Output File"), QStringLiteral("/o.xlsx"));
         },
         {QStringLiteral("Unable to save the Data Source File as the Output File."), ctx2,
          QStringLiteral("Output File: /o.xlsx")},
         false,
         {}},
        {"CloseWorkbook",
         "Workbook.Close",
         [](TovXL& l) { l.CloseWorkbook(false); },
         {QStringLiteral("Unable to close the Data Source File."), ctx2},
         false,
         {}},
    };
    auto withBlanks = [](const QStringList& lines) {
        QStringList out;
        for (const QString& l : lines) {
            out << l << QString();
        }
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operation);
        for (const QString& message :
             {QStringLiteral("boom"), QStringLiteral("OLE error 800a03ec")}) {
            TovXL& layer = openLayer({taskSheet()});
            fake::program().failures[QString::fromUtf8(c.failingCall)] = message;
            try {
                c.run(layer);
                ADD_FAILURE() << "no failure";
            } catch (const platform::EAbort&) {
                ADD_FAILURE() << "aborted";
            } catch (const platform::Exception& e) {
                const bool bare = message.startsWith(QLatin1String("OLE"));
                QStringList expected = c.linesWithDescription;
                if (bare && !c.linesFor800A03EC.isEmpty()) {
                    expected = c.linesFor800A03EC;
                } else if (bare && expected.contains(fails)) {
                    expected.replace(expected.indexOf(fails),
                                     QStringLiteral("Details: OLE error 800a03ec"));
                }
                EXPECT_EQ(layer.Errors, withBlanks(expected)) << message.toStdString();
                EXPECT_EQ(e.message().isEmpty(), c.messageEmptied) << message.toStdString();
            }
        }
        // Cancel at the first pump inside the operation: the silent abort, Errors emptied.
        TovXL& layer = openLayer({taskSheet()});
        layer.Errors = QStringList{QStringLiteral("old")};
        env->pumps = 0;
        env->cancelAtPump = 1;
        EXPECT_THROW(c.run(layer), platform::EAbort);
        EXPECT_FALSE(env->cancelled);
        env->cancelAtPump = 0;
    }
}

TEST_F(ExcelTest, CancelDuringAListLoopEmptiesErrorsAndStops) {
    TovXL& layer = openLayer(
        {taskSheet(), fake::Sheet{QStringLiteral("b")}, fake::Sheet{QStringLiteral("c")}});
    layer.Errors = QStringList{QStringLiteral("old")};
    env->pumps = 0;
    env->cancelAtPump = 3; // entry pump, then the first and second worksheet
    EXPECT_THROW(layer.ListWorksheets(1), platform::EAbort);
    EXPECT_TRUE(layer.Errors.isEmpty());
    EXPECT_EQ(env->lists.worksheets[1],
              (QStringList{QStringLiteral("Task_Table1"), QString(), QString()}));
}

TEST_F(ExcelTest, StartFailureNamesTheVersion) {
    TovXL& layer = openLayer({});
    fake::program().failures[QStringLiteral("CreateApplication")] =
        QStringLiteral("not registered");
    try {
        layer.StartExcel(false);
        FAIL();
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("not registered"));
        EXPECT_EQ(
            layer.Errors,
            (QStringList{QStringLiteral("Unable to open MS Excel 2013 (64 Bit)."), QString()}));
    }
}

TEST_F(ExcelTest, QuitRetriesWhileBusyAndReportsWhenGivenUp) {
    const QString busy = QStringLiteral("OLE error 800ac472");
    {
        TovXL& layer = openLayer({taskSheet()});
        fake::program().failures[QStringLiteral("Application.Quit")] = busy;
        fake::program().failuresLeft[QStringLiteral("Application.Quit")] = 1;
        dialogue.answers = {mrRetry};
        layer.QuitExcel();
        EXPECT_EQ(dialogue.keys(), QStringList{QStringLiteral("XL003")});
        EXPECT_FALSE(layer.adapter()->holdsApplication());
        EXPECT_TRUE(layer.Errors.isEmpty());
    }
    dialogue.shown.clear();
    {
        TovXL& layer = openLayer({taskSheet()});
        fake::program().failures[QStringLiteral("Application.Quit")] = busy;
        dialogue.answers = {mrCancel};
        EXPECT_THROW(layer.QuitExcel(), platform::Exception);
        EXPECT_EQ(dialogue.keys(), (QStringList{QStringLiteral("XL003"), QStringLiteral("XL004")}));
        EXPECT_EQ(layer.Errors.size(), 6);
        EXPECT_EQ(layer.Errors[4], QStringLiteral("If MS Excel 2013 (64 Bit) is not activated, "
                                                  "please activate MS Excel 2013 (64 Bit)."));
        EXPECT_TRUE(layer.adapter()->holdsApplication());
    }
    dialogue.shown.clear();
    {
        TovXL& layer = openLayer({taskSheet()});
        fake::program().failures[QStringLiteral("Application.Quit")] = QStringLiteral("gone");
        EXPECT_THROW(layer.QuitExcel(), platform::Exception);
        EXPECT_TRUE(dialogue.shown.empty());
        EXPECT_EQ(
            layer.Errors,
            (QStringList{QStringLiteral("Unable to close MS Excel 2013 (64 Bit)."), QString()}));
        fake::program().failures.clear();
    }
}

} // namespace
