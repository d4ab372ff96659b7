// The main window and the tray icon: hidden at launch, shown from the tray, hidden again by
// close and minimise while the service goes on; the start and stop buttons; the log's bound.

#include "GuiFixture.h"

#include "shell/win32/ControlIds.h"

namespace zir::gui {
namespace {

using namespace zir::win32;

TEST_F(GuiTest, LaunchShowsOnlyTheTrayIconAndTheTrayShowsTheWindow) {
    Launch();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(Text(main), "身份证zir");
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));
    EXPECT_FALSE(TrayIconExists(main, kTrayIconId + 1));
    EXPECT_EQ(zir->TopWindow(kSettingsWindowClass, true, std::chrono::milliseconds(0)), nullptr);

    PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_NE(MemoText(Control(main, IDC_mmo1)).find("==SERVER START SUCCESS --> [127.0.0.1:" +
                                                     std::to_string(port) + "]"),
              std::string::npos);
}

TEST_F(GuiTest, CloseAndMinimiseOnlyHideTheWindowAndTheServiceGoesOn) {
    Launch();
    for (WPARAM command : {SC_CLOSE, SC_MINIMIZE}) {
        PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
        PostMessageW(main, WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << command;
        EXPECT_TRUE(zir->Running());
        EXPECT_NE(Body(HttpGet(port, "/?type=UID")).find("\"uid\":\"A1B2C3D4\""), std::string::npos);
    }
}

TEST_F(GuiTest, StartAndStopButtonsFollowTheService) {
    Launch();
    HWND start = Control(main, IDC_btnStartServer);
    HWND stop = Control(main, IDC_btnStopServer);
    EXPECT_FALSE(IsWindowEnabled(start));
    EXPECT_TRUE(IsWindowEnabled(stop));

    Click(stop);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(start) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(stop));
    EXPECT_EQ(HttpGet(port, "/?type=UID"), "");

    Click(start);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(stop) != FALSE; }));
    EXPECT_FALSE(IsWindowEnabled(start));
    EXPECT_NE(Body(HttpGet(port, "/?type=UID")).find("A1B2C3D4"), std::string::npos);
}

TEST_F(GuiTest, TheServiceLogKeepsItsLast5000Lines) {
    Launch();
    // Two lines per request (the request and the read): 6,000 lines.
    ASSERT_EQ(HttpGetRepeated(port, "/?type=UID", 3000), 3000);
    HWND log = Control(main, IDC_mmo1);
    auto lines = [&] {
        std::string text = MemoText(log);
        return std::count(text.begin(), text.end(), '\n');
    };
    EXPECT_TRUE(WaitUntil([&] { return lines() >= 4999; })) << lines();
    EXPECT_LE(lines(), 5000);
    // The oldest went: the start line is gone, the last request is there.
    EXPECT_EQ(MemoText(log).find("SERVER START SUCCESS"), std::string::npos);
    EXPECT_NE(MemoText(log).rfind("##READ SUCCESS"), std::string::npos);
}

TEST_F(GuiTest, ControlsStandWhereTheLayoutPutsThemAndFollowAResize) {
    Launch();
    PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 535);
    EXPECT_EQ(client.bottom, 582);
    auto placeIn = [](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    HWND stop = Control(main, IDC_btnStopServer);
    RECT before = placeIn(stop);
    EXPECT_EQ(before.right - before.left, 100);
    EXPECT_EQ(before.bottom - before.top, 25);

    // Anchored right and bottom: 100 pixels more each way move it by as much.
    RECT window{};
    GetWindowRect(main, &window);
    SetWindowPos(main, nullptr, 0, 0, window.right - window.left + 100,
                 window.bottom - window.top + 100, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(WaitUntil([&] { return placeIn(stop).left == before.left + 100; }));
    RECT after = placeIn(stop);
    EXPECT_EQ(after.top, before.top + 100);
    EXPECT_EQ(after.right - after.left, 100);
}

} // namespace
} // namespace zir::gui
