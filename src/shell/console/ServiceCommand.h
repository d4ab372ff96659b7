#pragma once

#include "core/CardOperations.h"
#include "shell/common/CommandLine.h"

namespace zir::console {

// zir: the service in the foreground until SIGINT or SIGTERM; returns the exit status.
int RunService(const shell::CommandLine& line, core::TCardOperations& cards);

} // namespace zir::console
