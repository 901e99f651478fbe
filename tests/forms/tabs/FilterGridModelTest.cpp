// The filter rows as the filter tab edits them: the row commands, the defaults a row with a task
// field gets, storing into and loading from the definition's filter, the row checks and the
// update of the task field descriptions.
#include "forms/tabs/FilterGridModel.h"
#include "FilterRows.h"

#include "model/XLLimits.h"
#include "model/ovDSF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace formstest {
namespace {

using TRows = QStringList;

// A grid from rows written "And/Or|Task Field|Description|Operator|Value"; missing rows are
// empty. List cells get the index their text stands for.
TFilterGridModel Grid(const TRows& rows) {
    TFilterGridModel m;
    for (int r = 1; r <= rows.size(); ++r) {
        const QStringList cells = rows[r - 1].split(QLatin1Char('|'));
        for (int c = 1; c <= cells.size(); ++c) {
            const QString& text = cells[c - 1];
            int item = -1;
            if (!text.isEmpty() && c == fcAndOr) {
                item = TFilterGridModel::AndOrItemOf(text);
            } else if (!text.isEmpty() && c == fcOperator) {
                item = TFilterGridModel::OperatorItemOf(text);
            }
            m.setCell(c, r, text, item);
        }
    }
    return m;
}

// The rows as Grid writes them, trailing empty rows left out.
TRows Rows(const TFilterGridModel& m) {
    return FilterRows(m);
}

const QString kEmpty = QStringLiteral("||||");

struct CommandCase {
    const char* name;
    TRows before;
    std::function<void(TFilterGridModel&)> command;
    TRows after;
};

TEST(FilterGridModel, RowCommandsMoveTextsAndKeepTheFirstRowWithoutAndOr) {
    const TRows full = {QStringLiteral("|A||Equals|1"), QStringLiteral("And|B||Equals|2"),
                        QStringLiteral("Or|C||Equals|3"), QStringLiteral("And|D||Equals|4"),
                        QStringLiteral("Or|E||Equals|5")};
    const CommandCase cases[] = {
        {"insert above row 1: the former row 1 joins with And",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")},
         [](TFilterGridModel& m) { m.Insert(1); },
         {kEmpty, QStringLiteral("And|A||Equals|x"), QStringLiteral("Or|B||Contains|y")}},
        {"insert into a full grid loses row 5",
         full,
         [](TFilterGridModel& m) { m.Insert(3); },
         {full[0], full[1], kEmpty, full[2], full[3]}},
        {"insert above a row without And/Or gives it And",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("|B|||")},
         [](TFilterGridModel& m) { m.Insert(2); },
         {QStringLiteral("|A||Equals|x"), kEmpty, QStringLiteral("And|B|||")}},
        {"delete row 1: the next row moves up without its And/Or",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B|b|Contains|y"),
          QStringLiteral("And|C||Is Blank|")},
         [](TFilterGridModel& m) { m.Delete(1); },
         {QStringLiteral("|B|b|Contains|y"), QStringLiteral("And|C||Is Blank|")}},
        {"delete row 3 of a full grid empties row 5",
         full,
         [](TFilterGridModel& m) { m.Delete(3); },
         {full[0], full[1], full[3], full[4]}},
        {"up on row 2: the new row 1 has no And/Or, the former row 1 joins with And",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")},
         [](TFilterGridModel& m) { m.MoveUp(2); },
         {QStringLiteral("|B||Contains|y"), QStringLiteral("And|A||Equals|x")}},
        {"up on row 2 with a row 1 without task field leaves its And/Or empty",
         {QStringLiteral("|||Equals|"), QStringLiteral("Or|B||Equals|y")},
         [](TFilterGridModel& m) { m.MoveUp(2); },
         {QStringLiteral("|B||Equals|y"), QStringLiteral("|||Equals|")}},
        {"up on row 4 swaps whole rows",
         full,
         [](TFilterGridModel& m) { m.MoveUp(4); },
         {full[0], full[1], full[3], full[2], full[4]}},
        {"up on row 1 does nothing", full, [](TFilterGridModel& m) { m.MoveUp(1); }, full},
        {"down on row 1 is up on row 2",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")},
         [](TFilterGridModel& m) { m.MoveDown(1); },
         {QStringLiteral("|B||Contains|y"), QStringLiteral("And|A||Equals|x")}},
        {"up on row 2 sets only the join: an operator left empty stays empty",
         {QStringLiteral("|A|a||x"), QStringLiteral("Or|B||Contains|y")},
         [](TFilterGridModel& m) { m.MoveUp(2); },
         {QStringLiteral("|B||Contains|y"), QStringLiteral("And|A|a||x")}},
        {"down on row 1 sets only the join: an operator left empty stays empty",
         {QStringLiteral("|A|||"), QStringLiteral("And|B||Equals|y")},
         [](TFilterGridModel& m) { m.MoveDown(1); },
         {QStringLiteral("|B||Equals|y"), QStringLiteral("And|A|||")}},
        {"down on row 2 swaps whole rows",
         full,
         [](TFilterGridModel& m) { m.MoveDown(2); },
         {full[0], full[2], full[1], full[3], full[4]}},
        {"down on row 5 does nothing", full, [](TFilterGridModel& m) { m.MoveDown(5); }, full},
        {"compact keeps complete rows with their And/Or",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("And|B|||"),
          QStringLiteral("Or|C||Equals|z")},
         [](TFilterGridModel& m) { m.Compact(); },
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|C||Equals|z")}},
        {"compact: a row that becomes row 1 loses its And/Or",
         {QStringLiteral("||desc||"), QStringLiteral("Or|B||Equals|y")},
         [](TFilterGridModel& m) { m.Compact(); },
         {QStringLiteral("|B||Equals|y")}},
        {"defaults on row 3: And and Equals",
         {kEmpty, kEmpty, QStringLiteral("|C|||v")},
         [](TFilterGridModel& m) { m.FillDefaults(3); },
         {kEmpty, kEmpty, QStringLiteral("And|C||Equals|v")}},
        {"defaults on row 1: only the operator",
         {QStringLiteral("|A|||")},
         [](TFilterGridModel& m) { m.FillDefaults(1); },
         {QStringLiteral("|A||Equals|")}},
        {"defaults keep choices and need a task field",
         {QStringLiteral("|A||Contains|x"), QStringLiteral("Or|B|||"), QStringLiteral("|||v|")},
         [](TFilterGridModel& m) {
             m.FillDefaults(1);
             m.FillDefaults(2);
             m.FillDefaults(3);
         },
         {QStringLiteral("|A||Contains|x"), QStringLiteral("Or|B||Equals|"),
          QStringLiteral("|||v|")}},
        {"no choice is emptied",
         {QStringLiteral("|A||Please Select...|"), QStringLiteral("Please Select...|B||Equals|")},
         [](TFilterGridModel& m) { m.ClearNoChoice(); },
         {QStringLiteral("|A|||"), QStringLiteral("|B||Equals|")}},
        {"clear", full, [](TFilterGridModel& m) { m.Clear(); }, {}},
    };
    for (const CommandCase& c : cases) {
        TFilterGridModel m = Grid(c.before);
        c.command(m);
        EXPECT_EQ(Rows(m), c.after) << c.name;
    }
}

