#include "services/StdDlgText.h"
#include "services/StdDlg.h"

#include <gtest/gtest.h>

namespace {

int sixPixels(const QString& text) {
    return 6 * static_cast<int>(text.size());
}

TEST(StdDlgText, WrapsFramesAndTrimsTheMessage) {
    struct Case {
        const char* name;
        QStringList lines;
        int wrapWidth;
        QStringList expected;
    };
    const Case cases[] = {
        {"empty message: two empty lines", Texts({}), 600, Texts({"", ""})},
        {"one line", Texts({"Hello"}), 600, Texts({"", " Hello ", ""})},
        {"paragraphs", Texts({"Hello", "", "World"}), 600,
         Texts({"", " Hello  ", "  ", " World", ""})},
        {"leading and trailing empty lines collapse to one each", Texts({"", "", "A", "", ""}), 600,
         Texts({"", " A ", ""})},
        {"cut mid-word at the character that reaches the width (9 x 6 >= 60 - 6)",
         Texts({"abcdefghijklmnopqrstuvwxyz"}), 60,
         Texts({"", " abcdefghi  ", " jklmnopqr ", " stuvwxyz", ""})},
        {"line breaks inside a line", Texts({"one\r\ntwo\nthree", "four"}), 600,
         Texts({"", " one  ", " two ", " three ", " four", ""})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WrapStdDlgLines(c.lines, c.wrapWidth, sixPixels), c.expected) << c.name;
    }
}

TEST(StdDlgText, LongLineIsCutIntoPiecesNoWiderThanTheWrapWidth) {
    const QString path = QStringLiteral("/home/planner/projects/") + QString(500, QLatin1Char('x'));
    const QStringList lines = WrapStdDlgLines({path}, 300, sixPixels);
    ASSERT_GT(lines.size(), 5);
    QString joined;
    for (const QString& line : lines) {
        EXPECT_LE(sixPixels(line.trimmed()), 300) << line.toStdString();
        joined += line.trimmed();
    }
    EXPECT_EQ(joined, path);
}

TEST(StdDlgText, ButtonHintAddsTheShortcutLineOfTheGlyph) {
    EXPECT_EQ(StdDlgButtonHint(glyphClose, QStringLiteral("Close Dialogue.")),
              QStringLiteral("Close Dialogue.\r\nShortcuts: (Esc), (Alt-C)"));
    EXPECT_EQ(StdDlgButtonHint(glyphYes, QStringLiteral("x")),
              QStringLiteral("x\r\nShortcut: (Alt-Y)"));
    EXPECT_EQ(StdDlgButtonHint(3, QStringLiteral("Plain.")), QStringLiteral("Plain."));
}

TEST(StdDlgText, EscapeAnswersTheRightButtonButNeverYes) {
    struct Case {
        const char* name;
        StdDlgButtonState l, m, r;
        int expected;
    };
    const Case cases[] = {
        {"one Close button", {false, 0}, {false, 0}, {true, mrClose}, mrClose},
        {"Yes and No", {false, 0}, {true, mrYes}, {true, mrNo}, mrNo},
        {"Yes, No, Cancel", {true, mrYes}, {true, mrNo}, {true, mrCancel}, mrCancel},
        {"Yes placed at the right", {false, 0}, {true, mrNo}, {true, mrYes}, mrNo},
        {"Continue at the right", {false, 0}, {true, mrCancel}, {true, mrYes}, mrCancel},
        {"only Yes", {false, 0}, {false, 0}, {true, mrYes}, mrCancel},
        {"right button hidden", {true, mrNo}, {true, mrYes}, {false, mrClose}, mrNo},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StdDlgEscapeResult(c.l, c.m, c.r), c.expected) << c.name;
    }
}

} // namespace
