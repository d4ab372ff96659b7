#pragma once

// The service log seam. Workers hand their lines over here and never wait for the UI: the
// Windows shell queues them and posts one message to its window, the console writes whole lines
// to stdout. A sink must be quick and must not block on the UI thread.

#include <functional>
#include <string>

namespace zir::core {

using ServiceLogSink = std::function<void(const std::string& utf8Line)>;

// Installed once by the shell before the service starts; without a sink lines are dropped.
void SetServiceLogSink(ServiceLogSink sink);

// Hands one line to the sink; control bytes inside it are shown as \xHH so that it stays one
// line, and each byte that is not part of well-formed UTF-8 becomes U+FFFD.
void LogServiceLine(const std::string& utf8Line);

} // namespace zir::core
