#include "platform/Environment.h"

#include "platform/EnvironmentNative.h"
#include "platform/Paths.h"

namespace zir::platform {

std::string AbsolutePath(const std::string& path) {
    bool absolute = IsAbsolutePath(path);
    if (absolute || path.empty())
        return path;
    return CurrentDirectory() + PathSeparator() + path;
}

} // namespace zir::platform
