#include "ProgramRun.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zir::test {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

} // namespace

std::vector<std::string> LaunchCommand(const std::string& program,
                                       const std::vector<std::string>& args) {
    std::vector<std::string> command;
    if (IsWindowsProgram(program))
        command = Words(Environment("ZIR_PROGRAM_LAUNCHER"));
    else if (program.rfind(ZIR_BIN_DIR, 0) == 0)
        command = Words(ZIR_TEST_EMULATOR); // this tree's own programs
    command.push_back(program);
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

SpawnedProgram SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workDir, const std::vector<std::string>& extraEnv) {
    // Close-on-exec pipes: a program started by another test thread must not inherit them, or
    // this program's output would never end.
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    // Made before the fork: the child of a threaded process must not allocate.
    const std::vector<std::string> command = LaunchCommand(program, args);
    std::vector<char*> argv;
    for (const auto& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        if (!workDir.empty() && chdir(workDir.c_str()) != 0)
            _exit(126);
        for (const auto& assignment : extraEnv)
            putenv(const_cast<char*>(assignment.c_str()));
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    return {pid, outPipe[0], errPipe[0]};
}

OutputPipes::~OutputPipes() {
    for (int fd : fds_)
        if (fd >= 0)
            close(fd);
}

bool OutputPipes::ReadSome(int waitMs, bool programEnded, bool skipStdout, const Sink& sink) {
    if (fds_[0] < 0 && fds_[1] < 0)
        return false;
    pollfd polled[2] = {{skipStdout ? -1 : fds_[0], POLLIN, 0}, {fds_[1], POLLIN, 0}};
    const int ready = poll(polled, 2, programEnded ? 0 : waitMs);
    if (ready < 0 || (ready == 0 && programEnded))
        return false;
    for (int i = 0; i < 2; ++i) {
        if (polled[i].fd < 0 || !(polled[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[8192];
        const ssize_t n = read(fds_[i], buffer, sizeof buffer);
        if (n > 0) {
            sink(i, std::string_view(buffer, static_cast<size_t>(n)));
        } else {
            close(fds_[i]);
            fds_[i] = -1;
        }
    }
    return true;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir, int timeoutSeconds,
                         const std::vector<std::string>& extraEnv) {
    auto [pid, outFd, errFd] = SpawnProgram(program, args, workDir, extraEnv);

    ProgramResult result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    OutputPipes pipes(outFd, errFd);
    bool killed = false;
    bool ended = false;
    int status = 0;
    for (;;) {
        if (!ended && waitpid(static_cast<pid_t>(pid), &status, WNOHANG) == static_cast<pid_t>(pid))
            ended = true;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        deadline - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0 && !killed && !ended) {
            kill(static_cast<pid_t>(pid), SIGKILL);
            killed = true;
        }
        const int wait = static_cast<int>(std::clamp<long long>(left, 1, 100));
        if (!pipes.ReadSome(wait, ended, false, [&](int pipe, std::string_view bytes) {
                (pipe == 0 ? result.Out : result.Err).append(bytes);
            }))
            break;
    }
    if (!ended)
        waitpid(static_cast<pid_t>(pid), &status, 0);
    if (WIFEXITED(status))
        result.ExitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        result.ExitCode = 128 + WTERMSIG(status);
    return result;
}

bool RunProgramKilledAfter(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::microseconds delay) {
    auto [pid, outFd, errFd] = SpawnProgram(program, args, "", {});
    // Its few lines fit the pipes: nobody needs to read them while it runs.
    std::this_thread::sleep_for(delay);
    kill(static_cast<pid_t>(pid), SIGKILL);
    int status = 0;
    waitpid(static_cast<pid_t>(pid), &status, 0);
    close(outFd);
    close(errFd);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

} // namespace zir::test
