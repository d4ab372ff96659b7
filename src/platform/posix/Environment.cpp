#include "platform/Environment.h"

#include "platform/EnvironmentNative.h"

#include <cstdlib>

namespace zir::platform {

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

bool IsAbsolutePath(const std::string& path) {
    return !path.empty() && path[0] == '/';
}

} // namespace zir::platform
