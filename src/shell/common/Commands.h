#pragma once

// The commands that read once, print and end, the same in both programs: `read`, `uid`,
// `settings [KEY=VALUE...]`, `autostart on|off|status`. Each returns the exit status.

#include "shell/common/CommandLine.h"

#include <functional>
#include <string_view>

namespace zir::shell {

// Where a command's text goes, UTF-8: stdout and stderr on Linux; on Windows the attached
// console or the inherited pipe or file.
struct TCommandOutput {
    std::function<void(std::string_view text)> Out;
    std::function<void(std::string_view text)> Err;
};

int RunReadCommand(const CommandLine& line, const TCommandOutput& output);      // zir read
int RunUidCommand(const CommandLine& line, const TCommandOutput& output);       // zir uid
int RunSettingsCommand(const CommandLine& line, const TCommandOutput& output);  // zir settings
int RunAutostartCommand(const CommandLine& line, const TCommandOutput& output); // zir autostart

} // namespace zir::shell
