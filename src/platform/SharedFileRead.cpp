#include "platform/SharedFileRead.h"

#include "platform/SystemError.h"
#include "platform/Text.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zir::platform {

namespace {

#ifdef _WIN32
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + SystemErrorText(GetLastError()));
}
#else
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}
#endif

} // namespace

std::string ReadWholeFileShared(const std::string& path) {
#ifdef _WIN32
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
#else
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("cannot open", path);
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        close(fd);
        errno = EISDIR;
        Fail("cannot read", path);
    }
    std::string bytes;
    if (info.st_size > 0)
        bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int code = errno;
            close(fd);
            errno = code;
            Fail("cannot read", path);
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return bytes;
#endif
}

} // namespace zir::platform
