#pragma once

#include "shell/common/CommandLine.h"

namespace zir::console {

// What every command needs before it runs: messages to stderr, the settings file's path, and
// the reader libraries bound (the simulated reader with --simulate).
void PrepareProgram(const shell::CommandLine& line);

} // namespace zir::console
