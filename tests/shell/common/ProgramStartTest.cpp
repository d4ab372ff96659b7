#include "shell/common/ProgramStart.h"

#include "config/ConfigHelper.h"
#include "core/CardLock.h"

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
        auto parsed = zir::shell::ParseCommandLine(
            {command, "--config", dir.File("zir.INI"), "--reader-dir", zir::test::SimulatorDir()});
        EXPECT_EQ(parsed.Error, "");
        return zir::shell::PrepareProgram(parsed.Line);
    };

    EXPECT_EQ(prepare("settings"), nullptr);
    EXPECT_EQ(zir::config::TConfigHelper::ConfigFilePath(), dir.File("zir.INI"));

    // The simulated reader's demo card, read through the libraries of --reader-dir.
    const auto cards = prepare("uid");
    ASSERT_NE(cards, nullptr);
    zir::core::TIdCardRec rec;
    EXPECT_TRUE(cards->ReadUid(zir::core::LockCardOperation(), rec)) << rec.ErrorMsg;
}
