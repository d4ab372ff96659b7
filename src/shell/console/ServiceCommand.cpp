#include "shell/console/Commands.h"

#include <cstdio>

namespace zir::console {

// Placeholder until the service command lands.
int RunService(const shell::CommandLine&) {
    std::fprintf(stderr, "zir: the service is not built yet\n");
    return 3;
}

} // namespace zir::console
