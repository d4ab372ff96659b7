#include "TestSupport.h"

#include <stdexcept>
#include <windows.h>

#include <wincrypt.h>

namespace zir::test {

std::string SystemBase64(const std::string& path) {
    const std::string bytes = ReadFileBytes(path);
    if (bytes.empty())
        return "";
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const DWORD size = static_cast<DWORD>(bytes.size());
    const DWORD flags = CRYPT_STRING_BASE64 | CRYPT_STRING_NOCRLF;
    DWORD length = 0;
    if (!CryptBinaryToStringA(data, size, flags, nullptr, &length))
        throw std::runtime_error("CryptBinaryToStringA failed for " + path);
    std::string text(length, '\0');
    if (!CryptBinaryToStringA(data, size, flags, text.data(), &length))
        throw std::runtime_error("CryptBinaryToStringA failed for " + path);
    text.resize(length); // without the terminating NUL the first call counted
    return text;
}

} // namespace zir::test
