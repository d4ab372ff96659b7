#include "platform/SharedFileRead.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace zir::platform;

TEST(SharedFileRead, ReadsEveryByte) {
    zir::test::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes.push_back(static_cast<char>(i * 7));
    EXPECT_EQ(ReadWholeFileShared(dir.Write("big.bin", bytes)), bytes);
    EXPECT_EQ(ReadWholeFileShared(dir.Write("empty.bin", "")), "");
}

TEST(SharedFileRead, MissingFileOrFolderThrowsWithThePath) {
    zir::test::TempDir dir;
    try {
        ReadWholeFileShared(dir.File("none.bmp"));
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("none.bmp"), std::string::npos) << e.what();
    }
    EXPECT_THROW(ReadWholeFileShared(dir.Path()), std::runtime_error);
}
