#include "services/ovAD.h"
#include "services_ui/TextMetrics.h"
#include "support/FixedTextMeasurer.h"

#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;

TEST(ApplicationData, BuildsDocumentPathsInTheProgramFolder) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>());
    TovAD ad(QStringLiteral("/opt/krv/share"));
    EXPECT_EQ(ad.getExePath(), QStringLiteral("/opt/krv/share/"));
    EXPECT_EQ(ad.getSampleDPFE(), QStringLiteral("/opt/krv/share/Samples/Sample.krvc"));
    EXPECT_EQ(ad.getSamplePath(), QStringLiteral("/opt/krv/share/Samples/"));
    EXPECT_EQ(ad.getTutorialDPFE(),
              QStringLiteral("/opt/krv/share/Tutorial/Ovik_KRV_Tessel_Tutorial.pdf"));
    EXPECT_EQ(ad.getUserManualDPFE(),
              QStringLiteral("/opt/krv/share/User_Manual/Ovik_KRV_Tessel_User_Manual.pdf"));
    EXPECT_EQ(ad.getWhitePaperDPFE(),
              QStringLiteral("/opt/krv/share/White_Paper/The_Quiet_S_Curve.pdf"));
    EXPECT_EQ(ad.getWhitePaperPath(), QStringLiteral("/opt/krv/share/White_Paper/"));
    EXPECT_EQ(ad.getVersion(), QStringLiteral("5.3.0.0"));
    EXPECT_FALSE(ad.getAddSD() || ad.getRenameSD() || ad.getCopySD());
    EXPECT_TRUE(ad.getIsVista() && ad.getIsWin7());
    EXPECT_FALSE(IsWow64());
}

TEST(ApplicationData, DefaultProgramFolderIsTheDataFolderBesideTheProgram) {
    EXPECT_TRUE(TovAD::DefaultProgramFolder().endsWith(QStringLiteral("/share/ovik-krv-tessel/")));
}

TEST(ApplicationData, DialogMetricsFollowTheMeasuredFont) {
    struct Case {
        int lineHeight;
        int charWidth;
        bool readable;
        int textHeight, smallMargin, bitmapMargin;
    };
    const Case cases[] = {
        {11, 6, true, 11, 10, 13},
        {13, 7, true, 13, 8, 11},
        {16, 8, true, 16, 8, 11},
        {20, 9, false, 13, 8, 11}, // unreadable font: the designed metrics
    };
    for (const Case& c : cases) {
        ScopedTextMeasurer measurer(
            std::make_unique<FixedTextMeasurer>(c.lineHeight, c.charWidth, c.readable));
        TovAD ad(QStringLiteral("/x"), MeasureIconTitleFont());
        const int expectedAvg = c.readable ? (c.charWidth * 52 / 26 + 1) / 2 : 6;
        EXPECT_EQ(DlgTextHeight, c.textHeight) << c.lineHeight;
        EXPECT_EQ(DlgAvgCharWidth, expectedAvg) << c.lineHeight;
        EXPECT_EQ(DlgSmallBtnMargin, c.smallMargin) << c.lineHeight;
        EXPECT_EQ(DlgBBtnMargin, c.bitmapMargin) << c.lineHeight;
        EXPECT_EQ(DlgSBtnMargin, c.bitmapMargin) << c.lineHeight;
        EXPECT_EQ(DlgImageWidth, 22);
        EXPECT_EQ(DlgImageHeight, 21);
    }
}

} // namespace
