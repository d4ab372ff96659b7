// The cached read and the documents through the simulated reader's libraries: what a request
// sees, from the GBK bytes the reader delivers to the UTF-8 document.

#include "core/BornResponseUnit.h"
#include "core/CardLock.h"
#include "core/ReadIdCardCached.h"
#include "core/TIdCardCacheUnit.h"

#include "StrictJson.h"
#include "support/DecodeCacheProbe.h"
#include "support/InProcessSimulator.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <thread>

using zir::core::TBornResponse;
using zir::core::TIdCardCache;
using zir::core::TIdCardRec;

namespace {

class CachedReadSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        reader.emplace(card, dir.Path()); // the photo file lands in dir
        TIdCardCache::Clear();
    }
    void TearDown() override {
        reader.reset();
        TIdCardCache::Clear();
    }
    // The full read as a request makes it with WebCache 1, under the card-operation lock.
    bool ReadCached(TIdCardRec& rec) {
        return zir::core::ReadIdCardCached(reader->Cards(), zir::core::LockCardOperation(), rec,
                                           true);
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
    ASSERT_TRUE(ReadCached(first)) << first.ErrorMsg;
    EXPECT_FALSE(first.FromCache);
    const std::string doc = TBornResponse::BuildResponse(first, 0);
    EXPECT_NE(doc.find("\"name\":\"\xE5\xBC\xA0\xE4\xB8\x89\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"endDate\":\"长期\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"uid\":\"00AA11BB22CC33DD\""), std::string::npos) << doc;
    zir::test::JsonValue parsed;
    std::string error;
    EXPECT_TRUE(zir::test::StrictJsonReader::Parse(doc, parsed, error)) << error;

    // The same card again, though the reader would now deliver another name: the table answers.
    zir::test::WriteFileBytes(card, "CardType=1\nName=李四\nUid=00AA11BB22CC33DD\n");
    TIdCardRec second;
    ASSERT_TRUE(ReadCached(second)) << second.ErrorMsg;
    EXPECT_TRUE(second.FromCache);
    EXPECT_EQ(TBornResponse::BuildResponse(second, 0), doc);

    // Another card is a miss and a full read.
    zir::test::WriteFileBytes(card, "CardType=1\nName=李四\nUid=99\n");
    TIdCardRec third;
    ASSERT_TRUE(ReadCached(third)) << third.ErrorMsg;
    EXPECT_FALSE(third.FromCache);
    EXPECT_EQ(third.Name, "李四");
    EXPECT_EQ(zir::test::CardsInCache(), 2);
}

TEST_F(CachedReadSimulator, NoCardOnTheReaderFailsWithTheSelectionMessage) {
    TIdCardRec rec; // the card file does not exist: no card
    EXPECT_FALSE(ReadCached(rec));
    EXPECT_EQ(rec.ErrorMsg, "选卡失败，错误代码：128");
    EXPECT_EQ(zir::test::CardsInCache(), 0);
}

TEST_F(CachedReadSimulator, ACardSwappedBetweenTheUidReadAndTheFullReadIsAnsweredButNotStored) {
    // Each reader call takes 500 ms: the UID read's two calls end after one second. In the middle
    // of the second one the holder swaps card A for card B.
    zir::test::WriteFileBytes(card, "CardType=1\nName=张三\nUid=AAAA\nDelayMs=500\n");
    TIdCardRec swapped;
    bool ok = false;
    std::thread read([&] { ok = ReadCached(swapped); });
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    zir::test::WriteFileBytes(card, "CardType=1\nName=李四\nUid=BBBB\nDelayMs=0\n");
    read.join();
    ASSERT_TRUE(ok) << swapped.ErrorMsg;
    // The card now on the reader is read once more, and stored under its own UID only.
    EXPECT_EQ(swapped.Name, "李四");
    EXPECT_EQ(swapped.Uid, "BBBB");
    EXPECT_TRUE(zir::test::InCache("BBBB"));
    EXPECT_FALSE(zir::test::InCache("AAAA"));

    // Card A again: its own data, never B's.
    zir::test::WriteFileBytes(card, "CardType=1\nName=张三\nUid=AAAA\n");
    TIdCardRec again;
    ASSERT_TRUE(ReadCached(again)) << again.ErrorMsg;
    EXPECT_FALSE(again.FromCache);
    EXPECT_EQ(again.Name, "张三");
    EXPECT_EQ(again.Uid, "AAAA");
    TIdCardRec cached;
    ASSERT_TRUE(ReadCached(cached));
    EXPECT_TRUE(cached.FromCache);
    EXPECT_EQ(cached.Name, "张三");
    EXPECT_EQ(zir::test::CardsInCache(), 2); // the swapped read stored B only
}

TEST_F(CachedReadSimulator, AUidWithBlanksAroundItIsStoredUnderTheKeyItWasReadWith) {
    // The UID read keeps the blanks, the full read trims them: the same card all the same.
    zir::test::WriteFileBytes(card, "CardType=1\nName=张三\nUid.hex=20414120\n");
    TIdCardRec first;
    ASSERT_TRUE(ReadCached(first)) << first.ErrorMsg;
    EXPECT_EQ(first.Uid, "AA");
    EXPECT_TRUE(zir::test::InCache(" AA "));
    EXPECT_FALSE(zir::test::InCache("AA"));
    TIdCardRec second;
    ASSERT_TRUE(ReadCached(second));
    EXPECT_TRUE(second.FromCache);
}
