#include "platform/AtomicFileWrite.h"

#include "platform/SystemError.h"
#include "platform/Text.h"

#include <atomic>
#include <stdexcept>
#include <string>
#include <windows.h>

namespace zir::platform {

namespace {

std::atomic<unsigned> tempCounter{0};

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD code) {
    throw std::runtime_error(what + " \"" + path + "\": " + SystemErrorText(code));
}

} // namespace

void AtomicFileWrite(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(tempCounter.fetch_add(1));
    std::wstring wideTemp = Utf8ToWide(temp);
    std::wstring widePath = Utf8ToWide(path);
    HANDLE file = CreateFileW(wideTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("Cannot create file", path, GetLastError());

    std::string_view left = bytes;
    bool ok = true;
    DWORD code = 0;
    while (ok && !left.empty()) {
        DWORD chunk = left.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(left.size());
        DWORD written = 0;
        ok = WriteFile(file, left.data(), chunk, &written, nullptr) && written > 0;
        if (ok)
            left.remove_prefix(written);
        else
            code = GetLastError();
    }
    if (ok && !FlushFileBuffers(file)) {
        ok = false;
        code = GetLastError();
    }
    CloseHandle(file);
    if (ok && !MoveFileExW(wideTemp.c_str(), widePath.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileW(wideTemp.c_str());
        Fail("Cannot write file", path, code);
    }
}

} // namespace zir::platform
