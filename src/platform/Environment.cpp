#include "platform/Environment.h"

#include "platform/Paths.h"
#include "platform/Text.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zir::platform {

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    std::wstring wideName = Utf8ToWide(name);
    if (value) {
        std::wstring wideValue = Utf8ToWide(*value);
        SetEnvironmentVariableW(wideName.c_str(), wideValue.c_str());
        _wputenv_s(wideName.c_str(), wideValue.c_str());
    } else {
        SetEnvironmentVariableW(wideName.c_str(), nullptr);
        _wputenv_s(wideName.c_str(), L"");
    }
#else
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
#endif
}

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
#ifdef _WIN32
    std::wstring wideName = Utf8ToWide(name);
    DWORD n = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0)
        return std::nullopt;
    std::wstring buffer(n, L'\0');
    n = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), n);
    buffer.resize(n);
    return WideToUtf8(buffer);
#else
    const char* value = std::getenv(name.c_str());
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
#endif
}

std::string AbsolutePath(const std::string& path) {
#ifdef _WIN32
    bool absolute = (path.size() >= 2 && path[1] == ':') ||
                    (!path.empty() && (path[0] == '\\' || path[0] == '/'));
#else
    bool absolute = !path.empty() && path[0] == '/';
#endif
    if (absolute || path.empty())
        return path;
    return CurrentDirectory() + PathSeparator() + path;
}

} // namespace zir::platform
