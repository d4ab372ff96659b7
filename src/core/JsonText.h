#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace zir::core {

// Appends text as the inside of a JSON string: a double quote, a backslash and the bytes below
// 0x20 are escaped as JSON requires ("\"", "\\", "\b", "\f", "\n", "\r", "\t", the others as
// "\u00XX"), and each byte that is not part of well-formed UTF-8 becomes U+FFFD; everything else
// (ASCII, well-formed UTF-8) is appended as it is, so ordinary texts pass unchanged.
void AppendJsonEscaped(std::string& out, std::string_view text);

// The same as a new string.
std::string JsonEscaped(std::string_view text);

// One member of a document: the key as written and its value, always a JSON string.
using TJsonMember = std::pair<std::string_view, std::string_view>;

// Appends "key":"value" pairs separated by commas, values escaped; no braces.
void AppendJsonMembers(std::string& out, std::initializer_list<TJsonMember> members);

// A one-line object of string members: {"key":"value",...}.
std::string JsonObject(std::initializer_list<TJsonMember> members);

} // namespace zir::core
