// The main window and the tray icon: hidden at launch, shown from the tray, hidden again by
// close and minimise while the service goes on; the start and stop buttons; the log's bound.

#include "GuiFixture.h"

#include "shell/common/StartFailureNotice.h"
#include "shell/win32/ControlIds.h"

#include <optional>
#include <winsock2.h>

namespace zir::gui {
namespace {

using namespace zir::win32;

TEST_F(GuiTest, LaunchShowsOnlyTheTrayIconAndTheTrayShowsTheWindow) {
    Launch();
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(Text(main), "身份证zir");
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));
    EXPECT_EQ(TrayText(main, 0), "zir服务");
    EXPECT_EQ(TrayText(main, 1), "");
    EXPECT_EQ(zir->TopWindow(kSettingsWindowClass, true, std::chrono::milliseconds(0)), nullptr);

    PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    EXPECT_NE(MemoText(Control(main, IDC_mmo1))
                  .find("==SERVER START SUCCESS --> [127.0.0.1:" + std::to_string(port) + "]"),
              std::string::npos);
}

TEST_F(GuiTest, AFailedStartShowsInTheTrayOnceAndAStartClearsIt) {
    std::optional<PortHolder> holder(std::in_place);
    ASSERT_NE(holder->Port(), 0) << WSAGetLastError();
    StartOn(holder->Port());
    ASSERT_NE(main, nullptr) << zir->Err();
    HWND log = Control(main, IDC_mmo1);
    const std::string address = "127.0.0.1:" + std::to_string(holder->Port());
    ASSERT_TRUE(WaitUntil([&] { return MemoLines(log).size() >= 2; })) << zir->Out();
    EXPECT_EQ(MemoLines(log),
              (std::vector<std::string>{
                  "SERVER START FAIL...",
                  "SERVER START FAIL --> [" + address +
                      "] Could not bind socket. Address and port are already in use.",
              }));
    EXPECT_EQ(TrayText(main, 0), shell::kStoppedTrayTip);
    EXPECT_EQ(TrayText(main, 1),
              address + " 已被其他程序占用，请在“设置”中选择其他端口，再启动服务。");
    EXPECT_TRUE(IsWindowEnabled(Control(main, IDC_btnStartServer)));

    holder.reset();
    Click(Control(main, IDC_btnStartServer));
    ASSERT_TRUE(WaitUntil([&] {
        return IsWindowEnabled(Control(main, IDC_btnStopServer)) != FALSE;
    })) << MemoText(log);
    EXPECT_EQ(TrayText(main, 0), "zir服务");
    EXPECT_EQ(TrayText(main, 1), "");
}

TEST_F(GuiTest, ATrayIconTheShellRefusedIsAddedAgainAndTheRetriesAreLogged) {
    SetEnvironmentVariableW(kTrayAddFailuresVariable, L"2");
    Launch();
    SetEnvironmentVariableW(kTrayAddFailuresVariable, nullptr);
    EXPECT_TRUE(
        WaitUntil([&] { return TrayIconExists(main, kTrayIconId); }, std::chrono::seconds(10)));
    HWND log = Control(main, IDC_mmo1);
    ASSERT_TRUE(WaitUntil(
        [&] { return MemoText(log).find("==TRAY ICON ADD SUCCESS") != std::string::npos; }));
    const std::string text = MemoText(log);
    const size_t first = text.find("==TRAY ICON ADD FAIL...retrying every 2 s\n");
    const size_t retry = text.find("==TRAY ICON ADD FAIL...retry 1\n");
    const size_t added = text.find("==TRAY ICON ADD SUCCESS...after 2 retries\n");
    EXPECT_LT(first, retry) << text;
    EXPECT_LT(retry, added) << text;
    EXPECT_NE(added, std::string::npos) << text;
}

TEST_F(GuiTest, CloseAndMinimiseOnlyHideTheWindowAndTheServiceGoesOn) {
    Launch();
    for (WPARAM command : {SC_CLOSE, SC_MINIMIZE}) {
        PostMessageW(main, kTrayIconMessage, kTrayIconId, WM_LBUTTONDOWN);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
        PostMessageW(main, WM_SYSCOMMAND, command, 0);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << command;
        EXPECT_TRUE(zir->Running());
        EXPECT_NE(Body(HttpGet(port, "/?type=UID")).find("\"uid\":\"A1B2C3D4\""),
                  std::string::npos);
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
    // One more, told apart by its path: once its lines are the newest, all have arrived.
    ASSERT_FALSE(HttpGet(port, "/last?type=UID").empty());
    std::vector<std::string> kept;
    EXPECT_TRUE(WaitUntil([&] {
        kept = MemoLines(log);
        return kept.size() >= 2 && kept[kept.size() - 2] == "##REQUEST --> [URI: /last; TYPE: UID]";
    })) << lines();
    EXPECT_EQ(lines(), 5000);
    ASSERT_EQ(kept.size(), 5000u);
    // The oldest went, cut at a line start: the start line is gone and the first line kept is
    // a whole one, a request's or its read's, as the last two are.
    EXPECT_EQ(MemoText(log).find("SERVER START SUCCESS"), std::string::npos);
    EXPECT_TRUE(kept.front() == "##REQUEST --> [URI: /; TYPE: UID]" || kept.front() == kept.back())
        << kept.front();
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
