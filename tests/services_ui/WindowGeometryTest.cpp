#include "services_ui/WindowGeometry.h"
#include "services/ovWM.h"
#include "services_ui/WindowFrame.h"
#include "support/FakeMessageBox.h"
#include "support/TempRegistry.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

using testsupport::TempRegistry;

const std::vector<QRect> kOneScreen{QRect(0, 0, 1920, 1040)};
// A primary screen with a panel on its left, and a second screen left of it.
const std::vector<QRect> kTwoScreens{QRect(64, 0, 1856, 1080), QRect(-1280, 0, 1280, 1024)};

TovWM slotWith(int left, int top, int width, int height, int defaultWidth = 480,
               int defaultHeight = 360) {
    TovWM wm;
    wm.setLeft(left);
    wm.setTop(top);
    wm.setWidth(width);
    wm.setHeight(height);
    wm.setDefaultWidth(defaultWidth);
    wm.setDefaultHeight(defaultHeight);
    return wm;
}

TWindowState windowOf(QRect rect, QSize minimum = QSize(200, 150)) {
    TWindowState w;
    w.geometry = rect;
    w.normalGeometry = rect;
    w.minimum = minimum;
    return w;
}

TEST(WindowGeometry, ApplyPlacesWindowsOnTheirWorkArea) {
    const struct {
        const char* what;
        int left, top, width, height;
        std::vector<QRect> areas;
        QRect expected;
    } cases[] = {
        {"never saved: default size, centred", -1, -1, -1, -1, kOneScreen,
         QRect(720, 340, 480, 360)},
        {"too wide: cut to the work area", 0, 0, 2500, 300, kOneScreen, QRect(0, 0, 1920, 300)},
        {"left of 5000: right edge on the area's right", 5000, 10, 480, 360, kOneScreen,
         QRect(1440, 10, 480, 360)},
        {"below the minimum: raised", 10, 10, 50, 20, kOneScreen, QRect(10, 10, 200, 150)},
        {"partly off the left edge: moved onto the area", -20, 100, 480, 360, kOneScreen,
         QRect(0, 100, 480, 360)},
        {"centred on the area as it lies, not from 0", -1, -1, 400, 300, kTwoScreens,
         QRect(64 + (1856 - 400) / 2, (1080 - 300) / 2, 400, 300)},
        {"on the screen left of the primary: restored there", -1000, 50, 600, 400, kTwoScreens,
         QRect(-1000, 50, 600, 400)},
        {"taller than the left screen: cut to its height", -1000, 0, 600, 2000, kTwoScreens,
         QRect(-1000, 0, 600, 1024)},
        {"on a screen that is gone: brought onto the primary", -5000, 50, 600, 400, kTwoScreens,
         QRect(64, 50, 600, 400)},
    };
    for (const auto& c : cases) {
        TovWM wm = slotWith(c.left, c.top, c.width, c.height);
        const TWindowPlacement placement =
            PlanApplyGeometry(wm, windowOf(QRect(0, 0, 100, 100)), true, c.areas);
        EXPECT_EQ(placement.rect, c.expected) << c.what;
        EXPECT_FALSE(placement.maximised) << c.what;
    }
}

TEST(WindowGeometry, ApplyHonoursTheStateAndTheResetFlag) {
    TovWM wm = slotWith(100, 100, 500, 400);
    wm.setWindowSize(1);
    wm.setFormPositionReset(true);
    const TWindowPlacement placement =
        PlanApplyGeometry(wm, windowOf(QRect(0, 0, 100, 100)), true, kOneScreen);
    EXPECT_TRUE(placement.maximised);
    EXPECT_EQ(placement.rect, QRect(710, 320, 500, 400));
    EXPECT_FALSE(wm.getFormPositionReset());
    EXPECT_EQ(wm.getLeft(), -1);

    // Without size the window keeps its own size.
    TovWM moved = slotWith(30, 40, 900, 900);
    EXPECT_EQ(PlanApplyGeometry(moved, windowOf(QRect(0, 0, 320, 200)), false, kOneScreen).rect,
              QRect(30, 40, 320, 200));
}

