#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services_ui/F_StdDlg.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WindowFrame.h"
#include "support/FakeMainWindow.h"
#include "support/FakeMessageBox.h"
#include "support/FixedTextMeasurer.h"
#include "support/FixedWorkArea.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using testsupport::FixedTextMeasurer;
using testsupport::ScopedTextMeasurer;
using testsupport::ScopedWorkArea;

TStdDlgButton button(int image, int result, int captionId, int hintId, bool visible = true) {
    return TStdDlgButton{image, result, UIT(captionId), UIT(hintId), visible};
}

TEST(StdDlgWindow, WarningWithOneCloseButton) {
    TUF_StdDlg dlg;
    dlg.MsgLines = {QStringLiteral("The file could not be found.")};
    dlg.SetupStdDlgButtons1(sdkWarning, QStringLiteral("U004"),
                            button(glyphClose, mrClose, 357, 1202));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral(" Ovik KRV Tessel: Warning "));
    EXPECT_FALSE(dlg.Img_Warning->isHidden());
    EXPECT_TRUE(dlg.Img_Critical->isHidden() && dlg.Img_Info->isHidden() &&
                dlg.Img_Question->isHidden());
    EXPECT_TRUE(dlg.BBtn_L->isHidden());
    EXPECT_TRUE(dlg.BBtn_M->isHidden());
    EXPECT_FALSE(dlg.BBtn_R->isHidden());
    EXPECT_EQ(dlg.BBtn_R->text(), QStringLiteral("&Close"));
    EXPECT_EQ(dlg.BBtn_R->toolTip(), QStringLiteral("Close Dialogue.\nShortcuts: (Esc), (Alt-C)"));
    EXPECT_EQ(dlg.Lbl_MsgID->text(), QStringLiteral(" U004 "));
    EXPECT_TRUE(dlg.Lbl_MsgID->isHidden());
    EXPECT_TRUE(dlg.Pnl_StdDlg_CB->isHidden());
    EXPECT_EQ(dlg.getMemoLines(), Texts({"", " The file could not be found. ", ""}));
    EXPECT_EQ(dlg.EscapeResult(), mrClose);
    dlg.reject(); // Esc
    EXPECT_EQ(dlg.result(), mrClose);
}

TEST(StdDlgWindow, YesStandsLeftOfNoAndEscapeAnswersNo) {
    TUF_StdDlg dlg;
    dlg.MsgLines = {QStringLiteral("Save the changes?")};
    dlg.SetupStdDlgButtons2(sdkQuestion, QStringLiteral("UDF005"), button(glyphNo, mrNo, 359, 1200),
                            button(glyphYes, mrYes, 362, 1200));
    EXPECT_LT(dlg.BBtn_M->x(), dlg.BBtn_R->x());
    EXPECT_EQ(dlg.BBtn_M->text(), QStringLiteral("&Yes"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral(" Ovik KRV Tessel: Question "));
    dlg.reject();
    EXPECT_EQ(dlg.result(), mrNo);
    dlg.BBtn_M->click();
    EXPECT_EQ(dlg.result(), mrYes);
}

TEST(StdDlgWindow, CheckBoxPromptAlwaysStartsCleared) {
    TUF_StdDlg dlg;
    const auto setUp = [&dlg] {
        dlg.SetupStdDlgButtons3CB(
            sdkQuestion, QStringLiteral("UP001"), button(glyphNo, mrNo, 359, 1200),
            button(glyphYes, mrYes, 362, 1200), button(glyphCancel, mrCancel, 356, 1200, false),
            UIT(txt::OverwriteOutputFileWithoutPrompting));
    };
    setUp();
    EXPECT_FALSE(dlg.Pnl_StdDlg_CB->isHidden());
    EXPECT_TRUE(dlg.BBtn_L->isHidden());
    dlg.CB_StdDlg->setChecked(true);
    EXPECT_TRUE(dlg.getChecked());
    setUp();
    EXPECT_FALSE(dlg.getChecked());
    EXPECT_EQ(dlg.CB_StdDlg->text(), UIT(txt::OverwriteOutputFileWithoutPrompting));
    // A later plain set-up hides the check box row again.
    dlg.SetupStdDlgButtons1(sdkInformation, QStringLiteral("I1"),
                            button(glyphClose, mrClose, 357, 1200));
    EXPECT_TRUE(dlg.Pnl_StdDlg_CB->isHidden());
}

TEST(StdDlgWindow, EmptyMessageKeepsRoomForTheImage) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    TUF_StdDlg dlg;
    dlg.MsgLines.clear();
    dlg.SetupStdDlgButtons1(sdkCritical, QStringLiteral("X"),
                            button(glyphClose, mrClose, 357, 1200));
    EXPECT_EQ(dlg.getMemoLines(), Texts({"", ""}));
    const FrameMetrics fm = frameMetrics();
    // 3 lines x 13 = 39 is less than the image height + 14.
    EXPECT_EQ(dlg.getMinHeight(),
              2 * fm.dlgFrame + fm.caption + 32 + 14 + dlg.Pnl_StdDlg_BBtn->height());
}

