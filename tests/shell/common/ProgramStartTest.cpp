#include "shell/common/ProgramStart.h"

#include "config/ConfigHelper.h"
#include "reader/ReaderApi.h"

#include "support/ScopedSettings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using zir::shell::CommandUsesReader;

TEST(ProgramStart, OnlyTheServiceAndTheTwoReadsUseTheReader) {
    EXPECT_TRUE(CommandUsesReader(""));
    EXPECT_TRUE(CommandUsesReader("read"));
    EXPECT_TRUE(CommandUsesReader("uid"));
    EXPECT_FALSE(CommandUsesReader("settings"));
    EXPECT_FALSE(CommandUsesReader("autostart"));
    EXPECT_FALSE(CommandUsesReader("READ"));
}

TEST(ProgramStart, ASettingsCommandNeverLoadsTheReaderLibraries) {
    zir::test::TempDir dir;
    const zir::test::ScopedSettings settings;
    auto prepare = [&](const std::string& command) {
        zir::reader::InstallReaderApi(zir::reader::TReaderApi{.Missing = "not bound"});
        auto parsed = zir::shell::ParseCommandLine(
            {command, "--config", dir.File("zir.INI"), "--reader-dir", zir::test::SimulatorDir()});
        ASSERT_EQ(parsed.Error, "");
        zir::shell::PrepareProgram(parsed.Line);
    };

    prepare("settings");
    EXPECT_EQ(zir::reader::CurrentReaderApi().Missing, "not bound");
    EXPECT_EQ(zir::reader::CurrentReaderApi().readCardBeep, nullptr);
    EXPECT_EQ(zir::config::TConfigHelper::ConfigFilePath(), dir.File("zir.INI"));

    prepare("uid");
    EXPECT_EQ(zir::reader::CurrentReaderApi().Missing, "");
    EXPECT_NE(zir::reader::CurrentReaderApi().readCardBeep, nullptr);

    zir::reader::InstallReaderApi(zir::reader::TReaderApi{});
}
