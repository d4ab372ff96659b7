#pragma once

#include <functional>

namespace zir::core {

// "Process the calling thread's pending window messages once", as the full read does before it
// encodes the photo. The Windows shell installs a handler; elsewhere nothing is pending.
using MessagePumpHandler = std::function<void()>;

void SetMessagePumpHandler(MessagePumpHandler handler);
void ProcessPendingMessages();

} // namespace zir::core
