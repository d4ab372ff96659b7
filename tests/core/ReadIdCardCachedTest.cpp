#include "core/ReadIdCardCached.h"
#include "config/ConfigHelper.h"
#include "core/CardLock.h"
#include "core/RequestSettings.h"
#include "core/TIdCardCacheUnit.h"
#include "reader/ReaderApi.h"

#include "support/DecodeCacheProbe.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedVendor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zir::core::ReadIdCardCached;
using zir::core::TIdCardCache;
using zir::core::TIdCardRec;
using zir::test::CardsInCache;
using zir::test::InCache;

namespace {

// A pretend reader without a photo (the read goes on without one), the cache on and empty.
class CachedRead : public ::testing::Test {
  protected:
    void SetUp() override {
        card.PhotoRaw = 0;
        TIdCardCache::Clear();
    }
    void TearDown() override { TIdCardCache::Clear(); }

    // Places a card and reads it the way a full-read request does.
    TIdCardRec Read(const std::string& uid, const std::string& name, bool expect = true) {
        card.UidBytes = uid;
        card.Fields["GetNewPeopleName"] = name;
        card.Calls.clear();
        TIdCardRec rec;
        EXPECT_EQ(ReadIdCardCached(card.Cards(), zir::core::LockCardOperation(), rec,
                                   zir::core::TRequestSettings::Current().CacheOn),
                  expect)
            << rec.ErrorMsg;
        return rec;
    }
    int Count(const std::string& name) const { return card.Count(name); }

    zir::test::ScopedSettings settings{{.WebCache = 1}};
    zir::test::ScriptedVendor card;
};

} // namespace

TEST_F(CachedRead, TheSameCardTwiceIsAnsweredFromTheTable) {
    TIdCardRec first = Read("0123456789ABCDEF", "A");
    EXPECT_FALSE(first.FromCache);
    EXPECT_EQ(first.Name, "A");
    EXPECT_EQ(Count("readCardGetUID"), 2); // the key, then the full read's own reading
    EXPECT_EQ(Count("SDT_SelectIDCard"), 1);

    card.Fields["GetNewPeopleName"] = "changed on the reader";
    TIdCardRec second = Read("0123456789ABCDEF", "changed on the reader");
    EXPECT_TRUE(second.FromCache);
    EXPECT_EQ(card.Calls, (std::vector<std::string>{"readCardGetUID", "readCardGetCardType"}));
    second.FromCache = false;
    EXPECT_EQ(second, first); // exactly what was stored, photo text included
}

TEST_F(CachedRead, OnAMissTheFirstReadsUidTypeStaysAndTheKeyIsUntrimmed) {
    card.UidCardType = 4;
    TIdCardRec rec = Read(" AB12 ", "A");
    EXPECT_EQ(rec.Uid, "AB12");     // the full read's trimmed reading
    EXPECT_EQ(rec.UidType, "IC卡"); // from the UID read; the full read does not set it
    TIdCardRec stored;
    ASSERT_TRUE(TIdCardCache::Find(" AB12 ", stored));
    EXPECT_FALSE(InCache("AB12"));
    EXPECT_FALSE(stored.FromCache);
    EXPECT_EQ(stored.UidType, "IC卡");
}

TEST_F(CachedRead, SeventhCardTakesTheFirstSlotAndAReturningCardIsStoredAnew) {
    for (const char* uid : {"A", "B", "C", "D", "E", "F", "G"})
        Read(uid, uid);
    EXPECT_TRUE(InCache("G"));
    EXPECT_FALSE(InCache("A")); // G took its slot
    TIdCardRec again = Read("A", "A");
    EXPECT_FALSE(again.FromCache);
    EXPECT_EQ(Count("SDT_SelectIDCard"), 1); // a miss: a full read
    EXPECT_TRUE(InCache("A"));
    EXPECT_TRUE(Read("A", "A").FromCache);
    EXPECT_FALSE(Read("B", "B").FromCache);
}

