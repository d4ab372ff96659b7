#include "core/MessagePump.h"

#include "platform/HandlerSeam.h"

namespace zir::core {

namespace {
platform::HandlerSeam<void()> seam;
} // namespace

void SetMessagePumpHandler(MessagePumpHandler handler) {
    seam.Set(std::move(handler));
}

void ProcessPendingMessages() {
    if (auto handler = seam.Get())
        (*handler)();
}

} // namespace zir::core
