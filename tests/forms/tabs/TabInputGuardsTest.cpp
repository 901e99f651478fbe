// The key guards the tabs' edit boxes share: character sets as tables, and real key presses on
// a box with the guards attached, recording what the balloon was asked to show.
#include "forms/tabs/TabInputGuards.h"
#include "forms/tabs/BalloonHint.h"
#include "support/Eventually.h"
#include "support/FakeTabHost.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace inputguards;

namespace {

struct CharCase {
    char16_t key;
    bool refusedInPath;
    bool refusedInWorksheetName;
    bool allowedInRowNumber;
};

const CharCase kCharCases[] = {
    {u'*', true, true, false},        {u'?', true, true, false},
    {u'"', true, false, false},       {u'<', true, false, false},
    {u'>', true, false, false},       {u'|', true, false, false},
    {u'/', false, true, false},       {u':', false, true, false},
    {u'\\', false, true, false},      {u'[', false, true, false},
    {u']', false, true, false},       {u'a', false, false, false},
    {u'0', false, false, true},       {u'9', false, false, true},
    {8, false, false, true},          {9, false, false, true},
    {13, false, false, true},         {27, false, false, true},
    {10, false, false, false},        {u'\u00e9', false, false, false},
    {u'\u20ac', false, false, false}, // above 255: in no set, so the row refuses it
    {u'\uff0a', false, false, false}, // the wide asterisk is not the asterisk
};

TEST(InputGuardSets, EachCharacterIsRefusedOrAllowedAsItsFieldRequires) {
    for (const CharCase& c : kCharCases) {
        SCOPED_TRACE(static_cast<int>(c.key));
        EXPECT_EQ(IsRefusedInPath(c.key), c.refusedInPath);
        EXPECT_EQ(IsRefusedInWorksheetName(c.key), c.refusedInWorksheetName);
        EXPECT_EQ(IsAllowedInRowNumber(c.key), c.allowedInRowNumber);
    }
}

TEST(InputGuardSets, BalloonSitsAtTheCaretSpanningTheBoxHeight) {
    const QRect box(10, 20, 100, 24);
    EXPECT_EQ(CaretAnchor(box, 0, 50), QPoint(10, 44)); // caret at the start: the box's left
    EXPECT_EQ(CaretAnchor(box, 3, 37), QPoint(47, 44));
    EXPECT_EQ(CaretAnchor(box, 3, -1), QPoint(10, 44));     // position unknown
    EXPECT_EQ(CaretAnchor(box, 255, 900), QPoint(109, 44)); // never past the box
    const QRect screen(0, 0, 1280, 800);
    EXPECT_EQ(CaretBalloonRect(QPoint(47, 144), 24, screen), QRect(47, 120, 0, 24));
    EXPECT_EQ(CaretBalloonRect(QPoint(2817, 144), 24, screen), QRect(1279, 120, 0, 24));
    EXPECT_EQ(CaretBalloonRect(QPoint(2817, 144), 24, QRect()), QRect(2817, 120, 0, 24));
}

TEST(InputGuardSets, BalloonStaysOnTheScreen) {
    const QRect area(0, 0, 1280, 800);
    const QSize balloon(300, 40);
    const struct {
        QRect at;
        QPoint expected;
    } cases[] = {
        {{100, 100, 0, 24}, {100, 125}},  // below the rectangle
        {{1200, 100, 0, 24}, {980, 125}}, // moved left to fit
        {{2817, 100, 0, 24}, {980, 125}}, // far off to the right
        {{-50, 100, 0, 24}, {0, 125}},    // never left of the screen
        {{100, 770, 0, 24}, {100, 728}},  // above the rectangle at the bottom
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BalloonPosition(c.at, balloon, area), c.expected) << c.at.x() << "," << c.at.y();
    }
}

class GuardedBox : public testing::Test {
protected:
    void SetUp() override {
        page.resize(400, 100);
        box = new QLineEdit(&page);
        box->setGeometry(10, 10, 200, 24);
        page.show();
        box->setFocus();
    }

    QString lastBalloon() const {
        return host.balloon.shown.empty() ? QString() : host.balloon.shown.back().text;
    }

    testsupport::FakeTabHost host;
    QWidget page;
    QLineEdit* box = nullptr;
};

TEST_F(GuardedBox, FullBoxRefusesCharactersButNotTheControlKeys) {
    host.guards.Attach(box, 5);
    QTest::keyClicks(box, QStringLiteral("abcdefg"));
    EXPECT_EQ(box->text(), QStringLiteral("abcde"));
    EXPECT_EQ(lastBalloon(), QStringLiteral("The maximum length for this Field is 5 characters."));
    EXPECT_TRUE(host.balloon.visible);

    // A selected run is refused as well at the maximum.
    box->selectAll();
    QTest::keyClick(box, 'z');
    EXPECT_EQ(box->text(), QStringLiteral("abcde"));

    const size_t balloons = host.balloon.shown.size();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("abcd"));
    EXPECT_EQ(host.balloon.shown.size(), balloons);
    EXPECT_FALSE(host.balloon.visible) << "the next key hides the balloon";
}

TEST_F(GuardedBox, ProgramTextIsNeverCutButPastingIsKeptWithinTheMaximum) {
    host.guards.Attach(box, 5);
    box->setText(QStringLiteral("/a/long/browsed/path.xlsx"));
    EXPECT_EQ(box->text(), QStringLiteral("/a/long/browsed/path.xlsx"));

    box->clear();
    box->insert(QStringLiteral("abc"));
    box->insert(QStringLiteral("defg")); // as a paste inserts: refused whole past the maximum
    EXPECT_EQ(box->text(), QStringLiteral("abc"));
}

