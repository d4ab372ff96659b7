#pragma once

// UTF-8 as it must leave the program: every document and log line is valid UTF-8, whatever bytes
// a reader library or a request delivered.

#include <cstddef>
#include <string>
#include <string_view>

namespace zir::platform {

// The length of the well-formed UTF-8 sequence that starts at text[at] (1 for ASCII), or 0 when
// the bytes there start none: a continuation byte, a cut-off sequence, an overlong form, a
// surrogate or a value past U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// U+FFFD as UTF-8: what each byte that starts no well-formed sequence becomes.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Valid UTF-8 stays as it is; each byte that starts no well-formed sequence becomes U+FFFD.
std::string RepairUtf8(std::string_view text);

bool IsValidUtf8(std::string_view text);

} // namespace zir::platform
