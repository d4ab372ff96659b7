#include "shell/console/ConsoleOutput.h"

#include "platform/UserMessage.h"

#include <cstdio>

namespace zir::console {

namespace {

void Write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace

void InstallConsoleMessages() {
    platform::SetUserMessageHandler([](const platform::UserMessage& message) {
        Write(stderr, message.Text + "\n");
        return platform::UserMessageAnswer::Ok;
    });
}

const shell::TCommandOutput& ConsoleOutput() {
    static const shell::TCommandOutput output{
        .Out = [](std::string_view text) { Write(stdout, text); },
        .Err = [](std::string_view text) { Write(stderr, text); },
    };
    return output;
}

} // namespace zir::console
