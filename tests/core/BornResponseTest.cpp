#include "core/BornResponseUnit.h"
#include "core/TIdCardRec.h"
#include "platform/Text.h"

#include "StrictJson.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zir::core::TBornResponse;
using zir::core::TIdCardRec;
using zir::test::JsonValue;
using zir::test::StrictJsonReader;

namespace {

// Every field filled, whatever the card type, so that each layout shows which fields it takes.
TIdCardRec Sample(int32_t code, const std::string& cardType) {
    TIdCardRec rec;
    rec.Name = "张三";
    rec.SexDesc = "男";
    rec.NationDesc = "汉";
    rec.Birthday = "19900101";
    rec.Address = "北京市东城区景山前街4号";
    rec.IdNum = "110101199001011234";
    rec.Company = "北京市公安局东城分局";
    rec.BeginDate = "20200101";
    rec.EndDate = "长期";
    rec.PhotoPath = "/tmp/zp.bmp";
    rec.PhotoBase64 = "Qk02AAAA";
    rec.ErrorMsg = "获取UID失败，错误代码：0";
    rec.Uid = "0123456789ABCDEF";
    rec.PassNum = "H01234567";
    rec.EName = "ZHANG SAN";
    rec.Country = "中国";
    rec.CountryCode = "CHN";
    rec.UidType = "身份证";
    rec.FromCache = true;
    rec.CardTypeCode = code;
    rec.CardType = cardType;
    return rec;
}

std::string Build(int32_t webType, const TIdCardRec& rec) {
    return TBornResponse::BuildResponse(rec, webType);
}

JsonValue ParseStrict(const std::string& doc) {
    JsonValue v;
    std::string error;
    EXPECT_TRUE(StrictJsonReader::Parse(doc, v, error)) << error << "\n" << doc;
    return v;
}

} // namespace

TEST(BornResponse, WebTypeZeroChoosesTheLayoutByCardType) {
    EXPECT_EQ(
        Build(0, Sample(1, "身份证")),
        R"({"statusCode":"200","cardType":"身份证","name":"张三","sexDesc":"男","nationDesc":"汉","birthday":"19900101","address":"北京市东城区景山前街4号","IdNum":"110101199001011234","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})");
    EXPECT_EQ(
        Build(0, Sample(2, "港澳台居住证")),
        R"({"statusCode":"200","cardType":"港澳台居住证","name":"张三","sexDesc":"男","birthday":"19900101","address":"北京市东城区景山前街4号","IdNum":"110101199001011234","passNum":"H01234567","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})");
    EXPECT_EQ(
        Build(0, Sample(3, "外国人永居证17版")),
        R"({"statusCode":"200","cardType":"外国人永居证17版","name":"张三","ename":"ZHANG SAN","sexDesc":"男","country":"中国","countryCode":"CHN","birthday":"19900101","IdNum":"110101199001011234","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})");
    EXPECT_EQ(
        Build(0, Sample(4, "外国人永居证23版")),
        R"({"statusCode":"200","cardType":"外国人永居证23版","name":"张三","ename":"ZHANG SAN","sexDesc":"男","country":"中国","countryCode":"CHN","birthday":"19900101","IdNum":"110101199001011234","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})");
    const std::string other =
        R"({"statusCode":"200","cardType":"其他证件","name":"张三","sexDesc":"男","nationDesc":"汉","birthday":"19900101","address":"北京市东城区景山前街4号","IdNum":"110101199001011234","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})";
    EXPECT_EQ(Build(0, Sample(5, "其他证件")), other);
    EXPECT_EQ(Build(0, Sample(0, "其他证件")), other);
    EXPECT_EQ(Build(0, Sample(-7, "其他证件")), other);
}

TEST(BornResponse, WebTypeOneIsTheResultContentLayoutForEveryCard) {
    const std::string expected =
        R"({"resultFlag":"0","resultContent":{"chName":"张三","gender":"男","nation":"汉","birthDate":"19900101","address":"北京市东城区景山前街4号","cardNo":"110101199001011234","issue":"北京市公安局东城分局","effDate":"20200101","expDate":"长期","identityPic":"Qk02AAAA"}})";
    EXPECT_EQ(Build(1, Sample(2, "港澳台居住证")), expected);
    EXPECT_EQ(Build(1, Sample(3, "外国人永居证17版")), expected);
}

TEST(BornResponse, OtherWebTypesAreTheIdentityCardLayoutForEveryCard) {
    const std::string expected =
        R"({"statusCode":"200","cardType":"外国人永居证17版","name":"张三","sexDesc":"男","nationDesc":"汉","birthday":"19900101","address":"北京市东城区景山前街4号","IdNum":"110101199001011234","company":"北京市公安局东城分局","beginDate":"20200101","endDate":"长期","photoBase64":"Qk02AAAA","uid":"0123456789ABCDEF"})";
    EXPECT_EQ(Build(2, Sample(3, "外国人永居证17版")), expected);
    EXPECT_EQ(Build(-1, Sample(3, "外国人永居证17版")), expected);
    EXPECT_EQ(Build(INT32_MIN, Sample(3, "外国人永居证17版")), expected);
    // The layout follows the WebType given.
    EXPECT_NE(Build(0, Sample(3, "外国人永居证17版")), expected);
}

