#pragma once

#include <string>

namespace zir::platform {

// Supplied by posix/ or win32/Environment.cpp to the shared Environment.cpp.

// Whether the system reads path as absolute (Windows: a drive letter, or a leading '\' or '/';
// elsewhere a leading '/').
bool IsAbsolutePath(const std::string& path);

} // namespace zir::platform
