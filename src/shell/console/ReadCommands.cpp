#include "shell/console/Commands.h"

#include <cstdio>

namespace zir::console {

// Placeholder until the read commands land.
int RunRead(const shell::CommandLine&) {
    std::fprintf(stderr, "zir: read is not built yet\n");
    return 3;
}

int RunUid(const shell::CommandLine&) {
    std::fprintf(stderr, "zir: uid is not built yet\n");
    return 3;
}

} // namespace zir::console
