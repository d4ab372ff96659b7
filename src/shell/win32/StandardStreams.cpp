#include "shell/win32/StandardStreams.h"

#include "platform/Text.h"
#include "shell/common/LogLineWriter.h"

#include <atomic>
#include <string>

namespace zir::win32 {

namespace {

bool IsUsable(HANDLE handle) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    SetLastError(NO_ERROR);
    return GetFileType(handle) != FILE_TYPE_UNKNOWN || GetLastError() == NO_ERROR;
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

} // namespace

StandardStream::StandardStream(DWORD which) : which_(which) {
    HANDLE handle = GetStdHandle(which);
    if (IsUsable(handle)) {
        handle_ = handle;
        console_ = IsConsole(handle);
    }
}

void StandardStream::UseParentConsoleWhenMissing() {
    if (handle_ != nullptr)
        return;
    HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return;
    handle_ = console;
    console_ = true;
    SetStdHandle(which_, console);
}

bool StandardStream::Write(std::string_view utf8) const {
    if (handle_ == nullptr)
        return false;
    if (console_) {
        const std::wstring wide = platform::Utf8ToWide(utf8);
        const wchar_t* data = wide.data();
        size_t left = wide.size();
        while (left > 0) {
            DWORD written = 0;
            DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
            // A surrogate pair stays in one call: the console shows a split one as two faults.
            if (chunk < left && data[chunk - 1] >= 0xD800 && data[chunk - 1] <= 0xDBFF)
                --chunk;
            if (!WriteConsoleW(handle_, data, chunk, &written, nullptr) || written == 0)
                return false;
            data += written;
            left -= written;
        }
        return true;
    }
    while (!utf8.empty()) {
        DWORD written = 0;
        const DWORD chunk = utf8.size() > 0x100000 ? 0x100000 : static_cast<DWORD>(utf8.size());
        if (!WriteFile(handle_, utf8.data(), chunk, &written, nullptr) || written == 0)
            return false;
        utf8.remove_prefix(written);
    }
    return true;
}

StandardStream& StandardOutput() {
    static StandardStream stream(STD_OUTPUT_HANDLE);
    return stream;
}

StandardStream& StandardError() {
    static StandardStream stream(STD_ERROR_HANDLE);
    return stream;
}

void AttachParentConsoleForMissingStreams() {
    StandardStream& out = StandardOutput();
    StandardStream& err = StandardError();
    if (out.Present() && err.Present())
        return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    out.UseParentConsoleWhenMissing();
    err.UseParentConsoleWhenMissing();
}

namespace {
std::atomic<shell::LogLineWriter*> errorWriter{nullptr};
} // namespace

void RouteStandardErrorThrough(shell::LogLineWriter* writer) {
    errorWriter = writer;
}

void WriteStandardError(std::string_view text) {
    if (!StandardError().Present())
        return;
    if (shell::LogLineWriter* writer = errorWriter.load()) {
        // The writer ends each piece with the line break itself.
        if (!text.empty() && text.back() == '\n')
            text.remove_suffix(1);
        writer->Write(std::string(text));
        return;
    }
    StandardError().Write(text);
}

} // namespace zir::win32
