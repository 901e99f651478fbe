// The imports behind the browse windows: worksheet names, task fields and distinct task field
// values read through the Excel layer from a scripted spreadsheet program (and once from the
// sample workbook through the built-in engine) into the active definition's caches.
#include "RecordingProgress.h"
#include "RunFixture.h"

#include "engine/DistinctValues.h"
#include "platform/Format.h"
#include "program/ProgramAdapters.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "workbook/Application.h"

#include <QFile>

#include <functional>

namespace enginetest {
namespace {

using platform::Format;

const QString kDSF = QStringLiteral("Data Source File");
const QString kTaskWS = QStringLiteral("Task Worksheet");

using ValueListPairs = std::vector<std::pair<QString, int>>;

// The program's own environment for the layer, over the scripted spreadsheet program's registry.
class ImportEnvironment : public TProgramXLEnvironment {
public:
    bool regValueExists(Root root, const QString& key, const QString& name) override {
        return registry.regValueExists(root, key, name);
    }
    QString regReadString(Root root, const QString& key, const QString& name,
                          const QString& defaultValue) override {
        return registry.regReadString(root, key, name, defaultValue);
    }
    fake::Environment registry;
};

// A progress window whose user presses Cancel while the given line shows the given count.
class CancelAtLine : public RunProgress {
public:
    CancelAtLine(QString line) : line_(std::move(line)) {}
    void UpdateStep(const QString& text) override {
        RunProgress::UpdateStep(text);
        if (text == line_) {
            cancelled = true;
        }
    }

private:
    QString line_;
};

// The first n small letters, one per row.
QStringList Letters(int n) {
    QStringList list;
    for (int i = 0; i < n; ++i) {
        list << QString(QLatin1Char(static_cast<char>('a' + i)));
    }
    return list;
}

class Import : public RunFixture {
public:
    void SetUp() override {
        RunFixture::SetUp();
        SDs->setActiveSD(1);
        auto owned = std::make_unique<ImportEnvironment>();
        owned->registry.curVer = QStringLiteral("Excel.Application.15");
        runEnvironment = setXLEnvironment(std::move(owned));
        // The layer's adapters keep the environment they were made with.
        delete XL;
        XL = new TovXL();
    }

    // A worksheet "Tasks" whose column A holds the values below a header in row 1.
    static fake::Sheet ValueSheet(const QStringList& values, int extraUsedRows = 0) {
        fake::Sheet sheet(QStringLiteral("Tasks"));
        sheet.cells[{1, 1}] = QStringLiteral("Status");
        int row = 1;
        for (const QString& v : values) {
            ++row;
            if (!v.isEmpty()) {
                sheet.cells[{row, 1}] = v;
            }
        }
        sheet.lastColumn = 1;
        sheet.lastRow = row + extraUsedRows;
        return sheet;
    }

    bool ImportNames() { return process.ImportWorksheetNames(kDSF, plan(), QString(), 1); }
    bool ImportFields(int headerRow = 1) {
        return process.ImportTaskFields(kDSF, plan(), QString(), kTaskWS, QStringLiteral("Tasks"),
                                        headerRow);
    }
    // Imports column A into value list 1.
    bool ImportValues(int headerRow = 1) {
        if (sd().getVL_Count() < 1) {
            sd().setVL_Count(1);
            sd().setVL_TaskFld(1, QStringLiteral("A"));
        }
        return process.ImportTaskFieldValues(kDSF, plan(), QString(), kTaskWS,
                                             QStringLiteral("Tasks"), QStringLiteral("A"), 1,
                                             headerRow);
    }

    QString plan() const { return path(QStringLiteral("plan.xlsx")); }

    // Value list 1 as (text, task count) pairs.
    ValueListPairs ValueList() {
        ValueListPairs list;
        for (int k = 1; k <= sd().getVL_TaskFldValCount(1); ++k) {
            list.emplace_back(sd().getVL_TaskFldValue(1, k), sd().getVL_TaskFldValTaskCount(1, k));
        }
        return list;
    }

    QStringList Headline(int text) const { return {Format(UIT(text), {kDSF}), QString()}; }

