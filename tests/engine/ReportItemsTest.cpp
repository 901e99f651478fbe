#include "engine/ReportDates.h"
#include "engine/ovRF.h"
#include "engine/ovRH.h"
#include "support/FakeMessageBox.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

using testsupport::messageBoxes;

// Fixes "today" for the report tables while a test runs.
class FixedToday : public testing::Test {
protected:
    void SetUp() override {
        ReportDates::SetClock([] { return QDate(2026, 12, 9); });
    }
    void TearDown() override { ReportDates::SetClock({}); }
    const double today = ReportDates::ToSerial(QDate(2026, 12, 9));
};

int addField(TovRFs& list, quint8 type, const QString& format) {
    return list.Add(QStringLiteral("Label"), type, format, QStringLiteral("B3"), 2, 3,
                    {.HorAlign = haRight,
                     .FontBold = true,
                     .FontColor = 0x000000FF,
                     .Color = 0x00C0C0C0,
                     .GridLineTopColor = 1,
                     .GridLineLeftColor = 2,
                     .GridLineBottomColor = 3,
                     .GridLineRightColor = 4,
                     .EllipsifyText = true,
                     .Merge = true,
                     .MergeCol2 = 7,
                     .MergeRow2 = 3});
}

TEST(ReportItems, IndexOutsideTheListShowsTheRangeMessageAndGivesTheDefaultItem) {
    TovRHs headers;
    TovRFs fields;
    headers.Add(QStringLiteral("H"), QStringLiteral("A1"), 1, 1, {.HorAlign = haLeft});
    addField(fields, vtText, QStringLiteral("%s"));

    EXPECT_EQ(headers.getItems(0)->getCaption(), QString());
    EXPECT_EQ(fields.getItems(1)->getLabel(), QStringLiteral("Label"));
    EXPECT_TRUE(messageBoxes().shown.empty());

    struct Case {
        int index;
        bool header;
        const char* name;
    };
    const Case cases[] = {{2, true, "RHs.getItems"},
                          {-1, true, "RHs.getItems"},
                          {2, false, "RFs.getItems"},
                          {-1, false, "RFs.getItems"}};
    for (const Case& c : cases) {
        messageBoxes().shown.clear();
        const TovReportCell* item =
            c.header ? static_cast<const TovReportCell*>(headers.getItems(c.index))
                     : fields.getItems(c.index);
        const TovReportCell* zero =
            c.header ? static_cast<const TovReportCell*>(headers.getItems(0)) : fields.getItems(0);
        EXPECT_EQ(item, zero) << c.index << c.name;
        ASSERT_EQ(messageBoxes().shown.size(), 1u) << c.index << c.name;
        const QString text = messageBoxes().shown[0].text;
        EXPECT_TRUE(text.contains(QLatin1String(c.name))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("0 to 1"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::number(c.index))) << text.toStdString();
    }
}

TEST_F(FixedToday, FormatValuePrintsEachValueTypeByItsFormat) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    struct Case {
        quint8 type;
        const char* format;
        QString text;
        int integer;
        double number;
        double date;
        const char* expected;
    };
    // 15 March 2023, 18:00.
    const double march15 = ReportDates::ToSerial(QDate(2023, 3, 15)) + 0.75;
    const Case cases[] = {
        {vtNumber, "%n", {}, 0, 1234.5, 0, "1,234.50"},
        {vtNumber, "%n", {}, 0, -0.004, 0, "0.00"},
        {vtNumber, "%n", {}, 0, 1234567.891, 0, "1,234,567.89"},
        {vtInteger, "%d", {}, -3, 0, 0, "-3"},
        {vtText, "%s", QStringLiteral("Tower 7"), 0, 0, 0, "Tower 7"},
        {vtDate, "dd-MMM-yyyy", {}, 0, 0, march15, "15-Mar-2023"},
        {vtDate, "dd-MMM-yyyy", {}, 0, 0, ReportDates::ToSerial(QDate(2026, 12, 9)), "09-Dec-2026"},
        {vtDate, "dd-MMM-yyyy", {}, 0, 0, 1e300, ""},
        {4, "%s", QStringLiteral("x"), 5, 5, 5, ""},
        {255, "%d", {}, 5, 5, 5, ""},
    };
    for (const Case& c : cases) {
        TovRF field;
        field.setValueType(c.type);
        field.setFormat(QString::fromLatin1(c.format));
        field.setTextValue(c.text);
        field.setIntegerValue(c.integer);
        field.setFloatValue(c.number);
        field.setDateValue(c.date);
        // The state does not change what is printed.
        field.setValueState(vsNotApplicable);
        EXPECT_EQ(field.FormatValue(), QString::fromLatin1(c.expected))
            << int(c.type) << " " << c.format << " " << c.number << " " << c.date;
    }
    QLocale::setDefault(saved);
}

