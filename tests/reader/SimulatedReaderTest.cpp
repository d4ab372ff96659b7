#include "reader/simulator/core/SimulatedReader.h"

#include "TestSupport.h"
#include "platform/Environment.h"
#include "platform/Text.h"
#include "reader/simulator/SimulatorContract.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

using namespace zir::reader::simulator;
using zir::platform::SetEnvironmentValue;

namespace {

class SimulatedReaderTest : public testing::Test {
  protected:
    void SetUp() override { SetEnvironmentValue(kCardFileVariable, cardFile); }
    void TearDown() override { SetEnvironmentValue(kCardFileVariable, std::nullopt); }

    // Rewrites the card file so the reader sees a new modification time even within one tick.
    void PlaceCard(const std::string& text) {
        zir::test::WriteFileBytes(cardFile, text);
        auto stamp = std::filesystem::last_write_time(cardFile) + std::chrono::seconds(++writes);
        std::filesystem::last_write_time(cardFile, stamp);
    }

    std::string Field(CardField field) {
        char buffer[256] = {};
        reader.GetNewField(field, buffer, "test");
        return zir::platform::Cp936ToUtf8(std::string(buffer, strnlen(buffer, sizeof buffer)));
    }

    zir::test::TempDir dir;
    std::string cardFile = dir.File("card.txt");
    SimulatedReader reader;
    int writes = 0;
};

} // namespace

TEST_F(SimulatedReaderTest, NoCardFileMeansNoCardOnTheReader) {
    unsigned char select[8] = {};
    char uid[32] = {};
    EXPECT_EQ(reader.GetSamIdToStr(nullptr), 144);
    EXPECT_EQ(reader.SelectIdCard(select), 128);
    EXPECT_EQ(reader.GetNewCardType(), 0);
    EXPECT_EQ(reader.ReadCardGetUid(uid), 0);
    EXPECT_EQ(uid[0], 0);
}

TEST_F(SimulatedReaderTest, WithoutTheVariableTheDemoCardLiesOnTheReader) {
    SetEnvironmentValue(kCardFileVariable, std::nullopt);
    unsigned char select[8];
    EXPECT_EQ(reader.SelectIdCard(select), 144);
    EXPECT_EQ(reader.GetNewCardType(), 1);
    EXPECT_EQ(Field(CardField::Name), "张示例");
}

TEST_F(SimulatedReaderTest, ARewrittenFileIsAnotherCardFromTheNextSelectionOn) {
    PlaceCard("Name=甲\nUid=01\n");
    unsigned char select[8];
    ASSERT_EQ(reader.SelectIdCard(select), 144);
    EXPECT_EQ(Field(CardField::Name), "甲");

    PlaceCard("Name=乙\nUid=02\nCardType=2\nUidCardType=4\n");
    // The selected card still answers until the next selection; UID reads see the new card.
    EXPECT_EQ(Field(CardField::Name), "甲");
    char uid[1025] = {};
    EXPECT_EQ(reader.ReadCardGetUid(uid), 1);
    EXPECT_STREQ(uid, "02");
    EXPECT_EQ(reader.ReadCardGetCardType(), 4);
    ASSERT_EQ(reader.SelectIdCard(select), 144);
    EXPECT_EQ(Field(CardField::Name), "乙");
    EXPECT_EQ(reader.GetNewCardType(), 2);

    std::filesystem::remove(cardFile);
    EXPECT_EQ(reader.SelectIdCard(select), 128);
    EXPECT_EQ(Field(CardField::Name), ""); // nothing selected any more
}

TEST_F(SimulatedReaderTest, FailingResultsWriteNothing) {
    PlaceCard("SelectResult=145\nUidResult=-3\nSamResult=7\n");
    unsigned char select[8];
    char uid[32] = {};
    EXPECT_EQ(reader.GetSamIdToStr(nullptr), 7);
    EXPECT_EQ(reader.SelectIdCard(select), 145);
    EXPECT_EQ(reader.GetNewCardType(), 0);
    EXPECT_EQ(reader.ReadCardGetUid(uid), -3);
    EXPECT_EQ(uid[0], 0);

    PlaceCard("PhotoRawResult=0\n");
    ASSERT_EQ(reader.SelectIdCard(select), 144);
    unsigned char raw[1025] = {};
    int32_t length = -1;
    EXPECT_EQ(reader.GetNewPhotoRaw(raw, &length), 0);
    EXPECT_EQ(raw[0], 0);
    EXPECT_EQ(length, -1);
}

TEST_F(SimulatedReaderTest, BeepStateIsRecorded) {
    EXPECT_EQ(reader.BeepState(), 1);
    reader.ReadCardBeep(0);
    EXPECT_EQ(reader.BeepState(), 0);
    reader.ReadCardBeep(1);
    EXPECT_EQ(reader.BeepState(), 1);
}

TEST_F(SimulatedReaderTest, AnOverlappingCallFailsWritesNothingAndWarns) {
    PlaceCard("DelayMs=400\n");
    testing::internal::CaptureStderr();
    int32_t first = 0;
    std::thread slow([&] {
        unsigned char select[8];
        first = reader.SelectIdCard(select);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    char uid[32] = {};
    int32_t second = reader.ReadCardGetUid(uid);
    slow.join();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(first, 144);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(uid[0], 0);
    EXPECT_EQ(reader.Guard().Overlaps(), 1);
    EXPECT_NE(err.find("warning: readCardGetUID called while SDT_SelectIDCard"), std::string::npos)
        << err;
    // Afterwards calls are admitted again.
    EXPECT_EQ(reader.ReadCardGetUid(uid), 1);
}

TEST_F(SimulatedReaderTest, TheKindBelongsToTheCardWhoseUidWasReadLast) {
    EXPECT_EQ(reader.ReadCardGetCardType(), 0); // nothing read, nothing lying there
    PlaceCard("Uid=AA\nUidCardType=4\n");
    EXPECT_EQ(reader.ReadCardGetCardType(), 4); // no UID read yet: the card lying there
    char uid[32] = {};
    ASSERT_EQ(reader.ReadCardGetUid(uid), 1);
    // The holder swaps cards, or takes the card away, between the two calls of a UID read.
    PlaceCard("Uid=BB\nUidCardType=16\n");
    EXPECT_EQ(reader.ReadCardGetCardType(), 4);
    std::filesystem::remove(cardFile);
    EXPECT_EQ(reader.ReadCardGetCardType(), 4);
    EXPECT_EQ(reader.ReadCardGetUid(uid), 0);
    EXPECT_EQ(reader.ReadCardGetCardType(), 0);
}
