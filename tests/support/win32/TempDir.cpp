#include "TestSupport.h"

#include "platform/Text.h"

#include <random>
#include <stdexcept>
#include <string>
#include <windows.h>

namespace zir::test {

TempDir::TempDir() {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    // CreateDirectoryW fails on a name that exists, so the folder made here is ours alone.
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring candidate =
            std::wstring(base, length) + L"zir-test-" + std::to_wstring(random() & 0xFFFFFFFFFFull);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = platform::WideToUtf8(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    throw std::runtime_error("cannot make a temporary folder in " +
                             platform::WideToUtf8(std::wstring(base, length)));
}

} // namespace zir::test
