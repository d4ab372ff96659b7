#include "platform/Environment.h"

#include "platform/EnvironmentNative.h"
#include "platform/Text.h"

#include <cstdlib>
#include <windows.h>

namespace zir::platform {

void SetEnvironmentValue(const std::string& name, const std::optional<std::string>& value) {
    std::wstring wideName = Utf8ToWide(name);
    if (value) {
        std::wstring wideValue = Utf8ToWide(*value);
        SetEnvironmentVariableW(wideName.c_str(), wideValue.c_str());
        _wputenv_s(wideName.c_str(), wideValue.c_str());
    } else {
        SetEnvironmentVariableW(wideName.c_str(), nullptr);
        _wputenv_s(wideName.c_str(), L"");
    }
}

std::optional<std::string> GetEnvironmentValue(const std::string& name) {
    std::wstring wideName = Utf8ToWide(name);
    DWORD n = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0)
        return std::nullopt;
    std::wstring buffer(n, L'\0');
    n = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), n);
    buffer.resize(n);
    return WideToUtf8(buffer);
}

bool IsAbsolutePath(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') ||
           (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

} // namespace zir::platform
