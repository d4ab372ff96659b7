#include "platform/SystemErrorNative.h"

#include "platform/Text.h"

#include <windows.h>

namespace zir::platform {

std::string SystemMessage(unsigned long code) {
    // The wide form: the ANSI one would hand GBK bytes to a program that speaks UTF-8.
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string result = n ? WideToUtf8(std::wstring_view(text, n)) : std::string();
    if (text)
        LocalFree(text);
    return result;
}

} // namespace zir::platform
