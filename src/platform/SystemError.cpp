#include "platform/SystemError.h"

#include "platform/Text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstring>
#endif

namespace zir::platform {

std::string SystemErrorText(unsigned long code) {
#ifdef _WIN32
    // The wide form: the ANSI one would hand GBK bytes to a program that speaks UTF-8.
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = n ? WideToUtf8(std::wstring_view(text, n)) : std::string();
    if (text)
        LocalFree(text);
#else
    std::string result = std::strerror(static_cast<int>(code));
#endif
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                               result.back() == ' ' || result.back() == '.'))
        result.pop_back();
    return result.empty() ? "error " + std::to_string(code) : result;
}

} // namespace zir::platform
