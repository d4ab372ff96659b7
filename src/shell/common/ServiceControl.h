#pragma once

// The running program's commands to its service, kept off the UI thread: the start and stop
// buttons, the settings file read again, the beep after a save, and the stop at the end. They
// run one at a time on a worker of their own, so that a stop waiting for busy request handlers
// never freezes the window. The UI thread posts them and never waits; each reports back through
// the worker-to-UI hand-off, and until it has, both buttons stay disabled.

#include "core/CardService.h"
#include "shell/common/SerialWorker.h"
#include "shell/common/SettingsApply.h"

#include <chrono>
#include <functional>
#include <string>

namespace zir::shell {

// Which of the two service buttons may be pressed.
struct TServiceButtons {
    bool Start = false;
    bool Stop = false;
    bool operator==(const TServiceButtons&) const = default;
};

class ServiceControl {
  public:
    // Runs a task on the UI thread; false when it was dropped because the window is gone.
    using RunOnUiThread = std::function<bool(std::function<void()>)>;
    // Told on the UI thread whenever the buttons may have changed.
    using Changed = std::function<void()>;

    // Everything but the constructor and the destructor is called on the UI thread.
    ServiceControl(core::CardService& service, RunOnUiThread runOnUiThread, Changed changed);
    // Waits for the command under way (the service outlives this object).
    ~ServiceControl() = default;

    // The start at launch, while the window is being created and nothing else runs yet: port,
    // beep and start at once, so that the log shows the outcome before the message loop runs.
    bool StartAtLaunch();

    void Start(); // the start button
    void Stop();  // the stop button: one stop; a handler still busy makes it fail and log so
    // The settings file read again; `reported` gets the outcome on the UI thread.
    void Reload(std::function<void(TReloadOutcome)> reported);
    // The beep after the dialog saved changed settings: it waits for a read in progress.
    void ApplySettings();

    // The end: after the commands already posted, stops until stopped, then runs `ended` on
    // the UI thread. Commands after it are ignored. A handler stuck in a reader call keeps
    // the stop from ever succeeding: the caller bounds its wait and may end without it.
    void End(std::function<void()> ended);
    // The end of the session, when the program has no time left for its message loop: waits
    // here for the commands already posted and for the stop, at most `limit`. False when the
    // stop did not end in time (the worker is still in it).
    bool EndNow(std::chrono::milliseconds limit);

    TServiceButtons Buttons() const;
    bool Ending() const { return ending_; }
    // How the last start went, as the worker saw it (UI thread).
    const core::TStartFailure& StartFailure() const { return startFailure_; }

  private:
    // `failure` starts the log line of a command that throws: it reports back all the same.
    void Run(std::function<void()> command, const char* failure,
             std::function<void()> reported = {});
    // The stop at the end, tried again whatever it throws.
    void StopForEnd();

    core::CardService& service_;
    RunOnUiThread runOnUiThread_;
    Changed changed_;
    // UI thread only; the worker hands over what it saw with its report.
    int pending_ = 0;
    bool running_ = false;
    bool ending_ = false;
    core::TStartFailure startFailure_;
    // Last: its thread, which uses the members above, ends first.
    SerialWorker worker_;
};

} // namespace zir::shell