    std::unique_ptr<XLEnvironment> runEnvironment;
};

TEST_F(Import, WorksheetNamesFillTheListInWorkbookOrderUnderFiveSteps) {
    fake::program().sheets = Workbook({});
    sd().setWSL_Count(2, 1);
    sd().setWSL_WS(2, 1, QStringLiteral("Template sheet"));

    ASSERT_TRUE(ImportNames()) << keys().join(QLatin1Char(',')).toStdString();
    ASSERT_EQ(sd().getWSL_Count(1), 3);
    EXPECT_EQ(sd().getWSL_WS(1, 1), QStringLiteral("Tasks"));
    EXPECT_EQ(sd().getWSL_WS(1, 2), QStringLiteral("Project Summary"));
    EXPECT_EQ(sd().getWSL_WS(1, 3), QStringLiteral("Chart Data"));
    EXPECT_TRUE(sd().getWSL_Loaded(1));
    EXPECT_EQ(sd().getWSL_WS(2, 1), QStringLiteral("Template sheet")); // other lists untouched
    EXPECT_FALSE(sd().getWSL_Loaded(2));

    EXPECT_EQ(progress.caption,
              QStringLiteral(" Ovik KRV Tessel: Extracting Data Source File Worksheet Names "));
    EXPECT_EQ(progress.totalSteps, 5);
    const QStringList expected = {UIT(txt::OpeningMSExcel), Format(UIT(txt::Opening), {kDSF}),
                                  Format(UIT(txt::ExtractingWorksheetNames_1554), {3, 3}),
                                  Format(UIT(txt::Closing), {kDSF}), UIT(txt::ClosingMSExcel)};
    ASSERT_EQ(progress.lines.size(), expected.size())
        << progress.lines.join(QLatin1Char('\n')).toStdString();
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(progress.lines[i],
                  QStringLiteral(" [%1] %2 %3 ").arg(i + 1).arg(expected[i], UIT(txt::Complete)));
    }
    EXPECT_FALSE(progress.visible);
    EXPECT_TRUE(dialogue.shown.empty());
    EXPECT_TRUE(fake::program().lastOpen.readOnly);
    EXPECT_TRUE(fake::program().quitCalled);
    EXPECT_EQ(process.getStepLineFormat(), QStringLiteral(" [%.1d] %s "));
    EXPECT_EQ(AD->MessageLog, Headline(1444));
}

TEST_F(Import, TaskFieldsTakeLettersTrimmedHeadersAndSampleValues) {
    UP->setImportTaskFldValueCount(3);
    fake::Sheet sheet(QStringLiteral("Tasks"));
    sheet.cells[{1, 1}] = QStringLiteral("Project Plan");
    sheet.cells[{2, 1}] = QStringLiteral(" Task ");
    sheet.cells[{2, 2}] = QStringLiteral("Start");
    sheet.cells[{3, 1}] = QStringLiteral("Design");
    sheet.cells[{3, 2}] = 44256.0;
    sheet.cells[{4, 1}] = QStringLiteral(" Build ");
    sheet.lastColumn = 2;
    sheet.lastRow = 4;
    fake::program().sheets = {sheet};

    ASSERT_TRUE(ImportFields(2)) << keys().join(QLatin1Char(',')).toStdString();
    ASSERT_EQ(sd().getFL_Count(), 2);
    EXPECT_TRUE(sd().getFL_Loaded());
    EXPECT_EQ(sd().getFL_TaskFld(1), QStringLiteral("A"));
    EXPECT_EQ(sd().getFL_TaskFld(2), QStringLiteral("B"));
    EXPECT_EQ(sd().getFL_TaskFldDesc(1), QStringLiteral("Task"));
    EXPECT_EQ(sd().getFL_TaskFldDesc(2), QStringLiteral("Start"));
    EXPECT_EQ(sd().getFL_TaskFldValue(1, 1), QStringLiteral("Design"));
    EXPECT_EQ(sd().getFL_TaskFldValue(1, 2), QStringLiteral("Build"));
    EXPECT_EQ(sd().getFL_TaskFldValue(1, 3), QString());
    EXPECT_EQ(sd().getFL_TaskFldValue(2, 1), QStringLiteral("44256"));
    EXPECT_EQ(progress.totalSteps, 7);
    EXPECT_EQ(progress.lines.size(), 7);
    EXPECT_TRUE(progress.lines[2].contains(Format(UIT(txt::VerifyingExists), {kTaskWS})));
    EXPECT_TRUE(progress.lines[3].contains(Format(UIT(txt::Initialising_454), {kTaskWS})));
    EXPECT_TRUE(progress.lines[4].contains(Format(UIT(txt::ExtractingTaskFields_1555), {2, 2})));
    EXPECT_TRUE(dialogue.shown.empty());
}

TEST_F(Import, TaskFieldValuesAreDistinctByTheLettersAToZOnlyInOrderOfFirstOccurrence) {
    const struct {
        std::vector<const char*> column; // UTF-8
        std::vector<std::pair<const char*, int>> expected;
    } cases[] = {
        {{"abc", "ABC", "Abc"}, {{"abc", 3}}},
        {{"abc", "", "abc"}, {{"abc", 2}, {"", 1}}},
        {{"\u00e9", "\u00c9", "x\u00e9", "X\u00e9"},
         {{"\u00e9", 1}, {"\u00c9", 1}, {"x\u00e9", 2}}},
        {{"", "b", "", ""}, {{"", 3}, {"b", 1}}},
        {{"Open", "Closed", "OPEN", "closed"}, {{"Open", 2}, {"Closed", 2}}},
    };
    for (const auto& c : cases) {
        QStringList column;
        for (const char* v : c.column) {
            column << QString::fromUtf8(v);
        }
        ValueListPairs expected;
        for (const auto& [text, count] : c.expected) {
            expected.emplace_back(QString::fromUtf8(text), count);
        }
        SCOPED_TRACE(column.join(QLatin1Char('|')).toStdString());
        sd().ResetVL();
        dialogue.shown.clear();
        fake::program().sheets = {ValueSheet(column)};
        ASSERT_TRUE(ImportValues()) << keys().join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(ValueList(), expected);
        EXPECT_TRUE(sd().getVL_Loaded(1));
        EXPECT_EQ(sd().getVL_TaskCount(), column.size());
    }
    EXPECT_EQ(progress.totalSteps, 8);
    EXPECT_EQ(progress.lines.size(), 8);
    EXPECT_EQ(
        progress.lines.last(),
        QStringLiteral(" [8] %1 %2 ")
            .arg(Format(UIT(txt::RemovingDuplicateTaskFieldValues), {4, 4}), UIT(txt::Complete)));
    EXPECT_FALSE(progress.stepProgressShown);
}

TEST_F(Import, TheTaskCountCountsEveryUsedRowBelowTheHeaderRowBlankRowsIncluded) {
    const QString a = QStringLiteral("a");
    const QString b = QStringLiteral("b");
    fake::program().sheets = {ValueSheet({a, QString(), b}, 2)};
    ASSERT_TRUE(ImportValues());
    EXPECT_EQ(sd().getVL_TaskCount(), 5);
    EXPECT_EQ(ValueList(), (ValueListPairs{{a, 1}, {QString(), 3}, {b, 1}}));
}

// A header row on or below the last used row leaves no task rows: the column has no values.
TEST_F(Import, AHeaderRowAtOrBeyondTheUsedRowsReportsAnEmptyTaskField) {
    for (const int headerRow : {4, 9}) {
        SCOPED_TRACE(headerRow);
        dialogue.shown.clear();
        fake::program() = fake::Program{};
        fake::program().sheets = {ValueSheet(Letters(3))};
        EXPECT_FALSE(ImportValues(headerRow));
        ASSERT_EQ(keys(), QStringList{QStringLiteral("UP023")});
        EXPECT_EQ(dialogue.shown[0].lines, (QStringList{UIT(txt::FollowingTaskFieldDoes), QString(),
                                                        QStringLiteral("Task Field: A"), QString(),
                                                        UIT(txt::PleaseSelectValidTaskField)}));
        EXPECT_EQ(dialogue.shown[0].kind, sdkWarning);
        EXPECT_FALSE(sd().getVL_Loaded(1));
        EXPECT_EQ(sd().getVL_TaskFldValCount(1), 0);
        EXPECT_TRUE(fake::program().calls.contains(QStringLiteral("Workbook.Close")));
        EXPECT_TRUE(fake::program().quitCalled);
        EXPECT_FALSE(progress.visible);
    }
}

// Every failure is shown with its key and the message log; the cache being built is left
// unloaded, and Excel is always quit.
TEST_F(Import, EveryFailureIsShownWithItsKeyAndLeavesTheCacheUnloaded) {
    const QString missing = QStringLiteral("Task Worksheet: Tasks");
    const QString notFound = Format(UIT(txt::WasNotFound), {kTaskWS, kDSF});
    const struct {
        const char* name;
        std::function<void(fake::Program&)> script;
        std::function<bool(Import&)> run;
        const char* key;
        int headline;
        // The last lines shown; without them, the text of the injected failure must show.
        std::function<QStringList(Import&)> lines;
        QString failure;
    } cases[] = {
        {"no worksheets (chart sheets only)",
         [](fake::Program& p) { p.sheets.clear(); },
         [](Import& t) { return t.ImportNames(); },
         "UP015",
         0,
         [](Import& t) {
             return QStringList{Format(UIT(txt::FollowingDoesNotContainAny), {kDSF}), QString(),
                                t.plan(), QString(),
                                Format(UIT(txt::PleaseSelectValid_1460), {kDSF})};
         },
         {}},
        {"the workbook does not open",
         [](fake::Program& p) {
             p.failures[QStringLiteral("Workbooks.Open")] = QStringLiteral("locked");
         },
         [](Import& t) { return t.ImportNames(); }, "UP017", 1444, nullptr,
         QStringLiteral("locked")},
        {"no used column",
         [](fake::Program& p) { p.sheets[0].lastColumn = 0; },
         [](Import& t) { return t.ImportFields(); },
         "UP018",
         0,
         [&](Import&) {
             return QStringList{Format(UIT(txt::DoesNotContainAnyTask), {kTaskWS}), QString(),
                                missing, QString(),
                                Format(UIT(txt::PleaseSelectValid_1464), {kTaskWS})};
         },
         {}},
        {"fields: missing worksheet",
         [](fake::Program& p) { p.sheets[0].name = QStringLiteral("Other"); },
         [](Import& t) { return t.ImportFields(); },
         "UP020",
         1445,
         [&](Import& t) {
             return QStringList{
                 QStringLiteral("Details: ") + notFound,          QString(), missing, QString(),
                 QStringLiteral("Data Source File: ") + t.plan(), QString()};
         },
         {}},
        {"values: missing worksheet",
         [](fake::Program& p) { p.sheets[0].name = QStringLiteral("Other"); },
         [](Import& t) { return t.ImportValues(); },
         "UP025",
         1446,
         [&](Import& t) {
             return QStringList{
                 QStringLiteral("Details: ") + notFound,          QString(), missing, QString(),
                 QStringLiteral("Data Source File: ") + t.plan(), QString()};
         },
         {}},
        {"values: the column cannot be read",
         [](fake::Program& p) {
             p.failures[QStringLiteral("Range.Copy")] = QStringLiteral("read error");
         },
         [](Import& t) { return t.ImportValues(); }, "UP025", 1446, nullptr,
         Format(UIT(txt::UnableToExtractTaskFieldValues_1594), {kTaskWS, kDSF})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::program() = fake::Program{};
        fake::program().sheets = {ValueSheet(Letters(2))};
        c.script(fake::program());
        dialogue.shown.clear();
        sd().ResetCaches();
        sd().setVL_Count(1);
        sd().setVL_TaskFld(1, QStringLiteral("A"));

        EXPECT_FALSE(c.run(*this));
        ASSERT_EQ(keys(), QStringList{QString::fromLatin1(c.key)});
        const QStringList shown = dialogue.shown[0].lines;
        if (c.headline == 0) {
            EXPECT_EQ(shown, c.lines(*this)); // an empty result shows its own lines only
        } else {
            ASSERT_GE(shown.size(), 3);
            EXPECT_EQ(shown.mid(0, 2), Headline(c.headline));
            if (c.lines) {
                EXPECT_EQ(shown.mid(shown.size() - 6), c.lines(*this));
            } else {
                // The Excel layer's lines name the failure.
                EXPECT_TRUE(shown.mid(2).join(QLatin1Char('\n')).contains(c.failure))
                    << shown.join(QLatin1Char('\n')).toStdString();
            }
        }
        EXPECT_FALSE(sd().getWSL_Loaded(1));
        EXPECT_FALSE(sd().getFL_Loaded());
        EXPECT_FALSE(sd().getVL_Loaded(1));
        EXPECT_TRUE(fake::program().quitCalled);
        EXPECT_FALSE(progress.visible);
        EXPECT_FALSE(progress.cancelled);
    }
}

TEST_F(Import, CancelResetsTheCacheBeingBuiltAndShowsTheLogWithoutDetails) {
    const struct {
        const char* key;
        int headline;
        std::function<bool(Import&)> run;
        std::function<bool(TovSD&)> cacheEmpty;
    } cases[] = {
        {"UP016", 1444, [](Import& t) { return t.ImportNames(); },
         [](TovSD& d) { return d.getWSL_Count(1) == 0 && !d.getWSL_Loaded(1); }},
        {"UP019", 1445, [](Import& t) { return t.ImportFields(); },
         [](TovSD& d) { return d.getFL_Count() == 0 && !d.getFL_Loaded(); }},
        {"UP024", 1446, [](Import& t) { return t.ImportValues(); },
         [](TovSD& d) { return d.getVL_Count() == 0 && d.getVL_TaskCount() == 0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        fake::program() = fake::Program{};
        fake::program().sheets = {ValueSheet(Letters(2))};
        dialogue.shown.clear();
        sd().setWSL_Count(1, 1);
        sd().setWSL_Loaded(1, true);
        sd().setFL_Count(1);
        sd().setVL_Count(2);
        sd().setVL_TaskCount(7);
        progress.cancelAfterPolls = 3; // while Excel opens the workbook
        progress.polls = 0;

        EXPECT_FALSE(c.run(*this));
        ASSERT_EQ(keys(), QStringList{QString::fromLatin1(c.key)});
        EXPECT_EQ(dialogue.shown[0].lines,
                  Headline(c.headline) +
                      QStringList({UIT(txt::CurrentOperationHasBeenCancelled), QString()}));
        EXPECT_TRUE(c.cacheEmpty(sd()));
        EXPECT_TRUE(fake::program().quitCalled);
        EXPECT_FALSE(progress.cancelled);
    }
}

TEST_F(Import, CancelDuringTheDuplicateRemovalEmptiesEveryValueList) {
    QStringList column;
    for (int i = 0; i < 10000; ++i) {
        column << QStringLiteral("v%1").arg(i % 700);
    }
    fake::program().sheets = {ValueSheet(column)};
    sd().setVL_Count(2);
    sd().setVL_TaskFld(1, QStringLiteral("A"));
    sd().setVL_TaskFld(2, QStringLiteral("B"));
    sd().setVL_TaskFldValCount(2, 1);
    sd().setVL_Loaded(2, true);
    CancelAtLine cancelling(Format(UIT(txt::RemovingDuplicateTaskFieldValues), {200, 10000}));

    EXPECT_FALSE(ImportValues());
    ASSERT_EQ(keys(), QStringList{QStringLiteral("UP024")});
    EXPECT_EQ(sd().getVL_Count(), 0);
    EXPECT_EQ(sd().getVL_TaskCount(), 0);
    EXPECT_FALSE(cancelling.visible);
}

// Values are compared as they stand, only a..z folded.
TEST(DistinctValues, OnlyTheLettersAToZAreFoldedAndNothingIsTrimmed) {
    const std::vector<QString> raw = {
        QStringLiteral("open"),          QStringLiteral("open "),
        QStringLiteral(" OPEN"),         QStringLiteral("OPEN"),
        QStringLiteral("\u00e9t\u00e9"), QStringLiteral("\u00c9T\u00c9"),
        QStringLiteral("\u00e9T\u00e9")};
    RecordingProgress sink;
    engine::StageProgress stages(sink);
    const std::vector<engine::DistinctValue> distinct = engine::DistinctValues(raw, stages);
    const std::vector<std::pair<QString, int>> expected = {{QStringLiteral("open"), 2},
                                                           {QStringLiteral("open "), 1},
                                                           {QStringLiteral(" OPEN"), 1},
                                                           {QStringLiteral("\u00e9t\u00e9"), 2},
                                                           {QStringLiteral("\u00c9T\u00c9"), 1}};
    ASSERT_EQ(distinct.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_EQ(distinct[k].Text, expected[k].first) << k;
        EXPECT_EQ(distinct[k].TaskCount, expected[k].second) << k;
    }
    EXPECT_EQ(sink.lines, QStringList{Format(UIT(txt::RemovingDuplicateTaskFieldValues), {7, 7}) +
                                      QLatin1Char(' ') + UIT(txt::Complete)});
    EXPECT_FALSE(sink.stepBarShown);
}

// The counted step checks for Cancel on every 150th value only.
TEST(DistinctValues, CancelIsNoticedAtTheNextMultipleOf150) {
    class PressAt200 : public RecordingProgress {
    public:
        void UpdateStep(const QString& text) override {
            RecordingProgress::UpdateStep(text);
            if (updates == 200) {
                flag = true;
            }
        }
    } sink;
    engine::StageProgress stages(sink);
    std::vector<QString> raw(10000, QStringLiteral("x"));
    EXPECT_THROW(engine::DistinctValues(raw, stages), platform::EAbort);
    EXPECT_EQ(sink.updates, 300);
    EXPECT_FALSE(sink.flag);
    EXPECT_EQ(sink.lines.last(), Format(UIT(txt::RemovingDuplicateTaskFieldValues), {300, 10000}));
}

// The sample project's workbook through the built-in spreadsheet engine: the imports agree with
// what the engine itself reads.
class SampleImport : public Import {
protected:
    void SetUp() override {
        Import::SetUp();
        automation::setApplicationFactory(nullptr);
        sample = QStringLiteral(KRV_SHARE_DIR "/Samples/Sample.xlsx");
        if (!QFile::exists(sample)) {
            GTEST_SKIP() << "the generated sample workbook is missing";
        }
    }
    QString sample;
};

TEST_F(SampleImport, ImportsAgreeWithTheWorkbook) {
    workbook::Application excel;
    const workbook::Workbook book = excel.workbooks().open(sample);
    const workbook::Worksheet tasks = book.worksheets().item(1);

    ASSERT_TRUE(process.ImportWorksheetNames(kDSF, sample, QString(), 1));
    ASSERT_EQ(sd().getWSL_Count(1), book.worksheets().count());
    EXPECT_EQ(sd().getWSL_WS(1, 1), tasks.name());

    ASSERT_TRUE(process.ImportTaskFields(kDSF, sample, QString(), kTaskWS, tasks.name(), 1));
    const workbook::Range used = tasks.usedRange();
    ASSERT_EQ(sd().getFL_Count(), used.lastColumn());
    for (int c = 1; c <= used.lastColumn(); ++c) {
        EXPECT_EQ(sd().getFL_TaskFldDesc(c), tasks.cells(1, c).text().trimmed()) << c;
    }

    sd().setVL_Count(1);
    sd().setVL_TaskFld(1, QStringLiteral("A"));
    ASSERT_TRUE(process.ImportTaskFieldValues(kDSF, sample, QString(), kTaskWS, tasks.name(),
                                              QStringLiteral("A"), 1, 1));
    const int rows = used.lastRow() - 1;
    EXPECT_EQ(sd().getVL_TaskCount(), rows);
    int total = 0;
    QStringList seen;
    for (int k = 1; k <= sd().getVL_TaskFldValCount(1); ++k) {
        total += sd().getVL_TaskFldValTaskCount(1, k);
        const QString key = UpperCaseAZ(sd().getVL_TaskFldValue(1, k));
        EXPECT_FALSE(seen.contains(key)) << key.toStdString();
        seen << key;
    }
    EXPECT_EQ(total, rows);
    EXPECT_EQ(UpperCaseAZ(sd().getVL_TaskFldValue(1, 1)), UpperCaseAZ(tasks.cells(2, 1).text()));
    EXPECT_TRUE(dialogue.shown.empty()) << keys().join(QLatin1Char(',')).toStdString();
    book.close();
}

} // namespace
} // namespace enginetest
