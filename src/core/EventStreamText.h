#pragma once

// The bytes of a Server-Sent Events stream.

#include <string>
#include <string_view>

namespace zir::core {

// "event: NAME\ndata: DATA\n\n". A line break inside data starts another "data:" line, which a
// client joins back with "\n"; a bare one would end the event early or start a field.
std::string EventStreamEvent(std::string_view name, std::string_view data);

// A comment that keeps idle connections (and proxies) from timing out; clients ignore it.
inline constexpr std::string_view kEventStreamKeepAlive = ": keep-alive\n\n";

} // namespace zir::core
