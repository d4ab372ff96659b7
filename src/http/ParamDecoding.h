#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zir::http {

// "+" becomes a blank; "%" with the (up to) two characters after it becomes that byte when they
// read as hexadecimal 1..255, and vanishes with them otherwise. Other bytes are kept.
std::string DecodeUrlPart(std::string_view text);

// Cuts text at every "&" and decodes each piece; empty pieces are kept. Empty text: no entries.
std::vector<std::string> DecodeParams(std::string_view text);

// The value of the first "name=value" entry whose name (the text before its first "=") equals
// name ignoring case; entries without "=" match nothing. Found tells whether one matched.
std::string FindParam(const std::vector<std::string>& params, std::string_view name,
                      bool* found = nullptr);

} // namespace zir::http
