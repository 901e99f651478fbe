// The Data Source Map's rows without a window: loading and storing them against a definition,
// their checks against the spreadsheet limits of the data source workbook, the description
// update from the imported task fields, and the column letter filter.
#include "forms/tabs/TabDSMModel.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "services/ovUIL.h"

#include <gtest/gtest.h>

namespace {

const QString kXlsx = QStringLiteral("/data/plan.xlsx");
const QString kXls = QStringLiteral("/data/plan.xls");

class DataSourceMapRows : public testing::Test {
protected:
    void SetUp() override { DV = new TovDV(); }
    void TearDown() override {
        delete DV;
        DV = nullptr;
    }

    // Rows with the definition's names; letters given per row, required rows listed.
    static TDSMRows Rows(const std::vector<const char*>& letters,
                         std::initializer_list<int> required = {}) {
        TovSD sd;
        TDSMRows rows = dsm::Load(sd);
        for (int n = 1; n <= TDSMRows::Count; ++n) {
            rows.row(n).Required = false;
            rows.row(n).TaskFld = static_cast<size_t>(n - 1) < letters.size()
                                      ? QString::fromLatin1(letters[static_cast<size_t>(n - 1)])
                                      : QString();
        }
        for (int n : required) {
            rows.row(n).Required = true;
        }
        return rows;
    }

