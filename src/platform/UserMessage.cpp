#include "platform/UserMessage.h"

#include <cstdio>
#include <mutex>

namespace zir::platform {

namespace {
std::mutex handlerMutex;
UserMessageHandler currentHandler;
} // namespace

void SetUserMessageHandler(UserMessageHandler handler) {
    std::lock_guard lock(handlerMutex);
    currentHandler = std::move(handler);
}

void ShowUserMessage(const std::string& utf8Text) {
    UserMessageHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = currentHandler;
    }
    if (handler) {
        handler(utf8Text);
        return;
    }
    // Without a shell (tests, early start-up) the message still reaches a person.
    std::fprintf(stderr, "%s\n", utf8Text.c_str());
    std::fflush(stderr);
}

} // namespace zir::platform
