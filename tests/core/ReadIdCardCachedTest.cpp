#include "config/ConfigHelper.h"
#include "core/ICH.h"
#include "core/TIdCardCacheUnit.h"
#include "reader/ReaderApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using zir::config::TConfigHelper;
using zir::core::ReadIdCardCached;
using zir::core::TIdCardCache;
using zir::core::TIdCardRec;

namespace {

// The card on a pretend reader, and every call the read made, by function name.
struct FakeCard {
    std::string Uid;
    int32_t UidResult = 1;
    int32_t UidCardType = 16;
    int32_t SamResult = 144;
    int32_t CardType = 1;
    std::string Name;
    // When not empty, each UID call takes the next one: the holder swapping cards mid-read.
    std::vector<std::string> UidSequence;
};
FakeCard card;
std::vector<std::string> calls;

void Put(char* buffer, const std::string& text, size_t room) {
    std::memcpy(buffer, text.data(), std::min(text.size(), room - 1));
}

int32_t ZIR_STDCALL Sam(int32_t, char*, int32_t) {
    calls.push_back("SDT_GetSAMIDToStr");
    return card.SamResult;
}
int32_t ZIR_STDCALL Select(int32_t, unsigned char*, int32_t) {
    calls.push_back("SDT_SelectIDCard");
    return 144;
}
int32_t ZIR_STDCALL CardType() {
    calls.push_back("GetNewCardType");
    return card.CardType;
}
int32_t ZIR_STDCALL PhotoRaw(unsigned char*, int32_t*) {
    calls.push_back("GetNewPhotoRaw");
    return 0; // no photo to decode: the read goes on
}
int32_t ZIR_STDCALL Name(char* buffer) {
    calls.push_back("GetNewPeopleName");
    Put(buffer, card.Name, 256);
    return 1;
}
int32_t ZIR_STDCALL OtherField(char* buffer) {
    calls.push_back("field");
    Put(buffer, "x", 256);
    return 1;
}
int32_t ZIR_STDCALL Uid(int32_t, char* buffer) {
    calls.push_back("readCardGetUID");
    if (!card.UidSequence.empty()) {
        card.Uid = card.UidSequence.front();
        card.UidSequence.erase(card.UidSequence.begin());
    }
    Put(buffer, card.Uid, 32); // the smaller of the two buffers the reads hand over
    return card.UidResult;
}
int32_t ZIR_STDCALL UidType() {
    calls.push_back("readCardGetCardType");
    return card.UidCardType;
}
int32_t ZIR_STDCALL Beep(int32_t) {
    return 1;
}
int32_t ZIR_STDCALL Unpack(unsigned char*, unsigned char*, int32_t) {
    calls.push_back("unpack");
    return 1;
}

class CachedRead : public ::testing::Test {
  protected:
    void SetUp() override {
        zir::reader::TReaderApi api;
        api.SDT_GetSAMIDToStr = Sam;
        api.SDT_SelectIDCard = Select;
        api.GetNewCardType = CardType;
        api.GetNewPhotoRaw = PhotoRaw;
        api.GetNewPeopleName = Name;
        for (auto field :
             {&zir::reader::TReaderApi::GetNewPeopleSex,
              &zir::reader::TReaderApi::GetNewPeopleNation,
              &zir::reader::TReaderApi::GetNewPeopleBirthday,
              &zir::reader::TReaderApi::GetNewPeopleAddress,
              &zir::reader::TReaderApi::GetNewPeopleIDCode,
              &zir::reader::TReaderApi::GetNewDepartment, &zir::reader::TReaderApi::GetNewStartDate,
              &zir::reader::TReaderApi::GetNewEndDate, &zir::reader::TReaderApi::GetNewPassNum,
              &zir::reader::TReaderApi::GetNewPeopleNameEn,
              &zir::reader::TReaderApi::GetNewPeopleCountry,
              &zir::reader::TReaderApi::GetNewPeopleCountryCode})
            api.*field = OtherField;
        api.readCardGetUID = Uid;
        api.readCardGetCardType = UidType;
        api.readCardBeep = Beep;
        api.unpack = Unpack;
        saved = zir::reader::CurrentReaderApi();
        zir::reader::InstallReaderApi(api);
        TIdCardCache::Clear();
        TConfigHelper::SetWebCache(1);
        card = FakeCard{};
        calls.clear();
    }
    void TearDown() override {
        zir::reader::InstallReaderApi(saved);
        TIdCardCache::Clear();
    }

    // Places a card and reads it the way a full-read request does.
    static TIdCardRec Read(const std::string& uid, const std::string& name, bool expect = true) {
        card.Uid = uid;
        card.Name = name;
        calls.clear();
        TIdCardRec rec;
        EXPECT_EQ(ReadIdCardCached(rec), expect) << rec.ErrorMsg;
        return rec;
    }
    static int Count(const std::string& name) {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }

    zir::reader::TReaderApi saved;
};

} // namespace

TEST_F(CachedRead, TheSameCardTwiceIsAnsweredFromTheTable) {
    TIdCardRec first = Read("0123456789ABCDEF", "A");
    EXPECT_FALSE(first.FromCache);
    EXPECT_EQ(first.Name, "A");
    EXPECT_EQ(Count("readCardGetUID"), 2); // the key, then the full read's own reading
    EXPECT_EQ(Count("SDT_SelectIDCard"), 1);

    card.Name = "changed on the reader";
    TIdCardRec second = Read("0123456789ABCDEF", "changed on the reader");
    EXPECT_TRUE(second.FromCache);
    EXPECT_EQ(calls, (std::vector<std::string>{"readCardGetUID", "readCardGetCardType"}));
    second.FromCache = false;
    EXPECT_EQ(second, first); // exactly what was stored, photo text included
}

