#pragma once

// Helpers shared by the test suites of every system: temporary folders, files, and where the
// program under test and the simulated reader are. Starting programs is in ProgramRun.h (POSIX).

#include <string>

namespace zir::test {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // A path in the folder, joined with the system's separator as the program joins its paths.
    std::string File(const std::string& name) const;
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
// The simulated reader's library of reader functions (SDTAPI) and of the photo decoder
// (DLL_File), by this system's file names.
std::string SimulatedReaderLibrary();
std::string SimulatedDecoderLibrary();
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
// The standard Base64 of a file on one line, by the system's own encoder: the reference the
// photo text is checked against.
std::string SystemBase64(const std::string& path);

} // namespace zir::test
