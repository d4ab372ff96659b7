// The test page's reads through the simulated reader's libraries, in this process: what the
// page shows, and that a photo file left by an earlier card is never shown for this one.

#include "shell/common/TestRead.h"

#include "support/InProcessSimulator.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>

using zir::shell::RunIdCardTestRead;
using zir::shell::RunUidTestRead;

namespace {

class TestRead : public ::testing::Test {
  protected:
    void SetUp() override { reader.emplace(card, dir.Path()); }
    void TearDown() override { reader.reset(); }
    void PutCard(const std::string& text) {
        // The simulator notices a new card by its size or modification time.
        zir::test::WriteFileBytes(card, text + "# " + std::to_string(++generation) + "\n");
    }

    zir::test::TempDir dir;
    std::string card = dir.File("card.txt");
    std::optional<zir::test::InProcessSimulator> reader;
    int generation = 0;
};

} // namespace

TEST_F(TestRead, ADecodedPhotoIsShownAsThisReadLeftIt) {
    PutCard("CardType=2\nName=陈大文\nUid=B2\n");
    auto page = RunIdCardTestRead(reader->Cards());
    ASSERT_TRUE(page.Succeeded) << page.Message;
    ASSERT_FALSE(page.Lines.empty());
    EXPECT_EQ(page.Lines.front(), "##港澳台居住证");
    EXPECT_EQ(page.Lines[1], "陈大文");
    EXPECT_EQ(page.Message, "");
    EXPECT_TRUE(page.ShowPhoto);
    EXPECT_EQ(page.PhotoBitmap, zir::test::ReadFileBytes(dir.File("zp.bmp")));
    EXPECT_EQ(page.PhotoBitmap.substr(0, 2), "BM");
}

TEST_F(TestRead, AReadWithoutPhotoClearsThePictureEvenWithAnEarlierCardsFileThere) {
    PutCard("CardType=1\nName=张三\n");
    ASSERT_TRUE(RunIdCardTestRead(reader->Cards()).ShowPhoto);
    ASSERT_TRUE(zir::test::FileExists(dir.File("zp.bmp"))); // the earlier card's photo

    PutCard("CardType=1\nName=李四\nPhotoRawResult=0\n");
    auto page = RunIdCardTestRead(reader->Cards());
    ASSERT_TRUE(page.Succeeded);
    EXPECT_EQ(page.Lines[1], "李四");
    EXPECT_FALSE(page.ShowPhoto);
    EXPECT_EQ(page.PhotoBitmap, "");
    EXPECT_EQ(page.Message, "照片加载失败：本次读卡未解码照片");
}

TEST_F(TestRead, APhotoThatIsNoBitmapIsClearedWithTheLoadersReason) {
    dir.Write("photo.bin", std::string(57, 'x'));
    PutCard("CardType=1\nPhoto=photo.bin\n");
    auto page = RunIdCardTestRead(reader->Cards());
    ASSERT_TRUE(page.Succeeded);
    EXPECT_FALSE(page.ShowPhoto);
    EXPECT_EQ(page.PhotoBitmap, "");
    EXPECT_EQ(page.Message, "照片加载失败：位图文件无效");
}

TEST_F(TestRead, AFailedReadShowsOnlyItsMessage) {
    PutCard("SelectResult=128\n");
    auto page = RunIdCardTestRead(reader->Cards());
    EXPECT_FALSE(page.Succeeded);
    EXPECT_TRUE(page.Lines.empty());
    EXPECT_EQ(page.Message, "选卡失败，错误代码：128");
    EXPECT_FALSE(page.ShowPhoto);
}

TEST_F(TestRead, TheUidReadGivesItsLineEitherWay) {
    PutCard("Uid=04A1B2\nUidCardType=4\n");
    auto page = RunUidTestRead(reader->Cards());
    EXPECT_TRUE(page.Succeeded);
    EXPECT_EQ(page.Lines, (std::vector<std::string>{"IC卡: 04A1B2", "==================", ""}));
    PutCard("UidResult=-2\n");
    page = RunUidTestRead(reader->Cards());
    EXPECT_FALSE(page.Succeeded);
    EXPECT_EQ(page.Lines.front(), "获取UID失败，错误代码：-2");
}
