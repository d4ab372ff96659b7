#include "ProgramRun.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

using namespace zir::test;

namespace {

struct Autostart {
    TempDir home;
    std::string entry = home.Path() + "/.config/autostart/starttarvo.desktop";
    std::vector<std::string> env{"HOME=" + home.Path(), "XDG_CONFIG_HOME="};

    ProgramResult Run(std::vector<std::string> args) {
        args.insert(args.begin(), "autostart");
        return RunZir(args, home.Path(), 30, env);
    }
};

} // namespace

TEST(Autostart, OnWritesTheEntryOnceOffRemovesItAndStatusTellsWhich) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM(
        "the XDG autostart entry; the Startup shortcut has its own tests");
    Autostart a;
    auto status = a.Run({"status"});
    EXPECT_EQ(status.ExitCode, 0);
    EXPECT_EQ(status.Out, "开机自启动已关闭\n");

    // Nothing to remove: no message, nothing changes.
    auto off = a.Run({"off"});
    EXPECT_EQ(off.ExitCode, 0);
    EXPECT_EQ(off.Out, "");

    auto on = a.Run({"on", "--config", "my \"odd\" $dir/zir.INI", "--reader-dir", "/opt/reader"});
    EXPECT_EQ(on.ExitCode, 0) << on.Err;
    EXPECT_EQ(on.Out, "开机自启动已打开\n");
    std::string text = ReadFileBytes(a.entry);
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    // The program runs with the same settings file (absolute) and reader folder, quoted.
    EXPECT_NE(
        text.find("Exec=\"" + ZirPath() + "\" \"--config\" \"" + a.home.Path() +
                  "/my \\\\\"odd\\\\\" \\\\$dir/zir.INI\" \"--reader-dir\" \"/opt/reader\"\n"),
        std::string::npos)
        << text;

    // An existing entry is not rewritten and nothing is said.
    WriteFileBytes(a.entry, "kept");
    auto again = a.Run({"on"});
    EXPECT_EQ(again.ExitCode, 0);
    EXPECT_EQ(again.Out, "");
    EXPECT_EQ(ReadFileBytes(a.entry), "kept");
    EXPECT_EQ(a.Run({"status"}).Out, "开机自启动已打开\n");

    auto removed = a.Run({"off"});
    EXPECT_EQ(removed.Out, "开机自启动已关闭\n");
    EXPECT_FALSE(FileExists(a.entry));
}

TEST(Autostart, AFolderThatCannotBeMadeIsReportedAndBadWordsAreUsage) {
    ZIR_SKIP_UNLESS_LINUX_PROGRAM(
        "the XDG autostart entry; the Startup shortcut has its own tests");
    Autostart a;
    WriteFileBytes(a.home.Path() + "/.config", "a file where the folder should be");
    auto on = a.Run({"on"});
    EXPECT_EQ(on.ExitCode, 1);
    EXPECT_EQ(on.Err.rfind("开机自启动设置失败-", 0), 0u) << on.Err;

    EXPECT_EQ(a.Run({}).ExitCode, 2);
    EXPECT_EQ(a.Run({"maybe"}).ExitCode, 2);
}

namespace {

// Wine's Startup folder of the user, found in the prefix the Windows program runs in.
std::string WineStartupShortcut() {
    const char* prefix = std::getenv("WINEPREFIX");
    if (prefix == nullptr)
        return "";
    std::error_code error;
    for (const auto& user : std::filesystem::directory_iterator(
             std::filesystem::path(prefix) / "drive_c" / "users", error)) {
        auto folder = user.path() / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp";
        if (std::filesystem::is_directory(folder))
            return (folder / "starttarvo.lnk").string();
    }
    return "";
}

} // namespace

TEST(Autostart, TheWindowsProgramPutsItsShortcutIntoTheStartupFolder) {
    if (!TestingWindowsProgram())
        GTEST_SKIP() << "the Startup shortcut of the Windows program";
    const std::string link = WineStartupShortcut();
    ASSERT_FALSE(link.empty()) << "no Startup folder in WINEPREFIX";
    TempDir dir;
    auto run = [&](const std::string& word) { return RunZir({"autostart", word}, dir.Path()); };
    run("off");
    EXPECT_EQ(run("status").Out, "开机自启动已关闭\n");

    auto on = run("on");
    EXPECT_EQ(on.ExitCode, 0) << on.Err;
    EXPECT_EQ(on.Out, "开机自启动已打开\n");
    ASSERT_TRUE(FileExists(link));
    // A shell link that names the program.
    const std::string bytes = ReadFileBytes(link);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x4C\0\0\0", 4));
    EXPECT_NE(bytes.find("zir.exe"), std::string::npos);

    // An existing shortcut is left as it is, without a word.
    EXPECT_EQ(run("on").Out, "");
    EXPECT_EQ(ReadFileBytes(link), bytes);
    EXPECT_EQ(run("status").Out, "开机自启动已打开\n");

    EXPECT_EQ(run("off").Out, "开机自启动已关闭\n");
    EXPECT_FALSE(FileExists(link));
    EXPECT_EQ(run("off").Out, "");
}
