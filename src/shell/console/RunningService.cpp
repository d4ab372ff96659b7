#include "shell/console/RunningService.h"

#include "config/ConfigHelper.h"
#include "platform/SingleInstance.h"

#include <csignal>
#include <sys/types.h>

namespace zir::console {

// The running instance of this settings file holds its mark with its process id in it; SIGHUP
// has it read the file again. No instance running: nothing to tell.
void NotifyRunningService() {
    auto pid = platform::SingleInstance::RunningProcessId(config::TConfigHelper::ConfigFilePath());
    if (pid)
        kill(static_cast<pid_t>(*pid), SIGHUP);
}

} // namespace zir::console
