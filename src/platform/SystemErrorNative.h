#pragma once

#include <string>

namespace zir::platform {

// Supplied by posix/ or win32/SystemError.cpp to the shared SystemError.cpp: the system's text
// for an error number as the system gives it (Windows ends it with a full stop and a line
// break), or empty when it has none.
std::string SystemMessage(unsigned long code);

} // namespace zir::platform
