#pragma once

// zir.exe is a GUI-subsystem program: it has a standard output or error only when it was started
// with one (a pipe, a file, or the console of a parent that a command attaches to). Texts are
// UTF-8 inside the program; a console gets them as UTF-16 so that they show right on any code
// page, a pipe or file gets the UTF-8 bytes.

#include <string_view>
#include <windows.h>

namespace zir::shell {
class LogLineWriter;
}

namespace zir::win32 {

class StandardStream {
  public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE, as the process was started.
    explicit StandardStream(DWORD which);

    // For a console command: a stream without a handle goes to the parent's console, if the
    // parent has one (cmd.exe, PowerShell).
    void UseParentConsoleWhenMissing();

    bool Present() const { return handle_ != nullptr; }

    // Writes all bytes; false when the stream is missing or broken.
    bool Write(std::string_view utf8) const;

  private:
    DWORD which_;
    HANDLE handle_ = nullptr;
    bool console_ = false;
};

// The program's two streams.
StandardStream& StandardOutput();
StandardStream& StandardError();

// Attaches to the parent's console (once) when either stream has no handle.
void AttachParentConsoleForMissingStreams();

// The tray program's notes on the standard error (the texts of its boxes, the reload note):
// through `writer` while one is set, so that a pipe nobody reads never blocks the UI thread or
// a worker; written directly otherwise. Nothing when there is no standard error.
void RouteStandardErrorThrough(shell::LogLineWriter* writer);
void WriteStandardError(std::string_view text);

} // namespace zir::win32
