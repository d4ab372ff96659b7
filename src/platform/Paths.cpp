#include "platform/Paths.h"

#include <string>

namespace zir::platform {

std::string ExecutableDirectory() {
    std::string path = ExecutablePath();
    auto cut = path.find_last_of(PathSeparators());
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

std::filesystem::path PathFromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace zir::platform
