#include "ServiceProcess.h"

#include "ProgramRun.h"

#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace zir::test {

namespace {

// The Windows program has no signals: it answers registered window messages instead, which a
// small tool beside it posts to its main window.
bool PostToWindowsProgram(const std::string& program, int signalNumber) {
    const char* message = signalNumber == SIGHUP ? "zir.SettingsChanged" : "zir.Quit";
    const std::string tool = program.substr(0, program.find_last_of('/') + 1) + "zir-test-post.exe";
    return RunProgram(tool, {message}, "", 30).ExitCode == 0;
}

} // namespace

ServiceProcess::ServiceProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::string& workDir, const std::vector<std::string>& extraEnv)
    : program_(program) {
    SpawnedProgram started = SpawnProgram(program, args, workDir, extraEnv);
    pid_ = started.Pid;
    collector_ = std::thread([this, started] { Collect(started.OutFd, started.ErrFd); });
}

ServiceProcess::~ServiceProcess() {
    // A service that ends by SIGTERM cleans up after itself; SIGKILL is the last resort.
    if (!Wait(std::chrono::milliseconds(0))) {
        Signal(SIGTERM);
        if (!Wait(std::chrono::seconds(10))) {
            kill(static_cast<pid_t>(pid_), SIGKILL);
            Wait(std::chrono::seconds(10));
        }
    }
    if (collector_.joinable())
        collector_.join();
}

void ServiceProcess::Collect(int outFd, int errFd) {
    OutputPipes pipes(outFd, errFd);
    auto sink = [this](int pipe, std::string_view bytes) {
        std::lock_guard lock(mutex_);
        if (pipe == 1) {
            stderr_.append(bytes);
            return;
        }
        partial_.append(bytes);
        size_t start = 0, end;
        while ((end = partial_.find('\n', start)) != std::string::npos) {
            lines_.push_back(partial_.substr(start, end - start));
            start = end + 1;
        }
        partial_.erase(0, start);
        changed_.notify_all();
    };
    for (;;) {
        bool paused, ended;
        {
            std::lock_guard lock(mutex_);
            paused = stdoutPaused_;
            ended = ended_;
        }
        // The wait is short so that a resume or the end is noticed.
        if (!pipes.ReadSome(paused ? 20 : 50, ended, paused, sink))
            break;
    }
    std::lock_guard lock(mutex_);
    outputClosed_ = true;
    changed_.notify_all();
}

std::optional<size_t> ServiceProcess::WaitForLine(const std::string& text, size_t fromLine,
                                                  std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    size_t next = fromLine;
    for (;;) {
        for (; next < lines_.size(); ++next)
            if (lines_[next].find(text) != std::string::npos)
                return next;
        if (outputClosed_)
            return std::nullopt;
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
            for (; next < lines_.size(); ++next)
                if (lines_[next].find(text) != std::string::npos)
                    return next;
            return std::nullopt;
        }
    }
}

std::vector<std::string> ServiceProcess::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

size_t ServiceProcess::LineCount() const {
    std::lock_guard lock(mutex_);
    return lines_.size();
}

std::string ServiceProcess::Stderr() const {
    std::lock_guard lock(mutex_);
    return stderr_;
}

void ServiceProcess::PauseStdout(bool paused) {
    std::lock_guard lock(mutex_);
    stdoutPaused_ = paused;
}

void ServiceProcess::Signal(int signalNumber) {
    if (exitCode_)
        return;
    const bool asked = signalNumber == SIGTERM || signalNumber == SIGINT || signalNumber == SIGHUP;
    if (asked && IsWindowsProgram(program_) && PostToWindowsProgram(program_, signalNumber))
        return;
    kill(static_cast<pid_t>(pid_), signalNumber);
}

std::optional<int> ServiceProcess::Wait(std::chrono::milliseconds timeout) {
    if (exitCode_)
        return exitCode_;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(static_cast<pid_t>(pid_), &status, WNOHANG);
        if (done == static_cast<pid_t>(pid_)) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            {
                std::lock_guard lock(mutex_);
                stdoutPaused_ = false; // the rest of its output is read to the end
                ended_ = true;
            }
            if (collector_.joinable())
                collector_.join();
            return exitCode_;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace zir::test
