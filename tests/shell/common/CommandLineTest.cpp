#include "shell/common/CommandLine.h"

#include <gtest/gtest.h>

using zir::shell::ParseCommandLine;

TEST(CommandLine, OptionsStandAnywhereAndTheFirstWordIsTheCommand) {
    auto r = ParseCommandLine({"--config", "a.INI", "settings", "WebPort=8080", "--simulate=c.txt",
                               "--reader-dir=/opt/r", "WebType=-3"});
    ASSERT_EQ(r.Error, "");
    EXPECT_EQ(r.Line.Command, "settings");
    EXPECT_EQ(r.Line.Arguments, (std::vector<std::string>{"WebPort=8080", "WebType=-3"}));
    EXPECT_EQ(r.Line.ConfigFile, "a.INI");
    EXPECT_TRUE(r.Line.Simulate);
    EXPECT_EQ(r.Line.SimulatorCardFile, "c.txt");
    EXPECT_EQ(r.Line.ReaderDir, "/opt/r");
}

TEST(CommandLine, NoCommandRunsTheServiceAndPlainSimulateUsesTheDemoCard) {
    auto r = ParseCommandLine({"--simulate"});
    ASSERT_EQ(r.Error, "");
    EXPECT_EQ(r.Line.Command, "");
    EXPECT_TRUE(r.Line.Simulate);
    EXPECT_FALSE(r.Line.SimulatorCardFile.has_value());
}

TEST(CommandLine, BadWordsAreErrors) {
    EXPECT_NE(ParseCommandLine({"--config"}).Error, "");
    EXPECT_NE(ParseCommandLine({"--config="}).Error, "");
    EXPECT_NE(ParseCommandLine({"--reader-dir="}).Error, "");
    EXPECT_NE(ParseCommandLine({"--frobnicate"}).Error, "");
    EXPECT_TRUE(ParseCommandLine({"read", "--help"}).Line.Help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).Line.Version);
}

TEST(CommandLine, HelpSaysWhatNullInWebOriginsAdmitsAndDoesNotSuggestIt) {
    const std::string help = zir::shell::UsageText();
    const size_t example = help.find("WebOrigins=\"");
    ASSERT_NE(example, std::string::npos);
    const std::string value = help.substr(example, help.find('"', example + 12) - example);
    EXPECT_EQ(value.find("null"), std::string::npos) << value;
    EXPECT_NE(help.find("sandboxed frames of every site"), std::string::npos);
}
