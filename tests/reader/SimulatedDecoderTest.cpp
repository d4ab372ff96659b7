#include "reader/simulator/core/SimulatedDecoder.h"

#include "TestSupport.h"
#include "platform/Environment.h"
#include "reader/simulator/SimulatorContract.h"
#include "reader/simulator/core/Portrait.h"
#include "reader/simulator/core/RawPhoto.h"
#include "reader/simulator/core/SimulatedReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

using namespace zir::reader::simulator;

namespace {

uint32_t Le(const std::string& b, std::size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Runs the test in a fresh current directory, where unpack leaves zp.bmp.
class SimulatedDecoderTest : public testing::Test {
  protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    zir::test::TempDir dir;
    std::filesystem::path previous;
    SimulatedDecoder decoder;
};

} // namespace

TEST(Portrait, IsA102By126BottomUp24BitBitmapThatIsNotNoise) {
    const std::string& bmp = PlaceholderPortraitBmp();
    ASSERT_EQ(bmp.size(), 54u + 308u * 126u); // rows of 306 bytes padded to 308
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(Le(bmp, 2, 4), bmp.size());
    EXPECT_EQ(Le(bmp, 10, 4), 54u);
    EXPECT_EQ(Le(bmp, 14, 4), 40u);
    EXPECT_EQ(Le(bmp, 18, 4), 102u);
    EXPECT_EQ(Le(bmp, 22, 4), 126u); // positive: bottom-up
    EXPECT_EQ(Le(bmp, 28, 2), 24u);
    EXPECT_EQ(Le(bmp, 30, 4), 0u);
    auto pixel = [&](int x, int top) {
        std::size_t at = 54 + static_cast<std::size_t>((125 - top) * 308 + x * 3);
        return bmp.substr(at, 3);
    };
    // Background in the corners, the figure in the middle and at the bottom centre.
    EXPECT_EQ(pixel(2, 2), pixel(99, 2));
    EXPECT_NE(pixel(51, 48), pixel(2, 48));
    EXPECT_EQ(pixel(51, 48), pixel(51, 120));
    std::set<std::string> colours;
    for (int top = 0; top < 126; ++top)
        for (int x = 0; x < 102; ++x)
            colours.insert(pixel(x, top));
    EXPECT_LT(colours.size(), 40u); // a drawing, not noise
}

TEST_F(SimulatedDecoderTest, UnpackWritesTheGeneratedPortraitIntoTheCurrentDirectory) {
    unsigned char raw[kRawPhotoBytes] = {};
    ASSERT_GT(WriteRawPhoto({1, 0, ""}, raw), 0u);
    std::vector<unsigned char> bitmap(38556, 0);
    EXPECT_EQ(decoder.Unpack(raw, bitmap.data(), 1), 1);
    EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")), PlaceholderPortraitBmp());
    EXPECT_EQ(std::memcmp(bitmap.data(), PlaceholderPortraitBmp().data() + 54, 38556), 0);
}

TEST_F(SimulatedDecoderTest, UnpackWritesTheCardFilesPhotoAsItIs) {
    std::string photo = dir.Write("mine.bin", "not even a bitmap");
    unsigned char raw[kRawPhotoBytes] = {};
    WriteRawPhoto({1, 0, photo}, raw);
    std::vector<unsigned char> bitmap(38556, 0);
    EXPECT_EQ(decoder.Unpack(raw, bitmap.data(), 1), 1);
    EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")), "not even a bitmap");
}

// The file is overwritten in place: a shorter photo after a longer one leaves no tail of it, and
// a longer one after a shorter one is whole.
TEST_F(SimulatedDecoderTest, EachUnpackLeavesExactlyItsOwnPhoto) {
    std::vector<unsigned char> bitmap(38556, 0);
    unsigned char raw[kRawPhotoBytes] = {};
    const std::string shortPhoto = dir.Write("short.bin", "short");
    for (const std::string& photo : {std::string(), shortPhoto, std::string(), shortPhoto}) {
        WriteRawPhoto({1, 0, photo}, raw);
        ASSERT_EQ(decoder.Unpack(raw, bitmap.data(), 1), 1);
        EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")),
                  photo.empty() ? PlaceholderPortraitBmp() : "short");
    }
}

TEST_F(SimulatedDecoderTest, FailuresLeaveNoFile) {
    std::vector<unsigned char> bitmap(38556, 0);
    unsigned char raw[kRawPhotoBytes] = {};
    EXPECT_EQ(decoder.Unpack(raw, bitmap.data(), 1), kUnpackNotARawPhoto);
    WriteRawPhoto({0, 0, ""}, raw);
    EXPECT_EQ(decoder.Unpack(raw, bitmap.data(), 1), 0);
    WriteRawPhoto({1, 0, dir.File("missing.bmp")}, raw);
    testing::internal::CaptureStderr();
    EXPECT_EQ(decoder.Unpack(raw, bitmap.data(), 1), kUnpackPhotoUnreadable);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("missing.bmp"), std::string::npos);
    EXPECT_FALSE(zir::test::FileExists(dir.File("zp.bmp")));
}

TEST_F(SimulatedDecoderTest, TheRawPhotoCarriesTheSelectedCardsDecoding) {
    std::string cardFile = dir.Write("card.txt", "UnpackResult=5\nPhoto=p.bmp\nDelayMs=1\n");
    zir::platform::SetEnvironmentValue(kCardFileVariable, cardFile);
    SimulatedReader reader;
    unsigned char select[8];
    ASSERT_EQ(reader.SelectIdCard(select), 144);
    unsigned char raw[kRawPhotoBytes] = {};
    int32_t length = 0;
    ASSERT_EQ(reader.GetNewPhotoRaw(raw, &length), 1);
    zir::platform::SetEnvironmentValue(kCardFileVariable, std::nullopt);
    auto read = ReadRawPhoto(raw);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->UnpackResult, 5);
    EXPECT_EQ(read->DelayMs, 1);
    EXPECT_EQ(std::filesystem::path(read->Photo), std::filesystem::path(dir.File("p.bmp")));
    EXPECT_GT(length, 0);
}