TEST_F(GuardedBox, ReadOnlyBoxNeverShowsABalloon) {
    host.guards.Attach(box, 3, TTabInputGuards::TFilter::HeaderRow);
    box->setText(QStringLiteral("abc"));
    box->setReadOnly(true);
    QTest::keyClicks(box, QStringLiteral("x*"));
    EXPECT_TRUE(host.balloon.shown.empty());
}

TEST_F(GuardedBox, PathBoxRefusesWildcardsAndTakesSeparators) {
    host.guards.Attach(box, 260, TTabInputGuards::TFilter::PathFileName);
    QTest::keyClicks(box, QStringLiteral("/home/a:b\\c*d"));
    EXPECT_EQ(box->text(), QStringLiteral("/home/a:b\\cd"));
    EXPECT_EQ(lastBalloon(),
              QStringLiteral("The following characters cannot be used:\r\n* ? \" < > |"));
}

TEST_F(GuardedBox, WorksheetBoxRefusesItsSevenCharacters) {
    host.guards.Attach(box, 31, TTabInputGuards::TFilter::WorksheetName);
    QTest::keyClicks(box, QStringLiteral("Tasks [1]/2"));
    EXPECT_EQ(box->text(), QStringLiteral("Tasks 12"));
    EXPECT_EQ(lastBalloon(),
              QStringLiteral("The following characters cannot be used:\r\n\\ / : * ? [ ]"));
}

TEST_F(GuardedBox, HeaderRowTakesDigitsAndNamesTheRangeOfTheDataSourceOnScreen) {
    QString dataSource = QStringLiteral(" /data/tasks.xls ");
    host.guards.Attach(box, 7, TTabInputGuards::TFilter::HeaderRow, [&] { return dataSource; });
    QTest::keyClicks(box, QStringLiteral("1a2"));
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    EXPECT_EQ(lastBalloon(),
              QStringLiteral("Please enter a numeric value.\r\nValid Range: 1..65535"));

    dataSource = QStringLiteral("/data/tasks.xlsx");
    QTest::keyClick(box, 'x');
    EXPECT_EQ(lastBalloon(),
              QStringLiteral("Please enter a numeric value.\r\nValid Range: 1..1048575"));

    QChar euro(0x20AC);
    host.guards.ValidateTHR(box, euro, dataSource);
    EXPECT_TRUE(euro.isNull());
}

TEST_F(GuardedBox, CtrlASelectsAllAndHidesTheBalloon) {
    host.guards.Attach(box, 20);
    box->setText(QStringLiteral("planned"));
    box->setCursorPosition(2);
    host.balloon.visible = true;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(box->selectedText(), QStringLiteral("planned"));
    EXPECT_FALSE(host.balloon.visible);
}

TEST_F(GuardedBox, BalloonRectangleSpansTheBoxAtItsScreenPlace) {
    host.guards.Attach(box, 2);
    QTest::keyClicks(box, QStringLiteral("ab"));
    box->setCursorPosition(0);
    QTest::keyClick(box, 'c');
    ASSERT_FALSE(host.balloon.shown.empty());
    const QRect rect = host.balloon.shown.back().rect;
    const QPoint boxBottomLeft = page.mapToGlobal(QPoint(10, 34));
    EXPECT_EQ(rect, QRect(boxBottomLeft.x(), boxBottomLeft.y() - 24, 0, 24));
}

// A full box scrolls its text to keep the caret in view: the balloon comes up at the caret as the
// box shows it, within the box, not where the caret would be without the scrolling.
TEST_F(GuardedBox, FullBoxShowsTheBalloonAtTheVisibleCaret) {
    host.guards.Attach(box, 255);
    box->setText(QString(255, QLatin1Char('w')));
    box->setCursorPosition(255);
    QTest::keyClick(box, 'x');
    ASSERT_EQ(lastBalloon(),
              QStringLiteral("The maximum length for this Field is 255 characters."));
    const QRect rect = host.balloon.shown.back().rect;
    const QRect onScreen(page.mapToGlobal(box->geometry().topLeft()), box->size());
    EXPECT_GE(rect.left(), onScreen.left());
    EXPECT_LE(rect.left(), onScreen.right() + 1);
    EXPECT_GT(rect.left(), onScreen.center().x()) << "the caret is at the box's right end";
    EXPECT_EQ(rect.bottom(), onScreen.bottom());

    // A caret moved back to the start of the visible text.
    box->setCursorPosition(1);
    QTest::keyClick(box, 'x');
    const QRect early = host.balloon.shown.back().rect;
    EXPECT_GE(early.left(), onScreen.left());
    EXPECT_LT(early.left(), onScreen.center().x());
}

} // namespace

TEST(BalloonHint, ShowsTheTextBelowTheRectangleUntilHiddenOrItsTimeIsUp) {
    TBalloonHint balloon;
    balloon.Show(QStringLiteral("first line\r\nsecond line"), QRect(100, 100, 0, 24));
    EXPECT_TRUE(balloon.isVisible());
    EXPECT_EQ(balloon.text(), QStringLiteral("first line\nsecond line"));
    balloon.Hide();
    EXPECT_FALSE(balloon.isVisible());

    QElapsedTimer shown;
    shown.start();
    balloon.Show(QStringLiteral("gone soon"), QRect(100, 100, 0, 24));
    EXPECT_TRUE(testsupport::Eventually([&] { return !balloon.isVisible(); },
                                        TBalloonHint::HideTimeMs * 10));
    // A timer is never early but for Qt's coarse timers, by 5% at most, and the clock counts
    // whole milliseconds: a bound of 90% leaves that margin.
    EXPECT_GE(shown.elapsed(), TBalloonHint::HideTimeMs * 9 / 10) << "hidden before its time";
}
