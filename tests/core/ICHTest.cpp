#include "core/ICH.h"

#include "ScriptedVendor.h"
#include "TestSupport.h"
#include "core/CardLock.h"
#include "reader/ReaderApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace zir::core;
using zir::reader::TReaderApi;

namespace {

// Every test runs in its own current directory (zp.bmp lives there) with the scripted reader.
class ICHTest : public testing::Test {
  protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.Path());
        s.NameEveryField();
    }
    void TearDown() override { std::filesystem::current_path(previous); }
    // The reads as the in-process card operations make them.
    bool ReadFull(TIdCardRec& rec) { return s.Cards().ReadFull(LockCardOperation(), rec); }
    bool ReadUid(TIdCardRec& rec) { return s.Cards().ReadUid(LockCardOperation(), rec); }

    zir::test::TempDir dir;
    std::filesystem::path previous;
    zir::test::ScriptedVendor s;
};

const std::vector<std::string>& kCommonCalls = zir::test::kFullReadCommonCalls;

std::vector<std::string> With(std::vector<std::string> calls,
                              const std::vector<std::string>& more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

} // namespace

TEST(BufferToText, TrimsBlanksControlsAndNulsOnlyAtTheEnds) {
    const char name[] = "  \xD5\xC5\xC8\xFD \0\0\0";
    EXPECT_EQ(BufferToText(name, sizeof name), "\xD5\xC5\xC8\xFD");
    const char inner[] = "\t\x01"
                         "A\0B \x1F";
    EXPECT_EQ(BufferToText(inner, sizeof inner - 1), std::string("A\0B", 3));
    const char blank[8] = {};
    EXPECT_EQ(BufferToText(blank, sizeof blank), "");
    EXPECT_EQ(BufferToText("\x7F\x21", 2), "\x7F\x21"); // 0x21 and above stay
}

