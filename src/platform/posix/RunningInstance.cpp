#include "platform/RunningInstance.h"

#include "platform/SingleInstance.h"

#include <csignal>
#include <sys/types.h>

namespace zir::platform {

// The running instance of this settings file holds its mark with its process id in it.
bool NotifyRunningInstance(const std::string& settingsFile, const TRunningInstanceAddress&) {
    auto pid = SingleInstance::RunningProcessId(settingsFile);
    return pid && kill(static_cast<pid_t>(*pid), SIGHUP) == 0;
}

} // namespace zir::platform
