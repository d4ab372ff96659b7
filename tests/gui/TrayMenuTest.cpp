// The tray menu's "关闭系统" with its question, and a second start of the program.

#include "GuiFixture.h"

#include "shell/win32/ControlIds.h"

#include <thread>

namespace zir::gui {
namespace {

using namespace zir::win32;

TEST_F(GuiTest, CloseSystemAsksAndEndsOnlyAfterOk) {
    Launch();
    PostMessageW(main, WM_COMMAND, IDM_N1, 0);
    MessageBoxSeen box = zir->WaitForMessageBox();
    EXPECT_EQ(box.Text, "确定要关闭解码服务么？");
    Answer(box, IDCANCEL);
    EXPECT_EQ(zir->WaitForExit(std::chrono::seconds(3)), -1);
    EXPECT_FALSE(HttpGet(port, "/?type=UID").empty());

    // A request in the reader holds the stop up for a while: the icon is seen to go before the
    // process does.
    zir->WriteCard("CardType=1\nUid=A1B2C3D4\nDelayMs=2500\n");
    const size_t requests = LogLinesStartingWith("##REQUEST");
    std::jthread request([&] { HttpGet(port, "/?type=UID"); });
    ASSERT_TRUE(WaitUntil([&] { return LogLinesStartingWith("##REQUEST") > requests; }));
    PostMessageW(main, WM_COMMAND, IDM_N1, 0);
    box = zir->WaitForMessageBox();
    ASSERT_EQ(box.Text, "确定要关闭解码服务么？");
    Answer(box, IDOK);
    EXPECT_TRUE(
        WaitUntil([&] { return !TrayIconExists(main, kTrayIconId); }, std::chrono::seconds(4)));
    EXPECT_TRUE(zir->Running()); // the stop still waits for the request
    EXPECT_EQ(zir->WaitForExit(), 0);
    EXPECT_EQ(HttpGet(port, "/?type=UID"), "");
}

// A reader call that does not come back (a UID read inside the reader, a test read waiting
// for it): each way of ending the program ends the process within 10 s all the same.
TEST_F(GuiTest, EveryWayOfQuittingEndsWithin10SecondsWhileAReaderCallHangs) {
    const UINT quit = RegisterWindowMessageW(kQuitMessageName);
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way == 0 ? "关闭系统" : way == 1 ? "zir.Quit" : "end of session");
        Launch();
        zir->WriteCard("CardType=1\nUid=A1B2C3D4\nDelayMs=60000\n");
        const size_t requests = LogLinesStartingWith("##REQUEST");
        std::jthread request([&] { HttpGet(port, "/?type=UID"); });
        HWND testUid = Control(main, IDC_btnTestGetUID);
        ASSERT_TRUE(WaitUntil([&] { return LogLinesStartingWith("##REQUEST") > requests; }));
        Click(testUid); // waits for the card lock behind the request
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(testUid); }));

        auto start = std::chrono::steady_clock::now();
        if (way == 0) {
            PostMessageW(main, WM_COMMAND, IDM_N1, 0);
            MessageBoxSeen box = zir->WaitForMessageBox();
            ASSERT_EQ(box.Text, "确定要关闭解码服务么？");
            start = std::chrono::steady_clock::now(); // from the OK
            Answer(box, IDOK);
        } else if (way == 1) {
            PostMessageW(main, quit, 0, 0);
        } else {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &result);
            SendMessageTimeoutW(main, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 12000, &result);
        }
        EXPECT_EQ(zir->WaitForExit(std::chrono::seconds(11)), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        zir.reset();
    }
}

TEST_F(GuiTest, ASecondStartSaysSoAndEnds) {
    Launch();
    TempFolder other;
    ZirProcess second(other, "WebPort=" + std::to_string(FreeLoopbackPort()) + "\r\n");
    second.Start();
    MessageBoxSeen box = second.WaitForMessageBox();
    EXPECT_EQ(box.Text, "zir服务已启动");
    EXPECT_EQ(box.Caption, "提示信息");
    Answer(box, IDOK);
    EXPECT_EQ(second.WaitForExit(), 1);
    EXPECT_TRUE(zir->Running());
    EXPECT_FALSE(HttpGet(port, "/?type=UID").empty());
}

} // namespace
} // namespace zir::gui
