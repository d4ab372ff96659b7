// The tray menu's "关闭系统" with its question, and a second start of the program.

#include "GuiFixture.h"

#include "shell/win32/ControlIds.h"

namespace zir::gui {
namespace {

using namespace zir::win32;

TEST_F(GuiTest, CloseSystemAsksAndEndsOnlyAfterOk) {
    Launch();
    PostMessageW(main, WM_COMMAND, IDM_N1, 0);
    MessageBoxSeen box = zir->WaitForMessageBox();
    EXPECT_EQ(box.Text, "确定要关闭解码服务么？");
    Answer(box, IDCANCEL);
    EXPECT_EQ(zir->WaitForExit(std::chrono::milliseconds(500)), -1);
    EXPECT_FALSE(HttpGet(port, "/?type=UID").empty());

    PostMessageW(main, WM_COMMAND, IDM_N1, 0);
    box = zir->WaitForMessageBox();
    ASSERT_EQ(box.Text, "确定要关闭解码服务么？");
    Answer(box, IDOK);
    EXPECT_EQ(zir->WaitForExit(), 0);
    EXPECT_FALSE(TrayIconExists(main, kTrayIconId));
    EXPECT_EQ(HttpGet(port, "/?type=UID"), "");
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
