// Arbitrary card records, as any reader library could fill them, through every document the
// service answers with and through the service log: each document must be strict JSON in valid
// UTF-8 whose values are the record's texts, and each log line one line of valid UTF-8.

#include "FuzzCheck.h"
#include "StrictJson.h"

#include "core/BornResponseUnit.h"
#include "core/CardRequest.h"
#include "core/ServiceLog.h"
#include "platform/Text.h"
#include "platform/Utf8Codec.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using namespace zir;
using core::TIdCardRec;
using test::JsonValue;

namespace {

using Members = std::vector<std::pair<std::string, const std::string*>>;

// The members each layout carries, in order; null for the fixed status values.
Members IdCardMembers(const TIdCardRec& r) {
    return {{"statusCode", nullptr},
            {"cardType", &r.CardType},
            {"name", &r.Name},
            {"sexDesc", &r.SexDesc},
            {"nationDesc", &r.NationDesc},
            {"birthday", &r.Birthday},
            {"address", &r.Address},
            {"IdNum", &r.IdNum},
            {"company", &r.Company},
            {"beginDate", &r.BeginDate},
            {"endDate", &r.EndDate},
            {"photoBase64", &r.PhotoBase64},
            {"uid", &r.Uid}};
}

Members ResidencePermitMembers(const TIdCardRec& r) {
    return {{"statusCode", nullptr},
            {"cardType", &r.CardType},
            {"name", &r.Name},
            {"sexDesc", &r.SexDesc},
            {"birthday", &r.Birthday},
            {"address", &r.Address},
            {"IdNum", &r.IdNum},
            {"passNum", &r.PassNum},
            {"company", &r.Company},
            {"beginDate", &r.BeginDate},
            {"endDate", &r.EndDate},
            {"photoBase64", &r.PhotoBase64},
            {"uid", &r.Uid}};
}

Members PermanentResidenceMembers(const TIdCardRec& r) {
    return {{"statusCode", nullptr},
            {"cardType", &r.CardType},
            {"name", &r.Name},
            {"ename", &r.EName},
            {"sexDesc", &r.SexDesc},
            {"country", &r.Country},
            {"countryCode", &r.CountryCode},
            {"birthday", &r.Birthday},
            {"IdNum", &r.IdNum},
            {"company", &r.Company},
            {"beginDate", &r.BeginDate},
            {"endDate", &r.EndDate},
            {"photoBase64", &r.PhotoBase64},
            {"uid", &r.Uid}};
}

Members ResultContentMembers(const TIdCardRec& r) {
    return {{"chName", &r.Name},       {"gender", &r.SexDesc},
            {"nation", &r.NationDesc}, {"birthDate", &r.Birthday},
            {"address", &r.Address},   {"cardNo", &r.IdNum},
            {"issue", &r.Company},     {"effDate", &r.BeginDate},
            {"expDate", &r.EndDate},   {"identityPic", &r.PhotoBase64}};
}

JsonValue Strict(const std::string& document) {
    JsonValue value;
    std::string error;
    if (!test::StrictJsonReader::Parse(document, value, error)) {
        std::fprintf(stderr, "not strict JSON: %s\n", error.c_str());
        FUZZ_CHECK(false);
    }
    FUZZ_CHECK(document.find_first_of("\r\n") == std::string::npos);
    return value;
}

// The object has exactly these members, in this order, every value a string holding the
// record's text (made valid UTF-8) or the fixed status text.
void CheckMembers(const JsonValue& object, const Members& members, const char* status) {
    FUZZ_CHECK(object.kind == JsonValue::Kind::Object);
    FUZZ_CHECK(object.keys.size() == members.size());
    for (size_t i = 0; i < members.size(); ++i) {
        FUZZ_CHECK(object.keys[i] == members[i].first);
        FUZZ_CHECK(object.values[i].kind == JsonValue::Kind::String);
        const std::string expected =
            members[i].second ? platform::RepairUtf8(*members[i].second) : status;
        FUZZ_CHECK(object.values[i].text == expected);
    }
}

void CheckFullRead(int32_t webType, const TIdCardRec& rec) {
    const JsonValue doc = Strict(core::TBornResponse::BuildResponse(rec, webType));
    if (webType == 1) {
        FUZZ_CHECK(doc.kind == JsonValue::Kind::Object && doc.keys.size() == 2);
        FUZZ_CHECK(doc.keys[0] == "resultFlag" && doc.values[0].text == "0");
        FUZZ_CHECK(doc.keys[1] == "resultContent");
        CheckMembers(doc.values[1], ResultContentMembers(rec), "");
    } else if (webType == 0 && rec.CardTypeCode == 2) {
        CheckMembers(doc, ResidencePermitMembers(rec), "200");
    } else if (webType == 0 && (rec.CardTypeCode == 3 || rec.CardTypeCode == 4)) {
        CheckMembers(doc, PermanentResidenceMembers(rec), "200");
    } else {
        CheckMembers(doc, IdCardMembers(rec), "200");
    }
}

void CheckLogLine(const std::string& line) {
    std::string shown;
    core::SetServiceLogSink([&shown](const std::string& text) { shown = text; });
    core::LogServiceLine(line);
    core::SetServiceLogSink(nullptr);
    FUZZ_CHECK(platform::IsValidUtf8(shown));
    for (unsigned char c : shown)
        FUZZ_CHECK(c >= 0x20 && c != 0x7F);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    TIdCardRec rec;
    const int32_t webType = input.ConsumeIntegralInRange<int32_t>(-2, 3);
    rec.CardTypeCode = input.ConsumeIntegralInRange<int32_t>(-1, 6);
    rec.FromCache = input.ConsumeBool();
    for (std::string* field :
         {&rec.Name, &rec.SexDesc, &rec.NationDesc, &rec.Birthday, &rec.Address, &rec.IdNum,
          &rec.Company, &rec.BeginDate, &rec.EndDate, &rec.PhotoBase64, &rec.Uid, &rec.PassNum,
          &rec.EName, &rec.Country, &rec.CountryCode, &rec.UidType, &rec.CardType, &rec.ErrorMsg})
        *field = input.ConsumeRandomLengthString(512);

    CheckFullRead(webType, rec);

    // The UID document converts the UID from GBK; the failure document is fixed.
    const std::string uidText = platform::Cp936ToUtf8(rec.Uid);
    CheckMembers(Strict(core::UidDocument(rec)),
                 {{"statusCode", nullptr}, {"type", &rec.UidType}, {"uid", &uidText}}, "200");
    FUZZ_CHECK(core::FailureDocument() == R"({"statusCode":"500"})");

    // What the handler logs about a record and a request path.
    CheckLogLine("##READ SUCCESS --> " + rec.UidType + " : " + rec.Uid);
    CheckLogLine("##REQUEST --> [URI: " + rec.Address + "; TYPE: " + rec.Name + "]");
    CheckLogLine("500:EXCEPTION --> " + rec.ErrorMsg);
    return 0;
}
