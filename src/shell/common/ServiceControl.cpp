#include "shell/common/ServiceControl.h"

#include "core/ServiceLog.h"
#include "shell/common/ProgramStart.h"

#include <exception>
#include <memory>
#include <thread>

namespace zir::shell {

namespace {

// Runs the command; whatever it throws is logged after `failure` and goes no further: a
// command that ends in an exception must still report back, or the buttons stay disabled.
void RunLogged(const std::function<void()>& command, const char* failure) {
    try {
        command();
    } catch (const std::exception& e) {
        core::LogServiceLine(std::string(failure) + e.what());
    } catch (...) {
        core::LogServiceLine(std::string(failure) + "unknown error");
    }
}

constexpr const char* kStopFailure = "==SERVER STOP FAIL...";

} // namespace

ServiceControl::ServiceControl(core::CardService& service, RunOnUiThread runOnUiThread,
                               Changed changed)
    : service_(service), runOnUiThread_(std::move(runOnUiThread)), changed_(std::move(changed)) {}

bool ServiceControl::StartAtLaunch() {
    const bool started = StartService(service_);
    running_ = service_.Running();
    startFailure_ = service_.LastStartFailure();
    changed_();
    return started;
}

void ServiceControl::Start() {
    Run([this] { service_.btnStartServerClick(); }, "SERVER START FAIL...");
}

void ServiceControl::Stop() {
    Run([this] { service_.btnStopServerClick(); }, kStopFailure);
}

void ServiceControl::Reload(std::function<void(TReloadOutcome)> reported) {
    auto outcome = std::make_shared<TReloadOutcome>(TReloadOutcome::Unchanged);
    Run([this, outcome] { *outcome = ReloadSettings(service_); }, "==SETTINGS RELOAD FAIL...",
        [outcome, reported = std::move(reported)] {
            if (reported)
                reported(*outcome);
        });
}

void ServiceControl::ApplySettings() {
    Run([this] { shell::ApplySettings(service_.Cards()); }, "==SETTINGS APPLY FAIL...");
}

void ServiceControl::Run(std::function<void()> command, const char* failure,
                         std::function<void()> reported) {
    if (ending_)
        return;
    ++pending_;
    changed_();
    worker_.Post([this, command = std::move(command), failure, reported = std::move(reported)] {
        RunLogged(command, failure);
        const bool running = service_.Running();
        core::TStartFailure startFailure = service_.LastStartFailure();
        runOnUiThread_([this, running, startFailure, reported] {
            --pending_;
            running_ = running;
            startFailure_ = startFailure;
            if (reported)
                reported();
            changed_();
        });
    });
}

void ServiceControl::End(std::function<void()> ended) {
    if (ending_)
        return;
    ending_ = true;
    changed_();
    worker_.Post([this, ended = std::move(ended)] {
        StopForEnd();
        runOnUiThread_([this, ended] {
            running_ = false;
            if (ended)
                ended();
        });
    });
}

bool ServiceControl::EndNow(std::chrono::milliseconds limit) {
    ending_ = true;
    worker_.Post([this] { StopForEnd(); });
    const bool stopped = worker_.WaitUntilIdle(limit);
    running_ = !stopped;
    changed_();
    return stopped;
}

void ServiceControl::StopForEnd() {
    for (;;) {
        bool stopped = false;
        RunLogged(
            [this, &stopped] {
                StopUntilStopped(service_);
                stopped = true;
            },
            kStopFailure);
        if (stopped)
            return;
        // Something other than a busy handler failed it: try again after a pause, not in a
        // tight loop; the quit's own deadline ends the program if this never succeeds.
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
}

TServiceButtons ServiceControl::Buttons() const {
    const bool idle = pending_ == 0 && !ending_;
    return {idle && !running_, idle && running_};
}

} // namespace zir::shell
