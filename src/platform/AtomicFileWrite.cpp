#include "platform/AtomicFileWrite.h"

#include "platform/SystemError.h"

#include <atomic>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include "platform/Text.h"
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

std::atomic<unsigned> tempCounter{0};

#ifdef _WIN32

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD code) {
    throw std::runtime_error(what + " \"" + path + "\": " + SystemErrorText(code));
}

#else

[[noreturn]] void Fail(const std::string& what, const std::string& path, int code) {
    throw std::runtime_error(what + " \"" + path + "\": " + std::strerror(code));
}

#endif

} // namespace

#ifdef _WIN32

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

#else

void AtomicFileWrite(const std::string& path, std::string_view bytes) {
    std::string temp =
        path + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(tempCounter.fetch_add(1));
    // A file that is replaced keeps its permissions; a new one gets the usual ones.
    struct stat old {};
    bool hadOld = stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        Fail("Cannot create file", path, errno);

    int code = 0;
    if (hadOld && fchmod(fd, old.st_mode & 07777) != 0)
        code = errno;
    std::string_view left = bytes;
    while (code == 0 && !left.empty()) {
        ssize_t n = write(fd, left.data(), left.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            code = n < 0 ? errno : EIO;
        else
            left.remove_prefix(static_cast<size_t>(n));
    }
    if (code == 0 && fsync(fd) != 0)
        code = errno;
    if (close(fd) != 0 && code == 0)
        code = errno;
    if (code == 0 && rename(temp.c_str(), path.c_str()) != 0)
        code = errno;
    if (code != 0) {
        unlink(temp.c_str());
        Fail("Cannot write file", path, code);
    }
}

#endif

} // namespace zir::platform
