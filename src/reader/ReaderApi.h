#pragma once

// What the service requires of the reader library (SDTAPI) and the photo decoder (DLL_File):
// every function by its exported name, with its exact argument list.

#include "platform/CallingConvention.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace zir::reader {

using SDT_GetSAMIDToStr_t = int32_t(ZIR_STDCALL*)(int32_t port, char* samId, int32_t ifOpen);
using SDT_SelectIDCard_t = int32_t(ZIR_STDCALL*)(int32_t port, unsigned char* buffer8,
                                                 int32_t ifOpen);
using GetNewCardType_t = int32_t(ZIR_STDCALL*)();
using GetNewPhotoRaw_t = int32_t(ZIR_STDCALL*)(unsigned char* raw1025, int32_t* length);
using GetNewField_t = int32_t(ZIR_STDCALL*)(char* buffer256);
using readCardGetUID_t = int32_t(ZIR_STDCALL*)(int32_t port, char* buffer);
using readCardGetCardType_t = int32_t(ZIR_STDCALL*)();
using readCardBeep_t = int32_t(ZIR_STDCALL*)(int32_t on);
using unpack_t = int32_t(ZIR_STDCALL*)(unsigned char* raw, unsigned char* bitmap38556, int32_t one);

// Every binding carries the vendors' calling convention where it is one of its own (32-bit x86:
// the Windows product and the 32-bit Linux build).
template <typename StdcallPointer, typename CPointer>
inline constexpr bool kBoundAsStdcall =
    std::is_same_v<StdcallPointer, CPointer> != platform::kStdcallIsDistinct;
static_assert(kBoundAsStdcall<SDT_GetSAMIDToStr_t, int32_t (*)(int32_t, char*, int32_t)>);
static_assert(kBoundAsStdcall<SDT_SelectIDCard_t, int32_t (*)(int32_t, unsigned char*, int32_t)>);
static_assert(kBoundAsStdcall<GetNewCardType_t, int32_t (*)()>);
static_assert(kBoundAsStdcall<GetNewPhotoRaw_t, int32_t (*)(unsigned char*, int32_t*)>);
static_assert(kBoundAsStdcall<GetNewField_t, int32_t (*)(char*)>);
static_assert(kBoundAsStdcall<readCardGetUID_t, int32_t (*)(int32_t, char*)>);
static_assert(kBoundAsStdcall<readCardGetCardType_t, int32_t (*)()>);
static_assert(kBoundAsStdcall<readCardBeep_t, int32_t (*)(int32_t)>);
static_assert(kBoundAsStdcall<unpack_t, int32_t (*)(unsigned char*, unsigned char*, int32_t)>);

// The bound function table. A function that could not be bound stays null, and Missing names
// the library file or function that is missing (empty when everything is bound).
struct TReaderApi {
    SDT_GetSAMIDToStr_t SDT_GetSAMIDToStr = nullptr;
    SDT_SelectIDCard_t SDT_SelectIDCard = nullptr;
    GetNewCardType_t GetNewCardType = nullptr;
    GetNewPhotoRaw_t GetNewPhotoRaw = nullptr;
    GetNewField_t GetNewPeopleName = nullptr;
    GetNewField_t GetNewPeopleSex = nullptr;
    GetNewField_t GetNewPeopleNation = nullptr;
    GetNewField_t GetNewPeopleBirthday = nullptr;
    GetNewField_t GetNewPeopleAddress = nullptr;
    GetNewField_t GetNewPeopleIDCode = nullptr;
    GetNewField_t GetNewDepartment = nullptr;
    GetNewField_t GetNewStartDate = nullptr;
    GetNewField_t GetNewEndDate = nullptr;
    GetNewField_t GetNewPassNum = nullptr;
    GetNewField_t GetNewPeopleNameEn = nullptr;
    GetNewField_t GetNewPeopleCountry = nullptr;
    GetNewField_t GetNewPeopleCountryCode = nullptr;
    readCardGetUID_t readCardGetUID = nullptr;
    readCardGetCardType_t readCardGetCardType = nullptr;
    readCardBeep_t readCardBeep = nullptr;
    unpack_t unpack = nullptr; // DLL_File

    std::string Missing;
    // Bound from zir's own simulated reader (--simulate), not from a vendor's libraries.
    bool Simulated = false;
};

} // namespace zir::reader
