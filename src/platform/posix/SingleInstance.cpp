#include "platform/SingleInstance.h"

#include "platform/Environment.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zir::platform {

namespace {

std::string LockFilePath(const std::string& key) {
    // FNV-1a: stable across runs and builds, which std::hash is not required to be.
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : AbsolutePath(key)) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    std::string folder = GetEnvironmentValue("XDG_RUNTIME_DIR").value_or("");
    if (folder.empty() || access(folder.c_str(), W_OK) != 0)
        folder = "/tmp";
    char name[64];
    std::snprintf(name, sizeof name, "/zir-%u-%016llx.lock", static_cast<unsigned>(getuid()),
                  static_cast<unsigned long long>(hash));
    return folder + name;
}

} // namespace

struct SingleInstance::State {
    int fd = -1;
    std::string path;
};

std::unique_ptr<SingleInstance> SingleInstance::Acquire(const std::string& key) {
    std::string path = LockFilePath(key);
    // An instance that ends removes its file. A file locked here may have been removed in the
    // meantime; the lock only counts on the file that stands at the path now.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return std::unique_ptr<SingleInstance>(new SingleInstance); // cannot mark: run anyway
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            return nullptr;
        }
        struct stat opened {
        }, standing{};
        if (fstat(fd, &opened) != 0 || stat(path.c_str(), &standing) != 0 ||
            opened.st_ino != standing.st_ino || opened.st_dev != standing.st_dev) {
            close(fd);
            continue;
        }
        std::string pid = std::to_string(static_cast<long>(getpid())) + "\n";
        if (ftruncate(fd, 0) == 0)
            (void)!pwrite(fd, pid.data(), pid.size(), 0);
        std::unique_ptr<SingleInstance> instance(new SingleInstance);
        instance->state_ = std::make_unique<State>();
        instance->state_->fd = fd;
        instance->state_->path = path;
        return instance;
    }
    return std::unique_ptr<SingleInstance>(new SingleInstance);
}

SingleInstance::~SingleInstance() {
    if (state_ && state_->fd >= 0) {
        // Removed while still locked, so no other instance can hold this very file.
        unlink(state_->path.c_str());
        close(state_->fd);
    }
}

std::optional<long> SingleInstance::RunningProcessId(const std::string& key) {
    std::string path = LockFilePath(key);
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<long> result;
    // A lock we can take means nobody holds it: no instance runs.
    if (flock(fd, LOCK_SH | LOCK_NB) == 0) {
        flock(fd, LOCK_UN);
    } else {
        char text[32] = {};
        ssize_t n = pread(fd, text, sizeof text - 1, 0);
        if (n > 0) {
            long pid = std::strtol(text, nullptr, 10);
            if (pid > 0)
                result = pid;
        }
    }
    close(fd);
    return result;
}

bool SingleInstance::IsHeld(const std::string& key) {
    int fd = open(LockFilePath(key).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A lock we can take means nobody holds it.
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

} // namespace zir::platform