TEST_F(ICHTest, ResidentCardFillsItsFieldsInOrderOnPortZero) {
    s.Fields["GetNewPeopleName"] = std::string("  \xD5\xC5\xC8\xFD \0\0", 8); // GBK 张三
    s.UidBytes = " 04AB ";
    s.PhotoBytes = std::string("\x00\x01\x02\xFF", 4);
    TIdCardRec rec;
    ASSERT_TRUE(ReadFull(rec)) << rec.ErrorMsg;
    EXPECT_EQ(s.Calls, With(kCommonCalls, {"GetNewPeopleNation", "GetNewPeopleAddress"}));
    EXPECT_EQ(s.Ports, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(rec.Name, "张三");
    EXPECT_EQ(rec.SexDesc, "v-GetNewPeopleSex");
    EXPECT_EQ(rec.NationDesc, "v-GetNewPeopleNation");
    EXPECT_EQ(rec.Birthday, "v-GetNewPeopleBirthday");
    EXPECT_EQ(rec.Address, "v-GetNewPeopleAddress");
    EXPECT_EQ(rec.IdNum, "v-GetNewPeopleIDCode");
    EXPECT_EQ(rec.Company, "v-GetNewDepartment");
    EXPECT_EQ(rec.BeginDate, "v-GetNewStartDate");
    EXPECT_EQ(rec.EndDate, "v-GetNewEndDate");
    EXPECT_EQ(rec.Uid, "04AB"); // the full read trims its UID
    EXPECT_EQ(rec.CardTypeCode, 1);
    EXPECT_EQ(rec.CardType, "身份证");
    EXPECT_EQ(rec.PassNum, "");
    EXPECT_EQ(rec.EName, "");
    EXPECT_EQ(rec.ErrorMsg, "");
    EXPECT_FALSE(rec.FromCache);
    EXPECT_EQ(std::filesystem::path(rec.PhotoPath), std::filesystem::current_path() / "zp.bmp");
    EXPECT_EQ(rec.PhotoBase64, "AAEC/w==");
}

TEST_F(ICHTest, EachCardTypeReadsOnlyItsOwnExtraFields) {
    struct Case {
        int32_t Code;
        const char* Name;
        std::vector<std::string> Extra;
    };
    const Case cases[] = {
        {2, "港澳台居住证", {"GetNewPeopleAddress", "GetNewPassNum"}},
        {3,
         "外国人永居证17版",
         {"GetNewPeopleNameEn", "GetNewPeopleCountry", "GetNewPeopleCountryCode"}},
        {4,
         "外国人永居证23版",
         {"GetNewPeopleNameEn", "GetNewPeopleCountry", "GetNewPeopleCountryCode"}},
        {7, "其他证件", {}},
        {-1, "其他证件", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Code);
        s.Calls.clear();
        s.CardType = c.Code;
        TIdCardRec rec;
        ASSERT_TRUE(ReadFull(rec)) << rec.ErrorMsg;
        EXPECT_EQ(s.Calls, With(kCommonCalls, c.Extra));
        EXPECT_EQ(rec.CardTypeCode, c.Code);
        EXPECT_EQ(rec.CardType, c.Name);
        EXPECT_EQ(rec.NationDesc, "");
        EXPECT_EQ(rec.PassNum, c.Code == 2 ? "v-GetNewPassNum" : "");
        EXPECT_EQ(rec.EName, c.Code == 3 || c.Code == 4 ? "v-GetNewPeopleNameEn" : "");
        EXPECT_EQ(rec.CountryCode, c.Code == 3 || c.Code == 4 ? "v-GetNewPeopleCountryCode" : "");
        EXPECT_EQ(rec.Address, c.Code == 2 ? "v-GetNewPeopleAddress" : "");
    }
}

TEST_F(ICHTest, TheRecordIsNotClearedFirst) {
    s.CardType = 2;
    TIdCardRec rec;
    rec.NationDesc = "kept";
    rec.UidType = "身份证";
    rec.ErrorMsg = "获取UID失败，错误代码：0";
    ASSERT_TRUE(ReadFull(rec));
    EXPECT_EQ(rec.NationDesc, "kept");
    EXPECT_EQ(rec.UidType, "身份证");
    EXPECT_EQ(rec.ErrorMsg, "获取UID失败，错误代码：0");
}

TEST_F(ICHTest, FailedStepsSetOnlyTheMessageAndStopAtOnce) {
    struct Case {
        const char* Name;
        int32_t zir::test::ScriptedVendor::*Result;
        int32_t Value;
        std::string Message;
        std::size_t CallsMade;
    };
    const Case cases[] = {
        {"sam", &zir::test::ScriptedVendor::Sam, 1, "获取SAMID号失败，错误代码：1", 1},
        {"select", &zir::test::ScriptedVendor::Select, 128, "选卡失败，错误代码：128", 2},
        {"select negative", &zir::test::ScriptedVendor::Select, -2, "选卡失败，错误代码：-2", 2},
        {"card type", &zir::test::ScriptedVendor::CardType, 0, "获取卡类型失败，错误代码：0", 3},
        {"unpack", &zir::test::ScriptedVendor::Unpack, 0, "照片解码失败，错误代码：0", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        s.Rescript();
        s.*c.Result = c.Value;
        TIdCardRec rec;
        rec.Name = "before";
        TIdCardRec expected = rec;
        expected.ErrorMsg = c.Message;
        EXPECT_FALSE(ReadFull(rec));
        EXPECT_EQ(rec, expected);
        EXPECT_EQ(s.Calls.size(), c.CallsMade);
    }
}

TEST_F(ICHTest, NoRawPhotoMeansNoDecodeAndNoStalePhoto) {
    // A photo an earlier card left behind must not be attached to this holder.
    zir::test::WriteFileBytes("zp.bmp", "earlier holder's photo");
    s.PhotoRaw = 0;
    TIdCardRec rec;
    ASSERT_TRUE(ReadFull(rec));
    EXPECT_EQ(std::count(s.Calls.begin(), s.Calls.end(), "unpack"), 0);
    EXPECT_EQ(rec.PhotoBase64, "ERROR");
    EXPECT_EQ(rec.Name, "v-GetNewPeopleName");
}

TEST_F(ICHTest, AnUnreadablePhotoIsErrorAndTheReadStillSucceeds) {
    // A decoder that reports success but leaves no file, then one where zp.bmp is a folder.
    s.WritesPhoto = false;
    TIdCardRec rec;
    ASSERT_TRUE(ReadFull(rec));
    EXPECT_EQ(rec.PhotoBase64, "ERROR");
    std::filesystem::create_directory("zp.bmp");
    rec = {};
    ASSERT_TRUE(ReadFull(rec));
    EXPECT_EQ(rec.PhotoBase64, "ERROR");
}

TEST_F(ICHTest, UidReadKeepsTheBytesUpToTheFirstNul) {
    s.UidBytes = std::string("ab\0cd", 5);
    TIdCardRec rec;
    ASSERT_TRUE(ReadUid(rec));
    EXPECT_EQ(rec.Uid, "ab");
    EXPECT_EQ(s.Calls, (std::vector<std::string>{"readCardGetUID", "readCardGetCardType"}));
    EXPECT_EQ(s.Ports, (std::vector<int32_t>{0}));

    s.UidBytes = " 1\x01 ";
    ASSERT_TRUE(ReadUid(rec));
    EXPECT_EQ(rec.Uid, " 1\x01 "); // not trimmed
}

TEST_F(ICHTest, UidKindsAndFailure) {
    const std::pair<int32_t, const char*> kinds[] = {
        {16, "身份证"}, {4, "IC卡"}, {0, "其他卡"}, {-1, "其他卡"}};
    for (auto [code, name] : kinds) {
        s.UidCardType = code;
        TIdCardRec rec;
        ASSERT_TRUE(ReadUid(rec));
        EXPECT_EQ(rec.UidType, name);
    }
    s.Uid = -5;
    s.Calls.clear();
    TIdCardRec rec;
    rec.Uid = "old";
    EXPECT_FALSE(ReadUid(rec));
    EXPECT_EQ(rec.ErrorMsg, "获取UID失败，错误代码：-5");
    EXPECT_EQ(rec.Uid, "old");
    EXPECT_EQ(s.Calls, (std::vector<std::string>{"readCardGetUID"}));
}

TEST_F(ICHTest, AMissingFunctionFailsTheReadWithTheLoadersText) {
    TReaderApi api = s.Api();
    api.unpack = nullptr; // the decoder's library not found
    api.Missing = "照片解码库加载失败：/x/libDLL_File.so（not found）";
    s.Install(api);
    TIdCardRec rec;
    EXPECT_FALSE(ReadFull(rec));
    EXPECT_EQ(rec.ErrorMsg, api.Missing);
    EXPECT_TRUE(s.Calls.empty());
    // The UID read needs no decoder.
    EXPECT_TRUE(ReadUid(rec));

    api.readCardGetCardType = nullptr;
    s.Install(api);
    EXPECT_FALSE(ReadUid(rec));
    EXPECT_EQ(rec.ErrorMsg, api.Missing);
}
