#include "shell/console/Commands.h"

#include <cstdio>

namespace zir::console {

// Placeholder until the settings command lands.
int RunSettings(const shell::CommandLine&) {
    std::fprintf(stderr, "zir: settings is not built yet\n");
    return 3;
}

} // namespace zir::console