TEST(FilterGridModel, MovedListCellsKeepTheirIndexes) {
    TFilterGridModel m = Grid({QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Contains|y")});
    m.MoveUp(2);
    EXPECT_EQ(m.cell(fcOperator, 1).ItemIndex, foContains + 1);
    EXPECT_EQ(m.cell(fcAndOr, 1).ItemIndex, -1);
    EXPECT_EQ(m.cell(fcAndOr, 2).ItemIndex, 1);
    m.Insert(1);
    EXPECT_EQ(m.cell(fcOperator, 2).ItemIndex, foContains + 1);
    EXPECT_EQ(m.cell(fcAndOr, 2).ItemIndex, 1);
}

// The stored filter as text: "enabled; row; row..." with each row "and field desc op value".
QString Stored(const TovDSF& dsf) {
    QStringList rows{QString::number(dsf.getEnabled())};
    for (int j = 1; j <= dsf.getCount(); ++j) {
        const TovDSFx& r = *dsf.getItems(j);
        rows << QStringLiteral("%1 %2 %3 %4 [%5]")
                    .arg(QString::number(r.getAndFlag()), r.getTaskFldXL(), r.getTaskFldDescXL(),
                         TovDSFx::getFilterOperatorKeyword(r.getFilterOperator()),
                         r.getTaskFldValueXL());
    }
    return rows.join(QStringLiteral("; "));
}

TEST(FilterGridModel, StoresCompleteRowsFromTheCellTexts) {
    TFilterGridModel m =
        Grid({QStringLiteral("| a | Area |Equals| North "), QStringLiteral("Or|B|||x"),
              QStringLiteral("or|c||Contains|y"), QStringLiteral("Please Select...|D||Equals|z"),
              QStringLiteral("AND|E||is blank|")});
    // Indexes left behind by a paste do not count: the texts do.
    m.cell(fcOperator, 3).ItemIndex = 1;
    m.cell(fcAndOr, 3).ItemIndex = 1;
    m.cell(fcOperator, 5).ItemIndex = 0;
    TovDSF dsf;
    EXPECT_TRUE(m.Store(dsf, true));
    EXPECT_EQ(Stored(dsf),
              QStringLiteral("1; 0 A Area Equals [ North ]; 0 C  Contains [y]; 1 E  IsBlank []"));
    // The incomplete rows stay in the grid.
    EXPECT_EQ(m.text(fcTaskFld, 2), QStringLiteral("B"));
    EXPECT_EQ(m.text(fcTaskFld, 4), QStringLiteral("D"));
}

TEST(FilterGridModel, StoringWhatWasLoadedChangesNothing) {
    TovDSF dsf;
    dsf.setEnabled(1);
    const struct {
        uint8_t andFlag;
        const char* field;
        uint8_t op;
        const char* value;
    } rows[] = {
        {1, "A", foDoesNotEqual, "x"}, {0, "B", foStartsWith, "Y "}, {1, "C", foIsNotBlank, ""}};
    for (const auto& r : rows) {
        TovDSFx& row = *dsf.getItems(dsf.Add());
        row.setAndFlag(r.andFlag);
        row.setTaskFldXL(QString::fromLatin1(r.field));
        row.setFilterOperator(r.op);
        row.setTaskFldValueXL(QString::fromLatin1(r.value));
    }
    dsf.getItems(1)->setAndFlag(0); // the first row's join is never shown
    TFilterGridModel m;
    m.Load(dsf);
    EXPECT_EQ(Rows(m),
              TRows({QStringLiteral("|A||Does Not Equal|x"), QStringLiteral("Or|B||Starts With|Y "),
                     QStringLiteral("And|C||Is Not Blank|")}));
    EXPECT_EQ(m.cell(fcAndOr, 2).ItemIndex, 2);
    EXPECT_EQ(m.cell(fcOperator, 2).ItemIndex, foStartsWith + 1);
    const QString before = Stored(dsf);
    EXPECT_FALSE(m.Store(dsf, true));
    EXPECT_EQ(Stored(dsf), before);
    EXPECT_TRUE(m.Store(dsf, false)); // switched off
    m.setCell(fcValue, 1, QStringLiteral("x2"));
    EXPECT_TRUE(m.Store(dsf, false));
    EXPECT_FALSE(m.Store(dsf, false));
}

TEST(FilterGridModel, AnEmptyGridStoresNoRows) {
    TovDSF dsf;
    dsf.Add();
    dsf.getItems(1)->setTaskFldXL(QStringLiteral("A"));
    EXPECT_TRUE(TFilterGridModel().Store(dsf, false));
    EXPECT_EQ(dsf.getCount(), 0);
}

struct ValidateCase {
    const char* name;
    TRows rows;
    std::vector<int> marked; // rows with a gutter picture
    const char* hintPart;    // a part of the last marked row's hint
};

TEST(FilterGridModel, ValidationMarksOnlyTheLaterRowOfAPair) {
    const ValidateCase cases[] = {
        {"complete rows pass",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Is Blank|")},
         {},
         ""},
        {"And/Or chosen as no choice",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Please Select...|B||Equals|y")},
         {2},
         "And/Or is undefined.\r\nThis row is invalid, and will not be processed."},
        {"operator missing", {QStringLiteral("|A|||x")}, {1}, "Filter Operator is undefined"},
        {"cells without a task field",
         {QStringLiteral("||some text||")},
         {1},
         "ID [1] Task Field is undefined"},
        {"is blank with a value", {QStringLiteral("|A||Is Blank|v")}, {1}, "must be undefined"},
        {"contains without a value", {QStringLiteral("|A||Contains|")}, {1}, "cannot be undefined"},
        {"equals without a value", {QStringLiteral("|A||Equals|")}, {}, ""},
        {"a column beyond the workbook's last",
         {QStringLiteral("|XFE||Equals|x")},
         {1},
         "Task Field"},
        {"same field and operator joined by And",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("And|A||Equals|y")},
         {2},
         "ID [2] Filter Row is mutually exclusive with the ID [1] Filter Row"},
        {"the same joined by Or",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|A||Equals|y")},
         {},
         ""},
        {"a duplicate joined by Or",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Equals|y"),
          QStringLiteral("Or|a||equals|X")},
         {3},
         "ID [3] Filter Row is the same as the ID [1] Filter Row"},
        {"a duplicate joined by And",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("Or|B||Equals|y"),
          QStringLiteral("And|A||Equals|x")},
         {3},
         "ID [1] Filter Row"},
        {"a bad row takes no part in the pairs",
         {QStringLiteral("|A||Equals|x"), QStringLiteral("And|A||Contains|"),
          QStringLiteral("And|A||Equals|y")},
         {2, 3},
         "mutually exclusive with the ID [1] Filter Row"},
    };
    TovDV dv;
    const QString path = QStringLiteral("/data/tasks.xlsx");
    for (const ValidateCase& c : cases) {
        const TFilterValidation v = Grid(c.rows).Validate(dv, path, true);
        std::vector<int> marked;
        for (int r = 1; r <= TFilterGridModel::RowCount; ++r) {
            if (v.RowMarked(r)) {
                marked.push_back(r);
            }
        }
        EXPECT_EQ(marked, c.marked) << c.name;
        if (!marked.empty()) {
            const QString hint = v.RowHints[static_cast<size_t>(marked.back() - 1)];
            EXPECT_TRUE(hint.contains(QString::fromLatin1(c.hintPart)))
                << c.name << ": " << hint.toStdString();
        }
        EXPECT_FALSE(v.TitleError) << c.name;
    }
}