TEST_F(FixedToday, ClearValuesEmptiesTheValuesOfItemsOneToCountOnly) {
    TovRFs fields;
    EXPECT_EQ(fields.getItems(0)->getDateValue(), today);
    addField(fields, vtDate, QStringLiteral("dd-MMM-yyyy"));
    addField(fields, vtNumber, QStringLiteral("%n"));
    for (int i = 0; i <= 2; ++i) {
        TovRF* f = fields.getItems(i);
        f->setValueState(vsNoData);
        f->setDateValue(100.5);
        f->setTextValue(QStringLiteral("old"));
        f->setIntegerValue(9);
        f->setFloatValue(2.5);
    }
    ReportDates::SetClock([] { return QDate(2027, 1, 2); });
    fields.ClearValues();

    const double newToday = ReportDates::ToSerial(QDate(2027, 1, 2));
    for (int i = 1; i <= 2; ++i) {
        const TovRF* f = fields.getItems(i);
        EXPECT_EQ(f->getValueState(), vsValue) << i;
        EXPECT_EQ(f->getDateValue(), newToday) << i;
        EXPECT_EQ(f->getTextValue(), QString()) << i;
        EXPECT_EQ(f->getIntegerValue(), 0) << i;
        EXPECT_EQ(f->getFloatValue(), 0.0) << i;
        EXPECT_EQ(f->getLabel(), QStringLiteral("Label")) << i;
        EXPECT_EQ(f->getCell(), QStringLiteral("B3")) << i;
        EXPECT_EQ(f->getColor(), 0x00C0C0C0u) << i;
    }
    EXPECT_EQ(fields.getItems(1)->getValueType(), vtDate);
    EXPECT_EQ(fields.getItems(2)->getFormat(), QStringLiteral("%n"));
    // A date field the run leaves alone shows today's date.
    EXPECT_EQ(fields.getItems(1)->FormatValue(), QStringLiteral("02-Jan-2027"));
    const TovRF* zero = fields.getItems(0);
    EXPECT_EQ(zero->getValueState(), vsNoData);
    EXPECT_EQ(zero->getTextValue(), QStringLiteral("old"));
    EXPECT_EQ(zero->getDateValue(), 100.5);
}

