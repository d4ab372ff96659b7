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

// The parameters of body and query joined by CR LF (the one that is not empty when the other
// is), decoded without building the joined text.
std::vector<std::string> DecodeParams(std::string_view body, std::string_view query);

// The parameter text of a request: body, extended by CR LF and the query string when both are
// there.
std::string JoinParamText(std::string_view body, std::string_view query);

// The value of the first "name=value" entry whose name (the text before its first "=") equals
// name ignoring case; entries without "=" match nothing. Found tells whether one matched.
std::string FindParam(const std::vector<std::string>& params, std::string_view name,
                      bool* found = nullptr);

} // namespace zir::http
