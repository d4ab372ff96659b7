#pragma once

// A long-running program under test (the real zir service): its stdout lines and stderr are
// collected in the background; tests wait for lines, send signals and wait for the exit.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zir::test {

class ServiceProcess {
  public:
    ServiceProcess(const std::string& program, const std::vector<std::string>& args,
                   const std::string& workDir = "", const std::vector<std::string>& extraEnv = {});
    ~ServiceProcess(); // ends the program if it still runs: SIGTERM, then SIGKILL

    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // Waits until a stdout line containing `text` arrives after line number `fromLine`; returns
    // its index, or nullopt on time-out or when the program ended first.
    std::optional<size_t> WaitForLine(const std::string& text, size_t fromLine = 0,
                                      std::chrono::milliseconds timeout = std::chrono::seconds(20));
    std::vector<std::string> Lines() const;
    size_t LineCount() const;
    std::string Stderr() const;

    // While paused nobody reads the program's stdout: once the pipe is full, its writes block,
    // as with a stalled terminal or supervisor. Resuming reads on.
    void PauseStdout(bool paused);

    // SIGTERM, SIGINT and SIGHUP reach the Windows program as the window messages it answers
    // instead (zir.Quit, zir.SettingsChanged).
    void Signal(int signalNumber);
    // The exit status (128 + signal when killed), or nullopt when it did not end in time.
    std::optional<int> Wait(std::chrono::milliseconds timeout = std::chrono::seconds(20));
    long Pid() const { return pid_; }

  private:
    void Collect(int outFd, int errFd);

    std::string program_;
    long pid_ = -1;
    std::optional<int> exitCode_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::string partial_;
    std::string stderr_;
    bool outputClosed_ = false;
    bool stdoutPaused_ = false;
    bool ended_ = false; // reaped: what is left in the pipes is read, then collecting stops
    std::thread collector_;
};

} // namespace zir::test
