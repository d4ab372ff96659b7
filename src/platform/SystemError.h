#pragma once

#include <string>
#include <system_error>

namespace zir::platform {

// The system's one-line description of an error number (GetLastError or WSAGetLastError codes
// on Windows, errno values elsewhere), in UTF-8, without a line break or full stop at the end.
std::string SystemErrorText(unsigned long code);

// An error code's text in UTF-8: the system's own errors through SystemErrorText (a C++
// runtime may build their message() in the ANSI code page, which is not UTF-8 on Windows),
// the others by their message().
std::string ErrorCodeText(const std::error_code& error);

} // namespace zir::platform