TEST(FilterGridModel, AnEnabledEmptyFilterIsUndefinedAndAnOldWorkbookEndsAtIV) {
    TovDV dv;
    const TFilterValidation on = TFilterGridModel().Validate(dv, QStringLiteral("a.xlsx"), true);
    EXPECT_TRUE(on.TitleError);
    EXPECT_EQ(on.TitleHint, QStringLiteral("The Data Source Filter is enabled, but undefined."));
    EXPECT_FALSE(TFilterGridModel().Validate(dv, QStringLiteral("a.xlsx"), false).TitleError);

    const TFilterGridModel iw = Grid({QStringLiteral("|IW||Equals|x")});
    EXPECT_TRUE(iw.Validate(dv, QStringLiteral("old.xls"), true).RowMarked(1));
    EXPECT_FALSE(iw.Validate(dv, QStringLiteral("new.xlsx"), true).RowMarked(1));
}

TEST(FilterGridModel, DescriptionsComeFromTheTaskFieldList) {
    TovSD sd;
    sd.setFL_Count(2);
    sd.setFL_TaskFld(1, QStringLiteral("A"));
    sd.setFL_TaskFldDesc(1, QStringLiteral("Task\nName"));
    sd.setFL_TaskFld(2, QStringLiteral("B"));
    sd.setFL_TaskFldDesc(2, QStringLiteral("Area"));
    TFilterGridModel m = Grid({QStringLiteral("|a|old||"), QStringLiteral("|C|old||"),
                               QStringLiteral("|1A|old||"), QStringLiteral("||old||")});
    EXPECT_TRUE(m.HasTaskFields());
    TovXLLimitsDefault limits;
    const TDescriptionUpdate counts = m.UpdateDescriptions(sd, limits, QStringLiteral("a.xlsx"));
    EXPECT_EQ(counts.Updated, 1);
    EXPECT_EQ(counts.NotFound, 1);
    EXPECT_EQ(counts.Invalid, 1);
    EXPECT_EQ(counts.Undefined, 2);
    EXPECT_EQ(Rows(m), TRows({QStringLiteral("|a|Task Name||"), QStringLiteral("|C|||"),
                              QStringLiteral("|1A|||")}));
    EXPECT_FALSE(Grid({QStringLiteral("||desc|Equals|x")}).HasTaskFields());
}

} // namespace
} // namespace formstest
