// Placeholder until the text conversions land: bytes pass unchanged.
#include "platform/Text.h"

namespace zir::platform {

std::string Cp936ToUtf8(std::string_view gbk) { return std::string(gbk); }
std::string Utf8ToCp936(std::string_view utf8) { return std::string(utf8); }
std::wstring Utf8ToWide(std::string_view utf8) { return std::wstring(utf8.begin(), utf8.end()); }
std::string WideToUtf8(std::wstring_view wide) {
    std::string out;
    for (wchar_t c : wide)
        out.push_back(static_cast<char>(c));
    return out;
}

} // namespace zir::platform
