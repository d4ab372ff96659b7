#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zir::platform {

// The UTF-8 coding steps that the text conversions of both platforms share.

// U+FFFD, what stands in for bytes that are no character.
inline constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp);

// Decodes one UTF-8 sequence at text[i]. Returns its length, or 0 when the bytes there are not
// a well-formed sequence (overlong forms, surrogates and values past U+10FFFF included).
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp);

// U+FFFD as UTF-8 bytes.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Valid UTF-8 stays as it is; each byte that starts no well-formed sequence becomes U+FFFD. What
// leaves the program (documents, log lines) is UTF-8, whatever bytes a reader or a request gave.
std::string RepairUtf8(std::string_view text);

bool IsValidUtf8(std::string_view text);

} // namespace zir::platform
