#include "services_ui/Splash.h"
#include "support/FixedTextMeasurer.h"
#include "support/FixedWorkArea.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;
using testsupport::ScopedWorkArea;

// Content height with 13-pixel lines: margins, banner, version, status and the legal lines.
constexpr int kMinHeight = 8 + 45 + 4 + 13 + 12 + 13 + 18 + 13 + 3 + 13 + 8;

TEST(Splash, FitsCentredIntoTheWorkAreaWhereverItLies) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    // Legal line 1 (" Copyright (c) 2009-2026 Tarrow Studio. ", 40 characters) and the logo.
    const int minWidth = 40 * 6 + 145 + 24;
    struct Case {
        QRect area;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 1024, 768),
         QRect(512 - minWidth / 2, 384 - kMinHeight / 2, minWidth, kMinHeight)},
        // A work area that does not start at the screen's origin (a panel on the left or top).
        {QRect(300, 40, 1000, 700),
         QRect(300 + 500 - minWidth / 2, 40 + 350 - kMinHeight / 2, minWidth, kMinHeight)},
        // Smaller than the content: shrunk to the work area, at its top left corner.
        {QRect(50, 30, 200, 100), QRect(50, 30, 200, 100)},
    };
    for (const Case& c : cases) {
        ScopedWorkArea area(c.area);
        TUF_Splash splash;
        splash.FitToWorkArea();
        EXPECT_EQ(splash.geometry(), c.expected) << c.area.x() << "," << c.area.y();
        EXPECT_EQ(splash.getMinWidth(), c.expected.width());
        EXPECT_EQ(splash.getMinHeight(), c.expected.height());
        // The logo sits in the bottom right corner.
        EXPECT_EQ(splash.Img_QW->geometry().bottomRight(),
                  QPoint(c.expected.width() - 9, c.expected.height() - 9));
    }
}

TEST(Splash, WidestStatusTextSetsTheWidthWhenItIsTheWidest) {
    // 20-pixel characters: the longest status text (51 characters) outgrows the legal lines.
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 20));
    ScopedWorkArea area(QRect(0, 0, 1600, 900));
    TUF_Splash splash;
    splash.FitToWorkArea();
    EXPECT_EQ(splash.getMinWidth(), 51 * 20 + 16);
    EXPECT_EQ(splash.width(), 51 * 20 + 16);
}

TEST(Splash, StatusLineShowsTheTextFramedByBlanksAndTheTimerRuns) {
    TUF_Splash splash;
    EXPECT_TRUE(splash.getTimerEnabled());
    splash.setStatus(8);
    EXPECT_EQ(splash.getStatus(), QStringLiteral(" Initialising Data File... "));
    EXPECT_TRUE(splash.Lbl_Ver->text().startsWith(QStringLiteral(" Version ")));

    UF_Splash = &splash;
    SplashStatus(35);
    UF_Splash = nullptr;
    EXPECT_EQ(splash.getStatus(), QStringLiteral(" Initialisation complete. "));
    SplashStatus(8); // no splash: nothing happens
    EXPECT_EQ(splash.getStatus(), QStringLiteral(" Initialisation complete. "));
}

} // namespace
