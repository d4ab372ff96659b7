#include "shell/common/StartupShortcutRules.h"

#include <gtest/gtest.h>

using namespace zir::shell;

TEST(StartupShortcutRules, ThePathTheExtensionAndTheWorkingFolder) {
    EXPECT_EQ(StartupFilePath("C:\\Users\\li\\Start Menu\\Programs\\Startup", kShortcutFileName),
              "C:\\Users\\li\\Start Menu\\Programs\\Startup\\starttarvo.lnk");
    EXPECT_EQ(StartupFilePath("", kShortcutFileName), "\\starttarvo.lnk"); // the shell failed

    EXPECT_TRUE(HasLinkExtension("C:\\s\\starttarvo.lnk"));
    EXPECT_TRUE(HasLinkExtension("C:\\s\\STARTTARVO.Lnk"));
    EXPECT_FALSE(HasLinkExtension("C:\\s\\starttarvo.lnk.txt"));
    EXPECT_FALSE(HasLinkExtension("C:\\dir.lnk\\starttarvo"));
    EXPECT_FALSE(HasLinkExtension("C:\\s\\lnk"));
    EXPECT_FALSE(HasLinkExtension("C:\\s\\starttarvo.ln"));

    EXPECT_EQ(ShortcutWorkingFolder("C:\\Program Files\\zir\\zir.exe"), "C:\\Program Files\\zir\\");
    EXPECT_EQ(ShortcutWorkingFolder("zir.exe"), "\\");
}

TEST(StartupShortcutRules, TheArgumentsAreEmptyUnlessTheProgramRunsWithItsOwnOptions) {
    TAutostartProgram program;
    program.Executable = "C:\\zir\\zir.exe";
    program.ConfigFile = "C:\\zir\\zir.INI";
    EXPECT_EQ(ShortcutArguments(program), "");
    program.ConfigFileGiven = true;
    program.ConfigFile = "D:\\my settings\\zir.INI";
    program.ReaderDir = "D:\\reader";
    EXPECT_EQ(ShortcutArguments(program),
              "--config \"D:\\my settings\\zir.INI\" --reader-dir D:\\reader");
}

TEST(StartupShortcutRules, WordsAreQuotedAsCommandLineToArgvWSplitsThem) {
    EXPECT_EQ(WindowsCommandLine({"plain", "C:\\a\\b"}), "plain C:\\a\\b");
    EXPECT_EQ(WindowsCommandLine({""}), "\"\"");
    EXPECT_EQ(WindowsCommandLine({"a b"}), "\"a b\"");
    EXPECT_EQ(WindowsCommandLine({"say \"hi\""}), "\"say \\\"hi\\\"\"");
    // Backslashes double only before a quote, the closing one included.
    EXPECT_EQ(WindowsCommandLine({"C:\\my dir\\"}), "\"C:\\my dir\\\\\"");
    EXPECT_EQ(WindowsCommandLine({"a\\\"b c"}), "\"a\\\\\\\"b c\"");
}
