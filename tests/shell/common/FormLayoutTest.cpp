#include "shell/common/FormLayout.h"

#include <gtest/gtest.h>

using namespace zir::shell;

namespace L = zir::shell::MainFormLayout;

TEST(FormLayout, AtTheDesignSizeAndDpiEveryControlStandsWhereTheTableSays) {
    EXPECT_EQ(PlaceControl(L::mmo1, L::kPage, L::kPage, 96), (TBounds{0, 0, 527, 514}));
    EXPECT_EQ(PlaceControl(L::btnStopServer, L::kPage, L::kPage, 96), (TBounds{408, 521, 100, 25}));
    EXPECT_EQ(PlaceControl(L::pnl1, L::kPage, L::kPage, 96), (TBounds{410, 8, 108, 132}));
    EXPECT_EQ(PlaceControl(L::imgPhoto, L::kPanel, L::kPanel, 96), (TBounds{3, 3, 102, 126}));
}

TEST(FormLayout, AResizedWindowStretchesTheMemosAndMovesTheButtonsWithTheirEdges) {
    const TExtent bigger{L::kPage.Width + 100, L::kPage.Height + 40};
    // All four anchors: the log grows with the page.
    EXPECT_EQ(PlaceControl(L::mmo1, L::kPage, bigger, 96), (TBounds{0, 0, 627, 554}));
    EXPECT_EQ(PlaceControl(L::mmoIdCard, L::kPage, bigger, 96), (TBounds{8, 8, 493, 574}));
    // Right and bottom: the buttons keep their distance to the bottom right corner.
    EXPECT_EQ(PlaceControl(L::btnStartServer, L::kPage, bigger, 96), (TBounds{404, 561, 100, 25}));
    EXPECT_EQ(PlaceControl(L::btnTestIdCard, L::kPage, bigger, 96), (TBounds{516, 554, 102, 25}));
    // Top and right: the photo's frame follows the right edge only.
    EXPECT_EQ(PlaceControl(L::pnl1, L::kPage, bigger, 96), (TBounds{510, 8, 108, 132}));
}

TEST(FormLayout, AWindowSmallerThanItsDesignNeverGivesANegativeSize) {
    const TBounds b = PlaceControl(L::mmo1, L::kPage, {100, 50}, 96);
    EXPECT_EQ(b.Width, 100);
    EXPECT_EQ(b.Height, 10);
    EXPECT_EQ(PlaceControl(L::mmoIdCard, L::kPage, {0, 0}, 96).Width, 0);
}

TEST(FormLayout, HigherDpiScalesPositionsSizesAndTheFontRoundingToTheNearestPixel) {
    EXPECT_EQ(ScaleForDpi(100, 144), 150);
    EXPECT_EQ(ScaleForDpi(25, 120), 31);               // 31.25
    EXPECT_EQ(ScaleForDpi(102, 120), 128);             // 127.5 rounds up
    EXPECT_EQ(ScaleForDpi(kFormFontHeight, 144), -17); // -16.5 rounds away from zero
    EXPECT_EQ(ScaleForDpi(kFormFontHeight, 96), -11);
    // At the design size for 144 DPI nothing moves but by the scale.
    const TExtent page = ScaleForDpi(L::kPage, 144);
    EXPECT_EQ(PlaceControl(L::btnStartServer, L::kPage, page, 144), (TBounds{456, 782, 150, 38}));
    // Growth is counted in real pixels against the scaled design.
    EXPECT_EQ(PlaceControl(L::btnStartServer, L::kPage, {page.Width + 10, page.Height}, 144).Left,
              466);
}

TEST(FormLayout, TheSettingsDialogsControlsKeepTheirPlaces) {
    namespace S = zir::shell::SettingsFormLayout;
    EXPECT_EQ(PlaceControl(S::btnSaveConfig, S::kClient, S::kClient, 96),
              (TBounds{168, 208, 89, 25}));
    EXPECT_EQ(PlaceControl(S::lbl1, S::kClient, S::kClient, 192), (TBounds{32, 400, 482, 2}));
}

TEST(FormLayout, AWindowThatWouldLeaveTheWorkAreaMovesInside) {
    const TWorkArea screen{0, 0, 1024, 738};
    // 888 + 551 does not fit on a 1024 pixel screen: the window moves left just enough.
    EXPECT_EQ(KeepInWorkArea(888, 100, {551, 621}, screen), (TBounds{473, 100, 551, 621}));
    EXPECT_EQ(KeepInWorkArea(888, 100, {551, 621}, {0, 0, 1920, 1040}),
              (TBounds{888, 100, 551, 621}));
    // Larger than the screen: the top left corner stays visible.
    EXPECT_EQ(KeepInWorkArea(888, 100, {2000, 1200}, screen), (TBounds{0, 0, 2000, 1200}));
    // A second monitor to the left has negative coordinates.
    EXPECT_EQ(KeepInWorkArea(-50, 10, {300, 200}, {-1280, 0, 0, 1024}),
              (TBounds{-300, 10, 300, 200}));
}
