#include "core/ICH.h"

#include "core/PhotoEncoding.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "reader/ReaderApi.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace zir::core {

namespace {

// Success codes of the reader library.
constexpr int32_t kSamOk = 144;
constexpr int32_t kSelectOk = 144;
constexpr int32_t kUidOk = 1;
constexpr int32_t kPhotoRawOk = 1;
constexpr int32_t kUnpackOk = 1;

constexpr int32_t kPort = 0;
constexpr std::size_t kFieldBytes = 256;
constexpr std::size_t kSelectBytes = 8;
constexpr std::size_t kRawPhotoBytes = 1025;
constexpr std::size_t kBitmapBytes = 38556; // 102 x 126 pixels x 3 bytes
constexpr std::size_t kFullReadUidBytes = 32;
constexpr std::size_t kUidReadBytes = 1025;

std::string Failure(const char* message, int32_t code) {
    return message + std::to_string(code);
}

// A library function that was never bound must not be called: the read fails with the loader's
// explanation instead.
template <typename... Functions>
bool AllBound(const reader::TReaderApi& api, TIdCardRec& rec, Functions... functions) {
    if ((... && (functions != nullptr)))
        return true;
    rec.ErrorMsg = api.Missing.empty() ? "读卡库函数未加载" : api.Missing;
    return false;
}

std::string ReadField(reader::GetNewField_t function) {
    char buffer[kFieldBytes];
    std::memset(buffer, 0, sizeof buffer);
    function(buffer);
    // The reader speaks GBK; inside the program every text is UTF-8.
    return platform::Cp936ToUtf8(BufferToText(buffer, sizeof buffer));
}

const char* CardTypeName(int32_t code) {
    switch (code) {
    case 1:
        return "身份证";
    case 2:
        return "港澳台居住证";
    case 3:
        return "外国人永居证17版";
    case 4:
        return "外国人永居证23版";
    default:
        return "其他证件";
    }
}

const char* UidTypeName(int32_t code) {
    switch (code) {
    case 4:
        return "IC卡";
    case 16:
        return "身份证";
    default:
        return "其他卡";
    }
}

} // namespace

std::string BufferToText(const char* buffer, std::size_t size) {
    return std::string(platform::TrimBlanksAndControls(std::string_view(buffer, size)));
}

bool ReadIdCard(const reader::TReaderApi& api, TIdCardRec& rec) {
    if (!AllBound(api, rec, api.SDT_GetSAMIDToStr, api.SDT_SelectIDCard, api.GetNewCardType,
                  api.GetNewPhotoRaw, api.unpack, api.GetNewPeopleName, api.GetNewPeopleSex,
                  api.GetNewPeopleNation, api.GetNewPeopleBirthday, api.GetNewPeopleAddress,
                  api.GetNewPeopleIDCode, api.GetNewDepartment, api.GetNewStartDate,
                  api.GetNewEndDate, api.GetNewPassNum, api.GetNewPeopleNameEn,
                  api.GetNewPeopleCountry, api.GetNewPeopleCountryCode, api.readCardGetUID))
        return false;

    int32_t result = api.SDT_GetSAMIDToStr(kPort, nullptr, 1);
    if (result != kSamOk) {
        rec.ErrorMsg = Failure("获取SAMID号失败，错误代码：", result);
        return false;
    }

    unsigned char select[kSelectBytes];
    std::memset(select, 0, sizeof select);
    result = api.SDT_SelectIDCard(kPort, select, 1);
    if (result != kSelectOk) {
        rec.ErrorMsg = Failure("选卡失败，错误代码：", result);
        return false;
    }

    int32_t cardType = api.GetNewCardType();
    if (cardType == 0) {
        rec.ErrorMsg = Failure("获取卡类型失败，错误代码：", cardType);
        return false;
    }

    // Only a photo decoded by this read may be attached: a zp.bmp left by an earlier card would
    // put another person's photo under this holder's name.
    bool photoDecoded = false;
    {
        std::vector<unsigned char> raw(kRawPhotoBytes, 0);
        int32_t rawLength = 0;
        if (api.GetNewPhotoRaw(raw.data(), &rawLength) == kPhotoRawOk) {
            std::vector<unsigned char> bitmap(kBitmapBytes, 0);
            result = api.unpack(raw.data(), bitmap.data(), 1);
            if (result != kUnpackOk) {
                rec.ErrorMsg = Failure("照片解码失败，错误代码：", result);
                return false;
            }
            photoDecoded = true;
        }
    }

    rec.CardTypeCode = cardType;
    rec.CardType = CardTypeName(cardType);

    rec.Name = ReadField(api.GetNewPeopleName);
    rec.SexDesc = ReadField(api.GetNewPeopleSex);
    rec.Birthday = ReadField(api.GetNewPeopleBirthday);
    rec.IdNum = ReadField(api.GetNewPeopleIDCode);
    rec.Company = ReadField(api.GetNewDepartment);
    rec.BeginDate = ReadField(api.GetNewStartDate);
    rec.EndDate = ReadField(api.GetNewEndDate);

    {
        char uid[kFullReadUidBytes];
        std::memset(uid, 0, sizeof uid);
        api.readCardGetUID(kPort, uid);
        rec.Uid = BufferToText(uid, sizeof uid);
    }

    switch (cardType) {
    case 1:
        rec.NationDesc = ReadField(api.GetNewPeopleNation);
        rec.Address = ReadField(api.GetNewPeopleAddress);
        break;
    case 2:
        rec.Address = ReadField(api.GetNewPeopleAddress);
        rec.PassNum = ReadField(api.GetNewPassNum);
        break;
    case 3:
    case 4:
        rec.EName = ReadField(api.GetNewPeopleNameEn);
        rec.Country = ReadField(api.GetNewPeopleCountry);
        rec.CountryCode = ReadField(api.GetNewPeopleCountryCode);
        break;
    default:
        break;
    }

    rec.PhotoPath = platform::CurrentDirectory() + platform::PathSeparator() + "zp.bmp";

    // Here a read on the UI thread would let the pending window messages run before the photo
    // is encoded. This read never runs on a UI thread (workers, the test page's worker, the
    // commands), so it has no messages to let through and goes straight on.

    if (!photoDecoded) {
        rec.PhotoBase64 = kNoPhotoBase64;
    } else {
        try {
            rec.PhotoBase64 = PhotoFileToBase64(rec.PhotoPath);
        } catch (...) {
            rec.PhotoBase64 = kNoPhotoBase64;
        }
    }
    return true;
}

bool ReadCardUid(const reader::TReaderApi& api, TIdCardRec& rec) {
    if (!AllBound(api, rec, api.readCardGetUID, api.readCardGetCardType))
        return false;

    // On the stack: a heap block this size costs every UID request a tidy-up of the allocator.
    std::array<char, kUidReadBytes> buffer{};
    int32_t result = api.readCardGetUID(kPort, buffer.data());
    if (result != kUidOk) {
        rec.ErrorMsg = Failure("获取UID失败，错误代码：", result);
        return false;
    }
    // Up to the first NUL and not trimmed: the UID exactly as the reader gave it.
    auto end = std::find(buffer.begin(), buffer.end(), '\0');
    rec.Uid.assign(buffer.begin(), end);
    rec.UidType = UidTypeName(api.readCardGetCardType());
    return true;
}

} // namespace zir::core
