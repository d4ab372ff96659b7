#pragma once

#include <optional>
#include <string>

namespace zir::platform {

// Sets (value given) or removes (nullopt) an environment variable of this process.
void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value);

std::optional<std::string> GetEnvironmentValue(const std::string& name);

// Makes a relative path absolute against the current directory; an absolute one stays.
std::string AbsolutePath(const std::string& path);

} // namespace zir::platform
