#include "shell/common/ServiceControl.h"

#include "shell/common/ProgramStart.h"

#include <memory>

namespace zir::shell {

ServiceControl::ServiceControl(core::CardService& service, RunOnUiThread runOnUiThread,
                               Changed changed)
    : service_(service), runOnUiThread_(std::move(runOnUiThread)), changed_(std::move(changed)) {}

bool ServiceControl::StartAtLaunch() {
    const bool started = StartService(service_);
    running_ = service_.Running();
    changed_();
    return started;
}

void ServiceControl::Start() {
    Run([this] { service_.btnStartServerClick(); });
}

void ServiceControl::Stop() {
    Run([this] { service_.btnStopServerClick(); });
}

void ServiceControl::Reload(std::function<void(TReloadOutcome)> reported) {
    auto outcome = std::make_shared<TReloadOutcome>(TReloadOutcome::Unchanged);
    Run([this, outcome] { *outcome = ReloadSettings(service_); },
        [outcome, reported = std::move(reported)] {
            if (reported)
                reported(*outcome);
        });
}

void ServiceControl::ApplySettings() {
    Run([this] { shell::ApplySettings(service_.Cards()); });
}

void ServiceControl::Run(std::function<void()> command, std::function<void()> reported) {
    if (ending_)
        return;
    ++pending_;
    changed_();
    worker_.Post([this, command = std::move(command), reported = std::move(reported)] {
        command();
        const bool running = service_.Running();
        runOnUiThread_([this, running, reported] {
            --pending_;
            running_ = running;
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
        StopUntilStopped(service_);
        runOnUiThread_([this, ended] {
            running_ = false;
            if (ended)
                ended();
        });
    });
}

void ServiceControl::EndNow() {
    ending_ = true;
    worker_.WaitUntilIdle();
    StopUntilStopped(service_);
    running_ = false;
    changed_();
}

TServiceButtons ServiceControl::Buttons() const {
    const bool idle = pending_ == 0 && !ending_;
    return {idle && !running_, idle && running_};
}

} // namespace zir::shell
