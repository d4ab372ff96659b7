#pragma once

// Card reading through the reader library's functions: one placement of a card on the reader
// becomes a filled TIdCardRec.

#include "core/TIdCardRec.h"

#include <cstddef>
#include <string>

namespace zir::reader {
struct TReaderApi;
} // namespace zir::reader

namespace zir::core {

// Full read into the record through the library's functions; false with ErrorMsg set when a step
// fails. Does not clear the record first. Made by the in-process card operations, which hold
// the card-operation lock.
bool ReadIdCard(const reader::TReaderApi& api, TIdCardRec& rec);

// UID read: Uid and UidType on success, ErrorMsg on failure. Like ReadIdCard, under the lock.
bool ReadCardUid(const reader::TReaderApi& api, TIdCardRec& rec);

// A fixed-size buffer the library filled, as text: the whole buffer, then every leading and
// trailing byte 0x00..0x20 removed. Works on bytes; no conversion.
std::string BufferToText(const char* buffer, std::size_t size);

} // namespace zir::core
