// zir for Windows: the identity-card service as a tray program, and, when started with a
// command, the test page's reads, the settings dialog's save and the log-on autostart as
// console commands that write to the parent's console or to the inherited pipe or file.

#include "platform/Text.h"
#include "platform/UserMessage.h"
#include "shell/common/CommandLine.h"
#include "shell/common/Commands.h"
#include "shell/common/ProgramStart.h"
#include "shell/win32/StandardStreams.h"
#include "shell/win32/TrayProgram.h"

#include <shellapi.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

using namespace zir;

// The words after the program's name, as UTF-8.
std::vector<std::string> CommandLineWords() {
    std::vector<std::string> words;
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return words;
    for (int i = 1; i < count; ++i)
        words.push_back(platform::WideToUtf8(arguments[i]));
    LocalFree(arguments);
    return words;
}

void Out(std::string_view text) {
    win32::StandardOutput().Write(text);
}

void Err(std::string_view text) {
    win32::StandardError().Write(text);
}

// A command's messages go to the standard error, as on Linux; questions are not asked there.
void InstallConsoleMessages() {
    platform::SetUserMessageHandler([](const platform::UserMessage& message) {
        Err(message.Text + "\n");
        return message.Kind == platform::UserMessageKind::Question
                   ? platform::UserMessageAnswer::Cancel
                   : platform::UserMessageAnswer::Ok;
    });
}

// A command line that cannot be understood: on the console when there is one, otherwise in a
// box, since a program started from a shortcut has nowhere else to say it.
int CommandLineError(const std::string& text) {
    if (win32::StandardError().Present()) {
        Err("zir: " + text + "\n\n" + shell::UsageText());
    } else {
        platform::UserMessage message;
        message.Text = "zir: " + text + "\n\n" + shell::UsageText();
        message.Kind = platform::UserMessageKind::Error;
        platform::ShowUserMessage(message);
    }
    return 2;
}

int RunCommand(const shell::CommandLine& line) {
    InstallConsoleMessages();
    const auto cards = shell::PrepareProgram(line);
    const shell::TCommandOutput output{Out, Err};
    if (line.Command == "read")
        return shell::RunReadCommand(line, output, cards.get());
    if (line.Command == "uid")
        return shell::RunUidCommand(line, output, cards.get());
    if (line.Command == "settings")
        return shell::RunSettingsCommand(line, output);
    if (line.Command == "autostart")
        return shell::RunAutostartCommand(line, output);
    Err("zir: unknown command " + line.Command + "\n\n" + shell::UsageText());
    return 2;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const shell::CommandLineResult parsed = shell::ParseCommandLine(CommandLineWords());
    const shell::CommandLine& line = parsed.Line;
    const bool console =
        !parsed.Error.empty() || line.Help || line.Version || !line.Command.empty();
    // The tray program writes only where it was given a stream; a command also finds the
    // console of the prompt it was typed at.
    if (console)
        win32::AttachParentConsoleForMissingStreams();
    if (!parsed.Error.empty())
        return CommandLineError(parsed.Error);
    if (line.Help) {
        Out(shell::UsageText());
        return 0;
    }
    if (line.Version) {
        Out(shell::VersionText());
        return 0;
    }
    if (!line.Command.empty())
        return RunCommand(line);
    return win32::RunTrayProgram(line);
}