TEST_F(CachedRead, OnAMissTheFirstReadsUidTypeStaysAndTheKeyIsUntrimmed) {
    card.UidCardType = 4;
    TIdCardRec rec = Read(" AB12 ", "A");
    EXPECT_EQ(rec.Uid, "AB12");     // the full read's trimmed reading
    EXPECT_EQ(rec.UidType, "IC卡"); // from the UID read; the full read does not set it
    EXPECT_EQ(TIdCardCache::Slot(0).Key, " AB12 ");
    EXPECT_FALSE(TIdCardCache::Slot(0).Rec.FromCache);
    EXPECT_EQ(TIdCardCache::Slot(0).Rec.UidType, "IC卡");
}

TEST_F(CachedRead, SeventhCardTakesTheFirstSlotAndAReturningCardIsStoredAnew) {
    for (const char* uid : {"A", "B", "C", "D", "E", "F", "G"})
        Read(uid, uid);
    EXPECT_EQ(TIdCardCache::Slot(0).Key, "G");
    TIdCardRec again = Read("A", "A");
    EXPECT_FALSE(again.FromCache);
    EXPECT_EQ(Count("SDT_SelectIDCard"), 1); // a miss: a full read
    EXPECT_EQ(TIdCardCache::Slot(1).Key, "A");
    EXPECT_TRUE(Read("A", "A").FromCache);
    EXPECT_FALSE(Read("B", "B").FromCache);
}

TEST_F(CachedRead, OnlyWebCacheOneSwitchesTheCacheOn) {
    Read("A", "A");
    for (int32_t value : {0, 2, -1}) {
        TConfigHelper::SetWebCache(value);
        TIdCardRec rec = Read("A", "A");
        EXPECT_FALSE(rec.FromCache);
        EXPECT_EQ(Count("readCardGetCardType"), 0) << value; // no UID read before the full read
        EXPECT_EQ(Count("SDT_SelectIDCard"), 1);
        Read("B", "B");
        EXPECT_EQ(TIdCardCache::NextSlot(), 1) << value; // nothing stored
    }
    TConfigHelper::SetWebCache(1); // switched on again, the old entries are found
    EXPECT_TRUE(Read("A", "A").FromCache);
}

TEST_F(CachedRead, AnEmptyUidMeansNoLookupAndNoStore) {
    TIdCardCache::Add("", TIdCardRec{}); // an entry an empty key would otherwise find
    TIdCardRec rec = Read("", "A");
    EXPECT_FALSE(rec.FromCache);
    EXPECT_EQ(rec.Name, "A");
    EXPECT_EQ(TIdCardCache::NextSlot(), 1);
}

TEST_F(CachedRead, AFailedUidReadLeavesItsMessageAfterASuccessfulFullRead) {
    card.UidResult = 0;
    TIdCardRec rec = Read("A", "A");
    EXPECT_EQ(rec.ErrorMsg, "获取UID失败，错误代码：0");
    EXPECT_EQ(rec.Name, "A");
    EXPECT_EQ(TIdCardCache::NextSlot(), 0);
}

TEST_F(CachedRead, AFailedFullReadStoresNothingAndCarriesItsOwnMessage) {
    card.SamResult = 1;
    TIdCardRec rec = Read("A", "A", false);
    EXPECT_EQ(rec.ErrorMsg, "获取SAMID号失败，错误代码：1");
    EXPECT_FALSE(rec.FromCache);
    EXPECT_EQ(TIdCardCache::NextSlot(), 0);
    card.UidResult = 0;
    rec = Read("A", "A", false);
    EXPECT_EQ(rec.ErrorMsg, "获取SAMID号失败，错误代码：1");
}

TEST_F(CachedRead, ACardSwappedMidReadIsReadOnceMoreAndStoredOnlyUnderItsOwnUid) {
    card.UidSequence = {"A", "B", "B", "B"};
    TIdCardRec rec = Read("", "B's holder");
    EXPECT_EQ(rec.Uid, "B");
    EXPECT_EQ(Count("SDT_SelectIDCard"), 2);
    EXPECT_EQ(TIdCardCache::NextSlot(), 1);
    EXPECT_EQ(TIdCardCache::Slot(0).Key, "B");

    // Swapped again during the second read: the record may be two cards' halves, so the read
    // fails and nothing is stored.
    TIdCardCache::Clear();
    card.UidSequence = {"C", "D", "E", "F"};
    rec = Read("", "someone", false);
    EXPECT_EQ(rec.ErrorMsg, "读卡时卡片已更换，请重新读卡");
    EXPECT_EQ(Count("SDT_SelectIDCard"), 2);
    EXPECT_EQ(TIdCardCache::NextSlot(), 0);
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
    card.Name = "changed on the reader";
    EXPECT_EQ(Read("A1B2C3D4", "").Name, "whoever the card names");
    card.UidCardType = 16;
    TIdCardRec original = Read("A1B2C3D4", "");
    EXPECT_TRUE(original.FromCache);
    EXPECT_EQ(original.Name, "holder of the identity card");
}
