#pragma once

// Starting programs from the tests on POSIX: the real program, its tools, or a Windows build of
// it through its launcher.

#include "TestSupport.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zir::test {

// The command that starts a program: the program itself, or before it the words of its launcher
// (ZIR_PROGRAM_LAUNCHER for a Windows program, the emulator of this build for its own programs).
std::vector<std::string> LaunchCommand(const std::string& program,
                                       const std::vector<std::string>& args);

struct ProgramResult {
    int ExitCode = -1; // the exit status, or 128 + signal number
    std::string Out;
    std::string Err;
};

// A started program: its process id and the read ends of its stdout and stderr.
struct SpawnedProgram {
    long Pid;
    int OutFd;
    int ErrFd;
};

// Starts a program in workDir (empty: the current one) with nothing on its standard input and
// extraEnv ("NAME=value") added to its environment.
SpawnedProgram SpawnProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workDir, const std::vector<std::string>& extraEnv);

// The read ends of a started program's stdout (0) and stderr (1), read as bytes arrive; closed
// at their end or with this object.
class OutputPipes {
  public:
    OutputPipes(int outFd, int errFd) : fds_{outFd, errFd} {}
    ~OutputPipes();
    OutputPipes(const OutputPipes&) = delete;
    OutputPipes& operator=(const OutputPipes&) = delete;

    using Sink = std::function<void(int pipe, std::string_view bytes)>;
    // Waits up to waitMs for bytes (stdout left unread when skipStdout), hands what one read of
    // each ready pipe brings to sink, and closes a pipe at its end. False when there is nothing
    // more to read: both pipes closed, or the program has ended and they are empty. Once it has
    // ended, all it wrote is in the pipes, while a process it started (Wine's services, for one)
    // may hold them open for ever, so an ended program's pipes are emptied without waiting.
    bool ReadSome(int waitMs, bool programEnded, bool skipStdout, const Sink& sink);

  private:
    int fds_[2];
};

// Runs a program to its end (killed after timeoutSeconds) in workDir (empty: the current one),
// with nothing on its standard input and extraEnv ("NAME=value") added to its environment.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workDir = "", int timeoutSeconds = 60,
                         const std::vector<std::string>& extraEnv = {});

inline ProgramResult RunZir(const std::vector<std::string>& args, const std::string& workDir = "",
                            int timeoutSeconds = 60,
                            const std::vector<std::string>& extraEnv = {}) {
    return RunProgram(ZirPath(), args, workDir, timeoutSeconds, extraEnv);
}

// Starts a program with nothing on its standard input and its output discarded, and kills it
// with SIGKILL after delay unless it has ended by then. True when it was killed.
bool RunProgramKilledAfter(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::microseconds delay);

} // namespace zir::test
