#include "shell/console/ServiceCommand.h"

#include "config/ConfigHelper.h"
#include "core/CardService.h"
#include "core/ServiceLog.h"
#include "platform/SingleInstance.h"
#include "shell/common/LogLineWriter.h"
#include "shell/common/ProgramStart.h"
#include "shell/common/SettingsApply.h"
#include "shell/common/SettingsLoad.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <pthread.h>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>

namespace zir::console {

namespace {

// Whole lines straight to the descriptor, bypassing stdio's buffer: a supervisor or a test
// reading the pipe sees each line as soon as the writer thread has it, and an exit with the writer
// blocked on a stalled pipe has no buffered stdout left to flush (which would block it too).
bool WriteToStdout(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false; // the reader has gone (SIGPIPE is ignored): nobody reads the log now
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Every connection is a descriptor: the common default soft limit of 1024 would refuse
// connections long before the server's own limit of live connections.
void RaiseDescriptorLimit() {
    constexpr rlim_t kWanted = 4096;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= kWanted)
        return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kWanted : std::min(kWanted, limit.rlim_max);
    setrlimit(RLIMIT_NOFILE, &limit);
}

} // namespace

int RunService(const shell::CommandLine&, core::TCardOperations& cards) {
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
    RaiseDescriptorLimit();

    // Workers hand their lines to the writer thread and never wait for whoever reads stdout.
    auto logWriter = std::make_shared<shell::LogLineWriter>(WriteToStdout);
    core::SetServiceLogSink([logWriter](const std::string& line) { logWriter->Write(line); });
    // The last lines go out before the program ends, unless the output has stalled.
    struct EndOfLog {
        std::shared_ptr<shell::LogLineWriter> writer;
        ~EndOfLog() {
            core::SetServiceLogSink(nullptr);
            writer->Stop();
        }
    } endOfLog{logWriter};
    shell::LoadSettings();

    core::CardService service(cards);
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
