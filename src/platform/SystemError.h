#pragma once

#include <string>

namespace zir::platform {

// The system's one-line description of an error number (GetLastError or WSAGetLastError codes
// on Windows, errno values elsewhere), in UTF-8, without a line break or full stop at the end.
std::string SystemErrorText(unsigned long code);

} // namespace zir::platform
