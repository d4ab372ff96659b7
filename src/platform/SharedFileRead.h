#pragma once

#include <string>

namespace zir::platform {

// Reads a whole file into memory. While it is open others may read it but not write it (Windows
// share mode; a plain read elsewhere). Throws std::runtime_error with the system's reason when
// the file cannot be opened or read.
std::string ReadWholeFileShared(const std::string& path);

} // namespace zir::platform
