#pragma once

// The commands that read once, print and end, the same in both programs: `read`, `uid`,
// `settings [KEY=VALUE...]`, `autostart on|off|status`. Each returns the exit status.

#include "core/CardOperations.h"
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

// The two reads use the card operations the program prepared; none when the service runs
// beside (see ServiceRunsBeside), and the command then says where to read instead.
int RunReadCommand(const CommandLine& line, const TCommandOutput& output,
                   core::TCardOperations* cards); // zir read
int RunUidCommand(const CommandLine& line, const TCommandOutput& output,
                  core::TCardOperations* cards);                                // zir uid
int RunSettingsCommand(const CommandLine& line, const TCommandOutput& output);  // zir settings
int RunAutostartCommand(const CommandLine& line, const TCommandOutput& output); // zir autostart

} // namespace zir::shell
