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

TEST(AtomicFileWriteWin32, ReplacesAFileOthersHaveOpenWithDeleteSharing) {
    zir::test::TempDir dir;
    const std::string path = dir.Write("zir.INI", "WebPort=8080\r\n");
    HANDLE reader = OpenFor(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    AtomicFileWrite(path, "WebPort=9090\r\n");
    CloseHandle(reader);
    EXPECT_EQ(zir::test::ReadFileBytes(path), "WebPort=9090\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicFileWriteWin32, AFileLockedAgainstReplacingStaysAndNoTemporaryFileIsLeft) {
    zir::test::TempDir dir;
    const std::string path = dir.Write("zir.INI", "WebPort=8080\r\n");
    // An editor or a scanner that holds the file without delete sharing.
    HANDLE holder = OpenFor(path, FILE_SHARE_READ);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    try {
        AtomicFileWrite(path, "WebPort=9090\r\n");
        ADD_FAILURE() << "a file that cannot be replaced was reported written";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("zir.INI"), std::string::npos) << e.what();
    }
    CloseHandle(holder);
    EXPECT_EQ(zir::test::ReadFileBytes(path), "WebPort=8080\r\n");
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}
