#pragma once

// The record one card read fills.

#include <cstdint>
#include <string>

namespace zir::core {

// The value record of one card read. Texts are UTF-8, converted from the reader's GBK right
// after trimming; Uid keeps the bytes the reader delivered. Copied whole in and out of the
// cache.
struct TIdCardRec {
    std::string Name;
    std::string SexDesc;
    std::string NationDesc;
    std::string Birthday;
    std::string Address;
    std::string IdNum;
    std::string Company;
    std::string BeginDate;
    std::string EndDate;
    std::string PhotoPath;
    std::string PhotoBase64;
    std::string ErrorMsg;
    std::string Uid;
    std::string PassNum;
    std::string EName;
    std::string Country;
    std::string CountryCode;
    std::string UidType;
    bool FromCache = false;
    int32_t CardTypeCode = 0;
    std::string CardType;

    bool operator==(const TIdCardRec&) const = default;
};

// PhotoBase64 of a read that decoded no photo of its own.
inline constexpr const char* kNoPhotoBase64 = "ERROR";

} // namespace zir::core
