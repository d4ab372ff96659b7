#include "platform/Paths.h"

#include <climits>
#include <string>
#include <unistd.h>
#include <vector>

namespace zir::platform {

std::string ExecutablePath() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string CurrentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

char PathSeparator() {
    return '/';
}

const char* PathSeparators() {
    return "/";
}

std::string ProgramPathWithExtension(const std::string& programPath, const std::string& extension) {
    return programPath + extension;
}

} // namespace zir::platform
