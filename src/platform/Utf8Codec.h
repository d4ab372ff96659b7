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

} // namespace zir::platform
