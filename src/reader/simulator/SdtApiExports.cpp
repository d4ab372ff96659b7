// The simulated reader library (libSDTAPI.so / SDTAPI.DLL): the vendor's export names and
// argument lists, each forwarding to the one SimulatedReader.
#include "platform/CallingConvention.h"
#include "reader/ReaderApi.h"
#include "reader/simulator/core/SimulatedReader.h"

#include <cstdint>
#include <type_traits>

using zir::reader::simulator::CardField;
using zir::reader::simulator::TheSimulatedReader;

ZIR_EXPORT int32_t ZIR_STDCALL SDT_GetSAMIDToStr(int32_t /*port*/, char* samId,
                                                 int32_t /*ifOpen*/) {
    return TheSimulatedReader().GetSamIdToStr(samId);
}

ZIR_EXPORT int32_t ZIR_STDCALL SDT_SelectIDCard(int32_t /*port*/, unsigned char* buffer8,
                                                int32_t /*ifOpen*/) {
    return TheSimulatedReader().SelectIdCard(buffer8);
}

ZIR_EXPORT int32_t ZIR_STDCALL GetNewCardType() {
    return TheSimulatedReader().GetNewCardType();
}

ZIR_EXPORT int32_t ZIR_STDCALL GetNewPhotoRaw(unsigned char* raw1025, int32_t* length) {
    return TheSimulatedReader().GetNewPhotoRaw(raw1025, length);
}

#define ZIR_FIELD_FUNCTION(name, field)                                                            \
    ZIR_EXPORT int32_t ZIR_STDCALL name(char* buffer256) {                                         \
        return TheSimulatedReader().GetNewField(CardField::field, buffer256, #name);               \
    }

ZIR_FIELD_FUNCTION(GetNewPeopleName, Name)
ZIR_FIELD_FUNCTION(GetNewPeopleSex, Sex)
ZIR_FIELD_FUNCTION(GetNewPeopleNation, Nation)
ZIR_FIELD_FUNCTION(GetNewPeopleBirthday, Birthday)
ZIR_FIELD_FUNCTION(GetNewPeopleAddress, Address)
ZIR_FIELD_FUNCTION(GetNewPeopleIDCode, IdCode)
ZIR_FIELD_FUNCTION(GetNewDepartment, Department)
ZIR_FIELD_FUNCTION(GetNewStartDate, StartDate)
ZIR_FIELD_FUNCTION(GetNewEndDate, EndDate)
ZIR_FIELD_FUNCTION(GetNewPassNum, PassNum)
ZIR_FIELD_FUNCTION(GetNewPeopleNameEn, NameEn)
ZIR_FIELD_FUNCTION(GetNewPeopleCountry, Country)
ZIR_FIELD_FUNCTION(GetNewPeopleCountryCode, CountryCode)

#undef ZIR_FIELD_FUNCTION

ZIR_EXPORT int32_t ZIR_STDCALL readCardGetUID(int32_t /*port*/, char* buffer) {
    return TheSimulatedReader().ReadCardGetUid(buffer);
}

ZIR_EXPORT int32_t ZIR_STDCALL readCardGetCardType() {
    return TheSimulatedReader().ReadCardGetCardType();
}

ZIR_EXPORT int32_t ZIR_STDCALL readCardBeep(int32_t on) {
    return TheSimulatedReader().ReadCardBeep(on);
}

// Each export has exactly the type the loader binds it as: argument list and calling convention.
namespace api = zir::reader;
static_assert(std::is_same_v<decltype(&SDT_GetSAMIDToStr), api::SDT_GetSAMIDToStr_t>);
static_assert(std::is_same_v<decltype(&SDT_SelectIDCard), api::SDT_SelectIDCard_t>);
static_assert(std::is_same_v<decltype(&GetNewCardType), api::GetNewCardType_t>);
static_assert(std::is_same_v<decltype(&GetNewPhotoRaw), api::GetNewPhotoRaw_t>);
static_assert(std::is_same_v<decltype(&GetNewPeopleName), api::GetNewField_t>);
static_assert(std::is_same_v<decltype(&GetNewPeopleCountryCode), api::GetNewField_t>);
static_assert(std::is_same_v<decltype(&readCardGetUID), api::readCardGetUID_t>);
static_assert(std::is_same_v<decltype(&readCardGetCardType), api::readCardGetCardType_t>);
static_assert(std::is_same_v<decltype(&readCardBeep), api::readCardBeep_t>);