TEST(WindowGeometry, CaptureStoresTheNormalRectangleAndTheState) {
    TovWM wm = slotWith(-1, -1, -1, -1);
    TWindowState maximised = windowOf(QRect(0, 0, 1920, 1040));
    maximised.maximised = true;
    maximised.normalGeometry = QRect(100, 120, 640, 480);
    PlanCaptureGeometry(wm, maximised, true, kOneScreen);
    EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()),
              QRect(100, 120, 640, 480));
    EXPECT_EQ(wm.getWindowSize(), 1);

    TWindowState minimised = windowOf(QRect(0, 0, 10, 10));
    minimised.minimised = true;
    minimised.normalGeometry = QRect(5, 6, 700, 500);
    wm.setWasMaximised(true);
    PlanCaptureGeometry(wm, minimised, true, kOneScreen);
    EXPECT_EQ(wm.getWindowSize(), 1);
    wm.setWasMaximised(false);
    PlanCaptureGeometry(wm, minimised, true, kOneScreen);
    EXPECT_EQ(wm.getWindowSize(), 0);

    // On the screen left of the primary the place is kept, the size fits that screen.
    PlanCaptureGeometry(wm, windowOf(QRect(-1200, 10, 800, 3000)), true, kTwoScreens);
    EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()),
              QRect(-1200, 10, 800, 1024));
}

TEST(WindowGeometry, ResetCentresTheDefaultSizeAndFlagsTheWindow) {
    TovWM wm = slotWith(5, 5, 900, 700, 400, 360);
    wm.setWindowSize(1);
    wm.setDefaultSplitterLeft(150);
    const TWindowPlacement placement =
        PlanResetGeometry(wm, windowOf(QRect(5, 5, 900, 700)), true, kTwoScreens);
    EXPECT_EQ(placement.rect, QRect(64 + (1856 - 400) / 2, (1080 - 360) / 2, 400, 360));
    EXPECT_FALSE(placement.maximised);
    EXPECT_EQ(wm.getWindowSize(), 0);
    EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()), placement.rect);
    EXPECT_EQ(wm.getSplitterLeft(), 150);
    EXPECT_TRUE(wm.getFormPositionReset());
    // The next apply centres it again at its default size.
    EXPECT_EQ(PlanApplyGeometry(wm, windowOf(placement.rect), true, kTwoScreens).rect,
              placement.rect);
}

TEST(WindowGeometry, WorkAreaForPicksTheScreenOfTheCentreThenTheLargestOverlap) {
    EXPECT_EQ(WorkAreaFor(kTwoScreens, QRect(-300, 0, 400, 100)), kTwoScreens[1]);
    EXPECT_EQ(WorkAreaFor(kTwoScreens, QRect(-100, 0, 400, 100)), kTwoScreens[0]);
    EXPECT_EQ(WorkAreaFor(kTwoScreens, QRect(40, 0, 40, 100)), kTwoScreens[0]);
    EXPECT_EQ(WorkAreaFor(kTwoScreens, QRect(9000, 9000, 10, 10)), kTwoScreens[0]);
}

class FixedAreas : public IScreenAreas {
public:
    std::vector<QRect> areas() const override { return kTwoScreens; }
};

TEST(WindowGeometry, AppliesToAndCapturesFromAWidget) {
    auto previous = setScreenAreas(std::make_unique<FixedAreas>());
    QWidget window;
    window.setMinimumSize(300, 200);
    TovWM wm = slotWith(-1, -1, -1, -1, 811, 627);
    // The slot holds the window's outer rectangle, frame included.
    ApplyWindowGeometry(wm, &window, true);
    EXPECT_EQ(OuterRectOf(&window), QRect(64 + (1856 - 811) / 2, (1080 - 627) / 2, 811, 627));
    PlaceOuter(&window, QRect(-900, 40, 500, 400));
    CaptureWindowGeometry(wm, &window, true);
    EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()),
              QRect(-900, 40, 500, 400));
    setScreenAreas(std::move(previous));
}

