// zir for Linux: the identity-card service as a console program, plus the test page's reads,
// the settings dialog's save and the log-on autostart as commands.

#include "shell/common/Commands.h"
#include "shell/common/ProgramStart.h"
#include "shell/console/ConsoleOutput.h"
#include "shell/console/ServiceCommand.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <vector>

int main(int argc, char** argv) {
    // Every file the program makes, and the reader library in it (zp.bmp, the holder's photo),
    // is for its own user only.
    umask(077);
    std::vector<std::string> words(argv + 1, argv + argc);
    auto parsed = zir::shell::ParseCommandLine(words);
    if (!parsed.Error.empty()) {
        std::fprintf(stderr, "zir: %s\n\n%s", parsed.Error.c_str(),
                     zir::shell::UsageText().c_str());
        return 2;
    }
    const zir::shell::CommandLine& line = parsed.Line;
    if (line.Help) {
        std::fputs(zir::shell::UsageText().c_str(), stdout);
        return 0;
    }
    if (line.Version) {
        std::fputs(zir::shell::VersionText().c_str(), stdout);
        return 0;
    }

    zir::console::InstallConsoleMessages();
    const auto cards = zir::shell::PrepareProgram(line);

    const zir::shell::TCommandOutput& output = zir::console::ConsoleOutput();
    if (line.Command.empty())
        return zir::console::RunService(line, *cards);
    if (line.Command == "read")
        return zir::shell::RunReadCommand(line, output, cards.get());
    if (line.Command == "uid")
        return zir::shell::RunUidCommand(line, output, cards.get());
    if (line.Command == "settings")
        return zir::shell::RunSettingsCommand(line, output);
    if (line.Command == "autostart")
        return zir::shell::RunAutostartCommand(line, output);

    std::fprintf(stderr, "zir: unknown command %s\n\n%s", line.Command.c_str(),
                 zir::shell::UsageText().c_str());
    return 2;
}
