#include "shell/common/Commands.h"

#include "shell/common/Autostart.h"

#include <string>

namespace zir::shell {

// Like the settings dialog's check box: an existing entry is not rewritten, a missing one is not
// removed; a message only when something changed. "status" says which state holds.
int RunAutostartCommand(const CommandLine& line, const TCommandOutput& output) {
    const std::string action = line.Arguments.empty() ? "" : line.Arguments[0];
    if (line.Arguments.size() != 1 || (action != "on" && action != "off" && action != "status")) {
        output.Err("usage: zir autostart on|off|status [--config FILE] [--reader-dir DIR]\n");
        return 2;
    }
    if (action == "status") {
        const TAutostartState state = ReadAutostartState();
        if (!state.Error.empty()) {
            output.Err(state.Error + "\n");
            return 1;
        }
        output.Out(std::string(state.On ? kAutostartOnMessage : kAutostartOffMessage) + "\n");
        return 0;
    }
    const TAutostartStep step = ChangeAutostart(action == "on", AutostartProgramFor(line));
    if (step.Change == TAutostartChange::Failed) {
        output.Err(step.Message.Text + "\n");
        return 1;
    }
    if (!step.Message.Text.empty())
        output.Out(step.Message.Text + "\n");
    return 0;
}

} // namespace zir::shell
