#include "shell/console/RunningService.h"

namespace zir::console {

// Not wired yet: a running service keeps its settings until it is restarted.
void NotifyRunningService() {}

} // namespace zir::console
