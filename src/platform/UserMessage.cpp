#include "platform/UserMessage.h"

#include "platform/HandlerSeam.h"

#include <cstdio>

namespace zir::platform {

namespace {
HandlerSeam<UserMessageAnswer(const UserMessage&)> seam;
} // namespace

void SetUserMessageHandler(UserMessageHandler handler) {
    seam.Set(std::move(handler));
}

UserMessageAnswer ShowUserMessage(const UserMessage& message) {
    if (auto handler = seam.Get()) {
        const UserMessageAnswer answer = (*handler)(message);
        // A box with only OK cannot be cancelled, whatever a handler says.
        return message.Kind == UserMessageKind::Question ? answer : UserMessageAnswer::Ok;
    }
    // Without a shell (tests, early start-up) the message still reaches a person; with nobody
    // to answer a question, nothing is done.
    std::fprintf(stderr, "%s\n", message.Text.c_str());
    std::fflush(stderr);
    return message.Kind == UserMessageKind::Question ? UserMessageAnswer::Cancel
                                                     : UserMessageAnswer::Ok;
}

void ShowUserMessage(const std::string& utf8Text) {
    UserMessage message;
    message.Text = utf8Text;
    ShowUserMessage(message);
}

} // namespace zir::platform
