#pragma once

#include <string>
#include <string_view>

namespace zir::core {

// Appends text as the inside of a JSON string: a double quote, a backslash and the bytes below
// 0x20 are escaped as JSON requires ("\"", "\\", "\b", "\f", "\n", "\r", "\t", the others as
// "\u00XX"); every other byte is appended as it is, so ordinary texts pass unchanged.
void AppendJsonEscaped(std::string& out, std::string_view text);

// The same as a new string.
std::string JsonEscaped(std::string_view text);

} // namespace zir::core
