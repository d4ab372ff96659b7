// The test page: a full read of each card type shows the lines `zir read` prints, a failed read
// says why in a box, and a read without a photo says so instead of showing an old one.

#include "GuiFixture.h"

#include "TestPageCases.h"
#include "shell/win32/ControlIds.h"

#include <atomic>
#include <thread>
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
        // A box comes right after the lines, if at all: give it the time to show.
        EXPECT_FALSE(
            WaitUntil([&] { return zir->MessageBoxShown(); }, std::chrono::milliseconds(700)));
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

// The box waits until the queued log lines before it are shown, and lines queued after it come
// in order: each failed request's three lines stand together, the request first.
TEST_F(TestPageTest, ABoxFromTheTestPageKeepsTheServiceLogInOrder) {
    Launch();
    DeleteFileW(zir->CardFile().c_str()); // every read fails: three lines per request
    std::atomic<bool> done{false};
    std::jthread requests([&] {
        while (!done)
            HttpGet(port, "/?type=UID");
    });
    Click(Control(main, IDC_btnTestIdCard));
    MessageBoxSeen box = zir->WaitForMessageBox();
    EXPECT_EQ(box.Text, "选卡失败，错误代码：128");
    const size_t before = LogLinesStartingWith("##REQUEST");
    EXPECT_TRUE(WaitUntil([&] { return LogLinesStartingWith("##REQUEST") > before + 3; }));
    done = true;
    requests.join();
    Answer(box, IDOK);

    HWND log = Control(main, IDC_mmo1);
    std::vector<std::string> lines;
    EXPECT_TRUE(WaitUntil([&] {
        lines = MemoLines(log);
        return !lines.empty() && lines.back().rfind("##OPERATE FAIL", 0) == 0;
    }));
    for (size_t i = 0; i < lines.size(); ++i) {
        // The launch's own request found the card.
        if (lines[i].rfind("##REQUEST", 0) != 0 ||
            (i + 1 < lines.size() && lines[i + 1].rfind("##READ SUCCESS", 0) == 0))
            continue;
        ASSERT_LT(i + 2, lines.size());
        EXPECT_EQ(lines[i + 1].rfind("500:EXCEPTION", 0), 0u) << i << ": " << lines[i + 1];
        EXPECT_EQ(lines[i + 2].rfind("##OPERATE FAIL", 0), 0u) << i << ": " << lines[i + 2];
    }
}

} // namespace
} // namespace zir::gui
