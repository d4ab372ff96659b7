#pragma once

#include <string>
#include <string_view>

namespace zir::platform {

// Replaces the whole file at path with bytes so that the file is always either the old or the new
// contents: the bytes go to a temporary file in the same folder, which is then renamed over the
// old one. Throws std::runtime_error, with the path and the system's reason, when that fails; the
// old file is then untouched and no temporary file is left behind.
void AtomicFileWrite(const std::string& path, std::string_view bytes);

} // namespace zir::platform
