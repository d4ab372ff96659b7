#include "platform/Paths.h"

#include <string>

namespace zir::platform {

std::string ExecutableDirectory() {
    std::string path = ExecutablePath();
    auto cut = path.find_last_of(PathSeparator() == '\\' ? "\\/" : "/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

} // namespace zir::platform
