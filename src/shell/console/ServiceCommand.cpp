#include "shell/console/ServiceCommand.h"

#include "config/ConfigHelper.h"
#include "core/CardService.h"
#include "core/ServiceLog.h"
#include "platform/SingleInstance.h"
#include "shell/common/ProgramStart.h"
#include "shell/common/SettingsApply.h"

#include <csignal>
#include <cstdio>
#include <mutex>
#include <pthread.h>

namespace zir::console {

namespace {

// Whole lines, one write each, flushed: a supervisor or a test reading the pipe sees every line
// as soon as it is logged, never half of one.
void WriteLogLine(const std::string& line) {
    static std::mutex stdoutMutex;
    std::lock_guard lock(stdoutMutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int RunService(const shell::CommandLine&) {
    const std::string settingsFile = config::TConfigHelper::ConfigFilePath();
    auto instance = platform::SingleInstance::Acquire(settingsFile);
    if (!instance) {
        std::fprintf(stderr, "zir服务已启动\n");
        return 1;
    }

    // The signals are taken in this thread with sigwait; every thread started from here on
    // inherits the mask. A log reader that went away must not end the service.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    core::SetServiceLogSink(WriteLogLine);
    config::TConfigHelper::LoadConfig();

    core::CardService service;
    if (!shell::StartService(service))
        return 1;

    for (;;) {
        int received = 0;
        if (sigwait(&signals, &received) != 0)
            continue;
        if (received == SIGHUP) {
            const shell::TReloadOutcome outcome = shell::ReloadSettings(service);
            std::fprintf(stderr, "%s\n", shell::ReloadNote(outcome));
            std::fflush(stderr);
            // Without a service the program has no purpose left: end, so a supervisor restarts.
            if (outcome == shell::TReloadOutcome::StartFailed)
                return 1;
            continue;
        }
        shell::StopUntilStopped(service);
        return 0;
    }
}

} // namespace zir::console
