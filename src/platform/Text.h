#pragma once

#include <string>
#include <string_view>

namespace zir::platform {

// Code page 936 (GBK) bytes to UTF-8. Invalid or truncated sequences become U+FFFD; never
// throws, never stops early.
std::string Cp936ToUtf8(std::string_view gbk);

// UTF-8 to code page 936. Characters GBK cannot hold become '?'; invalid UTF-8 bytes too.
std::string Utf8ToCp936(std::string_view utf8);

// The text without its leading and trailing blanks and control characters (bytes 0x00 to 0x20):
// the trimming rule of reader buffers, header values and edit boxes alike. Works on bytes.
std::string_view TrimBlanksAndControls(std::string_view text);

// ASCII letters only change case; every other byte (GBK and UTF-8 bytes included) stays.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
std::string AsciiUpperCase(std::string text);
std::string AsciiLowerCase(std::string text);

// UTF-8 <-> UTF-16 for the Win32 "W" functions. Invalid UTF-8 becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

} // namespace zir::platform
