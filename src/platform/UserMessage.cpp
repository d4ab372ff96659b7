#include "platform/UserMessage.h"

#include "platform/HandlerSeam.h"

#include <cstdio>

namespace zir::platform {

namespace {
HandlerSeam<void(const std::string&)> seam;
} // namespace

void SetUserMessageHandler(UserMessageHandler handler) {
    seam.Set(std::move(handler));
}

void ShowUserMessage(const std::string& utf8Text) {
    if (auto handler = seam.Get()) {
        (*handler)(utf8Text);
        return;
    }
    // Without a shell (tests, early start-up) the message still reaches a person.
    std::fprintf(stderr, "%s\n", utf8Text.c_str());
    std::fflush(stderr);
}

} // namespace zir::platform