TEST(BornResponse, AnEmptyRecordGivesEveryMemberWithAnEmptyValue) {
    TIdCardRec empty;
    empty.CardTypeCode = 1;
    EXPECT_EQ(
        Build(0, empty),
        R"({"statusCode":"200","cardType":"","name":"","sexDesc":"","nationDesc":"","birthday":"","address":"","IdNum":"","company":"","beginDate":"","endDate":"","photoBase64":"","uid":""})");
    empty.CardTypeCode = 2;
    EXPECT_EQ(
        Build(0, empty),
        R"({"statusCode":"200","cardType":"","name":"","sexDesc":"","birthday":"","address":"","IdNum":"","passNum":"","company":"","beginDate":"","endDate":"","photoBase64":"","uid":""})");
    empty.CardTypeCode = 4;
    EXPECT_EQ(
        Build(0, empty),
        R"({"statusCode":"200","cardType":"","name":"","ename":"","sexDesc":"","country":"","countryCode":"","birthday":"","IdNum":"","company":"","beginDate":"","endDate":"","photoBase64":"","uid":""})");
    EXPECT_EQ(
        Build(1, empty),
        R"({"resultFlag":"0","resultContent":{"chName":"","gender":"","nation":"","birthDate":"","address":"","cardNo":"","issue":"","effDate":"","expDate":"","identityPic":""}})");
}

TEST(BornResponse, HostileValuesStayInsideTheirStrings) {
    const std::string hostile =
        std::string("a\"b\\c/d\b\f\n\r\t\x01\x1f") + '\0' + "\x7f" + R"(","statusCode":"500)";
    TIdCardRec rec;
    for (std::string* field :
         {&rec.Name, &rec.SexDesc, &rec.NationDesc, &rec.Birthday, &rec.Address, &rec.IdNum,
          &rec.Company, &rec.BeginDate, &rec.EndDate, &rec.PhotoBase64, &rec.Uid, &rec.PassNum,
          &rec.EName, &rec.Country, &rec.CountryCode, &rec.CardType})
        *field = hostile + "张\xEF\xBF\xBD"; // U+FFFD, what an invalid GBK byte becomes
    for (int32_t webType : {0, 1, 2}) {
        for (int32_t code : {1, 2, 3}) {
            rec.CardTypeCode = code;
            std::string doc = Build(webType, rec);
            EXPECT_EQ(doc.find('\n'), std::string::npos);
            JsonValue v = ParseStrict(doc);
            ASSERT_EQ(v.kind, JsonValue::Kind::Object);
            const JsonValue& members = webType == 1 ? *v.Find("resultContent") : v;
            for (size_t i = 0; i < members.keys.size(); ++i) {
                const std::string& key = members.keys[i];
                ASSERT_EQ(members.values[i].kind, JsonValue::Kind::String) << key;
                if (key != "statusCode") {
                    EXPECT_EQ(members.values[i].text, hostile + "张\xEF\xBF\xBD") << key;
                }
            }
            if (webType != 1) {
                EXPECT_EQ(v.Find("statusCode")->text, "200");
            }
        }
    }
}

TEST(BornResponse, EveryLayoutHasItsKeysInOrder) {
    TIdCardRec rec = Sample(1, "身份证");
    using Keys = std::vector<std::string>;
    EXPECT_EQ(ParseStrict(Build(0, rec)).Keys(),
              (Keys{"statusCode", "cardType", "name", "sexDesc", "nationDesc", "birthday",
                    "address", "IdNum", "company", "beginDate", "endDate", "photoBase64", "uid"}));
    JsonValue result = ParseStrict(Build(1, rec));
    EXPECT_EQ(result.Keys(), (Keys{"resultFlag", "resultContent"}));
    EXPECT_EQ(result.Find("resultContent")->Keys(),
              (Keys{"chName", "gender", "nation", "birthDate", "address", "cardNo", "issue",
                    "effDate", "expDate", "identityPic"}));
}

TEST(BornResponse, CardTextsReadAsGbkLeaveAsUtf8) {
    // Card texts are converted where they leave the reader; the document carries them unchanged.
    TIdCardRec rec = Sample(1, "身份证");
    rec.Name = zir::platform::Cp936ToUtf8("\xD5\xC5\xC8\xFD");
    rec.EndDate = zir::platform::Cp936ToUtf8("\xB3\xA4\xC6\xDA");
    rec.Address = zir::platform::Cp936ToUtf8("\x81\x20\xFF\xD5"); // invalid and cut-off GBK
    std::string doc = Build(0, rec);
    EXPECT_NE(doc.find("\"name\":\"\xE5\xBC\xA0\xE4\xB8\x89\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("\"endDate\":\"长期\""), std::string::npos) << doc;
    JsonValue v = ParseStrict(doc);
    EXPECT_EQ(v.Find("address")->text, rec.Address);
}

TEST(BornResponse, AUidThatIsNotUtf8IsStillTextInEveryLayout) {
    // The UID is copied as the reader delivered it, so its bad bytes reach the builder.
    TIdCardRec rec = Sample(1, "身份证");
    rec.Uid = "\xD5\xC5"
              "01\xFF";
    for (int32_t webType : {0, 2}) {
        for (int32_t code : {1, 2, 3}) {
            rec.CardTypeCode = code;
            const JsonValue doc = ParseStrict(Build(webType, rec));
            ASSERT_NE(doc.Find("uid"), nullptr);
            EXPECT_EQ(doc.Find("uid")->text, "\xEF\xBF\xBD\xEF\xBF\xBD"
                                             "01\xEF\xBF\xBD");
        }
    }
}
