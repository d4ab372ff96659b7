// The test page: a full read of each card type shows the lines `zir read` prints, a failed read
// says why in a box, and a read without a photo says so instead of showing an old one.

#include "GuiFixture.h"

#include "TestPageCases.h"
#include "shell/win32/ControlIds.h"

#include <vector>

namespace zir::gui {
namespace {

using namespace zir::win32;

class TestPageTest : public GuiTest {
  protected:
    // Clears the memo, presses the button and waits for the read to end.
    std::string Read(int button) {
        HWND memo = Control(main, IDC_mmoIdCard);
        HWND pressed = Control(main, button);
        SetText(memo, "");
        Click(pressed);
        WaitUntil([&] { return !IsWindowEnabled(pressed); }, std::chrono::milliseconds(500));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(pressed) != FALSE; }));
        WaitUntil([&] { return !MemoText(memo).empty() || zir->MessageBoxShown(); });
        return MemoText(memo);
    }

    static std::string Lines(const std::vector<std::string>& lines) {
        std::string text;
        for (const auto& line : lines)
            text += line + "\n";
        return text;
    }

    const std::string& rule = test::kTestPageRule;
};

TEST_F(TestPageTest, EachCardTypeShowsItsLines) {
    Launch(0); // every card here has the same UID: the decode cache would answer the first
    for (const auto& c : test::TestPageCasesByType()) {
        SCOPED_TRACE(c.Type);
        zir->WriteCard(test::kTestPageCardFields + "CardType=" + std::to_string(c.Type) + "\n");
        EXPECT_EQ(Read(IDC_btnTestIdCard), Lines(c.Lines));
        EXPECT_FALSE(zir->MessageBoxShown());
    }
    EXPECT_NE(Read(IDC_btnTestGetUID).find(": U1"), std::string::npos);
}

TEST_F(TestPageTest, AFailedReadAndAReadWithoutPhotoSayWhyInABox) {
    Launch();
    DeleteFileW(zir->CardFile().c_str()); // no card on the reader
    Read(IDC_btnTestIdCard);
    MessageBoxSeen box = zir->WaitForMessageBox();
    EXPECT_EQ(box.Text, "选卡失败，错误代码：128");
    Answer(box, IDOK);

    zir->WriteCard("PhotoRawResult=0\nCardType=7\nUid=U\n");
    EXPECT_EQ(Read(IDC_btnTestIdCard), Lines({"##其他证件", "其他证件", "U", rule, ""}));
    box = zir->WaitForMessageBox();
    EXPECT_EQ(box.Text, "照片加载失败：本次读卡未解码照片");
    Answer(box, IDOK);
}

} // namespace
} // namespace zir::gui
