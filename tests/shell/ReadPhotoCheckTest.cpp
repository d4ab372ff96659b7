#include "shell/common/TestPageLines.h"

#include "ProgramRun.h"

#include <gtest/gtest.h>

using zir::shell::CheckPhotoBitmap;

TEST(ReadPhotoCheck, OnlyAWholeBitmapLoads) {
    zir::test::TempDir dir;
    ASSERT_EQ(zir::test::RunZir({"read", "--simulate"}, dir.Path()).ExitCode, 0);
    std::string bmp = zir::test::ReadFileBytes(dir.File("zp.bmp"));
    EXPECT_EQ(CheckPhotoBitmap(dir.File("zp.bmp")), "");

    const std::string invalid = "位图文件无效";
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("cut.bmp", bmp.substr(0, bmp.size() - 1))), invalid);
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("empty.bmp", "")), invalid);
    std::string png = bmp;
    png[0] = '\x89';
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("png.bmp", png)), invalid);
    std::string noWidth = bmp;
    noWidth[18] = noWidth[19] = 0;
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("w0.bmp", noWidth)), invalid);
    std::string depth = bmp;
    depth[28] = 7;
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("d7.bmp", depth)), invalid);
    // A top-down bitmap (negative height) is a bitmap too.
    std::string topDown = bmp;
    topDown[22] = static_cast<char>(-126), topDown[23] = topDown[24] = topDown[25] = '\xFF';
    EXPECT_EQ(CheckPhotoBitmap(dir.Write("td.bmp", topDown)), "");

    std::string reason = CheckPhotoBitmap(dir.File("none.bmp"));
    EXPECT_NE(reason.find("none.bmp"), std::string::npos) << reason;
}

TEST(ReadPhotoCheck, TheMessageCarriesTheReason) {
    EXPECT_EQ(zir::shell::PhotoLoadFailedMessage("位图文件无效"), "照片加载失败：位图文件无效");
}
