#include "platform/SharedFileRead.h"

#include "platform/SystemError.h"
#include "platform/Text.h"

#include <stdexcept>
#include <windows.h>

namespace zir::platform {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + SystemErrorText(GetLastError()));
}

} // namespace

std::string ReadWholeFileShared(const std::string& path) {
    std::wstring widePath = Utf8ToWide(path);
    // Others may read while we do, nobody may write: a photo half rewritten is never encoded.
    HANDLE file = CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot open", path);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            DWORD code = GetLastError();
            CloseHandle(file);
            SetLastError(code);
            Fail("cannot read", path);
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace zir::platform
