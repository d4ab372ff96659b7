#include "core/MessagePump.h"

#include <mutex>

namespace zir::core {

namespace {
std::mutex handlerMutex;
MessagePumpHandler currentHandler;
} // namespace

void SetMessagePumpHandler(MessagePumpHandler handler) {
    std::lock_guard lock(handlerMutex);
    currentHandler = std::move(handler);
}

void ProcessPendingMessages() {
    MessagePumpHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = currentHandler;
    }
    if (handler)
        handler();
}

} // namespace zir::core
