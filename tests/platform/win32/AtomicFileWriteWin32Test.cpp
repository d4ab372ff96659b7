#include "platform/AtomicFileWrite.h"

#include "TestSupport.h"
#include "platform/Paths.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <windows.h>

using namespace zir::platform;

namespace {

HANDLE OpenFor(const std::string& path, DWORD share) {
    return CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::size_t FilesIn(const std::string& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(PathFromUtf8(folder)))
        ++count;
    return count;
}

} // namespace

// Whatever another handle allows, the file is afterwards the old or the new one, a failure is
// reported, and no temporary file is left beside it.
TEST(AtomicFileWriteWin32, AFileOpenElsewhereIsReplacedOrKeptWhole) {
    for (DWORD share : {DWORD{FILE_SHARE_READ}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE},
                        DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}}) {
        SCOPED_TRACE(share);
        zir::test::TempDir dir;
        const std::string path = dir.Write("zir.INI", "WebPort=8080\r\n");
        HANDLE holder = OpenFor(path, share);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        bool written = true;
        try {
            AtomicFileWrite(path, "WebPort=9090\r\n");
        } catch (const std::runtime_error& e) {
            written = false;
            EXPECT_NE(std::string(e.what()).find("zir.INI"), std::string::npos) << e.what();
        }
        CloseHandle(holder);
        EXPECT_EQ(zir::test::ReadFileBytes(path),
                  written ? "WebPort=9090\r\n" : "WebPort=8080\r\n");
        EXPECT_EQ(FilesIn(dir.Path()), 1u);
    }
}
