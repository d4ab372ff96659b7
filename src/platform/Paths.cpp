#include "platform/Paths.h"

#include "platform/Text.h"

#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <climits>
#include <unistd.h>
#endif

namespace zir::platform {

std::string ExecutablePath() {
#ifdef _WIN32
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return WideToUtf8(std::wstring_view(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
#else
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
#endif
}

std::string ExecutableDirectory() {
    std::string path = ExecutablePath();
    auto cut = path.find_last_of(PathSeparator() == '\\' ? "\\/" : "/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

std::string CurrentDirectory() {
#ifdef _WIN32
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0)
        return {};
    std::vector<wchar_t> buffer(n);
    n = GetCurrentDirectoryW(n, buffer.data());
    return WideToUtf8(std::wstring_view(buffer.data(), n));
#else
    std::vector<char> buffer(PATH_MAX);
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
#endif
}

char PathSeparator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

} // namespace zir::platform