TEST_F(FixedToday, AddSetsEveryFieldAndLeavesEarlierItemsAlone) {
    TovRHs headers;
    EXPECT_EQ(headers.getCount(), 0);
    EXPECT_EQ(headers.Add(QStringLiteral("First"), QStringLiteral("C4"), 3, 4,
                          {.HorAlign = haCenter,
                           .GridLineTopColor = 0x11,
                           .GridLineLeftColor = 0x22,
                           .GridLineBottomColor = 0x33,
                           .GridLineRightColor = 0x44,
                           .EllipsifyText = true,
                           .Merge = true,
                           .MergeCol2 = 5,
                           .MergeRow2 = 6}),
              1);
    EXPECT_EQ(headers.Add(QStringLiteral("Second"), QStringLiteral("A1"), 1, 1,
                          {.HorAlign = haRight,
                           .FontBold = true,
                           .FontColor = 7,
                           .Color = 8,
                           .GridLineTopColor = 9,
                           .GridLineLeftColor = 10,
                           .GridLineBottomColor = 11,
                           .GridLineRightColor = 12,
                           .EllipsifyPath = true}),
              2);
    const TovRH* h = headers.getItems(1);
    EXPECT_EQ(h->getCaption(), QStringLiteral("First"));
    EXPECT_EQ(h->getCell(), QStringLiteral("C4"));
    EXPECT_EQ(h->getColumn(), 3);
    EXPECT_EQ(h->getRow(), 4);
    EXPECT_EQ(h->getHorAlign(), haCenter);
    EXPECT_FALSE(h->getFontBold());
    EXPECT_EQ(h->getFontColor(), ReportColors::clWindowText);
    EXPECT_EQ(h->getColor(), ReportColors::clWindow);
    EXPECT_EQ(h->getGridLineTopColor(), 0x11u);
    EXPECT_EQ(h->getGridLineLeftColor(), 0x22u);
    EXPECT_EQ(h->getGridLineBottomColor(), 0x33u);
    EXPECT_EQ(h->getGridLineRightColor(), 0x44u);
    EXPECT_TRUE(h->getEllipsifyText());
    EXPECT_FALSE(h->getEllipsifyPath());
    EXPECT_TRUE(h->getMerge());
    EXPECT_EQ(h->getMergeCol2(), 5);
    EXPECT_EQ(h->getMergeRow2(), 6);
    const TovRH* h2 = headers.getItems(2);
    EXPECT_FALSE(h2->getEllipsifyText());
    EXPECT_TRUE(h2->getEllipsifyPath());
    EXPECT_EQ(h2->getHorAlign(), haRight);

    TovRFs fields;
    EXPECT_EQ(addField(fields, vtInteger, QStringLiteral("%d")), 1);
    const TovRF* f = fields.getItems(1);
    EXPECT_EQ(f->getValueType(), vtInteger);
    EXPECT_EQ(f->getFormat(), QStringLiteral("%d"));
    EXPECT_EQ(f->getHorAlign(), haRight);
    EXPECT_TRUE(f->getFontBold());
    EXPECT_TRUE(f->getEllipsifyText());
    EXPECT_FALSE(f->getEllipsifyPath());
    EXPECT_EQ(f->getMergeCol2(), 7);
    EXPECT_EQ(f->getDateValue(), today);
    EXPECT_EQ(f->getValueState(), vsValue);
}

TEST_F(FixedToday, ResetAllRestoresTheDefaults) {
    TovRHs headers;
    headers.Add(QStringLiteral("H"), QStringLiteral("C4"), 3, 4,
                {.HorAlign = haLeft,
                 .FontBold = true,
                 .FontColor = 1,
                 .Color = 2,
                 .GridLineTopColor = 3,
                 .GridLineLeftColor = 4,
                 .GridLineBottomColor = 5,
                 .GridLineRightColor = 6,
                 .EllipsifyPath = true,
                 .EllipsifyText = true,
                 .Merge = true,
                 .MergeCol2 = 5,
                 .MergeRow2 = 6});
    headers.ResetAll();
    const TovRH* h = headers.getItems(1);
    EXPECT_EQ(h->getCaption(), QString());
    EXPECT_EQ(h->getCell(), QString());
    EXPECT_EQ(h->getColumn(), 0);
    EXPECT_EQ(h->getHorAlign(), haCenter);
    EXPECT_FALSE(h->getFontBold());
    EXPECT_EQ(h->getFontColor(), ReportColors::clWindowText);
    EXPECT_EQ(h->getColor(), ReportColors::clWindow);
    EXPECT_EQ(h->getGridLineRightColor(), ReportColors::clWindowText);
    EXPECT_FALSE(h->getMerge());
    EXPECT_EQ(h->getMergeCol2(), -1);
    EXPECT_EQ(h->getMergeRow2(), -1);

    TovRFs fields;
    addField(fields, vtNumber, QStringLiteral("%n"));
    fields.getItems(1)->setFloatValue(3.5);
    fields.ResetAll();
    const TovRF* f = fields.getItems(1);
    EXPECT_EQ(f->getLabel(), QString());
    EXPECT_EQ(f->getValueType(), vtText);
    EXPECT_EQ(f->getFormat(), QString());
    EXPECT_EQ(f->getFloatValue(), 0.0);
    EXPECT_EQ(f->getDateValue(), today);
    EXPECT_FALSE(f->getEllipsifyText());
    EXPECT_EQ(fields.getCount(), 1);
}

} // namespace
