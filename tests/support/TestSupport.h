#pragma once

// Helpers shared by the test suites: temporary folders, files, and running the real program.

#include <chrono>
#include <string>
#include <vector>

namespace zir::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// The program under test and the folder of the simulated reader's libraries. ZIR_PROGRAM names
// another build of the program, e.g. a Windows build's zir.exe, which ZIR_PROGRAM_LAUNCHER
// starts (e.g. /usr/lib/wine/wine64): the same cases then run against that program.
std::string ZirPath();
std::string SimulatorDir();
// A Windows program (by its .exe name), and whether the program under test is one.
bool IsWindowsProgram(const std::string& program);
bool TestingWindowsProgram();
// Skips the current test when the program under test is not the Linux console program, for
// cases that only exist there (signals, the XDG entry, the lock file).
#define ZIR_SKIP_UNLESS_LINUX_PROGRAM(reason)                                                      \
    do {                                                                                           \
        if (::zir::test::TestingWindowsProgram())                                                  \
            GTEST_SKIP() << "the Windows program: " << (reason);                                   \
    } while (false)
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

// The standard Base64 of a file on one line, by the system's own encoder: the reference the
// photo text is checked against.
std::string SystemBase64(const std::string& path);

} // namespace zir::test
