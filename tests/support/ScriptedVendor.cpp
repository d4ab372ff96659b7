#include "ScriptedVendor.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

namespace zir::test {

namespace {

ScriptedVendor* script = nullptr;

// The UID buffer of the full read is the smaller of the two the reads hand over.
constexpr std::size_t kUidRoom = 32;

void Deliver(const char* name, char* buffer) {
    script->Calls.push_back(name);
    auto it = script->Fields.find(name);
    if (it != script->Fields.end())
        std::memcpy(buffer, it->second.data(), std::min<std::size_t>(it->second.size(), 256));
}

#define FIELD(name)                                                                                \
    int32_t ZIR_STDCALL name(char* buffer) {                                                       \
        Deliver(#name, buffer);                                                                    \
        return 1;                                                                                  \
    }
FIELD(GetNewPeopleName)
FIELD(GetNewPeopleSex)
FIELD(GetNewPeopleNation)
FIELD(GetNewPeopleBirthday)
FIELD(GetNewPeopleAddress)
FIELD(GetNewPeopleIDCode)
FIELD(GetNewDepartment)
FIELD(GetNewStartDate)
FIELD(GetNewEndDate)
FIELD(GetNewPassNum)
FIELD(GetNewPeopleNameEn)
FIELD(GetNewPeopleCountry)
FIELD(GetNewPeopleCountryCode)
#undef FIELD

const char* const kFieldNames[] = {
    "GetNewPeopleName",       "GetNewPeopleSex",    "GetNewPeopleNation", "GetNewPeopleBirthday",
    "GetNewPeopleAddress",    "GetNewPeopleIDCode", "GetNewDepartment",   "GetNewStartDate",
    "GetNewEndDate",          "GetNewPassNum",      "GetNewPeopleNameEn", "GetNewPeopleCountry",
    "GetNewPeopleCountryCode"};

int32_t ZIR_STDCALL ScriptedSam(int32_t port, char* samId, int32_t one) {
    script->Calls.push_back("SDT_GetSAMIDToStr");
    script->Ports.push_back(port);
    EXPECT_EQ(samId, nullptr);
    EXPECT_EQ(one, 1);
    return script->Sam;
}
int32_t ZIR_STDCALL ScriptedSelect(int32_t port, unsigned char* buffer8, int32_t one) {
    script->Calls.push_back("SDT_SelectIDCard");
    script->Ports.push_back(port);
    EXPECT_EQ(one, 1);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(buffer8[i], 0);
    return script->Select;
}
int32_t ZIR_STDCALL ScriptedCardType() {
    script->Calls.push_back("GetNewCardType");
    return script->CardType;
}
int32_t ZIR_STDCALL ScriptedPhotoRaw(unsigned char* raw, int32_t* length) {
    script->Calls.push_back("GetNewPhotoRaw");
    if (script->PhotoRaw == 1) {
        std::memcpy(raw, "RAW", 3);
        *length = 3;
    }
    return script->PhotoRaw;
}
int32_t ZIR_STDCALL ScriptedUnpack(unsigned char* raw, unsigned char* bitmap, int32_t one) {
    script->Calls.push_back("unpack");
    EXPECT_EQ(std::memcmp(raw, "RAW", 3), 0);
    EXPECT_EQ(one, 1);
    bitmap[38555] = 1; // the whole 38556-byte buffer is there
    if (script->Unpack == 1 && script->WritesPhoto)
        WriteFileBytes("zp.bmp", script->PhotoBytes);
    return script->Unpack;
}
int32_t ZIR_STDCALL ScriptedUid(int32_t port, char* buffer) {
    script->UidInside = true;
    script->Calls.push_back("readCardGetUID");
    script->Ports.push_back(port);
    if (!script->UidSequence.empty()) {
        script->UidBytes = script->UidSequence.front();
        script->UidSequence.erase(script->UidSequence.begin());
    }
    if (script->Uid == 1)
        std::memcpy(buffer, script->UidBytes.data(),
                    std::min(script->UidBytes.size(), kUidRoom - 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(script->UidDelayMs.load()));
    script->UidInside = false;
    return script->Uid;
}
int32_t ZIR_STDCALL ScriptedUidCardType() {
    script->Calls.push_back("readCardGetCardType");
    return script->UidCardType;
}
int32_t ZIR_STDCALL ScriptedBeep(int32_t on) {
    if (script->BeepThrows)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    script->Beeps.push_back(on);
    script->BeepOverlapped.push_back(script->UidInside.load());
    return 1;
}

} // namespace

const std::vector<std::string> kFullReadCommonCalls = {"SDT_GetSAMIDToStr",
                                                       "SDT_SelectIDCard",
                                                       "GetNewCardType",
                                                       "GetNewPhotoRaw",
                                                       "unpack",
                                                       "GetNewPeopleName",
                                                       "GetNewPeopleSex",
                                                       "GetNewPeopleBirthday",
                                                       "GetNewPeopleIDCode",
                                                       "GetNewDepartment",
                                                       "GetNewStartDate",
                                                       "GetNewEndDate",
                                                       "readCardGetUID"};

ScriptedVendor::ScriptedVendor() {
    script = this;
}

ScriptedVendor::~ScriptedVendor() {
    script = nullptr;
}

reader::TReaderApi ScriptedVendor::Api() {
    reader::TReaderApi api;
    api.SDT_GetSAMIDToStr = ScriptedSam;
    api.SDT_SelectIDCard = ScriptedSelect;
    api.GetNewCardType = ScriptedCardType;
    api.GetNewPhotoRaw = ScriptedPhotoRaw;
    api.GetNewPeopleName = GetNewPeopleName;
    api.GetNewPeopleSex = GetNewPeopleSex;
    api.GetNewPeopleNation = GetNewPeopleNation;
    api.GetNewPeopleBirthday = GetNewPeopleBirthday;
    api.GetNewPeopleAddress = GetNewPeopleAddress;
    api.GetNewPeopleIDCode = GetNewPeopleIDCode;
    api.GetNewDepartment = GetNewDepartment;
    api.GetNewStartDate = GetNewStartDate;
    api.GetNewEndDate = GetNewEndDate;
    api.GetNewPassNum = GetNewPassNum;
    api.GetNewPeopleNameEn = GetNewPeopleNameEn;
    api.GetNewPeopleCountry = GetNewPeopleCountry;
    api.GetNewPeopleCountryCode = GetNewPeopleCountryCode;
    api.readCardGetUID = ScriptedUid;
    api.readCardGetCardType = ScriptedUidCardType;
    api.readCardBeep = ScriptedBeep;
    api.unpack = ScriptedUnpack;
    return api;
}

void ScriptedVendor::Install(const reader::TReaderApi& api) {
    cards_ = core::InProcessCardOperations(api);
}

void ScriptedVendor::NameEveryField() {
    for (const char* name : kFieldNames)
        Fields[name] = std::string("v-") + name;
}

void ScriptedVendor::Rescript() {
    Sam = Select = 144;
    CardType = PhotoRaw = Unpack = Uid = 1;
    UidCardType = 16;
    UidBytes = "0123456789ABCDEF";
    UidSequence.clear();
    PhotoBytes = "BM-photo";
    WritesPhoto = true;
    UidDelayMs = 0;
    Calls.clear();
    Ports.clear();
    Beeps.clear();
    BeepOverlapped.clear();
}

int ScriptedVendor::Count(const std::string& name) const {
    return static_cast<int>(std::count(Calls.begin(), Calls.end(), name));
}

} // namespace zir::test
