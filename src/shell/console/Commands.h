#pragma once

#include "shell/common/CommandLine.h"

namespace zir::console {

// Each command returns the program's exit status.
int RunService(const shell::CommandLine& line);   // zir
int RunRead(const shell::CommandLine& line);      // zir read
int RunUid(const shell::CommandLine& line);       // zir uid
int RunSettings(const shell::CommandLine& line);  // zir settings [KEY=VALUE...]
int RunAutostart(const shell::CommandLine& line); // zir autostart on|off|status

} // namespace zir::console
