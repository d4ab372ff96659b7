#include "platform/AtomicFileWrite.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"
#include "platform/SharedFileRead.h"

#include "TestSupport.h"
#include "reader/ReaderLoader.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zir::platform;

// Folder and file names beyond the system's ANSI code page reach the system as UTF-16.
class ChinesePathsWin32 : public testing::Test {
  protected:
    void SetUp() override {
        folder = dir.File("身份证读卡器");
        std::filesystem::create_directory(PathFromUtf8(folder));
    }
    zir::test::TempDir dir;
    std::string folder;
};

TEST_F(ChinesePathsWin32, FilesAreWrittenAndReadByTheirNames) {
    const std::string path = folder + PathSeparator() + "设置.INI";
    AtomicFileWrite(path, "WebPort=8080\r\n");
    AtomicFileWrite(path, "WebPort=8081\r\n");
    EXPECT_EQ(ReadWholeFileShared(path), "WebPort=8081\r\n");
    // The name on disk is the characters themselves, not their bytes in some code page.
    EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(folder) / L"\u8bbe\u7f6e.INI"));
}

TEST_F(ChinesePathsWin32, TheCurrentFolderComesBackAsUtf8) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(PathFromUtf8(folder));
    const std::string current = CurrentDirectory();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::equivalent(PathFromUtf8(current), PathFromUtf8(folder)))
        << current;
    EXPECT_NE(current.find("身份证读卡器"), std::string::npos) << current;
}

TEST_F(ChinesePathsWin32, TheReaderLibrariesLoadFromThere) {
    for (const std::string& name :
         {zir::reader::ReaderLibraryFileName(), zir::reader::DecoderLibraryFileName()})
        std::filesystem::copy_file(PathFromUtf8(zir::test::SimulatorDir() + "/" + name),
                                   PathFromUtf8(folder + PathSeparator() + name));
    std::string error;
    auto library = DynamicLibrary::Load(
        folder + PathSeparator() + zir::reader::ReaderLibraryFileName(), error);
    ASSERT_TRUE(library.IsLoaded()) << error;
    EXPECT_NE(library.Symbol("SDT_SelectIDCard"), nullptr);
    EXPECT_EQ(zir::reader::LoadReaderLibraries(folder).Missing, "");
}

TEST(ExecutablePathWin32, NamesThisProgram) {
    const std::string path = ExecutablePath();
    EXPECT_NE(path.find("zir_platform_tests.exe"), std::string::npos) << path;
    EXPECT_EQ(ExecutableDirectory() + "\\zir_platform_tests.exe", path);
}