TEST_F(CachedRead, OnlyWebCacheOneSwitchesTheCacheOn) {
    Read("A", "A");
    for (int32_t value : {0, 2, -1}) {
        settings.Set({.WebCache = value});
        TIdCardRec rec = Read("A", "A");
        EXPECT_FALSE(rec.FromCache);
        EXPECT_EQ(Count("readCardGetCardType"), 0) << value; // no UID read before the full read
        EXPECT_EQ(Count("SDT_SelectIDCard"), 1);
        Read("B", "B");
        EXPECT_FALSE(InCache("B")) << value; // nothing stored
    }
    settings.Set({.WebCache = 1}); // switched on again, the old entries are found
    EXPECT_TRUE(Read("A", "A").FromCache);
}

TEST_F(CachedRead, AnEmptyUidMeansNoLookupAndNoStore) {
    TIdCardCache::Add("", TIdCardRec{}); // an entry an empty key would otherwise find
    TIdCardRec rec = Read("", "A");
    EXPECT_FALSE(rec.FromCache);
    EXPECT_EQ(rec.Name, "A");
    // The five slots after the test's own entry are still free: with five more cards the table
    // still holds that entry, and no card under an empty key.
    for (const char* uid : {"1", "2", "3", "4", "5"})
        TIdCardCache::Add(uid, TIdCardRec{});
    TIdCardRec empty;
    ASSERT_TRUE(TIdCardCache::Find("", empty));
    EXPECT_EQ(empty, TIdCardRec{});
}

TEST_F(CachedRead, AFailedUidReadLeavesItsMessageAfterASuccessfulFullRead) {
    card.Uid = 0;
    TIdCardRec rec = Read("A", "A");
    EXPECT_EQ(rec.ErrorMsg, "获取UID失败，错误代码：0");
    EXPECT_EQ(rec.Name, "A");
    EXPECT_EQ(CardsInCache(), 0);
}

TEST_F(CachedRead, AFailedFullReadStoresNothingAndCarriesItsOwnMessage) {
    card.Sam = 1;
    TIdCardRec rec = Read("A", "A", false);
    EXPECT_EQ(rec.ErrorMsg, "获取SAMID号失败，错误代码：1");
    EXPECT_FALSE(rec.FromCache);
    EXPECT_EQ(CardsInCache(), 0);
    card.Uid = 0;
    rec = Read("A", "A", false);
    EXPECT_EQ(rec.ErrorMsg, "获取SAMID号失败，错误代码：1");
}

TEST_F(CachedRead, ACardSwappedMidReadIsReadOnceMoreAndStoredOnlyUnderItsOwnUid) {
    card.UidSequence = {"A", "B", "B", "B"};
    TIdCardRec rec = Read("", "B's holder");
    EXPECT_EQ(rec.Uid, "B");
    EXPECT_EQ(Count("SDT_SelectIDCard"), 2);
    EXPECT_TRUE(InCache("B"));
    EXPECT_EQ(CardsInCache(), 1);

    // Swapped again during the second read: the record may be two cards' halves, so the read
    // fails and nothing is stored.
    TIdCardCache::Clear();
    card.UidSequence = {"C", "D", "E", "F"};
    rec = Read("", "someone", false);
    EXPECT_EQ(rec.ErrorMsg, "读卡时卡片已更换，请重新读卡");
    EXPECT_EQ(Count("SDT_SelectIDCard"), 2);
    EXPECT_EQ(CardsInCache(), 0);
}

TEST_F(CachedRead, ACachedUidOnAnotherKindOfCardIsAMissAndReadsInFull) {
    Read("A1B2C3D4", "holder of the identity card");
    // A card of another kind showing the same UID (copied, or an IC card) must not get the
    // holder's record: the kind of the UID read is part of the match.
    card.UidCardType = 4;
    TIdCardRec copy = Read("A1B2C3D4", "whoever the card names");
    EXPECT_FALSE(copy.FromCache);
    EXPECT_EQ(copy.Name, "whoever the card names");
    EXPECT_EQ(copy.UidType, "IC卡");
    EXPECT_EQ(Count("SDT_SelectIDCard"), 1);

    // Both kinds are now remembered under the one UID, each answering its own kind.
    EXPECT_EQ(Read("A1B2C3D4", "changed on the reader").Name, "whoever the card names");
    card.UidCardType = 16;
    TIdCardRec original = Read("A1B2C3D4", "changed on the reader");
    EXPECT_TRUE(original.FromCache);
    EXPECT_EQ(original.Name, "holder of the identity card");
}
