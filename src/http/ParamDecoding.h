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

} // namespace zir::http
