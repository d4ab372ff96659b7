#pragma once

// Card reading: one placement of a card on the reader becomes a filled TIdCardRec.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zir::reader {
struct TReaderApi;
} // namespace zir::reader

namespace zir::core {

class CardOperationGuard;
class TCardOperations;

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

// Full read into the record through the library's functions; false with ErrorMsg set when a step
// fails. Does not clear the record first. Made by the in-process card operations, which hold
// the card-operation lock.
bool ReadIdCard(const reader::TReaderApi& api, TIdCardRec& rec);

// UID read: Uid and UidType on success, ErrorMsg on failure. Like ReadIdCard, under the lock.
bool ReadCardUid(const reader::TReaderApi& api, TIdCardRec& rec);

// The full read with the decode cache in front (only when WebCache is 1), whichever card
// operations make the reads; the lock is held for the whole call.
bool ReadIdCardCached(TCardOperations& cards, const CardOperationGuard& held, TIdCardRec& rec);

// A fixed-size buffer the library filled, as text: the whole buffer, then every leading and
// trailing byte 0x00..0x20 removed. Works on bytes; no conversion.
std::string BufferToText(const char* buffer, std::size_t size);

} // namespace zir::core
