#include "services_ui/TextMetrics.h"
#include "support/FixedTextMeasurer.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;

TEST(TextMetrics, CaptionWidthAddsButtonAndIconAllowances) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    EXPECT_EQ(CaptionTextWidth(QString(), false, true), 16 + 18 + 10);
    EXPECT_EQ(CaptionTextWidth(QStringLiteral("abc"), true, false), 18 + 2 * 12 + 6);
    EXPECT_EQ(CaptionTextWidth(QStringLiteral("abc"), false, false), 18 + 4);
}

TEST(TextMetrics, EllipsisShortensTextsAndPathsToFit) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 1));
    const QFont font;
    struct Case {
        const char* text;
        int width;
        const char* asText;
        const char* asPath;
    };
    const Case cases[] = {
        {"fits", 10, "fits", "fits"},
        {"/home/user/projects/plan.krvc", 100, "/home/user/projects/plan.krvc",
         "/home/user/projects/plan.krvc"},
        {"the quick brown fox", 14, "the quick...", "the quick..."},
        {"/home/user/projects/plan.krvc", 20, "/home/user/projec...", "/home/u.../plan.krvc"},
        {"/a/very/long/path/file.krvc", 13, "/a/very/lo...", ".../file.krvc"},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(EllipsifyText(text, font, c.width), QString::fromUtf8(c.asText)) << c.text;
        EXPECT_EQ(EllipsifyPath(text, font, c.width), QString::fromUtf8(c.asPath)) << c.text;
    }
}

TEST(TextMetrics, UnreadableFontGivesTheDesignedMetrics) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(30, 30, false));
    const TDialogFontSize size = MeasureIconTitleFont();
    EXPECT_EQ(size.textHeight, 13);
    EXPECT_EQ(size.avgCharWidth, 6);
    QFont font(QStringLiteral("Kept"), 11);
    ApplyIconTitleFont(font);
    EXPECT_EQ(font.family(), QStringLiteral("Kept"));
}

} // namespace
