#include "core/PhotoEncoding.h"

#include "InProcessSimulator.h"
#include "TestSupport.h"
#include "core/CardLock.h"
#include "core/TIdCardRec.h"
#include "platform/Environment.h"
#include "reader/simulator/SimulatorContract.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace zir::core;
using zir::test::SystemBase64;

namespace {

std::string Bytes(std::size_t n) {
    std::string bytes;
    for (std::size_t i = 0; i < n; ++i)
        bytes.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
    return bytes;
}

std::string Encode(const std::string& bytes, std::streamoff skip = 0) {
    std::istringstream in(bytes);
    in.seekg(skip);
    std::ostringstream out;
    Base64EncodeStream(in, out);
    return out.str();
}

} // namespace

TEST(Base64EncodeStream, PadsAndBreaksLinesAfterEvery76Characters) {
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("M"), "TQ==");
    EXPECT_EQ(Encode("Ma"), "TWE=");
    EXPECT_EQ(Encode("Man"), "TWFu");
    std::string line57 = Encode(Bytes(57));
    ASSERT_EQ(line57.size(), 78u);
    EXPECT_EQ(line57.substr(76), "\r\n"); // the last full line too
    std::string text = Encode(Bytes(1021));
    // 1021 bytes: 1364 characters, 17 full lines with CR LF and 72 characters behind them.
    ASSERT_EQ(text.size(), 1364u + 17 * 2);
    for (std::size_t line = 0; line < 17; ++line)
        EXPECT_EQ(text.substr(line * 78 + 76, 2), "\r\n") << line;
    EXPECT_EQ(text.find('='), text.size() - 2); // "==" only at the very end
    // The stream is read from its current position on.
    EXPECT_EQ(Encode("xxMan", 2), "TWFu");
}

TEST(PhotoFileToBase64, EqualsTheStandardEncodingInOneLine) {
    zir::test::TempDir dir;
    for (std::size_t size : {0u, 1u, 2u, 3u, 5u, 57u, 510u, 1021u, 38556u, 38558u, 100000u}) {
        SCOPED_TRACE(size);
        std::string path = dir.Write("photo" + std::to_string(size), Bytes(size));
        EXPECT_EQ(PhotoFileToBase64(path), SystemBase64(path));
    }
    EXPECT_THROW(PhotoFileToBase64(dir.File("none.bmp")), std::runtime_error);
}

// The full read through the simulated reader: the photo text is the file unpack left behind.
class SimulatedPhotoTest : public testing::Test {
  protected:
    bool ReadFull(TIdCardRec& rec) { return reader.Cards().ReadFull(LockCardOperation(), rec); }

    zir::test::TempDir dir;
    zir::test::InProcessSimulator reader{"", dir.Path()};
};

TEST_F(SimulatedPhotoTest, GeneratedAndGivenPhotosAreCarriedExactly) {
    TIdCardRec demo;
    ASSERT_TRUE(ReadFull(demo)) << demo.ErrorMsg;
    EXPECT_EQ(demo.PhotoBase64, SystemBase64(dir.File("zp.bmp")));
    EXPECT_EQ(demo.PhotoBase64.size(), (38862u + 2) / 3 * 4);

    std::string card = dir.File("card.txt");
    zir::platform::SetEnvironmentValue(zir::reader::simulator::kCardFileVariable, card);
    std::size_t placed = 0;
    for (std::size_t size : {0u, 1u, 2u, 57u, 1021u}) {
        SCOPED_TRACE(size);
        // Names of growing length: each card file differs in size from the one before.
        std::string photo = dir.Write("p" + std::string(++placed, '_') + ".bin", Bytes(size));
        zir::test::WriteFileBytes(card, "Photo=" + photo + "\n");
        TIdCardRec rec;
        ASSERT_TRUE(ReadFull(rec)) << rec.ErrorMsg;
        EXPECT_EQ(rec.PhotoBase64, SystemBase64(photo));
        EXPECT_EQ(zir::test::ReadFileBytes(dir.File("zp.bmp")), Bytes(size));
    }
}
