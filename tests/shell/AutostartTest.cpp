#include "TestSupport.h"

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
    Autostart a;
    WriteFileBytes(a.home.Path() + "/.config", "a file where the folder should be");
    auto on = a.Run({"on"});
    EXPECT_EQ(on.ExitCode, 1);
    EXPECT_EQ(on.Err.rfind("开机自启动设置失败-", 0), 0u) << on.Err;

    EXPECT_EQ(a.Run({}).ExitCode, 2);
    EXPECT_EQ(a.Run({"maybe"}).ExitCode, 2);
}
