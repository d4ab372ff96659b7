#pragma once

#include "shell/common/Commands.h"

namespace zir::console {

// User messages go to stderr, each on its own line; the console has nobody to ask, so a
// question is answered with OK, as the user who started a command has already decided.
void InstallConsoleMessages();

// A command's text: stdout and stderr, written whole and flushed.
const shell::TCommandOutput& ConsoleOutput();

} // namespace zir::console