    // The marked rows and their hints ("n: hint").
    static QStringList Marked(const TDSMMarks& marks) {
        QStringList list;
        for (size_t i = 0; i < marks.size(); ++i) {
            if (marks[i].Marked) {
                list << QStringLiteral("%1: %2").arg(i + 1).arg(marks[i].Hint);
            }
        }
        return list;
    }
};

TEST_F(DataSourceMapRows, ChecksAgainstTheLimitsOfTheWorkbookFormat) {
    const QString undefined = QStringLiteral("The Baseline Start Date Task Field is undefined.");
    auto invalid = [](const char* caption, const char* last) {
        return QStringLiteral("The %1 is invalid.\r\nValid Range: A..%2")
            .arg(QLatin1String(caption), QLatin1String(last));
    };
    const struct {
        const char* name;
        std::vector<const char*> letters;
        std::initializer_list<int> required;
        QString path;
        QStringList marked;
    } cases[] = {
        {"a required blank row is undefined", {}, {1}, kXlsx, {QStringLiteral("1: ") + undefined}},
        {"an optional blank row shows nothing", {}, {}, kXlsx, {}},
        {"IV is the last column of an .xls workbook",
         {"IV", "iw"},
         {1},
         kXls,
         {QStringLiteral("2: ") + invalid("Baseline Finish Date Task Field", "IV")}},
        {"XFD is the last column otherwise",
         {"XFD", "XFE", "IW"},
         {1, 2},
         kXlsx,
         {QStringLiteral("2: ") + invalid("Baseline Finish Date Task Field", "XFD")}},
        {"letters that are no column",
         {"1A", " b "},
         {},
         kXlsx,
         {QStringLiteral("1: ") + invalid("Baseline Start Date Task Field", "XFD")}},
        {"a later row repeating a column is marked, the first is not",
         {"B", "", "", "", "b"},
         {1, 5},
         kXlsx,
         {QStringLiteral("5: The Start Date Task Field is the same as the Baseline Start Date "
                         "Task Field.")}},
        {"three rows on one column: each marks only the next",
         {"", "C", "", "c", "", "", "C"},
         {},
         kXlsx,
         {QStringLiteral("4: The Baseline Cost Task Field is the same as the Baseline Finish "
                         "Date Task Field."),
          QStringLiteral("7: The Man Hours Task Field is the same as the Baseline Cost Task "
                         "Field.")}},
        {"blank and invalid rows are never compared",
         {"", "", "1A", "1a"},
         {},
         kXlsx,
         {QStringLiteral("3: ") + invalid("Baseline Man Hours Task Field", "XFD"),
          QStringLiteral("4: ") + invalid("Baseline Cost Task Field", "XFD")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Marked(dsm::Validate(Rows(c.letters, c.required), c.path)), c.marked);
    }
}

TEST_F(DataSourceMapRows, LoadSetsTheRequiredRowsFromTheCurveOptions) {
    TovSD sd;
    sd.SCO->setGenerateBL(1);
    sd.SCO->setGenerateACT(0);
    sd.SCO->setGenerateTGT(0);
    sd.SCO->setGraphMH(1);
    sd.SCO->setGraphCost(0);
    sd.DSM->getItems(5)->setTaskFldXL(QStringLiteral("f"));
    sd.DSM->getItems(5)->setTaskFldDescXL(QStringLiteral("Start"));
    const TDSMRows rows = dsm::Load(sd);
    QList<int> required;
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        if (rows.row(n).Required) {
            required << n;
        }
        EXPECT_EQ(sd.DSM->getItems(n)->getTaskFldRequired(), rows.row(n).Required);
    }
    EXPECT_EQ(required, (QList<int>{1, 2, 3}));
    EXPECT_EQ(rows.row(5).Name, QStringLiteral("Start Date"));
    EXPECT_EQ(rows.row(5).TaskFld, QStringLiteral("F"));
    EXPECT_EQ(rows.row(5).TaskFldDesc, QStringLiteral("Start"));
}

TEST_F(DataSourceMapRows, StoreReportsOnlyRealChanges) {
    TovSD sd;
    TDSMRows rows = dsm::Load(sd);
    EXPECT_FALSE(dsm::Store(sd, rows)) << "nothing edited";

    rows.row(2).TaskFld = QStringLiteral(" c ");
    rows.row(2).TaskFldDesc = QStringLiteral("  Finish  ");
    EXPECT_TRUE(dsm::Store(sd, rows));
    EXPECT_EQ(sd.DSM->getItems(2)->getTaskFldXL(), QStringLiteral("C"));
    EXPECT_EQ(sd.DSM->getItems(2)->getTaskFldDescXL(), QStringLiteral("Finish"));

    // The same values typed in another case or with other blanks change nothing.
    rows.row(2).TaskFld = QStringLiteral("C");
    rows.row(2).TaskFldDesc = QStringLiteral("Finish");
    EXPECT_FALSE(dsm::Store(sd, rows));
    rows.row(2).TaskFldDesc = QString();
    EXPECT_TRUE(dsm::Store(sd, rows)) << "a description emptied is a change";
    EXPECT_TRUE(sd.DSM->getItems(2)->getTaskFldDescXL().isEmpty());

    // Invalid letters are kept as typed: the definition check decides at processing time.
    rows.row(3).TaskFld = QStringLiteral("1a");
    EXPECT_TRUE(dsm::Store(sd, rows));
    EXPECT_EQ(sd.DSM->getItems(3)->getTaskFldXL(), QStringLiteral("1A"));
}

TEST_F(DataSourceMapRows, UpdateDescriptionsCountsEachKindOfRow) {
    TovSD sd;
    sd.setFL_Count(2);
    sd.setFL_TaskFld(1, QStringLiteral("A"));
    sd.setFL_TaskFldDesc(1, QStringLiteral("Task"));
    sd.setFL_TaskFld(2, QStringLiteral("b"));
    sd.setFL_TaskFldDesc(2, QStringLiteral("Start\nDate"));
    sd.setFL_Loaded(true);

    TDSMRows rows = Rows({"b", "Z", "1A"});
    for (TDSMRow& row : rows.Rows) {
        row.TaskFldDesc = QStringLiteral("old");
    }
    const TDSMDescUpdate counts = dsm::UpdateDescriptions(rows, sd, kXlsx);
    EXPECT_EQ(counts.Updated, 1);
    EXPECT_EQ(counts.NotFound, 1);
    EXPECT_EQ(counts.Invalid, 1);
    EXPECT_EQ(counts.Undefined, 6);
    EXPECT_TRUE(counts.Changed);
    EXPECT_EQ(rows.row(1).TaskFldDesc, QStringLiteral("Start Date"));
    for (int n = 2; n <= TDSMRows::Count; ++n) {
        EXPECT_TRUE(rows.row(n).TaskFldDesc.isEmpty()) << n;
    }
    EXPECT_EQ(dsm::DescUpdateReport(counts),
              (QStringList{QStringLiteral("Task Field Descriptions Updated: 1"), QString(),
                           QStringLiteral("Task Fields Not Found: 1"), QString(),
                           QStringLiteral("Invalid Task Fields: 1"), QString(),
                           QStringLiteral("Undefined Task Fields: 6")}));

    const TDSMDescUpdate again = dsm::UpdateDescriptions(rows, sd, kXlsx);
    EXPECT_FALSE(again.Changed) << "the same descriptions are no change";

    // Column IW is beyond an .xls workbook's columns.
    TDSMRows old = Rows({"IW"});
    EXPECT_EQ(dsm::UpdateDescriptions(old, sd, kXls).Invalid, 1);
    TDSMDescUpdate allUpdated;
    allUpdated.Updated = 9;
    EXPECT_EQ(dsm::DescUpdateReport(allUpdated),
              QStringList{QStringLiteral("Task Field Descriptions Updated: 9")});
}

TEST(DataSourceMapLetters, OnlyColumnLettersPassTheFilter) {
    const struct {
        char16_t key;
        char16_t result;
    } cases[] = {{u'a', u'A'}, {u'z', u'Z'}, {u'Q', u'Q'},   {u'1', 0},
                 {u' ', 0},    {u'-', 0},    {8, 8},         {13, 13},
                 {27, 27},     {9, 0},       {u'\u00e9', 0}, {u'\u0410', 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(dsm::FilterLetter(QChar(c.key)).unicode(), c.result) << int(c.key);
    }
    EXPECT_EQ(dsm::InvalidLetterText(kXls),
              QStringLiteral("Please enter a valid Task Field.\r\nValid Range: A..IV"));
    EXPECT_EQ(dsm::InvalidLetterText(kXlsx),
              QStringLiteral("Please enter a valid Task Field.\r\nValid Range: A..XFD"));
}

} // namespace