TEST(WindowManager, NormaliseRepairsValuesButKeepsPlacesLeftOfThePrimary) {
    TovWMs wms;
    const int n = wms.Add();
    EXPECT_EQ(n, 1);
    TovWM& wm = wms.getItems(1);
    wm.setLeft(-1500);
    wm.setTop(-30);
    wm.setHeight(-20);
    wm.setWidth(-7);
    wm.setSplitterLeft(-9);
    wm.setSecondSplitter(-4);
    wms.Normalise();
    EXPECT_EQ(wm.getLeft(), -1500);
    EXPECT_EQ(wm.getTop(), -30);
    EXPECT_EQ(wm.getHeight(), -1);
    EXPECT_EQ(wm.getWidth(), -1);
    EXPECT_EQ(wm.getSplitterLeft(), -1);
    EXPECT_EQ(wm.getSecondSplitter(), -1);
    wm.setWindowSize(7);
    EXPECT_EQ(wm.getWindowSize(), 0);
    EXPECT_EQ(&wms.getItems(2), &wms.getItems(0));
}

TEST(WindowManager, RoundTripThroughTheUserHiveKeepsUnreadableValues) {
    TempRegistry reg;
    reg.writeUserHive("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\WMs\\WM_1]\n"
                      "\"Left\"=\"ten\"\n\"Top\"=dword:00000014\n\"WindowSize\"=dword:00000007\n"
                      "\"Width\"=dword:00000320\n");
    TovWMs wms;
    for (int i = 0; i < 8; ++i) {
        wms.Add();
    }
    wms.Load();
    wms.Normalise();
    EXPECT_EQ(testsupport::messageBoxes().shown.size(), 1U);
    TovWM& wm = wms.getItems(1);
    EXPECT_EQ(wm.getLeft(), -1);
    EXPECT_EQ(wm.getTop(), 20);
    EXPECT_EQ(wm.getWidth(), 800);
    EXPECT_EQ(wm.getWindowSize(), 0);
    wms.SaveAll();
    QByteArray text = reg.readUserHive();
    EXPECT_TRUE(text.contains("\"Left\"=\"ten\""));
    EXPECT_TRUE(
        text.contains("[HKEY_CURRENT_USER\\Software\\Tarrow Studio\\Ovik KRV Tessel\\WMs\\WM_8]"));

    wm.setLeft(-300); // the user placed it left of the primary screen
    wms.Save(1);
    TovWMs back;
    back.Add();
    back.Load();
    EXPECT_EQ(back.getItems(1).getLeft(), -300);
    EXPECT_EQ(back.getItems(1).getTop(), 20);
}

} // namespace

TEST(WindowGeometry, AWindowStartedAndClosedMaximisedKeepsItsNormalRectangleOverEveryCycle) {
    auto previous = setScreenAreas(std::make_unique<FixedAreas>());
    // Never saved: the default size, centred; then the rectangle the user last had un-maximised.
    TovWM wm = slotWith(-1, -1, -1, -1, 811, 627);
    wm.setWindowSize(1);
    const QRect centred(64 + (1856 - 811) / 2, (1080 - 627) / 2, 811, 627);
    const QRect moved(300, 120, 700, 500);
    for (int cycle = 1; cycle <= 5; ++cycle) {
        SCOPED_TRACE(cycle);
        QWidget window;
        window.setMinimumSize(300, 200);
        ApplyWindowGeometry(wm, &window, true);
        window.show();
        ASSERT_TRUE(window.isMaximized());
        if (cycle == 1) {
            // Closed without ever being un-maximised.
            CaptureWindowGeometry(wm, &window, true);
            EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()), centred);
            EXPECT_EQ(wm.getWindowSize(), 1);
            continue;
        }
        window.showNormal();
        EXPECT_EQ(OuterRectOf(&window), cycle == 2 ? centred : moved);
        if (cycle == 2) {
            PlaceOuter(&window, moved); // the user moves and sizes it
        }
        window.showMaximized();
        CaptureWindowGeometry(wm, &window, true);
        EXPECT_EQ(QRect(wm.getLeft(), wm.getTop(), wm.getWidth(), wm.getHeight()), moved);
        EXPECT_EQ(wm.getWindowSize(), 1);
    }
    setScreenAreas(std::move(previous));
}
