#include "platform/AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zir::platform {

namespace {

std::atomic<unsigned> tempCounter{0};

[[noreturn]] void Fail(const std::string& what, const std::string& path, int code) {
    throw std::runtime_error(what + " \"" + path + "\": " + std::strerror(code));
}

} // namespace

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

} // namespace zir::platform
