#include "platform/Paths.h"

#include "platform/Text.h"

#include <string>
#include <vector>
#include <windows.h>

namespace zir::platform {

std::string ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return WideToUtf8(std::wstring_view(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string CurrentDirectory() {
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    if (n == 0)
        return {};
    std::vector<wchar_t> buffer(n);
    n = GetCurrentDirectoryW(n, buffer.data());
    return WideToUtf8(std::wstring_view(buffer.data(), n));
}

char PathSeparator() {
    return '\\';
}

const char* PathSeparators() {
    return "\\/";
}

std::string ProgramPathWithExtension(const std::string& programPath, const std::string& extension) {
    std::string path = programPath;
    const size_t name = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    if (dot != std::string::npos && (name == std::string::npos || dot > name))
        path.erase(dot);
    return path + extension;
}

} // namespace zir::platform
