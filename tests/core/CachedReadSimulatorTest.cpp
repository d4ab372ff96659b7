// The cached read and the documents through the simulated reader's libraries: what a request
// sees, from the GBK bytes the reader delivers to the UTF-8 document.

#include "config/ConfigHelper.h"
#include "core/BornResponseUnit.h"
#include "core/ICH.h"
#include "core/TIdCardCacheUnit.h"

#include "StrictJson.h"
#include "support/InProcessSimulator.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

using zir::config::TConfigHelper;
using zir::core::ReadIdCardCached;
using zir::core::TBornResponse;
using zir::core::TIdCardCache;
using zir::core::TIdCardRec;

namespace {

class CachedReadSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        reader.emplace(card, dir.Path()); // the photo file lands in dir
        TIdCardCache::Clear();
        TConfigHelper::SetWebCache(1);
        TConfigHelper::SetWebType(0);
    }
    void TearDown() override {
        reader.reset();
        TIdCardCache::Clear();
    }

    zir::test::TempDir dir;
    std::string card = dir.File("card.txt");
    std::optional<zir::test::InProcessSimulator> reader;
};

} // namespace

TEST_F(CachedReadSimulator, AGbkNameLeavesAsUtf8AndTheSecondReadComesFromTheTable) {
    zir::test::WriteFileBytes(card, "CardType=1\nName.hex=2020D5C5C8FD20\nEndDate.hex=B3A4C6DA\n"
                                    "Uid=00AA11BB22CC33DD\nUidCardType=16\n");
    TIdCardRec first;
    ASSERT_TRUE(ReadIdCardCached(first)) << first.ErrorMsg;
    EXPECT_FALSE(first.FromCache);
    const std::string doc = TBornResponse::BuildResponse(first);
    EXPECT_NE(doc.find("\"name\":\"\xE5\xBC\xA0\xE4\xB8\x89\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"endDate\":\"长期\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"uid\":\"00AA11BB22CC33DD\""), std::string::npos) << doc;
    zir::test::JsonValue parsed;
    std::string error;
    EXPECT_TRUE(zir::test::StrictJsonReader::Parse(doc, parsed, error)) << error;

    // The same card again, though the reader would now deliver another name: the table answers.
    zir::test::WriteFileBytes(card, "CardType=1\nName=李四\nUid=00AA11BB22CC33DD\n");
    TIdCardRec second;
    ASSERT_TRUE(ReadIdCardCached(second)) << second.ErrorMsg;
    EXPECT_TRUE(second.FromCache);
    EXPECT_EQ(TBornResponse::BuildResponse(second), doc);

    // Another card is a miss and a full read.
    zir::test::WriteFileBytes(card, "CardType=1\nName=李四\nUid=99\n");
    TIdCardRec third;
    ASSERT_TRUE(ReadIdCardCached(third)) << third.ErrorMsg;
    EXPECT_FALSE(third.FromCache);
    EXPECT_EQ(third.Name, "李四");
    EXPECT_EQ(TIdCardCache::NextSlot(), 2);
}

TEST_F(CachedReadSimulator, NoCardOnTheReaderFailsWithTheSelectionMessage) {
    TIdCardRec rec; // the card file does not exist: no card
    EXPECT_FALSE(ReadIdCardCached(rec));
    EXPECT_EQ(rec.ErrorMsg, "选卡失败，错误代码：128");
    EXPECT_EQ(TIdCardCache::NextSlot(), 0);
}