TEST(StdDlgWindow, AShortMessageIsAsWideAsItsCaptionBesideTheCaptionButtons) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    TUF_StdDlg dlg;
    dlg.MsgLines = {QStringLiteral("Done.")};
    dlg.SetupStdDlgButtons1(sdkInformation, QStringLiteral("I1"),
                            button(glyphClose, mrClose, 357, 1200));
    // Window managers draw minimise and maximise buttons beside a dialogue's caption too.
    EXPECT_GE(dlg.getMinWidth(), CaptionTextWidth(dlg.windowTitle(), true, true));
    EXPECT_EQ(OuterRectOf(&dlg).width(), dlg.getMinWidth());
}

TEST(StdDlgWindow, CentresOnTheWorkAreaAndCutsLongLines) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    ScopedWorkArea area(QRect(400, 100, 600, 500));
    TUF_StdDlg dlg;
    dlg.MsgLines = {QString(300, QLatin1Char('w'))};
    dlg.SetupStdDlgButtons1(sdkWarning, QStringLiteral("U001"),
                            button(glyphClose, mrClose, 357, 1200));
    const FrameMetrics fm = frameMetrics();
    EXPECT_EQ(dlg.getWrapWidth(), 600 - 2 * fm.dlgFrame - 8 - 2 * 12 - 48);
    EXPECT_GT(dlg.getMemoLines().size(), 5);
    // The window's outer rectangle, frame included, is centred.
    const QRect outer = OuterRectOf(&dlg);
    EXPECT_EQ(outer.size(), dlg.size() + QSize(2 * fm.dlgFrame, 2 * fm.dlgFrame + fm.caption));
    EXPECT_LE(outer.width(), 600);
    EXPECT_EQ(outer.x(), 400 + 300 - outer.width() / 2);
    EXPECT_EQ(outer.y(), 100 + 250 - outer.height() / 2);
}

TEST(StdDlgWindow, MessageHigherThanTheWorkAreaScrolls) {
    ScopedTextMeasurer measurer(std::make_unique<FixedTextMeasurer>(13, 6));
    ScopedWorkArea area(QRect(0, 50, 800, 300));
    TUF_StdDlg dlg;
    for (int i = 0; i < 60; ++i) {
        dlg.MsgLines << QStringLiteral("line %1").arg(i);
    }
    dlg.SetupStdDlgButtons1(sdkInformation, QStringLiteral("I2"),
                            button(glyphClose, mrClose, 357, 1200));
    EXPECT_EQ(OuterRectOf(&dlg).height(), 300);
    EXPECT_EQ(OuterRectOf(&dlg).y(), 50);
}

TEST(StdDlgWindow, GlyphIndexOutsideTheListIsReportedAndTheButtonStaysPlain) {
    QList<QIcon> glyphs;
    for (int i = 0; i < 13; ++i) {
        glyphs << QIcon();
    }
    TUF_StdDlg dlg;
    dlg.setGlyphList(&glyphs);
    dlg.MsgLines = {QStringLiteral("x")};
    dlg.SetupStdDlgButtons2(sdkQuestion, QStringLiteral("Q"),
                            button(glyphClose, mrClose, 357, 1200),
                            button(glyphYes, mrYes, 362, 1200));
    ASSERT_EQ(testsupport::messageBoxes().shown.size(), 1u);
    EXPECT_TRUE(testsupport::messageBoxes().shown[0].text.contains(
        QStringLiteral("UF_StdDlg.SetupBBtn_M")));
    EXPECT_TRUE(dlg.BBtn_M->icon().isNull());
}

TEST(StdDlgWindow, ShowingRestoresTheMainWindow) {
    testsupport::FakeMainWindow main;
    TUF_StdDlg dlg;
    dlg.MsgLines = {QStringLiteral("x")};
    dlg.SetupStdDlgButtons1(sdkWarning, QStringLiteral("W"),
                            button(glyphClose, mrClose, 357, 1200));
    dlg.show();
    EXPECT_EQ(main.restores, 1);
    dlg.hide();
}

} // namespace
