#include "core/TIdCardCacheUnit.h"

#include "support/DecodeCacheProbe.h"

#include <gtest/gtest.h>

#include <string>

using zir::core::TIdCardCache;
using zir::core::TIdCardRec;
using zir::test::CardsInCache;
using zir::test::InCache;

namespace {

TIdCardRec Card(const std::string& name) {
    TIdCardRec rec;
    rec.Name = name;
    rec.Uid = "uid-" + name;
    rec.CardTypeCode = 1;
    return rec;
}

class DecodeCache : public ::testing::Test {
  protected:
    void SetUp() override { TIdCardCache::Clear(); }
    void TearDown() override { TIdCardCache::Clear(); }
};

} // namespace

TEST_F(DecodeCache, StartsEmptyAndAnEmptyTableFindsNothing) {
    TIdCardRec rec = Card("X");
    EXPECT_FALSE(TIdCardCache::Find("A", rec));
    EXPECT_EQ(rec, Card("X"));
    EXPECT_EQ(CardsInCache(), 0);
}

TEST_F(DecodeCache, SlotsAreFilledFirstInFirstOut) {
    for (const char* name : {"A", "B", "C", "D", "E", "F"})
        TIdCardCache::Add(name, Card(name));
    EXPECT_FALSE(InCache(""));         // no slot is left free
    TIdCardCache::Add("G", Card("G")); // takes A's slot

    TIdCardRec rec;
    EXPECT_FALSE(TIdCardCache::Find("A", rec));
    ASSERT_TRUE(TIdCardCache::Find("G", rec));
    EXPECT_EQ(rec, Card("G"));
    EXPECT_TRUE(TIdCardCache::Find("F", rec));
    EXPECT_EQ(rec, Card("F"));
    TIdCardCache::Add("A", Card("A")); // into B's slot: no notion of use
    EXPECT_TRUE(InCache("A"));
    EXPECT_FALSE(TIdCardCache::Find("B", rec));
    for (const char* name : {"C", "D", "E", "F", "G"})
        EXPECT_TRUE(InCache(name)) << name;
}

TEST_F(DecodeCache, KeysMatchByteForByteAndALaterSlotWins) {
    TIdCardRec first = Card("first"), second = Card("second");
    TIdCardCache::Add("AB12", first);
    TIdCardCache::Add("ab12", Card("lower"));
    TIdCardCache::Add("AB12", second);
    TIdCardRec rec;
    ASSERT_TRUE(TIdCardCache::Find("AB12", rec));
    EXPECT_EQ(rec, second);
    EXPECT_FALSE(TIdCardCache::Find("AB1", rec));
    EXPECT_FALSE(TIdCardCache::Find("AB12 ", rec));
    EXPECT_FALSE(TIdCardCache::Find(std::string("AB12\0", 5), rec));
    // An empty key only ever matches a slot never written; the cached read never asks for it.
    EXPECT_TRUE(TIdCardCache::Find("", rec));
    EXPECT_EQ(rec, TIdCardRec{});
}

TEST_F(DecodeCache, TheCounterWrapsAtTheCapacity) {
    for (int i = 0; i < 6 * 1000 + 3; ++i)
        TIdCardCache::Add(std::to_string(i), Card(std::to_string(i)));
    for (int i = 5997; i <= 6002; ++i)
        EXPECT_TRUE(InCache(std::to_string(i))) << i;
    // The next card takes the slot of the oldest, 5997.
    TIdCardCache::Add("next", Card("next"));
    EXPECT_FALSE(InCache("5997"));
    EXPECT_TRUE(InCache("5998"));
}
