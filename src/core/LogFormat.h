#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zir::core {

// A service-log line from a printf-style pattern with %s only; values are inserted as they are.
std::string FormatLogLine(std::string_view pattern, std::initializer_list<std::string_view> values);

} // namespace zir::core
