#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zir::reader::simulator {

// The simulator's "raw photo": what GetNewPhotoRaw hands to unpack. Real readers deliver the
// card's compressed photo; ours carries what our decoder needs to behave as the card file says,
// so the two libraries need no shared state.
struct RawPhoto {
    int32_t UnpackResult = 1;
    int32_t DelayMs = 0;
    std::string Photo; // absolute path of the bitmap; empty: the generated portrait
};

inline constexpr std::size_t kRawPhotoBytes = 1025;

// Writes raw into the 1025-byte buffer; returns the bytes used, or 0 when it does not fit.
std::size_t WriteRawPhoto(const RawPhoto& raw, unsigned char* buffer);

// Reads a raw photo back; nullopt when the buffer does not hold one of ours.
std::optional<RawPhoto> ReadRawPhoto(const unsigned char* buffer);

} // namespace zir::reader::simulator
